#include <algorithm>
#include <bit>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "compiler/compile_state.h"
#include "compiler/segment_builder.h"
#include "compiler/compiler_messages.h"
#include "core/segment_budget.h"
#include "core/segment_writer.h"

namespace vork {

namespace {

// The most changes of a segment merged through a second buffer.
constexpr std::size_t MergeBufferChanges = std::size_t{1} << 16;

// The fewest changes sorted by the digits of their units rather than
// merged, and the most bits of a unit taken as one digit.
constexpr std::size_t RadixChanges = 256;
constexpr int RadixDigitBits = 11;

// Sorts changes by unit into order, keeping changes of one unit in the
// order they are in, a digit of the units (counted from lowest) at a time
// from the lowest digit, through a second buffer. Each digit costs a pass
// that follows the changes, without comparing one change with another.
void SortByUnitDigits(std::vector<CellChange>& changes, std::int64_t lowest, int passes, int digitBits) {
  const std::size_t n = changes.size();
  const std::size_t buckets = std::size_t{1} << digitBits;
  const std::uint64_t mask = buckets - 1;
  std::vector<std::uint32_t> counts(buckets * static_cast<std::size_t>(passes), 0);
  for (const CellChange& change : changes) {
    const auto unit = static_cast<std::uint64_t>(change.Unit - lowest);
    for (int p = 0; p < passes; ++p) ++counts[static_cast<std::size_t>(p) * buckets + ((unit >> (p * digitBits)) & mask)];
  }
  const auto other = std::make_unique_for_overwrite<CellChange[]>(n);
  CellChange* from = changes.data();
  CellChange* to = other.get();
  for (int p = 0; p < passes; ++p) {
    std::uint32_t* const count = counts.data() + static_cast<std::size_t>(p) * buckets;
    // A digit that is the same in every change moves nothing.
    if (count[(static_cast<std::uint64_t>(from[0].Unit - lowest) >> (p * digitBits)) & mask] == n) continue;
    std::uint32_t at = 0;
    for (std::size_t b = 0; b < buckets; ++b) at += std::exchange(count[b], at);
    for (std::size_t i = 0; i < n; ++i) {
      const auto unit = static_cast<std::uint64_t>(from[i].Unit - lowest);
      to[count[(unit >> (p * digitBits)) & mask]++] = from[i];
    }
    std::swap(from, to);
  }
  if (from != changes.data()) std::copy(from, from + n, changes.data());
}

// Changes made code by code, each code's in unit order, sorted by unit and
// code: by the digits of their units when that takes fewer passes, else by
// merging the codes' runs of changes pairwise. The work follows the changes
// times the fewer of the digits and the logarithm of the codes. bounds:
// where each code's run begins, and the end.
void MergeCodeRuns(std::vector<CellChange>& changes, const std::vector<std::size_t>& bounds) {
  const auto byUnit = [](const CellChange& a, const CellChange& b) {
    return a.Unit != b.Unit ? a.Unit < b.Unit : a.Code < b.Code;
  };
  const std::size_t runs = bounds.size() - 1;
  if (runs < 2) return;
  const auto at = [&](std::vector<CellChange>& v, std::size_t i) {
    return v.begin() + static_cast<std::ptrdiff_t>(i);
  };
  // A long segment merges in place, in the memory its changes hold; a short
  // one merges into a second buffer, one buffer for all its merges.
  if (changes.size() > MergeBufferChanges) {
    for (std::size_t width = 1; width < runs; width *= 2) {
      for (std::size_t i = 0; i + width < runs; i += 2 * width) {
        std::inplace_merge(at(changes, bounds[i]), at(changes, bounds[i + width]),
                           at(changes, bounds[std::min(i + 2 * width, runs)]), byUnit);
      }
    }
    return;
  }
  // When the codes' runs come in code order, changes sorted by unit alone,
  // those of one unit kept in the order they came, are sorted by unit and
  // code; that takes fewer passes over them than the merges when the units
  // span few digits. A run's first and last changes hold its lowest and
  // highest unit.
  if (changes.size() >= RadixChanges) {
    bool codeOrder = true;
    int lastCode = -1;
    std::int64_t lowest = changes[0].Unit;
    std::int64_t highest = lowest;
    for (std::size_t r = 0; r < runs && codeOrder; ++r) {
      if (bounds[r] == bounds[r + 1]) continue;
      codeOrder = changes[bounds[r]].Code > lastCode;
      lastCode = changes[bounds[r]].Code;
      lowest = std::min(lowest, changes[bounds[r]].Unit);
      highest = std::max(highest, changes[bounds[r + 1] - 1].Unit);
    }
    const auto span = static_cast<std::uint64_t>(highest) - static_cast<std::uint64_t>(lowest);
    const int bits = static_cast<int>(std::bit_width(span));
    const int passes = std::max((bits + RadixDigitBits - 1) / RadixDigitBits, 1);
    if (codeOrder && passes < static_cast<int>(std::bit_width(runs - 1))) {
      SortByUnitDigits(changes, lowest, passes, (bits + passes - 1) / passes);
      return;
    }
  }
  std::vector<CellChange> other(changes.size());
  std::vector<std::size_t> from = bounds;
  std::vector<std::size_t> to;
  while (from.size() > 2) {
    to.assign(1, 0);
    for (std::size_t i = 0; i + 1 < from.size(); i += 2) {
      if (i + 2 < from.size()) {
        std::merge(at(changes, from[i]), at(changes, from[i + 1]), at(changes, from[i + 1]),
                   at(changes, from[i + 2]), at(other, from[i]), byUnit);
        to.push_back(from[i + 2]);
      } else {
        std::copy(at(changes, from[i]), at(changes, from[i + 1]), at(other, from[i]));
        to.push_back(from[i + 1]);
      }
    }
    changes.swap(other);
    from.swap(to);
  }
}

// The cells of one code where its context steps meet what it was coded
// with (row: its changes, column order, from "." on): a start or an end
// holds its cell, elsewhere a coded cell stands and the context code fills
// the cells left off. Appends the changes of the result to cells.
void AddContextCells(const std::vector<ColumnCell>& row,
                     const std::vector<ContextStep>& steps, std::int64_t columns,
                     std::vector<std::int64_t>& at, std::vector<ColumnCell>& cells) {
  at.clear();
  for (const auto& change : row) at.push_back(change.first);
  for (const ContextStep& step : steps) {
    at.push_back(step.Column);
    at.push_back(step.Column + 1);
  }
  std::sort(at.begin(), at.end());
  at.erase(std::unique(at.begin(), at.end()), at.end());
  std::size_t r = 0, s = 0;
  char coded = '.', last = '.';
  for (const std::int64_t column : at) {
    if (column >= columns) break;
    while (r < row.size() && row[r].first <= column) coded = row[r++].second;
    while (s < steps.size() && steps[s].Column <= column) ++s;
    char cell = coded;
    if (s > 0) {
      const ContextStep& step = steps[s - 1];
      if (step.Column == column && step.Mark) {
        cell = step.Cell;
      } else if (coded == '.') {
        cell = step.Column == column ? step.Cell : step.After;
      }
    }
    if (cell != last) cells.emplace_back(column, cell);
    last = cell;
  }
}

// A code in successive intervals or multi-events is one occurrence that
// continues: an onset ("2") in a column after one where the code is not
// off is on ("1"). cells: a code's changes in column order, from "." on.
void JoinSuccessiveUnits(std::vector<ColumnCell>& cells, std::int64_t columns,
                         std::vector<ColumnCell>& joined) {
  joined.clear();
  char before = '.', last = '.';
  const auto put = [&](std::int64_t column, char cell) {
    if (cell != last) joined.emplace_back(column, cell);
    last = cell;
  };
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const auto [column, cell] = cells[k];
    const std::int64_t next = k + 1 < cells.size() ? cells[k + 1].first : columns;
    if (cell == '2') {
      put(column, before != '.' ? '1' : '2');
      if (column + 1 < next) put(column + 1, '1');
    } else {
      put(column, cell);
    }
    before = cell;
  }
  cells.swap(joined);
}

}  // namespace

