#pragma once

namespace vork {

struct CompileState;

// Reads the data part, session by session and segment by segment: writes
// the units line and the session lines, has every segment tokenized and
// parsed, gathers the sessions' level lists and checks session labels.
// While reporting is off (the code-collecting pass) it only tokenizes.
void ParseData(CompileState& state);

}  // namespace vork
