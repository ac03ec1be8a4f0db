#include "core/mds_fields.h"

#include <limits>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/segment_budget.h"

namespace vork::mds_fields {

std::string Quoted(std::string_view text) {
  constexpr std::size_t shown = 40;
  std::string quoted = "\"";
  quoted.append(text.substr(0, shown));
  if (text.size() > shown) quoted += "...";
  return quoted + "\"";
}

// Lines are named counted from 1, as a text editor shows them.
[[noreturn]] void Fail(std::int64_t lineIndex, const std::string& what) {
  throw CommandError("Compiled file line " + std::to_string(lineIndex + 1) + ": " + what + ".");
}

// A decimal integer with an optional sign and nothing else around it.
bool ParseInteger(std::string_view text, std::int64_t& value) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 18) return false;
  std::int64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  value = negative ? -number : number;
  return true;
}

int ToInteger(std::string_view field, std::int64_t lineIndex, std::string_view what) {
  std::int64_t value = 0;
  if (!ParseInteger(field, value))
    Fail(lineIndex, std::string(what) + " " + Quoted(field) + " is not a whole number");
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    Fail(lineIndex, std::string(what) + " " + Quoted(field) + " is out of range");
  return static_cast<int>(value);
}

int ToIntegerIn(std::string_view field, std::int64_t lineIndex, std::string_view what, int low, int high) {
  int value = ToInteger(field, lineIndex, what);
  if (value < low || value > high)
    Fail(lineIndex, std::string(what) + " " + std::to_string(value) + " is outside " + std::to_string(low) +
                        ".." + std::to_string(high));
  return value;
}

int ToCount(std::string_view field, std::int64_t lineIndex, std::string_view what) {
  return ToIntegerIn(field, lineIndex, what, 0, std::numeric_limits<std::int32_t>::max());
}

std::uint32_t ToTime(std::string_view field, std::int64_t lineIndex, std::string_view what) {
  std::int64_t value = 0;
  if (!ParseInteger(field, value))
    Fail(lineIndex, std::string(what) + " " + Quoted(field) + " is not a whole number");
  if (value < 0) Fail(lineIndex, std::string(what) + " " + Quoted(field) + " is negative");
  if (value > std::numeric_limits<std::uint32_t>::max())
    Fail(lineIndex, std::string(what) + " " + Quoted(field) + " is out of range");
  return static_cast<std::uint32_t>(value);
}

// The line after lineIndex, which must exist.
std::string_view NextLine(LinesView lines, int lineIndex, const std::string& what) {
  std::int64_t next = std::int64_t{lineIndex} + 1;
  if (next < 0) Fail(next, "there is no such line");
  if (next >= static_cast<std::int64_t>(lines.size()))
    Fail(next, "missing: the file ends before the " + what);
  return lines[static_cast<std::size_t>(next)];
}

void CheckSegmentShape(LinesView lines, int lineIndex, int nCodes, int nDataLines, int nTimeUnits) {
  if (nCodes < 0 || nDataLines < 0 || nTimeUnits < 0)
    Fail(lineIndex, "a segment cannot have a negative number of codes, data lines or time units");
  const std::int64_t first = std::int64_t{lineIndex} + 1;
  if (first < 0) Fail(first, "there is no such line");
  const std::int64_t available = static_cast<std::int64_t>(lines.size()) - first;
  if (nDataLines > available)
    Fail(static_cast<std::int64_t>(lines.size()), "missing: the segment has " + std::to_string(nDataLines) +
                                                      " data lines, the file ends after " +
                                                      std::to_string(std::max<std::int64_t>(available, 0)));
  if (nCodes == 0 && nDataLines > 0) Fail(first, "a file without codes has no data lines");
}

void CheckSegmentFits(std::int64_t lineIndex, int nCodes, int nTimeUnits) {
  if (!SegmentFitsBudget(nCodes, nTimeUnits)) Fail(lineIndex, SegmentBudgetText(nCodes, nTimeUnits, 0));
}

std::size_t CheckedHexDigits(std::string_view hex, std::size_t nCodes, std::int64_t lineIndex) {
  // The last code in the set is in the last digit that holds any; once it
  // is known to exist, so are all the codes before it.
  std::size_t digits = hex.size();
  while (digits > 0 && HexDigitValue(hex[digits - 1]) == 0) --digits;
  if (digits == 0) return 0;
  const int lastValue = HexDigitValue(hex[digits - 1]);
  const std::size_t lastCode = 4 * (digits - 1) + ((lastValue & 1)   ? 4
                                                   : (lastValue & 2) ? 3
                                                   : (lastValue & 4) ? 2
                                                                     : 1);
  if (lastCode > nCodes)
    Fail(lineIndex, "code set " + Quoted(hex) + " holds code " + std::to_string(lastCode) +
                        " but there are only " + std::to_string(nCodes) + " codes");
  return digits;
}

CompressedSets SplitCompressedSets(std::string_view fields, std::int64_t lineIndex) {
  CompressedSets sets;
  sets.OnSet = NextTabField(fields);
  sets.OnsetSet = NextTabField(fields);
  if (!sets.OnSet.empty() && sets.OnSet.back() == '*') {
    sets.OnSet.remove_suffix(1);
    sets.OnsetSet = sets.OnSet;
  }
  if (sets.OnSet.empty()) Fail(lineIndex, "the code set of the data line is empty");
  return sets;
}

void FailPlainCells(std::string_view cells, std::size_t nCodes, std::int64_t lineIndex) {
  if (cells.size() < nCodes)
    Fail(lineIndex, "the data line has " + std::to_string(cells.size()) + " cells for " +
                        std::to_string(nCodes) + " codes");
  std::size_t r = 0;
  while (r < nCodes && PlainCells[static_cast<unsigned char>(cells[r])]) ++r;
  Fail(lineIndex, "cell " + std::to_string(r + 1) + " of the data line is " + Quoted(cells.substr(r, 1)) +
                      ", not \".\", \"1\" or \"2\"");
}

void FailCoverTooMuch(std::int64_t lineIndex, int nTimeUnits) {
  Fail(lineIndex, "the data lines cover more than the segment's " + std::to_string(nTimeUnits) + " time units");
}

void FailCoverTooLittle(std::int64_t lineIndex, std::int64_t covered, int nTimeUnits) {
  Fail(lineIndex, "the data lines cover only " + std::to_string(covered) + " of the segment's " +
                      std::to_string(nTimeUnits) + " time units");
}

}  // namespace vork::mds_fields
