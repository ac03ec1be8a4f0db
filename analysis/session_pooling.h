#pragma once

// Pooling of sessions by factors, shared by the simple and the table
// statistics. A RUN groups the sessions of the loaded compiled file (by
// replicate number and by the levels of the factors not pooled), then walks
// the groups in order: each group's sessions are read once, segment by
// segment, into the analysis's tallies, and the analysis writes the group's
// results. The title line and the export row label of a group name the last
// session read, the factor levels that split the groups and the factors
// pooled away.
//
// Typical RUN of an analysis window:
//   AskPoolOverSessions(header, choices, groups, dialogue);   // may check the box
//   InitPooling(header, groups);
//   BuildPoolingGroups(lines, linePos0, header, choices, groups);
//   RunGroupLoop(lines, linePos0, header, groups, myTally);
// with myTally's WriteGroupResults calling WriteGroupTitle and
// MakeExportRowLabel, and the export header row beginning with
// ExportSessionHeading.

#include <cstdint>
#include <string>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"
#include "core/segment_runs.h"
#include "core/session_reader.h"
#include "core/user_dialogue.h"

namespace vork {

// The pooling controls of an analysis window, as the user left them.
struct PoolingChoices {
  bool PoolOverSessions = false;  // "Pool over sessions" checked
  dynString FactorsPooled;        // factor names picked for pooling, in list order
};

// One pooling group that holds sessions: the line index before each of its
// sessions (where the session reader starts), in file order.
struct PoolingGroup {
  std::int64_t GroupNumber = 0;  // the group's cell number, 1-based
  dynInteger SessionLines;
};

// The pooling state a window keeps for its loaded file, from one RUN to the
// next. Only groups that hold sessions are kept, in group-number order, so
// the memory follows the number of sessions, not the product of the levels.
struct PoolingGroups {
  bool PoolingInitialized = false;  // InitPooling has run for the loaded file
  bool PoolingModified = true;      // the choices changed since the groups were built
  dynInteger GroupRadix;            // [0..NFactors]; 1 means the dimension is pooled
  std::int64_t NGroups = 0;         // number of groups, empty ones included
  std::vector<PoolingGroup> GroupSessions;
  bool Pooling = false;             // this RUN pools
};

// What an analysis tallies over the sessions of a group and writes for it.
class GroupTally {
 public:
  virtual ~GroupTally() = default;
  virtual void ResetTallies() = 0;
  // The codes whose runs the tally reads (core/segment_runs.h); empty: all.
  virtual const CodeSelection& CodesRead() const = 0;
  // One segment of a session of the group, as the runs of the codes read.
  virtual void TallySegment(const SessionValues& session, const SegmentValues& segment,
                            const SegmentRuns& runs) = 0;
  // A whole session has been tallied (progress).
  virtual void SessionTallied() {}
  // Count is the number of sessions of the group; last is the session read last.
  virtual void WriteGroupResults(int count, const SessionValues& last) = 0;
};

// A load forgets the groups of the previous file.
void ResetPooling(PoolingGroups& groups);

// Asks whether to pool over sessions when factors are picked for pooling and
// the box is unchecked; Yes checks it (and marks the pooling as changed).
void AskPoolOverSessions(const MdsHeader& header, PoolingChoices& choices, PoolingGroups& groups,
                         UserDialogue& dialogue);

// Once per loaded file: every dimension at its full size.
void InitPooling(const MdsHeader& header, PoolingGroups& groups);

// Decides whether this RUN pools and, when it does and the choices changed,
// sorts the sessions into groups. Throws CommandError on a malformed file.
void BuildPoolingGroups(LinesView mdsLines, int linePos0, const MdsHeader& header,
                        const PoolingChoices& choices, PoolingGroups& groups);

// Reads every group's sessions, segment by segment, into the tally and lets
// it write each group's results. Throws CommandError on a malformed file.
void RunGroupLoop(LinesView mdsLines, int linePos0, const MdsHeader& header,
                  const PoolingGroups& groups, GroupTally& tally);

// The group's title line followed by an empty line.
void WriteGroupTitle(dynString& results, const MdsHeader& header, const PoolingGroups& groups,
                     bool poolOverSessions, const SessionValues& last, int count);

// The label cells that begin a group's export row.
std::string MakeExportRowLabel(const MdsHeader& header, const PoolingGroups& groups,
                               bool poolOverSessions, const SessionValues& last);

// The cells that head the label cells in an export header row: the session
// column and one column per factor.
std::string ExportSessionHeading(const MdsHeader& header, const PoolingGroups& groups,
                                 bool poolOverSessions);

}  // namespace vork
