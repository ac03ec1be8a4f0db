// The Run menu's dispatch of analysis windows and the Window menu.
#include "app/main_window.h"

namespace vork {

void TMainForm::ConnectRunActions() {}

}  // namespace vork
