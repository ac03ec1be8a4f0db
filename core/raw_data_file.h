#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/dyn_arrays.h"

namespace vork {

// Raw data texts are UTF-8; a text that is not valid UTF-8 was written in
// the Windows code page (1252) and is read in it, so that its dashes and
// letters (byte 150 the en dash, 140 "\u0152", 128 "\u20AC") keep their meaning.

// True when text is valid UTF-8 throughout (no overlong forms, no
// surrogates, nothing beyond U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The character a byte of the Windows code page stands for. The five bytes
// the code page leaves unassigned stand for the control characters of the
// same number, as Windows reads them.
char16_t Windows1252Char(unsigned char byte);

// The byte of the Windows code page for a character, for the characters
// 0..255 that are not replaced there and for the 27 that the code page puts
// at 128..159; -1 for any other character.
int Windows1252Byte(char32_t character);

// Appends the character with the given code point to a UTF-8 text.
void AppendUtf8(std::string& text, char32_t codePoint);

// A text in the Windows code page as UTF-8.
std::string Windows1252ToUtf8(std::string_view text);

// A raw data file read for the editor without holding its text whole. The
// text is the file's lines as LoadTextLines (core/text_file.h) reads them
// (a UTF-8 byte order mark dropped, LF or CR LF ending a line, a final break
// starting no line) joined by LF; decoded as UTF-8 or, when the file is not
// valid UTF-8 throughout, in the Windows code page.
//
//   RawDataText text(fileName);   // opens the file and checks its bytes
//   text.ReadPieces([&](std::string_view piece) { ... });
class RawDataText {
 public:
  // The largest file read: the editor counts the positions of its text in
  // 31 bits, and a file's bytes bound its characters.
  static constexpr std::uint64_t MaxFileBytes = (std::uint64_t{1} << 31) - 2;

  // Opens the file and reads it once to find its encoding. Throws
  // CommandError naming the file when it cannot be read or is larger than
  // MaxFileBytes.
  explicit RawDataText(const std::string& fileName, std::size_t pieceBytes = std::size_t{1} << 20);

  // False when the file is read in the Windows code page.
  bool IsUtf8() const { return Utf8; }

  // Hands the text to take as UTF-8, in order, in pieces of about pieceBytes
  // of the file, each but the last ending in the LF between two lines (a
  // longer line comes in one piece). Nothing is handed for a text of no
  // lines. Throws CommandError when the file cannot be read.
  void ReadPieces(const std::function<void(std::string_view piece)>& take);

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  // Hands the file's bytes from the start to each, cut after an LF: one
  // piece of at least pieceBytes or up to the end.
  void ForEachByteRun(const std::function<void(std::string_view run)>& each);

  std::string FileName;
  std::size_t PieceBytes;
  std::unique_ptr<std::FILE, FileCloser> File;
  bool Utf8 = true;
};

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
