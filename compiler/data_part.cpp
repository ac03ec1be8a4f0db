#include "compiler/data_part.h"

#include "compiler/compile_state.h"

namespace vork {

void ParseData(CompileState& state) { (void)state; }

}  // namespace vork
