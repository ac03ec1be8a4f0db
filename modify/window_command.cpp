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

// Calls visit(onset, last) for every occurrence of a code in its row, units
// counted from 1: an onset and the units that continue it.
template <class Visit>
void ForEachOccurrence(const std::string& row, int u, Visit visit) {
  for (int t = 0; t < u; ++t) {
    if (row[t] != '2') continue;
    int last = t;
    while (last + 1 < u && row[last + 1] == '1') ++last;
    visit(t + 1, last + 1);
    t = last;
  }
}

void WindowsOfOneCode(SegmentWork& work, const WindowParms& parms, int maxUnits, WindowCounts& counts) {
  const WindowEdges edges = OneCodeEdges(parms);
  const WindowEdge& start = edges.Start;
  const WindowEdge& end = edges.End;
  std::string& row = work.Matrix.back();
  const std::int64_t u = work.NTimeUnits;
  // Onsets and last units grow from one occurrence to the next, so both
  // edges of the windows do too: the cells of a new window that are on
  // already are those up to the furthest end marked so far.
  std::int64_t markedTo = 0;
  ForEachOccurrence(work.Matrix[work.Picked[0] - 1], work.NTimeUnits, [&](int onset, int last) {
    std::int64_t first = start.At(onset, last);
    std::int64_t final = end.At(onset, last);
    if (first > u) return;
    if (first > final) {
      ++counts.Null;
      return;
    }
    // A window that ends before the segment begins is dropped like one
    // that starts after it ends.
    if (final < 1) return;
    if (first < 1) {
      first = 1;
      ++counts.Truncated;
    }
    if (final > u) {
      final = u;
      ++counts.Truncated;
    }
    if (WindowTooLong(first, final, maxUnits)) return;
    if (first <= markedTo) ++counts.Overlapped;
    row[first - 1] = '2';
    for (std::int64_t t = std::max(first + 1, markedTo + 1); t <= final; ++t) row[t - 1] = '1';
    markedTo = std::max(markedTo, final);
  });
}

void WindowsOfTwoCodes(SegmentWork& work, const WindowParms& parms, int maxUnits, WindowCounts& counts) {
  enum Mark : char { None = 0, StartMark = 1, EndMark = 2, BothMarks = 3 };
  const WindowEdges edges = TwoCodeEdges(parms);
  const WindowEdge& start = edges.Start;
  const WindowEdge& end = edges.End;
  const int u = work.NTimeUnits;
  std::vector<char> marks(static_cast<std::size_t>(u) + 1, None);  // units 1..u
  ForEachOccurrence(work.Matrix[work.Picked[0] - 1], u, [&](int onset, int last) {
    std::int64_t first = start.At(onset, last);
    if (first > u) return;
    if (first < 1) {
      first = 1;
      ++counts.Truncated;
    }
    marks[first] = StartMark;
  });
  ForEachOccurrence(work.Matrix[work.Picked[1] - 1], u, [&](int onset, int last) {
    std::int64_t final = end.At(onset, last);
    if (final < 1) return;
    if (final > u) {
      final = u;
      ++counts.Truncated;
    }
    marks[final] = marks[final] & StartMark ? BothMarks : EndMark;
  });
  // Each window runs from the latest start before an end to that end.
  std::string& row = work.Matrix.back();
  int pending = 0;
  for (int t = 1; t <= u; ++t) {
    switch (marks[t]) {
      case StartMark:
        pending = t;
        break;
      case EndMark:
        if (pending > 0 && !WindowTooLong(pending, t, maxUnits)) MarkStretch(row, pending - 1, t - 1);
        pending = 0;
        break;
      case BothMarks:
        row[t - 1] = '2';
        pending = 0;
        break;
      default:
        break;
    }
  }
}

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

void MarkWindows(SegmentWork& work, const WindowParms& parms, int maxUnits, WindowCounts& counts) {
  if (work.Picked.size() >= 2)
    WindowsOfTwoCodes(work, parms, maxUnits, counts);
  else if (work.Picked.size() == 1)
    WindowsOfOneCode(work, parms, maxUnits, counts);
}

}  // namespace vork
