#pragma once

// The bout breakdown of a Timed or State compiled file: every bout of a
// 1st-level code (from its onset up to the unit before the code goes off or
// begins again, or to the segment's end) gets one row with its length, and
// per 2nd-level code the time units it is on during the bout and its number
// of occurrences; every other code, other 1st-level codes included, is
// pooled in an "etc" column. Rows follow the file: session by session,
// segment by segment, by onset unit, and within a unit in the order of the
// 1st-level list. The same rows go to the results and to the export file.

#include <string>

#include "analysis/analysis_run.h"
#include "core/line_buffer.h"
#include "core/dyn_arrays.h"
#include "core/mds_header.h"
#include "core/user_dialogue.h"

namespace vork {

// The breakdown takes Timed and State files only; another file is refused
// at load with this notice.
bool BreakdownAcceptsDataType(int dataType);
inline constexpr const char* BreakdownDataTypeNotice = "Open a timed-event or state MDS file.";

// The breakdown window's controls, gathered for one RUN.
struct BreakdownChoices {
  dynString GivenCodes;   // the 1st-level codes, in list order
  dynString TargetCodes;  // the 2nd-level codes, in list order
  bool ListOnsetTimes = false;
  bool TallyHierarch = false;  // each unit of a bout counts once, for the first code on
};

// The whole RUN: with a level list empty the notice "Select 1st level event
// and breakdown codes." and false (nothing written); with a file of another
// data type its notice and false. Otherwise the frame's start (the window's
// frame makes the file summary due at every RUN), the header row and one
// row per bout, each to the results when the results box is above 0 and to
// the export rows when the export box is. Throws
// CommandError on a malformed file; output then holds what was made before.
bool RunBreakdown(LinesView mdsLines, int linePos0, const MdsHeader& header,
                  const RunFrame& frame, const BreakdownChoices& choices, UserDialogue& dialogue,
                  RunOutput& output);

}  // namespace vork
