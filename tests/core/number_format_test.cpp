#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vork {
namespace {

const NumberFormat Period{'.'};
const NumberFormat Comma{','};

struct FixedCase {
  double Value;
  int Decimals;
  char Separator;
  const char* Expected;
};

TEST(NumberFormat, FixedRoundsToSevenSignificantDigitsThenDecimals) {
  const FixedCase cases[] = {
      {9.9999995, 6, '.', "10.000000"},
      {9.9999995, 2, '.', "10.00"},
      {9.9999994, 6, '.', "9.999999"},
      {0.125, 2, '.', "0.13"},
      {-0.125, 2, '.', "-0.13"},
      {2.675, 2, '.', "2.68"},
      {0.5, 0, '.', "1"},
      {2.5, 0, '.', "3"},
      {0.0, 0, '.', "0"},
      {0.0, 3, '.', "0.000"},
      {0.4, 0, '.', "0"},
      {-0.4, 0, '.', "0"},
      {-0.004, 2, '.', "0.00"},
      {1.0 / 3.0, 9, '.', "0.333333300"},
      {-2.0 / 3.0, 4, '.', "-0.6667"},
      {1234567.85, 2, '.', "1234568.00"},
      {0.000123456789, 5, '.', "0.00012"},
      {1e-20, 2, '.', "0.00"},
      {0.005, 2, '.', "0.01"},
      {0.0049999, 2, '.', "0.00"},
      {42.0, 0, '.', "42"},
      {9999999.4, 0, '.', "9999999"},
      {3.14159, 3, ',', "3,142"},
      {-0.25, 2, ',', "-0,25"},
      {0.0, 2, ',', "0,00"},
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(FormatFixed(c.Value, c.Decimals, NumberFormat{c.Separator}), c.Expected)
        << c.Value << " with " << c.Decimals << " decimals";
  }
}

TEST(NumberFormat, FixedTurnsToExponentFormBeyondSevenIntegerDigits) {
  const FixedCase cases[] = {
      {12345678.0, 2, '.', "1.234568E+07"},
      {-98765432.1, 4, '.', "-9.876543E+07"},
      {9999999.5, 0, '.', "1.000000E+07"},
      {1e20, 3, '.', "1.000000E+20"},
      {12345678.0, 2, ',', "1,234568E+07"},
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(FormatFixed(c.Value, c.Decimals, NumberFormat{c.Separator}), c.Expected)
        << c.Value;
  }
}

TEST(NumberFormat, FixedNamesValuesThatAreNotNumbers) {
  EXPECT_EQ(FormatFixed(std::nan(""), 2, Period), "NAN");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2, Period), "INF");
  EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 2, Period), "-INF");
  EXPECT_EQ(FormatFixed(1.5, -3, Period), "2");
}

TEST(NumberFormat, GeneralWritesFiveSignificantDigits) {
  const FixedCase cases[] = {
      {120.0, 0, '.', "120"},
      {10.0 / 3.0, 0, '.', "3.3333"},
      {0.0123456, 0, '.', "0.012346"},
      {2.0, 0, '.', "2"},
      {1.5, 0, '.', "1.5"},
      {-2.5, 0, '.', "-2.5"},
      {12345.67, 0, '.', "12346"},
      {99999.4, 0, '.', "99999"},
      {99999.5, 0, '.', "1E+05"},
      {123456.0, 0, '.', "1.2346E+05"},
      {0.00001, 0, '.', "0.00001"},
      {0.0000123456, 0, '.', "0.000012346"},
      {0.000009999951, 0, '.', "0.00001"},
      {0.0000099999, 0, '.', "9.9999E-06"},
      {0.000001, 0, '.', "1E-06"},
      {0.0, 0, '.', "0"},
      {10.0 / 3.0, 0, ',', "3,3333"},
      {123456.0, 0, ',', "1,2346E+05"},
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(FormatGeneral5(c.Value, NumberFormat{c.Separator}), c.Expected) << c.Value;
  }
  EXPECT_EQ(FormatGeneral5(std::nan(""), Period), "NAN");
}

TEST(NumberFormat, RoundHalfEvenSendsHalvesToTheEvenNeighbour) {
  const struct {
    double Value;
    std::int64_t Expected;
  } cases[] = {
      {0.5, 0},   {1.5, 2},   {2.5, 2},      {49.5, 50},   {50.5, 50}, {-0.5, 0},
      {-1.5, -2}, {-2.5, -2}, {2.4999, 2},   {2.5001, 3},  {-2.6, -3}, {7.0, 7},
      {0.0, 0},   {1e30, std::numeric_limits<std::int64_t>::max()},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.Value), c.Expected) << c.Value;
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(NumberFormat, DecimalSeparatorFollowsTheRunOption) {
  EXPECT_EQ(MakeNumberFormat(0, ',').DecimalSeparator, ',');
  EXPECT_EQ(MakeNumberFormat(0, '.').DecimalSeparator, '.');
  EXPECT_EQ(MakeNumberFormat(1, ',').DecimalSeparator, '.');
  EXPECT_EQ(MakeNumberFormat(2, '.').DecimalSeparator, ',');
  EXPECT_EQ(MakeNumberFormat(7, ',').DecimalSeparator, ',');
}

}  // namespace
}  // namespace vork
