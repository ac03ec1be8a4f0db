#include <QApplication>
#include <QSettings>

#include "app/main_window.h"
#include "widgets/qt_platform.h"
#include "app/results_window.h"
#include "app/settings_store.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VORK5");
  vork::QtPlatform platform;
  QSettings settings(vork::UserSettingsFile(), QSettings::IniFormat);
  vork::TMainForm mainForm(platform, settings);
  platform.SetProgressBar(mainForm.ProgressBar1);
  mainForm.show();
  mainForm.Results->show();
  return QApplication::exec();
}
