#pragma once

#include <string>

#include "analysis/table_stats_run.h"

namespace vork {

// A value of a results table: "infin" and "undef" for the sentinels, else
// fixed notation (expected counts and residuals with decimals by the time
// unit), with strip the zero before the separator dropped.
std::string FormatStatValue(const TableStatsRun& run, int stat, bool strip, double value);

// The statistics of one group at one lag, after the group's title: the
// margins, the results tables of the statistics switched on (when results
// are displayed) and the group's export rows, each beginning with
// exportRowLabel (when exporting).
void ComputeGroupStats(TableStatsRun& run, const std::string& exportRowLabel, int lag,
                       dynString& results, dynString& exportLines);

// The export header row of a RUN: sessionColumnCell is the frame's heading
// of the session column followed by a TAB and each factor name.
std::string ExportHeaderRow(const TableStatsRun& run, const std::string& sessionColumnCell);

}  // namespace vork
