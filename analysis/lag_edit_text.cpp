#include "analysis/lag_edit_text.h"

#include <cstddef>
#include <cstdint>

namespace vork {

namespace {

constexpr std::int64_t LeastLag = -32768;
constexpr std::int64_t GreatestLag = 32767;

// The value of an optional minus and digits, held within a range wide enough
// to tell any clamp.
std::int64_t ValueOf(const std::string& text) {
  std::size_t k = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) k = 1;
  std::int64_t value = 0;
  for (; k < text.size(); ++k) {
    value = value * 10 + (text[k] - '0');
    if (value > 1'000'000) break;
  }
  return negative ? -value : value;
}

}  // namespace

LagEditText FilterLagText(const std::string& typed) {
  LagEditText result{typed, 0, false};
  std::string& text = result.Text;
  if (text.empty()) {
    ++result.Beeps;
    result.Changed = true;
  }
  for (std::size_t k = text.size(); k-- > 0;) {
    const char c = text[k];
    if ((c >= '0' && c <= '9') || (c == '-' && k == 0)) continue;
    text.erase(k, 1);
    ++result.Beeps;
    result.Changed = true;
  }
  if (text.empty()) {
    text = "0";
    result.Changed = true;
  }
  if (text != "-") {
    const std::int64_t value = ValueOf(text);
    if (value > GreatestLag || value < LeastLag) {
      text = std::to_string(value > GreatestLag ? GreatestLag : LeastLag);
      ++result.Beeps;
      result.Changed = true;
    }
  }
  return result;
}

int LagFromText(const std::string& text) {
  if (text.empty() || text == "-") return 0;
  for (std::size_t k = 0; k < text.size(); ++k)
    if (!((text[k] >= '0' && text[k] <= '9') || (text[k] == '-' && k == 0))) return 0;
  const std::int64_t value = ValueOf(text);
  if (value > GreatestLag) return static_cast<int>(GreatestLag);
  if (value < LeastLag) return static_cast<int>(LeastLag);
  return static_cast<int>(value);
}

}  // namespace vork
