#include "core/results_format.h"

#include <algorithm>
#include <charconv>

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

void AppendNumber(std::string& out, std::uint32_t value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

void AppendTwoDigits(std::string& out, std::uint32_t value) {
  out += static_cast<char>('0' + value / 10 % 10);
  out += static_cast<char>('0' + value % 10);
}

// The fraction of a second, as `decimals` digits with leading zeros.
void AppendFraction(std::string& out, std::uint32_t units, int decimals) {
  if (decimals == 0) return;
  char digits[16];
  const auto length = static_cast<int>(std::to_chars(digits, digits + sizeof digits, units).ptr - digits);
  out += '.';
  if (length < decimals) out.append(static_cast<size_t>(decimals - length), '0');
  out.append(digits, static_cast<size_t>(length));
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
  std::string text;
  AppendTime(text, time, timeFormat, timeUnitIndex);
  return text;
}

void AppendTime(std::string& out, std::uint32_t time, int timeFormat, int timeUnitIndex) {
  if (timeFormat < 1 || timeFormat > 7) return;
  CheckTimeUnitIndex(timeUnitIndex);
  const std::uint32_t perSecond = PowersOfTen[static_cast<size_t>(timeUnitIndex)];
  switch (timeFormat) {
    case 1:
      AppendNumber(out, time);
      return;
    case 2:
    case 7:
      AppendNumber(out, time / 60);
      out += ':';
      AppendTwoDigits(out, time % 60);
      return;
    case 3:
      AppendNumber(out, time / 3600);
      out += ':';
      AppendTwoDigits(out, time / 60 % 60);
      out += ':';
      AppendTwoDigits(out, time % 60);
      return;
    case 5: {
      const std::uint32_t seconds = time / perSecond;
      AppendNumber(out, seconds / 60);
      out += ':';
      AppendTwoDigits(out, seconds % 60);
      AppendFraction(out, time % perSecond, timeUnitIndex);
      return;
    }
    default:  // 4 and 6
      AppendNumber(out, time / perSecond);
      AppendFraction(out, time % perSecond, timeUnitIndex);
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
