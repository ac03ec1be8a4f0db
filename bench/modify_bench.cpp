// Modification commands over a compiled Timed file of 1,000,000 time units
// and 20 codes (And on two codes, Bout on three, WINDOW between two), and 50
// typed statements over a file of about 10 MB, each against reading the
// file's bytes and against one pass that reads every segment into its
// matrix. The same commands also run as a user runs them on the 100 MB
// many-session file: load, run, the new file in memory, with the peak heap
// against the file's size. Compare the ratios: the machine is shared and
// single times vary.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "bench/generated_files.h"
#include "bench/heap_peak.h"
#include "core/mds_reader.h"
#include "core/text_file.h"
#include "modify/modify_engine.h"
#include "modify/typed_commands.h"
#include "modify/validate_command.h"

namespace vork {
namespace {

constexpr int NCodes = 20;

struct BenchFile {
  ModifyFile File;
  std::string Path;
  explicit BenchFile(int nUnits) {
    File.Lines = LineBuffer(MakeTimedCompiledFile(NCodes, nUnits));
    SilentDialogue dialogue;
    ReadMdsHeaderFromLines(File.Lines, "bench.mds", File.Header, dialogue);
    File.HeaderEnd = File.Header.LineIndex;
    Path = (std::filesystem::temp_directory_path() /
            ("vork_modify_bench_" + std::to_string(getpid()) + "_" + std::to_string(nUnits) + ".mds"))
               .string();
    SaveLines(Path, File.Lines);
  }
  ~BenchFile() {
    std::error_code ignored;
    std::filesystem::remove(Path, ignored);
  }
};

// The file of the commands, and the larger one of the typed statements.
const BenchFile& Million() {
  static const BenchFile file(1'000'000);
  return file;
}
const BenchFile& TenMegabytes() {
  static const BenchFile file(1'250'000);
  return file;
}
const BenchFile& FileOf(const benchmark::State& state) { return state.range(0) ? TenMegabytes() : Million(); }

void SetFileRate(benchmark::State& state, const BenchFile& file) {
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(file.Path));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void ReadModifyFileBytes(benchmark::State& state) {
  ReadFileBytes(state, FileOf(state).Path);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(FileOf(state).Path)) / 1e6;
}

void ReadEverySegment(benchmark::State& state) {
  const BenchFile& bench = FileOf(state);
  const ModifyFile& file = bench.File;
  for (auto _ : state) {
    int lineIndex = file.HeaderEnd, replicate = 0, nSegments = 0, nDataLines = 0, nTimeUnits = 0;
    std::string label;
    dynInteger levels;
    std::uint32_t start = 0, stop = 0;
    dynChar2 matrix;
    for (int s = 1; s <= file.Header.NSessions; ++s) {
      ReadSessionHeader(file.Lines, lineIndex, replicate, nSegments, label, file.Header.NFactors, levels);
      for (int g = 1; g <= nSegments; ++g) {
        ReadSegmentHeader(file.Lines, lineIndex, nDataLines, nTimeUnits, start, stop);
        ReadSegmentData(file.Lines, lineIndex, NCodes, nDataLines, nTimeUnits, file.Header.Compressed, matrix);
      }
    }
    benchmark::DoNotOptimize(matrix.data());
  }
  SetFileRate(state, bench);
}

void RunCommand(benchmark::State& state, const ModifyCommand& command) {
  const BenchFile& bench = Million();
  SilentDialogue dialogue;
  for (auto _ : state) {
    ModifyOutcome out = RunModifyCommand(bench.File, command, "bench", dialogue);
    benchmark::DoNotOptimize(out.File.Lines.size());
  }
  SetFileRate(state, bench);
}

ModifyCommand NewCodeOf(int number, const dynString& picked) {
  ModifyCommand command;
  command.Number = number;
  command.NewCode = "NEW";
  command.PickedCodes = picked;
  return command;
}

void AndOfTwoCodes(benchmark::State& state) { RunCommand(state, NewCodeOf(CommandAnd, {"C1", "C2"})); }

void BoutOfThreeCodes(benchmark::State& state) {
  ModifyCommand bout = NewCodeOf(CommandBout, {"C1", "C2", "C3"});
  bout.BoutGap = 5;
  RunCommand(state, bout);
}

void WindowBetweenTwoCodes(benchmark::State& state) {
  ModifyCommand window = NewCodeOf(CommandWindow, {"C1", "C2"});
  window.Window = {0, -2, 2, 3};
  RunCommand(state, window);
}

// Applies statements as the window does, to a copy of the file.
class BenchHost : public StatementHost {
 public:
  explicit BenchHost(const ModifyFile& file) : File(file) {}
  const MdsHeader& Header() const override { return File.Header; }
  bool CommandEnabled(int) const override { return true; }
  ModifyCommand Controls() const override { return {}; }
  void Apply(const ModifyCommand& command) override {
    ModifyCommand checked = command;
    if (ValidateCommand(checked, File.Header, Silent)) File = RunModifyCommand(File, checked, "bench", Silent).File;
  }
  void ListError(const std::string&) override {}
  UserDialogue& Dialogue() override { return Silent; }
  ModifyFile File;
  SilentDialogue Silent;
};

void FiftyTypedStatements(benchmark::State& state) {
  const BenchFile& bench = TenMegabytes();
  // Each pair makes a code from two others and removes it again, so every
  // statement works on a file of 20 or 21 codes.
  std::string text;
  for (int i = 1; i <= 25; ++i) {
    text.append(i % 2 ? "or N" : "xor N").append(std::to_string(i)).append("= C");
    text.append(std::to_string(i % NCodes + 1)).append(" C").append(std::to_string((i + 7) % NCodes + 1));
    text.append(";\nremove N").append(std::to_string(i)).append(";\n");
  }
  for (auto _ : state) {
    BenchHost host(bench.File);
    RunSyntax(text, host);
    benchmark::DoNotOptimize(host.File.Lines.size());
  }
  SetFileRate(state, bench);
}

// The many-session file: its bytes read, and each command as load + run.
void ReadManySessionBytes(benchmark::State& state) {
  ReadFileBytes(state, ManySessionFilePath());
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(ManySessionFilePath())) / 1e6;
}

