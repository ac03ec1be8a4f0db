#include "analysis/table_stats.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <exception>
#include <functional>
#include <vector>

#include "analysis/lagged_tally.h"
#include "analysis/table_stats_output.h"
#include "core/command_error.h"
#include "core/results_format.h"
#include "core/user_dialogue.h"

namespace vork {

namespace {

// A group as the file's one reading left it: enough to count every lag
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

// Reads the groups' sessions from the file and keeps each segment as the
// runs of units that fall into one given and one target.
class RecordingTally : public GroupTally {
 public:
  RecordingTally(const TableStatsRun& run, int nCodes, std::vector<RecordedGroup>& record,
                 const std::function<void()>& sessionDone)
      : Run(run), Record(record), SessionDone(sessionDone) {
    Read.assign(static_cast<std::size_t>(std::max(nCodes, 0)) + 1, 0);
    for (const dynInteger* idx : {&run.GivenIdx, &run.TargetIdx})
      for (std::size_t i = 1; i < idx->size(); ++i)
        if ((*idx)[i] >= 1 && (*idx)[i] <= nCodes) Read[static_cast<std::size_t>((*idx)[i])] = 1;
  }

  void ResetTallies() override {
    Record.emplace_back();
    Record.back().Sessions.emplace_back();
  }

  const CodeSelection& CodesRead() const override { return Read; }

  void TallySegment(const SessionValues& session, const SegmentValues& segment,
                    const SegmentRuns& runs) override {
    RecordedSession& current = Record.back().Sessions.back();
    current.SessionLabel = session.SessionLabel;
    CategorizedSegment& kept = current.Segments.emplace_back();
    kept.NTimeUnits = segment.NTimeUnits;
    kept.Givens = CategorizeUnits(runs, Run.GivenIdx);
    kept.Targets = CategorizeUnits(runs, Run.TargetIdx);
  }

  void SessionTallied() override {
    Record.back().Sessions.emplace_back();
    SessionDone();
  }

  void WriteGroupResults(int count, const SessionValues& last) override {
    RecordedGroup& group = Record.back();
    group.Sessions.pop_back();  // the place opened for a next session
    group.Count = count;
    group.Last = last;
  }

 private:
  const TableStatsRun& Run;
  std::vector<RecordedGroup>& Record;
  const std::function<void()>& SessionDone;
  CodeSelection Read;
};

// A lag range tally of this many lags stays below this many bytes; a wider
// range is counted in parts.
constexpr std::int64_t LagTallyBytes = std::int64_t{64} << 20;

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
  if (lags.empty()) return true;

  // Every group counts all lags of a part of the range in one sweep; each
  // lag's lines are kept apart and written lag after lag.
  const std::int64_t span = std::int64_t{lags.back()} - lags.front() + 1;
  const std::int64_t lagsPerPart = std::clamp<std::int64_t>(
      LagTallyBytes / std::max<std::int64_t>(LagRangeTallyBytes(0, run.NGivens, run.NTargets), 1), 1, span);
  const std::int64_t parts = (span + lagsPerPart - 1) / lagsPerPart;
  // Progress: each session read, then each session swept once a part.
  const std::int64_t steps = std::int64_t{header.NSessions} * (1 + parts);
  std::int64_t step = 0;
  const std::function<void()> sessionDone = [&] { ShowSessionProgress(++step, steps, dialogue); };

  // The file is read once; a fault in it ends the RUN after the groups read
  // before it have been written for the first lag, as reading lag by lag
  // would have left them.
  std::vector<RecordedGroup> record;
  std::exception_ptr fault;
  try {
    RecordingTally tally(run, header.NCodes, record, sessionDone);
    RunGroupLoop(mdsLines, linePos0, header, groups, tally);
  } catch (const CommandError&) {
    fault = std::current_exception();
    if (!record.empty() && record.back().Count == 0) record.pop_back();  // the group cut short
    lags.resize(1);
  }

  // The warnings of segments too short for a lag, in the order a tally lag
  // by lag meets them.
  for (const int lag : lags) {
    for (const RecordedGroup& group : record)
      for (const RecordedSession& session : group.Sessions)
        for (const CategorizedSegment& segment : session.Segments) {
          if (segment.NTimeUnits <= std::abs(std::int64_t{lag}))
            WarnShortSegment(session.SessionLabel, lag, dialogue, run.SuppressLagWarning);
        }
  }

  const std::size_t nLags = lags.size();
  std::vector<dynString> lagResults(nLags), lagRows(nLags);
  for (std::int64_t first = lags.front(); first <= lags.back(); first += lagsPerPart) {
    const int last = static_cast<int>(std::min<std::int64_t>(lags.back(), first + lagsPerPart - 1));
    LagRangeTally tally(static_cast<int>(first), last, run.NGivens, run.NTargets);
    for (const RecordedGroup& group : record) {
      tally.Clear();
      for (const RecordedSession& session : group.Sessions)
        for (const CategorizedSegment& segment : session.Segments) tally.AddSegment(segment);
      tally.Finish();
      for (std::size_t k = 0; k < nLags; ++k) {
        if (lags[k] < first || lags[k] > last) continue;
        ClearFreqTable(run);
        tally.TableOfLag(lags[k], run.FreqTable);
        if (run.DisplayResults)
          WriteGroupTitle(lagResults[k], header, groups, choices.PoolOverSessions, group.Last, group.Count);
        const std::string label =
            run.Exporting ? MakeExportRowLabel(header, groups, choices.PoolOverSessions, group.Last) : "";
        ComputeGroupStats(run, label, lags[k], lagResults[k], lagRows[k]);
      }
      step += static_cast<std::int64_t>(group.Sessions.size());
      ShowSessionProgress(step, steps, dialogue);
    }
  }
  for (std::size_t k = 0; k < nLags; ++k) {
    if (run.DisplayResults && (run.FirstLag != 0 || run.LastLag != 0)) {
      results.push_back("Lag:\t" + SignedIntToStr(lags[k]));
      results.push_back("");
    }
    for (std::string& line : lagResults[k]) results.push_back(std::move(line));
    for (std::string& row : lagRows[k]) output.ExportRows.push_back(std::move(row));
  }
  if (fault) std::rethrow_exception(fault);
  return true;
}

}  // namespace vork
