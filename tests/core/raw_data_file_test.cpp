#include "core/raw_data_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/command_error.h"
#include "tests/support/scratch_folder.h"

namespace vork {
namespace {

namespace fs = std::filesystem;

class RawDataFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return Scratch.Path(name); }
  std::string Content(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(PathOf(name), std::ios::binary).rdbuf();
    return text.str();
  }
  testing::ScratchFolder Scratch;
};

TEST_F(RawDataFileTest, BackupNameReplacesTheExtension) {
  EXPECT_EQ(BackupFileName("/d/a.sds"), "/d/a.~sds");
  EXPECT_EQ(BackupFileName("/d/a.txt"), "/d/a.~sds");
  EXPECT_EQ(BackupFileName("/d.x/a"), "/d.x/a.~sds");
}

TEST_F(RawDataFileTest, TheBackupKeepsOnlyTheLatestPreviousVersion) {
  const std::string file = PathOf("a.sds");
  WriteRawDataFile(file, {"Event a b;", "a b /"}, true);
  EXPECT_FALSE(fs::exists(PathOf("a.~sds")));
  WriteRawDataFile(file, {"second"}, true);
  WriteRawDataFile(file, {"third"}, true);
  EXPECT_EQ(Content("a.sds"), "third\r\n");
  EXPECT_EQ(Content("a.~sds"), "second\r\n");
  WriteRawDataFile(file, {"four", ""}, false);  // without backup no copy is made
  EXPECT_EQ(Content("a.sds"), "four\r\n\r\n");
  EXPECT_EQ(Content("a.~sds"), "second\r\n");
}

TEST_F(RawDataFileTest, AFailedSaveLeavesTheFileWhole) {
  const std::string file = PathOf("a.sds");
  WriteRawDataFile(file, {"kept"}, false);
  fs::create_directory(PathOf("a.~sds"));  // a backup that cannot be written
  EXPECT_THROW(WriteRawDataFile(file, {"lost"}, true), CommandError);
  EXPECT_EQ(Content("a.sds"), "kept\r\n");
  EXPECT_THROW(WriteRawDataFile(PathOf("no/such/b.sds"), {"x"}, false), CommandError);
}

TEST_F(RawDataFileTest, TheBackupFileItselfCanBeSavedWithBackupOn) {
  // A text recovered from its backup is saved under the backup's name: no older version to keep.
  const std::string file = PathOf("a.~sds");
  WriteRawDataFile(file, {"recovered"}, false);
  WriteRawDataFile(file, {"recovered", "edited"}, true);
  EXPECT_EQ(Content("a.~sds"), "recovered\r\nedited\r\n");
}

TEST_F(RawDataFileTest, FileNotNewerComparesModificationTimes) {
  const std::string a = PathOf("a.sds"), b = PathOf("a.mds");
  WriteRawDataFile(a, {"a"}, false);
  WriteRawDataFile(b, {"b"}, false);
  const auto now = fs::last_write_time(a);
  fs::last_write_time(b, now + std::chrono::seconds(5));
  EXPECT_TRUE(FileNotNewer(a, b));
  EXPECT_FALSE(FileNotNewer(b, a));
  fs::last_write_time(b, now);
  EXPECT_TRUE(FileNotNewer(a, b));
  EXPECT_FALSE(FileNotNewer(a, PathOf("missing.mds")));
  EXPECT_FALSE(FileNotNewer(PathOf("missing.sds"), b));
}

}  // namespace
}  // namespace vork
