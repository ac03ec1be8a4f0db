// Compiling a generated Timed raw file of about 100 MB (many sessions,
// times in hundredths) against reading the same file's bytes.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/generated_files.h"
#include "bench/process_memory.h"
#include "compiler/compile_sds.h"
#include "core/line_buffer.h"
#include "core/text_file.h"

#include <unistd.h>

namespace vork {
namespace {

constexpr int NCodes = 10;
constexpr std::size_t TargetBytes = 100u * 1000u * 1000u;

class SilentDialogue : public UserDialogue {
 public:
  Answer Ask(BoxStyle, const std::string&, Buttons) override { return Answer::Ok; }
};

// Made once and kept, so that whole-process runs of one benchmark time the
// compile, not the making of its file.
const std::string& FilePath() {
  static const std::string path = [] {
    std::string name = std::filesystem::temp_directory_path() / "vork_compile_bench_v2.sds";
    std::error_code error;
    if (!std::filesystem::exists(name, error)) {
      const std::string making = name + "." + std::to_string(::getpid());
      SaveTextLines(making, MakeTimedRawFile(TargetBytes, NCodes));
      std::filesystem::rename(making, name);
    }
    return name;
  }();
  return path;
}

void ReadRawFileBytes(benchmark::State& state) { vork::ReadFileBytes(state, FilePath()); }

// The compile on the main road: the raw file loaded as one buffer and
// compiled into one buffer of compiled lines.
// peak_memory_per_raw_byte: the most the process held while the raw file
// was loaded and compiled, above what it held before, per byte of the file.
void CompileTimedFile(benchmark::State& state) {
  SilentDialogue dialogue;
  CompileOptions options;
  options.CompressMDS = state.range(0) != 0;
  const auto fileBytes = std::int64_t(std::filesystem::file_size(FilePath()));
  std::size_t compiledLines = 0;
  double compiledBytes = 0;
  double peakPerByte = 0;
  for (auto _ : state) {
    state.PauseTiming();
    bench::ResetPeakMemory();
    const std::int64_t before = bench::StatusBytes("VmRSS:");
    state.ResumeTiming();
    {
      const LineBuffer sdsLines = LineBuffer::Load(FilePath());
      LineBuffer mdsLines;
      CompilerMessageLines messages;
      dynCardinal navPts;
      int errorCount = 0;
      std::string savedAt;
      CompileSds(sdsLines, mdsLines, messages, navPts, dialogue, false, 25, errorCount, savedAt, options);
      state.PauseTiming();
      if (errorCount != 0) state.SkipWithError("the generated file did not compile");
      compiledLines = mdsLines.size();
      compiledBytes = double(mdsLines.TextBytes());
      peakPerByte = double(bench::StatusBytes("VmHWM:") - before) / double(fileBytes);
    }
    state.ResumeTiming();
  }
  state.counters["compiled_lines"] = double(compiledLines);
  state.counters["compiled_bytes"] = compiledBytes;
  state.counters["peak_memory_per_raw_byte"] = peakPerByte;
  state.SetBytesProcessed(state.iterations() * fileBytes);
}

BENCHMARK(ReadRawFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(CompileTimedFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vork
