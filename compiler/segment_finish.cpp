#include <algorithm>
#include <cstring>
#include <string>
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

// Changes made code by code, each code's in unit order, sorted by unit and
// code by merging the codes' runs of changes pairwise: the work follows the
// changes times the logarithm of the codes. bounds: where each code's run
// begins, and the end.
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

}  // namespace


// Turns the start and end marks of context codes into cells: a context code
// is on from its start to its end (or to the end of the segment), and when
// a context code of a set begins, the context codes of the same set that
// were on give way to it.
void SegmentBuilder::ResolveContextCodes() {
  std::vector<int> contextCodes;
  for (int code = 1; code <= NCodes; ++code) {
    if (CodeUse[code] == ContextCode) contextCodes.push_back(code);
  }
  std::vector<char> on(static_cast<std::size_t>(NCodes) + 1, 0);
  std::vector<char> began(static_cast<std::size_t>(NCodes) + 1, 0);
  std::vector<int> beganSets;
  for (std::int64_t u = 0; u < NColumns; ++u) {
    beganSets.clear();
    for (int code : contextCodes) {
      char& cell = Cell(code, u);
      began[code] = 0;
      if (cell == '+') {
        cell = '2';
        on[code] = 1;
        began[code] = 1;
        if (State.CodeSet[code] > 0) beganSets.push_back(State.CodeSet[code]);
      } else if (cell == '-') {
        cell = '.';
        on[code] = 0;
      }
    }
    if (u > 0 && State.NSets > 0 && !beganSets.empty()) {
      for (int code : contextCodes) {
        if (!on[code] || began[code]) continue;
        for (int set : beganSets) {
          if (set == State.CodeSet[code]) {
            on[code] = 0;
            break;
          }
        }
      }
    }
    for (int code : contextCodes) {
      char& cell = Cell(code, u);
      if (on[code] && cell == '.') cell = '1';
    }
  }
}

// A code in successive intervals or multi-events is one occurrence that
// continues, not a new onset in each.
void SegmentBuilder::JoinSuccessiveUnits() {
  for (std::string& row : Matrix) {
    for (std::int64_t u = NColumns - 1; u >= 1; --u) {
      if (row[u] == '2' && row[u - 1] != '.') row[u] = '1';
    }
  }
}

// The grid's cells as the changes along each row, at the units where its
// columns begin. Rows are read a word of cells at a time where nothing
// changes, which is nearly everywhere.
std::vector<CellChange> SegmentBuilder::CellChanges() const {
  std::vector<std::int64_t> unitOf;
  const bool unitPerColumn = std::all_of(Runs.begin(), Runs.begin() + NColumns, [](int run) { return run == 1; });
  if (!unitPerColumn) {
    unitOf.resize(static_cast<std::size_t>(NColumns));
    std::int64_t unit = 0;
    for (std::int64_t c = 0; c < NColumns; ++c) {
      unitOf[static_cast<std::size_t>(c)] = unit;
      unit += Runs[c];
    }
  }
  std::vector<CellChange> changes;
  std::vector<std::size_t> bounds{0};
  for (int code = 0; code < NCodes; ++code) {
    if (code > 0) bounds.push_back(changes.size());
    const char* row = Matrix[code].data();
    char previous = '.';
    for (std::int64_t c = 0; c < NColumns; ++c) {
      if (c >= 1 && c + 8 <= NColumns && std::memcmp(row + c, row + c - 1, 8) == 0) {
        c += 7;
        continue;
      }
      if (row[c] == previous) continue;
      previous = row[c];
      changes.push_back({unitPerColumn ? c : unitOf[static_cast<std::size_t>(c)], code, previous});
    }
  }
  bounds.push_back(changes.size());
  MergeCodeRuns(changes, bounds);
  return changes;
}

