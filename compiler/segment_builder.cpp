#include "compiler/segment_builder.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"
#include "compiler/time_values.h"
#include "core/command_error.h"
#include "core/segment_budget.h"

namespace vork {

namespace {

bool IsTimedOrState(int dataType) {
  return dataType == DataTypeTimed || dataType == DataTypeState;
}

}  // namespace

SegmentBuilder::SegmentBuilder(CompileState& state) : State(state), NCodes(state.NCodes) {
  if (NCodes < 0) NCodes = 0;
  EventUnits = State.DataType == DataTypeEvent;
  UnitLists = State.DataType == DataTypeInterval || State.DataType == DataTypeMulti;
  if (UnitLists) UnitColumns.resize(static_cast<std::size_t>(NCodes) + 1);
  MarkCells.resize(static_cast<std::size_t>(NCodes) + 1);
  CodeUse.assign(static_cast<std::size_t>(NCodes) + 1, 0);
  if (IsTimedOrState(State.DataType)) {
    PrepareTimedSegment();
  } else {
    const std::int64_t columns = CheckTokenUnits();
    if (Refused) return;
    if (EventUnits) EventCodes.reserve(static_cast<std::size_t>(columns));
    // The first interval or multi-event is open from the start.
    if (UnitLists) NewTimeUnit();
  }
}

int SegmentBuilder::CodeOfToken(int i) const {
  if (i < 1 || i > State.NTokens) return 0;
  const int code = -State.TokKind[i];
  return code >= 1 && code <= NCodes ? code : 0;
}

std::int64_t SegmentBuilder::RelativeTime(int i, bool inclusive) {
  const std::int64_t units = TokenTimeUnits(State, i, inclusive);
  return units - static_cast<std::int64_t>(State.SegStart);
}

void SegmentBuilder::Report(int msgNo, int token) {
  ReportCompileMessage(State, msgNo, token >= 1 ? -static_cast<std::int64_t>(token) : 0);
}

// The most time units a segment may have: its grid and run counts, as a
// reader of the compiled file would hold them, within the segment memory
// budget, and its units within the segment line's numbers.
std::int64_t SegmentBuilder::MostUnits() const {
  return std::min(MaxTimeValue, SegmentMemoryBudget / (NCodes + RunCountBytes));
}

// A segment larger than that is an error at the token where it passes,
// reported once; nothing is allocated for it, and nothing more is built.
bool SegmentBuilder::CheckSize(std::int64_t timeUnits, std::int64_t columns, int token) {
  if (Refused) return false;
  const std::int64_t units = std::max(timeUnits, columns);
  if (units <= MostUnits()) return true;
  Refused = true;
  ReportCompileError(State, "Segment too large: " + SegmentBudgetText(NCodes, units, RunCountBytes) + ".",
                     token >= 1 ? -static_cast<std::int64_t>(token) : 0);
  State.SegmentHasError = true;
  return false;
}

// Event, Interval and Multi data: the units the tokens will make, known
// before any is made, so that a segment beyond the budget is refused at
// the token that passes it, before its units are made. Returns the columns
// they will take.
std::int64_t SegmentBuilder::CheckTokenUnits() {
  std::int64_t units = State.DataType == DataTypeEvent ? 0 : 1;
  std::int64_t columns = units;
  const std::int64_t most = MostUnits();
  for (int k = 1; k <= State.NTokens; ++k) {
    const int kind = State.TokKind[k];
    std::int64_t n = 0;
    if (State.DataType == DataTypeEvent ? kind < 0 : kind == TokenUnitEnd) {
      ++units;
      ++columns;
    } else if (kind == TokenNumber && k > 1 && State.TokKind[k - 1] == TokenStar &&
               ReadDigits(State.TokText[k], n) && n > 1) {
      units += n - 1;
      columns += 2;
    }
    if (std::max(units, columns) > most) {
      CheckSize(units, columns, k);
      return 0;
    }
  }
  return columns;
}

// Timed and State data: the first time token that reaches past the most
// units a segment may have, or the segment's first token.
int SegmentBuilder::TokenPassingTime(std::int64_t mostUnits) const {
  for (int k = 1; k <= State.NTokens; ++k) {
    if (State.TokKind[k] != TokenTime) continue;
    if (std::int64_t{TokenTimeUnits(State, k, true)} - std::int64_t{State.SegStart} > mostUnits) return k;
  }
  return 1;
}

// ---------------------------------------------------------------------------
// Units of Event, Interval and Multi data

void SegmentBuilder::AppendColumn() {
  if (!CheckSize(NTimeUnits + 1, NColumns + 1, CurrentToken)) return;
  ++NColumns;
  ++NTimeUnits;
  if (EventUnits) {
    EventCodes.push_back(0);
    return;
  }
  // A context end put ahead of its unit already stands in the new column.
  ColumnBeforeCodes.swap(LastColumnCodes);
  LastColumnCodes.clear();
  ColumnBeforeStarts.swap(LastColumnStarts);
  LastColumnStarts.clear();
  Runs.push_back(1);
}

void SegmentBuilder::NewTimeUnit() {
  if (Refused) return;
  AppendColumn();
  UnitHasContext = false;
}

void SegmentBuilder::AddEventCode(int i) {
  if (Refused) return;
  NewTimeUnit();
  const int code = CodeOfToken(i);
  if (code == 0 || Refused) return;
  EventCodes.back() = code;
  ++EntryCount;
  if (State.Options.RepeatCheck) CheckRepeatedCode(code, NColumns - 1);
}

void SegmentBuilder::CheckRepeatedCode(int code, std::int64_t column) {
  if (State.DataType != DataTypeEvent || column < 1) return;
  if (EventCodes[static_cast<std::size_t>(column - 1)] == code) Report(50, CurrentToken);
}

void SegmentBuilder::AddUnitCode(int i) {
  const int code = CodeOfToken(i);
  if (code == 0 || Refused) return;
  const bool context = i < State.NTokens && !State.TokText[i + 1].empty() &&
                       (State.TokText[i + 1][0] == '+' || State.TokText[i + 1][0] == '-');
  if (context) {
    if (CodeUse[code] == RegularCode) return Report(27, i);
    CodeUse[code] = ContextCode;
    UnitHasContext = true;
    HasContextCodes = true;
    ++EntryCount;
    return;
  }
  if (CodeUse[code] == ContextCode) return Report(27, i);
  std::vector<std::int64_t>& columns = UnitColumns[code];
  if (columns.empty() || columns.back() != NColumns - 1) {
    columns.push_back(NColumns - 1);
    LastColumnCodes.push_back(code);
  }
  // Coded over a context mark of the code (a code used both ways).
  if (!MarkCells[code].empty()) MarkCells[code].erase(NColumns - 1);
  CodeUse[code] = RegularCode;
  ++EntryCount;
  if (State.Options.ExclusivityCheck && State.NSets > 0) CheckExclusiveCode(code, NColumns - 1);
}

char SegmentBuilder::CellOf(int code, std::int64_t column) const {
  const std::map<std::int64_t, char>& marks = MarkCells[code];
  if (!marks.empty()) {
    const auto mark = marks.find(column);
    if (mark != marks.end()) return mark->second;
  }
  if (TimedRows) return Occupied[code].Contains(column) ? '1' : '.';
  if (!UnitLists) return '.';
  const std::vector<std::int64_t>& columns = UnitColumns[code];
  return std::binary_search(columns.begin(), columns.end(), column) ? '2' : '.';
}

void SegmentBuilder::SetMark(int code, std::int64_t column, char mark) {
  MarkCells[code][column] = mark;
  if (TimedRows) Occupied[code].Add(column);
  // A start in one of the last two columns is copied by a repeat.
  if (UnitLists && mark == '+') {
    if (column == NColumns - 1) LastColumnStarts.push_back(code);
    if (column == NColumns - 2) ColumnBeforeStarts.push_back(code);
  }
}

// Looks back from column before - 1 for the nearest start or end of a
// context code: an end found first means two ends without a start between;
// no start at all gives the code a start in the segment's first column.
void SegmentBuilder::FindContextStart(int code, std::int64_t before, int errorToken,
                                      int warningToken) {
  const std::map<std::int64_t, char>& marks = MarkCells[code];
  const auto it = marks.lower_bound(before);
  if (it != marks.begin()) {
    if (std::prev(it)->second == '+') return;
    return Report(111, errorToken);
  }
  if (NColumns > 0) SetMark(code, 0, '+');
  Report(29, warningToken);
}

void SegmentBuilder::MarkContextStart(int i) {
  const int code = CodeOfToken(i - 1);
  if (code == 0 || Refused) return;
  SetMark(code, NColumns - 1, '+');
}

bool SegmentBuilder::MarkContextEnd(int i) {
  const int code = CodeOfToken(i - 1);
  const bool afterUnit = i < State.NTokens && State.TokKind[i + 1] == TokenClose;
  std::int64_t end = NColumns - 1;
  if (Refused) return afterUnit;
  if (afterUnit) {
    // The code stays on through this unit: its end goes into the next one.
    if (!CheckSize(NTimeUnits + 1, NColumns + 1, i)) return afterUnit;
    end = NColumns;
  }
  if (code == 0) return afterUnit;
  if (end < 1) {
    Report(28, i - 1);
    return afterUnit;
  }
  SetMark(code, end, '-');
  FindContextStart(code, end, i - 1, i - 1);
  return afterUnit;
}

// The new column takes the cells of the one before: its codes and its
// context starts; an end there is not copied, and an end put ahead into the
// new column stays.
void SegmentBuilder::CopyPreviousColumn() {
  const std::int64_t column = NColumns - 1;
  for (int code : ColumnBeforeCodes) {
    // The code was coded in the column before; a mark there was set over
    // it, and a mark in the new column can only be an end put ahead.
    std::vector<std::int64_t>& columns = UnitColumns[code];
    const std::map<std::int64_t, char>& marks = MarkCells[code];
    if (columns.back() == column || (!marks.empty() && (marks.count(column - 1) != 0 || marks.count(column) != 0))) {
      continue;
    }
    columns.push_back(column);
    LastColumnCodes.push_back(code);
  }
  for (int code : ColumnBeforeStarts) {
    if (CellOf(code, column - 1) == '+' && CellOf(code, column) == '.') SetMark(code, column, '+');
  }
}

void SegmentBuilder::RepeatUnit(int i) {
  if (UnitHasContext) return Report(30, i);
  std::int64_t n = 0;
  if (!ReadDigits(State.TokText[i], n) || n < 2) return;
  if (!CheckSize(NTimeUnits + n - 1, NColumns + 2, i)) return;
  NewTimeUnit();
  CopyPreviousColumn();
  if (n >= 3) {
    NewTimeUnit();
    CopyPreviousColumn();
    Runs[NColumns - 2] = static_cast<std::int32_t>(n - 2);
    NTimeUnits += n - 3;
  }
}

// ---------------------------------------------------------------------------
// Timed and State data

void SegmentBuilder::PrepareTimedSegment() {
  const std::int64_t length =
      State.SegStop > State.SegStart
          ? static_cast<std::int64_t>(State.SegStop) - static_cast<std::int64_t>(State.SegStart)
          : 0;
  TimedRows = true;
  Occupied.reserve(static_cast<std::size_t>(NCodes) + 1);
  for (int code = 0; code <= NCodes; ++code) Occupied.emplace_back(&Pool);
  Onsets.resize(static_cast<std::size_t>(NCodes) + 1);
  if (length > MostUnits()) {
    CheckSize(length, length, TokenPassingTime(MostUnits()));
    return;
  }
  NColumns = NTimeUnits = length;
}

void SegmentBuilder::MarkOnset(int code, std::int64_t column) {
  if (column < 0 || column >= NColumns) return;
  if (CellOf(code, column) != '.') Overlap = true;
  Onsets[code].push_back(column);
  if (!MarkCells[code].empty()) MarkCells[code].erase(column);
  Occupied[code].Add(column);
  if (State.Options.RepeatCheck) CheckRepeatedCode(code, column);
  if (State.Options.ExclusivityCheck && State.NSets > 0) CheckExclusiveCode(code, column);
}

void SegmentBuilder::FillOn(int code, std::int64_t from, std::int64_t to) {
  from = std::max<std::int64_t>(from, 0);
  to = std::min(to, NColumns - 1);
  if (Occupied[code].FillFree(from, to, [](std::int64_t, std::int64_t) {})) Overlap = true;
}

void SegmentBuilder::FillPreviousCodes(std::int64_t column) {
  if (column == PrevOnset) Report(44, CodeToken);
  if (column - PrevOnset >= 2) {
    Overlap = false;
    for (int code : PrevCombo) FillOn(code, PrevOnset + 1, column - 1);
    if (Overlap) Report(32, CodeToken);
  }
  FillPending = false;
}

void SegmentBuilder::CheckExclusiveCode(int code, std::int64_t column) {
  const int set = State.CodeSet[code];
  if (set <= 0) return;
  for (int other = 1; other <= NCodes; ++other) {
    if (other != code && State.CodeSet[other] == set && CellOf(other, column) != '.') {
      return Report(51, CurrentToken);
    }
  }
}

void SegmentBuilder::SetComboCode(int i) {
  if (static_cast<int>(Combo.size()) <= ComboCount) Combo.resize(ComboCount + 1, 0);
  Combo[ComboCount] = CodeOfToken(i);
  CodeToken = i;
}

void SegmentBuilder::StateComma(int i) {
  if (!State.NoDurations) Report(38, i);
  DurationMode = false;
}

// Does the work of an entry for each of its codes that this segment does
// not already use the other way (a code is either regular or context);
// each becomes one of the codes of the stream's last entry.
template <class Work>
void SegmentBuilder::ForEachComboCode(int use, Work work) {
  for (int k = 1; k <= ComboEntries(); ++k) {
    const int code = Combo[k];
    if (code == 0) continue;
    if (CodeUse[code] != 0 && CodeUse[code] != use) {
      Report(27, CodeToken);
      continue;
    }
    CodeUse[code] = use;
    if (use == ContextCode) HasContextCodes = true;
    work(code);
    PrevCombo.push_back(code);
  }
}

// An entry may not begin before the previous one of its stream.
bool SegmentBuilder::AcceptsOrder(std::int64_t onset, int errorMsg, int errorToken) {
  if (PrevOnset > onset) {
    Report(errorMsg, errorToken);
    return false;
  }
  if (FillPending) FillPreviousCodes(onset);
  PrevCombo.clear();
  return true;
}

void SegmentBuilder::EndEntry() {
  ComboCount = 1;
  ++EntryCount;
}

void SegmentBuilder::AddStateTime(int i) {
  if (Refused) return;
  Overlap = false;
  if (State.NoDurations) {
    const std::int64_t t = RelativeTime(i, false);
    if (AcceptsOrder(t, 31, CodeToken)) {
      Overlap = false;  // an overlap of the entry before was reported on its own
      for (int k = 1; k <= ComboEntries(); ++k) {
        if (Combo[k] == 0) continue;
        MarkOnset(Combo[k], t);
        PrevCombo.push_back(Combo[k]);
      }
      PrevOnset = t;
      FillPending = true;
    }
  } else if (DurationMode) {
    const std::int64_t duration = TokenTimeUnits(State, i, false);
    const std::int64_t onset = PrevOnset + 1;
    for (int k = 1; k <= ComboEntries(); ++k) {
      if (Combo[k] == 0) continue;
      MarkOnset(Combo[k], onset);
      if (duration > 0) FillOn(Combo[k], onset + 1, PrevOnset + duration);
    }
    PrevOnset += duration;
  } else {
    DurationMode = true;  // the time after an error 38 is dropped
  }
  ComboCount = 1;
  if (Overlap) Report(32, CodeToken);
  ++EntryCount;
}

void SegmentBuilder::TimedOnsetTime(int i) {
  if (Refused) return;
  if (i < State.NTokens && std::string_view(State.TokText[i + 1]) == std::string_view("-")) {
    PendingOnset = RelativeTime(i, false);
    PendingOnsetToken = i;
    return;
  }
  AddOnsetEntry(RelativeTime(i, false), Momentary);
}

void SegmentBuilder::TimedOnsetDash(int i) {
  if (Refused) return;
  if (i < State.NTokens && State.TokKind[i + 1] == TokenTime) return;
  AddOnsetEntry(PendingOnset, Open);
}

void SegmentBuilder::AddTimedOffset(int i) {
  if (Refused) return;
  const std::int64_t off = RelativeTime(i, true);
  const std::int64_t on = PendingOnset;
  if (on < PrevOnset) {
    Report(31, CodeToken);
    return EndEntry();
  }
  if (on > off) {
    Report(33, i);
    return EndEntry();
  }
  AddOnsetEntry(on, Offset, off);
}

// A regular timed entry: momentary (no offset), open (on up to the next
// onset of its stream) or with an exclusive offset.
void SegmentBuilder::AddOnsetEntry(std::int64_t onset, EntryEnd end, std::int64_t offset) {
  if (AcceptsOrder(onset, 31, CodeToken)) {
    if (end == Offset && offset == onset) Report(34, PendingOnsetToken);
    ForEachComboCode(RegularCode, [&](int code) {
      Overlap = false;
      MarkOnset(code, onset);
      if (end == Offset && offset - onset > 1) FillOn(code, onset + 1, offset - 1);
      if (Overlap) Report(32, CodeToken);
    });
    PrevOnset = onset;
    if (end == Open) FillPending = true;
  }
  EndEntry();
}

void SegmentBuilder::AddContextOnset(int i) {
  if (Refused) return;
  const std::int64_t t = RelativeTime(i, false);
  if (AcceptsOrder(t, 31, CodeToken)) {
    ForEachComboCode(ContextCode, [&](int code) {
      if (t < 0 || t >= NColumns) return;
      const char cell = CellOf(code, t);
      if (cell == '1' || cell == '2') Report(35, i);
      SetMark(code, t, '+');
    });
    PrevOnset = t;
  }
  EndEntry();
}

void SegmentBuilder::AddContextOffset(int i) {
  if (Refused) return;
  const std::int64_t t = RelativeTime(i, false);
  if (t < 1) {
    Report(28, i);
    return EndEntry();
  }
  if (AcceptsOrder(t, 36, i)) {
    ForEachComboCode(ContextCode, [&](int code) {
      if (t < NColumns && CellOf(code, t) != '.') return Report(37, i);
      if (t < NColumns) SetMark(code, t, '-');
      FindContextStart(code, std::min(t, NColumns), i - 1, i);
    });
    PrevOnset = t;
  }
  EndEntry();
}

void SegmentBuilder::EndStream() {
  if (Refused) return;
  if (EntryCount == 0) {
    Report(39, 1);
  } else if (FillPending) {
    FillPreviousCodes(NTimeUnits);
  }
  PrevOnset = -1;
  EntryCount = 0;
  FillPending = false;
}

void SegmentBuilder::EndTokens() {
  if (Refused) return;
  if (EntryCount == 0) {
    Report(39, 1);
  } else if (IsTimedOrState(State.DataType) && FillPending) {
    FillPreviousCodes(NTimeUnits);
  }
}

void SegmentBuilder::SetStartTime(int i) {
  StartTime = TokenTimeUnits(State, i, false);
  StartGiven = true;
}

void SegmentBuilder::SetStopTime(int i) {
  StopTime = TokenTimeUnits(State, i, true);
  StopGiven = true;
}

}  // namespace vork
