#pragma once

// The pieces of compiled-file reading that the header, session, grid and
// run readers share: numbers in fields, the line after the current one, the
// checks of a segment's size, and the cells of data lines. Every fault
// throws CommandError naming the line, counted from 1 as an editor shows it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/line_buffer.h"

namespace vork::mds_fields {

// A field as a fault message shows it: quoted, cut after 40 characters.
std::string Quoted(std::string_view text);

[[noreturn]] void Fail(std::int64_t lineIndex, const std::string& what);

// A decimal integer with an optional sign and nothing else around it.
bool ParseInteger(std::string_view text, std::int64_t& value);

int ToInteger(std::string_view field, std::int64_t lineIndex, std::string_view what);
int ToIntegerIn(std::string_view field, std::int64_t lineIndex, std::string_view what, int low, int high);
int ToCount(std::string_view field, std::int64_t lineIndex, std::string_view what);
std::uint32_t ToTime(std::string_view field, std::int64_t lineIndex, std::string_view what);

// The line after lineIndex, which must exist; what names it when it does not.
std::string_view NextLine(LinesView lines, int lineIndex, const std::string& what);

// Checks a segment's line before its data lines are read: no negative
// count, the data lines are in the file, a file without codes has none.
void CheckSegmentShape(LinesView lines, int lineIndex, int nCodes, int nDataLines, int nTimeUnits);

// Checks that a segment's codes x time units fit the segment memory budget,
// the compiler's limit too, so that every reader accepts what the compiler
// can write and nothing more. lineIndex is the segment line.
void CheckSegmentFits(std::int64_t lineIndex, int nCodes, int nTimeUnits);

// The value of each hexadecimal digit of a code set; every other character,
// lower-case letters included, holds no code.
inline constexpr std::array<std::uint8_t, 256> HexDigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  for (int c = '0'; c <= '9'; ++c) values[c] = static_cast<std::uint8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) values[c] = static_cast<std::uint8_t>(c - 'A' + 10);
  return values;
}();

inline int HexDigitValue(char c) { return HexDigitValues[static_cast<unsigned char>(c)]; }

// The number of digits of a code set that hold codes (trailing digits
// without codes dropped); fails when the set holds a code beyond nCodes.
std::size_t CheckedHexDigits(std::string_view hex, std::size_t nCodes, std::int64_t lineIndex);

// The code sets of a compressed data line, from the fields after its count:
// the codes on, and the codes with an onset ("*" after the first set: the
// same codes). Fails when the first set is empty.
struct CompressedSets {
  std::string_view OnSet;
  std::string_view OnsetSet;
};
CompressedSets SplitCompressedSets(std::string_view fields, std::int64_t lineIndex);

// How many columns a data line's count stands for: a compressed line's count
// is signed (negative: no onsets), and any line gives at least one column.
inline std::int64_t ColumnsOfCount(int count, bool compressed) {
  std::int64_t columns = count;
  if (compressed && columns < 0) columns = -columns;
  return std::max<std::int64_t>(columns, 1);
}

// Cells a plain data line may hold.
inline constexpr std::array<bool, 256> PlainCells = [] {
  std::array<bool, 256> valid{};
  valid['.'] = valid['1'] = valid['2'] = true;
  return valid;
}();

// The fault of a plain data line whose cells are short or hold another
// character than ".", "1" or "2".
[[noreturn]] void FailPlainCells(std::string_view cells, std::size_t nCodes, std::int64_t lineIndex);

// The faults of data lines whose counts cover more or fewer than the
// segment's time units.
[[noreturn]] void FailCoverTooMuch(std::int64_t lineIndex, int nTimeUnits);
[[noreturn]] void FailCoverTooLittle(std::int64_t lineIndex, std::int64_t covered, int nTimeUnits);

}  // namespace vork::mds_fields
