#include "compiler/mds_header_writer.h"

#include "compiler/compile_state.h"

namespace vork {

// Stand-in until the header writer is written: no header lines.
void WriteMdsHeader(CompileState& state) { (void)state; }

}  // namespace vork
