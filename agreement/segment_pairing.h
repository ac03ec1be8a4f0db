#pragma once

// The walk over both observers' files: segments paired by their running
// position, and for each pair one timeline of picked codes per observer on a
// common frame of plot positions, with the events that begin on it.

#include <array>
#include <cstdint>
#include <string>

#include "agreement/agreement_files.h"
#include "core/dyn_arrays.h"
#include "core/segment_runs.h"
#include "core/session_reader.h"
#include "core/user_dialogue.h"

namespace vork {

// Where one observer's reading stands.
struct ObserverReader {
  int LineIndex = 0;
  int SessionNumber = 0;  // sessions read so far
  int SegmentNumber = 0;  // within the session
  SessionValues Session;  // the current session: its label and segment count
  SegmentValues Segment;  // the current segment
};

// Moves the reader on by exactly one segment, across session boundaries.
// False when the file has no further segment. Throws CommandError on a
// damaged session or segment line.
bool NextObserverSegment(const ObserverFile& file, ObserverReader& reader);

// The plot positions of a pair. Index 1 and 2 are the observers' segments,
// 0 their overlap and 3 their union.
struct PlotFrame {
  std::uint32_t PlotStart = 0;  // the time of position 0
  std::array<int, 4> SpanFrom{};
  std::array<int, 4> SpanTo{};
  int PlotEnd = 0;  // the last position: the end of the ten-unit group holding the union's end
};

// Plot positions from Start up to the next stretch's Start - 1, all held by
// Code.
struct CodeStretch {
  std::int32_t Start = 0;
  std::int32_t Code = 0;
};

// One observer's side of a pair.
struct ObserverTimeline {
  // By plot position 0..PlotEnd: the picked index (1..K) of the code that
  // holds it, K + 1 when none of the picked codes is on, 0 outside the
  // observer's segment. Filled only when asked for (the plot needs it).
  std::vector<std::int32_t> Timeline;
  // The same codes as stretches, always: from position 0, neighbours of
  // different codes, and last a stretch of code 0 that starts one past the
  // last position.
  std::vector<CodeStretch> Stretches;
  // Events in time order, numbered from 1; element 0 holds the count.
  dynInteger EventCode;  // picked index 1..K + 1
  dynInteger EventTime;  // plot position of the onset

  int NEvents() const { return EventCode.empty() ? 0 : EventCode[0]; }
};

struct SegmentPair {
  PlotFrame Frame;
  std::array<ObserverTimeline, 2> Obs;  // Obs1, Obs2
};

// The state of one walk over both files.
struct ObserverPairing {
  int K = 0;  // picked codes
  std::array<ObserverReader, 2> Readers;
  std::array<dynInteger, 2> CodeMap;  // [1..K] by observer
  bool AllRead = false;
  // The segments read last, as runs of the picked codes only; kept to spare
  // reallocation.
  std::array<CodeSelection, 2> Picked;
  std::array<SegmentRuns, 2> Runs;
};

// Both readers at their first session, code maps of the picked codes.
ObserverPairing StartPairing(const AgreementFiles& files, const dynString& picked);

// The stretches of a side whose Timeline is filled (for sides made by hand).
void SetStretchesFromTimeline(ObserverTimeline& side);

// Reads the next pair of segments into pair (with Timeline when withTimeline). False when either file has no
// further segment (AllRead is then set) or when the pair is skipped: no
// common time unit ("No overlap, this session ignored.") or start times more
// than 120 units apart and the user cancels. Throws CommandError on a
// damaged segment or a pair too large for memory.
bool AlignSessionTimelines(const AgreementFiles& files, ObserverPairing& pairing, SegmentPair& pair,
                           UserDialogue& dialogue, bool withTimeline = true);

}  // namespace vork
