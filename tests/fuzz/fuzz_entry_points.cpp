#include "tests/fuzz/fuzz_entry_points.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>

#include "analysis/mds_structure.h"
#include "analysis/simple_stats.h"
#include "analysis/table_stats.h"
#include "compiler/compile_sds.h"
#include "compiler/compiler_messages.h"
#include "core/code_lists.h"
#include "core/command_error.h"
#include "core/data_type_flags.h"
#include "core/mds_reader.h"
#include "core/line_buffer.h"
#include "core/segment_budget.h"
#include "core/segment_runs.h"
#include "core/session_reader.h"
#include "core/segment_writer.h"
#include "core/text_file.h"
#include "modify/modify_engine.h"
#include "modify/round_times.h"
#include "modify/validate_command.h"

namespace vork::fuzz {
namespace {

// Segments of more cells than this are not read by the targets. The program
// may hold a segment up to its memory budget, but a fuzzer that fills
// gigabytes for one input finds nothing else in the time. A segment beyond
// the budget is still read: it must be refused.
constexpr std::int64_t HarnessCells = std::int64_t{1} << 22;

void Require(bool holds, const std::string& what) {
  if (!holds) throw FuzzFault(what);
}

std::string At(int session, int segment) {
  return " (session " + std::to_string(session) + ", segment " + std::to_string(segment) + ")";
}

// Walks the sessions and segments of a compiled file in the order every
// analysis reads them, one segment at a time. Each segment is read both as
// a grid of cells and as runs; the two readers must agree.
class SegmentCursor {
 public:
  SegmentCursor(const LineBuffer& lines, const MdsHeader& header)
      : Lines(lines), Header(header), LineIndex(header.LineIndex) {}

  // Reads the next segment; false after the last one, or when the next one
  // is larger than the harness reads.
  bool Next() {
    while (SegmentsLeft == 0) {
      if (Session == Header.NSessions) return false;
      ++Session;
      Segment = 0;
      ReadSession(Lines, LineIndex, Header, SessionLine);
      SegmentsLeft = SessionLine.NSegments;
    }
    --SegmentsLeft;
    ++Segment;
    ReadSegment(Lines, LineIndex, SegmentLine);
    NTimeUnits = SegmentLine.NTimeUnits;
    const bool fits = SegmentFitsBudget(Header.NCodes, NTimeUnits);
    if (fits && std::int64_t{Header.NCodes} * NTimeUnits > HarnessCells) {
      TooLarge = true;
      return false;
    }
    int runsIndex = LineIndex;
    bool runsRefused = false;
    try {
      ReadSegmentRuns(Lines, runsIndex, Header, SegmentLine, Runs);
    } catch (const CommandError&) {
      runsRefused = true;
    }
    try {
      ReadSegmentData(Lines, LineIndex, Header.NCodes, SegmentLine.NDataLines, NTimeUnits, Header.Compressed,
                      Matrix);
    } catch (const CommandError&) {
      Require(runsRefused, "the run reader takes a segment the grid reader refuses" + Where());
      throw;
    }
    Require(!runsRefused, "the run reader refuses a segment the grid reader takes" + Where());
    Require(fits, "a segment of " + std::to_string(Header.NCodes) + " codes by " + std::to_string(NTimeUnits) +
                      " units, beyond the memory budget, was read" + Where());
    Require(runsIndex == LineIndex, "the run reader ends on another line" + Where());
    Require(static_cast<int>(Matrix.size()) == Header.NCodes, "the matrix has the wrong number of rows" + Where());
    for (const auto& row : Matrix)
      Require(static_cast<int>(row.size()) == NTimeUnits, "a matrix row has the wrong length" + Where());
    CheckRuns();
    return true;
  }

  std::string Where() const { return At(Session, Segment); }

  const LineBuffer& Lines;
  const MdsHeader& Header;
  int LineIndex;
  int Session = 0, Segment = 0, SegmentsLeft = 0;
  SessionValues SessionLine;
  SegmentValues SegmentLine;
  int NTimeUnits = 0;
  dynChar2 Matrix;
  SegmentRuns Runs;
  bool TooLarge = false;

