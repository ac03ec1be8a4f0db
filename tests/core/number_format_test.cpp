#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace vork {
namespace {

const NumberFormat Period{'.'};

struct FixedCase {
  double Value;
  int Decimals;
  char Separator;
  const char* Expected;
};

// Seven significant digits first, then the decimals; exponent form beyond seven integer digits.
TEST(NumberFormat, FixedRoundsToSevenSignificantDigitsThenDecimals) {
  const FixedCase cases[] = {
      {9.9999995, 6, '.', "10.000000"},    {9.9999995, 2, '.', "10.00"},      {9.9999994, 6, '.', "9.999999"},
      {0.125, 2, '.', "0.13"},             {-0.125, 2, '.', "-0.13"},         {2.675, 2, '.', "2.68"},
      {0.5, 0, '.', "1"},                  {2.5, 0, '.', "3"},                {0.0, 0, '.', "0"},
      {0.0, 3, '.', "0.000"},              {0.4, 0, '.', "0"},                {-0.4, 0, '.', "0"},
      {-0.004, 2, '.', "0.00"},            {1.0 / 3.0, 9, '.', "0.333333300"},
      {-2.0 / 3.0, 4, '.', "-0.6667"},
      {1234567.85, 2, '.', "1234568.00"},  {0.000123456789, 5, '.', "0.00012"}, {1e-20, 2, '.', "0.00"},
      {0.005, 2, '.', "0.01"},             {0.0049999, 2, '.', "0.00"},       {42.0, 0, '.', "42"},
      {9999999.4, 0, '.', "9999999"},      {3.14159, 3, ',', "3,142"},        {-0.25, 2, ',', "-0,25"},
      {0.0, 2, ',', "0,00"},               {12345678.0, 2, '.', "1.234568E+07"},
      {-98765432.1, 4, '.', "-9.876543E+07"}, {9999999.5, 0, '.', "1.000000E+07"},
      {1e20, 3, '.', "1.000000E+20"},      {12345678.0, 2, ',', "1,234568E+07"}, {1.5, -3, '.', "2"},
      {std::nan(""), 2, '.', "NAN"},       {std::numeric_limits<double>::infinity(), 2, '.', "INF"},
      {-std::numeric_limits<double>::infinity(), 2, '.', "-INF"},
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(FormatFixed(c.Value, c.Decimals, NumberFormat{c.Separator}), c.Expected)
        << c.Value << " with " << c.Decimals << " decimals";
  }
}

TEST(NumberFormat, GeneralWritesFiveSignificantDigits) {
  const std::pair<double, const char*> cases[] = {
      {120.0, "120"},           {10.0 / 3.0, "3.3333"},         {0.0123456, "0.012346"},  {2.0, "2"},
      {1.5, "1.5"},             {-2.5, "-2.5"},                 {12345.67, "12346"},      {99999.4, "99999"},
      {99999.5, "1E+05"},       {123456.0, "1.2346E+05"},       {0.00001, "0.00001"},     {0.0, "0"},
      {0.0000123456, "0.000012346"}, {0.000009999951, "0.00001"}, {0.0000099999, "9.9999E-06"},
      {0.000001, "1E-06"},      {std::nan(""), "NAN"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(FormatGeneral5(value, Period), expected) << value;
  EXPECT_EQ(FormatGeneral5(10.0 / 3.0, NumberFormat{','}), "3,3333");
  EXPECT_EQ(FormatGeneral5(123456.0, NumberFormat{','}), "1,2346E+05");
}

TEST(NumberFormat, RoundHalfEvenSendsHalvesToTheEvenNeighbour) {
  const std::pair<double, std::int64_t> cases[] = {
      {0.5, 0},   {1.5, 2},   {2.5, 2},    {49.5, 50},  {50.5, 50}, {-0.5, 0},     {-1.5, -2},
      {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {7.0, 7},   {0.0, 0},      {std::nan(""), 0},
      {1e30, std::numeric_limits<std::int64_t>::max()},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(NumberFormat, DecimalSeparatorFollowsTheRunOption) {
  const std::tuple<int, char, char> cases[] = {
      {0, ',', ','}, {0, '.', '.'}, {1, ',', '.'}, {2, '.', ','}, {7, ',', ','}};
  for (const auto& [option, system, expected] : cases)
    EXPECT_EQ(MakeNumberFormat(option, system).DecimalSeparator, expected) << option << system;
}

}  // namespace
}  // namespace vork
