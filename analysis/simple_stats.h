#pragma once

// Simple statistics: for each picked code of a compiled file, up to 18
// statistics over each session or pooling group: frequency, relative
// frequency, rate, duration, relative duration, probability, and the
// average, minimum and maximum of four kinds of episode values (durations,
// gaps, times between onsets, latencies). Results are one table per group;
// export rows one per group.

#include <array>
#include <string>

#include "analysis/analysis_run.h"
#include "analysis/session_pooling.h"
#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"
#include "core/user_dialogue.h"

namespace vork {

inline constexpr int NSimpleStats = 18;

// The statistic check boxes, numbered as the window fills StatCB.
enum StatBox : int {
  CBfreq = 1, CBrelf, CBrate, CBdura, CBreld, CBprob,
  CBavg, CBmin, CBmax,
  CBepso, CBgaps, CBonst, CBL10C,
  NStatBoxes = 13
};

// Column headings of the results ([1..18]) and the suffixes after the code
// name in the export header.
extern const std::array<const char*, NSimpleStats + 1> StatLabels;
extern const std::array<const char*, NSimpleStats + 1> StatSuffixes;

// The window's controls, gathered for one RUN.
struct SimpleStatsChoices {
  dynString PickedCodes;                       // in list order
  std::array<bool, NStatBoxes + 1> StatCB{};   // [1..13]; checked boxes
  int RateFactor = 600;                        // seconds per rate unit
  PoolingChoices Pooling;
};

// What PrepareRun fixes for one RUN.
struct SimpleStatsRun {
  std::array<bool, NSimpleStats + 1> StatOn{};  // [1..18]
  bool AnyBasic = false;     // one of statistics 1..6
  bool AnyEpisode = false;   // one of statistics 7..18
  bool Estimate = false;     // interval data: an estimated duration follows "dura"
  dynInteger PickedIdx;      // [1..NPicked] code numbers
  std::string DuraLabel = "dura";  // StatLabels[4] of this RUN
};

// Checks the choices in the window's order (picked codes, the kind boxes,
// the pooling question, some statistic on). False after a notice when the
// RUN must end; the pooling question may have checked the pooling box.
bool PrepareRun(const MdsHeader& header, SimpleStatsChoices& choices, PoolingGroups& groups,
                UserDialogue& dialogue, SimpleStatsRun& run);

// The whole RUN after the window's own checks: PrepareRun, the frame's
// start, the pooling groups, the export header row and one table and one
// export row per group. False when PrepareRun ended the RUN (nothing
// written). Throws CommandError on a malformed file; output then holds the
// lines made before the fault.
bool RunSimpleStats(LinesView mdsLines, int linePos0, const MdsHeader& header,
                    const RunFrame& frame, SimpleStatsChoices& choices, PoolingGroups& groups,
                    UserDialogue& dialogue, RunOutput& output);

// The rate box's text after a change, and the rate factor it gives:
// everything from "=" on is ignored, non-digits are deleted with a beep
// each, and the value is held to 1..32767 (a beep when it is not).
struct RateFactorEdit {
  std::string Text;     // the box's new text
  bool TextChanged = false;
  int RateFactor = 1;
};
RateFactorEdit EditRateFactor(const std::string& text, UserDialogue& dialogue);

}  // namespace vork
