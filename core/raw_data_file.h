#pragma once

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
