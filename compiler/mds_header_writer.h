#pragma once

namespace vork {

struct CompileState;

// Writes the stamp line and the header lines in front of the compiled lines
// of an error-free compile, completes every session's factor levels,
// inserts their level lines and replicate numbers, and sets SavedAt.
void WriteMdsHeader(CompileState& state);

}  // namespace vork