 private:
  // The runs describe the grid: cell for cell, as the units where a code
  // changes, and as stretches that neither overlap nor touch alike; a
  // reader keeping some codes only gives the same runs of those codes.
  void CheckRuns() {
    const int nCodes = Header.NCodes;
    dynChar2 fromRuns;
    SegmentMatrixFromRuns(Runs, fromRuns);
    Require(fromRuns == Matrix, "the runs differ from the grid" + Where());
    std::vector<std::int32_t> changes;
    for (int t = 0; t < NTimeUnits; ++t) {
      bool changed = t == 0;
      for (int r = 0; r < nCodes && !changed; ++r) changed = Matrix[r][t] != Matrix[r][t - 1];
      if (changed) changes.push_back(t);
    }
    Require(Runs.ChangeUnits == changes, "the units where codes change are wrong" + Where());
    Require(nCodes == 0 || static_cast<int>(Runs.Runs.size()) >= nCodes + 1, "runs missing for some codes" + Where());
    for (int c = 1; c <= nCodes; ++c) {
      const auto& runs = Runs.Runs[c];
      for (std::size_t i = 0; i < runs.size(); ++i) {
        Require(runs[i].Start < runs[i].End, "an empty run" + Where());
        if (i > 0)
          Require(runs[i - 1].End < runs[i].Start || (runs[i - 1].End == runs[i].Start && runs[i - 1].Onset != runs[i].Onset),
                  "runs overlap, or touch alike" + Where());
      }
    }
    CodeSelection keep(static_cast<std::size_t>(nCodes) + 1, 0);
    for (int c = 1; c <= nCodes; ++c) keep[c] = static_cast<char>((c + Segment) % 2);
    int keptIndex = SegmentStart();
    SegmentRuns kept;
    ReadSegmentRuns(Lines, keptIndex, Header, SegmentLine, kept, keep);
    dynChar2 keptMatrix;
    SegmentMatrixFromRuns(kept, keptMatrix);
    for (int c = 1; c <= nCodes; ++c)
      Require(keptMatrix[c - 1] == (keep[c] ? Matrix[c - 1] : std::string(NTimeUnits, '.')),
              "a reader keeping some codes reads them differently" + Where());
  }

  int SegmentStart() const { return LineIndex - SegmentLine.NDataLines; }
};

std::string FormName(bool compressed, bool merge) {
  return std::string(compressed ? "compressed" : "plain") + (merge ? ", merged" : "");
}

// Writes the segment in every form and reads each back.
void CheckRoundTrip(const SegmentCursor& cursor) {
  const int nCodes = cursor.Header.NCodes, nTimeUnits = cursor.NTimeUnits;
  for (bool compressed : {false, true}) {
    for (bool merge : {false, true}) {
      const std::string form = FormName(compressed, merge) + cursor.Where();
      dynString out{"not a data line"};
      dynInteger runs(static_cast<std::size_t>(nTimeUnits), 1);
      const int lineCount = WriteSegmentData(out, cursor.Matrix, runs, nCodes, nTimeUnits, compressed, merge);
      Require(lineCount == static_cast<int>(out.size()) - 1, "the line count differs from the lines written, " + form);
      if (nCodes > 0)
        Require(std::accumulate(runs.begin(), runs.end(), std::int64_t{0}) == nTimeUnits,
                "the runs do not add up to the units, " + form);
      for (int i = 2; merge && i <= lineCount; ++i) {
        const auto cellsOf = [](const std::string& line) { return line.substr(line.find('\t')); };
        Require(cellsOf(out[i - 1]) != cellsOf(out[i]), "two equal columns were not merged, " + form);
      }
      dynChar2 back;
      int lineIndex = 0;
      ReadSegmentData(LineBuffer(out), lineIndex, nCodes, lineCount, nTimeUnits, compressed, back);
      Require(lineIndex == lineCount, "reading back did not end on the last line, " + form);
      Require(back == cursor.Matrix, "the segment read back differs, " + form);
    }
  }
}

// A text holding a number from 2^20 to 2^30 (a time, a duration, a
// replication) may make segments of millions of units: legal, and slow to
// compile, and it shows the fuzzer nothing that smaller numbers do not.
// Such texts are skipped; larger numbers still go through, as they must be
// refused or held to the memory budget.
bool HoldsLargeLegalNumber(std::string_view text) {
  std::int64_t value = -1;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      value = std::min<std::int64_t>((value < 0 ? 0 : value) * 10 + (c - '0'), std::int64_t{1} << 40);
    } else {
      if (value >= (1 << 20) && value < (1 << 30)) return true;
      value = -1;
    }
  }
  return value >= (1 << 20) && value < (1 << 30);
}

