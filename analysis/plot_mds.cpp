#include "analysis/plot_mds.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "analysis/code_name_cells.h"
#include "core/code_lists.h"
#include "core/command_error.h"
#include "core/plot_symbols.h"
#include "core/results_format.h"
#include "core/segment_runs.h"
#include "core/session_reader.h"

namespace vork {
namespace {

constexpr int MinUnitsPerLine = 10;
constexpr int MaxUnitsPerLine = 200;
constexpr int MaxLabelWidth = 20;
constexpr const char* RulerPiece = "|----+----";

// Names are UTF-8; a character is one code point.
int CharacterCount(const std::string& text) {
  int count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::string PaddedTo(std::string text, int width) {
  const int count = CharacterCount(text);
  if (count < width) text.append(std::size_t(width - count), ' ');
  return text;
}

bool IsTimedOrState(const MdsHeader& header) {
  return header.DataType == Timed || header.DataType == State;
}

// Writes the plot of one session after another into the results, keeping
// what runs on from block to block: the rows of the current block, the
// column of its last unit and the time of the next label.
class PlotWriter {
 public:
  PlotWriter(const MdsHeader& header, const PlotChoices& choices, int unitsPerLine,
             dynString& results)
      : Header(header), UnitsPerLine(unitsPerLine), Results(results),
        TimeFormat(header.TimeFormat == 0 ? 1 : header.TimeFormat),
        LabelFormat(IsTimedOrState(header) ? TimeFormat : 1) {
    const int nPicked = int(choices.PickedCodes.size());
    for (const std::string& name : choices.PickedCodes) {
      LabelWidth = std::max(LabelWidth, std::min(CharacterCount(name), MaxLabelWidth));
    }
    Picked.resize(std::size_t(nPicked));
    Keep.assign(std::size_t(std::max(Header.NCodes, 0)) + 1, 0);
    for (int i = 0; i < nPicked; ++i) {
      const std::string& name = choices.PickedCodes[std::size_t(i)];
      PickedRow& row = Picked[std::size_t(i)];
      row.Code = FindCodeIndex(name, Header.CodeNames, Header.NCodes);
      Keep[std::size_t(row.Code)] = 1;
      row.Label = PaddedTo(FirstCharacters(name, LabelWidth), LabelWidth + 1);
      row.OnsetSymbol = choices.Markers[std::size_t(i)];
      row.OnChar = choices.PlotChar;
    }
  }

  // The session's lines, then each of its segments.
  void PlotSession(LinesView mdsLines, int& lineIndex, int s) {
    SessionValues session;
    ReadSession(mdsLines, lineIndex, Header, session);
    Results.push_back("#" + std::to_string(s) + "\t<" + session.SessionLabel + ">");
    if (Header.NFactors > 0) {
      std::string levels = "Levls=";
      // The session reader has checked each level against its factor's levels.
      for (int f = 1; f <= Header.NFactors; ++f) {
        levels += "\t" + Header.FactorLevelNames[std::size_t(f)][std::size_t(session.SessionLevels[std::size_t(f)])];
      }
      Results.push_back(levels);
    }
    for (int g = 1; g <= session.NSegments; ++g) {
      SegmentValues segment;
      ReadSegment(mdsLines, lineIndex, segment);
      ReadSegmentRuns(mdsLines, lineIndex, Header, segment, Runs, Keep);
      PlotSegment(session, g, segment);
    }
  }

 private:
  struct PickedRow {
    int Code = 0;             // 0: not a code of the file, never on
    std::string Label;        // LabelWidth + 1 characters
    std::string OnsetSymbol;  // one character, normalized
    char OnChar = '+';
    std::string Row;          // the current block's cells
    std::size_t NextRun = 0;  // the first of the code's runs that may reach the current block
  };

  void PlotSegment(const SessionValues& session, int g, const SegmentValues& segment) {
    const std::uint32_t stop =
        segment.StopTime == 0 ? std::uint32_t(segment.NTimeUnits) : segment.StopTime;
    std::string line = session.NSegments > 1 ? "Sgmt#" + std::to_string(g) + "\t" : "";
    line += "1st=" + FormatTime(segment.StartTime, TimeFormat, Header.TimeUnitIndex) +
            "\tlast=" + FormatTime(stop, TimeFormat, Header.TimeUnitIndex) +
            "\t#units=" + std::to_string(segment.NTimeUnits);
    Results.push_back(line);
    Results.push_back("");

    // Row column c stands for time LabelTime + c: the rows begin with "."
    // for the units between the last multiple of ten and the first unit.
    const std::uint64_t base = IsTimedOrState(Header) ? segment.StartTime : 1;
    LabelTime = base / 10 * 10;
    SkipLabel = false;  // a segment's first group always shows its time
    const int lead = int(base - LabelTime);
    for (PickedRow& row : Picked) {
      row.Row.assign(std::size_t(lead), '.');
      row.NextRun = 0;
    }
    Column = lead - 1;

    // Each pass fills the rest of the current block, or the rest of the
    // segment when that is shorter.
    const int units = segment.NTimeUnits;
    for (int t = 0; t < units;) {
      const int n = std::min(units - t, UnitsPerLine - 1 - Column);
      for (PickedRow& row : Picked) AppendCells(row, t, n);
      Column += n;
      t += n;
      if (Column == UnitsPerLine - 1) WritePlotBlock();
    }
    if (Column > -1) WritePlotBlock();
  }

  // Appends the code's cells of units t..t+n-1, made from its runs.
  void AppendCells(PickedRow& row, int t, int n) {
    Cells.assign(std::size_t(n), '.');
    if (row.Code >= 1 && std::size_t(row.Code) < Runs.Runs.size()) {
      const std::vector<CodeRun>& runs = Runs.Runs[std::size_t(row.Code)];
      while (row.NextRun < runs.size() && runs[row.NextRun].End <= t) ++row.NextRun;
      for (std::size_t k = row.NextRun; k < runs.size() && runs[k].Start < t + n; ++k) {
        const int from = std::max(runs[k].Start, t);
        const int to = std::min(runs[k].End, t + n);
        std::fill(Cells.begin() + (from - t), Cells.begin() + (to - t), runs[k].Onset ? '2' : '1');
      }
    }
    if (row.OnsetSymbol.size() == 1) {
      const std::size_t at = row.Row.size();
      row.Row.resize(at + std::size_t(n));
      char* out = row.Row.data() + at;
      const char onset = row.OnsetSymbol[0];
      for (int k = 0; k < n; ++k) out[k] = Cells[k] == '2' ? onset : Cells[k] == '1' ? row.OnChar : ' ';
      return;
    }
    // A symbol of several bytes (a UTF-8 character) is appended whole.
    for (char cell : Cells) {
      switch (cell) {
        case '2': row.Row += row.OnsetSymbol; break;
        case '1': row.Row += row.OnChar; break;
        default: row.Row += ' ';
      }
    }
  }

  // Writes the block whose last unit is in Column: labels, ruler and rows.
  void WritePlotBlock() {
    const int groups = (Column + 10) / 10;
    const std::string indent(std::size_t(LabelWidth) + 1, ' ');
    std::string labels = indent;
    std::string ruler = indent;
    for (int k = 0; k < groups; ++k) {
      labels += NextTimeLabel();
      ruler += RulerPiece;
    }
    Results.push_back(std::move(labels));
    Results.push_back(std::move(ruler));
    const int fill = Column < UnitsPerLine - 1 ? Column / 10 * 10 + 9 - Column : 0;
    for (PickedRow& row : Picked) {
      row.Row.append(std::size_t(fill), '.');
      Results.push_back(row.Label + row.Row);
      row.Row.clear();
    }
    Results.push_back("");
    Column = -1;
  }

  // The label of the next group of ten units. A label of ten or more
  // characters takes the next group's place as well, which stays empty.
  std::string NextTimeLabel() {
    std::string label;
    if (SkipLabel) {
      SkipLabel = false;
    } else {
      label = FormatTime(std::uint32_t(LabelTime), LabelFormat, Header.TimeUnitIndex);
      SkipLabel = label.size() >= 10;
      label = PaddedTo(label, SkipLabel ? 20 : 10);
    }
    LabelTime += 10;
    return label;
  }

  const MdsHeader& Header;
  const int UnitsPerLine;
  dynString& Results;
  const int TimeFormat;   // a file without times shows plain units
  const int LabelFormat;  // plain units but for Timed and State data
  int LabelWidth = 0;
  std::vector<PickedRow> Picked;
  CodeSelection Keep;  // the picked codes, whose runs are read
  SegmentRuns Runs;
  std::string Cells;   // '.', '1', '2' for a stretch of units of one code
  int Column = -1;
  std::uint64_t LabelTime = 0;
  bool SkipLabel = false;
};

}  // namespace

int DefaultLineLengthItem(int dataType) {
  return dataType == Timed || dataType == State ? 7 : 5;
}

int UnitsPerLine(const std::string& lineLength) {
  std::size_t first = lineLength.find_first_not_of(' ');
  std::size_t last = lineLength.find_last_not_of(' ');
  std::string_view text;
  if (first != std::string::npos) text = std::string_view(lineLength).substr(first, last - first + 1);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
  if (!digits) {
    throw CommandError("The line length \"" + lineLength + "\" is not a whole number.");
  }
  std::int64_t value = 0;
  for (char c : text) value = std::min<std::int64_t>(value * 10 + (c - '0'), MaxUnitsPerLine + 1);
  if (negative) value = -value;
  value = std::clamp<std::int64_t>(value, MinUnitsPerLine, MaxUnitsPerLine);
  return int((value + 9) / 10 * 10);
}

bool RunPlotMds(LinesView mdsLines, int linePos0, const MdsHeader& header,
                const RunFrame& frame, PlotChoices& choices, UserDialogue& dialogue,
                RunOutput& output) {
  if (choices.PickedCodes.empty()) {
    dialogue.Notify("Select one or more codes to plot.");
    return false;
  }
  NormalizeSymbolList(choices.Markers, int(choices.PickedCodes.size()));
  const int unitsPerLine = UnitsPerLine(choices.LineLength);
  StartRun(frame, header, mdsLines, output, dialogue);
  PlotWriter writer(header, choices, unitsPerLine, output.ResultLines);
  int lineIndex = linePos0;
  const double lineCount = double(std::max<std::size_t>(mdsLines.size(), 1));
  for (int s = 1; s <= header.NSessions; ++s) {
    writer.PlotSession(mdsLines, lineIndex, s);
    dialogue.Progress(int(RoundHalfEven(double(lineIndex) * 100.0 / lineCount)), 100);
  }
  return true;
}

}  // namespace vork
