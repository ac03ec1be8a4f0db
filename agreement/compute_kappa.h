#pragma once

// One run of "Compute kappa" over both observers' files: every pair of
// segments tallied by time units (data other than Event) and aligned by
// events (Event, Timed and State data), then the kappa lines and matrices.

#include <string>

#include "agreement/agreement_files.h"
#include "core/dyn_arrays.h"
#include "core/number_format.h"
#include "core/user_dialogue.h"

namespace vork {

// The window's choices, as the run reads them.
struct KappaRunInput {
  dynString PickedCodes;  // in priority order
  dynString Markers;      // one plot symbol per picked code, normalised
  int TimeTol = 2;        // the up-downs' positions
  int EventTol = 5;
  int Overlap = 80;
  std::string EventTolText = "5";  // the edits' texts, as the results name them
  std::string OverlapText = "80";
  std::string LineLength = "100";  // as the drop-down shows it
  bool AgreePlot = true;
  bool AlignPlot = true;
  int ResultsBox = 1;  // 0 don't display, 1 append, 2 overwrite
  bool FirstRun = false;
  int NDigits = 2;
  NumberFormat Format;
};

// What a run gives back. Lines are appended as they are made, so after a
// failure the lines made before it are still here to show.
struct KappaRunOutput {
  bool Started = false;       // the run began: the file summary is written when it was due
  bool ClearResults = false;  // the results window is cleared before the lines are appended
  dynString Lines;
};

// Runs "Compute kappa". Notices and questions go through dialogue; a damaged
// file throws CommandError.
void RunComputeKappa(const AgreementFiles& files, const KappaRunInput& input, KappaRunOutput& output,
                     UserDialogue& dialogue);

}  // namespace vork
