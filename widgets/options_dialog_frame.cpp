#include "widgets/options_dialog_frame.h"

#include "widgets/dialog_buttons.h"

namespace vork {

void SetUpOptionsDialog(QDialog& dialog, const QFont& mainFont, const QString& caption) {
  dialog.setWindowTitle(caption);
  dialog.setFont(mainFont);
  dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog.setModal(true);
  KeepEnterForTheDefaultButton(dialog);
  dialog.adjustSize();
  dialog.setFixedSize(dialog.sizeHint());
  dialog.move(230, 160);
}

}  // namespace vork
