#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VORK5");
  vork::TMainForm mainForm;
  mainForm.show();
  return QApplication::exec();
}
