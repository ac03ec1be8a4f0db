#pragma once

#include <string>

#include "compiler/name_index.h"
#include "core/dyn_arrays.h"

namespace vork {

struct CompileState;

// Reads one segment up to its ";" or "/" into the token arrays, gives every
// token its data-part kind, checks and rewrites the times, looks the codes
// up (a declared code gets kind minus its index) and, for Timed and State
// data, works out the segment's start and stop.
void TokenizeSession(CompileState& state);

// For every name of names[1..count], the last index i with names[i] == name.
NameIndex LastIndexesOfNames(const dynString& names, int count);

// True when time token t is an explicit stop written after another time,
// or, in Timed data, an offset.
bool IsStopOrOffsetTime(const CompileState& state, int t);

}  // namespace vork
