#include "core/raw_data_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "core/command_error.h"
#include "core/text_file.h"
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
  void PutBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
  }
  // The text RawDataText hands over for the file, read in pieces of
  // pieceBytes; a piece other than the last that does not end in LF is
  // marked with "<cut>".
  std::string ReadText(const std::string& name, std::size_t pieceBytes, bool* utf8 = nullptr) const {
    RawDataText reader(PathOf(name), pieceBytes);
    if (utf8 != nullptr) *utf8 = reader.IsUtf8();
    std::vector<std::string> pieces;
    reader.ReadPieces([&](std::string_view piece) { pieces.emplace_back(piece); });
    std::string text;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      text += pieces[i];
      if (i + 1 < pieces.size() && (pieces[i].empty() || pieces[i].back() != '\n')) text += "<cut>";
    }
    return text;
  }
  testing::ScratchFolder Scratch;
};

TEST_F(RawDataFileTest, TheEditorsTextIsTheFilesLinesJoinedByLfWhateverThePieceSize) {
  struct Case {
    std::string Bytes;
    std::string Text;
    bool Utf8;
  };
  const Case cases[] = {
      {"", "", true},
      {"\xEF\xBB\xBF", "", true},
      {"\r\n", "", true},
      {"\n\n", "\n", true},
      {"a", "a", true},
      {"Event a b;\r\na b /\r\n\r\nb\r\n", "Event a b;\na b /\n\nb", true},
      {"a\n\nb\n\n", "a\n\nb\n", true},
      // A CR that is not before an LF stays where it is.
      {"x\ry\n", "x\ry", true},
      {"x\r\r\nz", "x\r\nz", true},
      {"last\r", "last\r", true},
      {"\xEF\xBB\xBF" "caf\xC3\xA9\r\n\xF0\x9F\x98\x80 /", "caf\xC3\xA9\n\xF0\x9F\x98\x80 /", true},
      // One byte that is not UTF-8, even on the last line, makes the whole
      // text the Windows code page's.
      {"R\xC3\xA9my\r\n% \x96 \x80\x9C\r\n", "R\xC3\x83\xC2\xA9my\n% \xE2\x80\x93 \xE2\x82\xAC\xC5\x93", false},
      {"\xEF\xBB\xBF\xE9t\xE9\n", "\xC3\xA9t\xC3\xA9", false},
  };
  for (const Case& c : cases) {
    PutBytes("in.sds", c.Bytes);
    for (std::size_t pieceBytes : {1, 2, 3, 7, 1 << 20}) {
      bool utf8 = !c.Utf8;
      EXPECT_EQ(ReadText("in.sds", pieceBytes, &utf8), c.Text) << c.Bytes << " in pieces of " << pieceBytes;
      EXPECT_EQ(utf8, c.Utf8) << c.Bytes;
    }
  }
}

TEST_F(RawDataFileTest, TheEditorsTextAgreesWithTheLinesTheCompilerReads) {
  // The model: the whole file's lines as LoadTextLines reads them, joined
  // by LF and decoded as a whole.
  std::mt19937 random(15);
  const std::string alphabet[] = {"a", " ", "/", "\r", "\n", "\r\n", "\xC3\xA9", "\xC3", "\x96", "\xEF\xBB\xBF"};
  for (int round = 0; round < 500; ++round) {
    std::string bytes;
    const int length = int(random() % 40);
    const bool plain = random() % 2 == 0;  // half the files are valid UTF-8
    for (int k = 0; k < length; ++k) {
      const std::size_t pick = random() % (plain ? 7 : 10);
      bytes += alphabet[pick];
    }
    std::string joined;
    const dynString lines = SplitTextLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) joined += (i > 0 ? "\n" : "") + lines[i];
    const bool utf8 = IsValidUtf8(joined);
    const std::string expected = utf8 ? joined : Windows1252ToUtf8(joined);

    PutBytes("in.sds", bytes);
    for (const std::size_t pieceBytes : {std::size_t{1}, 2 + random() % 11}) {
      bool readUtf8 = !utf8;
      const std::string text = ReadText("in.sds", pieceBytes, &readUtf8);
      ASSERT_EQ(text, expected) << "bytes: " << bytes << " pieces of " << pieceBytes;
      ASSERT_EQ(readUtf8, utf8) << "bytes: " << bytes;
    }
  }
}

TEST_F(RawDataFileTest, AFileThatCannotBeReadIsRefusedBeforeAnyText) {
  EXPECT_THROW(RawDataText(Scratch.Folder().string()), CommandError);
  try {
    RawDataText reader(PathOf("missing.sds"));
    ADD_FAILURE() << "a missing file was read";
  } catch (const CommandError& error) {
    EXPECT_NE(std::string(error.what()).find("missing.sds"), std::string::npos) << error.what();
  }
}

TEST(Utf8Check, LongAsciiRunsAndEverySequenceKind) {
  const std::pair<std::string, bool> cases[] = {
      {"", true},
      {"abcdefghijklmnop", true},
      {"abcdefgh\xC3\xA9", true},
      {"abcdefg\xC3\xA9xyzuvwabcdefgh", true},
      {"abcdefg\xC3", false},
      {"abcdefghij\x96klmnopqrs", false},
      {"abcdefghijklmnopqrstuvw\x80", false},
      {"\xE2\x80\x93 \xF0\x9F\x98\x80", true},
      {"\xC0\xAF", false},          // overlong
      {"\xE0\x80\xAF", false},      // overlong
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\xF4\x8F\xBF\xBF", true},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidUtf8(text), valid) << text;
}

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
