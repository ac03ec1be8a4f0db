#pragma once

class QDialog;

namespace vork {

// Enter in a dialog presses only the button the dialog itself names as its
// default; no other push button takes that part by coming first in the
// window or by having the focus. Called once a dialog's buttons exist.
void KeepEnterForTheDefaultButton(QDialog& dialog);

}  // namespace vork
