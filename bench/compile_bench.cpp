// Compiling a generated Timed raw file of about 100 MB (many sessions,
// times in hundredths) against reading the same file's bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "bench/generated_files.h"
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

std::string Hundredths(int units) {
  std::string cents = std::to_string(units % 100);
  if (cents.size() < 2) cents = "0" + cents;
  return std::to_string(units / 100) + "." + cents;
}

// Sessions of 2,000 entries in two streams; each code's entries in a stream
// follow each other without overlapping, eight entries to a line.
dynString MakeRawFile() {
  std::mt19937 random(2026);
  dynString lines{"Timed"};
  for (int c = 0; c < NCodes; ++c) lines[0] += " c" + std::to_string(c);
  lines[0] += ";";
  std::size_t bytes = lines[0].size() + 2;
  for (int session = 1; bytes < TargetBytes; ++session) {
    int last = 0;
    for (int stream = 0; stream < 2; ++stream) {
      std::string line = stream == 0 ? "<s" + std::to_string(session) + "> " : "& ";
      std::vector<int> free(NCodes, 0);
      int onset = int(random() % 100);
      for (int k = 0; k < 1000; ++k) {
        const int code = stream * (NCodes / 2) + int(random() % (NCodes / 2));
        onset = std::max(onset, free[code]);
        const int offset = onset + 1 + int(random() % 150);
        free[code] = offset;
        last = std::max(last, offset);
        line += "c" + std::to_string(code) + "," + Hundredths(onset) + "-" + Hundredths(offset) + " ";
        onset += int(random() % 100);
        if (k % 8 == 7) {
          bytes += line.size() + 2;
          lines.push_back(std::move(line));
          line.clear();
        }
      }
      if (!line.empty()) {
        bytes += line.size() + 2;
        lines.push_back(std::move(line));
      }
    }
    lines.push_back("," + Hundredths(last) + " /");
    bytes += lines.back().size() + 2;
  }
  return lines;
}

// Made once and kept, so that whole-process runs of one benchmark time the
// compile, not the making of its file.
const std::string& FilePath() {
  static const std::string path = [] {
    std::string name = std::filesystem::temp_directory_path() / "vork_compile_bench_v2.sds";
    std::error_code error;
    if (!std::filesystem::exists(name, error)) {
      const std::string making = name + "." + std::to_string(::getpid());
      SaveTextLines(making, MakeRawFile());
      std::filesystem::rename(making, name);
    }
    return name;
  }();
  return path;
}

void ReadRawFileBytes(benchmark::State& state) { vork::ReadFileBytes(state, FilePath()); }

// The memory the process holds now and the most it held since the last
// ResetPeakMemory, in bytes (Linux; 0 elsewhere).
std::int64_t StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::strlen(field))) * 1024;
  }
  return 0;
}

void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

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
    ResetPeakMemory();
    const std::int64_t before = StatusBytes("VmRSS:");
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
      peakPerByte = double(StatusBytes("VmHWM:") - before) / double(fileBytes);
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
