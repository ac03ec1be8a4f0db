#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/dyn_arrays.h"
#include "core/number_format.h"

namespace vork {

// Names of the data types as results show them, by DataType 1..5.
inline constexpr std::array<std::string_view, 6> DataTypeNames{"",      "Event", "Timed",
                                                               "State", "Intvl", "Multi"};

// What goes before the time unit label, by TimeUnitIndex 0..3.
inline constexpr std::array<std::string_view, 4> TimeUnitPrefix{"", "1/10 ", "1/100 ", "1/1000 "};

// Time units per second, by TimeUnitIndex 0..3.
inline constexpr std::array<std::uint32_t, 4> PowersOfTen{1, 10, 100, 1000};

// The files a results block names; shown without their folders.
struct SummaryFiles {
  std::string Current;    // the current compiled file
  std::string Observer1;  // the two observers' files of the agreement window
  std::string Observer2;
};

// Appends the block that opens a run's results: an empty line, the file(s)
// with their stamps, the data type, the time units and an empty line.
// fileCount 1 names files.Current with made1; any other value the two
// observers' files with made1 and made2. The stamps are the files' line 0 as
// read, so a plain file's stamp keeps its leading TAB. Throws CommandError
// when dataType is not 1..5 or timeUnitIndex not 0..3.
void WriteFileSummary(dynString& lines, int fileCount, int dataType, int timeUnitIndex,
                      const std::string& timeUnitLabel, const std::string& made1,
                      const std::string& made2, const SummaryFiles& files);

// Appends the line of 25 underscores that ends a run's results.
void WriteSeparatorLine(dynString& lines);

// A time in time units as text, by the compiled file's TimeFormat (0..7) and
// TimeUnitIndex (0..3): 1 plain units, 2 and 7 m:ss, 3 h:mm:ss, 4 and 6 s.dd,
// 5 m:ss.dd; 0 and unknown formats give "". The decimal point is always ".".
// With no decimals (TimeUnitIndex 0) formats 4 to 6 write no point. Throws
// CommandError when timeUnitIndex is not 0..3.
std::string FormatTime(std::uint32_t time, int timeFormat, int timeUnitIndex);

// The same text appended to out, without a string of its own (for plots that
// label every ten units).
void AppendTime(std::string& out, std::uint32_t time, int timeFormat, int timeUnitIndex);

// The text without the zero of a zero integer part: "0.25" -> ".25",
// "-0.25" -> "-.25"; anything else ("10.5", "0", "1e5") unchanged.
std::string StripLeadingZero(const std::string& text, const NumberFormat& format);

// A probability already written with nDigits decimals, its leading zero
// stripped; a value that reads as zero becomes the bound below it ("0.00"
// -> "<.01", "0.000" -> "<.001"). Two digits are the least the bound shows.
std::string FormatProbability(const std::string& text, int nDigits, const NumberFormat& format);

// True when one of the first n items is longer than 7 characters, the width
// to which results tables cut code names.
bool HasLongItems(int n, const dynString& items);

}  // namespace vork