// Turns the start and end marks of context codes into the columns where
// their cells change: a context code is on from its start to its end (or
// to the end of the segment), and when a context code of a set begins, the
// context codes of the same set that were on give way to it. The sweep
// visits only the columns that hold marks, in column order.
std::vector<std::vector<ContextStep>> SegmentBuilder::ResolveContextCodes() const {
  struct Mark {
    std::int64_t Column;
    int Code;
    char Cell;
  };
  std::vector<Mark> marks;
  int mostSet = 0;
  for (int code = 1; code <= NCodes; ++code) {
    if (CodeUse[code] != ContextCode) continue;
    mostSet = std::max(mostSet, State.CodeSet[code]);
    for (const auto& [column, cell] : MarkCells[code]) {
      if (column >= 0 && column < NColumns) marks.push_back({column, code, cell});
    }
  }
  std::sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) {
    return a.Column != b.Column ? a.Column < b.Column : a.Code < b.Code;
  });
  const auto codes = static_cast<std::size_t>(NCodes) + 1;
  std::vector<std::vector<ContextStep>> steps(codes);
  std::vector<char> on(codes, 0), listed(codes, 0);
  std::vector<std::int64_t> beganIn(codes, -1);
  // Per set the context codes that came on and may not yet have gone off,
  // and the last column where one of the set began.
  std::vector<std::vector<int>> onInSet(static_cast<std::size_t>(mostSet) + 1);
  std::vector<std::int64_t> setBegan(static_cast<std::size_t>(mostSet) + 1, -1);
  for (std::size_t first = 0; first < marks.size();) {
    const std::int64_t u = marks[first].Column;
    std::size_t end = first;
    for (; end < marks.size() && marks[end].Column == u; ++end) {
      const int code = marks[end].Code;
      if (marks[end].Cell == '+') {
        on[code] = 1;
        beganIn[code] = u;
        steps[code].push_back({u, '2', '1', true});
        const int set = State.CodeSet[code];
        if (set > 0 && !listed[code]) {
          onInSet[set].push_back(code);
          listed[code] = 1;
        }
      } else {
        on[code] = 0;
        steps[code].push_back({u, '.', '.', true});
      }
    }
    if (u > 0 && State.NSets > 0) {
      for (std::size_t k = first; k < end; ++k) {
        const int set = State.CodeSet[marks[k].Code];
        if (marks[k].Cell != '+' || set <= 0 || setBegan[set] == u) continue;
        setBegan[set] = u;
        std::vector<int>& others = onInSet[set];
        std::size_t kept = 0;
        for (const int other : others) {
          if (on[other] && beganIn[other] != u) {
            on[other] = 0;
            steps[other].push_back({u, '.', '.', false});
          }
          if (on[other]) {
            others[kept++] = other;
          } else {
            listed[other] = 0;
          }
        }
        others.resize(kept);
      }
    }
    first = end;
  }
  return steps;
}

