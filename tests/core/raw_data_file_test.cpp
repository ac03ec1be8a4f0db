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
  std::string PathOf(const std::string& name) const { return (Folder / name).string(); }

  static std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  testing::ScratchFolder Scratch;
  const fs::path& Folder = Scratch.Folder();
};

TEST_F(RawDataFileTest, BackupNameReplacesTheExtension) {
  EXPECT_EQ(BackupFileName("/d/a.sds"), "/d/a.~sds");
  EXPECT_EQ(BackupFileName("/d/a.txt"), "/d/a.~sds");
  EXPECT_EQ(BackupFileName("/d.x/a"), "/d.x/a.~sds");
}

TEST_F(RawDataFileTest, SavingTwiceWithBackupKeepsOnlyTheLatestPreviousVersion) {
  const std::string file = PathOf("a.sds");
  WriteRawDataFile(file, {"Event a b;", "a b /"}, true);
  EXPECT_FALSE(fs::exists(PathOf("a.~sds")));
  WriteRawDataFile(file, {"second"}, true);
  WriteRawDataFile(file, {"third"}, true);
  EXPECT_EQ(Content(file), "third\r\n");
  EXPECT_EQ(Content(PathOf("a.~sds")), "second\r\n");
}

TEST_F(RawDataFileTest, WithoutBackupNoCopyIsMade) {
  const std::string file = PathOf("a.sds");
  WriteRawDataFile(file, {"one"}, false);
  WriteRawDataFile(file, {"two", ""}, false);
  EXPECT_EQ(Content(file), "two\r\n\r\n");
  EXPECT_FALSE(fs::exists(PathOf("a.~sds")));
}

TEST_F(RawDataFileTest, AFailedSaveLeavesTheFileWhole) {
  const std::string file = PathOf("a.sds");
  WriteRawDataFile(file, {"kept"}, false);
  fs::create_directory(PathOf("a.~sds"));  // a backup that cannot be written
  EXPECT_THROW(WriteRawDataFile(file, {"lost"}, true), CommandError);
  EXPECT_EQ(Content(file), "kept\r\n");
  EXPECT_THROW(WriteRawDataFile(PathOf("no/such/b.sds"), {"x"}, false), CommandError);
}

TEST_F(RawDataFileTest, TheBackupFileItselfCanBeSavedWithBackupOn) {
  // A text recovered from its backup copy is saved under the backup's name:
  // there is no older version to keep, and the save goes through.
  const std::string file = PathOf("a.~sds");
  WriteRawDataFile(file, {"recovered"}, false);
  WriteRawDataFile(file, {"recovered", "edited"}, true);
  EXPECT_EQ(Content(file), "recovered\r\nedited\r\n");
}

TEST_F(RawDataFileTest, FileNotNewerComparesModificationTimes) {
  const std::string a = PathOf("a.sds");
  const std::string b = PathOf("a.mds");
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
