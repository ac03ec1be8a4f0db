#include "core/raw_data_file.h"

#include <filesystem>
#include <system_error>

#include "core/command_error.h"
#include "core/file_names.h"
#include "core/text_file.h"

namespace vork {

std::string BackupFileName(const std::string& fileName) {
  return RemoveFileExt(fileName) + ".~sds";
}

void WriteRawDataFile(const std::string& fileName, const dynString& lines, bool keepBackup) {
  std::error_code error;
  const std::string backup = BackupFileName(fileName);
  // A file saved under its own backup name has no older copy to keep.
  const bool isBackup = std::filesystem::equivalent(fileName, backup, error) && !error;
  if (keepBackup && !isBackup && std::filesystem::is_regular_file(fileName, error)) {
    // A copy, not a move: the file stays whole until its new text is written.
    std::filesystem::copy_file(fileName, backup, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) {
      throw CommandError("Cannot make the backup \"" + backup + "\": " + error.message() + ".");
    }
  }
  SaveTextLines(fileName, lines);
}

bool FileNotNewer(const std::string& a, const std::string& b) {
  std::error_code error;
  const auto timeA = std::filesystem::last_write_time(a, error);
  if (error) return false;
  const auto timeB = std::filesystem::last_write_time(b, error);
  if (error) return false;
  return timeA <= timeB;
}

}  // namespace vork
