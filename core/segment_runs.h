#pragma once

// A segment read as runs, straight from its data lines: for each code the
// stretches of units in which it is on, with their onsets, and the units
// at which the codes change. What a segment costs in memory and time then
// follows what its data lines hold, not its codes x time units; the grid
// of cells is built from the runs only for rules that walk cells one by one.
//
//   SegmentRuns runs;                                    // reused segment after segment
//   ReadSegment(lines, lineIndex, segment);              // core/session_reader.h
//   ReadSegmentRuns(lines, lineIndex, header, segment, runs);
//   for (const CodeRun& run : runs.Runs[code])           // code 1..NCodes
//     on += run.End - run.Start, onsets += run.Onset ? run.End - run.Start : 0;
//   for (std::int32_t unit : runs.ChangeUnits) ...       // where some code changes
//   dynChar2 matrix;
//   SegmentMatrixFromRuns(runs, matrix);                 // '.', '1', '2' cells

#include <cstdint>
#include <vector>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"
#include "core/session_reader.h"

namespace vork {

// A stretch of units Start..End-1 in which a code is on and its cells are
// alike: with Onset every unit of it holds an onset (cell '2'; a stretch of
// events in successive units), else the code continues in every unit of it
// (cell '1'). An episode of a code is an onset unit and the continuing
// units right after it.
struct CodeRun {
  std::int32_t Start = 0;
  std::int32_t End = 0;  // exclusive
  bool Onset = false;
};

// Which codes a run reader keeps: element c (1..NCodes) nonzero for a code
// whose runs are wanted. An empty selection keeps every code.
using CodeSelection = std::vector<char>;

// One segment as runs.
struct SegmentRuns {
  int NCodes = 0;
  int NTimeUnits = 0;
  // [1..NCodes]: each code's runs in unit order. Runs of one code never
  // overlap; two that touch differ in Onset. A code not kept has none.
  std::vector<std::vector<CodeRun>> Runs;
  // The units, ascending, at which some kept code's cell differs from the
  // unit before ('1' and '2' count as different); unit 0 always, when the
  // segment has units. Between two of them every kept code stays as it is.
  std::vector<std::int32_t> ChangeUnits;

  // The codes that have runs (bookkeeping of the reader, so that a reused
  // value is cleared in time proportional to what it held).
  std::vector<int> CodesWithRuns;
};

// Reads the data lines of the segment whose line was just read into runs
// (the runs of the previous segment are dropped, their memory kept).
// Checks what ReadSegmentData checks and refuses the same files: a damaged
// data line, counts that do not cover the segment, a segment beyond the
// memory budget, data lines in a file without codes (CommandError).
void ReadSegmentRuns(LinesView lines, int& lineIndex, const MdsHeader& header,
                     const SegmentValues& segment, SegmentRuns& runs, const CodeSelection& keep = {});

// The segment matrix of NCodes rows by NTimeUnits cells that the runs
// describe; codes not kept read '.' throughout.
void SegmentMatrixFromRuns(const SegmentRuns& runs, dynChar2& segmentMatrix);

}  // namespace vork
