#include "core/digit_filter.h"

#include <cstddef>

namespace vork {
namespace {

// The value of an optional minus and digits, held within a range wide enough
// to tell any clamp of a 32-bit range.
std::int64_t ValueOf(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  std::int64_t value = 0;
  for (std::size_t k = negative ? 1 : 0; k < text.size() && value <= 10'000'000'000; ++k) {
    value = value * 10 + (text[k] - '0');
  }
  return negative ? -value : value;
}

}  // namespace

DigitEdit FilterDigits(const std::string& typed, const DigitRule& rule) {
  DigitEdit result{typed, 0, false, 0, false};
  std::string& text = result.Text;
  if (text.empty()) {
    ++result.Beeps;
    result.Changed = true;
  }
  for (std::size_t k = text.size(); k-- > 0;) {
    const char c = text[k];
    if ((c >= '0' && c <= '9') || (c == '-' && k == 0 && rule.LeadingMinus)) continue;
    text.erase(k, 1);
    ++result.Beeps;
    result.Changed = true;
  }
  if (text.empty()) {
    text = rule.WhenEmpty;
    result.Changed = true;
  }
  if (text == "-") return result;
  const std::int64_t value = ValueOf(text);
  if (rule.RefuseBeyond32Bits && (value > INT32_MAX || value < INT32_MIN)) {
    result.NotANumber = true;
    return result;
  }
  if (value > rule.Greatest || value < rule.Least) {
    result.Value = value > rule.Greatest ? rule.Greatest : rule.Least;
    text = std::to_string(result.Value);
    ++result.Beeps;
    result.Changed = true;
  } else {
    result.Value = static_cast<std::int32_t>(value);
  }
  return result;
}

}  // namespace vork
