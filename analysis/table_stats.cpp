#include "analysis/table_stats.h"

#include <cstddef>
#include <vector>

#include "analysis/lagged_tally.h"
#include "analysis/table_stats_output.h"
#include "core/results_format.h"

namespace vork {

namespace {

// A group as the first lag read it: enough to count any other lag again
// without the file.
struct RecordedSession {
  std::string SessionLabel;
  std::vector<CategorizedSegment> Segments;
};
struct RecordedGroup {
  int Count = 0;
  SessionValues Last;
  std::vector<RecordedSession> Sessions;
};

// What every group of every lag shares.
struct LagContext {
  TableStatsRun& Run;
  const MdsHeader& Header;
  const PoolingGroups& Groups;
  const PoolingChoices& Choices;
  RunOutput& Output;
  UserDialogue& Dialogue;
  std::int64_t SessionsCounted = 0;
  std::int64_t SessionsToCount = 0;

  void SessionDone() { ShowSessionProgress(++SessionsCounted, SessionsToCount, Dialogue); }

  void WriteGroup(int count, const SessionValues& last, int lag) {
    if (Run.DisplayResults)
      WriteGroupTitle(Output.ResultLines, Header, Groups, Choices.PoolOverSessions, last, count);
    const std::string label =
        Run.Exporting ? MakeExportRowLabel(Header, Groups, Choices.PoolOverSessions, last) : "";
    ComputeGroupStats(Run, label, lag, Output.ResultLines, Output.ExportRows);
  }
};

// The first lag: reads the groups' sessions from the file, tallies them and
// keeps each segment's runs for the other lags.
class RecordingTally : public GroupTally {
 public:
  RecordingTally(LagContext& context, int lag, std::vector<RecordedGroup>& record)
      : Context(context), Lag(lag), Record(record) {}

  void ResetTallies() override {
    ClearFreqTable(Context.Run);
    Record.emplace_back();
    Record.back().Sessions.emplace_back();
  }

  void TallySegment(const SessionValues& session, const SegmentValues& segment,
                    const dynChar2& matrix) override {
    TableStatsRun& run = Context.Run;
    RecordedSession& current = Record.back().Sessions.back();
    current.SessionLabel = session.SessionLabel;
    CategorizedSegment& kept = current.Segments.emplace_back();
    kept.NTimeUnits = segment.NTimeUnits;
    kept.Givens = CategorizeUnits(matrix, segment.NTimeUnits, run.GivenIdx);
    kept.Targets = CategorizeUnits(matrix, segment.NTimeUnits, run.TargetIdx);
    TallyLaggedPairs(session.SessionLabel, std::span(&kept, 1), Lag, run.FreqTable,
                     Context.Dialogue, run.SuppressLagWarning);
  }

  void SessionTallied() override {
    Record.back().Sessions.emplace_back();
    Context.SessionDone();
  }

  void WriteGroupResults(int count, const SessionValues& last) override {
    RecordedGroup& group = Record.back();
    group.Sessions.pop_back();  // the place opened for a next session
    group.Count = count;
    group.Last = last;
    Context.WriteGroup(count, last, Lag);
  }

 private:
  LagContext& Context;
  int Lag;
  std::vector<RecordedGroup>& Record;
};

// Any later lag: the same groups, sessions and segments from the record.
void ReplayLag(LagContext& context, const std::vector<RecordedGroup>& record, int lag) {
  TableStatsRun& run = context.Run;
  for (const RecordedGroup& group : record) {
    ClearFreqTable(run);
    for (const RecordedSession& session : group.Sessions) {
      TallyLaggedPairs(session.SessionLabel, session.Segments, lag, run.FreqTable,
                       context.Dialogue, run.SuppressLagWarning);
      context.SessionDone();
    }
    context.WriteGroup(group.Count, group.Last, lag);
  }
}

}  // namespace

bool RunTableStats(const TableStatsRequest& request, const TableStatsOptions& options,
                   const RunFrame& frame, const MdsHeader& header, LinesView mdsLines,
                   int linePos0, PoolingChoices& choices, PoolingGroups& groups,
                   RunOutput& output, UserDialogue& dialogue) {
  TableStatsRun run;
  const bool prepared = PrepareRun(
      request, options, frame, header.CodeNames, header.NCodes, header.DataType,
      header.TimeUnitIndex, dialogue, [&] { AskPoolOverSessions(header, choices, groups, dialogue); },
      run);
  if (!prepared) return false;
  StartRun(frame, header, mdsLines, output, dialogue);
  InitPooling(header, groups);
  BuildPoolingGroups(mdsLines, linePos0, header, choices, groups);

  dynString& results = output.ResultLines;
  if (run.DisplayResults && run.N2x2Stats > 0 && (run.NGivens > 2 || run.NTargets > 2))
    results.push_back("2x2 table stats computed pair-wise.");
  run.CodesGT7C = HasLongItems(run.NGivens, request.GivenCodes);
  if (run.Exporting)
    output.ExportRows.push_back(
        ExportHeaderRow(run, ExportSessionHeading(header, groups, choices.PoolOverSessions)));
  run.TargsGT7C = HasLongItems(run.NTargets, request.TargetCodes);
  if (run.TargsGT7C && run.DisplayResults) {
    std::string line = "Targs:";
    for (const std::string& item : request.TargetCodes) line += "\t" + item;
    results.push_back(line);
  }

  std::vector<int> lags;
  for (int lag = run.FirstLag; lag <= run.LastLag; ++lag)
    if (lag != 0 || header.DataType != Event) lags.push_back(lag);

  LagContext context{run, header, groups, choices, output, dialogue};
  context.SessionsToCount = static_cast<std::int64_t>(header.NSessions) *
                            static_cast<std::int64_t>(lags.size());
  std::vector<RecordedGroup> record;
  bool recorded = false;
  for (const int lag : lags) {
    if (run.DisplayResults && (run.FirstLag != 0 || run.LastLag != 0)) {
      results.push_back("Lag:\t" + SignedIntToStr(lag));
      results.push_back("");
    }
    if (!recorded) {
      RecordingTally tally(context, lag, record);
      RunGroupLoop(mdsLines, linePos0, header, groups, tally);
      recorded = true;
    } else {
      ReplayLag(context, record, lag);
    }
  }
  return true;
}

}  // namespace vork
