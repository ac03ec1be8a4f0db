#include "compiler/source_text.h"

#include <algorithm>
#include <cstddef>

#include "core/raw_data_file.h"

namespace vork {
namespace {

// Appends one line already known to be valid UTF-8.
void AppendUtf8Line(std::u16string& out, std::string_view line) {
  std::size_t i = 0;
  while (i < line.size()) {
    const auto byte = static_cast<unsigned char>(line[i]);
    const int extra = byte < 0x80 ? 0 : byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
    char32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < line.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(line[i + k]) & 0x3F);
    }
    if (code >= 0x10000) {
      const char32_t v = code - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += 1 + static_cast<std::size_t>(extra);
  }
}

}  // namespace

SourceText::SourceText(LinesView lines, bool caseSensitive) {
  const bool utf8 = std::all_of(lines.begin(), lines.end(), [](std::string_view line) { return IsValidUtf8(line); });
  std::size_t bytes = 0;
  for (std::string_view line : lines) bytes += line.size();
  Chars.reserve(bytes);
  Starts.reserve(lines.size() + 1);
  for (std::string_view raw : lines) {
    if (utf8) {
      AppendUtf8Line(Chars, raw);
    } else {
      for (char c : raw) Chars.push_back(Windows1252Char(static_cast<unsigned char>(c)));
    }
    Starts.push_back(Chars.size());
  }
  for (char16_t& c : Chars) {
    if (c == u'\t') {
      c = u' ';
    } else if (!caseSensitive && c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c - u'A' + u'a');
    }
  }
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendUtf8(out, code);
  }
  return out;
}

}  // namespace vork
