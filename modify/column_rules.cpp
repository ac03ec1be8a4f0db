#include "modify/column_rules.h"

#include <algorithm>

#include "modify/window_command.h"

namespace vork {

namespace {

std::uint64_t CodeBit(int code) { return std::uint64_t{1} << ((code - 1) % 64); }
std::size_t CodeWord(int code) { return static_cast<std::size_t>(code - 1) / 64; }

bool AnyOn(const SegmentColumns& columns, std::size_t k, const std::vector<int>& picked) {
  for (int code : picked)
    if (CodeOn(columns, k, code)) return true;
  return false;
}

// Calls visit(onset, last) for every occurrence of code, units counted from
// 1: an onset and the units that continue it. Each unit of a stretch of
// onsets is an occurrence of its own.
template <class Visit>
void ForEachOccurrence(const SegmentColumns& columns, int code, Visit visit) {
  bool open = false;
  std::int64_t onset = 0, last = 0;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const std::int64_t start = columns.Starts[k], end = columns.End(k);
    if (CodeOnset(columns, k, code)) {
      for (std::int64_t t = start; t < end; ++t) {
        if (open) visit(onset + 1, last + 1);
        open = true;
        onset = last = t;
      }
    } else if (CodeOn(columns, k, code)) {
      if (open) last = end - 1;
    } else if (open) {
      visit(onset + 1, last + 1);
      open = false;
    }
  }
  if (open) visit(onset + 1, last + 1);
}

// Units first..last (0-based) as one occurrence of the new code.
void MarkStretch(RowChanges& row, std::int64_t first, std::int64_t last) {
  row.Set(first, '2');
  if (last > first) row.Set(first + 1, '1');
  row.Set(last + 1, '.');
}

void WindowsOfOneCode(const SegmentColumns& columns, int code, const WindowParms& parms, int maxUnits,
                      WindowCounts& counts, RowChanges& row) {
  const WindowEdges edges = OneCodeEdges(parms);
  const std::int64_t u = columns.NTimeUnits;
  // Both edges grow from one occurrence to the next, so the windows' union
  // ends at the furthest end so far and a window's start is never before
  // the one before it: the new code is an onset at each start and on over
  // the union.
  std::int64_t markedTo = 0;  // units counted from 1
  std::int64_t lastFirst = 0;
  ForEachOccurrence(columns, code, [&](std::int64_t onset, std::int64_t last) {
    std::int64_t first = edges.Start.At(onset, last);
    std::int64_t final = edges.End.At(onset, last);
    if (first > u) return;
    if (first > final) {
      ++counts.Null;
      return;
    }
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
    if (markedTo > 0 && first > markedTo) row.Set(markedTo, '.');
    if (first != lastFirst) row.Set(first - 1, '2');
    lastFirst = first;
    markedTo = std::max(markedTo, final);
    if (markedTo > first) row.Set(first, '1');
  });
  if (markedTo > 0) row.Set(markedTo, '.');
}

void WindowsOfTwoCodes(const SegmentColumns& columns, int from, int to, const WindowParms& parms, int maxUnits,
                       WindowCounts& counts, RowChanges& row) {
  const WindowEdges edges = TwoCodeEdges(parms);
  const std::int64_t u = columns.NTimeUnits;
  // The units (counted from 1, ascending) where windows may start and end.
  std::vector<std::int64_t> starts, ends;
  ForEachOccurrence(columns, from, [&](std::int64_t onset, std::int64_t last) {
    std::int64_t first = edges.Start.At(onset, last);
    if (first > u) return;
    if (first < 1) {
      first = 1;
      ++counts.Truncated;
    }
    if (starts.empty() || starts.back() != first) starts.push_back(first);
  });
  ForEachOccurrence(columns, to, [&](std::int64_t onset, std::int64_t last) {
    std::int64_t final = edges.End.At(onset, last);
    if (final < 1) return;
    if (final > u) {
      final = u;
      ++counts.Truncated;
    }
    if (ends.empty() || ends.back() != final) ends.push_back(final);
  });
  // Each window runs from the latest start before an end to that end; a
  // unit that both starts and ends one is a window of its own.
  std::int64_t pending = 0;
  std::size_t s = 0, e = 0;
  while (s < starts.size() || e < ends.size()) {
    const std::int64_t t = e == ends.size() || (s < starts.size() && starts[s] < ends[e]) ? starts[s] : ends[e];
    const bool isStart = s < starts.size() && starts[s] == t;
    const bool isEnd = e < ends.size() && ends[e] == t;
    s += isStart;
    e += isEnd;
    if (isStart && isEnd) {
      MarkStretch(row, t - 1, t - 1);
      pending = 0;
    } else if (isStart) {
      pending = t;
    } else {
      if (pending > 0 && !WindowTooLong(pending, t, maxUnits)) MarkStretch(row, pending - 1, t - 1);
      pending = 0;
    }
  }
}

}  // namespace

