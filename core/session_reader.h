#pragma once

// Sessions and segments of a compiled file read into records: the one way
// every analysis, report and window walks a file's sessions.
//
//   int lineIndex = header.LineIndex;            // just before the first session
//   SessionValues session;
//   SegmentValues segment;
//   SegmentRuns runs;                            // core/segment_runs.h
//   for (int s = 1; s <= header.NSessions; ++s) {
//     ReadSession(lines, lineIndex, header, session);
//     for (int g = 0; g < session.NSegments; ++g) {
//       ReadSegment(lines, lineIndex, segment);
//       ReadSegmentRuns(lines, lineIndex, header, segment, runs);  // or ReadSegmentData for a grid,
//     }                                                            // or SkipSegmentData
//   }

#include <cstdint>
#include <string>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"

namespace vork {

// The values of one session line (and its level line).
struct SessionValues {
  int Replicate = 0;
  int NSegments = 0;
  std::string SessionLabel;
  dynInteger SessionLevels;  // [1..NFactors]; element 0 the replicate number while grouping
};

// The values of one segment line.
struct SegmentValues {
  int NDataLines = 0;
  int NTimeUnits = 0;
  std::uint32_t StartTime = 0;
  std::uint32_t StopTime = 0;
};

// Reads the next session line (and its level line, whose levels are checked
// against the header's factors) into session.
void ReadSession(LinesView lines, int& lineIndex, const MdsHeader& header, SessionValues& session);

// Reads the next segment line into segment; the data lines follow it.
void ReadSegment(LinesView lines, int& lineIndex, SegmentValues& segment);

// Moves lineIndex past the data lines of the segment just read, unread.
void SkipSegmentData(LinesView lines, int& lineIndex, const SegmentValues& segment);

// Moves lineIndex past the segments of the session just read, data lines
// unread.
void SkipSegments(LinesView lines, int& lineIndex, const SessionValues& session);

}  // namespace vork
