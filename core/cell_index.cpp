#include "core/cell_index.h"

#include <cstdint>
#include <limits>
#include <string>

#include "core/command_error.h"

namespace vork {

int CellIndex(const dynInteger& sizes, const dynInteger& indices, int first, int last) {
  if (first > last) return 1;
  if (first < 0 || static_cast<size_t>(last) >= sizes.size() ||
      static_cast<size_t>(last) >= indices.size()) {
    throw CommandError("Cell dimensions " + std::to_string(first) + ".." + std::to_string(last) +
                       " are outside the table.");
  }
  constexpr std::int64_t Limit = std::numeric_limits<std::int32_t>::max();
  std::int64_t result = 1;
  std::int64_t step = 1;
  for (int i = last; i >= first; --i) {
    const std::int64_t size = sizes[static_cast<size_t>(i)];
    if (size <= 1) continue;
    result += (static_cast<std::int64_t>(indices[static_cast<size_t>(i)]) - 1) * step;
    step *= size;
    // step stays within 2^31 * 2^31 before this check, so nothing overflows.
    if (step > Limit + 1 || result > Limit || result < -Limit) {
      throw CommandError("The table of factor levels has too many cells.");
    }
  }
  return static_cast<int>(result);
}

}  // namespace vork
