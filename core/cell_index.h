#pragma once

#include "core/dyn_arrays.h"

namespace vork {

// The 1-based number of the cell that indices[first..last] pick in a table
// with sizes[first..last] levels per dimension; the last dimension varies
// fastest and dimensions of size 0 or 1 take no part. first > last gives 1.
// Passing the sizes as the indices gives the number of cells. The number
// lies in 1..cells when every index lies in 1..its size. Throws
// CommandError when first..last is outside either array or the number
// passes the 32-bit range.
int CellIndex(const dynInteger& sizes, const dynInteger& indices, int first, int last);

}  // namespace vork
