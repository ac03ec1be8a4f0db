#include "core/results_format.h"

#include <algorithm>

#include "core/command_error.h"
#include "core/file_names.h"

namespace vork {
namespace {

void CheckTimeUnitIndex(int timeUnitIndex) {
  if (timeUnitIndex < 0 || timeUnitIndex > 3) {
    throw CommandError("Time unit index " + std::to_string(timeUnitIndex) +
                       " is outside 0..3.");
  }
}

std::string TwoDigits(std::uint32_t value) {
  return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
         static_cast<char>('0' + value % 10);
}

// The fraction of a second, as `decimals` digits with leading zeros.
std::string Fraction(std::uint32_t units, int decimals) {
  if (decimals == 0) return "";
  std::string digits = std::to_string(units);
  if (static_cast<int>(digits.size()) < decimals) {
    digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');
  }
  return "." + digits;
}

}  // namespace

void WriteFileSummary(dynString& lines, int fileCount, int dataType, int timeUnitIndex,
                      const std::string& timeUnitLabel, const std::string& made1,
                      const std::string& made2, const SummaryFiles& files) {
  if (dataType < 1 || dataType > 5) {
    throw CommandError("Data type " + std::to_string(dataType) + " is outside 1..5.");
  }
  CheckTimeUnitIndex(timeUnitIndex);
  lines.emplace_back();
  if (fileCount == 1) {
    lines.push_back("File:\t" + FileNameWithoutFolder(files.Current));
    lines.push_back("Made:\t" + made1);
  } else {
    lines.push_back("Obs1:\t" + FileNameWithoutFolder(files.Observer1));
    lines.push_back("Made:\t" + made1);
    lines.push_back("Obs2:\t" + FileNameWithoutFolder(files.Observer2));
    lines.push_back("Made:\t" + made2);
  }
  lines.push_back("Type:\t" + std::string(DataTypeNames[static_cast<size_t>(dataType)]));
  lines.push_back("Units:\t" + std::string(TimeUnitPrefix[static_cast<size_t>(timeUnitIndex)]) +
                  timeUnitLabel);
  lines.emplace_back();
}

void WriteSeparatorLine(dynString& lines) { lines.push_back(std::string(25, '_')); }

std::string FormatTime(std::uint32_t time, int timeFormat, int timeUnitIndex) {
  if (timeFormat < 1 || timeFormat > 7) return "";
  CheckTimeUnitIndex(timeUnitIndex);
  const std::uint32_t perSecond = PowersOfTen[static_cast<size_t>(timeUnitIndex)];
  switch (timeFormat) {
    case 1:
      return std::to_string(time);
    case 2:
    case 7:
      return std::to_string(time / 60) + ":" + TwoDigits(time % 60);
    case 3:
      return std::to_string(time / 3600) + ":" + TwoDigits(time / 60 % 60) + ":" +
             TwoDigits(time % 60);
    case 5: {
      const std::uint32_t seconds = time / perSecond;
      return std::to_string(seconds / 60) + ":" + TwoDigits(seconds % 60) +
             Fraction(time % perSecond, timeUnitIndex);
    }
    default:  // 4 and 6
      return std::to_string(time / perSecond) + Fraction(time % perSecond, timeUnitIndex);
  }
}

std::string StripLeadingZero(const std::string& text, const NumberFormat& format) {
  const char separator = format.DecimalSeparator;
  if (text.size() >= 2 && text[0] == '0' && text[1] == separator) return text.substr(1);
  if (text.size() >= 3 && text[0] == '-' && text[1] == '0' && text[2] == separator) {
    return "-" + text.substr(2);
  }
  return text;
}

std::string FormatProbability(const std::string& text, int nDigits, const NumberFormat& format) {
  const std::string stripped = StripLeadingZero(text, format);
  const auto digits = static_cast<size_t>(std::max(nDigits, 2));
  const char separator = format.DecimalSeparator;
  if (stripped == separator + std::string(digits, '0')) {
    return "<" + std::string(1, separator) + std::string(digits - 1, '0') + "1";
  }
  return stripped;
}

bool HasLongItems(int n, const dynString& items) {
  const auto count = std::min(static_cast<size_t>(std::max(n, 0)), items.size());
  for (size_t i = 0; i < count; ++i) {
    // Characters, not bytes: a UTF-8 continuation byte starts no character.
    const auto characters = std::count_if(items[i].begin(), items[i].end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (characters > 7) return true;
  }
  return false;
}

}  // namespace vork
