#include "core/digit_filter.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(FilterDigits, EveryNumberEditScansBeepsAndClamps) {
  const DigitRule overlap{0, 100, "0"};
  const DigitRule tolerance{0, 32767, "0"};
  struct Case {
    const DigitRule* Rule;
    const char* Typed;
    const char* Text;
    int Beeps;
    bool Changed;
    int Value;
  };
  const Case cases[] = {
      // Lags and offsets: a leading minus, -32768..32767, "0" when emptied.
      {&LagDigits, "12", "12", 0, false, 12},
      {&LagDigits, "-3", "-3", 0, false, -3},
      {&LagDigits, "a1b2", "12", 2, true, 12},
      {&LagDigits, "1-2", "12", 1, true, 12},
      {&LagDigits, "--2", "-2", 1, true, -2},
      {&LagDigits, "-", "-", 0, false, 0},
      {&LagDigits, "", "0", 1, true, 0},
      {&LagDigits, "x", "0", 1, true, 0},
      {&LagDigits, "40000", "32767", 1, true, 32767},
      {&LagDigits, "-32768", "-32768", 0, false, -32768},
      {&LagDigits, "-32769", "-32768", 1, true, -32768},
      {&LagDigits, "99999999999999999999", "32767", 1, true, 32767},
      {&LagDigits, "4000a0", "32767", 2, true, 32767},
      // The rate: digits only, 1..32767, "1" when emptied; "0" is raised.
      {&RateDigits, "00012", "00012", 0, false, 12},
      {&RateDigits, "0", "1", 1, true, 1},
      {&RateDigits, "", "1", 1, true, 1},
      {&RateDigits, "-5", "5", 1, true, 5},
      // The error limit: 0..32767, "1" when emptied.
      {&ErrorLimitDigits, "1a2", "12", 1, true, 12},
      {&ErrorLimitDigits, "40000", "32767", 1, true, 32767},
      // An overlap percentage: 0..100.
      {&overlap, "80", "80", 0, false, 80},
      {&overlap, "1x2", "12", 1, true, 12},
      {&overlap, "250", "100", 1, true, 100},
      {&overlap, "", "0", 1, true, 0},
      {&overlap, "0007", "0007", 0, false, 7},
      // A time or event tolerance: digits only, 0..32767, "0" when emptied.
      {&tolerance, "ab", "0", 2, true, 0},
      {&tolerance, "-5", "5", 1, true, 5},
      {&tolerance, "32768", "32767", 1, true, 32767},
      {&tolerance, "99999999999999999999", "32767", 1, true, 32767},
  };
  for (const Case& c : cases) {
    const DigitEdit result = FilterDigits(c.Typed, *c.Rule);
    EXPECT_EQ(result.Text, c.Text) << c.Typed;
    EXPECT_EQ(result.Beeps, c.Beeps) << c.Typed;
    EXPECT_EQ(result.Changed, c.Changed) << c.Typed;
    EXPECT_EQ(result.Value, c.Value) << c.Typed;
    EXPECT_FALSE(result.NotANumber) << c.Typed;
  }
  const DigitEdit huge = FilterDigits("99999999999999", ErrorLimitDigits);
  EXPECT_TRUE(huge.NotANumber);
  EXPECT_EQ(huge.Text, "99999999999999");
  EXPECT_EQ(huge.Beeps, 0);
}

}  // namespace
}  // namespace vork
