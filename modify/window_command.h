#pragma once

#include "modify/modify_command.h"
#include "modify/segment_rules.h"

namespace vork {

// WINDOW on one segment: the new code (the last row) is on in windows
// placed around each occurrence of the one picked code, or from each
// occurrence of the first picked code to the next occurrence of the second.
// counts gathers null, truncated and overlapped windows over a run.
void MarkWindows(SegmentWork& work, const WindowParms& parms, int maxUnits, WindowCounts& counts);

}  // namespace vork
