#pragma once

#include <cstdint>

#include "modify/modify_command.h"

namespace vork {

// One edge of a WINDOW: its part's option and offset, and the part kind
// (0 when the to part is null and the from part places both edges, 1 when
// it is given) and side (0 start, 1 end) that say how the tables place it.
struct WindowEdge {
  int Kind = 0;
  int Side = 0;
  int Option = 1;
  int N = 0;

  // The edge for the occurrence onset..last (units counted from 1).
  std::int64_t At(std::int64_t onset, std::int64_t last) const;
};

// The start and end edges of the windows around one code's occurrences,
// and of those from the first code's occurrences to the second's.
struct WindowEdges {
  WindowEdge Start;
  WindowEdge End;
};
WindowEdges OneCodeEdges(const WindowParms& parms);
WindowEdges TwoCodeEdges(const WindowParms& parms);

// A window of more than maxUnits units is left out (maxUnits 0: none is).
bool WindowTooLong(std::int64_t start, std::int64_t end, int maxUnits);

}  // namespace vork
