#pragma once

#include "analysis/analysis_run.h"
#include "analysis/session_pooling.h"
#include "analysis/table_stats_run.h"
#include "core/mds_header.h"

namespace vork {

// One RUN of the table statistics: the checks, the common start, the
// pooling groups, then for every lag of the range (Event data skip lag 0)
// the lagged given-by-target table of every group and its statistics.
// Result lines and export rows (the header row first) go into output.
// Returns false when a check ended the RUN before anything was written.
// The window then does the common end (progress 0, saving the export file,
// the separator line).
//
// The file is read once, at the first lag: each segment is kept as the runs
// of units that fall into one given and one target, and the later lags
// count pairs over those runs, so a lag costs time in proportion to the
// runs, not to the file.
bool RunTableStats(const TableStatsRequest& request, const TableStatsOptions& options,
                   const RunFrame& frame, const MdsHeader& header, LinesView mdsLines,
                   int linePos0, PoolingChoices& choices, PoolingGroups& groups,
                   RunOutput& output, UserDialogue& dialogue);

}  // namespace vork
