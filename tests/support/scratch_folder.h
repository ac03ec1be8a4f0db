#pragma once

#include <filesystem>
#include <string>

namespace vork::testing {

// A new empty folder of its own under the system's temporary folder, removed
// with everything in it when the value goes. Its name is unique, so tests
// run at the same time, by ctest or by other builds on the machine, never
// meet in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }

  // The full name of a file in the folder.
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

 private:
  std::filesystem::path folder_;
};

}  // namespace vork::testing
