#include "analysis/breakdown_events.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/code_lists.h"
#include "core/command_error.h"
#include "core/results_format.h"
#include "core/segment_budget.h"
#include "core/segment_runs.h"
#include "core/session_reader.h"

namespace vork {
namespace {

// What the hierarchical tally keeps per stretch between changes of a segment.
constexpr std::int64_t HierarchyBytesPerStretch = 2 * sizeof(std::int32_t);

// Breaks the bouts of one RUN down, segment by segment, and writes a row
// per bout. Code numbers (GivenIdx, TargetIdx) are 0 for a name that is not
// a code of the file; such a code is never on.
class BoutBreakdown {
 public:
  BoutBreakdown(const MdsHeader& header, const RunFrame& frame, const BreakdownChoices& choices,
                RunOutput& output)
      : Header(header), Frame(frame), Choices(choices), Output(output) {}

  // False after the notice when a level list is empty.
  bool PrepareBreakdown(UserDialogue& dialogue) {
    if (Choices.GivenCodes.empty() || Choices.TargetCodes.empty()) {
      dialogue.Notify("Select 1st level event and breakdown codes.");
      return false;
    }
    NGivens = int(Choices.GivenCodes.size());
    NTargets = int(Choices.TargetCodes.size());
    GivenIdx = CodeIndexList(Choices.GivenCodes, Header.CodeNames, Header.NCodes);
    TargetIdx = CodeIndexList(Choices.TargetCodes, Header.CodeNames, Header.NCodes);
    Etc = NTargets + 1;
    ColumnOf.assign(std::size_t(std::max(Header.NCodes, 0)) + 1, Etc);
    for (int j = 1; j <= NTargets; ++j) ColumnOf[std::size_t(TargetIdx[std::size_t(j)])] = j;
    D.assign(std::size_t(Etc) + 1, 0);
    F.assign(std::size_t(Etc) + 1, 0);
    return true;
  }

  void WriteHeaderRow() {
    std::string row = "sesn";
    for (int f = 1; f <= Header.NFactors; ++f) row += "\t" + Header.FactorNames[std::size_t(f)];
    row += "\tEvent";
    if (Choices.ListOnsetTimes) row += "\tonset";
    row += "\tdura";
    for (const char* suffix : {"D", "F"}) {
      for (const std::string& name : Choices.TargetCodes) row += "\t" + name + suffix;
      row += std::string("\tetc") + suffix;
    }
    WriteRow(row);
  }

  // The session's label cells begin every row of its bouts.
  void StartSession(const SessionValues& session) {
    SessionCells = session.SessionLabel;
    // The session reader has checked each level against its factor's levels.
    for (int f = 1; f <= Header.NFactors; ++f) {
      SessionCells += "\t" + Header.FactorLevelNames[std::size_t(f)]
                                                    [std::size_t(session.SessionLevels[std::size_t(f)])];
    }
  }

  void TallySegment(const SessionValues& session, int g, const SegmentValues& segment,
                    const SegmentRuns& runs) {
    Runs = &runs;
    Units = segment.NTimeUnits;
    StartTime = segment.StartTime;
    NextRun.assign(std::size_t(std::max(Header.NCodes, 0)) + 1, 0);
    if (Choices.TallyHierarch) {
      CheckSegmentBudget(0, std::int64_t(runs.ChangeUnits.size()), HierarchyBytesPerStretch,
                         "Session " + session.SessionLabel + ", segment " + std::to_string(g));
      MarkStretchesForHierarchy();
    }

    // The onsets of the 1st-level codes in unit order, and within a unit in
    // list order.
    std::vector<OnsetCursor> next(std::size_t(NGivens) + 1);
    for (int k = 1; k <= NGivens; ++k) FirstOnset(k, next[std::size_t(k)]);
    for (;;) {
      int u = Units;
      for (int k = 1; k <= NGivens; ++k) u = std::min(u, next[std::size_t(k)].Unit);
      if (u >= Units) break;
      for (int k = 1; k <= NGivens; ++k) {
        OnsetCursor& cursor = next[std::size_t(k)];
        if (cursor.Unit != u) continue;
        TallyBout(k, u, BoutEnd(k, cursor));
        NextOnset(k, cursor);
      }
    }
  }

 private:
  // The next onset unit of a 1st-level code: in its Run-th run, which is a
  // run of onsets; Unit is Units when there is none.
  struct OnsetCursor {
    std::size_t Run = 0;
    int Unit = 0;
  };

