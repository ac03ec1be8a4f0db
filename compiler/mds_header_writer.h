#pragma once

namespace vork {

struct CompileState;

// Keeps as many empty lines at the start of the compiled lines as the
// header will have when no factors are made from level lists: the data part
// is then written behind them and the header into them.
void KeepHeaderLines(CompileState& state);

// Writes the stamp line and the header lines in front of the compiled lines
// of an error-free compile (into the lines kept for them, when they are as
// many), completes every session's factor levels, inserts their level lines
// and replicate numbers, and sets SavedAt.
void WriteMdsHeader(CompileState& state);

}  // namespace vork