void RowChanges::Set(std::int64_t unit, char cell) {
  if (!Changes.empty() && Changes.back().Unit == unit) {
    Changes.pop_back();
    if (Current() != cell) Changes.push_back({unit, cell});
    return;
  }
  if (Current() != cell) Changes.push_back({unit, cell});
}

bool CodeOn(const SegmentColumns& columns, std::size_t k, int code) {
  return (columns.On(k)[CodeWord(code)] & CodeBit(code)) != 0;
}

bool CodeOnset(const SegmentColumns& columns, std::size_t k, int code) {
  return (columns.Onsets(k)[CodeWord(code)] & CodeBit(code)) != 0;
}

void CountRule(const SegmentColumns& columns, const std::vector<int>& picked, int command, RowChanges& row) {
  const int n = static_cast<int>(picked.size());
  for (std::size_t k = 0; k < columns.size(); ++k) {
    int on = 0;
    for (int code : picked) on += CodeOn(columns, k, code);
    bool mark = false;
    switch (command) {
      case CommandAnd: mark = on == n; break;
      case CommandOr: mark = on > 0; break;
      case CommandNot: mark = on != n; break;
      case CommandNor: mark = on == 0; break;
      case CommandXor: mark = on == 1; break;
      default: break;
    }
    const std::int64_t start = columns.Starts[k], end = columns.End(k);
    if (!mark) {
      row.Set(start, '.');
    } else if (row.Current() == '.') {
      // An onset where the new code was off the unit before.
      row.Set(start, '2');
      if (end - start > 1) row.Set(start + 1, '1');
    } else {
      row.Set(start, '1');
    }
  }
}

void RecodeRule(const SegmentColumns& columns, const std::vector<int>& picked, RowChanges& row) {
  for (std::size_t k = 0; k < columns.size(); ++k) {
    char cell = '.';
    for (int code : picked) {
      if (CodeOnset(columns, k, code)) {
        cell = '2';
        break;
      }
      if (CodeOn(columns, k, code)) cell = '1';
    }
    row.Set(columns.Starts[k], cell);
  }
}

void BoutRule(const SegmentColumns& columns, const std::vector<int>& picked, int gap, RowChanges& row) {
  // The stretches of units with some picked code on, 0-based, joined.
  std::vector<UnitStretch> on;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    if (!AnyOn(columns, k, picked)) continue;
    if (!on.empty() && on.back().End == columns.Starts[k])
      on.back().End = columns.End(k);
    else
      on.push_back({columns.Starts[k], columns.End(k)});
  }
  const std::int64_t u = columns.NTimeUnits;
  std::size_t j = 0;
  while (j < on.size()) {
    const std::int64_t boutStart = on[j].Start;
    bool inBout = false;
    while (true) {
      if (on[j].End >= u || j + 1 == on.size()) {
        if (inBout) MarkStretch(row, boutStart, on[j].End - 1);
        return;
      }
      if (std::int64_t{gap} >= on[j + 1].Start - on[j].End) {
        inBout = true;
        ++j;
        continue;
      }
      if (inBout) MarkStretch(row, boutStart, on[j].End - 1);
      ++j;
      break;
    }
  }
}

void WindowRule(const SegmentColumns& columns, const std::vector<int>& picked, const WindowParms& parms,
                int maxUnits, WindowCounts& counts, RowChanges& row) {
  if (picked.size() >= 2)
    WindowsOfTwoCodes(columns, picked[0], picked[1], parms, maxUnits, counts, row);
  else if (picked.size() == 1)
    WindowsOfOneCode(columns, picked[0], parms, maxUnits, counts, row);
}

void LumpRule(const SegmentColumns& columns, const std::vector<int>& picked, RowChanges& row,
              std::vector<UnitStretch>& drops) {
  bool inStretch = false;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const std::int64_t start = columns.Starts[k], end = columns.End(k);
    if (!AnyOn(columns, k, picked)) {
      inStretch = false;
      continue;
    }
    std::int64_t dropFrom = start;
    if (!inStretch) {
      inStretch = true;
      row.Set(start, '2');
      row.Set(start + 1, '.');
      dropFrom = start + 1;
    }
    if (dropFrom >= end) continue;
    if (!drops.empty() && drops.back().End == dropFrom)
      drops.back().End = end;
    else
      drops.push_back({dropFrom, end});
  }
}

}  // namespace vork
