// Loading a compiled file and a RUN of simple statistics (all codes, all 18
// statistics), against reading the file's bytes with read() into one buffer:
// on a Timed file of about 100 MB with thousands of sessions and on one long
// segment. Compare the rates in one run: the machine is shared.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "analysis/simple_stats.h"
#include "bench/generated_files.h"
#include "bench/heap_peak.h"
#include "core/mds_reader.h"
#include "core/text_file.h"

#if __has_include("core/line_buffer.h")
#include "core/line_buffer.h"
using LoadedLines = vork::LineBuffer;
#else
using LoadedLines = vork::dynString;  // the reader before the line buffer
#endif

namespace vork {
namespace {

const std::string& LongSegmentPath() {
  static const std::string path = [] {
    std::string name = std::filesystem::temp_directory_path() / "vork_simple_stats_long_segment.mds";
    SaveTextLines(name, MakeTimedCompiledFile(20, 1000000));
    return name;
  }();
  return path;
}

const std::string& PathOf(int file) { return file == 0 ? ManySessionFilePath() : LongSegmentPath(); }

void SetFileCounters(benchmark::State& state, const std::string& path) {
  const auto bytes = std::int64_t(std::filesystem::file_size(path));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_MB"] = double(bytes) / 1e6;
}

void ReadCompiledFileBytes(benchmark::State& state) {
  ReadFileBytes(state, PathOf(int(state.range(0))));
  SetFileCounters(state, PathOf(int(state.range(0))));
}

void LoadAndSimpleStats(benchmark::State& state) {
  const std::string& path = PathOf(int(state.range(0)));
  SilentDialogue dialogue;
  std::int64_t peak = 0, rss = 0;
  for (auto _ : state) {
    bench::HeapPeak heap;
    bench::RssPeak resident;
    LoadedLines lines;
    MdsHeader header;
    ReadMdsHeader(lines, path, header, dialogue);
    SimpleStatsChoices choices;
    for (int c = 1; c <= header.NCodes; ++c) choices.PickedCodes.push_back(header.CodeNames[c]);
    for (int box = 1; box <= NStatBoxes; ++box) choices.StatCB[box] = true;
    PoolingGroups groups;
    RunFrame frame;
    RunOutput output;
    RunSimpleStats(lines, header.LineIndex, header, frame, choices, groups, dialogue, output);
    benchmark::DoNotOptimize(output.ResultLines.size());
    peak = std::max(peak, heap.Bytes());
    rss = std::max(rss, resident.Bytes());
  }
  SetFileCounters(state, path);
  state.counters["peak_heap_per_file"] =
      double(peak) / double(std::filesystem::file_size(path));
  state.counters["peak_rss_per_file"] = double(rss) / double(std::filesystem::file_size(path));
}

// 0: many sessions, 1: one long segment.
BENCHMARK(ReadCompiledFileBytes)->ArgName("long_segment")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndSimpleStats)->ArgName("long_segment")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vork
