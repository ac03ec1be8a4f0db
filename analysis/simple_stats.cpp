#include "analysis/simple_stats.h"

#include <cmath>
#include <cstdint>

#include "analysis/code_name_cells.h"
#include "core/code_lists.h"
#include "core/command_error.h"
#include "core/number_format.h"
#include "core/results_format.h"

namespace vork {

const std::array<const char*, NSimpleStats + 1> StatLabels = {
    "",     "freq", "relf", "rate", "dura", "reld", "prob", "avgD", "minD", "maxD",
    "avgG", "minG", "maxG", "avgO", "minO", "maxO", "avgL", "minL", "maxL"};

const std::array<const char*, NSimpleStats + 1> StatSuffixes = {
    "",   "F",  "RF", "R",  "D",  "RD", "P",  "AD", "ND", "XD",
    "AG", "NG", "XG", "AO", "NO", "XO", "AL", "NL", "XL"};

namespace {

// Episode kinds; each has an average, a minimum and a maximum statistic,
// numbered from its base.
enum EpisodeKind : int { Durations = 1, Gaps = 2, BetweenOnsets = 3, Latencies = 4 };
constexpr std::array<int, 5> KindBase = {0, 7, 10, 13, 16};
constexpr std::array<int, 5> KindBox = {0, CBepso, CBgaps, CBonst, CBL10C};

// A kind without values shows "0" for its minimum and maximum.
constexpr std::int64_t NoMinimum = 2147483647;
constexpr std::int64_t NoMaximum = -2147483647;

struct EpisodeTally {
  std::int64_t N = 0;
  std::int64_t Sum = 0;
  std::int64_t Min = NoMinimum;
  std::int64_t Max = NoMaximum;
};

bool IsTimedOrState(const MdsHeader& header) {
  return header.DataType == Timed || header.DataType == State;
}

// A whole number of time units as seconds: the separator goes before the
// last TimeUnitIndex digits.
std::string TicksToTimeText(std::int64_t units, const MdsHeader& header,
                            const NumberFormat& format) {
  std::string digits = std::to_string(units < 0 ? -units : units);
  int d = header.TimeUnitIndex;
  if (d >= 1 && d <= 3) {
    if (int(digits.size()) < d + 1) digits.insert(0, std::size_t(d + 1) - digits.size(), '0');
    digits.insert(digits.size() - std::size_t(d), 1, format.DecimalSeparator);
  }
  return units < 0 ? "-" + digits : digits;
}

double PowerOfTen(int d) { return d == 1 ? 10.0 : d == 2 ? 100.0 : d == 3 ? 1000.0 : 1.0; }

// Tallies the picked codes over a group's segments and writes the group's
// table and export row.
class SimpleStatsTally : public GroupTally {
 public:
  SimpleStatsTally(const MdsHeader& header, const RunFrame& frame,
                   const SimpleStatsChoices& choices, const SimpleStatsRun& run,
                   const PoolingGroups& groups, UserDialogue& dialogue, RunOutput& output)
      : Header(header), Frame(frame), Choices(choices), Run(run), Groups(groups),
        Dialogue(dialogue), Output(output), NPicked(int(run.PickedIdx.size()) - 1),
        CodesGT7C(HasLongItems(int(choices.PickedCodes.size()), choices.PickedCodes)) {
    Picked.assign(std::size_t(std::max(header.NCodes, 0)) + 1, 0);
    for (int i = 1; i <= NPicked; ++i) {
      const int code = Run.PickedIdx[i];
      if (code >= 1 && code <= header.NCodes) Picked[std::size_t(code)] = 1;
    }
    if (Run.AnyBasic) {
      Freq.assign(std::size_t(NPicked) + 1, 0);
      Dur.assign(std::size_t(NPicked) + 1, 0);
    }
    if (Run.AnyEpisode) {
      for (int kind = Durations; kind <= Latencies; ++kind) {
        Episodes[kind].assign(std::size_t(NPicked) + 1, EpisodeTally());
      }
    }
  }

  void ResetTallies() override {
    TotalUnits = 0;
    TotalTime = 0;
    if (Run.AnyBasic) {
      std::fill(Freq.begin(), Freq.end(), 0);
      std::fill(Dur.begin(), Dur.end(), 0);
    }
    if (Run.AnyEpisode) {
      for (int kind = Durations; kind <= Latencies; ++kind) {
        std::fill(Episodes[kind].begin(), Episodes[kind].end(), EpisodeTally());
      }
    }
  }

