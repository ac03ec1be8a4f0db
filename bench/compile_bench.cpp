// Compiling a generated Timed raw file of about 100 MB (many sessions,
// times in hundredths) against reading the same file's bytes.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

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

// A raw file made once by make and kept under name in the temporary folder,
// so that whole-process runs of one benchmark time the compile, not the
// making of its file.
template <class Make>
std::string MadeFile(const std::string& name, Make make) {
  std::string path = std::filesystem::temp_directory_path() / name;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    const std::string making = path + "." + std::to_string(::getpid());
    SaveTextLines(making, make());
    std::filesystem::rename(making, path);
  }
  return path;
}

const std::string& FilePath() {
  static const std::string path =
      MadeFile("vork_compile_bench_v2.sds", [] { return MakeTimedRawFile(TargetBytes, NCodes); });
  return path;
}

void ReadRawFileBytes(benchmark::State& state) { vork::ReadFileBytes(state, FilePath()); }

// The compile on the main road: the raw file loaded as one buffer and
// compiled into one buffer of compiled lines.
// peak_memory_per_raw_byte, peak_memory_bytes: the most the process held
// while the raw file was loaded and compiled, above what it held before,
// per byte of the file and in all.
void CompileRawFile(benchmark::State& state, const std::string& path, const CompileOptions& options) {
  SilentDialogue dialogue;
  const auto fileBytes = std::int64_t(std::filesystem::file_size(path));
  std::size_t compiledLines = 0;
  double compiledBytes = 0;
  double peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    bench::ResetPeakMemory();
    const std::int64_t before = bench::StatusBytes("VmRSS:");
    state.ResumeTiming();
    {
      const LineBuffer sdsLines = LineBuffer::Load(path);
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
      peak = double(bench::StatusBytes("VmHWM:") - before);
    }
    state.ResumeTiming();
  }
  state.counters["compiled_lines"] = double(compiledLines);
  state.counters["compiled_bytes"] = compiledBytes;
  state.counters["peak_memory_per_raw_byte"] = peak / double(fileBytes);
  state.counters["peak_memory_bytes"] = peak;
  state.SetBytesProcessed(state.iterations() * fileBytes);
}

void CompileTimedFile(benchmark::State& state) {
  CompileOptions options;
  options.CompressMDS = state.range(0) != 0;
  CompileRawFile(state, FilePath(), options);
}

// One Timed session of three hours in thousandths over twelve codes: regular
// entries in one stream, four context codes (three of them in one set, so
// that they give way to each other) begun and ended in another.
dynString MakeContextSession() {
  std::mt19937 random(2026);
  dynString lines{"Timed ($s = k0 k1 k2) k3"};
  for (int c = 0; c < 8; ++c) lines[0] += " c" + std::to_string(c);
  lines[0] += ";";
  const auto thousandths = [](std::int64_t units) {
    std::string rest = std::to_string(units % 1000);
    return std::to_string(units / 1000) + "." + std::string(3 - rest.size(), '0') + rest;
  };
  constexpr std::int64_t Length = 3 * 3600 * 1000;
  std::string line;
  for (std::int64_t onset = 0; onset < Length - 20000;) {
    const std::int64_t offset = onset + 1 + std::int64_t(random() % 5000);
    line += "c" + std::to_string(random() % 8) + "," + thousandths(onset) + "-" + thousandths(offset) + " ";
    onset = offset + std::int64_t(random() % 3000);
    if (line.size() > 200) {
      lines.push_back(line);
      line.clear();
    }
  }
  line += "& ";
  std::vector<bool> on(4, false);
  for (std::int64_t at = 1; at < Length - 1000; at += 1 + std::int64_t(random() % 60000)) {
    const int code = int(random() % 4);
    line += "k" + std::to_string(code) + (on[code] ? ",-" : " , + ") + thousandths(at) + " ";
    on[code] = !on[code];
    if (line.size() > 200) {
      lines.push_back(line);
      line.clear();
    }
  }
  lines.push_back(line + "," + thousandths(Length) + " /");
  return lines;
}

// A long segment with context codes: its work and memory follow its entries
// and marks, not its codes times its units.
void CompileContextSession(benchmark::State& state) {
  static const std::string path = MadeFile("vork_compile_bench_context_v1.sds", MakeContextSession);
  CompileRawFile(state, path, CompileOptions());
}

BENCHMARK(ReadRawFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(CompileContextSession)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CompileTimedFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vork
