#pragma once

#include <string>

#include "core/dyn_arrays.h"
#include "core/mds_header.h"
#include "core/user_dialogue.h"
#include "modify/modify_command.h"

namespace vork {

// The checks before a command is applied. Every refusal is a message box
// and returns false, leaving the file alone. The new code is trimmed;
// Recode with no new code becomes command 14 when the user agrees, and a
// new code given to Remove or Event is dropped when the user goes on.
bool ValidateCommand(ModifyCommand& command, const MdsHeader& header, UserDialogue& dialogue);

// The command as the results window and the log show it, e.g.
// "Window NEW=(A+2,B)-1;", with the WINDOW counts as lines of their own
// that only the results window gets.
struct ModifyEcho {
  dynString CountLines;
  std::string Text;
};

ModifyEcho EchoModifyCommand(const ModifyCommand& command, const WindowCounts& counts, bool allCodes);

}  // namespace vork
