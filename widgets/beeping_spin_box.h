#pragma once

#include <QSpinBox>

#include "core/user_dialogue.h"

namespace vork {

// A spin box that beeps at every keystroke it rejects, as the program's
// other number fields do.
class TBeepingSpinBox : public QSpinBox {
 public:
  TBeepingSpinBox(UserDialogue& dialogue, QWidget* parent = nullptr)
      : QSpinBox(parent), Dialogue(dialogue) {}

 protected:
  QValidator::State validate(QString& text, int& pos) const override {
    const QValidator::State state = QSpinBox::validate(text, pos);
    if (state == QValidator::Invalid) Dialogue.Beep();
    return state;
  }

 private:
  UserDialogue& Dialogue;
};

}  // namespace vork
