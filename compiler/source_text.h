#pragma once

#include <string>
#include <vector>

#include "core/dyn_arrays.h"

namespace vork {

// The raw lines as UTF-16, the way the editor counts columns. A text that
// is not valid UTF-8 throughout is read as Latin-1, one character per byte,
// so that files written by older programs still compile.
std::vector<std::u16string> DecodeSourceLines(const dynString& lines);

// Appends the character with the given code point to a UTF-8 text.
void AppendUtf8(std::string& text, char32_t codePoint);

// A UTF-16 text as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace vork
