#include "tests/modify/grid_round_model.h"

#include <algorithm>
#include <limits>

#include "core/command_error.h"
#include "core/segment_budget.h"

namespace vork::model {

namespace {

constexpr std::int64_t MaxInt32 = std::numeric_limits<std::int32_t>::max();

// The rounding maps a segment's times, so its units must be exactly the
// span from start to stop, as the compiler writes timed-event and state data.
void CheckUnitsMatchTimes(int nTimeUnits, std::uint32_t start, std::uint32_t stop, const std::string& where) {
  if (std::int64_t(nTimeUnits) == std::int64_t(stop) - std::int64_t(start)) return;
  throw CommandError(where + " has " + std::to_string(nTimeUnits) + " time units, but its start " +
                     std::to_string(start) + " and stop " + std::to_string(stop) +
                     " span a different number; its times cannot be rounded.");
}

// The segment's new start, stop and units: times round to the nearest new
// unit, halves up.
GridRoundedSegment RoundedTimes(std::uint32_t start, std::uint32_t stop, std::int64_t f, const std::string& where) {
  const std::int64_t h = f / 2;
  GridRoundedSegment seg;
  seg.NewStart = (std::int64_t(start) + h) / f;
  seg.NewStop = (std::int64_t(stop) + h) / f;
  if (seg.NewStop > MaxInt32) throw CommandError(where + ": the rounded stop time is too large.");
  seg.NewU = int(seg.NewStop - seg.NewStart);
  return seg;
}

}  // namespace

GridRoundedSegment RoundSegment(const SegmentRuns& runs, std::uint32_t start, std::uint32_t stop, int factor,
                                RoundingTallies& tallies, const std::string& where) {
  const int nCodes = runs.NCodes;
  const int nTimeUnits = runs.NTimeUnits;
  CheckUnitsMatchTimes(nTimeUnits, start, stop, where);
  const std::int64_t f = factor;
  const std::int64_t h = f / 2;
  GridRoundedSegment seg = RoundedTimes(start, stop, f, where);
  CheckSegmentBudget(nCodes, std::int64_t(seg.NewU) + 1, 0, where);
  seg.Matrix.assign(size_t(nCodes), std::string(size_t(seg.NewU) + 1, '.'));
  if (int(tallies.Merged.size()) < nCodes + 1) tallies.Merged.resize(size_t(nCodes) + 1, 0);
  if (int(tallies.Carry.size()) < nCodes + 1) tallies.Carry.resize(size_t(nCodes) + 1, 0);

  // New unit k (0-based) takes the old columns b0 + k F .. b0 + (k + 1) F - 1
  // that the segment has: the old times that round to it, halves up. A
  // segment whose units match its times fills at most NewU + 1 new units;
  // the last, which starts at the stop, is tallied but not written.
  const std::int64_t b0 = seg.NewStart * f - std::int64_t(start) - h;
  for (int c = 1; c <= nCodes && c < int(runs.Runs.size()); ++c) {
    std::string& out = seg.Matrix[size_t(c - 1)];
    std::int32_t& merged = tallies.Merged[size_t(c)];
    std::int32_t& carry = tallies.Carry[size_t(c)];
    std::int64_t unit = -1, onsets = 0, on = 0;
    // A new unit where the code is never on stays '.' and leaves its carry.
    auto finish = [&] {
      if (unit < 0) return;
      char mark = '.';
      if (onsets > 0) {
        mark = '2';
        merged += std::int32_t(onsets - 1);
        carry = std::int32_t(on);
      } else if (on == f || on + carry > f + h) {
        mark = '1';
      }
      out[size_t(unit)] = mark;
    };
    for (const CodeRun& run : runs.Runs[size_t(c)]) {
      std::int64_t from = std::max<std::int64_t>(run.Start, 0);
      const std::int64_t to = std::min<std::int64_t>(run.End, nTimeUnits);
      while (from < to) {
        const std::int64_t k = (std::int64_t(start) + from + h) / f - seg.NewStart;
        if (k > seg.NewU) throw CommandError(where + ": a time unit lies beyond the segment's stop.");
        const std::int64_t end = std::min(to, b0 + (k + 1) * f);
        if (k != unit) {
          finish();
          unit = k;
          onsets = on = 0;
        }
        (run.Onset ? onsets : on) += end - from;
        from = end;
      }
    }
    finish();
  }
  return seg;
}

}  // namespace vork::model
