#include "core/mds_reader.h"

#include "core/command_error.h"

namespace vork {

void NextTabField(std::string& s, std::string& field) {
  std::string_view rest = s;
  field = NextTabField(rest);
  s = std::string(rest);
}

std::string_view NextTabField(std::string_view& rest) {
  std::size_t tab = rest.find('\t');
  std::string_view field = rest.substr(0, tab);
  rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
  return field;
}

bool ReadMdsHeader(dynString&, const std::string&, MdsHeader&, UserDialogue&) {
  throw CommandError("Reading compiled files is not built yet.");
}

bool ReadMdsHeaderFromLines(const dynString&, const std::string&, MdsHeader&, UserDialogue&) {
  throw CommandError("Reading compiled files is not built yet.");
}

void ReadTabFields(const dynString&, int&, dynString&, int) {
  throw CommandError("Reading compiled files is not built yet.");
}

void ReadSessionHeader(const dynString&, int&, int&, int&, std::string&, int, dynInteger&) {
  throw CommandError("Reading compiled files is not built yet.");
}

void ReadSegmentHeader(const dynString&, int&, int&, int&, std::uint32_t&, std::uint32_t&) {
  throw CommandError("Reading compiled files is not built yet.");
}

void ReadSegmentData(const dynString&, int&, int, int, int, bool, dynChar2&) {
  throw CommandError("Reading compiled files is not built yet.");
}

}  // namespace vork
