#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"

namespace vork {

// The modification commands by number; 14 is Recode without a new code,
// which joins successive identical events of every code.
enum ModifyCommandNumber : int {
  NoCommand = 0,
  CommandAnd = 1,
  CommandOr,
  CommandNot,
  CommandNor,
  CommandXor,
  CommandWindow,
  CommandRecode,
  CommandLump,
  CommandChain,
  CommandRemove,
  CommandRename,
  CommandEvent,
  CommandBout,
  CommandRecodeAll,
};

// The command names of the echo and of typed commands, by number 1..14.
inline constexpr std::array<std::string_view, 15> ModifyCommandNames{
    "",       "And",   "Or",   "Not",    "Nor",    "Xor",   "Window", "Recode",
    "Lump",   "Chain", "Remove", "Rename", "Event", "Bout", "Recode"};

// The items of the WINDOW command's two option groups, by item index.
inline constexpr std::array<std::string_view, 3> FromOptionItems{"(code \u00b1", "code \u00b1", "code) \u00b1"};
inline constexpr std::array<std::string_view, 4> ToOptionItems{",(code \u00b1", ",code \u00b1", ",code) \u00b1",
                                                                "--null--"};
// The to part's item that leaves the window's end to the from part.
constexpr int NullToPart = 3;

// The WINDOW command's parts as the window's option groups and up-downs
// hold them: FromOption 0 "(code", 1 "code", 2 "code)"; ToOption the same
// or NullToPart; offsets in time units.
struct WindowParms {
  int FromOption = 1;
  int FromN = 0;
  int ToOption = NullToPart;
  int ToN = 0;
};

// One command as the window's controls (or a typed statement) give it.
struct ModifyCommand {
  int Number = NoCommand;
  std::string NewCode;
  dynString PickedCodes;  // in list order; Chain may name a code twice
  WindowParms Window;
  int BoutGap = 1;
  int MaxNTUs = 0;  // WINDOW: longer windows are left out; 0 leaves none out
};

// A compiled file held in memory as one buffer of lines, with its header
// values; HeaderEnd is the index of its units line.
struct ModifyFile {
  LineBuffer Lines;
  MdsHeader Header;
  int HeaderEnd = 0;
};

// What the WINDOW command counts over a whole run.
struct WindowCounts {
  int Null = 0;
  int Truncated = 0;
  int Overlapped = 0;
};

// What one applied command gives back.
struct ModifyOutcome {
  ModifyFile File;
  WindowCounts Counts;
  bool AllCodes = false;   // Event worked on every code, none being picked
  std::string LoadTime;    // the date and time stamped into line 0
};

}  // namespace vork
