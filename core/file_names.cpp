#include "core/file_names.h"

namespace vork {
namespace {

// Where the name part starts: after the last folder separator.
std::string::size_type NameStart(const std::string& fileName) {
  const auto slash = fileName.find_last_of('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string FileNameWithoutFolder(const std::string& fileName) {
  return fileName.substr(NameStart(fileName));
}

std::string RemoveFileExt(const std::string& fileName) {
  const auto dot = fileName.find_last_of('.');
  if (dot == std::string::npos || dot < NameStart(fileName)) return fileName;
  return fileName.substr(0, dot);
}

}  // namespace vork
