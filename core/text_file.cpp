#include "core/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "core/command_error.h"
#include "core/line_buffer.h"

namespace vork {

namespace {

std::string Reason(int error) {
  if (error == 0) return "";
  return ": " + std::generic_category().message(error);
}

// A name in the folder of fileName that no other file is likely to have.
std::string TemporaryNameBeside(const std::string& fileName) {
  std::random_device random;
  std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%06X~", digits(random));
  return fileName + suffix;
}

}  // namespace

dynString SplitTextLines(std::string_view text) { return LineBuffer(text).ToStrings(); }

std::string JoinTextLines(const dynString& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

dynString LoadTextLines(const std::string& fileName) { return LineBuffer::Load(fileName).ToStrings(); }

void SaveLines(const std::string& fileName, LinesView lines) {
  const std::string temporary = TemporaryNameBeside(fileName);
  auto fail = [&](const std::string& what, int error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw CommandError(what + " \"" + fileName + "\"" + Reason(error) + ".");
  };
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) fail("Cannot create file", errno);
  constexpr std::size_t PieceBytes = std::size_t{1} << 20;
  std::string piece;
  piece.reserve(PieceBytes + 4096);
  for (std::string_view line : lines) {
    piece.append(line).append("\r\n");
    if (piece.size() < PieceBytes) continue;
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    piece.clear();
  }
  out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
  out.flush();
  if (!out) fail("Cannot write file", errno);
  out.close();
  if (out.fail()) fail("Cannot write file", errno);

  // The replaced file keeps its permissions.
  std::error_code error;
  auto status = std::filesystem::status(fileName, error);
  if (!error && std::filesystem::exists(status))
    std::filesystem::permissions(temporary, status.permissions(), error);

  std::filesystem::rename(temporary, fileName, error);
  if (error) fail("Cannot replace file", error.value());
}

}  // namespace vork
