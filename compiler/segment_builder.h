#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory_resource>
#include <utility>
#include <vector>

#include "compiler/occupied_columns.h"
#include "core/dyn_arrays.h"
#include "core/segment_writer.h"

namespace vork {

struct CompileState;

// A change of one code's cells from a column on.
using ColumnCell = std::pair<std::int64_t, char>;

// Where a context code's cells change once its marks are resolved: from
// Column on it is After, but Column itself holds Cell ("2" at a start, "."
// at an end or where it gives way to a code of its set). A start or an end
// (Mark) holds its cell over what the code was coded with there.
struct ContextStep {
  std::int64_t Column;
  char Cell;
  char After;
  bool Mark;
};

// The bytes a reader of a compiled segment keeps per time unit beside the
// unit's cells: its run count.
constexpr std::int64_t RunCountBytes = sizeof(std::int32_t);

// One segment's codes and times while its tokens are parsed: the routines
// that turn them into cells and make the checks of the data part, and the
// finishing that writes the segment's lines. No code-by-time-unit grid is
// made: each data type holds only what its entries and marks set (see the
// members), so work and memory follow the entries, not codes times units.
// Token numbers are those of the compile state's token arrays (1-based).
class SegmentBuilder {
 public:
  explicit SegmentBuilder(CompileState& state);

  // The token being handled, where messages about the token itself go.
  void SetToken(int i) { CurrentToken = i; }

  // Event data: one new time unit holding the code of token i as an onset.
  void AddEventCode(int i);

  // Interval and Multi data.
  void NewTimeUnit();
  void AddUnitCode(int i);
  void MarkContextStart(int i);
  // Returns true when it used up the ")" token after token i.
  bool MarkContextEnd(int i);
  void RepeatUnit(int i);

  // Timed and State data.
  void SetComboCode(int i);
  void AddComboCode() { ++ComboCount; }
  void StateComma(int i);
  void AddStateTime(int i);
  void TimedOnsetTime(int i);
  void TimedOnsetDash(int i);
  void AddTimedOffset(int i);
  void AddContextOnset(int i);
  void AddContextOffset(int i);

  // "&": the end of a stream.
  void EndStream();
  // ";" or "/": the end of the segment's tokens.
  void EndTokens();

  // The explicit start and stop times of Event and Multi data.
  void SetStartTime(int i);
  void SetStopTime(int i);

  // Writes the segment line and, for a segment without errors, its data
  // lines to the compiled lines.
  void Finish();

 private:
  // A cell as it stands while the tokens are parsed: a context mark ("+"
  // begins, "-" ends), "2" for a code coded in an interval or multi-event,
  // "1" for a Timed or State cell that is on (an onset reads as "1" too:
  // only whether a cell is off, or which mark it holds, is asked), or ".".
  char CellOf(int code, std::int64_t column) const;
  int CodeOfToken(int i) const;
  int ComboEntries() const { return std::min(ComboCount, static_cast<int>(Combo.size()) - 1); }
  std::int64_t RelativeTime(int i, bool inclusive);
  void Report(int msgNo, int token);
  std::int64_t MostUnits() const;
  bool CheckSize(std::int64_t timeUnits, std::int64_t columns, int token);
  std::int64_t CheckTokenUnits();
  int TokenPassingTime(std::int64_t mostUnits) const;
  bool WithinCompiledLinesBudget(std::vector<CellChange>& changes);
  std::vector<CellChange> EventCellChanges() const;

  void PrepareTimedSegment();
  void AppendColumn();
  void CopyPreviousColumn();

  void SetMark(int code, std::int64_t column, char mark);
  void FindContextStart(int code, std::int64_t before, int errorToken, int warningToken);

  void MarkOnset(int code, std::int64_t column);
  void FillOn(int code, std::int64_t from, std::int64_t to);
  void FillPreviousCodes(std::int64_t column);
  void CheckRepeatedCode(int code, std::int64_t column);
  void CheckExclusiveCode(int code, std::int64_t column);
  bool AcceptsOrder(std::int64_t onset, int errorMsg, int errorToken);
  void EndEntry();
  enum EntryEnd { Momentary, Open, Offset };
  enum CodeUseKind { RegularCode = 1, ContextCode = 2 };
  template <class Work>
  void ForEachComboCode(int use, Work work);
  void AddOnsetEntry(std::int64_t onset, EntryEnd end, std::int64_t offset = 0);

  std::vector<std::vector<ContextStep>> ResolveContextCodes() const;
  template <class Emit>
  void UnitRow(int code, bool joined, Emit emit) const;
  template <class Emit>
  void TimedRow(int code, Emit emit);
  std::vector<CellChange> RowCellChanges();

  CompileState& State;
  int NCodes = 0;
  // The segment passed the memory budget and was reported: nothing more is
  // built for it.
  bool Refused = false;
  // Event data are held as the code of each unit (0 none).
  bool EventUnits = false;
  std::vector<int> EventCodes;
  // Interval and Multi data are held as the columns each code was coded in,
  // in column order, and the codes of the last column and the one before
  // it; the codes given a context start in those two columns likewise.
  bool UnitLists = false;
  std::vector<std::vector<std::int64_t>> UnitColumns;
  std::vector<int> LastColumnCodes;
  std::vector<int> ColumnBeforeCodes;
  std::vector<int> LastColumnStarts;
  std::vector<int> ColumnBeforeStarts;

  // The memory of the Timed and State stretches, given back with the segment.
  std::pmr::monotonic_buffer_resource Pool;
  dynInteger Runs;  // Interval and Multi: the time units of each column
  std::int64_t NColumns = 0;
  std::int64_t NTimeUnits = 0;

  // Timed and State data are held as, per code, the columns that are on
  // (Occupied, context marks included) and its onsets.
  bool TimedRows = false;
  std::vector<OccupiedColumns> Occupied;
  std::vector<std::vector<std::int64_t>> Onsets;
  // Interval, Multi, Timed and State data: per code the context marks ("+",
  // "-") that stand in its cells; a cell coded over a mark loses the mark.
  // An end put ahead of its interval may stand one column past the last.
  std::vector<std::map<std::int64_t, char>> MarkCells;

  std::vector<int> Combo{0, 0};  // [1..ComboCount]
  int ComboCount = 1;
  std::vector<int> PrevCombo;
  std::int64_t PrevOnset = -1;
  bool FillPending = false;
  std::vector<int> CodeUse;  // [code]: 0 unused, RegularCode or ContextCode
  bool UnitHasContext = false;
  bool HasContextCodes = false;
  bool Overlap = false;
  int EntryCount = 0;
  bool DurationMode = true;
  std::int64_t PendingOnset = 0;
  int PendingOnsetToken = 0;
  int CodeToken = 0;
  int CurrentToken = 0;

  std::uint32_t StartTime = 0;
  std::uint32_t StopTime = 0;
  bool StartGiven = false;
  bool StopGiven = false;
};

}  // namespace vork
