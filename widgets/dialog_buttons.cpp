#include "widgets/dialog_buttons.h"

#include <QDialog>
#include <QPushButton>

namespace vork {

void KeepEnterForTheDefaultButton(QDialog& dialog) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) button->setAutoDefault(false);
}

}  // namespace vork
