#pragma once

#include <cstdint>
#include <string>

namespace vork {

// What a number edit accepts: a whole number in Least..Greatest, written
// with digits only or, with LeadingMinus, with a minus in first place.
struct DigitRule {
  std::int32_t Least;
  std::int32_t Greatest;
  const char* WhenEmpty;  // what an edit left without digits shows
  bool LeadingMinus = false;
  // A number beyond 32 bits is left as typed and marked NotANumber, not
  // clamped: the error limit reports it as a failed conversion.
  bool RefuseBeyond32Bits = false;
};

// The lag and offset edits, and the error limit, rate and gap edits.
inline constexpr DigitRule LagDigits{-32768, 32767, "0", true};
inline constexpr DigitRule ErrorLimitDigits{0, 32767, "1", false, true};
inline constexpr DigitRule RateDigits{1, 32767, "1"};

// What typing left in a number edit once it has been cleaned up.
struct DigitEdit {
  std::string Text;
  int Beeps = 0;         // an empty edit, each rejected character, a clamp
  bool Changed = false;  // the edit must show Text instead of what was typed
  std::int32_t Value = 0;  // the number Text stands for (a lone "-" is 0)
  bool NotANumber = false;  // with RefuseBeyond32Bits: Text is beyond 32 bits
};

// Every number edit's one filter. An empty text beeps. Scanning from the
// last character to the first, every character that is not a digit (nor an
// allowed leading minus) goes, with a beep. A text left empty becomes
// WhenEmpty. A value outside the rule's range becomes its nearer end, with
// a beep; a lone "-" stays, so that a negative number can be typed.
DigitEdit FilterDigits(const std::string& typed, const DigitRule& rule);

}  // namespace vork
