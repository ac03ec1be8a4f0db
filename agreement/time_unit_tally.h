#pragma once

// The time-unit tally of a pair of segments: over their common units, which
// picked code each observer saw at the same unit, with an optional time
// tolerance that forgives a difference when the other observer has the same
// code within ±TimeTol units. Also the unit-by-unit tally of Intvl and Multi
// data (no tolerance).

#include <string>

#include "agreement/segment_pairing.h"
#include "core/dyn_arrays.h"

namespace vork {

// Tallies the overlap of the pair into matrix (rows observer a, columns
// observer b; 0 = Obs1, 1 = Obs2). The matrix has rows and columns 0..K+2.
// With marks, a unit forgiven by the tolerance is marked '.' and a unit
// counted as disagreement '-'. Reads the sides' stretches: the work follows
// the stretches, whatever the units and the tolerance (and the marks).
void TallyTimeUnits(const SegmentPair& pair, int a, int b, int timeTol, dynInteger2& matrix,
                    std::string* marks);

// The whole tally of a pair: the first matrix seen from Obs1 and, when
// timeTol is at least 1, the second seen from Obs2. With withMarks, returns
// the marks line of the plot: one character per plot position, '#' where
// only one observer's segment lies, and the marks of the first tally.
std::string TallySessionTimeUnits(const SegmentPair& pair, int timeTol, dynInteger2& matrix1,
                                  dynInteger2& matrix2, bool withMarks = true);

}  // namespace vork
