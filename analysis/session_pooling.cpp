#include "analysis/session_pooling.h"

#include <algorithm>
#include <limits>

#include "core/cell_index.h"
#include "core/code_lists.h"
#include "core/command_error.h"
#include "core/mds_reader.h"

namespace vork {
namespace {

// Groups are numbered with 32-bit integers; a header whose level counts
// multiply beyond that cannot describe a real file.
constexpr std::int64_t MaxGroups = std::numeric_limits<std::int32_t>::max();

// The level of factor f of a session, checked against the factor's levels.
int CheckedLevel(const MdsHeader& header, const SessionValues& session, int f) {
  int level = f < int(session.SessionLevels.size()) ? session.SessionLevels[f] : 0;
  int levels = f < int(header.FactorLevels.size()) ? header.FactorLevels[f] : 0;
  if (level < 1 || level > levels || f >= int(header.FactorLevelNames.size()) ||
      level >= int(header.FactorLevelNames[f].size())) {
    throw CommandError("Session " + session.SessionLabel + ": level " + std::to_string(level) +
                       " of factor " + std::to_string(f) + " is not among its " +
                       std::to_string(levels) + " levels.");
  }
  return level;
}

std::string FactorName(const MdsHeader& header, int f) {
  return f < int(header.FactorNames.size()) ? header.FactorNames[f] : std::string();
}

bool FactorSplitsGroups(const PoolingGroups& groups, int f) {
  return f < int(groups.GroupRadix.size()) && groups.GroupRadix[f] > 1;
}

// Every dimension at full size, as after a load; the session dimension at
// the given size.
void SetFullRadix(const MdsHeader& header, PoolingGroups& groups, int sessionRadix) {
  groups.GroupRadix.assign(std::size_t(std::max(header.NFactors, 0)) + 1, 1);
  groups.GroupRadix[0] = sessionRadix;
  for (int f = 1; f <= header.NFactors; ++f) {
    groups.GroupRadix[f] = f < int(header.FactorLevels.size()) ? header.FactorLevels[f] : 0;
  }
}

}  // namespace

void ResetPooling(PoolingGroups& groups) {
  groups.PoolingModified = true;
  groups.PoolingInitialized = false;
}

void AskPoolOverSessions(const MdsHeader& header, PoolingChoices& choices, PoolingGroups& groups,
                         UserDialogue& dialogue) {
  if (header.NFactors <= 0 || choices.FactorsPooled.empty() || choices.PoolOverSessions) return;
  Answer answer =
      dialogue.Ask(BoxStyle::Question,
                   "Do you want to pool over sessions [if no, label = last session]?",
                   Buttons::YesNo);
  if (answer == Answer::Yes) {
    choices.PoolOverSessions = true;
    groups.PoolingModified = true;
  }
}

void InitPooling(const MdsHeader& header, PoolingGroups& groups) {
  if (groups.PoolingInitialized) return;
  groups.PoolingInitialized = true;
  SetFullRadix(header, groups, header.NSessions);
}

void BuildPoolingGroups(LinesView mdsLines, int linePos0, const MdsHeader& header,
                        const PoolingChoices& choices, PoolingGroups& groups) {
  groups.Pooling = choices.PoolOverSessions || !choices.FactorsPooled.empty();
  if (!groups.Pooling) {
    // One group per session in file order; titles show each session's own
    // levels again.
    int sessionRadix = groups.GroupRadix.empty() ? header.NSessions : groups.GroupRadix[0];
    SetFullRadix(header, groups, sessionRadix);
    groups.NGroups = std::max(header.NSessions, 0);
    groups.GroupSessions.clear();
    return;
  }
  if (!groups.PoolingModified) return;
  groups.PoolingModified = false;

  SetFullRadix(header, groups, choices.PoolOverSessions ? 1 : header.MaxSessionsPerCell);
  for (const std::string& name : choices.FactorsPooled) {
    int k = FindCodeIndex(name, header.FactorNames, header.NFactors);
    if (k > 0) groups.GroupRadix[k] = 1;
  }
  groups.NGroups = 1;
  for (int radix : groups.GroupRadix) {
    if (radix > 1) groups.NGroups *= radix;
    if (groups.NGroups > MaxGroups) {
      throw CommandError("The factor levels of this file make too many pooling groups.");
    }
  }
  groups.GroupSessions.clear();

  // Each session's group number, then the sessions sorted by group, keeping
  // file order within a group.
  struct Member {
    std::int64_t Group;
    int Line;
  };
  std::vector<Member> members;
  members.reserve(std::size_t(std::max(header.NSessions, 0)));
  int lineIndex = linePos0;
  SessionValues session;
  for (int s = 1; s <= header.NSessions; ++s) {
    int before = lineIndex;
    ReadSession(mdsLines, lineIndex, header, session);
    if (session.SessionLevels.empty()) session.SessionLevels.resize(1);
    session.SessionLevels[0] = session.Replicate;
    if (groups.GroupRadix[0] > 1 &&
        (session.Replicate < 1 || session.Replicate > groups.GroupRadix[0])) {
      throw CommandError("Session " + session.SessionLabel + ": its number " +
                         std::to_string(session.Replicate) + " lies outside 1.." +
                         std::to_string(groups.GroupRadix[0]) + ".");
    }
    for (int f = 1; f <= header.NFactors; ++f) {
      if (groups.GroupRadix[f] > 1) CheckedLevel(header, session, f);
    }
    members.push_back({CellIndex(groups.GroupRadix, session.SessionLevels, 0, header.NFactors),
                       before});
    SkipSegments(mdsLines, lineIndex, session);
  }
  std::stable_sort(members.begin(), members.end(),
                   [](const Member& a, const Member& b) { return a.Group < b.Group; });
  for (const Member& member : members) {
    if (groups.GroupSessions.empty() || groups.GroupSessions.back().GroupNumber != member.Group) {
      groups.GroupSessions.push_back({member.Group, {}});
    }
    groups.GroupSessions.back().SessionLines.push_back(member.Line);
  }
}

void RunGroupLoop(LinesView mdsLines, int linePos0, const MdsHeader& header,
                  const PoolingGroups& groups, GroupTally& tally) {
  int lineIndex = linePos0;
  SessionValues session;
  SegmentValues segment;
  SegmentRuns runs;
  const CodeSelection& codesRead = tally.CodesRead();

  auto tallySession = [&]() {
    ReadSession(mdsLines, lineIndex, header, session);
    for (int s = 0; s < session.NSegments; ++s) {
      ReadSegment(mdsLines, lineIndex, segment);
      ReadSegmentRuns(mdsLines, lineIndex, header, segment, runs, codesRead);
      tally.TallySegment(session, segment, runs);
    }
    tally.SessionTallied();
  };

  if (!groups.Pooling) {
    for (int s = 1; s <= header.NSessions; ++s) {
      tally.ResetTallies();
      tallySession();
      tally.WriteGroupResults(1, session);
    }
    return;
  }
  for (const PoolingGroup& group : groups.GroupSessions) {
    tally.ResetTallies();
    for (int line : group.SessionLines) {
      lineIndex = line;
      tallySession();
    }
    tally.WriteGroupResults(int(group.SessionLines.size()), session);
  }
}

namespace {

// The cells after the session column: each factor's level when the factor
// splits the groups, else the pooled text.
std::string FactorCells(const MdsHeader& header, const PoolingGroups& groups,
                        const SessionValues& last, bool title) {
  std::string cells;
  for (int f = 1; f <= header.NFactors; ++f) {
    cells += '\t';
    if (FactorSplitsGroups(groups, f)) {
      cells += header.FactorLevelNames[f][CheckedLevel(header, last, f)];
    } else {
      cells += title ? FactorName(header, f) + "-pooled" : std::string("pooled");
    }
  }
  return cells;
}

}  // namespace

void WriteGroupTitle(dynString& results, const MdsHeader& header, const PoolingGroups& groups,
                     bool poolOverSessions, const SessionValues& last, int count) {
  std::string title;
  if (groups.Pooling) {
    title = poolOverSessions ? std::string("sessions-pooled") : last.SessionLabel + "-pooled";
  } else {
    title = last.SessionLabel;
  }
  title += FactorCells(header, groups, last, true);
  if (groups.Pooling) title += "\tn=" + std::to_string(count);
  results.push_back(title);
  results.push_back("");
}

std::string MakeExportRowLabel(const MdsHeader& header, const PoolingGroups& groups,
                               bool poolOverSessions, const SessionValues& last) {
  std::string label = groups.Pooling && poolOverSessions ? std::string("pooled") : last.SessionLabel;
  return label + FactorCells(header, groups, last, false);
}

std::string ExportSessionHeading(const MdsHeader& header, const PoolingGroups& groups,
                                 bool poolOverSessions) {
  std::string heading = groups.Pooling && !poolOverSessions ? "pooled" : "session";
  for (int f = 1; f <= header.NFactors; ++f) heading += "\t" + FactorName(header, f);
  return heading;
}

}  // namespace vork
