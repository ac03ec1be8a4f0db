#include "agreement/tolerance_edit_text.h"

#include "core/digit_filter.h"

namespace vork {

ToleranceEditText FilterToleranceText(const std::string& typed, int highest) {
  const DigitEdit edit = FilterDigits(typed, DigitRule{0, highest, "0"});
  return {edit.Text, edit.Beeps, edit.Changed, edit.Value};
}

}  // namespace vork
