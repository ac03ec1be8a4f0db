#pragma once

#include <QDialog>

namespace vork {

// The frame both options dialogs share: placed at (230, 160) in the main
// window's font, a fixed single border with only the system menu. Esc and
// Cancel close without storing anything.
void SetUpOptionsDialog(QDialog& dialog, const QFont& mainFont, const QString& caption);

}  // namespace vork