// The compile options an input is compiled with: picked by its length.
CompileOptions OptionsFor(std::size_t size, bool compressed) {
  CompileOptions options;
  options.CaseSensitive = (size & 1) != 0;
  options.OneCharCodes = (size & 2) != 0;
  options.RepeatCheck = options.ExclusivityCheck = (size & 4) != 0;
  options.CompressMDS = compressed;
  options.CurrentDateTime = [] { return std::string("07.12.2026 02:00:00"); };
  options.CompareNames = [](const std::string& a, const std::string& b) { return a.compare(b); };
  return options;
}

struct Compiled {
  dynString MdsLines;
  CompilerMessageLines Messages;
  dynCardinal NavPts;
  int ErrorCount = -1;
  bool Empty = false;  // nothing but blank lines: the compiler has nothing to do
};

Compiled Compile(std::string_view text, const CompileOptions& options, bool syntaxOnly = false) {
  Compiled c;
  dynString sdsLines = SplitTextLines(text);
  SilentDialogue dialogue;
  std::string savedAt;
  CompileSds(sdsLines, c.MdsLines, c.Messages, c.NavPts, dialogue, syntaxOnly, 25, c.ErrorCount, savedAt, options);
  c.Empty = sdsLines.empty();
  return c;
}

// The messages only a full compile reports: those of the header writer.
bool HeaderWriterMessage(const std::string& line) {
  for (int number : {108, 109, 110})
    if (line == CompilerMessageLine(number)) return true;
  return false;
}

// Reads the header of a clean compile; any refusal is a fault.
MdsHeader ReadCompiledHeader(const Compiled& c, const std::string& form) {
  MdsHeader header;
  SilentDialogue dialogue;
  try {
    Require(ReadMdsHeaderFromLines(c.MdsLines, "fuzz.mds", header, dialogue),
            "the " + form + " compile is not taken for a compiled file");
  } catch (const CommandError& error) {
    throw FuzzFault("the " + form + " compile does not read back: " + error.what());
  }
  return header;
}

void RequireSameHeader(const MdsHeader& a, const MdsHeader& b) {
  const auto fields = [](const MdsHeader& h) {
    return std::tuple(h.DataType, h.IntervalDuration, h.IntervalUnitMark, h.NCodes, h.NDual, h.NSets, h.NFactors,
                      h.NSessions, h.MaxSessionsPerCell, h.CodeNames, h.DualNames, h.CodeSet, h.SetNames,
                      h.FactorNames, h.FactorLevels, h.FactorLevelNames, h.TimeFormat, h.TimeUnitIndex,
                      h.TimeUnitLabel, h.LineIndex);
  };
  Require(fields(a) == fields(b), "the plain and compressed headers differ");
}

// The compiled file an input stands for: the input itself when the reader
// takes its header, else the compile of it as a KELP text. False when there
// is none: a refused header, a text that does not compile cleanly, or one
// the harness skips.
bool CompiledFileOf(std::string_view bytes, LineBuffer& lines, MdsHeader& header) {
  lines = LineBuffer(bytes);
  SilentDialogue dialogue;
  try {
    if (ReadMdsHeaderFromLines(lines, "fuzz.mds", header, dialogue)) return true;
  } catch (const CommandError&) {
    return false;  // every window refuses the file at its header
  }
  if (HoldsLargeLegalNumber(bytes)) return false;
  Compiled c = Compile(bytes, OptionsFor(bytes.size(), (bytes.size() & 8) != 0));
  if (c.ErrorCount != 0 || c.Empty) return false;
  header = ReadCompiledHeader(c, "clean");
  lines = LineBuffer(c.MdsLines);
  return true;
}

