#pragma once

#include <cstdint>
#include <vector>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"

namespace vork {

// Appends the data lines of one segment to out, plain or compressed, and
// returns how many it wrote; the caller writes that number into the segment
// line. runs[t] is the number of time units column t stands for (0 or less
// drops the column). With merge, runs of columns identical cell for cell are
// joined into their first column: runs is changed in place (without codes,
// every column is alike and all gather in the first).
// Throws CommandError when the matrix or runs are smaller than nCodes by
// nTimeUnits.
int WriteSegmentData(dynString& out, const dynChar2& segmentMatrix, dynInteger& runs, int nCodes,
                     int nTimeUnits, bool compressed, bool merge);

// From unit Unit on, code Code (0-based) has cell Cell ("." off, "1" on,
// "2" onset) until its next change; at most one change per code and unit.
struct CellChange {
  std::int64_t Unit;
  int Code;
  char Cell;
};

// Appends the data lines of a segment of nTimeUnits units whose cells are
// all "." but where changes say otherwise, and returns how many it wrote:
// the lines WriteSegmentData writes with merge for the same cells, one per
// stretch of equal columns, without a grid. Work follows the changes, not
// the units. Sorts changes by unit. Throws CommandError for a change
// outside the segment or a stretch too long for a data line.
int WriteSegmentChanges(dynString& out, std::vector<CellChange>& changes, int nCodes,
                        std::int64_t nTimeUnits, bool compressed);
int WriteSegmentChanges(LineBuffer& out, std::vector<CellChange>& changes, int nCodes,
                        std::int64_t nTimeUnits, bool compressed);

// The data lines WriteSegmentChanges would write for the same changes, and
// their bytes with a CR LF after each, worked out without writing them, so
// that their memory can be checked before it is taken. Sorts changes.
struct SegmentLinesSize {
  std::int64_t Lines = 0;
  std::int64_t Bytes = 0;
};
SegmentLinesSize MeasureSegmentChanges(std::vector<CellChange>& changes, int nCodes, std::int64_t nTimeUnits,
                                       bool compressed);

// Writes a segment's data lines straight into a buffer of lines from its
// columns given as bits (code c is bit (c - 1) % 64 of word (c - 1) / 64;
// every onset is also on), stretch after stretch in unit order. With merge,
// a run of columns identical cell for cell is one line whose count is the
// units of it not dropped, and is left out when all are: the lines
// WriteSegmentData writes with merge, runs of -1 for dropped columns.
// Without merge every unit not dropped is a line of its own.
class ColumnLineWriter {
 public:
  ColumnLineWriter(LineBuffer& out, int nCodes, bool compressed, bool merge);

  // 64-bit words of one code set.
  std::size_t Words() const { return NWords; }
  // units units of the column on / onsets (Words() words each).
  void Add(std::int64_t units, const std::uint64_t* on, const std::uint64_t* onsets, bool dropped = false);
  // Writes what is pending and returns the number of lines written.
  int Finish();

 private:
  void WriteLine(std::int64_t count, const std::uint64_t* on, const std::uint64_t* onsets);

  LineBuffer& Out;
  const int NCodes;
  const std::size_t NWords;
  const bool Compressed;
  const bool Merge;
  std::vector<std::uint64_t> Pending;  // on then onsets of the column being merged
  std::int64_t PendingUnits = 0;
  bool HasPending = false;
  int Lines = 0;
};

}  // namespace vork
