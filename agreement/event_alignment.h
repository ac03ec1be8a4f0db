#pragma once

// The event alignment of a pair of segments: Obs1's events aligned with
// Obs2's by dynamic programming, each event paired (agreement or confusion)
// or left alone (counted against nil, index 0). For Timed and State data the
// cost of a pairing follows the onsets and the event tolerance, and a lone
// event still agrees when the other observer holds its code for enough of
// its duration.
//
// Event data fill the whole table: only the step of each cell is kept for
// the traceback (2 bits a cell) and the distances two rows at a time. Timed
// and State data need no table: a pairing shortens the path only where the
// onsets lie within the event tolerance, so the alignment follows from the
// best candidate of each of Obs1's events, in memory and time that follow
// the events and their candidates, with the same steps as the full table.

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

// The most memory the alignment of a pair may take.
inline constexpr std::int64_t MaxAlignmentStepBytes = std::int64_t{1} << 30;

// The bytes the step table of a pair with n1 and n2 events of Event data takes.
std::int64_t AlignmentStepBytes(std::int64_t n1, std::int64_t n2);

// The bytes the alignment of a pair with n1 and n2 events takes: the step
// table for Event data, a few numbers per event for Timed and State data.
std::int64_t AlignmentBytes(std::int64_t n1, std::int64_t n2, bool timedOrState);

// Aligns the pair's events and counts the pairs and lone events into matrix
// (rows Obs1, columns Obs2, 0 = nil; rows and columns 0..K+2). symbols[1..K]
// are the picked codes' plot symbols. With plot, the three plot lines are
// made. Throws CommandError when the alignment passes MaxAlignmentStepBytes or an
// event code lies outside the matrix.
void AlignSessionEvents(const SegmentPair& pair, const EventAlignmentSettings& settings,
                        const dynString& symbols, dynInteger2& matrix, AlignmentPlot* plot);

// True when a lone event n (1..) of observer a is covered by observer b's
// same code in at least settings.Overlap percent of its units; never for
// Event data.
bool OverlapAgrees(const SegmentPair& pair, int a, int b, int n, const EventAlignmentSettings& settings);

}  // namespace vork