// Event cells: the code of each unit is on with its onset in that unit,
// and a code in successive units stays one column of cells.
std::vector<CellChange> SegmentBuilder::EventCellChanges() const {
  std::vector<CellChange> changes;
  changes.reserve(2 * EventCodes.size());
  int previous = 0;
  for (std::size_t unit = 0; unit < EventCodes.size(); ++unit) {
    const int code = EventCodes[unit];
    if (code == previous) continue;
    const auto at = static_cast<std::int64_t>(unit);
    // In code order within the unit, so that the changes come sorted.
    const bool offFirst = previous != 0 && (code == 0 || previous < code);
    if (offFirst) changes.push_back({at, previous - 1, '.'});
    if (code != 0) changes.push_back({at, code - 1, '2'});
    if (previous != 0 && !offFirst) changes.push_back({at, previous - 1, '.'});
    previous = code;
  }
  return changes;
}

// Interval and Multi: a code's cells from the columns it was coded in, an
// onset ("2") in each; joined, a code coded in successive columns is one
// occurrence, its onset in the first and on ("1") in the rest. Calls
// emit(column, cell) for each change, in column order.
template <class Emit>
void SegmentBuilder::UnitRow(int code, bool joined, Emit emit) const {
  const std::vector<std::int64_t>& columns = UnitColumns[code];
  for (std::size_t k = 0; k < columns.size();) {
    std::size_t last = k;
    while (last + 1 < columns.size() && columns[last + 1] == columns[last] + 1) ++last;
    emit(columns[k], '2');
    if (joined && last > k) emit(columns[k] + 1, '1');
    if (columns[last] + 1 < NColumns) emit(columns[last] + 1, '.');
    k = last + 1;
  }
}

