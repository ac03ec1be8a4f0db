#pragma once

#include <string>

namespace vork {

// What typing left in one of the agreement window's number edits (time
// tolerance, event tolerance, overlap) once it has been cleaned up.
struct ToleranceEditText {
  std::string Text;
  int Beeps = 0;         // an empty edit, each rejected character, a value too high
  bool Changed = false;  // the edit must show Text instead of what was typed
  int Value = 0;         // the number the edit's up-down follows
};

// Keeps the edit to a whole number in 0..highest: characters other than the
// digits are dropped, an edit left empty reads "0", and a value above highest
// becomes highest.
ToleranceEditText FilterToleranceText(const std::string& typed, int highest);

}  // namespace vork
