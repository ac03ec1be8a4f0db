#include "tests/support/scratch_folder.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

namespace vork::testing {

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vork_test_XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder " + pattern);
  folder_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  // A test may have taken the write bit away to provoke a failure.
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(folder_, ignored);
}

}  // namespace vork::testing
