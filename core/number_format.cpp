#include "core/number_format.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vork {
namespace {

// The decimal digits of a positive number: Digits[0] stands at the place
// 10^Exponent, each following digit one place lower. No digits means zero.
struct DecimalDigits {
  std::string Digits;
  int Exponent = 0;
};

// Significant digits a double carries reliably; more would show the noise
// of the binary fraction (2.675 is stored as 2.67499999...).
constexpr int ReliableDigits = 15;

// The digits are those printf's "%.14e" gives, made by std::to_chars, which
// rounds the same way without the locale and format parsing of printf.
DecimalDigits DigitsOf(double positive) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, positive, std::chars_format::scientific, ReliableDigits - 1);
  // buffer: d.ddddddddddddddde[+-]xx
  DecimalDigits result;
  if (error != std::errc()) return result;
  const char* p = buffer;
  for (; p < end && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') result.Digits.push_back(*p);
  }
  if (p < end) {
    const char* q = p + 1;
    const bool negative = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) ++q;
    int exponent = 0;
    std::from_chars(q, end, exponent);
    result.Exponent = negative ? -exponent : exponent;
  }
  return result;
}

// Rounds to the place 10^lastPlace, a half going away from zero.
DecimalDigits RoundAt(const DecimalDigits& number, int lastPlace) {
  const long kept = static_cast<long>(number.Exponent) - lastPlace + 1;
  if (kept >= static_cast<long>(number.Digits.size())) return number;
  if (kept < 0) return {};
  const bool up = number.Digits[static_cast<size_t>(kept)] >= '5';
  DecimalDigits result{number.Digits.substr(0, static_cast<size_t>(kept)), number.Exponent};
  if (up) {
    size_t i = result.Digits.size();
    while (i > 0 && result.Digits[i - 1] == '9') {
      result.Digits[i - 1] = '0';
      --i;
    }
    if (i > 0) {
      ++result.Digits[i - 1];
    } else {
      // Every kept digit was 9 (or none was kept): the carry opens a new
      // leading place.
      result.Digits.insert(result.Digits.begin(), '1');
      ++result.Exponent;
    }
  }
  if (result.Digits.find_first_not_of('0') == std::string::npos) return {};
  return result;
}

char DigitAt(const DecimalDigits& number, int place) {
  const long index = static_cast<long>(number.Exponent) - place;
  if (index < 0 || index >= static_cast<long>(number.Digits.size())) return '0';
  return number.Digits[static_cast<size_t>(index)];
}

// The digits from the units place down to 10^-decimals, with the integer
// part written without leading zeros.
std::string PlainText(const DecimalDigits& number, int decimals, char separator) {
  std::string text;
  for (int place = std::max(number.Exponent, 0); place >= 0; --place) {
    text.push_back(DigitAt(number, place));
  }
  if (decimals > 0) {
    text.push_back(separator);
    for (int place = -1; place >= -decimals; --place) text.push_back(DigitAt(number, place));
  }
  return text;
}

// Mantissa with `digits` significant digits, then "E", sign and exponent.
std::string ExponentText(const DecimalDigits& number, int digits, char separator) {
  std::string text(1, DigitAt(number, number.Exponent));
  if (digits > 1) {
    text.push_back(separator);
    for (int k = 1; k < digits; ++k) text.push_back(DigitAt(number, number.Exponent - k));
  }
  text.push_back('E');
  text.push_back(number.Exponent < 0 ? '-' : '+');
  const int magnitude = std::abs(number.Exponent);
  if (magnitude < 10) text.push_back('0');
  char exponent[16];
  const auto written = std::to_chars(exponent, exponent + sizeof exponent, magnitude);
  return text.append(exponent, written.ptr);
}

const char* NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

// Significant digits of the fixed format.
constexpr int FixedPrecision = 7;
constexpr int GeneralPrecision = 5;

}  // namespace

NumberFormat MakeNumberFormat(int decSepX, char hostSeparator) {
  switch (decSepX) {
    case 1:
      return {'.'};
    case 2:
      return {','};
    default:
      return {hostSeparator};
  }
}

std::string FormatFixed(double value, int decimals, const NumberFormat& format) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  decimals = std::clamp(decimals, 0, 40);
  const char separator = format.DecimalSeparator;
  DecimalDigits rounded;
  if (value != 0) {
    const DecimalDigits digits = DigitsOf(std::fabs(value));
    rounded = RoundAt(digits, std::max(digits.Exponent - (FixedPrecision - 1), -decimals));
  }
  if (rounded.Digits.empty()) return PlainText(rounded, decimals, separator);
  const std::string sign = value < 0 ? "-" : "";
  if (rounded.Exponent >= FixedPrecision) {
    return sign + ExponentText(rounded, FixedPrecision, separator);
  }
  return sign + PlainText(rounded, decimals, separator);
}

std::string FormatGeneral5(double value, const NumberFormat& format) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  if (value == 0) return "0";
  const char separator = format.DecimalSeparator;
  const DecimalDigits digits = DigitsOf(std::fabs(value));
  DecimalDigits rounded = RoundAt(digits, digits.Exponent - (GeneralPrecision - 1));
  const size_t lastNonZero = rounded.Digits.find_last_not_of('0');
  rounded.Digits.resize(lastNonZero + 1);
  const int significant = static_cast<int>(rounded.Digits.size());
  const std::string sign = value < 0 ? "-" : "";
  if (rounded.Exponent >= GeneralPrecision || rounded.Exponent < -5) {
    return sign + ExponentText(rounded, significant, separator);
  }
  const int decimals = std::max(0, significant - 1 - rounded.Exponent);
  return sign + PlainText(rounded, decimals, separator);
}

std::int64_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double Limit = 9.2233720368547748e18;  // 2^63
  if (value >= Limit) return std::numeric_limits<std::int64_t>::max();
  if (value <= -Limit) return std::numeric_limits<std::int64_t>::min();
  const double floor = std::floor(value);
  const double rest = value - floor;
  auto whole = static_cast<std::int64_t>(floor);
  if (rest > 0.5 || (rest == 0.5 && whole % 2 != 0)) ++whole;
  return whole;
}

}  // namespace vork
