#pragma once

// The modification rules as they were stated before the engine worked on
// column stretches: a segment as a grid walked cell by cell. Part of the
// grid model (tests/modify/grid_modify_model.h) the engine is checked
// against; the WINDOW edges come from the engine's own tables
// (modify/window_command.h).

#include <string>
#include <vector>

#include "core/dyn_arrays.h"
#include "modify/modify_command.h"

namespace vork::model {

// One segment while a command rewrites it. Matrix holds the old codes'
// rows (row 0 is code 1) and, for a command that makes a new code, one more
// row for it, all '.' at first. Runs[t] is the number of units column t
// stands for: 1 at first; -1 drops the column. Picked holds code numbers.
struct SegmentWork {
  dynChar2& Matrix;
  dynInteger& Runs;
  const std::vector<int>& Picked;
  int NTimeUnits = 0;
};

// Marks units first..last (columns) of row as one occurrence: an onset,
// then continuing cells.
void MarkStretch(std::string& row, int first, int last);

// The number of picked codes on (onset or continuing) at column t.
int CountCodesOnAt(const dynChar2& matrix, const std::vector<int>& picked, int t);

// The number of the first picked code, in picked order, on at column t;
// 0 when none is.
int FirstCodeOnAt(const dynChar2& matrix, const std::vector<int>& picked, int t);

// The rules that put the new code into its row (the last row of Matrix):
// And, Or, Not, Nor and Xor by how many picked codes are on.
void MarkByCount(SegmentWork& work, int command);

// Recode: the new code is on wherever a picked code is, with an onset where
// one of them has one.
void RecodeRow(SegmentWork& work);

// Lump: every stretch of successive picked events becomes one event of the
// new code; the other events of the stretch are dropped.
void LumpEvents(SegmentWork& work);

// Chain: every run of events that follows the picked codes in order, taken
// from left to right, becomes one event of the new code.
void ChainEvents(SegmentWork& work);

// Bout: stretches of picked codes on whose gaps are no longer than gap
// units join into one bout; a stretch with no gap bridged makes none.
void MakeBouts(SegmentWork& work, int gap);

// Recode without a new code: an onset right after the same code was on
// becomes a continuation, for every code.
void JoinSuccessiveEvents(SegmentWork& work, int nCodes);

// Event: a matrix of the picked codes' onsets alone, one row per picked
// code; a column without onsets is dropped. True when some column holds
// more than one onset.
bool OnsetsOnly(SegmentWork& work, dynChar2& events);

// WINDOW on one segment: the new code (the last row) is on in windows
// placed around each occurrence of the one picked code, or from each
// occurrence of the first picked code to the next occurrence of the second.
// counts gathers null, truncated and overlapped windows over a run.
void MarkWindows(SegmentWork& work, const WindowParms& parms, int maxUnits, WindowCounts& counts);

}  // namespace vork::model
