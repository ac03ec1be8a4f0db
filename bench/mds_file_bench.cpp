// Writing and reading a compiled data file of one segment with 20 codes and
// 1,000,000 time units, beside the time it takes only to read the file's
// bytes. Compare the rates: the machine is shared and single times vary.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include <unistd.h>

#include "bench/generated_files.h"
#include "core/mds_reader.h"
#include "core/segment_runs.h"
#include "core/session_reader.h"
#include "core/segment_writer.h"
#include "core/text_file.h"

namespace vork {
namespace {

constexpr int NCodes = 20;
constexpr int NTimeUnits = 1'000'000;

// Each code switches on or off about once in 60 units and comes on with an
// onset, so roughly one column in three starts a new data line.
const dynChar2& GeneratedMatrix() {
  static const dynChar2 matrix = [] {
    std::mt19937 random(2026);
    dynChar2 rows(NCodes, std::string(NTimeUnits, '.'));
    for (std::string& row : rows) {
      bool on = false;
      for (int t = 0; t < NTimeUnits; ++t) {
        bool switches = random() % 60 == 0;
        if (switches) on = !on;
        row[t] = !on ? '.' : switches ? '2' : '1';
      }
    }
    return rows;
  }();
  return matrix;
}

dynString FileLines(bool compressed) {
  dynString lines = {
      std::string(compressed ? "" : "\t") + "MDS file saved by KELP compiler Version 5.1 bench", "3\t0\t0",
      std::to_string(NCodes) + "\t0\t0\t0\t1\t1"};
  std::string names;
  for (int c = 1; c <= NCodes; ++c) {
    if (c > 1) names += '\t';
    names += "Code" + std::to_string(c);
  }
  lines.push_back(names);
  lines.push_back("3\t3\tthousandths");
  lines.push_back("1\t1\tBench");
  lines.push_back("");
  dynInteger runs(NTimeUnits, 1);
  int n = WriteSegmentData(lines, GeneratedMatrix(), runs, NCodes, NTimeUnits, compressed, true);
  lines[6] = "1\t" + std::to_string(n) + "\t" + std::to_string(NTimeUnits) + "\t0\t0";
  return lines;
}

// Files of this run of the benchmark, named after its process so that runs
// at the same time do not meet, and removed when it ends.
struct BenchFiles {
  std::string Names[2];
  ~BenchFiles() {
    std::error_code ignored;
    for (const std::string& name : Names)
      if (!name.empty()) std::filesystem::remove(name, ignored);
  }
};

std::string BenchFileName(bool compressed) {
  return (std::filesystem::temp_directory_path() /
          ("vork_bench_" + std::to_string(getpid()) + (compressed ? "_compressed.mds" : "_plain.mds")))
      .string();
}

// The file the reading benchmarks read, written once.
const std::string& BenchFile(bool compressed) {
  static BenchFiles files;
  std::string& name = files.Names[compressed];
  if (name.empty()) {
    name = BenchFileName(compressed);
    SaveTextLines(name, FileLines(compressed));
  }
  return name;
}

void SetRates(benchmark::State& state, const std::string& fileName) {
  const auto bytes = static_cast<int64_t>(std::filesystem::file_size(fileName));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["time_units/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * NTimeUnits, benchmark::Counter::kIsRate);
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_WriteMdsFile(benchmark::State& state) {
  const bool compressed = state.range(0) != 0;
  const std::string fileName = BenchFileName(compressed) + ".written";
  GeneratedMatrix();
  for (auto _ : state) SaveTextLines(fileName, FileLines(compressed));
  SetRates(state, fileName);
  std::filesystem::remove(fileName);
}

void BM_ReadMdsFile(benchmark::State& state) {
  const bool compressed = state.range(0) != 0;
  const std::string& fileName = BenchFile(compressed);
  SilentDialogue dialogue;
  for (auto _ : state) {
    LineBuffer lines;
    MdsHeader header;
    if (!ReadMdsHeader(lines, fileName, header, dialogue)) state.SkipWithError("file rejected");
    int lineIndex = header.LineIndex, replicate = 0, nSegments = 0, nDataLines = 0, nTimeUnits = 0;
    std::string label;
    dynInteger levels;
    std::uint32_t start = 0, stop = 0;
    ReadSessionHeader(lines, lineIndex, replicate, nSegments, label, header.NFactors, levels);
    ReadSegmentHeader(lines, lineIndex, nDataLines, nTimeUnits, start, stop);
    dynChar2 matrix;
    ReadSegmentData(lines, lineIndex, header.NCodes, nDataLines, nTimeUnits, header.Compressed, matrix);
    benchmark::DoNotOptimize(matrix.data());
  }
  SetRates(state, fileName);
}

// Only the bytes of the same file, as a floor for reading it.
void BM_ReadFileBytes(benchmark::State& state) {
  const bool compressed = state.range(0) != 0;
  const std::string& fileName = BenchFile(compressed);
  for (auto _ : state) {
    std::ifstream in(fileName, std::ios::binary);
    std::string text(std::filesystem::file_size(fileName), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    benchmark::DoNotOptimize(text.data());
  }
  SetRates(state, fileName);
}

BENCHMARK(BM_WriteMdsFile)->ArgName("compressed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMdsFile)->ArgName("compressed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileBytes)->ArgName("compressed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vork

namespace vork {
namespace {

// Every segment of the many-session file read as runs, or into its grid,
// after one load of the file; the yardstick reads its bytes.
void BM_ReadManySessions(benchmark::State& state) {
  const std::string& fileName = ManySessionFilePath();
  SilentDialogue dialogue;
  for (auto _ : state) {
    LineBuffer lines;
    MdsHeader header;
    ReadMdsHeader(lines, fileName, header, dialogue);
    int lineIndex = header.LineIndex;
    SessionValues session;
    SegmentValues segment;
    SegmentRuns runs;
    dynChar2 matrix;
    for (int s = 1; s <= header.NSessions; ++s) {
      ReadSession(lines, lineIndex, header, session);
      for (int g = 0; g < session.NSegments; ++g) {
        ReadSegment(lines, lineIndex, segment);
        if (state.range(0) == 0) {
          ReadSegmentRuns(lines, lineIndex, header, segment, runs);
        } else {
          ReadSegmentData(lines, lineIndex, header.NCodes, segment.NDataLines, segment.NTimeUnits,
                          header.Compressed, matrix);
        }
      }
    }
    benchmark::DoNotOptimize(runs.ChangeUnits.data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(fileName)));
}

void BM_ReadManySessionsBytes(benchmark::State& state) { ReadFileBytes(state, ManySessionFilePath()); }

BENCHMARK(BM_ReadManySessionsBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadManySessions)->ArgName("grid")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vork
