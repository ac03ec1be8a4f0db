#pragma once

// Code names in results tables are cut to 7 characters (HasLongItems tells
// when a row must also end with the full name). Names are UTF-8: a
// character is one code point and is never split.

#include <string>

namespace vork {

// The first n characters of a name.
std::string FirstCharacters(const std::string& name, int n);

}  // namespace vork
