#include "compiler/session_parser.h"

#include "compiler/compile_state.h"

namespace vork {

// Stand-in until the session state machine is written: a segment is
// tokenized and checked but nothing of it is parsed or written.
void ParseSession(CompileState& state) { (void)state; }

}  // namespace vork
