#pragma once

// What every RUN of an analysis window shares, whatever it computes: the
// results box and the export box, the file summary due on the first RUN
// after a load, progress, and the lines and rows the RUN gives back.

#include <string>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"
#include "core/number_format.h"
#include "core/user_dialogue.h"

namespace vork {

// ResultsBox items.
enum ResultsBoxIndex : int { DontDisplayResults = 0, AppendResults = 1, OverwriteResults = 2 };
// ExportBox items.
enum ExportBoxIndex : int { DontExport = 0, ExportEachRun = 1, ExportAfterClosing = 2 };

// The window's frame state that a RUN reads.
struct RunFrame {
  int ResultsBox = AppendResults;
  int ExportBox = DontExport;
  bool FirstRun = false;      // the file summary is due
  std::string FileName;       // the loaded file, as the summary names it
  NumberFormat Format;        // the program's decimal separator
  int NDigits = 2;            // the run option: decimals of ratios and statistics

  bool ShowResults() const { return ResultsBox > DontDisplayResults; }
  bool Exporting() const { return ExportBox > DontExport; }
};

// What a RUN gives back. The lines are appended as they are made, so after
// a failure the lines made before it are still here to show.
struct RunOutput {
  bool Started = false;       // the common start has run (the file summary is written)
  bool ClearResults = false;  // the results window is cleared before the lines are appended
  dynString ResultLines;
  dynString ExportRows;
};

// The common start of a RUN: progress 0, the results cleared when the box
// says overwrite, and the file summary when it is due (whatever the results
// box says).
void StartRun(const RunFrame& frame, const MdsHeader& header, LinesView mdsLines,
              RunOutput& output, UserDialogue& dialogue);

// Progress of a RUN that has read `done` of `total` sessions, in percent.
void ShowSessionProgress(std::int64_t done, std::int64_t total, UserDialogue& dialogue);

}  // namespace vork
