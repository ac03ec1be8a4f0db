#include "analysis/code_name_cells.h"

namespace vork {

std::string FirstCharacters(const std::string& name, int n) {
  int seen = 0;
  for (std::size_t p = 0; p < name.size(); ++p) {
    bool startsCharacter = (static_cast<unsigned char>(name[p]) & 0xC0) != 0x80;
    if (startsCharacter && seen++ == n) return name.substr(0, p);
  }
  return name;
}

}  // namespace vork
