// Observer agreement over two observers' compiled Timed files of 1,000,000
// time units and 20 codes (Obs2's episodes a few units later than Obs1's):
// the time-unit tally of 10 picked codes with a tolerance of 2 against one
// pass over both files' data lines, a whole "Compute kappa" run, and the
// event alignment of one pair of 20,000 against 20,000 events. Peak memory
// is the process's high-water mark after the benchmark (run one benchmark
// per process, with --benchmark_filter, for its own figure).
//
// Then two observers' files as users record them, against reading both
// files' bytes with read(): loading both and a whole "Compute kappa" run
// (ten codes, time tolerance 2, event tolerance 5), on files of about
// 100 MB with thousands of sessions and on one session of about 10 MB of
// raw text per observer (300,000 entries a stream). Obs2's file holds
// Obs1's entries with each onset 0..2 units later.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <random>

#include "agreement/agreement_files.h"
#include "agreement/compute_kappa.h"
#include "agreement/event_alignment.h"
#include "agreement/segment_pairing.h"
#include "agreement/time_unit_tally.h"
#include "bench/generated_files.h"
#include "bench/heap_peak.h"
#include "core/mds_reader.h"
#include "core/segment_writer.h"

namespace vork {
namespace {

constexpr int NCodes = 20;
constexpr int NUnits = 1000000;

// Obs2's file: Obs1's, each code's row moved on by 0..4 units.
dynString ShiftedFile(const dynString& obs1) {
  SilentDialogue dialogue;
  MdsHeader header;
  ReadMdsHeaderFromLines(obs1, "obs1", header, dialogue);
  int lineIndex = header.LineIndex;
  int replicate = 0, nSegments = 0, nDataLines = 0, nUnits = 0;
  std::string label;
  dynInteger levels;
  std::uint32_t start = 0, stop = 0;
  ReadSessionHeader(obs1, lineIndex, replicate, nSegments, label, 0, levels);
  const int segmentLine = lineIndex + 1;
  ReadSegmentHeader(obs1, lineIndex, nDataLines, nUnits, start, stop);
  dynChar2 matrix;
  ReadSegmentData(obs1, lineIndex, NCodes, nDataLines, nUnits, false, matrix);
  for (int c = 0; c < NCodes; ++c) {
    std::string& row = matrix[c];
    std::rotate(row.begin(), row.end() - c % 5, row.end());
  }
  dynString lines(obs1.begin(), obs1.begin() + segmentLine);
  dynString data;
  dynInteger runs(nUnits, 1);
  const int count = WriteSegmentData(data, matrix, runs, NCodes, nUnits, false, true);
  lines.push_back("1\t" + std::to_string(count) + "\t" + std::to_string(nUnits) + "\t0\t" + std::to_string(nUnits));
  lines.insert(lines.end(), data.begin(), data.end());
  return lines;
}

const AgreementFiles& Files() {
  static const AgreementFiles files = [] {
    AgreementFiles made;
    const dynString obs1 = MakeTimedCompiledFile(NCodes, NUnits);
    made.Obs[0].Lines = LineBuffer(obs1);
    made.Obs[1].Lines = LineBuffer(ShiftedFile(obs1));
    SilentDialogue dialogue;
    for (auto& obs : made.Obs) ReadMdsHeaderFromLines(obs.Lines, "obs", obs.Header, dialogue);
    return made;
  }();
  return files;
}

dynString PickedCodes(int n) {
  dynString picked;
  for (int c = 1; c <= n; ++c) picked.push_back("C" + std::to_string(c));
  return picked;
}

void ReportPeakMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The yardstick: both files' data lines read into segment matrices once.
void ReadBothFiles(benchmark::State& state) {
  const AgreementFiles& files = Files();
  for (auto _ : state) {
    for (const ObserverFile& file : files.Obs) {
      ObserverReader reader;
      reader.LineIndex = file.Header.LineIndex;
      NextObserverSegment(file, reader);
      dynChar2 matrix;
      ReadSegmentData(file.Lines, reader.LineIndex, file.Header.NCodes, reader.Segment.NDataLines,
                      reader.Segment.NTimeUnits, false, matrix);
      benchmark::DoNotOptimize(matrix.data());
    }
  }
  ReportPeakMemory(state);
}

// Reading both segments, their timelines of 10 picked codes and both
// tallies with a tolerance of 2.
void TimeUnitTally(benchmark::State& state) {
  const AgreementFiles& files = Files();
  const dynString picked = PickedCodes(10);
  for (auto _ : state) {
    SilentDialogue dialogue;
    ObserverPairing pairing = StartPairing(files, picked);
    SegmentPair pair;
    dynInteger2 m1(13, dynInteger(13, 0)), m2 = m1;
    AlignSessionTimelines(files, pairing, pair, dialogue);
    benchmark::DoNotOptimize(TallySessionTimeUnits(pair, 2, m1, m2).size());
  }
  ReportPeakMemory(state);
}

// A whole run, plots off: the time-unit tally and the event alignment of the
// pair (state.range(0) picked codes).
void ComputeKappaRun(benchmark::State& state) {
  const AgreementFiles& files = Files();
  KappaRunInput input;
  input.PickedCodes = PickedCodes(static_cast<int>(state.range(0)));
  input.AgreePlot = input.AlignPlot = false;
  for (auto _ : state) {
    SilentDialogue dialogue;
    KappaRunOutput output;
    RunComputeKappa(files, input, output, dialogue);
    benchmark::DoNotOptimize(output.Lines.size());
  }
  ReportPeakMemory(state);
}

// One pair of 20,000 against 20,000 Timed events, onsets 5 units apart on
// average, three codes.
void AlignTwentyThousandEvents(benchmark::State& state) {
  constexpr int N = 20000;
  std::mt19937 random(17);
  SegmentPair pair;
  for (auto& side : pair.Obs) {
    side.EventCode = {N};
    side.EventTime = {N};
    int t = 0;
    for (int n = 1; n <= N; ++n) {
      t += 1 + static_cast<int>(random() % 9);
      side.EventCode.push_back(1 + static_cast<int>(random() % 3));
      side.EventTime.push_back(t);
    }
    side.Timeline.assign(static_cast<size_t>(t) + 1, 1);
    SetStretchesFromTimeline(side);
  }
  pair.Frame.SpanTo = {static_cast<int>(pair.Obs[0].Timeline.size()) - 1, static_cast<int>(pair.Obs[0].Timeline.size()) - 1,
                       static_cast<int>(pair.Obs[1].Timeline.size()) - 1, 0};
  const dynString symbols = {"-", "A", "B", "C", "&", "Totals"};
  for (auto _ : state) {
    dynInteger2 matrix(6, dynInteger(6, 0));
    AlignSessionEvents(pair, {true, 5, 80}, symbols, matrix, nullptr);
    benchmark::DoNotOptimize(matrix[1][1]);
  }
  ReportPeakMemory(state);
}

struct ObserverPaths {
  std::string Obs1, Obs2;
};

// 0: the many-session files, 1: the one long session.
const ObserverPaths& PathsOf(int file) {
  struct Files {
    ObserverPaths Paths[2];
    Files() {
      const auto folder = std::filesystem::temp_directory_path();
      const std::string stem = "vork_agreement_" + std::to_string(::getpid());
      for (int f = 0; f < 2; ++f) {
        Paths[f] = {(folder / (stem + "_" + std::to_string(f) + "_obs1.mds")).string(),
                    (folder / (stem + "_" + std::to_string(f) + "_obs2.mds")).string()};
      }
      const int sessions = WriteManySessionTimedFile(Paths[0].Obs1, 100u * 1000u * 1000u);
      WriteManySessionTimedFile(Paths[0].Obs2, 0, 10, {1000, sessions, 2});
      WriteManySessionTimedFile(Paths[1].Obs1, 0, 10, {300000, 1, 0});
      WriteManySessionTimedFile(Paths[1].Obs2, 0, 10, {300000, 1, 2});
    }
    ~Files() {
      std::error_code ignored;
      for (const ObserverPaths& paths : Paths) {
        std::filesystem::remove(paths.Obs1, ignored);
        std::filesystem::remove(paths.Obs2, ignored);
      }
    }
  };
  static const Files files;
  return files.Paths[file];
}

void SetObserverFileCounters(benchmark::State& state, const ObserverPaths& paths) {
  const auto bytes = std::int64_t(std::filesystem::file_size(paths.Obs1) + std::filesystem::file_size(paths.Obs2));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["files_MB"] = double(bytes) / 1e6;
}

// The yardstick: both files' bytes read with read() into one buffer each.
void ReadObserverFileBytes(benchmark::State& state) {
  const ObserverPaths& paths = PathsOf(int(state.range(0)));
  std::vector<char> buffer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadWholeFile(paths.Obs1, buffer));
    benchmark::DoNotOptimize(ReadWholeFile(paths.Obs2, buffer));
  }
  SetObserverFileCounters(state, paths);
}

