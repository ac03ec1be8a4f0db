#include "widgets/digit_edit.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

namespace vork {

DigitEdit FilterDigitEdit(QLineEdit& edit, const DigitRule& rule, UserDialogue& dialogue,
                          QChar stopAt) {
  const QString typed = edit.text();
  const qsizetype stop = stopAt.isNull() ? -1 : typed.indexOf(stopAt);
  const DigitEdit result = FilterDigits((stop < 0 ? typed : typed.left(stop)).toStdString(), rule);
  for (int k = 0; k < result.Beeps; ++k) dialogue.Beep();
  if (result.Changed) {
    const QString shown = QString::fromStdString(result.Text);
    const int caret = edit.cursorPosition() - int(typed.size() - shown.size());
    QSignalBlocker quiet(&edit);
    edit.setText(shown);
    edit.setModified(true);
    edit.setCursorPosition(std::clamp(caret, 0, int(shown.size())));
  }
  return result;
}

std::function<int(QLineEdit&)> DigitEditFilter(const DigitRule& rule, UserDialogue& dialogue) {
  return [rule, &dialogue](QLineEdit& edit) { return FilterDigitEdit(edit, rule, dialogue).Value; };
}

}  // namespace vork
