#pragma once

namespace vork {

// The program's full title, as the results banner and the About box show it.
inline constexpr const char* ProgramFullTitle =
    "Sequential analysis of coded observational data, version 5.0";

}  // namespace vork
