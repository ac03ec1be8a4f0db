#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/dyn_arrays.h"

namespace vork {

class UserDialogue;

// A stretch of time units that fall into the same table row (or column):
// the units from Start up to the next run's Start. Category is the 1-based
// position of the given (or target) in its list, 0 when the units count
// nowhere.
struct CategoryRun {
  std::int32_t Start = 0;
  std::int32_t Category = 0;
};

// One segment seen through the picked codes: which given and which target
// each of its time units belongs to, as runs.
struct CategorizedSegment {
  std::int32_t NTimeUnits = 0;
  std::vector<CategoryRun> Givens;
  std::vector<CategoryRun> Targets;
};

// The runs of a code list over one segment matrix. Idx[1..N] are code
// numbers (0 for the residual code "&"). A unit belongs to the first list
// position whose code is on there; when none is on it belongs to the last
// position if that is "&", else to none. Linear in units times list length.
std::vector<CategoryRun> CategorizeUnits(const dynChar2& segmentMatrix, int nTimeUnits,
                                         const dynInteger& idx);

// Adds the lagged pairs of one segment to freqTable[row][column]: given at
// unit u, target at unit u + lag, both inside the segment. Returns false
// when the segment is too short for the lag (it then adds nothing). Linear
// in the number of runs.
bool TallySegmentPairs(const CategorizedSegment& segment, int lag, dynInteger2& freqTable);

// Adds the lagged pairs of segments of the session sessionLabel. A segment
// too short for the lag brings the warning with OK and Ignore unless
// suppressLagWarning is set; Ignore sets it for the rest of the RUN.
void TallyLaggedPairs(const std::string& sessionLabel, std::span<const CategorizedSegment> segments,
                      int lag, dynInteger2& freqTable, UserDialogue& dialogue,
                      bool& suppressLagWarning);

}  // namespace vork