// Timed and State: a code is on in its occupied stretches, with "2" at its
// onsets and "1" elsewhere in them. Calls emit(column, cell) for each
// change, in column order.
template <class Emit>
void SegmentBuilder::TimedRow(int code, Emit emit) {
  std::vector<std::int64_t>& onsets = Onsets[code];
  // Onsets come mostly in time order.
  if (!std::is_sorted(onsets.begin(), onsets.end())) std::sort(onsets.begin(), onsets.end());
  std::size_t next = 0;
  for (const auto& [first, last] : Occupied[code].Stretched()) {
    char cell = '.';
    const auto change = [&](std::int64_t column, char to) {
      if (to != cell) emit(column, to);
      cell = to;
    };
    while (next < onsets.size() && onsets[next] < first) ++next;
    for (std::int64_t u = first; u <= last;) {
      if (next < onsets.size() && onsets[next] == u) {
        change(u, '2');
        while (next < onsets.size() && onsets[next] == u) ++next;
        ++u;
        continue;
      }
      change(u, '1');
      u = next < onsets.size() && onsets[next] <= last ? onsets[next] : last + 1;
    }
    if (last + 1 < NColumns) change(last + 1, '.');
  }
}

// The cells of Interval, Multi, Timed and State data as the changes of each
// code, at the units where their columns begin (run counts), merged into
// unit order. A context code's cells are worked out from its resolved marks
// and what it was coded with.
std::vector<CellChange> SegmentBuilder::RowCellChanges() {
  std::vector<std::vector<ContextStep>> context;
  if (HasContextCodes) context = ResolveContextCodes();
  std::vector<std::int64_t> unitOf;
  if (NTimeUnits != NColumns) {
    unitOf.resize(static_cast<std::size_t>(NColumns));
    for (std::int64_t c = 1; c < NColumns; ++c) {
      unitOf[static_cast<std::size_t>(c)] = unitOf[static_cast<std::size_t>(c) - 1] + Runs[c - 1];
    }
  }
  std::vector<CellChange> changes;
  std::vector<std::size_t> bounds{0};
  std::vector<ColumnCell> row, cells, joined;
  std::vector<std::int64_t> at;
  // unit(column): the unit where a column begins.
  const auto codeChanges = [&](auto unit) {
    for (int code = 1; code <= NCodes; ++code) {
      if (code > 1) bounds.push_back(changes.size());
      if (context.empty() || context[code].empty()) {
        const auto emit = [&](std::int64_t column, char cell) { changes.push_back({unit(column), code - 1, cell}); };
        if (UnitLists) {
          UnitRow(code, true, emit);
        } else {
          TimedRow(code, emit);
        }
        continue;
      }
      row.clear();
      const auto keep = [&](std::int64_t column, char cell) { row.emplace_back(column, cell); };
      if (UnitLists) {
        UnitRow(code, false, keep);
      } else {
        TimedRow(code, keep);
      }
      cells.clear();
      AddContextCells(row, context[code], NColumns, at, cells);
      if (UnitLists) JoinSuccessiveUnits(cells, NColumns, joined);
      for (const auto& [column, cell] : cells) changes.push_back({unit(column), code - 1, cell});
    }
  };
  if (unitOf.empty()) {
    codeChanges([](std::int64_t column) { return column; });
  } else {
    codeChanges([&](std::int64_t column) { return unitOf[static_cast<std::size_t>(column)]; });
  }
  bounds.push_back(changes.size());
  MergeCodeRuns(changes, bounds);
  return changes;
}

