#pragma once

// The character plot of a compiled file: for every session and segment,
// blocks of a fixed number of time units, each block a line of time labels
// (one every ten units), a ruler, and one row per picked code in which an
// onset shows the code's symbol, a unit the code stays on the plot
// character, and an off unit a blank. Rows begin with "." up to the unit
// before the segment's first, so that the rulers line up with multiples of
// ten; a last, partial block is filled with "." to the end of its group.

#include <array>
#include <string>

#include "analysis/analysis_run.h"
#include "core/line_buffer.h"
#include "core/dyn_arrays.h"
#include "core/mds_header.h"
#include "core/user_dialogue.h"

namespace vork {

// The items of the line-length box, and the item selected at a load.
inline constexpr std::array<const char*, 11> PlotLineLengthItems = {
    "50", "60", "70", "80", "90", "100", "110", "120", "150", "180", "200"};
int DefaultLineLengthItem(int dataType);

// The plot window's controls, gathered for one RUN.
struct PlotChoices {
  dynString PickedCodes;   // in list order
  dynString Markers;       // line i: the symbol of picked code i
  std::string LineLength;  // the text of the line-length box
  char PlotChar = '+';     // a unit the code stays on: the run options' plot character
};

// Time units per block from the line-length text: held to 10..200 and
// rounded up to a multiple of ten. Throws CommandError naming the text when
// it is no whole number.
int UnitsPerLine(const std::string& lineLength);

// The whole RUN: with no picked code the notice "Select one or more codes
// to plot." and false. Otherwise the markers are normalized (one character
// per line, "?" for a missing symbol; the window shows them so), then the
// frame's start (the results cleared for "overwrite", the file summary when
// due) and the plot of every session, written whatever the results box
// says (the frame's end adds the separator when the box is above 0). Throws CommandError on a bad line length (before anything is written) or
// a malformed file (output then holds the lines made before the fault).
bool RunPlotMds(LinesView mdsLines, int linePos0, const MdsHeader& header,
                const RunFrame& frame, PlotChoices& choices, UserDialogue& dialogue,
                RunOutput& output);

}  // namespace vork
