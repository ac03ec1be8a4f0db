// The compile driver and the compiler message list of the main window.
#include "app/main_window.h"

namespace vork {

void TMainForm::ConnectCompileActions() {}

}  // namespace vork
