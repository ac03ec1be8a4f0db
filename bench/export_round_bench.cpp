// The n-way table export (three lagged code dimensions of 10 codes each) and
// the rounding of thousandths to seconds, over a compiled Timed file of
// 1,000,000 time units and 30 codes, each loaded from disk as a user's RUN
// would, against read() of the file's bytes and one pass over the loaded
// file (every segment read into its matrix).

#include <benchmark/benchmark.h>

#include <filesystem>

#include <unistd.h>

#include "analysis/export_table.h"
#include "analysis/session_pooling.h"
#include "bench/generated_files.h"
#include "bench/heap_peak.h"
#include "core/line_buffer.h"
#include "core/mds_reader.h"
#include "core/text_file.h"
#include "modify/round_times.h"

namespace vork {
namespace {

constexpr int NCodes = 30;
constexpr int NUnits = 1000000;

struct LoadedFile {
  dynString Lines = MakeTimedCompiledFile(NCodes, NUnits);
  MdsHeader Header;
  std::string Path = (std::filesystem::temp_directory_path() /
                      ("vork_export_round_" + std::to_string(::getpid()) + ".mds")).string();
  LoadedFile() {
    SilentDialogue dialogue;
    ReadMdsHeaderFromLines(Lines, "bench.mds", Header, dialogue);
    SaveTextLines(Path, Lines);
  }
  ~LoadedFile() {
    std::error_code ignored;
    std::filesystem::remove(Path, ignored);
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

void ReadTheFileBytes(benchmark::State& state) { ReadFileBytes(state, File().Path); }

void ExportLaggedTable(benchmark::State& state) {
  const LoadedFile& file = File();
  ExportTableChoices choices;
  choices.CodeDims.resize(3);
  for (int c = 1; c <= NCodes; ++c) choices.CodeDims[size_t((c - 1) / 10)].push_back(File().Header.CodeNames[size_t(c)]);
  choices.DimNames = {"lag0", "lag1", "lag2"};
  choices.LaggedUnits = true;
  choices.CodesCantRepeat = true;
  choices.AddEtcCode = true;
  SilentDialogue dialogue;
  for (auto _ : state) {
    const LineBuffer lines = LineBuffer::Load(file.Path);
    MdsHeader header;
    ReadMdsHeaderFromLines(lines, "bench.mds", header, dialogue);
    NWayTable table;
    SetUpTable(header, choices, table, dialogue);
    TallyFile(lines, header, choices, table, dialogue);
    CheckStructuralZeros(table, dialogue);
    std::size_t bytes = 0;
    WriteExportTable(table, [&](const std::string& row) { bytes += row.size(); });
    benchmark::DoNotOptimize(bytes);
  }
}

void RoundThousandthsToSeconds(benchmark::State& state) {
  const LoadedFile& file = File();
  SilentDialogue dialogue;
  for (auto _ : state) {
    const LineBuffer lines = LineBuffer::Load(file.Path);
    MdsHeader header;
    ReadMdsHeaderFromLines(lines, "bench.mds", header, dialogue);
    RoundingOutput output;
    RoundMdsTimes(lines, header, "bench.mds", 0, "bench", output, dialogue);
    benchmark::DoNotOptimize(output.MdsLines.size());
  }
}

// Rounding hundredths to tenths on the 100 MB many-session file as a user's
// RUN does it: load, round, the new file in memory; peak heap against the
// file's size.
void ReadManySessionBytes(benchmark::State& state) { ReadFileBytes(state, ManySessionFilePath()); }

void RoundManySessionsToTenths(benchmark::State& state) {
  const std::string& path = ManySessionFilePath();
  SilentDialogue dialogue;
  std::int64_t peak = 0, rss = 0;
  for (auto _ : state) {
    bench::HeapPeak heap;
    bench::RssPeak resident;
    const LineBuffer lines = LineBuffer::Load(path);
    MdsHeader header;
    ReadMdsHeaderFromLines(lines, "bench.mds", header, dialogue);
    RoundingOutput output;
    RoundMdsTimes(lines, header, "bench.mds", 1, "bench", output, dialogue);
    benchmark::DoNotOptimize(output.MdsLines.size());
    peak = std::max(peak, heap.Bytes());
    rss = std::max(rss, resident.Bytes());
  }
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["peak_heap_per_file"] = static_cast<double>(peak) / static_cast<double>(bytes);
  state.counters["peak_rss_per_file"] = static_cast<double>(rss) / static_cast<double>(bytes);
}

BENCHMARK(ReadManySessionBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(RoundManySessionsToTenths)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadTheFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(OnePassOverFile)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportLaggedTable)->Unit(benchmark::kMillisecond);
BENCHMARK(RoundThousandthsToSeconds)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vork
