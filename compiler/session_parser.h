#pragma once

namespace vork {

struct CompileState;

// Parses the tokens of one segment, as the session tokenizer left them in
// the compile state, fills the segment's matrix and appends the segment
// line and its data lines to the compiled lines. The data-part driver
// calls it once per segment that has tokens, raised no error while being
// tokenized, and only while reporting is on.
void ParseSession(CompileState& state);

}  // namespace vork
