#pragma once

#include <QChar>
#include <functional>

#include "core/digit_filter.h"
#include "core/user_dialogue.h"

class QLineEdit;

namespace vork {

// The number edits' filter wired to a line edit, for its text-changed
// handler: FilterDigits on the text up to stopAt (the whole text when
// stopAt is null), a beep through dialogue for each rejection, and, when the
// text had to change, the cleaned text shown (marked modified, the caret
// kept at its place from the end). Returns the filter's result.
DigitEdit FilterDigitEdit(QLineEdit& edit, const DigitRule& rule, UserDialogue& dialogue,
                          QChar stopAt = QChar());

// The same as the filter of a number edit with up and down buttons
// (TNumberUpDown): the edit's value after FilterDigitEdit.
std::function<int(QLineEdit&)> DigitEditFilter(const DigitRule& rule, UserDialogue& dialogue);

}  // namespace vork
