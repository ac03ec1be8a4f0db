#pragma once

#include <string>

namespace vork {

// The name of a file without its folder, as messages and results show it.
std::string FileNameWithoutFolder(const std::string& fileName);

// The file name without its extension: the text from the last "." of the
// name part ("data.sds" -> "data", "run.1/data" unchanged, ".mds" -> "").
std::string RemoveFileExt(const std::string& fileName);

}  // namespace vork
