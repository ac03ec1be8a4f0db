#include "modify/modify_engine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <set>
#include <type_traits>

#include "core/code_lists.h"
#include "core/command_error.h"
#include "core/data_type_flags.h"
#include "core/mds_reader.h"
#include "core/segment_budget.h"
#include "core/segment_runs.h"
#include "core/segment_writer.h"
#include "core/session_reader.h"
#include "modify/column_rules.h"

namespace vork {

namespace {

const char* const StampMarker = "MDS file modified by VORK Version 5.1 ";

bool MakesNewCode(int command) {
  return command != CommandRemove && command != CommandRename && command != CommandEvent &&
         command != CommandRecodeAll;
}

bool DropsPickedCodes(int command) {
  return command == CommandRecode || command == CommandLump || command == CommandRemove;
}

template <class Values>
std::string JoinTabbed(const Values& values, int first, int last) {
  std::string line;
  for (int i = first; i <= last; ++i) {
    if (i > first) line += '\t';
    if constexpr (std::is_same_v<typename Values::value_type, std::string>)
      line += values[i];
    else
      line += std::to_string(values[i]);
  }
  return line;
}

std::string StampLine(const MdsHeader& header, const std::string& dateTime) {
  return (header.Compressed ? "" : "\t") + std::string(StampMarker) + dateTime;
}

// The old file's line after its code names, dual names and set numbers: the
// header lines from there to the units line are copied unchanged.
int FirstCopiedHeaderLine(const MdsHeader& old) {
  return 3 + (old.NCodes > 0) + (old.NDual > 0) + (old.NSets > 0);
}

// Header lines 0 to the code-set numbers from the header values, then the
// tail (set names, factors, units line).
dynString HeaderLines(const MdsHeader& h, const std::string& stamp, const std::string& line1,
                      const dynString& tail) {
  dynString lines = {stamp, line1,
                     std::to_string(h.NCodes) + '\t' + std::to_string(h.NDual) + '\t' + std::to_string(h.NSets) +
                         '\t' + std::to_string(h.NFactors) + '\t' + std::to_string(h.NSessions) + '\t' +
                         std::to_string(h.MaxSessionsPerCell)};
  if (h.NCodes > 0) lines.push_back(JoinTabbed(h.CodeNames, 1, h.NCodes));
  if (h.NDual > 0) lines.push_back(JoinTabbed(h.DualNames, 1, h.NCodes));
  if (h.NSets > 0) lines.push_back(JoinTabbed(h.CodeSet, 1, h.NCodes));
  lines.insert(lines.end(), tail.begin(), tail.end());
  return lines;
}

dynString HeaderTail(const ModifyFile& file) {
  const int first = FirstCopiedHeaderLine(file.Header);
  if (file.HeaderEnd < first || file.HeaderEnd >= static_cast<int>(file.Lines.size()))
    throw CommandError("The compiled file's header is incomplete.");
  dynString tail;
  for (int i = first; i <= file.HeaderEnd; ++i) tail.emplace_back(file.Lines[static_cast<std::size_t>(i)]);
  return tail;
}

// Every code-indexed array made to hold codes 1..n.
void SizeCodeArrays(MdsHeader& h, int n) {
  h.CodeNames.resize(static_cast<std::size_t>(n) + 1);
  if (h.NDual > 0) h.DualNames.resize(static_cast<std::size_t>(n) + 1);
  if (h.NSets > 0) h.CodeSet.resize(static_cast<std::size_t>(n) + 1);
}

// The header of event data made of the codes worked on, in picked order:
// dual names go, the code sets follow their codes, and the units line names
// events.
void MakeEventHeader(ModifiedHeader& modified, const std::vector<int>& picked, bool multi,
                     const std::string& stamp, const ModifyFile& file) {
  const MdsHeader& old = file.Header;
  MdsHeader& h = modified.Header;
  h.DataType = multi ? Multi : Event;
  h.IntervalDuration = 0;
  h.IntervalUnitMark = 0;
  h.NDual = 0;
  h.DualNames.clear();
  h.NCodes = static_cast<int>(picked.size());
  SizeCodeArrays(h, h.NCodes);
  for (int i = 1; i <= h.NCodes; ++i) {
    h.CodeNames[i] = old.CodeNames[picked[i - 1]];
    if (h.NSets > 0) h.CodeSet[i] = old.CodeSet[picked[i - 1]];
  }
  h.TimeUnitLabel = "events";
  dynString tail = HeaderTail(file);
  tail.back() = std::to_string(h.TimeFormat) + '\t' + std::to_string(h.TimeUnitIndex) + "\tevents\tevents";
  modified.Lines = HeaderLines(h, stamp, std::to_string(h.DataType) + "\t0\t0", tail);
}

std::string SegmentLine(int nSegments, int nDataLines, std::int64_t nTimeUnits, std::uint32_t start,
                        std::uint32_t stop) {
  return std::to_string(nSegments) + '\t' + std::to_string(nDataLines) + '\t' + std::to_string(nTimeUnits) + '\t' +
         std::to_string(start) + '\t' + std::to_string(stop);
}

void SetBit(std::uint64_t* words, int code) { words[(code - 1) / 64] |= std::uint64_t{1} << ((code - 1) % 64); }
void ClearBit(std::uint64_t* words, int code) { words[(code - 1) / 64] &= ~(std::uint64_t{1} << ((code - 1) % 64)); }

// How the old codes' bits become the new file's: Map[c] is the new number
// of old code c, 0 for a code that goes; an empty map keeps every code.
class CodeMapper {
 public:
  CodeMapper(const dynInteger& map, int oldN, std::size_t outWords)
      : Map(map), OldN(oldN), InWords((static_cast<std::size_t>(oldN) + 63) / 64), OutWords(outWords) {}