  const CodeSelection& CodesRead() const override { return Picked; }

  void TallySegment(const SessionValues& session, const SegmentValues& segment,
                    const SegmentRuns& runs) override {
    std::uint32_t stop = segment.StopTime;
    if (stop == 0) stop = std::uint32_t(segment.NTimeUnits) + 1;
    if (stop < segment.StartTime) {
      throw CommandError("Session " + session.SessionLabel + ": a segment stops at " +
                         std::to_string(segment.StopTime) + ", before its start at " +
                         std::to_string(segment.StartTime) + ".");
    }
    TotalUnits += segment.NTimeUnits;
    TotalTime += stop - segment.StartTime;
    for (int i = 1; i <= NPicked; ++i) {
      const std::size_t code = std::size_t(Run.PickedIdx[i]);
      if (code >= runs.Runs.size()) {
        throw CommandError("Session " + session.SessionLabel + ": a segment holds fewer codes than the file.");
      }
      const std::vector<CodeRun>& codeRuns = runs.Runs[code];
      if (Run.AnyEpisode) {
        TallyEpisodes(i, codeRuns);
      } else {
        TallyBasic(i, codeRuns);
      }
    }
  }

  void SessionTallied() override {
    ++SessionsTallied;
    ShowSessionProgress(SessionsTallied, Header.NSessions, Dialogue);
  }

  void WriteGroupResults(int count, const SessionValues& last) override;

 private:
  void TallyBasic(int i, const std::vector<CodeRun>& runs) {
    std::int64_t onsets = 0;
    std::int64_t on = 0;
    for (const CodeRun& run : runs) {
      on += run.End - run.Start;
      if (run.Onset) onsets += run.End - run.Start;
    }
    Freq[i] += onsets;
    Freq[0] += onsets;
    Dur[i] += on;
    Dur[0] += on;
  }

  // Episode values never reach across segments: each segment starts afresh.
  // A stretch of units in which the code stays on is made of touching runs;
  // an episode ends where the code goes off, where a new onset follows
  // directly, or at the segment's end. A run of onsets in successive units
  // holds as many episodes of one unit each.
  void TallyEpisodes(int i, const std::vector<CodeRun>& runs) {
    std::int64_t lastOnset = -1;
    std::int64_t lastEnd = 0;
    std::int64_t onsets = 0;
    std::int64_t on = 0;
    std::size_t k = 0;
    while (k < runs.size()) {
      const std::int64_t stretchStart = runs[k].Start;
      std::int64_t end = stretchStart;
      for (; k < runs.size() && runs[k].Start == end; ++k) {
        const CodeRun& run = runs[k];
        end = run.End;
        if (!run.Onset) continue;
        const std::int64_t t = run.Start;
        const std::int64_t more = run.End - run.Start - 1;  // onsets right after the first
        onsets += more + 1;
        if (t > stretchStart) {  // an onset right after the previous episode ends it
          AddEpisodeValue(Durations, t - lastOnset, i);
          lastEnd = t;
        }
        if (lastOnset < 0) {
          AddEpisodeValue(Latencies, t, i);
        } else {
          AddEpisodeValue(Gaps, t - lastEnd, i);
          AddEpisodeValue(BetweenOnsets, t - lastOnset, i);
        }
        if (more > 0) {  // each later onset ends a one-unit episode, with no gap
          AddEpisodeValue(Durations, 1, i, more);
          AddEpisodeValue(Gaps, 0, i, more);
          AddEpisodeValue(BetweenOnsets, 1, i, more);
          lastEnd = run.End - 1;
        }
        lastOnset = run.End - 1;
      }
      on += end - stretchStart;
      AddEpisodeValue(Durations, end - lastOnset, i);  // off at end, or the segment's end
      lastEnd = end;
    }
    if (Run.AnyBasic) {
      Freq[i] += onsets;
      Freq[0] += onsets;
      Dur[i] += on;
      Dur[0] += on;
    }
  }

