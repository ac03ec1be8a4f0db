#include "analysis/breakdown_events.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "analysis/session_pooling.h"
#include "core/code_lists.h"
#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/results_format.h"
#include "core/segment_budget.h"

namespace vork {
namespace {

// What the hierarchical tally keeps per time unit of a segment.
constexpr std::int64_t HierarchyBytesPerUnit = 2 * sizeof(std::int32_t);

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
    GivenIdx = CodeIndexList(Choices.GivenCodes);
    TargetIdx = CodeIndexList(Choices.TargetCodes);
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

  void TallySegment(const SegmentValues& segment, const dynChar2& matrix) {
    Units = segment.NTimeUnits;
    StartTime = segment.StartTime;
    Rows.assign(std::size_t(std::max(Header.NCodes, 0)) + 1, nullptr);
    for (int c = 1; c <= Header.NCodes; ++c) {
      const std::size_t r = std::size_t(c - 1);
      if (r < matrix.size() && int(matrix[r].size()) >= Units) Rows[std::size_t(c)] = matrix[r].data();
    }
    if (Choices.TallyHierarch) MarkUnitsForHierarchy();

    // The onsets of the 1st-level codes in unit order, and within a unit in
    // list order: each code's next onset is found by a search along its row.
    std::vector<int> next(std::size_t(NGivens) + 1, Units);
    auto findOnset = [&](int g, int from) {
      const char* cells = Rows[std::size_t(GivenIdx[std::size_t(g)])];
      const void* at = cells == nullptr || from >= Units
                           ? nullptr
                           : std::memchr(cells + from, '2', std::size_t(Units - from));
      next[std::size_t(g)] = at == nullptr ? Units : int(static_cast<const char*>(at) - cells);
    };
    for (int g = 1; g <= NGivens; ++g) findOnset(g, 0);
    for (;;) {
      int u = Units;
      for (int g = 1; g <= NGivens; ++g) u = std::min(u, next[std::size_t(g)]);
      if (u == Units) break;
      for (int g = 1; g <= NGivens; ++g) {
        if (next[std::size_t(g)] != u) continue;
        TallyBout(g, u);
        findOnset(g, u + 1);
      }
    }
  }

 private:
  dynInteger CodeIndexList(const dynString& names) const {
    dynInteger indices(names.size() + 1, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
      indices[i + 1] = FindCodeIndex(names[i], Header.CodeNames, Header.NCodes);
    }
    return indices;
  }

  // Per unit: the first 2nd-level code on, in list order (0 when none), and
  // how many of the codes pooled in "etc" are on.
  void MarkUnitsForHierarchy() {
    const std::size_t units = std::size_t(Units);
    FirstTargetOn.assign(units, 0);
    EtcCodesOn.assign(units, 0);
    std::int32_t* first = FirstTargetOn.data();
    std::int32_t* etc = EtcCodesOn.data();
    for (int j = NTargets; j >= 1; --j) {
      const char* cells = Rows[std::size_t(TargetIdx[std::size_t(j)])];
      if (cells == nullptr) continue;
      for (std::size_t v = 0; v < units; ++v) {
        const std::int32_t on = cells[v] != '.';
        first[v] = on * j + (1 - on) * first[v];
      }
    }
    for (int c = 1; c <= Header.NCodes; ++c) {
      const char* cells = Rows[std::size_t(c)];
      if (cells == nullptr || ColumnOf[std::size_t(c)] != Etc) continue;
      for (std::size_t v = 0; v < units; ++v) etc[v] += cells[v] != '.';
    }
  }

  // The bout of 1st-level code g with its onset at unit u.
  void TallyBout(int g, int u) {
    const int G = GivenIdx[std::size_t(g)];
    const char* given = Rows[std::size_t(G)];
    int e = u + 1;
    while (e < Units && given[e] != '.' && given[e] != '2') ++e;

    std::fill(D.begin(), D.end(), 0);
    std::fill(F.begin(), F.end(), 0);
    // A code already on when the bout begins counts one occurrence.
    for (int c = 1; c <= Header.NCodes; ++c) {
      const char* cells = Rows[std::size_t(c)];
      if (c == G || cells == nullptr) continue;
      const std::size_t k = std::size_t(ColumnOf[std::size_t(c)]);
      std::int32_t on = cells[u] != '.';
      std::int32_t onsets = on;
      for (int v = u + 1; v < e; ++v) {
        on += cells[v] != '.';
        onsets += cells[v] == '2';
      }
      D[k] += on;
      F[k] += onsets;
    }
    if (Choices.TallyHierarch) {
      // Each unit counts once: for the first 2nd-level code on, else for
      // "etc" when a code other than G and the 2nd-level codes is on. G is
      // on throughout its bout, so it is taken off the "etc" count.
      std::fill(D.begin(), D.end(), 0);
      const int givenInEtc = ColumnOf[std::size_t(G)] == Etc;
      for (int v = u; v < e; ++v) {
        const int first = FirstTargetOn[std::size_t(v)];
        if (first > 0) {
          ++D[std::size_t(first)];
        } else if (EtcCodesOn[std::size_t(v)] - givenInEtc > 0) {
          ++D[std::size_t(Etc)];
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
  std::vector<const char*> Rows;  // [1..NCodes]: the segment's cells of each code
  dynInteger FirstTargetOn;       // [0..Units-1]
  dynInteger EtcCodesOn;          // [0..Units-1]
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
  dynChar2 matrix;
  const std::int64_t hierarchyBytes = choices.TallyHierarch ? HierarchyBytesPerUnit : 0;
  for (int s = 1; s <= header.NSessions; ++s) {
    ReadSession(mdsLines, lineIndex, header, session);
    ShowSessionProgress(s, header.NSessions, dialogue);
    breakdown.StartSession(session);
    for (int g = 1; g <= session.NSegments; ++g) {
      ReadSegmentHeader(mdsLines, lineIndex, segment.NDataLines, segment.NTimeUnits,
                        segment.StartTime, segment.StopTime);
      CheckSegmentBudget(header.NCodes, segment.NTimeUnits, hierarchyBytes,
                         "Session " + session.SessionLabel + ", segment " + std::to_string(g));
      ReadSegmentData(mdsLines, lineIndex, header.NCodes, segment.NDataLines, segment.NTimeUnits,
                      header.Compressed, matrix);
      breakdown.TallySegment(segment, matrix);
    }
  }
  return true;
}

}  // namespace vork
