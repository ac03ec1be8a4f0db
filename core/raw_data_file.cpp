#include "core/raw_data_file.h"

#include <cerrno>
#include <cstring>
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

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string Reason(int error) {
  if (error == 0) return "";
  return ": " + std::generic_category().message(error);
}

std::string TooLarge(const std::string& fileName) {
  return "Cannot read file \"" + fileName + "\": it is larger than 2 GB.";
}

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
    // Plain ASCII is passed over eight bytes at a time.
    std::uint64_t word = 0;
    if (text.size() - i >= sizeof word) {
      std::memcpy(&word, text.data() + i, sizeof word);
      if ((word & 0x8080808080808080u) == 0) {
        i += sizeof word;
        continue;
      }
    }
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

RawDataText::RawDataText(const std::string& fileName, std::size_t pieceBytes)
    : FileName(fileName), PieceBytes(pieceBytes == 0 ? 1 : pieceBytes) {
  std::error_code error;
  if (std::filesystem::is_directory(fileName, error))
    throw CommandError("Cannot read file \"" + fileName + "\": it is a folder.");
  errno = 0;
  File.reset(std::fopen(fileName.c_str(), "rb"));
  if (!File) throw CommandError("Cannot open file \"" + fileName + "\"" + Reason(errno) + ".");
  const auto size = std::filesystem::file_size(fileName, error);
  if (!error && size > MaxFileBytes) throw CommandError(TooLarge(fileName));
  ForEachByteRun([this](std::string_view run) {
    if (Utf8 && !IsValidUtf8(run)) Utf8 = false;
  });
}

void RawDataText::ForEachByteRun(const std::function<void(std::string_view run)>& each) {
  std::FILE* file = File.get();
  std::rewind(file);
  char head[3];
  if (std::fread(head, 1, 3, file) != 3 || std::string_view(head, 3) != ByteOrderMark) std::rewind(file);
  // A run is cut after an LF, which is never part of a UTF-8 sequence.
  std::string buffer;
  std::uint64_t total = 0;
  while (true) {
    const std::size_t held = buffer.size();
    buffer.resize(held + PieceBytes);
    errno = 0;
    const std::size_t got = std::fread(buffer.data() + held, 1, PieceBytes, file);
    buffer.resize(held + got);
    if (got < PieceBytes && std::ferror(file))
      throw CommandError("Cannot read file \"" + FileName + "\"" + Reason(errno) + ".");
    total += got;
    if (total > MaxFileBytes) throw CommandError(TooLarge(FileName));  // it grew
    if (got == 0) break;
    const std::size_t lf = std::string_view(buffer).substr(held).rfind('\n');
    if (lf == std::string_view::npos) continue;  // only the new bytes are searched
    const std::size_t end = held + lf + 1;
    each(std::string_view(buffer.data(), end));
    buffer.erase(0, end);
  }
  if (!buffer.empty()) each(buffer);
}

void RawDataText::ReadPieces(const std::function<void(std::string_view piece)>& take) {
  // The lines joined by LF; handed over up to its last LF, after which the
  // next run's lines follow.
  std::string text;
  bool firstLine = true;
  auto hand = [&](std::size_t end) {
    const std::string_view piece(text.data(), end);
    if (Utf8) {
      take(piece);
    } else {
      take(Windows1252ToUtf8(piece));
    }
    text.erase(0, end);
  };
  ForEachByteRun([&](std::string_view run) {
    while (!run.empty()) {
      const std::size_t lf = run.find('\n');
      std::string_view line = run.substr(0, lf);
      // CR LF ends a line; a CR in a last line without LF stays in it.
      if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (!firstLine) text += '\n';
      firstLine = false;
      text += line;
      run.remove_prefix(lf == std::string_view::npos ? run.size() : lf + 1);
    }
    const std::size_t lastBreak = text.rfind('\n');
    if (lastBreak != std::string::npos) hand(lastBreak + 1);
  });
  if (!text.empty()) hand(text.size());
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
