#include "core/session_reader.h"

#include "core/command_error.h"
#include "core/mds_reader.h"

namespace vork {

void ReadSession(LinesView lines, int& lineIndex, const MdsHeader& header, SessionValues& session) {
  ReadSessionHeader(lines, lineIndex, session.Replicate, session.NSegments, session.SessionLabel,
                    header.NFactors, session.SessionLevels, header.FactorLevels);
  if (session.NSegments < 0) {
    throw CommandError("Session " + session.SessionLabel + " (line " + std::to_string(lineIndex + 1) +
                       ") has a negative number of segments.");
  }
}

void ReadSegment(LinesView lines, int& lineIndex, SegmentValues& segment) {
  ReadSegmentHeader(lines, lineIndex, segment.NDataLines, segment.NTimeUnits, segment.StartTime,
                    segment.StopTime);
}

void SkipSegmentData(LinesView lines, int& lineIndex, const SegmentValues& segment) {
  const std::int64_t next = std::int64_t{lineIndex} + segment.NDataLines;
  if (segment.NDataLines < 0 || next >= static_cast<std::int64_t>(lines.size())) {
    throw CommandError("Segment line " + std::to_string(lineIndex + 1) + ": " +
                       std::to_string(segment.NDataLines) + " data lines do not fit in the file.");
  }
  lineIndex = static_cast<int>(next);
}

void SkipSegments(LinesView lines, int& lineIndex, const SessionValues& session) {
  SegmentValues segment;
  for (int s = 0; s < session.NSegments; ++s) {
    ReadSegment(lines, lineIndex, segment);
    SkipSegmentData(lines, lineIndex, segment);
  }
}

}  // namespace vork
