#pragma once

// The event alignment of a pair of segments: Obs1's events aligned with
// Obs2's by dynamic programming, each event paired (agreement or confusion)
// or left alone (counted against nil, index 0). For Timed and State data the
// cost of a pairing follows the onsets and the event tolerance, and a lone
// event still agrees when the other observer holds its code for enough of
// its duration.
//
// Only the step of each cell is kept for the traceback (2 bits a cell); the
// distances are kept two rows at a time and the costs one row at a time, as
// the best candidate of a row depends on that row alone.

#include <cstdint>
#include <string>
#include <vector>

#include "agreement/segment_pairing.h"
#include "core/dyn_arrays.h"

namespace vork {

struct EventAlignmentSettings {
  bool TimedOrState = false;  // onsets and the overlap rule count
  int EventTol = 0;           // time units
  int Overlap = 100;          // percent of a lone event the other observer must cover
};

// The three lines of the alignment plot, one symbol per alignment step.
struct AlignmentPlot {
  std::vector<std::string> Obs1;
  std::vector<std::string> Marks;
  std::vector<std::string> Obs2;
};

// The largest step table a pair may take.
inline constexpr std::int64_t MaxAlignmentStepBytes = std::int64_t{1} << 30;

// The bytes the steps of a pair with n1 and n2 events take.
std::int64_t AlignmentStepBytes(std::int64_t n1, std::int64_t n2);

// Aligns the pair's events and counts the pairs and lone events into matrix
// (rows Obs1, columns Obs2, 0 = nil; rows and columns 0..K+2). symbols[1..K]
// are the picked codes' plot symbols. With plot, the three plot lines are
// made. Throws CommandError when the steps pass MaxAlignmentStepBytes or an
// event code lies outside the matrix.
void AlignSessionEvents(const SegmentPair& pair, const EventAlignmentSettings& settings,
                        const dynString& symbols, dynInteger2& matrix, AlignmentPlot* plot);

// True when a lone event n (1..) of observer a is covered by observer b's
// same code in at least settings.Overlap percent of its units; never for
// Event data.
bool OverlapAgrees(const SegmentPair& pair, int a, int b, int n, const EventAlignmentSettings& settings);

}  // namespace vork
