#include "app/main_window.h"

namespace vork {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("VORK5");
}

}  // namespace vork
