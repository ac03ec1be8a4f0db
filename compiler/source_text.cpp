#include "compiler/source_text.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

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

// The code units of a line of valid UTF-8: one per character, two for one
// beyond the basic plane.
std::size_t Utf16Length(std::string_view line) {
  std::size_t units = 0;
  for (char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    units += (byte & 0xC0) != 0x80 ? 1 : 0;
    units += byte >= 0xF0 ? 1 : 0;
  }
  return units;
}

bool IsAscii(std::string_view line) {
  std::uint64_t any = 0;
  std::size_t i = 0;
  for (; i + 8 <= line.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, line.data() + i, 8);
    any |= word;
  }
  for (; i < line.size(); ++i) any |= static_cast<unsigned char>(line[i]);
  return (any & 0x8080808080808080ULL) == 0;
}

}  // namespace

SourceText::SourceText(LinesView lines, bool caseSensitive) : Lines(lines), CaseSensitive(caseSensitive) {
  Utf8 = std::all_of(lines.begin(), lines.end(),
                     [](std::string_view line) { return IsAscii(line) || IsValidUtf8(line); });
  std::size_t count = lines.size();
  // A line of blanks and control characters only is blank in either reading.
  while (count > 0 && std::all_of(lines[count - 1].begin(), lines[count - 1].end(),
                                  [](char c) { return static_cast<unsigned char>(c) <= ' '; })) {
    --count;
  }
  Lengths.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view line = lines[i];
    Lengths[i] = static_cast<std::uint32_t>(Utf8 && !IsAscii(line) ? Utf16Length(line) : line.size());
  }
}

void SourceText::Prepare(std::size_t i, std::u16string& chars) const {
  chars.clear();
  const std::string_view raw = Lines[i];
  if (!Utf8) {
    for (char c : raw) chars.push_back(Windows1252Char(static_cast<unsigned char>(c)));
  } else if (raw.size() == Lengths[i]) {
    // ASCII: each byte is its character, prepared as it is copied.
    chars.resize(raw.size());
    const char16_t upper = CaseSensitive ? 0 : u'A' - u'a';
    for (std::size_t k = 0; k < raw.size(); ++k) {
      const auto c = static_cast<char16_t>(static_cast<unsigned char>(raw[k]));
      chars[k] = c == u'\t' ? u' ' : c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - upper) : c;
    }
    return;
  } else {
    AppendUtf8Line(chars, raw);
  }
  for (char16_t& c : chars) {
    if (c == u'\t') {
      c = u' ';
    } else if (!CaseSensitive && c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c - u'A' + u'a');
    }
  }
}

std::size_t SourceText::Find(std::size_t i, char16_t ch, std::size_t from) const {
  const std::string_view raw = Lines[i];
  // Where a line's bytes are its code units, and the character is not one
  // preparing changes, the bytes are searched as they are.
  if (raw.size() == Lengths[i] && (Utf8 || IsAscii(raw)) && ch != u' ' && !(ch >= u'a' && ch <= u'z') &&
      !(ch >= u'A' && ch <= u'Z')) {
    if (from >= raw.size()) return std::u16string_view::npos;
    const std::size_t at = raw.find(static_cast<char>(ch), from);
    return at == std::string_view::npos ? std::u16string_view::npos : at;
  }
  Prepare(i, Scratch);
  return from < Scratch.size() ? std::u16string_view(Scratch).find(ch, from) : std::u16string_view::npos;
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
