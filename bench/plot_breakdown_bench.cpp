// The plot of 5 codes and the bout breakdown of 2 1st-level by 5 2nd-level
// codes over a compiled Timed file of 1,000,000 time units and 7 codes,
// against reading the same file's bytes and against one pass reading its
// segments as runs.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "analysis/breakdown_events.h"
#include "analysis/plot_mds.h"
#include "bench/generated_files.h"
#include "core/line_buffer.h"
#include "core/mds_reader.h"
#include "core/segment_runs.h"
#include "core/session_reader.h"
#include "core/text_file.h"

namespace vork {
namespace {

constexpr int NCodes = 7;
constexpr int NUnits = 1000000;

const std::string& FilePath() {
  static const std::string path = [] {
    std::string name = std::filesystem::temp_directory_path() / "vork_plot_breakdown_bench.mds";
    SaveTextLines(name, MakeTimedCompiledFile(NCodes, NUnits));
    return name;
  }();
  return path;
}

struct LoadedFile {
  LineBuffer Lines;
  MdsHeader Header;
};

const LoadedFile& Loaded() {
  static const LoadedFile file = [] {
    LoadedFile loaded;
    SilentDialogue dialogue;
    ReadMdsHeader(loaded.Lines, FilePath(), loaded.Header, dialogue);
    return loaded;
  }();
  return file;
}

void ReadPlotFileBytes(benchmark::State& state) { ReadFileBytes(state, FilePath()); }

// One pass over the loaded file's segments, read as runs of every code: what
// each RUN below reads before it tallies or plots.
void ReadPlotFileRuns(benchmark::State& state) {
  const LoadedFile& file = Loaded();
  for (auto _ : state) {
    int lineIndex = file.Header.LineIndex;
    SessionValues session;
    SegmentValues segment;
    SegmentRuns runs;
    for (int s = 1; s <= file.Header.NSessions; ++s) {
      ReadSession(file.Lines, lineIndex, file.Header, session);
      for (int g = 0; g < session.NSegments; ++g) {
        ReadSegment(file.Lines, lineIndex, segment);
        ReadSegmentRuns(file.Lines, lineIndex, file.Header, segment, runs);
      }
    }
    benchmark::DoNotOptimize(runs.ChangeUnits.size());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(FilePath())));
}

// A plot of C1..C5, 100 units per line.
void PlotRun(benchmark::State& state) {
  const LoadedFile& file = Loaded();
  SilentDialogue dialogue;
  for (auto _ : state) {
    PlotChoices choices{{"C1", "C2", "C3", "C4", "C5"}, {}, "100", '+'};
    RunOutput output;
    RunPlotMds(file.Lines, file.Header.LineIndex, file.Header, RunFrame(), choices, dialogue,
               output);
    benchmark::DoNotOptimize(output.ResultLines.size());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(FilePath())));
}

// The bouts of C1 and C2 broken down by C3..C7; state.range(0) tallies
// hierarchically.
void BreakdownRun(benchmark::State& state) {
  const LoadedFile& file = Loaded();
  SilentDialogue dialogue;
  const BreakdownChoices choices{
      {"C1", "C2"}, {"C3", "C4", "C5", "C6", "C7"}, true, state.range(0) != 0};
  RunFrame frame;
  frame.ExportBox = ExportEachRun;
  for (auto _ : state) {
    RunOutput output;
    RunBreakdown(file.Lines, file.Header.LineIndex, file.Header, frame, choices, dialogue, output);
    benchmark::DoNotOptimize(output.ExportRows.size());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(FilePath())));
}

BENCHMARK(ReadPlotFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPlotFileRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(PlotRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BreakdownRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vork
