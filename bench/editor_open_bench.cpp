// Opening a generated raw file of about 50 MB in the editor as the user does
// it, offscreen: the main window shown, File > Open, the file chosen in the
// open dialog, and the events handled until the editor has drawn it.
//
// The files: 0 a Timed text in UTF-8 of long lines (eight entries, about 135
// bytes a line); 1 the same with a comment line in the Windows code page, so
// the whole text is decoded from the code page; 2 an Event text of short
// lines (five to nine codes, about 35 bytes a line), where the editor's cost
// per line weighs most.
//
// Whole-process figures: run one case alone, e.g.
//   editor_open_bench --benchmark_filter=OpenRawFileInEditor/0
// The generated files stay in the temporary folder, so a later run only
// opens them.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "app/main_window.h"
#include "bench/generated_files.h"
#include "bench/process_memory.h"
#include "core/text_file.h"
#include "widgets/platform.h"

namespace vork {
namespace {

constexpr std::size_t TargetBytes = 50u * 1000u * 1000u;

// The desktop of the benchmark: the open dialog chooses the file, every
// question is answered No, every other dialog is cancelled.
class OpenFilePlatform : public Platform {
 public:
  QString Chosen;
  Answer Ask(BoxStyle, const std::string&, Buttons) override { return Answer::No; }
  void Beep() override {}
  void Progress(int, int) override {}
  void ShowError(const QString& text) override { Errors << text; }
  std::optional<QString> OpenFileName(const FileDialogSpec&) override { return Chosen; }
  std::optional<QString> SaveFileName(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QFont> ChooseFont(const QFont&) override { return std::nullopt; }
  void OpenUrl(const QUrl&) override {}
  QStringList Errors;
};

// An Event text of about targetBytes: sessions of lines of five to nine of
// eight codes, every twentieth line ending its session.
dynString MakeEventRawFile(std::size_t targetBytes) {
  const char* const codes[] = {"alert", "cry", "fuss", "suck", "look", "away", "speak", "quiet"};
  std::mt19937 random(15);
  dynString lines{"Event alert cry fuss suck look away speak quiet;"};
  std::size_t bytes = 0;
  while (bytes < targetBytes) {
    std::string line;
    for (int k = 5 + int(random() % 5); k > 0; --k) line += std::string(codes[random() % 8]) + " ";
    line += lines.size() % 20 == 0 ? "/" : "";
    bytes += line.size() + 2;
    lines.push_back(std::move(line));
  }
  return lines;
}

// The generated raw file of a benchmark argument (see above).
const std::string& RawFilePath(int file) {
  static const char* const names[] = {"vork_editor_open_bench.sds", "vork_editor_open_bench_cp.sds",
                                      "vork_editor_open_bench_event.sds"};
  static std::string paths[3];
  std::string& path = paths[file];
  if (path.empty()) {
    path = std::filesystem::temp_directory_path() / names[file];
    if (!std::filesystem::exists(path)) {
      dynString lines = file == 2 ? MakeEventRawFile(TargetBytes) : MakeTimedRawFile(TargetBytes, 10);
      if (file == 1) lines.insert(lines.begin() + 1, "% coded by R\xE9my \x96 first pass");
      SaveTextLines(path, lines);  // written aside and renamed: never half a file
    }
  }
  return path;
}

void OpenRawFileInEditor(benchmark::State& state) {
  const std::string& path = RawFilePath(int(state.range(0)));
  const auto fileBytes = std::int64_t(std::filesystem::file_size(path));
  QTemporaryDir folder;
  OpenFilePlatform platform;
  platform.Chosen = QString::fromStdString(path);
  QString lineCount;
  double peakPerByte = 0;
  for (auto _ : state) {
    state.PauseTiming();
    {
      QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
      TMainForm form(platform, settings, folder.path());
      form.show();
      QApplication::processEvents();
      bench::ResetPeakMemory();
      const std::int64_t before = bench::StatusBytes("VmRSS:");
      state.ResumeTiming();

      form.FileOpenSdsMds->trigger();
      QApplication::processEvents();

      state.PauseTiming();
      peakPerByte = double(bench::StatusBytes("VmHWM:") - before) / double(fileBytes);
      lineCount = form.StatusPanel0->text();
      if (!platform.Errors.isEmpty())
        state.SkipWithError(platform.Errors.join(QChar(0x20)).toStdString().c_str());
    }
    state.ResumeTiming();
  }
  state.SetLabel(lineCount.toStdString());
  state.counters["peak_memory_per_file_byte"] = peakPerByte;
  state.SetBytesProcessed(state.iterations() * fileBytes);
}

BENCHMARK(OpenRawFileInEditor)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vork

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
