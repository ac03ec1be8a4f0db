#include "agreement/tolerance_edit_text.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(ToleranceEditTextTest, KeepsDigitsUpToTheHighestValue) {
  const struct {
    std::string Typed;
    int Highest;
    std::string Text;
    int Beeps, Value;
  } cases[] = {
      {"80", 100, "80", 0, 80},      {"1x2", 100, "12", 1, 12},   {"250", 100, "100", 1, 100},
      {"", 100, "0", 1, 0},          {"ab", 32767, "0", 2, 0},    {"32768", 32767, "32767", 1, 32767},
      {"0007", 100, "0007", 0, 7},   {"99999999999999999999", 32767, "32767", 1, 32767},
  };
  for (const auto& c : cases) {
    const ToleranceEditText result = FilterToleranceText(c.Typed, c.Highest);
    EXPECT_EQ(result.Text, c.Text) << c.Typed;
    EXPECT_EQ(result.Beeps, c.Beeps) << c.Typed;
    EXPECT_EQ(result.Value, c.Value) << c.Typed;
    EXPECT_EQ(result.Changed, c.Text != c.Typed) << c.Typed;
  }
}

}  // namespace
}  // namespace vork