// How the segments of a file whose header was taken read.
enum class FileReading {
  Whole,     // every segment of every session
  Damaged,   // refused on the way: every reader must refuse it the same way
  TooLarge,  // a segment larger than the harness reads
};

FileReading ReadSegments(const LineBuffer& lines, const MdsHeader& header) {
  try {
    SegmentCursor cursor(lines, header);
    while (cursor.Next()) {
    }
    return cursor.TooLarge ? FileReading::TooLarge : FileReading::Whole;
  } catch (const CommandError&) {
    return FileReading::Damaged;
  }
}

// A file written from one the reader accepted must read back whole: its
// header taken and every segment of every session read. (Lines after the
// last session, which a damaged input may carry, may be copied along.)
void RequireReadsBack(const LineBuffer& lines, const std::string& what) {
  MdsHeader header;
  SilentDialogue dialogue;
  try {
    Require(ReadMdsHeaderFromLines(lines, "fuzz.mds", header, dialogue),
            "the " + what + " is not taken for a compiled file");
    SegmentCursor cursor(lines, header);
    while (cursor.Next()) {
    }
  } catch (const CommandError& error) {
    throw FuzzFault("the " + what + " does not read back: " + error.what());
  }
}

// Answers Yes to every question: the user goes on wherever asked.
class YesDialogue : public UserDialogue {
 public:
  Answer Ask(BoxStyle, const std::string&, Buttons) override { return Answer::Yes; }
};

// Every command the modification window offers for the file's data type,
// on its first and last codes, with a new code the file lacks; the input's
// length picks the WINDOW parts and the bout gap.
std::vector<ModifyCommand> CommandsFor(const MdsHeader& header, std::size_t size) {
  const DataTypeFlags flags = SetDataTypeFlags(header.DataType);
  const std::string first = header.NCodes >= 1 ? header.CodeNames[1] : std::string();
  const std::string last = header.NCodes >= 1 ? header.CodeNames[header.NCodes] : std::string();
  std::string fresh = "fz";
  while (FindCodeIndex(fresh, header.CodeNames, header.NCodes) > 0) fresh += "z";
  std::vector<ModifyCommand> commands;
  for (int number = CommandAnd; number <= CommandBout; ++number) {
    if (number <= CommandXor && flags.IsEvent) continue;
    if ((number == CommandLump || number == CommandChain) && !flags.IsEvent) continue;
    if ((number == CommandEvent || number == CommandBout) && !flags.TimedOrState) continue;
    ModifyCommand command;
    command.Number = number;
    command.NewCode = number == CommandRemove || number == CommandEvent ? "" : fresh;
    command.PickedCodes = {first, last};
    if (number == CommandRename || number == CommandRemove) command.PickedCodes = {first};
    if (number == CommandChain) command.PickedCodes = {first, last, first};
    if (number == CommandEvent && (size & 1) != 0) command.PickedCodes.clear();  // every code
    if (number == CommandWindow) {
      command.Window = {static_cast<int>(size % 3), static_cast<int>(size / 3 % 5) - 2,
                        static_cast<int>(size / 15 % 4), static_cast<int>(size / 60 % 5) - 2};
      if (command.Window.ToOption == NullToPart) command.PickedCodes = {first};
    }
    command.BoutGap = 1 + static_cast<int>(size % 3);
    commands.push_back(command);
  }
  ModifyCommand recodeAll;  // Recode without a new code, which the user agrees to
  recodeAll.Number = CommandRecode;
  commands.push_back(recodeAll);
  return commands;
}

}  // namespace

void ReadCompiledFile(std::string_view bytes) {
  const LineBuffer lines(bytes);
  MdsHeader header;
  SilentDialogue dialogue;
  try {
    if (!ReadMdsHeaderFromLines(lines, "fuzz.mds", header, dialogue)) return;
    SegmentCursor cursor(lines, header);
    while (cursor.Next()) CheckRoundTrip(cursor);
  } catch (const CommandError&) {
    // A damaged file is refused: the program's answer.
  }
}