void LoadAndRun(benchmark::State& state, const ModifyCommand& command) {
  const std::string& path = ManySessionFilePath();
  SilentDialogue dialogue;
  std::int64_t peak = 0, rss = 0;
  double outBytes = 0, outLines = 0, inLines = 0;
  for (auto _ : state) {
    bench::HeapPeak heap;
    bench::RssPeak resident;
    ModifyFile file;
    ReadMdsHeader(file.Lines, path, file.Header, dialogue);
    file.HeaderEnd = file.Header.LineIndex;
    ModifyOutcome out = RunModifyCommand(file, command, "bench", dialogue);
    benchmark::DoNotOptimize(out.File.Lines.size());
    peak = std::max(peak, heap.Bytes());
    rss = std::max(rss, resident.Bytes());
    outBytes = double(out.File.Lines.TextBytes());
    outLines = double(out.File.Lines.size());
    inLines = double(file.Lines.size());
  }
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["peak_heap_per_file"] = static_cast<double>(peak) / static_cast<double>(bytes);
  state.counters["peak_rss_per_file"] = static_cast<double>(rss) / static_cast<double>(bytes);
  state.counters["new_bytes_per_file"] = outBytes / double(bytes);
  state.counters["new_lines_per_line"] = outLines / inLines;
}

void LoadAndRunAnd(benchmark::State& state) { LoadAndRun(state, NewCodeOf(CommandAnd, {"c1", "c2"})); }

void LoadAndRunBout(benchmark::State& state) {
  ModifyCommand bout = NewCodeOf(CommandBout, {"c1", "c2", "c3"});
  bout.BoutGap = 5;
  LoadAndRun(state, bout);
}

void LoadAndRunWindow(benchmark::State& state) {
  ModifyCommand window = NewCodeOf(CommandWindow, {"c1", "c6"});
  window.Window = {0, -2, 2, 3};
  LoadAndRun(state, window);
}

BENCHMARK(ReadManySessionBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndRunAnd)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndRunBout)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndRunWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadModifyFileBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadEverySegment)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AndOfTwoCodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BoutOfThreeCodes)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowBetweenTwoCodes)->Unit(benchmark::kMillisecond);
BENCHMARK(FiftyTypedStatements)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vork