  void AddEpisodeValue(int kind, std::int64_t value, int i, std::int64_t times = 1) {
    EpisodeTally& tally = Episodes[kind][i];
    tally.N += times;
    tally.Sum += value * times;
    if (value < tally.Min) tally.Min = value;
    if (value > tally.Max) tally.Max = value;
  }

  std::string FormatRatio(std::int64_t a, std::int64_t b) const {
    if (b <= 0) return "0";
    return StripLeadingZero(FormatFixed(double(a) / double(b), Frame.NDigits, Frame.Format),
                            Frame.Format);
  }

  std::string FormatRate(std::int64_t freq, std::int64_t time) const {
    if (time <= 0) return "0";
    double seconds = Header.IntervalUnitMark > 0 ? double(time) * Header.IntervalDuration
                                                 : double(time) / PowerOfTen(Header.TimeUnitIndex);
    if (seconds <= 0) return "0";
    return FormatGeneral5(double(freq) / seconds * Choices.RateFactor, Frame.Format);
  }

  std::string FormatAverage(const EpisodeTally& tally) const {
    if (tally.N <= 0) return "0";
    return FormatFixed(double(tally.Sum) / double(tally.N) / PowerOfTen(Header.TimeUnitIndex),
                       Header.TimeUnitIndex + 2, Frame.Format);
  }

  std::string TimeText(std::int64_t units) const {
    return TicksToTimeText(units, Header, Frame.Format);
  }

  // The estimated duration of interval data, by the sampling method.
  std::string EstimateText(int i) const {
    std::int64_t units = 0;
    switch (Header.IntervalUnitMark) {
      case 1: units = Dur[i]; break;
      case 2: units = Dur[i] - Freq[i]; break;
      case 3: units = Dur[i] + Freq[i]; break;
      default: return "";
    }
    const std::int64_t n = Header.IntervalDuration;
    if (n != 0 && (units > INT64_MAX / n || units < -INT64_MAX / n))
      throw CommandError("The estimated duration of " + Choices.PickedCodes[std::size_t(i - 1)] +
                         " is too large to write.");
    return TimeText(units * n);
  }

  void AppendCell(const std::string& cell, std::string& resultRow, std::string& exportRow) const {
    if (Frame.ShowResults()) resultRow += "\t" + cell;
    if (Frame.Exporting()) exportRow += "\t" + cell;
  }

  void AppendCodeCells(int i, std::string& resultRow, std::string& exportRow);
  std::string TotalsLine() const;

  const MdsHeader& Header;
  const RunFrame& Frame;
  const SimpleStatsChoices& Choices;
  const SimpleStatsRun& Run;
  const PoolingGroups& Groups;
  UserDialogue& Dialogue;
  RunOutput& Output;
  const int NPicked;
  const bool CodesGT7C;

  CodeSelection Picked;            // [1..NCodes]: the picked codes
  std::vector<std::int64_t> Freq;  // [0..NPicked], element 0 the sum over the picked codes
  std::vector<std::int64_t> Dur;
  std::array<std::vector<EpisodeTally>, 5> Episodes;  // [kind][1..NPicked]
  std::int64_t TotalUnits = 0;
  std::int64_t TotalTime = 0;
  std::int64_t SessionsTallied = 0;