void CompileText(std::string_view bytes) {
  if (HoldsLargeLegalNumber(bytes)) return;
  const Compiled plain = Compile(bytes, OptionsFor(bytes.size(), false));
  const Compiled compressed = Compile(bytes, OptionsFor(bytes.size(), true));
  Require(plain.Messages.Lines == compressed.Messages.Lines && plain.NavPts == compressed.NavPts &&
              plain.ErrorCount == compressed.ErrorCount,
          "the plain and compressed compiles report differently");
  Require(plain.NavPts.size() == plain.Messages.Lines.size(), "a message without a position, or a position without one");
  int errors = 0;
  for (const std::string& line : plain.Messages.Lines)
    errors += line.ends_with(" (warning)") ? 0 : 1;
  Require(plain.Empty || errors == plain.ErrorCount, "the error count differs from the errors listed");
  // Every message points into the text (a line counts its length plus 2).
  const std::size_t textEnd = bytes.size() + 2 * (SplitTextLines(bytes).size() + 1);
  for (std::uint32_t pos : plain.NavPts) Require(pos <= textEnd, "a message position beyond the text");
  // A syntax check reports what the compile reports, less the header
  // writer's messages at the end.
  const Compiled check = Compile(bytes, OptionsFor(bytes.size(), false), true);
  std::size_t shared = check.Messages.Lines.size();
  Require(shared <= plain.Messages.Lines.size() &&
              std::equal(check.Messages.Lines.begin(), check.Messages.Lines.end(), plain.Messages.Lines.begin()) &&
              std::equal(check.NavPts.begin(), check.NavPts.end(), plain.NavPts.begin()) &&
              std::all_of(plain.Messages.Lines.begin() + shared, plain.Messages.Lines.end(), HeaderWriterMessage),
          "the syntax check reports differently from the compile");
  if (plain.ErrorCount != 0 || plain.Empty) return;

  const MdsHeader plainHeader = ReadCompiledHeader(plain, "plain");
  const MdsHeader compressedHeader = ReadCompiledHeader(compressed, "compressed");
  Require(!plainHeader.Compressed && compressedHeader.Compressed, "the stamp line names the wrong form");
  RequireSameHeader(plainHeader, compressedHeader);
  const LineBuffer plainLines(plain.MdsLines), compressedLines(compressed.MdsLines);
  SegmentCursor a(plainLines, plainHeader), b(compressedLines, compressedHeader);
  try {
    for (;;) {
      const bool more = a.Next();
      Require(more == b.Next() && a.TooLarge == b.TooLarge, "the plain and compressed files hold different segments");
      if (!more) break;
      const auto lineValues = [](const SegmentCursor& c) {
        return std::tuple(c.SessionLine.SessionLabel, c.SessionLine.Replicate, c.SessionLine.SessionLevels,
                          c.SegmentLine.NTimeUnits, c.SegmentLine.StartTime, c.SegmentLine.StopTime);
      };
      Require(lineValues(a) == lineValues(b),
              "the plain and compressed session or segment lines differ" + a.Where());
      Require(a.Matrix == b.Matrix, "the plain and compressed matrices differ" + a.Where());
    }
    if (!a.TooLarge) {
      Require(a.Session == plainHeader.NSessions && a.SegmentsLeft == 0, "fewer sessions than the header says");
      Require(a.LineIndex + 1 == static_cast<int>(plain.MdsLines.size()) &&
                  b.LineIndex + 1 == static_cast<int>(compressed.MdsLines.size()),
              "lines left over after the last segment");
    }
  } catch (const CommandError& error) {
    throw FuzzFault(std::string("a clean compile does not read back: ") + error.what() + a.Where());
  }
}

