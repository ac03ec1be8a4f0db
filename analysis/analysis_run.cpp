#include "analysis/analysis_run.h"

#include "core/results_format.h"

namespace vork {

void StartRun(const RunFrame& frame, const MdsHeader& header, LinesView mdsLines,
              RunOutput& output, UserDialogue& dialogue) {
  dialogue.Progress(0, 100);
  output.Started = true;
  if (frame.ResultsBox == OverwriteResults) output.ClearResults = true;
  if (frame.FirstRun) {
    SummaryFiles files;
    files.Current = frame.FileName;
    WriteFileSummary(output.ResultLines, 1, header.DataType, header.TimeUnitIndex,
                     header.TimeUnitLabel, mdsLines.empty() ? std::string() : std::string(mdsLines[0]), "",
                     files);
  }
}

void ShowSessionProgress(std::int64_t done, std::int64_t total, UserDialogue& dialogue) {
  if (total <= 0) return;
  dialogue.Progress(int(RoundHalfEven(100.0 * double(done) / double(total))), 100);
}

}  // namespace vork
