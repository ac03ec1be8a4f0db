#include "modify/window_command.h"

#include <algorithm>
#include <cstdint>

namespace vork {

namespace {

// Indexed [part kind][edge][option][sign]: part kind 0 when the to part is
// null (the from part places both edges), 1 when it is given; edge 0 start,
// 1 end; option 0 "(code", 1 "code", 2 "code)"; sign 0 negative, 1 zero,
// 2 positive offset.
using EdgeTable = int[2][2][3][3];

// Which unit of an occurrence an edge counts from: 1 its onset, 2 its last.
constexpr EdgeTable Anchor = {
    {{{1, 1, 1}, {1, 1, 1}, {2, 2, 2}},    // null to part, start
     {{1, 1, 1}, {2, 2, 2}, {2, 2, 2}}},   //               end
    {{{1, 1, 1}, {1, 1, 2}, {2, 2, 2}},    // to part given, start
     {{1, 1, 1}, {1, 2, 2}, {2, 2, 2}}}};  //                end

// How many times the offset moves the edge from its anchor.
constexpr EdgeTable OffsetFactor = {
    {{{1, 0, 0}, {1, 0, 0}, {1, 0, 0}},    // null to part, start
     {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}},   //               end
    {{{1, 0, 1}, {1, 0, 1}, {1, 0, 1}},    // to part given, start
     {{1, 0, 1}, {1, 0, 1}, {1, 0, 1}}}};  //                end

int SignIndex(int n) { return n < 0 ? 0 : n == 0 ? 1 : 2; }

}  // namespace

std::int64_t WindowEdge::At(std::int64_t onset, std::int64_t last) const {
  const int option = std::clamp(Option, 0, 2);
  const int sign = SignIndex(N);
  const int kind = std::clamp(Kind, 0, 1);
  const int side = std::clamp(Side, 0, 1);
  const std::int64_t anchor = Anchor[kind][side][option][sign] == 1 ? onset : last;
  return anchor + std::int64_t{OffsetFactor[kind][side][option][sign]} * N;
}

WindowEdges OneCodeEdges(const WindowParms& parms) {
  const bool toGiven = parms.ToOption != NullToPart;
  const int kind = toGiven ? 1 : 0;
  return {{kind, 0, parms.FromOption, parms.FromN},
          toGiven ? WindowEdge{kind, 1, parms.ToOption, parms.ToN} : WindowEdge{kind, 1, parms.FromOption, parms.FromN}};
}

WindowEdges TwoCodeEdges(const WindowParms& parms) {
  return {{1, 0, parms.FromOption, parms.FromN}, {1, 1, parms.ToOption, parms.ToN}};
}

bool WindowTooLong(std::int64_t start, std::int64_t end, int maxUnits) {
  return maxUnits >= 1 && end - start + 1 > maxUnits;
}

}  // namespace vork