void AnalyseCompiledFile(std::string_view bytes) {
  LineBuffer lines;
  MdsHeader header;
  SilentDialogue dialogue;
  if (!CompiledFileOf(bytes, lines, header) || ReadSegments(lines, header) == FileReading::TooLarge) return;

  dynString report;
  try {
    ShowMdsStructure(lines, header, "fuzz.mds", report);
  } catch (const CommandError&) {
  }

  dynString codes(header.CodeNames.begin() + (header.CodeNames.empty() ? 0 : 1), header.CodeNames.end());
  RunFrame frame;
  frame.ExportBox = ExportEachRun;
  frame.FirstRun = true;
  frame.FileName = "fuzz.mds";
  PoolingChoices pooling;
  pooling.PoolOverSessions = (bytes.size() & 16) != 0;
  if (header.NFactors > 0 && (bytes.size() & 32) != 0) pooling.FactorsPooled.push_back(header.FactorNames[1]);

  SimpleStatsChoices simple;
  simple.PickedCodes = codes;
  simple.StatCB.fill(true);
  simple.Pooling = pooling;
  PoolingGroups simpleGroups;
  RunOutput simpleOutput;
  try {
    RunSimpleStats(lines, header.LineIndex, header, frame, simple, simpleGroups, dialogue, simpleOutput);
  } catch (const CommandError&) {
  }

  // Tables of at most eight codes and "&": the work of a RUN grows with
  // the square of its codes, and larger tables reach no other code.
  TableStatsRequest request;
  request.GivenCodes.assign(codes.begin(), codes.begin() + std::min<std::size_t>(codes.size(), 8));
  request.GivenCodes.push_back("&");
  request.TargetCodes = request.GivenCodes;
  request.LagFrom = -1;
  request.LagTo = 2;
  request.StatChecked.fill(true);
  PoolingGroups tableGroups;
  RunOutput tableOutput;
  try {
    RunTableStats(request, TableStatsOptions{}, frame, header, lines, header.LineIndex, pooling, tableGroups,
                  tableOutput, dialogue);
  } catch (const CommandError&) {
  }
}

void ModifyCompiledFile(std::string_view bytes) {
  LineBuffer lines;
  ModifyFile file;
  if (!CompiledFileOf(bytes, lines, file.Header)) return;
  const FileReading reading = ReadSegments(lines, file.Header);
  if (reading == FileReading::TooLarge) return;
  file.Lines = std::move(lines);
  file.HeaderEnd = file.Header.LineIndex;
  for (ModifyCommand command : CommandsFor(file.Header, bytes.size())) {
    YesDialogue dialogue;
    if (!ValidateCommand(command, file.Header, dialogue)) continue;
    ModifyOutcome outcome;
    try {
      outcome = RunModifyCommand(file, command, "07.12.2026 03:00:00", dialogue);
    } catch (const CommandError&) {
      continue;  // a damaged segment, or a code the file lacks: nothing is written
    }
    // A command that only renames copies the segments as they stand, so a
    // damaged input gives a damaged output; one read whole must read back.
    if (reading == FileReading::Whole)
      RequireReadsBack(outcome.File.Lines,
                       "file modified by " + EchoModifyCommand(command, outcome.Counts, outcome.AllCodes).Text);
  }
}

void RoundCompiledFile(std::string_view bytes) {
  LineBuffer lines;
  MdsHeader header;
  if (!CompiledFileOf(bytes, lines, header)) return;
  const FileReading reading = ReadSegments(lines, header);
  if (reading == FileReading::TooLarge || !RoundingRefusal(header).empty()) return;
  for (int unit = 0; unit < header.TimeUnitIndex; ++unit) {
    RoundingOutput output;
    SilentDialogue dialogue;
    try {
      RoundMdsTimes(lines, header, "fuzz.mds", unit, "07.12.2026 03:00:00", output, dialogue);
    } catch (const CommandError&) {
      continue;  // a damaged file, or times that cannot be rounded: nothing is written
    }
    if (reading == FileReading::Whole)
      RequireReadsBack(output.MdsLines,
                       "file rounded to " + std::string(RoundUnitNames[static_cast<std::size_t>(unit)]));
  }
}

int RunFuzzTarget(void (*entry)(std::string_view), const unsigned char* data, std::size_t size) {
  try {
    entry(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const FuzzFault& fault) {
    std::fprintf(stderr, "FuzzFault: %s\n", fault.what());
    std::abort();
  }
  return 0;
}

}  // namespace vork::fuzz
