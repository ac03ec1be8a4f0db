#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_buffer.h"

namespace vork {

// The raw text as one buffer of UTF-16 code units (a column is one code
// unit, as the editor counts) and the offsets of its lines, prepared for
// reading: TABs are blanks and, unless case counts, A to Z are lower case.
// A text that is not valid UTF-8 throughout is read in the Windows code
// page, one character per byte, so that files written on Windows compile.
class SourceText {
 public:
  SourceText() = default;
  SourceText(LinesView lines, bool caseSensitive);

  std::size_t size() const { return Starts.size() - 1; }
  bool empty() const { return size() == 0; }
  std::u16string_view operator[](std::size_t i) const {
    return {Chars.data() + Starts[i], Starts[i + 1] - Starts[i]};
  }
  std::u16string_view back() const { return (*this)[size() - 1]; }
  void pop_back() {
    Starts.pop_back();
    Chars.resize(Starts.back());
  }

 private:
  std::u16string Chars;
  std::vector<std::size_t> Starts{0};  // where each line begins, and the end
};

// A UTF-16 text as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace vork