// The compiled lines a compile holds, with what it holds for the segment
// being written, may not pass the memory budget: a segment whose lines
// could pass it (at most a line per change, each of the longest form) is
// measured before its lines are written, and if they would pass it, it is
// an error at its first token.
bool SegmentBuilder::WithinCompiledLinesBudget(std::vector<CellChange>& changes) {
  const bool compressed = State.Options.CompressMDS;
  const auto held = static_cast<std::int64_t>(State.MdsLines->MemoryBytes() + changes.size() * sizeof(CellChange));
  const std::int64_t longestLine = 24 + (compressed ? 2 * (std::int64_t{NCodes} + 3) / 4 : NCodes);
  const std::int64_t mostLines = static_cast<std::int64_t>(changes.size()) + 2;
  if (held + mostLines * longestLine <= SegmentMemoryBudget) return true;
  const SegmentLinesSize size = MeasureSegmentChanges(changes, NCodes, NTimeUnits, compressed);
  const std::int64_t lineBytes = size.Bytes + (size.Lines + 1) * std::int64_t{sizeof(std::uint32_t)} + 64;
  if (held + lineBytes <= SegmentMemoryBudget) return true;
  ReportCompileError(State, "Segment too large: " + CompiledLinesBudgetText(lineBytes, held) + ".", -1);
  return false;
}

void SegmentBuilder::Finish() {
  if (State.MdsLines == nullptr) return;
  LineBuffer& out = *State.MdsLines;
  const std::string number = std::to_string(State.SegmentNo);
  if (State.SegmentHasError || !State.Reporting || NCodes <= 0 || NColumns <= 0) {
    out.push_back(number + "\t0\t0\t0\t0");
    return;
  }

  std::vector<CellChange> changes = EventUnits ? EventCellChanges() : RowCellChanges();
  // What the segment was built in is no longer needed once its changes are known.
  std::vector<OccupiedColumns>().swap(Occupied);
  std::vector<std::vector<std::int64_t>>().swap(Onsets);
  std::vector<std::map<std::int64_t, char>>().swap(MarkCells);
  std::vector<int>().swap(EventCodes);
  std::vector<std::vector<std::int64_t>>().swap(UnitColumns);

  if (State.DataType == DataTypeEvent || State.DataType == DataTypeMulti) {
    if (StartGiven != StopGiven) {
      Report(46, 1);
    } else if (StartGiven) {
      if (StartTime < StopTime) {
        State.SegStart = StartTime;
        State.SegStop = StopTime;
      } else {
        Report(53, 1);
      }
    }
  }
  if (!WithinCompiledLinesBudget(changes)) {
    out.push_back(number + "\t0\t0\t0\t0");
    return;
  }
  // The segment line is written in front of its data lines once their
  // number is known; only this segment's lines move for it.
  const std::size_t lineIndex = out.size();
  out.push_back(number);
  const int lineCount = WriteSegmentChanges(out, changes, NCodes, NTimeUnits, State.Options.CompressMDS);
  out.ReplaceLine(lineIndex, number + "\t" + std::to_string(lineCount) + "\t" + std::to_string(NTimeUnits) +
                                 "\t" + std::to_string(State.SegStart) + "\t" + std::to_string(State.SegStop));
}

}  // namespace vork