// Loading both files and a whole run of the ten codes (state.range(1): the
// plots on).
void LoadAndComputeKappa(benchmark::State& state) {
  const ObserverPaths& paths = PathsOf(int(state.range(0)));
  KappaRunInput input;
  input.PickedCodes = input.Markers = {"c0", "c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8", "c9"};
  input.AgreePlot = input.AlignPlot = state.range(1) != 0;
  std::int64_t peak = 0;
  std::size_t lines = 0;
  for (auto _ : state) {
    bench::HeapPeak heap;
    SilentDialogue dialogue;
    const AgreementLoad load = LoadAgreementFiles(paths.Obs1, paths.Obs2, dialogue);
    KappaRunOutput output;
    RunComputeKappa(load.Files, input, output, dialogue);
    lines = output.Lines.size();
    benchmark::DoNotOptimize(lines);
    peak = std::max(peak, heap.Bytes());
  }
  SetObserverFileCounters(state, paths);
  state.counters["lines"] = double(lines);
  state.counters["peak_heap_per_files"] =
      double(peak) / double(std::filesystem::file_size(paths.Obs1) + std::filesystem::file_size(paths.Obs2));
}

BENCHMARK(ReadBothFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(TimeUnitTally)->Unit(benchmark::kMillisecond);
BENCHMARK(ComputeKappaRun)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(AlignTwentyThousandEvents)->Unit(benchmark::kMillisecond)->Iterations(2);
// file 0: many sessions, 1: one long session.
BENCHMARK(ReadObserverFileBytes)->ArgNames({"long_session"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndComputeKappa)
    ->ArgNames({"long_session", "plots"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace vork