// Timed and State cells without a grid: a code is on in its occupied
// stretches, with "2" at its onsets and "1" elsewhere in them.
std::vector<CellChange> SegmentBuilder::GridlessCellChanges() {
  std::vector<CellChange> changes;
  std::vector<std::size_t> bounds{0};
  for (int code = 1; code <= NCodes; ++code) {
    if (code > 1) bounds.push_back(changes.size());
    std::vector<std::int64_t>& onsets = Onsets[code];
    std::sort(onsets.begin(), onsets.end());
    std::size_t next = 0;
    for (const auto& [first, last] : Occupied[code].Stretched()) {
      char cell = '.';
      const auto change = [&](std::int64_t unit, char to) {
        if (to != cell) changes.push_back({unit, code - 1, to});
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
  bounds.push_back(changes.size());
  MergeCodeRuns(changes, bounds);
  return changes;
}

// The grid of a Timed or State segment, for the resolving of its context
// codes: onsets and marks written in the order they were made.
void SegmentBuilder::MakeGrid() {
  Gridless = false;
  Runs.assign(static_cast<std::size_t>(NColumns), 1);
  for (int code = 1; code <= NCodes; ++code) {
    std::string& row = Matrix[code - 1];
    row.assign(static_cast<std::size_t>(NColumns), '.');
    for (const auto& [first, last] : Occupied[code].Stretched()) {
      std::fill(row.begin() + first, row.begin() + last + 1, '1');
    }
    for (std::int64_t onset : Onsets[code]) row[onset] = '2';
    for (const auto& [column, mark] : MarkCells[code]) row[column] = mark;
  }
}

// Event cells without a grid: the code of each unit is on with its onset
// in that unit, and a code in successive units stays one column of cells.
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

// Interval and Multi cells without a grid: a code coded in successive
// columns is one occurrence, its onset ("2") in the first and on ("1") in
// the rest, off after the last; columns begin at the units their run
// counts give.
std::vector<CellChange> SegmentBuilder::UnitListCellChanges() const {
  std::vector<std::int64_t> unitOf;
  if (NTimeUnits != NColumns) {
    unitOf.resize(static_cast<std::size_t>(NColumns));
    for (std::int64_t c = 1; c < NColumns; ++c) {
      unitOf[static_cast<std::size_t>(c)] = unitOf[static_cast<std::size_t>(c) - 1] + Runs[c - 1];
    }
  }
  const auto unit = [&](std::int64_t column) {
    return unitOf.empty() ? column : unitOf[static_cast<std::size_t>(column)];
  };
  std::vector<CellChange> changes;
  std::vector<std::size_t> bounds{0};
  for (int code = 1; code <= NCodes; ++code) {
    if (code > 1) bounds.push_back(changes.size());
    const std::vector<std::int64_t>& columns = UnitColumns[code];
    for (std::size_t k = 0; k < columns.size();) {
      std::size_t last = k;
      while (last + 1 < columns.size() && columns[last + 1] == columns[last] + 1) ++last;
      changes.push_back({unit(columns[k]), code - 1, '2'});
      if (last > k) changes.push_back({unit(columns[k] + 1), code - 1, '1'});
      if (columns[last] + 1 < NColumns) changes.push_back({unit(columns[last] + 1), code - 1, '.'});
      k = last + 1;
    }
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

  // Context codes are resolved on a grid, which only their segments need.
  if (Gridless && HasContextCodes) MakeGrid();
  std::vector<CellChange> changes;
  if (EventUnits) {
    changes = EventCellChanges();
  } else if (UnitLists) {
    changes = UnitListCellChanges();
  } else if (Gridless) {
    changes = GridlessCellChanges();
  } else {
    // Drop a context end put ahead past the last unit.
    for (std::string& row : Matrix) row.resize(static_cast<std::size_t>(NColumns), '.');
    if (HasContextCodes) ResolveContextCodes();
    if (State.DataType == DataTypeInterval || State.DataType == DataTypeMulti) JoinSuccessiveUnits();
    changes = CellChanges();
  }
  // What the segment was built in is no longer needed once its changes are known.
  dynChar2().swap(Matrix);
  std::vector<OccupiedColumns>().swap(Occupied);
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
