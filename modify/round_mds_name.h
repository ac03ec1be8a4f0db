#pragma once

#include <string>

namespace vork {

// The numbered name proposed for a new rounded file: x.mds gives x[1].mds,
// x[1].mds gives x[2].mds, x[9].mds gives x[10].mds, x[+3].mds gives
// x[4].mds. "" when the name ends in "]" without a whole number (signed or
// not) between its first "[" and that "]".
std::string NextNumberedMdsName(const std::string& name);

}  // namespace vork
