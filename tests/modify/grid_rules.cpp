#include "tests/modify/grid_rules.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "modify/window_command.h"

namespace vork::model {

namespace {

// The new code's row.
std::string& NewRow(SegmentWork& work) { return work.Matrix.back(); }

// Marks the new code on at t: an onset where it was off the unit before.
void MarkOn(std::string& row, int t) { row[t] = t == 0 || row[t - 1] == '.' ? '2' : '1'; }

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


void MarkStretch(std::string& row, int first, int last) {
  row[first] = '2';
  for (int t = first + 1; t <= last; ++t) row[t] = '1';
}

int CountCodesOnAt(const dynChar2& matrix, const std::vector<int>& picked, int t) {
  int count = 0;
  for (int code : picked) count += matrix[code - 1][t] != '.';
  return count;
}

int FirstCodeOnAt(const dynChar2& matrix, const std::vector<int>& picked, int t) {
  for (int code : picked)
    if (matrix[code - 1][t] != '.') return code;
  return 0;
}

void MarkByCount(SegmentWork& work, int command) {
  std::string& row = NewRow(work);
  const int n = static_cast<int>(work.Picked.size());
  for (int t = 0; t < work.NTimeUnits; ++t) {
    const int on = CountCodesOnAt(work.Matrix, work.Picked, t);
    bool mark = false;
    switch (command) {
      case CommandAnd: mark = on == n; break;
      case CommandOr: mark = on > 0; break;
      case CommandNot: mark = on != n; break;
      case CommandNor: mark = on == 0; break;
      case CommandXor: mark = on == 1; break;
      default: break;
    }
    if (mark) MarkOn(row, t);
  }
}

void RecodeRow(SegmentWork& work) {
  std::string& row = NewRow(work);
  for (int t = 0; t < work.NTimeUnits; ++t) {
    char cell = '.';
    for (int code : work.Picked) {
      const char c = work.Matrix[code - 1][t];
      if (c == '2') {
        cell = '2';
        break;
      }
      if (c != '.') cell = '1';
    }
    row[t] = cell;
  }
}

void LumpEvents(SegmentWork& work) {
  std::string& row = NewRow(work);
  bool inStretch = false;
  for (int t = 0; t < work.NTimeUnits; ++t) {
    const int first = FirstCodeOnAt(work.Matrix, work.Picked, t);
    if (first == 0) {
      inStretch = false;
    } else if (inStretch) {
      work.Runs[t] = -1;
    } else {
      inStretch = true;
      row[t] = '2';
      work.Matrix[first - 1][t] = '.';
    }
  }
}

void ChainEvents(SegmentWork& work) {
  std::string& row = NewRow(work);
  const int n = static_cast<int>(work.Picked.size());
  const int u = work.NTimeUnits;
  if (n < 1 || u < n) return;
  // The first picked code on at each unit, found once: a try reads at most
  // n of them, so the tries stay linear in the segment for a given chain.
  std::vector<int> first(static_cast<std::size_t>(u));
  for (int t = 0; t < u; ++t) first[t] = FirstCodeOnAt(work.Matrix, work.Picked, t);
  int t = 0;
  while (t <= u - n) {
    int k = 0;
    while (k < n && first[t + k] == work.Picked[k]) ++k;
    if (k < n) {
      // A failed try at t: the chain may still begin at the next unit.
      ++t;
      continue;
    }
    row[t] = '2';
    work.Matrix[first[t] - 1][t] = '.';
    for (int j = t + 1; j < t + n; ++j) {
      row[j] = '1';
      work.Runs[j] = -1;
    }
    t += n;
  }
}

void MakeBouts(SegmentWork& work, int gap) {
  std::string& row = NewRow(work);
  const int u = work.NTimeUnits;
  std::vector<char> on(static_cast<std::size_t>(u) + 1, 0);  // units 1..u
  for (int t = 1; t <= u; ++t) on[t] = CountCodesOnAt(work.Matrix, work.Picked, t - 1) > 0;
  auto next = [&](int t, bool wanted) {
    for (++t; t <= u; ++t)
      if (bool(on[t]) == wanted) return t;
    return 0;
  };
  auto mark = [&](int first, int last) { MarkStretch(row, first - 1, last - 1); };
  int t = 0;
  while (true) {
    bool inBout = false;
    t = next(t, true);
    if (t == 0) return;
    const int boutStart = t;
    while (true) {
      t = next(t, false);
      if (t == 0) {
        if (inBout) mark(boutStart, u);
        return;
      }
      const int gapStart = t;
      t = next(t, true);
      if (t == 0) {
        if (inBout) mark(boutStart, gapStart - 1);
        return;
      }
      if (gap >= t - gapStart) {
        inBout = true;
        if (t >= u) {
          mark(boutStart, u);
          return;
        }
        continue;
      }
      if (inBout) mark(boutStart, gapStart - 1);
      --t;
      break;
    }
  }
}

void JoinSuccessiveEvents(SegmentWork& work, int nCodes) {
  for (int c = 0; c < nCodes; ++c) {
    std::string& row = work.Matrix[c];
    for (int t = 1; t < work.NTimeUnits; ++t)
      if (row[t] == '2' && row[t - 1] != '.') row[t] = '1';
  }
}

bool OnsetsOnly(SegmentWork& work, dynChar2& events) {
  const int n = static_cast<int>(work.Picked.size());
  events.assign(static_cast<std::size_t>(n), std::string(static_cast<std::size_t>(work.NTimeUnits), '.'));
  bool multi = false;
  for (int t = 0; t < work.NTimeUnits; ++t) {
    int onsets = 0;
    for (int i = 0; i < n; ++i)
      if (work.Matrix[work.Picked[i] - 1][t] == '2') {
        events[i][t] = '2';
        ++onsets;
      }
    if (onsets == 0) work.Runs[t] = -1;
    if (onsets > 1) multi = true;
  }
  return multi;
}

void MarkWindows(SegmentWork& work, const WindowParms& parms, int maxUnits, WindowCounts& counts) {
  if (work.Picked.size() >= 2)
    WindowsOfTwoCodes(work, parms, maxUnits, counts);
  else if (work.Picked.size() == 1)
    WindowsOfOneCode(work, parms, maxUnits, counts);
}

}  // namespace vork::model
