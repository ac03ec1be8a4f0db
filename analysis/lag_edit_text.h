#pragma once

#include <string>

namespace vork {

// What typing left in a lag edit once the edit has been cleaned up.
struct LagEditText {
  std::string Text;
  int Beeps = 0;         // one per rejected character, clamp or emptied edit
  bool Changed = false;  // the edit must show Text instead of what was typed
};

// Keeps a lag edit to a whole number in -32768..32767: characters other than
// digits (and a leading minus) are dropped, an empty edit reads "0", and a
// number out of range is set to the nearest end. A lone "-" stays, so that
// a negative lag can be typed.
LagEditText FilterLagText(const std::string& typed);

// The lag a filtered edit stands for; a lone "-" reads as 0.
int LagFromText(const std::string& text);

}  // namespace vork
