#pragma once

#include <string>

#include "core/dyn_arrays.h"

namespace vork {

// The name of a raw data file's backup copy: the name without its
// extension + ".~sds".
std::string BackupFileName(const std::string& fileName);

// Saves the lines of a raw data text. With keepBackup and an existing file,
// the previous file becomes the backup copy (an older backup is replaced).
// The file itself is replaced only once the new text is completely
// written, so a failed save leaves it as it was. Throws CommandError.
void WriteRawDataFile(const std::string& fileName, const dynString& lines, bool keepBackup);

// True when both files exist and A was not modified later than B.
bool FileNotNewer(const std::string& a, const std::string& b);

}  // namespace vork
