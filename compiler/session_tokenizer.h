#pragma once

#include <string>
#include <unordered_map>

#include "core/dyn_arrays.h"

namespace vork {

struct CompileState;

// Reads one segment up to its ";" or "/" into the token arrays, gives every
// token its data-part kind, checks and rewrites the times, looks the codes
// up (a declared code gets kind minus its index) and, for Timed and State
// data, works out the segment's start and stop.
void TokenizeSession(CompileState& state);

// The last index i in 1..count with names[i] == name; 0 when none.
int LastIndexOfName(const std::string& name, const dynString& names, int count);

// The index LastIndexOfName gives, for every name of names[1..count].
std::unordered_map<std::string, int> LastIndexesOfNames(const dynString& names, int count);

// True when time token t is an explicit stop written after another time,
// or, in Timed data, an offset.
bool IsStopOrOffsetTime(const CompileState& state, int t);

}  // namespace vork
