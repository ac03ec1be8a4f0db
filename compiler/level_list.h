#pragma once

namespace vork {

struct CompileState;

// A session's factor-level list: "(" level {[","] level} ")". Token
// numbers are those of the compile state's token arrays. With declared
// factors each level must be one of its factor's levels; without them the
// levels met at each position make a factor of their own.
void OpenLevelList(CompileState& state, int i);
void AddLevelName(CompileState& state, int i);
void LevelSeparator(CompileState& state);
void CloseLevelList(CompileState& state, int i);

}  // namespace vork
