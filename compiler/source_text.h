#pragma once

#include <string>
#include <vector>

#include "core/dyn_arrays.h"

namespace vork {

// The raw lines as UTF-16, the way the editor counts columns. A text that
// is not valid UTF-8 throughout is read in the Windows code page, one
// character per byte, so that files written on Windows still compile.
std::vector<std::u16string> DecodeSourceLines(const dynString& lines);

// A UTF-16 text as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace vork
