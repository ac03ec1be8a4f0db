// Loading a compiled file and a RUN of table statistics over lags 1..100,
// against reading the file's bytes with read() into one buffer, on a Timed
// file of about 100 MB with thousands of sessions: five codes of one stream
// and "&" as givens, the five of the other stream and "&" as targets; the
// sessions pooled into one group, or each its own group. Compare the rates
// in one run: the machine is shared.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "analysis/session_pooling.h"
#include "analysis/table_stats.h"
#include "bench/generated_files.h"
#include "bench/heap_peak.h"
#include "core/mds_reader.h"

#if __has_include("core/line_buffer.h")
#include "core/line_buffer.h"
using LoadedLines = vork::LineBuffer;
#else
using LoadedLines = vork::dynString;  // the reader before the line buffer
#endif

namespace vork {
namespace {

void SetFileCounters(benchmark::State& state, const std::string& path) {
  const auto bytes = std::int64_t(std::filesystem::file_size(path));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_MB"] = double(bytes) / 1e6;
}

void ReadCompiledFileBytes(benchmark::State& state) {
  ReadFileBytes(state, ManySessionFilePath());
  SetFileCounters(state, ManySessionFilePath());
}

void LoadAndTableStats(benchmark::State& state) {
  const std::string& path = ManySessionFilePath();
  TableStatsRequest request;
  for (int c = 0; c < 5; ++c) request.GivenCodes.push_back("c" + std::to_string(c));
  for (int c = 5; c < 10; ++c) request.TargetCodes.push_back("c" + std::to_string(c));
  request.GivenCodes.push_back("&");
  request.TargetCodes.push_back("&");
  request.LagFrom = 1;
  request.LagTo = int(state.range(1));
  for (int s : {JNTF, EXPF, ADJR, YULQ, XSQ, KAPPA}) request.StatChecked[std::size_t(s - 1)] = true;
  SilentDialogue dialogue;
  std::int64_t peak = 0, rss = 0;
  for (auto _ : state) {
    bench::HeapPeak heap;
    bench::RssPeak resident;
    LoadedLines lines;
    MdsHeader header;
    ReadMdsHeader(lines, path, header, dialogue);
    header.CodeNames[0] = "&";
    RunFrame frame;
    PoolingChoices choices;
    choices.PoolOverSessions = state.range(0) != 0;
    PoolingGroups groups;
    RunOutput output;
    RunTableStats(request, TableStatsOptions{}, frame, header, lines, header.LineIndex, choices, groups,
                  output, dialogue);
    benchmark::DoNotOptimize(output.ResultLines.size());
    peak = std::max(peak, heap.Bytes());
    rss = std::max(rss, resident.Bytes());
  }
  SetFileCounters(state, path);
  state.counters["peak_heap_per_file"] = double(peak) / double(std::filesystem::file_size(path));
  state.counters["peak_rss_per_file"] = double(rss) / double(std::filesystem::file_size(path));
}

BENCHMARK(ReadCompiledFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndTableStats)
    ->ArgNames({"pooled", "last_lag"})
    ->Args({1, 1})
    ->Args({1, 100})
    ->Args({0, 100})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vork
