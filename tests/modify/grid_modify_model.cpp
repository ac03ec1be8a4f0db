#include "tests/modify/grid_modify_model.h"

#include <algorithm>
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
#include "tests/modify/grid_rules.h"

namespace vork::model {

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

dynString HeaderTail(const GridFile& file) {
  const int first = FirstCopiedHeaderLine(file.Header);
  if (file.HeaderEnd < first || file.HeaderEnd >= static_cast<int>(file.Lines.size()))
    throw CommandError("The compiled file's header is incomplete.");
  return dynString(file.Lines.begin() + first, file.Lines.begin() + file.HeaderEnd + 1);
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
void MakeEventHeader(GridHeader& modified, const std::vector<int>& picked, bool multi,
                     const std::string& stamp, const GridFile& file) {
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

std::string SegmentLine(int nSegments, int nDataLines, int nTimeUnits, std::uint32_t start, std::uint32_t stop) {
  return std::to_string(nSegments) + '\t' + std::to_string(nDataLines) + '\t' + std::to_string(nTimeUnits) + '\t' +
         std::to_string(start) + '\t' + std::to_string(stop);
}

// Moves every kept row to its new number; rows past the kept ones go.
void CompactRows(dynChar2& matrix, const dynInteger& map, int newNCodes) {
  const int rows = static_cast<int>(matrix.size());
  for (int c = 1; c <= rows && c < static_cast<int>(map.size()); ++c)
    if (map[c] > 0 && map[c] != c) matrix[map[c] - 1] = std::move(matrix[c - 1]);
  matrix.resize(static_cast<std::size_t>(newNCodes));
}

// The command's rule on one segment.
void ApplySegmentRule(SegmentWork& work, const ModifyCommand& command, WindowCounts& counts, int oldN) {
  switch (command.Number) {
    case CommandAnd:
    case CommandOr:
    case CommandNot:
    case CommandNor:
    case CommandXor: MarkByCount(work, command.Number); break;
    case CommandWindow: MarkWindows(work, command.Window, command.MaxNTUs, counts); break;
    case CommandRecode: RecodeRow(work); break;
    case CommandLump: LumpEvents(work); break;
    case CommandChain: ChainEvents(work); break;
    case CommandBout: MakeBouts(work, command.BoutGap); break;
    case CommandRecodeAll: JoinSuccessiveEvents(work, oldN); break;
    default: break;
  }
}

int DroppedUnits(const dynInteger& runs) {
  int dropped = 0;
  for (int run : runs) dropped += run < 0;
  return dropped;
}

GridOutcome RenameCode(const GridFile& file, const ModifyCommand& command, const std::vector<int>& picked,
                         const std::string& dateTime) {
  GridOutcome out;
  out.File = file;
  out.LoadTime = dateTime;
  MdsHeader& h = out.File.Header;
  h.CodeNames[picked[0]] = command.NewCode;
  if (out.File.Lines.size() < 4) throw CommandError("The compiled file's header is incomplete.");
  out.File.Lines[0] = StampLine(h, dateTime);
  out.File.Lines[3] = JoinTabbed(h.CodeNames, 1, h.NCodes);
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

GridHeader WriteGridHeader(const GridFile& file, const ModifyCommand& command,
                                   const std::vector<int>& picked, const std::string& dateTime) {
  GridHeader result;
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
  result.Lines = HeaderLines(h, StampLine(h, dateTime), file.Lines[1], HeaderTail(file));
  return result;
}

GridOutcome RunModifyCommand(const GridFile& file, const ModifyCommand& command, const std::string& dateTime,
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
  GridHeader modified = WriteGridHeader(file, command, picked, dateTime);
  const int newN = modified.Header.NCodes;

  GridOutcome out;
  out.AllCodes = allCodes;
  out.LoadTime = dateTime;
  dynString body;
  body.reserve(file.Lines.size() > static_cast<std::size_t>(file.HeaderEnd)
                   ? file.Lines.size() - static_cast<std::size_t>(file.HeaderEnd)
                   : 0);
  int lineIndex = file.HeaderEnd;
  SessionValues session;
  SegmentValues segment;
  SegmentRuns segmentRuns;
  dynChar2 matrix, events;
  dynInteger runs;
  bool multi = false;
  for (int s = 1; s <= old.NSessions; ++s) {
    dialogue.Progress(static_cast<int>(std::lround(s * 100.0 / old.NSessions)), 100);
    const int sessionLine = lineIndex + 1;
    ReadSession(file.Lines, lineIndex, old, session);
    body.insert(body.end(), file.Lines.begin() + sessionLine, file.Lines.begin() + lineIndex + 1);
    for (int g = 1; g <= session.NSegments; ++g) {
      ReadSegment(file.Lines, lineIndex, segment);
      const int u = segment.NTimeUnits;
      const std::string where = "Session " + std::to_string(s) + ", segment " + std::to_string(g);
      // The grid of every code (the rules walk cells one by one), the new
      // code's row, Event's grid of onsets, the runs and a mark per unit.
      const std::int64_t cells = std::int64_t{oldN} + 1 + (number == CommandEvent ? std::int64_t(picked.size()) : 0);
      CheckSegmentBudget(cells, u, 2 * sizeof(std::int32_t) + 1, where);
      ReadSegmentRuns(file.Lines, lineIndex, old, segment, segmentRuns);
      const std::size_t placeholder = body.size();
      body.emplace_back();
      int count = 0;
      int written = u;
      SegmentMatrixFromRuns(segmentRuns, matrix);
      if (MakesNewCode(number)) matrix.emplace_back(static_cast<std::size_t>(u), '.');
      runs.assign(static_cast<std::size_t>(u), 1);
      SegmentWork work{matrix, runs, picked, u};
      ApplySegmentRule(work, command, out.Counts, oldN);
      if (DropsPickedCodes(number)) CompactRows(matrix, modified.Map, newN);
      if (number == CommandEvent) {
        multi = OnsetsOnly(work, events) || multi;
        count = WriteSegmentData(body, events, runs, static_cast<int>(picked.size()), u, old.Compressed, false);
        written = count;
      } else if (number == CommandRemove && eventOrMulti) {
        // On event data a unit that held only removed codes goes.
        for (int t = 0; t < u; ++t) {
          bool on = false;
          for (int c = 0; c < newN && !on; ++c) on = matrix[c][t] != '.';
          if (!on) runs[t] = 0;
        }
        count = WriteSegmentData(body, matrix, runs, newN, u, old.Compressed, false);
        written = count;
      } else {
        written = u - DroppedUnits(runs);
        count = WriteSegmentData(body, matrix, runs, newN, u, old.Compressed, true);
      }
      body[placeholder] = SegmentLine(session.NSegments, count, written, segment.StartTime, segment.StopTime);
    }
  }

  if (number == CommandWindow && old.DataType == Event) {
    modified.Header.DataType = Multi;
    modified.Lines[1] = "5\t0\t0";
  }
  if (number == CommandEvent) MakeEventHeader(modified, picked, multi, modified.Lines[0], file);

  out.File.Header = std::move(modified.Header);
  out.File.HeaderEnd = static_cast<int>(modified.Lines.size()) - 1;
  out.File.Header.LineIndex = out.File.HeaderEnd;
  out.File.Lines = std::move(modified.Lines);
  out.File.Lines.reserve(out.File.Lines.size() + body.size());
  for (std::string& line : body) out.File.Lines.push_back(std::move(line));
  dialogue.Progress(0, 100);
  return out;
}

}  // namespace vork::model