  const std::vector<CodeRun>& RunsOf(int code) const {
    static const std::vector<CodeRun> none;
    return code >= 1 && std::size_t(code) < Runs->Runs.size() ? Runs->Runs[std::size_t(code)] : none;
  }

  // The first onset in or after run k of the code.
  void OnsetFromRun(int g, std::size_t k, OnsetCursor& cursor) const {
    const std::vector<CodeRun>& runs = RunsOf(GivenIdx[std::size_t(g)]);
    while (k < runs.size() && !runs[k].Onset) ++k;
    cursor.Run = k;
    cursor.Unit = k < runs.size() ? runs[k].Start : Units;
  }
  void FirstOnset(int g, OnsetCursor& cursor) const { OnsetFromRun(g, 0, cursor); }
  void NextOnset(int g, OnsetCursor& cursor) const {
    const std::vector<CodeRun>& runs = RunsOf(GivenIdx[std::size_t(g)]);
    if (cursor.Unit + 1 < runs[cursor.Run].End) {
      ++cursor.Unit;
    } else {
      OnsetFromRun(g, cursor.Run + 1, cursor);
    }
  }

  // A bout lasts from its onset through the units the code continues in:
  // up to the next onset, the next unit off or the segment's end.
  int BoutEnd(int g, const OnsetCursor& cursor) const {
    const std::vector<CodeRun>& runs = RunsOf(GivenIdx[std::size_t(g)]);
    const CodeRun& onsets = runs[cursor.Run];
    if (cursor.Unit + 1 < onsets.End) return cursor.Unit + 1;
    const std::size_t k = cursor.Run + 1;
    if (k < runs.size() && runs[k].Start == onsets.End && !runs[k].Onset) return runs[k].End;
    return onsets.End;
  }

  // Per stretch between two changes of the segment: the first 2nd-level
  // code on, in list order (0 when none), and how many of the codes pooled
  // in "etc" are on.
  void MarkStretchesForHierarchy() {
    const std::vector<std::int32_t>& changes = Runs->ChangeUnits;
    FirstTargetOn.assign(changes.size(), 0);
    EtcCodesOn.assign(changes.size(), 0);
    NextStretch = 0;
    auto stretchOf = [&](std::int32_t unit) {
      return std::size_t(std::lower_bound(changes.begin(), changes.end(), unit) - changes.begin());
    };
    auto mark = [&](int code, auto&& markStretch) {
      for (const CodeRun& run : RunsOf(code)) {
        for (std::size_t i = stretchOf(run.Start); i < changes.size() && changes[i] < run.End; ++i) {
          markStretch(i);
        }
      }
    };
    for (int j = NTargets; j >= 1; --j) {
      mark(TargetIdx[std::size_t(j)], [&](std::size_t i) { FirstTargetOn[i] = j; });
    }
    for (int c = 1; c <= Header.NCodes; ++c) {
      if (ColumnOf[std::size_t(c)] == Etc) mark(c, [&](std::size_t i) { ++EtcCodesOn[i]; });
    }
  }

  // The bout of 1st-level code g from its onset at unit u up to unit e.
  void TallyBout(int g, int u, int e) {
    const int G = GivenIdx[std::size_t(g)];
    std::fill(D.begin(), D.end(), 0);
    std::fill(F.begin(), F.end(), 0);
    // Bouts come in the order of their onsets, so each code's first run
    // that may reach a bout only moves on.
    for (int c = 1; c <= Header.NCodes; ++c) {
      if (c == G) continue;
      const std::vector<CodeRun>& runs = RunsOf(c);
      std::size_t& k = NextRun[std::size_t(c)];
      while (k < runs.size() && runs[k].End <= u) ++k;
      std::int32_t on = 0;
      std::int32_t onsets = 0;
      for (std::size_t j = k; j < runs.size() && runs[j].Start < e; ++j) {
        const int from = std::max(runs[j].Start, u);
        const int to = std::min(runs[j].End, e);
        on += to - from;
        // A code already on when the bout begins counts one occurrence.
        if (runs[j].Start <= u) ++onsets;
        if (runs[j].Onset) onsets += std::max(0, to - std::max(from, u + 1));
      }
      const std::size_t column = std::size_t(ColumnOf[std::size_t(c)]);
      D[column] += on;
      F[column] += onsets;
    }
    if (Choices.TallyHierarch) {
      // Each unit counts once: for the first 2nd-level code on, else for
      // "etc" when a code other than G and the 2nd-level codes is on. G is
      // on throughout its bout, so it is taken off the "etc" count.
      std::fill(D.begin(), D.end(), 0);
      const int givenInEtc = ColumnOf[std::size_t(G)] == Etc;
      const std::vector<std::int32_t>& changes = Runs->ChangeUnits;
      while (NextStretch + 1 < changes.size() && changes[NextStretch + 1] <= u) ++NextStretch;
      for (std::size_t i = NextStretch; i < changes.size() && changes[i] < e; ++i) {
        const int to = std::min(i + 1 < changes.size() ? changes[i + 1] : Units, e);
        const int units = to - std::max(changes[i], u);
        if (FirstTargetOn[i] > 0) {
          D[std::size_t(FirstTargetOn[i])] += units;
        } else if (EtcCodesOn[i] - givenInEtc > 0) {
          D[std::size_t(Etc)] += units;
        }
      }
    }

    std::string row = SessionCells + "\t" + Choices.GivenCodes[std::size_t(g - 1)];
    if (Choices.ListOnsetTimes) row += "\t" + OnsetTime(u);
    row += "\t" + std::to_string(e - u);
    for (int k = 1; k <= Etc; ++k) row += "\t" + std::to_string(D[std::size_t(k)]);
    for (int k = 1; k <= Etc; ++k) row += "\t" + std::to_string(F[std::size_t(k)]);
    WriteRow(row);
  }

