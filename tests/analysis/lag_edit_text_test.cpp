#include "analysis/lag_edit_text.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(FilterLagText, KeepsAWholeNumberWithinTheLagRange) {
  struct Case {
    const char* Typed;
    const char* Text;
    int Beeps;
    bool Changed;
  };
  const Case cases[] = {
      {"12", "12", 0, false}, {"-3", "-3", 0, false}, {"12a", "12", 1, true},
      {"a1b2", "12", 2, true}, {"1-2", "12", 1, true}, {"--2", "-2", 1, true}, {"-", "-", 0, false},
      {"", "0", 1, true}, {"x", "0", 1, true}, {"40000", "32767", 1, true},
      {"32767", "32767", 0, false}, {"-32768", "-32768", 0, false}, {"-32769", "-32768", 1, true},
      {"99999999999999999999", "32767", 1, true}, {"4000a0", "32767", 2, true},
  };
  for (const Case& c : cases) {
    const LagEditText result = FilterLagText(c.Typed);
    EXPECT_EQ(result.Text, c.Text) << c.Typed;
    EXPECT_EQ(result.Beeps, c.Beeps) << c.Typed;
    EXPECT_EQ(result.Changed, c.Changed) << c.Typed;
  }
}

TEST(LagFromText, ALoneMinusReadsAsZero) {
  EXPECT_EQ(LagFromText("-"), 0);
  EXPECT_EQ(LagFromText(""), 0);
  EXPECT_EQ(LagFromText("-7"), -7);
  EXPECT_EQ(LagFromText("+2"), 0);
  EXPECT_EQ(LagFromText("70000"), 32767);
}

}  // namespace
}  // namespace vork
