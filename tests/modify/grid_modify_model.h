#pragma once

// The modification engine as it was before it worked on column stretches:
// the file as a list of strings, every segment as a grid walked cell by
// cell through tests/modify/grid_rules.h, the new file built as strings. Kept
// as the model the engine is checked against.

#include <string>
#include <vector>

#include "core/user_dialogue.h"
#include "modify/modify_command.h"

namespace vork::model {

struct GridFile {
  dynString Lines;
  MdsHeader Header;
  int HeaderEnd = 0;
};

struct GridOutcome {
  GridFile File;
  WindowCounts Counts;
  bool AllCodes = false;
  std::string LoadTime;
};

struct GridHeader {
  MdsHeader Header;
  dynString Lines;
  dynInteger Map;
};

std::vector<int> PickedCodeNumbers(const MdsHeader& header, const ModifyCommand& command, bool& allCodes);
GridHeader WriteGridHeader(const GridFile& file, const ModifyCommand& command, const std::vector<int>& picked,
                           const std::string& dateTime);
GridOutcome RunModifyCommand(const GridFile& file, const ModifyCommand& command, const std::string& dateTime,
                             UserDialogue& dialogue);

}  // namespace vork::model
