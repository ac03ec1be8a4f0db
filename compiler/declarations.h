#pragma once

#include <string>

#include "core/dyn_arrays.h"

namespace vork {

struct CompileState;

// Reads the declaration part, up to and including its ";": the data type,
// the interval values, codes with duals and sets, factors with levels and
// the time-unit label.
void ParseHeader(CompileState& state);

// Fills the token arrays with the declaration part's tokens, the ";" last.
void TokenizeHeader(CompileState& state);

// Runs the declaration grammar over the tokens of the declaration part.
void ParseDeclarations(CompileState& state);

// True when name equals one of names[1 .. count - 1] (exactly, case and all).
bool NameInList(const std::string& name, const dynString& names, int count);

}  // namespace vork