  std::string OnsetTime(int u) const {
    const std::uint64_t time = std::uint64_t{StartTime} + std::uint64_t(u);
    if (time > std::numeric_limits<std::uint32_t>::max()) {
      throw CommandError("A bout begins at time unit " + std::to_string(time) +
                         ", beyond the times a compiled file can hold.");
    }
    return FormatTime(std::uint32_t(time), Header.TimeFormat, Header.TimeUnitIndex);
  }

  void WriteRow(const std::string& row) {
    if (Frame.Exporting()) Output.ExportRows.push_back(row);
    if (Frame.ShowResults()) Output.ResultLines.push_back(row);
  }

  const MdsHeader& Header;
  const RunFrame& Frame;
  const BreakdownChoices& Choices;
  RunOutput& Output;

  int NGivens = 0;
  int NTargets = 0;
  int Etc = 1;            // the column of every code not in the 2nd-level list
  dynInteger GivenIdx;    // [1..NGivens]
  dynInteger TargetIdx;   // [1..NTargets]
  dynInteger ColumnOf;    // [1..NCodes]
  dynInteger D;           // [1..Etc]: time units on in the current bout
  dynInteger F;           // [1..Etc]: occurrences in the current bout

  std::string SessionCells;
  int Units = 0;
  std::uint32_t StartTime = 0;
  const SegmentRuns* Runs = nullptr;
  std::vector<std::size_t> NextRun;  // [1..NCodes]: the first run of each code that may reach a bout
  dynInteger FirstTargetOn;          // per stretch between changes
  dynInteger EtcCodesOn;             // per stretch between changes
  std::size_t NextStretch = 0;       // the stretch of the current bout's onset
};

}  // namespace

bool BreakdownAcceptsDataType(int dataType) { return dataType == Timed || dataType == State; }

bool RunBreakdown(LinesView mdsLines, int linePos0, const MdsHeader& header,
                  const RunFrame& frame, const BreakdownChoices& choices, UserDialogue& dialogue,
                  RunOutput& output) {
  if (!BreakdownAcceptsDataType(header.DataType)) {
    dialogue.Notify(BreakdownDataTypeNotice);
    return false;
  }
  BoutBreakdown breakdown(header, frame, choices, output);
  if (!breakdown.PrepareBreakdown(dialogue)) return false;
  StartRun(frame, header, mdsLines, output, dialogue);
  breakdown.WriteHeaderRow();

  int lineIndex = linePos0;
  SessionValues session;
  SegmentValues segment;
  SegmentRuns runs;
  for (int s = 1; s <= header.NSessions; ++s) {
    ReadSession(mdsLines, lineIndex, header, session);
    ShowSessionProgress(s, header.NSessions, dialogue);
    breakdown.StartSession(session);
    for (int g = 1; g <= session.NSegments; ++g) {
      ReadSegment(mdsLines, lineIndex, segment);
      ReadSegmentRuns(mdsLines, lineIndex, header, segment, runs);
      breakdown.TallySegment(session, g, segment, runs);
    }
  }
  return true;
}

}  // namespace vork
