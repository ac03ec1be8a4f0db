#include "core/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/command_error.h"
#include "tests/support/scratch_folder.h"

namespace vork {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class TextFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return scratch.Path(name); }
  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string ReadBytes(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  testing::ScratchFolder scratch;
  const fs::path& folder = scratch.Folder();
};

TEST_F(TextFileTest, LineBreaksAreLfOrCrLfAndAFinalBreakEndsTheLastLine) {
  struct Case {
    std::string bytes;
    dynString lines;
  };
  const Case cases[] = {
      {"", {}},
      {"\r\n", {""}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\n\nb\n\n", {"a", "", "b", ""}},
      {"a\r\n\tb\nc\r\n", {"a", "\tb", "c"}},
      {"x\ry\n", {"x\ry"}},
      {"\xEF\xBB\xBF"
       "caf\xC3\xA9\r\n",
       {"caf\xC3\xA9"}},
  };
  for (const Case& c : cases) {
    WriteBytes("in.txt", c.bytes);
    EXPECT_EQ(LoadTextLines(Path("in.txt")), c.lines) << "bytes: " << c.bytes;
  }
}

TEST_F(TextFileTest, SavedLinesEndInCrLfAndReadBackUnchanged) {
  const dynString lines = {"MDS", "", "\t1\t2", "\xC3\xA9t\xC3\xA9"};
  SaveTextLines(Path("out.mds"), lines);
  EXPECT_EQ(ReadBytes("out.mds"), "MDS\r\n\r\n\t1\t2\r\n\xC3\xA9t\xC3\xA9\r\n");
  EXPECT_EQ(LoadTextLines(Path("out.mds")), lines);
  SaveTextLines(Path("empty.mds"), {});
  EXPECT_EQ(ReadBytes("empty.mds"), "");
}

TEST_F(TextFileTest, SavingReplacesTheOldFileAndLeavesNothingBeside) {
  WriteBytes("out.mds", "old text that is longer than the new one\r\n");
  SaveTextLines(Path("out.mds"), {"new"});
  EXPECT_EQ(ReadBytes("out.mds"), "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(TextFileTest, AFileThatCannotBeReadEndsTheCommand) {
  EXPECT_THROW(LoadTextLines(Path("missing.mds")), CommandError);
  EXPECT_THROW(LoadTextLines(folder.string()), CommandError);
  try {
    LoadTextLines(Path("missing.mds"));
  } catch (const CommandError& error) {
    EXPECT_NE(std::string(error.what()).find("missing.mds"), std::string::npos) << error.what();
  }
}

TEST_F(TextFileTest, AFailedSaveLeavesTheOldFileWhole) {
  WriteBytes("keep.mds", "old\r\n");
  // A folder in the place of the file cannot be replaced by a file.
  fs::create_directories(folder / "dir.mds");
  EXPECT_THROW(SaveTextLines(Path("dir.mds"), {"new"}), CommandError);
  EXPECT_TRUE(fs::is_directory(folder / "dir.mds"));
  // A folder that cannot be written to takes no temporary file.
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const bool writable = static_cast<bool>(std::ofstream(Path("probe")));  // root may write anyway
  fs::remove(Path("probe"));
  if (!writable) {
    EXPECT_THROW(SaveTextLines(Path("keep.mds"), {"new"}), CommandError);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(ReadBytes("keep.mds"), "old\r\n");
  }
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
  EXPECT_THROW(SaveTextLines(Path("no such folder/x.mds"), {"new"}), CommandError);
}

}  // namespace
}  // namespace vork
