#pragma once

// Rounding of the times of a timed-event or state compiled file to a coarser
// time unit: every segment's start, stop and time units are mapped to the
// new unit (halves round up), onsets that fall into one new unit are merged
// into one and counted, and the rounded file is made as new lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/line_buffer.h"
#include "core/dyn_arrays.h"
#include "core/mds_header.h"
#include "core/segment_runs.h"
#include "core/segment_writer.h"
#include "core/user_dialogue.h"

namespace vork {

// The words of the units line the rounding writes, by the new time-unit
// index; the rounding box offers the first TimeUnitIndex of them.
inline constexpr std::array<std::string_view, 3> RoundUnitNames{"seconds", "tenths", "hundredths"};

// The marker of a rounded file's stamp line (ends with a blank).
inline constexpr std::string_view RoundedStampMarker = "MDS file modified by VORK (times rounded) ";

// The notice that refuses a file for rounding, or "" when it can be rounded.
std::string RoundingRefusal(const MdsHeader& header);

// Appends the rounded file's header: the stamp line, the header lines as
// read and the units line in the new unit (time format 5 becomes 2 when
// rounding to seconds).
void WriteRoundedHeader(LinesView mdsLines, const MdsHeader& header, int newTimeUnitIndex,
                        const std::string& stamp, LineBuffer& out);

// What one old segment's times become.
struct RoundedSegment {
  std::int64_t NewStart = 0;
  std::int64_t NewStop = 0;
  int NewU = 0;
};

// Counts kept across a whole run, by code [1..NCodes].
struct RoundingTallies {
  dynInteger Merged;  // onsets merged into another in the same new unit
  dynInteger Carry;   // on-units of a code's latest onset unit besides the onset
};

// Rounds one segment, read as column stretches, from start to stop into
// the new unit, factor old units to one (10, 100 or 1000), written straight
// as data lines: new units inside one stretch are alike and are worked out
// together, so the work follows the stretches, not the units. where names
// the segment in the refusal of a segment whose units do not match its
// times. Returns the new start, stop and units.
RoundedSegment WriteRoundedSegment(const SegmentColumns& columns, std::uint32_t start, std::uint32_t stop,
                                   int factor, RoundingTallies& tallies, const std::string& where,
                                   ColumnLineWriter& out);

// The merge report: one line per code with merged onsets, or
// "No events merged.".
void WriteMergeReport(const MdsHeader& header, const RoundingTallies& tallies, dynString& results);

// The rounding RUN over a loaded file.
struct RoundingOutput {
  dynString ResultLines;  // the file summary and the merge report, appended as made
  LineBuffer MdsLines;    // the rounded file, complete only when the run ends normally
};

// Rounds the whole file (header already read) to newTimeUnitIndex, stamping
// it with stamp. Throws CommandError on a damaged file, a value that does not
// fit or a segment whose units do not match its times; the results made
// before stay in output.
void RoundMdsTimes(LinesView mdsLines, const MdsHeader& header, const std::string& fileName,
                   int newTimeUnitIndex, const std::string& stamp, RoundingOutput& output,
                   UserDialogue& dialogue);

}  // namespace vork
