#pragma once

#include <algorithm>
#include <map>
#include <memory_resource>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "compiler/occupied_columns.h"
#include "core/dyn_arrays.h"
#include "core/segment_writer.h"

namespace vork {

struct CompileState;

// The bytes the compiler keeps per time unit beside the unit's cells: its
// run count.
constexpr std::int64_t RunCountBytes = sizeof(std::int32_t);

// One segment's code-by-time-unit matrix while its tokens are parsed: the
// routines that turn codes and times into cells and make the checks of the
// data part, and the finishing that writes the segment's lines. Token
// numbers are those of the compile state's token arrays (1-based).
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
  char& Cell(int code, std::int64_t column) { return Matrix[code - 1][column]; }
  // A cell of either form of the segment. Without a grid an onset reads as
  // "1": only whether a cell is off, or which mark it holds, is asked.
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
  std::vector<CellChange> UnitListCellChanges() const;
  bool UsesContextCodes() const;

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

  std::vector<CellChange> CellChanges() const;
  std::vector<CellChange> GridlessCellChanges();
  void MakeGrid();
  void ResolveContextCodes();
  void JoinSuccessiveUnits();

  CompileState& State;
  int NCodes = 0;
  // The segment passed the memory budget and was reported: nothing more is
  // built for it.
  bool Refused = false;
  // Event data are held as the code of each unit (0 none), not as a grid.
  bool EventUnits = false;
  std::vector<int> EventCodes;
  // Interval and Multi data without context codes are held without a grid:
  // per code the columns it was coded in, in column order, and the codes
  // of the last column and the one before it.
  bool UnitLists = false;
  std::vector<std::vector<std::int64_t>> UnitColumns;
  std::vector<int> LastColumnCodes;
  std::vector<int> ColumnBeforeCodes;

  // The memory of the Timed and State stretches, given back with the segment.
  std::pmr::monotonic_buffer_resource Pool;
  dynChar2 Matrix;
  dynInteger Runs;
  std::int64_t NColumns = 0;
  std::int64_t NTimeUnits = 0;
  std::vector<OccupiedColumns> Occupied;       // Timed and State rows
  std::vector<std::set<std::int64_t>> Marks;   // context marks per code

  // Timed and State data are held without a grid: per code the columns that
  // are on (Occupied), its onsets, and the marks of context codes. Work and
  // memory then follow the entries, not the time units.
  bool Gridless = false;
  std::vector<std::vector<std::int64_t>> Onsets;
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
