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

dynString SplitTextLines(std::string_view text) {
  static constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, byteOrderMark.size()) == byteOrderMark) text.remove_prefix(byteOrderMark.size());
  dynString lines;
  lines.reserve(std::count(text.begin(), text.end(), '\n') + 1);
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

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

dynString LoadTextLines(const std::string& fileName) {
  std::error_code error;
  if (std::filesystem::is_directory(fileName, error))
    throw CommandError("Cannot read file \"" + fileName + "\": it is a folder.");
  errno = 0;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw CommandError("Cannot open file \"" + fileName + "\"" + Reason(errno) + ".");
  std::string text;
  auto size = std::filesystem::file_size(fileName, error);
  if (!error) text.reserve(static_cast<std::size_t>(size));
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.eof()) break;
  }
  if (in.bad()) throw CommandError("Cannot read file \"" + fileName + "\"" + Reason(errno) + ".");
  return SplitTextLines(text);
}

void SaveTextLines(const std::string& fileName, const dynString& lines) {
  const std::string temporary = TemporaryNameBeside(fileName);
  const std::string text = JoinTextLines(lines);
  auto fail = [&](const std::string& what, int error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw CommandError(what + " \"" + fileName + "\"" + Reason(error) + ".");
  };
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) fail("Cannot create file", errno);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
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