  // Sums behind the "Totals" line of a group.
  std::int64_t DurTotal = 0;
  double SumRelFreq = 0;
  double SumRelDur = 0;
  double SumProb = 0;
};

void SimpleStatsTally::AppendCodeCells(int i, std::string& resultRow, std::string& exportRow) {
  auto cell = [&](const std::string& text) { AppendCell(text, resultRow, exportRow); };
  for (int k = 1; k <= NSimpleStats; ++k) {
    if (!Run.StatOn[k]) continue;
    switch (k) {
      case 1: cell(std::to_string(Freq[i])); break;
      case 2:
        cell(FormatRatio(Freq[i], Freq[0]));
        if (Freq[0] > 0) SumRelFreq += double(Freq[i]) / double(Freq[0]);
        break;
      case 3: cell(FormatRate(Freq[i], TotalTime)); break;
      case 4:
        DurTotal += Dur[i];
        cell(TimeText(Dur[i]));
        if (Run.Estimate) cell(EstimateText(i));
        break;
      case 5:
        cell(FormatRatio(Dur[i], Dur[0]));
        if (Dur[0] > 0) SumRelDur += double(Dur[i]) / double(Dur[0]);
        break;
      case 6:
        cell(FormatRatio(Dur[i], TotalUnits));
        if (TotalUnits > 0) SumProb += double(Dur[i]) / double(TotalUnits);
        break;
      default: {
        int kind = (k - 7) / 3 + 1;
        const EpisodeTally& tally = Episodes[kind][i];
        switch ((k - 7) % 3) {
          case 0: cell(FormatAverage(tally)); break;
          case 1: cell(tally.Min == NoMinimum ? "0" : TimeText(tally.Min)); break;
          default: cell(tally.Max == NoMaximum ? "0" : TimeText(tally.Max)); break;
        }
      }
    }
  }
}

std::string SimpleStatsTally::TotalsLine() const {
  std::string line = "Totals";
  for (int k = 1; k <= 6; ++k) {
    if (!Run.StatOn[k]) continue;
    switch (k) {
      case 1: line += "\t" + std::to_string(Freq[0]); break;
      case 2: line += "\t" + FormatFixed(SumRelFreq, Frame.NDigits, Frame.Format); break;
      case 3: line += "\t" + FormatRate(Freq[0], TotalTime); break;
      case 4:
        line += "\t" + TimeText(DurTotal);
        if (Run.Estimate) line += "\t";
        break;
      case 5: line += "\t" + FormatFixed(SumRelDur, Frame.NDigits, Frame.Format); break;
      case 6:
        line += "\t" + StripLeadingZero(FormatFixed(SumProb, Frame.NDigits, Frame.Format),
                                        Frame.Format);
        break;
    }
  }
  return line;
}

void SimpleStatsTally::WriteGroupResults(int count, const SessionValues& last) {
  dynString& results = Output.ResultLines;
  if (Frame.ShowResults()) {
    WriteGroupTitle(results, Header, Groups, Choices.Pooling.PoolOverSessions, last, count);
    if (Choices.StatCB[CBrate]) {
      results.push_back("Rate: #/" + std::to_string(Choices.RateFactor) + " " +
                        (IsTimedOrState(Header) ? Header.TimeUnitLabel : std::string("seconds")));
    }
    std::string heading = "Codes:";
    for (int k = 1; k <= NSimpleStats; ++k) {
      if (Run.StatOn[k]) heading += "\t" + (k == 4 ? Run.DuraLabel : std::string(StatLabels[k]));
    }
    if (CodesGT7C) heading += "\tCodes";
    results.push_back(heading);
  }
  std::string exportRow;
  if (Frame.Exporting()) {
    exportRow = MakeExportRowLabel(Header, Groups, Choices.Pooling.PoolOverSessions, last);
  }
  DurTotal = 0;
  SumRelFreq = SumRelDur = SumProb = 0;
  for (int i = 1; i <= NPicked; ++i) {
    const std::string& name = Choices.PickedCodes[std::size_t(i - 1)];
    std::string row = FirstCharacters(name, 7);
    AppendCodeCells(i, row, exportRow);
    if (CodesGT7C) row += "\t" + name;
    if (Frame.ShowResults()) results.push_back(row);
  }
  if (Frame.ShowResults()) {
    std::string totals = TotalsLine();
    if (totals != "Totals") results.push_back(totals);
    results.push_back("#Units:\t" +
                      (IsTimedOrState(Header) ? TimeText(TotalUnits) : std::to_string(TotalUnits)) +
                      "\t" + Header.TimeUnitLabel);
    if (TotalTime != TotalUnits) results.push_back("Length:\t" + TimeText(TotalTime) + "\tseconds");
    results.push_back("");
  }
  if (Frame.Exporting()) Output.ExportRows.push_back(exportRow);
}

std::string ExportHeaderRow(const MdsHeader& header, const PoolingGroups& groups,
                            const SimpleStatsChoices& choices, const SimpleStatsRun& run) {
  std::string row = ExportSessionHeading(header, groups, choices.Pooling.PoolOverSessions);
  for (const std::string& name : choices.PickedCodes) {
    for (int k = 1; k <= NSimpleStats; ++k) {
      if (!run.StatOn[k]) continue;
      row += "\t" + name + StatSuffixes[k];
      if (k == 4 && run.Estimate) row += "\t" + name + "ED";
    }
  }
  return row;
}

}  // namespace

bool PrepareRun(const MdsHeader& header, SimpleStatsChoices& choices, PoolingGroups& groups,
                UserDialogue& dialogue, SimpleStatsRun& run) {
  const auto& box = choices.StatCB;
  if (choices.PickedCodes.empty()) {
    dialogue.Notify("Select one or more codes.");
    return false;
  }
  bool anyKind = box[CBepso] || box[CBgaps] || box[CBonst] || box[CBL10C];
  if ((box[CBavg] || box[CBmin] || box[CBmax]) && !anyKind) {
    dialogue.Notify("Check dur|gap|etc or uncheck avg|min|max.");
    return false;
  }
  AskPoolOverSessions(header, choices.Pooling, groups, dialogue);

  run = SimpleStatsRun();
  for (int k = 1; k <= 6; ++k) run.StatOn[k] = box[k];
  for (int kind = Durations; kind <= Latencies; ++kind) {
    if (!box[KindBox[kind]]) continue;
    run.StatOn[KindBase[kind]] = box[CBavg];
    run.StatOn[KindBase[kind] + 1] = box[CBmin];
    run.StatOn[KindBase[kind] + 2] = box[CBmax];
  }
  bool anyOn = false;
  for (int k = 1; k <= NSimpleStats; ++k) {
    anyOn = anyOn || run.StatOn[k];
    if (run.StatOn[k]) (k <= 6 ? run.AnyBasic : run.AnyEpisode) = true;
  }
  if (!anyOn) {
    dialogue.Notify("Check some statistics.");
    return false;
  }
  run.PickedIdx.assign(1, 0);
  for (const std::string& name : choices.PickedCodes) {
    int code = FindCodeIndex(name, header.CodeNames, header.NCodes);
    if (code < 1) throw CommandError("The code " + name + " is not in the loaded file.");
    run.PickedIdx.push_back(code);
  }
  run.Estimate = header.IntervalUnitMark > 0 &&
                 std::int64_t{header.IntervalUnitMark} + header.IntervalDuration > 2;
  run.DuraLabel = run.Estimate ? "dura\testD" : "dura";
  return true;
}

bool RunSimpleStats(LinesView mdsLines, int linePos0, const MdsHeader& header,
                    const RunFrame& frame, SimpleStatsChoices& choices, PoolingGroups& groups,
                    UserDialogue& dialogue, RunOutput& output) {
  SimpleStatsRun run;
  if (!PrepareRun(header, choices, groups, dialogue, run)) return false;
  StartRun(frame, header, mdsLines, output, dialogue);
  InitPooling(header, groups);
  BuildPoolingGroups(mdsLines, linePos0, header, choices.Pooling, groups);
  if (frame.Exporting()) output.ExportRows.push_back(ExportHeaderRow(header, groups, choices, run));
  SimpleStatsTally tally(header, frame, choices, run, groups, dialogue, output);
  RunGroupLoop(mdsLines, linePos0, header, groups, tally);
  return true;
}

RateFactorEdit EditRateFactor(const std::string& text, UserDialogue& dialogue) {
  RateFactorEdit edit;
  std::string s = text.substr(0, text.find('='));
  bool wasEmpty = s.empty();
  bool changed = false;
  if (wasEmpty) {
    dialogue.Beep();
  } else {
    for (std::size_t p = s.size(); p-- > 0;) {
      if (s[p] < '0' || s[p] > '9') {
        s.erase(p, 1);
        dialogue.Beep();
        changed = true;
      }
    }
  }
  if (s.empty()) s = "1";
  std::size_t first = s.find_first_not_of('0');
  std::string significant = first == std::string::npos ? "" : s.substr(first);
  if (significant.size() > 5 || (significant.size() == 5 && significant > "32767")) {
    s = "32767";
    dialogue.Beep();
    changed = true;
  } else if (significant.empty()) {
    s = "1";
    dialogue.Beep();
    changed = true;
  }
  edit.TextChanged = changed || wasEmpty;
  edit.Text = edit.TextChanged ? s : text;
  edit.RateFactor = std::stoi(s);
  return edit;
}

}  // namespace vork
