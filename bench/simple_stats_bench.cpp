// Simple statistics with all 18 statistics over a compiled Timed file of
// 1,000,000 time units and 20 codes, against reading the same file's bytes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "analysis/simple_stats.h"
#include "bench/generated_files.h"
#include "core/mds_reader.h"
#include "core/segment_writer.h"
#include "core/text_file.h"

namespace vork {
namespace {

constexpr int NCodes = 20;
constexpr int NUnits = 1000000;

dynString MakeCompiledFile() { return MakeTimedCompiledFile(NCodes, NUnits); }

const std::string& FilePath() {
  static const std::string path = [] {
    std::string name = (std::filesystem::temp_directory_path() / "vork_simple_stats_bench.mds");
    SaveTextLines(name, MakeCompiledFile());
    return name;
  }();
  return path;
}

SimpleStatsChoices AllStatistics() {
  SimpleStatsChoices choices;
  for (int c = 1; c <= NCodes; ++c) choices.PickedCodes.push_back("C" + std::to_string(c));
  for (int box = 1; box <= NStatBoxes; ++box) choices.StatCB[box] = true;
  return choices;
}

void ReadStatsFileBytes(benchmark::State& state) { vork::ReadFileBytes(state, FilePath()); }

// A RUN on the lines the window holds.
void SimpleStatsRun(benchmark::State& state) {
  const std::string& path = FilePath();
  SilentDialogue dialogue;
  LineBuffer lines;
  MdsHeader header;
  ReadMdsHeader(lines, path, header, dialogue);
  for (auto _ : state) {
    SimpleStatsChoices choices = AllStatistics();
    PoolingGroups groups;
    RunFrame frame;
    RunOutput output;
    RunSimpleStats(lines, header.LineIndex, header, frame, choices, groups, dialogue, output);
    benchmark::DoNotOptimize(output.ResultLines.size());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(path)));
}

// Loading the file into the window, then a RUN.
void LoadAndSimpleStatsRun(benchmark::State& state) {
  const std::string& path = FilePath();
  SilentDialogue dialogue;
  for (auto _ : state) {
    LineBuffer lines;
    MdsHeader header;
    ReadMdsHeader(lines, path, header, dialogue);
    SimpleStatsChoices choices = AllStatistics();
    PoolingGroups groups;
    RunFrame frame;
    RunOutput output;
    RunSimpleStats(lines, header.LineIndex, header, frame, choices, groups, dialogue, output);
    benchmark::DoNotOptimize(output.ResultLines.size());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(path)));
}

BENCHMARK(ReadStatsFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(SimpleStatsRun)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndSimpleStatsRun)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vork
