#pragma once

#include <QMainWindow>

namespace vork {

// The program's main window: raw-data editor, compiler messages, menus.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
};

}  // namespace vork
