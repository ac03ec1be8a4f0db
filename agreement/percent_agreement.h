#pragma once

// "% agree (intvl, multi)": for Intvl and Multi data, code by code, the units
// that Obs1 only, Obs2 only or both observers coded with the code, and the
// percentage of agreement. Each picked code counts by itself, so a unit of
// Multi data may count for several codes.

#include "agreement/agreement_files.h"
#include "core/dyn_arrays.h"
#include "core/user_dialogue.h"

namespace vork {

// Counts over the pairs of segments, by picked code 1..K.
struct PercentCounts {
  dynInteger Obs1Only;
  dynInteger Obs2Only;
  dynInteger Both;
};

// Runs the command: refuses other data types and an empty pick; asks whether
// to go on at a pair of segments of unequal length. Appends the table (and,
// when showResults, the separator) to lines. Throws CommandError on a damaged file.
void RunPercentAgreement(const AgreementFiles& files, const dynString& picked, bool showResults, dynString& lines,
                         UserDialogue& dialogue);

// The table: a heading, one line per picked code, an empty line.
void WritePercentAgreement(dynString& lines, const dynString& picked, const PercentCounts& counts);

}  // namespace vork
