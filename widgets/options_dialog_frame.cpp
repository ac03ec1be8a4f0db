#include "widgets/options_dialog_frame.h"

namespace vork {

void SetUpOptionsDialog(QDialog& dialog, const QFont& mainFont, const QString& caption) {
  dialog.setWindowTitle(caption);
  dialog.setFont(mainFont);
  dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog.setModal(true);
  dialog.adjustSize();
  dialog.setFixedSize(dialog.sizeHint());
  dialog.move(230, 160);
}

}  // namespace vork
