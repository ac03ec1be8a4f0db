#pragma once

#include "core/dyn_arrays.h"

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

}  // namespace vork
