#pragma once

#include <QAction>
#include <span>

namespace vork {

class TMainForm;
class WindowHost;

// The windows the Run menu opens, one row per kind. The main window makes
// every window through this table and knows no window's class: adding a
// window kind is one row here (and its window's own folder).
struct WindowKind {
  enum Style {
    SingleFile,  // non-modal, on the current compiled file
    Agreement,   // non-modal, on the two observers' files
    Modal,       // a QDialog on the current compiled file, run and freed
  };
  QAction* TMainForm::*Action;  // the Run command that opens it
  const char* Name;             // the window's object name: finds an open one
  Style Kind;
  // Makes the window (nullptr: not part of this program yet, and the Run
  // command stays greyed). The window loads its file while it is made.
  QWidget* (*Create)(WindowHost& host, QWidget* parent);
};

std::span<const WindowKind> WindowKinds();

}  // namespace vork
