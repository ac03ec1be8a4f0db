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

class TextFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return scratch.Path(name); }
  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string ReadBytes(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(Path(name), std::ios::binary).rdbuf();
    return text.str();
  }
  long FilesInFolder() const {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  }
  testing::ScratchFolder scratch;
  const fs::path& folder = scratch.Folder();
};

TEST_F(TextFileTest, LineBreaksAreLfOrCrLfAndAFinalBreakEndsTheLastLine) {
  const std::pair<std::string, dynString> cases[] = {
      {"", {}},           {"\r\n", {""}},           {"a", {"a"}},
      {"a\nb", {"a", "b"}}, {"a\r\nb\r\n", {"a", "b"}}, {"a\n\nb\n\n", {"a", "", "b", ""}},
      {"x\ry\n", {"x\ry"}}, {"a\r\n\tb\nc\r\n", {"a", "\tb", "c"}},
      {"\xEF\xBB\xBF" "caf\xC3\xA9\r\n", {"caf\xC3\xA9"}},
  };
  for (const auto& [bytes, lines] : cases) {
    WriteBytes("in.txt", bytes);
    EXPECT_EQ(LoadTextLines(Path("in.txt")), lines) << "bytes: " << bytes;
  }
}

TEST_F(TextFileTest, SavedLinesEndInCrLfReadBackUnchangedAndReplaceTheOldFile) {
  const dynString lines = {"MDS", "", "\t1\t2", "\xC3\xA9t\xC3\xA9"};
  WriteBytes("out.mds", "old text that is longer than the new one\r\n");
  SaveTextLines(Path("out.mds"), lines);
  EXPECT_EQ(ReadBytes("out.mds"), "MDS\r\n\r\n\t1\t2\r\n\xC3\xA9t\xC3\xA9\r\n");
  EXPECT_EQ(LoadTextLines(Path("out.mds")), lines);
  EXPECT_EQ(FilesInFolder(), 1);  // nothing left beside it
  SaveTextLines(Path("empty.mds"), {});
  EXPECT_EQ(ReadBytes("empty.mds"), "");
}

TEST_F(TextFileTest, AFileThatCannotBeReadEndsTheCommand) {
  EXPECT_THROW(LoadTextLines(folder.string()), CommandError);
  try {
    LoadTextLines(Path("missing.mds"));
    ADD_FAILURE() << "no error";
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
  EXPECT_EQ(FilesInFolder(), 2);
  EXPECT_THROW(SaveTextLines(Path("no such folder/x.mds"), {"new"}), CommandError);
}

}  // namespace
}  // namespace vork
