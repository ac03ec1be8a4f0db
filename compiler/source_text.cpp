#include "compiler/source_text.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace vork {
namespace {

// Decodes one UTF-8 line; nothing when it is not valid UTF-8 (overlong
// forms, surrogates and code points beyond U+10FFFF included).
std::optional<std::u16string> DecodeUtf8(const std::string& line) {
  // Most lines are plain ASCII: each byte is one character as it stands.
  if (std::all_of(line.begin(), line.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::u16string(line.begin(), line.end());
  }
  std::u16string out;
  out.reserve(line.size());
  std::size_t i = 0;
  while (i < line.size()) {
    const auto byte = static_cast<unsigned char>(line[i]);
    char32_t code = 0;
    int extra = 0;
    if (byte < 0x80) {
      code = byte;
    } else if (byte >= 0xC2 && byte <= 0xDF) {
      code = byte & 0x1F;
      extra = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      code = byte & 0x0F;
      extra = 2;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      code = byte & 0x07;
      extra = 3;
    } else {
      return std::nullopt;
    }
    if (i + static_cast<std::size_t>(extra) >= line.size() && extra > 0) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(line[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (next & 0x3F);
    }
    if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (extra == 3 && (code < 0x10000 || code > 0x10FFFF))) {
      return std::nullopt;
    }
    if (code >= 0x10000) {
      const char32_t v = code - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += 1 + extra;
  }
  return out;
}

}  // namespace

std::vector<std::u16string> DecodeSourceLines(const dynString& lines) {
  std::vector<std::u16string> decoded;
  decoded.reserve(lines.size());
  for (const std::string& line : lines) {
    std::optional<std::u16string> text = DecodeUtf8(line);
    if (!text) {
      // One line that is not UTF-8 means the whole text is Latin-1.
      decoded.clear();
      for (const std::string& raw : lines) {
        std::u16string latin(raw.size(), u'\0');
        for (std::size_t k = 0; k < raw.size(); ++k) {
          latin[k] = static_cast<char16_t>(static_cast<unsigned char>(raw[k]));
        }
        decoded.push_back(std::move(latin));
      }
      return decoded;
    }
    decoded.push_back(std::move(*text));
  }
  return decoded;
}

void AppendUtf8(std::string& text, char32_t codePoint) {
  if (codePoint < 0x80) {
    text.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    text.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    text.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    text.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

std::string Utf16ToUtf8(const std::u16string& text) {
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
