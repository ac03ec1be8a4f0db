#pragma once

// The report of a compiled file's structure: where the file is, what data it
// holds, its codes with their sets and dual names, its factors and levels,
// and per session the number of segments, the label and the factor levels.

#include <string>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"

namespace vork {

// Appends the report of the file fileName, whose lines and header have been
// read, to results. A malformed session or segment line throws
// CommandError; the lines appended before it stay.
void ShowMdsStructure(LinesView mdsLines, const MdsHeader& header,
                      const std::string& fileName, dynString& results);

}  // namespace vork
