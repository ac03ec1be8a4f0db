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

// One segment as the stretches of columns its data lines stand for, each
// column's cells as bits: what a command that rewrites whole columns (the
// modification, the rounding) reads, in memory and time following the data
// lines, not codes x time units. Stretch k covers units Starts[k] up to the
// next stretch's start (the last up to NTimeUnits); two stretches in a row
// may be alike.
struct SegmentColumns {
  int NCodes = 0;
  int NTimeUnits = 0;
  // 64-bit words of one code set: code c is bit (c - 1) % 64 of word
  // (c - 1) / 64.
  std::size_t Words = 0;
  std::vector<std::int32_t> Starts;
  // 2 x Words a stretch: the codes on (an onset counts as on), then the
  // codes with an onset.
  std::vector<std::uint64_t> Cells;

  std::size_t size() const { return Starts.size(); }
  std::int32_t End(std::size_t k) const { return k + 1 < Starts.size() ? Starts[k + 1] : NTimeUnits; }
  const std::uint64_t* On(std::size_t k) const { return Cells.data() + 2 * Words * k; }
  const std::uint64_t* Onsets(std::size_t k) const { return On(k) + Words; }
  // Code c (1..NCodes) in stretch k as its cell: '.', '1' or '2'.
  char Cell(std::size_t k, int c) const {
    const std::size_t w = static_cast<std::size_t>(c - 1) / 64;
    const std::uint64_t bit = std::uint64_t{1} << ((c - 1) % 64);
    return Onsets(k)[w] & bit ? '2' : On(k)[w] & bit ? '1' : '.';
  }
};

// Reads the data lines of the segment whose line was just read into column
// stretches, one a data line, checking them as ReadSegmentRuns does.
void ReadSegmentColumns(LinesView lines, int& lineIndex, const MdsHeader& header, const SegmentValues& segment,
                        SegmentColumns& columns);

// The segment matrix of NCodes rows by NTimeUnits cells that the runs
// describe; codes not kept read '.' throughout.
void SegmentMatrixFromRuns(const SegmentRuns& runs, dynChar2& segmentMatrix);

}  // namespace vork
