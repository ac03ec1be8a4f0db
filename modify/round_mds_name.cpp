#include "modify/round_mds_name.h"

#include <charconv>
#include <climits>
#include <filesystem>

namespace vork {

std::string NextNumberedMdsName(const std::string& name) {
  const std::filesystem::path path(name);
  const std::string folder = name.substr(0, name.size() - path.filename().string().size());
  const std::string base = path.stem().string();
  if (base.empty() || base.back() != ']') return folder + base + "[1].mds";
  const size_t open = base.find('[');
  if (open == std::string::npos) return "";
  const char* first = base.data() + open + 1;
  const char* last = base.data() + base.size() - 1;
  // A whole number may carry its sign: "+3" is 3 as "-1" is -1.
  if (first != last && *first == '+' && first + 1 != last && *(first + 1) != '-') ++first;
  long long number = 0;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last || first == last || number == LLONG_MAX) return "";
  return folder + base.substr(0, open) + "[" + std::to_string(number + 1) + "].mds";
}

}  // namespace vork
