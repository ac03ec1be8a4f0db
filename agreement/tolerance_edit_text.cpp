#include "agreement/tolerance_edit_text.h"

#include <algorithm>

namespace vork {

ToleranceEditText FilterToleranceText(const std::string& typed, int highest) {
  ToleranceEditText result;
  if (typed.empty()) ++result.Beeps;
  for (char c : typed) {
    if (c >= '0' && c <= '9') {
      result.Text += c;
    } else {
      ++result.Beeps;
    }
  }
  if (result.Text.empty()) result.Text = "0";
  // Leading zeros do not count towards the size of the number.
  const size_t firstDigit = std::min(result.Text.find_first_not_of('0'), result.Text.size());
  const std::string digits = result.Text.substr(firstDigit);
  const std::string highestText = std::to_string(highest);
  const bool above = digits.size() > highestText.size() ||
                     (digits.size() == highestText.size() && digits > highestText);
  if (above) {
    ++result.Beeps;
    result.Text = highestText;
  }
  result.Value = above ? highest : digits.empty() ? 0 : std::stoi(digits);
  result.Changed = result.Text != typed;
  return result;
}

}  // namespace vork
