// Raw data files, the editor and the recent files of the main window.
#include <QAction>
#include <QFileInfo>
#include <QLabel>

#include "app/main_window.h"

namespace vork {

void TMainForm::ConnectFileActions() {}

bool TMainForm::SaveModifiedSdsOK() { return true; }

void TMainForm::AddRecentFile(const QString& fileName) {
  // An equal name further down stays: a name can stand twice.
  if (fileName != LastFiles[0]) {
    for (int i = 4; i > 0; --i) LastFiles[i] = LastFiles[i - 1];
    LastFiles[0] = fileName;
  }
  UpdateLastFileMenus();
  if (QFileInfo(fileName).suffix() == "mds") {
    StatusPanel1->setText("Active - " + QFileInfo(fileName).fileName());
  }
}

void TMainForm::UpdateLastFileMenus() {
  for (int i = 0; i < 5; ++i) {
    LastMenus[i]->setVisible(!LastFiles[i].isEmpty());
    LastMenus[i]->setText(QFileInfo(LastFiles[i]).fileName());
  }
}

}  // namespace vork