  void Apply(const std::uint64_t* in, std::uint64_t* out) const {
    if (Map.empty() && InWords == 1 && OutWords == 1) {
      *out = *in;
      return;
    }
    std::fill(out, out + OutWords, 0);
    if (Map.empty()) {
      std::copy(in, in + std::min(InWords, OutWords), out);
      return;
    }
    for (std::size_t w = 0; w < InWords; ++w) {
      for (std::uint64_t bits = in[w]; bits != 0; bits &= bits - 1) {
        const int code = static_cast<int>(64 * w) + std::countr_zero(bits) + 1;
        const int to = code <= OldN && code < static_cast<int>(Map.size()) ? Map[code] : 0;
        if (to > 0) SetBit(out, to);
      }
    }
  }

 private:
  const dynInteger& Map;
  const int OldN;
  const std::size_t InWords;
  const std::size_t OutWords;
};

// A unit at which a code's cell is cleared.
struct CellClear {
  std::int64_t Unit;
  int Code;
};

// What a rule leaves of a segment besides its old columns: the new code's
// row (NewCode 0: none), dropped units and cleared cells, each in unit
// order.
struct SegmentEdits {
  int NewCode = 0;
  RowChanges Row;
  std::vector<UnitStretch> Drops;
  std::vector<CellClear> Clears;

