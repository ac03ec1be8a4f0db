// Table statistics over 100 lags of a compiled Timed file of 1,000,000 time
// units with 10 givens and 10 targets, against one pass over the same file
// (every segment read into its matrix, as any analysis must).

#include <benchmark/benchmark.h>

#include <random>

#include "analysis/session_pooling.h"
#include "analysis/table_stats.h"
#include "bench/generated_files.h"
#include "core/mds_reader.h"
#include "core/segment_writer.h"

namespace vork {
namespace {

constexpr int NCodes = 20;
constexpr int NUnits = 1000000;

dynString MakeCompiledFile() { return MakeTimedCompiledFile(NCodes, NUnits); }

struct LoadedFile {
  LineBuffer Lines{MakeCompiledFile()};
  MdsHeader Header;
  LoadedFile() {
    SilentDialogue dialogue;
    ReadMdsHeaderFromLines(Lines, "bench.mds", Header, dialogue);
    Header.CodeNames[0] = "&";
  }
};

const LoadedFile& File() {
  static const LoadedFile file;
  return file;
}

class NoTally : public GroupTally {
 public:
  void ResetTallies() override {}
  const CodeSelection& CodesRead() const override { return All; }
  void TallySegment(const SessionValues&, const SegmentValues&, const SegmentRuns& runs) override {
    SegmentMatrixFromRuns(runs, Matrix);
    benchmark::DoNotOptimize(Matrix.data());
  }
  CodeSelection All;
  dynChar2 Matrix;
  void WriteGroupResults(int, const SessionValues&) override {}
};

void OnePassOverFile(benchmark::State& state) {
  const LoadedFile& file = File();
  for (auto _ : state) {
    PoolingGroups groups;
    NoTally tally;
    RunGroupLoop(file.Lines, file.Header.LineIndex, file.Header, groups, tally);
  }
}

void TableStatsLags(benchmark::State& state) {
  const LoadedFile& file = File();
  TableStatsRequest request;
  for (int c = 1; c <= 10; ++c) request.GivenCodes.push_back("C" + std::to_string(c));
  for (int c = 11; c <= 20; ++c) request.TargetCodes.push_back("C" + std::to_string(c));
  request.LagFrom = 1;
  request.LagTo = int(state.range(0));
  for (int s : {JNTF, EXPF, ADJR, YULQ, XSQ, KAPPA}) request.StatChecked[std::size_t(s - 1)] = true;
  SilentDialogue dialogue;
  for (auto _ : state) {
    RunFrame frame;
    PoolingChoices choices;
    PoolingGroups groups;
    RunOutput output;
    RunTableStats(request, TableStatsOptions{}, frame, file.Header, file.Lines,
                  file.Header.LineIndex, choices, groups, output, dialogue);
    benchmark::DoNotOptimize(output.ResultLines.size());
  }
}

BENCHMARK(OnePassOverFile)->Unit(benchmark::kMillisecond);
BENCHMARK(TableStatsLags)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vork
