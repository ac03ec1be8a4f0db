#pragma once

// The picked codes of a window that picks one list of codes from the
// file's codes (simple statistics, the plot, the agreement window): the
// four move buttons and a double click in either list move codes between
// the two lists. With a plot-symbol memo, every move gives each picked code
// its first character as its symbol, and "save" and "load" write and read
// the symbols through the program's dialogs. The window builds and places
// the controls; this wires them.

#include <QObject>

#include "core/dyn_arrays.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace vork {

class Platform;

class TPickedCodes : public QObject {
 public:
  struct Controls {
    QListWidget* CodesInFile;
    QListWidget* PickedCodes;
    QPushButton* MoveAllCodes;
    QPushButton* MoveSelCodes;
    QPushButton* OmitSelCodes;
    QPushButton* OmitAllCodes;
    // The plot-symbol memo and its buttons; nullptr where the window has none.
    QPlainTextEdit* Markers = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* LoadButton = nullptr;
  };

  TPickedCodes(QObject* parent, Platform& dialogs, const Controls& controls);

  void MoveAllCodes();
  void MoveSelCodes();
  void OmitSelCodes();
  void OmitAllCodes();
  // The symbols of the picked codes to a file, and back; a failure is shown
  // in the error box.
  void SaveSymbols();
  void LoadSymbols();

  // The picked codes' names in list order.
  dynString PickedNames() const;

 private:
  void ResetMarkers();

  Platform& Dialogs;
  Controls Parts;
};

}  // namespace vork
