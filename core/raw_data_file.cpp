#include "core/raw_data_file.h"

#include <filesystem>
#include <system_error>

#include "core/command_error.h"
#include "core/file_names.h"
#include "core/text_file.h"

namespace vork {

namespace {

// The characters of the bytes 128..159 of the Windows code page; an
// unassigned byte keeps its own number.
constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 128-135
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 136-143
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 144-151
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 152-159
};

}  // namespace

void AppendUtf8(std::string& text, char32_t codePoint) {
  if (codePoint < 0x80) {
    text.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    text.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    text.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    text.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      ++i;
      continue;
    }
    int extra = 0;
    char32_t code = 0;
    if (byte >= 0xC2 && byte <= 0xDF) {
      extra = 1;
      code = byte & 0x1F;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      extra = 2;
      code = byte & 0x0F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      extra = 3;
      code = byte & 0x07;
    } else {
      return false;
    }
    if (text.size() - i <= static_cast<std::size_t>(extra)) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (extra == 3 && (code < 0x10000 || code > 0x10FFFF))) {
      return false;
    }
    i += 1 + static_cast<std::size_t>(extra);
  }
  return true;
}

char16_t Windows1252Char(unsigned char byte) {
  return byte >= 128 && byte < 160 ? HighControls[byte - 128] : static_cast<char16_t>(byte);
}

int Windows1252Byte(char32_t character) {
  if (character < 128 || (character >= 160 && character <= 255)) return static_cast<int>(character);
  for (int k = 0; k < 32; ++k) {
    if (HighControls[k] == character) return 128 + k;
  }
  return -1;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) AppendUtf8(out, Windows1252Char(static_cast<unsigned char>(c)));
  return out;
}

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
