#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vork {

// Growable arrays shared by every part of the program. Where items are
// numbered from 1 an array is one longer and element 0 is empty or a total.
using dynInteger = std::vector<std::int32_t>;
using dynInteger2 = std::vector<dynInteger>;
using dynString = std::vector<std::string>;
using dynString2 = std::vector<dynString>;
using dynString3 = std::vector<dynString2>;
using dynReal = std::vector<double>;
using dynReal2 = std::vector<dynReal>;
using dynCardinal = std::vector<std::uint32_t>;

// The segment matrix: one row per code (row 0 is code 1), one cell per time
// unit; '.' off, '1' on, '2' on with an onset in this unit. One byte per
// cell, since it is the largest structure in memory.
using dynChar2 = std::vector<std::string>;

}  // namespace vork
