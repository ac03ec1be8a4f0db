#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/dyn_arrays.h"
#include "core/segment_runs.h"

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

// The runs of a code list over one segment, from the segment's runs (the
// list's codes must be among the codes read). Idx[1..N] are code numbers
// (0 for the residual code "&"). A unit belongs to the first list position
// whose code is on there; when none is on it belongs to the last position if
// that is "&", else to none. Looks at the units where the codes change only,
// so it costs what the segment's runs hold, not its time units.
std::vector<CategoryRun> CategorizeUnits(const SegmentRuns& runs, const dynInteger& idx);

// The lagged pairs of every lag from FirstLag to LastLag, tallied over the
// segments of a group in one sweep: each stretch of a given meets only the
// stretches of targets within the lag range, and the count of one such
// meeting changes with the lag as a trapezoid, added through its four
// corners. Time and memory follow the runs and the lags, not the units.
class LagRangeTally {
 public:
  LagRangeTally(int firstLag, int lastLag, int nGivens, int nTargets);
  void Clear();
  // Adds the pairs of one segment (for a segment not longer than a lag that
  // lag gets nothing from it).
  void AddSegment(const CategorizedSegment& segment);
  // Ends the group's tally; then TableOfLag gives each lag's counts.
  void Finish();
  // freqTable[row][column] := the pairs of lag (rows 1..NGivens, columns
  // 1..NTargets; row and column 0 untouched). Throws CommandError when a
  // count passes what a table cell holds.
  void TableOfLag(int lag, dynInteger2& freqTable) const;

 private:
  std::size_t At(int row, int column, int l) const {
    return (static_cast<std::size_t>(row) * static_cast<std::size_t>(NTargets + 1) +
            static_cast<std::size_t>(column)) * static_cast<std::size_t>(NLags + 1) + static_cast<std::size_t>(l);
  }
  int FirstLag, NLags, NGivens, NTargets;
  std::vector<std::int64_t> Constant;  // per cell and relative lag: difference of the constant part
  std::vector<std::int64_t> Slope;     // ... of the part proportional to the lag; after Finish the counts
};

// The bytes a LagRangeTally of that size keeps.
std::int64_t LagRangeTallyBytes(int nLags, int nGivens, int nTargets);

// Adds the lagged pairs of one segment to freqTable[row][column]: given at
// unit u, target at unit u + lag, both inside the segment. Returns false
// when the segment is too short for the lag (it then adds nothing). Linear
// in the number of runs.
bool TallySegmentPairs(const CategorizedSegment& segment, int lag, dynInteger2& freqTable);

// The warning of a segment of session sessionLabel too short for lag, with
// OK and Ignore, unless suppressLagWarning is set; Ignore sets it for the
// rest of the RUN.
void WarnShortSegment(const std::string& sessionLabel, int lag, UserDialogue& dialogue,
                      bool& suppressLagWarning);

// Adds the lagged pairs of segments of the session sessionLabel. A segment
// too short for the lag brings the warning with OK and Ignore unless
// suppressLagWarning is set; Ignore sets it for the rest of the RUN.
void TallyLaggedPairs(const std::string& sessionLabel, std::span<const CategorizedSegment> segments,
                      int lag, dynInteger2& freqTable, UserDialogue& dialogue,
                      bool& suppressLagWarning);

}  // namespace vork
