#pragma once

#include <string>
#include <vector>

#include "core/user_dialogue.h"
#include "modify/modify_command.h"

namespace vork {

// The header of a modified file: its values, its lines (line 0 to the units
// line) and, for Recode, Lump and Remove, each old code's new number
// (Map[1..old NCodes + 1], 0 for a code that goes; the last entry is the
// new code's).
struct ModifiedHeader {
  MdsHeader Header;
  dynString Lines;
  dynInteger Map;
};

// The code numbers of the picked codes in list order. Event with no code
// picked works on every code (allCodes). Throws CommandError for a name the
// file does not hold.
std::vector<int> PickedCodeNumbers(const MdsHeader& header, const ModifyCommand& command, bool& allCodes);

// The header the command leaves: the new code added, removed codes gone
// (later codes moving down), line 0 stamped "modified" with dateTime.
ModifiedHeader WriteModifiedHeader(const ModifyFile& file, const ModifyCommand& command,
                                   const std::vector<int>& picked, const std::string& dateTime);

// Applies a command that ValidateCommand passed to a compiled file: the new
// file is built beside the old one and returned whole, so a damaged segment
// (CommandError) leaves the caller's file as it was. dialogue gets the
// progress over sessions.
ModifyOutcome RunModifyCommand(const ModifyFile& file, const ModifyCommand& command, const std::string& dateTime,
                               UserDialogue& dialogue);

}  // namespace vork
