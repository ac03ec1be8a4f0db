#pragma once

// The rounding of a segment's times as it was before it read column
// stretches: the segment read as the runs of its codes and rounded into a
// grid, the rule stated cell by cell. Kept as the model the rounding is
// checked against.

#include <cstdint>
#include <string>

#include "core/dyn_arrays.h"
#include "core/segment_runs.h"
#include "modify/round_times.h"

namespace vork::model {

// What one old segment becomes: its new times and a grid of NCodes rows of
// NewU + 1 cells (the last unit is tallied, not written).
struct GridRoundedSegment : RoundedSegment {
  dynChar2 Matrix;
};

// Rounds one segment from start to stop into the new unit, factor old
// units to one (10, 100 or 1000). where names the segment in the refusal
// of a segment whose units do not match its times.
GridRoundedSegment RoundSegment(const SegmentRuns& runs, std::uint32_t start, std::uint32_t stop, int factor,
                                RoundingTallies& tallies, const std::string& where);

}  // namespace vork::model