  void clear() {
    Row.clear();
    Drops.clear();
    Clears.clear();
  }
};

// Writes the new segment: its old columns mapped, with the edits, cut where
// any of them changes. Returns the units not dropped.
std::int64_t WriteEditedColumns(const SegmentColumns& in, const CodeMapper& mapper, const SegmentEdits& edits,
                                ColumnLineWriter& out, std::vector<std::uint64_t>& scratch) {
  const std::size_t words = out.Words();
  scratch.assign(2 * words, 0);
  std::uint64_t* on = scratch.data();
  std::uint64_t* onsets = on + words;
  const std::vector<RowChange>& row = edits.Row.Items();
  const std::int64_t u = in.NTimeUnits;
  std::size_t k = 0, r = 0, d = 0, c = 0;
  char newCell = '.';
  std::int64_t kept = 0;
  for (std::int64_t pos = 0; pos < u;) {
    while (k + 1 < in.size() && in.Starts[k + 1] <= pos) ++k;
    for (; r < row.size() && row[r].Unit <= pos; ++r) newCell = row[r].Cell;
    while (d < edits.Drops.size() && edits.Drops[d].End <= pos) ++d;
    while (c < edits.Clears.size() && edits.Clears[c].Unit < pos) ++c;
    const bool dropped = d < edits.Drops.size() && edits.Drops[d].Start <= pos;
    const bool cleared = c < edits.Clears.size() && edits.Clears[c].Unit == pos;
    std::int64_t next = in.size() == 0 ? u : in.End(k);
    if (r < row.size()) next = std::min(next, row[r].Unit);
    if (d < edits.Drops.size()) next = std::min(next, dropped ? edits.Drops[d].End : edits.Drops[d].Start);
    if (c < edits.Clears.size()) next = std::min(next, cleared ? pos + 1 : edits.Clears[c].Unit);
    next = std::min(next, u);
    if (in.size() == 0) {
      std::fill(on, on + 2 * words, 0);
    } else {
      mapper.Apply(in.On(k), on);
      mapper.Apply(in.Onsets(k), onsets);
    }
    if (cleared) {
      ClearBit(on, edits.Clears[c].Code);
      ClearBit(onsets, edits.Clears[c].Code);
    }
    if (edits.NewCode > 0 && newCell != '.') {
      SetBit(on, edits.NewCode);
      if (newCell == '2') SetBit(onsets, edits.NewCode);
    }
    out.Add(next - pos, on, onsets, dropped);
    if (!dropped) kept += next - pos;
    pos = next;
  }
  return kept;
}

// Recode without a new code: an onset right after the same code was on
// becomes a continuation, so in a stretch only its first unit keeps
// onsets, those of codes off the unit before.
void WriteJoinedEvents(const SegmentColumns& in, ColumnLineWriter& out, std::vector<std::uint64_t>& scratch) {
  const std::size_t words = in.Words;
  scratch.assign(2 * words, 0);
  std::uint64_t* onsets = scratch.data();
  const std::uint64_t* none = onsets + words;
  for (std::size_t k = 0; k < in.size(); ++k) {
    for (std::size_t w = 0; w < words; ++w) onsets[w] = in.Onsets(k)[w] & (k > 0 ? ~in.On(k - 1)[w] : ~0ULL);
    out.Add(1, in.On(k), onsets);
    out.Add(in.End(k) - in.Starts[k] - 1, in.On(k), none);
  }
}

// Event: the picked codes' onsets alone, each unit with one a line of its
// own. True when some unit holds more than one.
bool WriteOnsetsOnly(const SegmentColumns& in, const std::vector<int>& picked, ColumnLineWriter& out,
                     std::vector<std::uint64_t>& scratch) {
  bool multi = false;
  for (std::size_t k = 0; k < in.size(); ++k) {
    scratch.assign(out.Words(), 0);
    int onsets = 0;
    for (std::size_t i = 0; i < picked.size(); ++i) {
      if (!CodeOnset(in, k, picked[i])) continue;
      SetBit(scratch.data(), static_cast<int>(i) + 1);
      ++onsets;
    }
    if (onsets > 1) multi = true;
    out.Add(in.End(k) - in.Starts[k], scratch.data(), scratch.data(), onsets == 0);
  }
  return multi;
}

// Remove on event data: the remaining codes, each unit where one of them is
// on a line of its own.
void WriteRemainingEvents(const SegmentColumns& in, const CodeMapper& mapper, ColumnLineWriter& out,
                          std::vector<std::uint64_t>& scratch) {
  const std::size_t words = out.Words();
  scratch.assign(2 * words, 0);
  for (std::size_t k = 0; k < in.size(); ++k) {
    mapper.Apply(in.On(k), scratch.data());
    mapper.Apply(in.Onsets(k), scratch.data() + words);
    const bool on = std::any_of(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(words),
                                [](std::uint64_t w) { return w != 0; });
    out.Add(in.End(k) - in.Starts[k], scratch.data(), scratch.data() + words, !on);
  }
}

// Chain: every run of units whose first picked code on follows the picked
// codes in order, taken from left to right, becomes one event of the new
// code on its first unit, where the first picked code goes; the run's
// other units are dropped. A failed try starts again one unit later.
void ChainRule(const SegmentColumns& in, const std::vector<int>& picked, SegmentEdits& edits,
               std::vector<int>& first, const std::string& where) {
  const std::int64_t n = static_cast<std::int64_t>(picked.size());
  const std::int64_t u = in.NTimeUnits;
  if (n < 1 || u < n) return;
  CheckSegmentBudget(0, u, sizeof(int), where);
  first.assign(static_cast<std::size_t>(u), 0);
  for (std::size_t k = 0; k < in.size(); ++k) {
    int code = 0;
    for (int p : picked)
      if (CodeOn(in, k, p)) {
        code = p;
        break;
      }
    std::fill(first.begin() + in.Starts[k], first.begin() + in.End(k), code);
  }
  std::int64_t t = 0;
  while (t <= u - n) {
    std::int64_t j = 0;
    while (j < n && first[static_cast<std::size_t>(t + j)] == picked[static_cast<std::size_t>(j)]) ++j;
    if (j < n) {
      ++t;
      continue;
    }
    edits.Row.Set(t, '2');
    if (n > 1) {
      edits.Row.Set(t + 1, '1');
      edits.Drops.push_back({t + 1, t + n});
    }
    edits.Row.Set(t + n, '.');
    edits.Clears.push_back({t, first[static_cast<std::size_t>(t)]});
    t += n;
  }
}

ModifyOutcome RenameCode(const ModifyFile& file, const ModifyCommand& command, const std::vector<int>& picked,
                         const std::string& dateTime) {
  if (file.Lines.size() < 4) throw CommandError("The compiled file's header is incomplete.");
  ModifyOutcome out;
  out.LoadTime = dateTime;
  out.File.Header = file.Header;
  out.File.HeaderEnd = file.HeaderEnd;
  MdsHeader& h = out.File.Header;
  h.CodeNames[picked[0]] = command.NewCode;
  LineBuffer& lines = out.File.Lines;
  lines.push_back(StampLine(h, dateTime));
  lines.AppendLines(file.Lines, 1, 3);
  lines.push_back(JoinTabbed(h.CodeNames, 1, h.NCodes));
  lines.AppendLines(file.Lines, 4, file.Lines.size());
  return out;
}

}  // namespace

std::vector<int> PickedCodeNumbers(const MdsHeader& header, const ModifyCommand& command, bool& allCodes) {
  std::vector<int> picked;
  allCodes = command.Number == CommandEvent && command.PickedCodes.empty();
  if (allCodes) {
    for (int c = 1; c <= header.NCodes; ++c) picked.push_back(c);
    return picked;
  }
  for (const std::string& name : command.PickedCodes) {
    const int code = FindCodeIndex(name, header.CodeNames, header.NCodes);
    if (code == 0) throw CommandError("Code '" + name + "' is not in MDS file");
    picked.push_back(code);
  }
  return picked;
}

ModifiedHeader WriteModifiedHeader(const ModifyFile& file, const ModifyCommand& command,
                                   const std::vector<int>& picked, const std::string& dateTime) {
  ModifiedHeader result;
  MdsHeader& h = result.Header;
  h = file.Header;
  const int oldN = h.NCodes;
  SizeCodeArrays(h, oldN);
  if (MakesNewCode(command.Number)) {
    h.NCodes += 1;
    SizeCodeArrays(h, h.NCodes);
    h.CodeNames[h.NCodes] = command.NewCode;
    if (h.NDual > 0) h.DualNames[h.NCodes] = "";
    if (h.NSets > 0) h.CodeSet[h.NCodes] = 0;
  }
  if (DropsPickedCodes(command.Number)) {
    const std::set<int> gone(picked.begin(), picked.end());
    result.Map.assign(static_cast<std::size_t>(h.NCodes) + 1, 0);
    int next = 0;
    for (int c = 1; c <= h.NCodes; ++c) {
      if (gone.count(c)) continue;
      result.Map[c] = ++next;
      h.CodeNames[next] = h.CodeNames[c];
      if (h.NDual > 0) h.DualNames[next] = h.DualNames[c];
      if (h.NSets > 0) h.CodeSet[next] = h.CodeSet[c];
    }
    h.NCodes = next;
    SizeCodeArrays(h, h.NCodes);
  }
  if (file.Lines.size() < 2) throw CommandError("The compiled file's header is incomplete.");
  result.Lines = HeaderLines(h, StampLine(h, dateTime), std::string(file.Lines[1]), HeaderTail(file));
  return result;
}

ModifyOutcome RunModifyCommand(const ModifyFile& file, const ModifyCommand& command, const std::string& dateTime,
                               UserDialogue& dialogue) {
  const int number = command.Number;
  if (number < CommandAnd || number > CommandRecodeAll) throw CommandError("No command selected");
  bool allCodes = false;
  const std::vector<int> picked = PickedCodeNumbers(file.Header, command, allCodes);
  if (picked.empty() && number != CommandRecodeAll) throw CommandError("Names for old codes needed.");
  if (number == CommandRename) return RenameCode(file, command, picked, dateTime);

  const MdsHeader& old = file.Header;
  const int oldN = old.NCodes;
  const bool eventOrMulti = SetDataTypeFlags(old.DataType).EventOrMulti;
  ModifiedHeader modified = WriteModifiedHeader(file, command, picked, dateTime);
  if (number == CommandWindow && old.DataType == Event) {
    modified.Header.DataType = Multi;
    modified.Lines[1] = "5\t0\t0";
  }
  if (number == CommandEvent) MakeEventHeader(modified, picked, false, modified.Lines[0], file);
  const int newN = modified.Header.NCodes;

  ModifyOutcome out;
  out.AllCodes = allCodes;
  out.LoadTime = dateTime;
  // The new file is written into a buffer of its own, about the size of the
  // old one; the old file stays as it is until the caller takes the new.
  LineBuffer& lines = out.File.Lines;
  const std::size_t oldBytes = file.Lines.TextBytes();
  lines.Reserve(oldBytes + oldBytes / 12 + 4096, file.Lines.size() + file.Lines.size() / 16 + 64);
  for (const std::string& line : modified.Lines) lines.push_back(line);

  int lineIndex = file.HeaderEnd;
  SessionValues session;
  SegmentValues segment;
  SegmentColumns columns;
  SegmentEdits edits;
  std::vector<std::uint64_t> scratch;
  std::vector<int> firstCodes;
  const dynInteger noMap;
  const CodeMapper mapper(DropsPickedCodes(number) ? modified.Map : noMap, oldN, (static_cast<std::size_t>(newN) + 63) / 64);
  edits.NewCode = MakesNewCode(number) ? (DropsPickedCodes(number) ? modified.Map[oldN + 1] : newN) : 0;
  bool multi = false;
  for (int s = 1; s <= old.NSessions; ++s) {
    dialogue.Progress(static_cast<int>(std::lround(s * 100.0 / old.NSessions)), 100);
    const int sessionLine = lineIndex + 1;
    ReadSession(file.Lines, lineIndex, old, session);
    lines.AppendLines(file.Lines, static_cast<std::size_t>(sessionLine), static_cast<std::size_t>(lineIndex) + 1);
    for (int g = 1; g <= session.NSegments; ++g) {
      ReadSegment(file.Lines, lineIndex, segment);
      ReadSegmentColumns(file.Lines, lineIndex, old, segment, columns);
      const std::size_t segmentLine = lines.size();
      const bool merge = number != CommandEvent && !(number == CommandRemove && eventOrMulti);
      ColumnLineWriter writer(lines, newN, old.Compressed, merge);
      edits.clear();
      std::int64_t written = segment.NTimeUnits;
      switch (number) {
        case CommandAnd:
        case CommandOr:
        case CommandNot:
        case CommandNor:
        case CommandXor: CountRule(columns, picked, number, edits.Row); break;
        case CommandWindow: WindowRule(columns, picked, command.Window, command.MaxNTUs, out.Counts, edits.Row); break;
        case CommandRecode: RecodeRule(columns, picked, edits.Row); break;
        case CommandLump: LumpRule(columns, picked, edits.Row, edits.Drops); break;
        case CommandChain:
          ChainRule(columns, picked, edits, firstCodes,
                    "Session " + std::to_string(s) + ", segment " + std::to_string(g));
          break;
        case CommandBout: BoutRule(columns, picked, command.BoutGap, edits.Row); break;
        default: break;
      }
      if (number == CommandRecodeAll) {
        WriteJoinedEvents(columns, writer, scratch);
      } else if (number == CommandEvent) {
        multi = WriteOnsetsOnly(columns, picked, writer, scratch) || multi;
      } else if (number == CommandRemove && eventOrMulti) {
        WriteRemainingEvents(columns, mapper, writer, scratch);
      } else {
        written = WriteEditedColumns(columns, mapper, edits, writer, scratch);
      }
      const int count = writer.Finish();
      if (!merge) written = count;
      lines.InsertLine(segmentLine, SegmentLine(session.NSegments, count, written, segment.StartTime, segment.StopTime));
    }
  }

  if (number == CommandEvent && multi) {
    modified.Header.DataType = Multi;
    lines.ReplaceLine(1, "5\t0\t0");
  }
  out.File.Header = std::move(modified.Header);
  out.File.HeaderEnd = static_cast<int>(modified.Lines.size()) - 1;
  out.File.Header.LineIndex = out.File.HeaderEnd;
  dialogue.Progress(0, 100);
  return out;
}

}  // namespace vork
