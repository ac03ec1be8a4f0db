#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_buffer.h"

namespace vork {

// The raw text seen without a copy, read as UTF-16 code units (a column is
// one code unit, as the editor counts), prepared for reading: TABs are
// blanks and, unless case counts, A to Z are lower case. A text that is not
// valid UTF-8 throughout is read in the Windows code page, one character
// per byte, so that files written on Windows compile. Lines are prepared
// one at a time, when they are read; only each line's length is kept.
// Trailing blank lines are not part of the text.
class SourceText {
 public:
  SourceText() = default;
  SourceText(LinesView lines, bool caseSensitive);

  std::size_t size() const { return Lengths.size(); }
  bool empty() const { return Lengths.empty(); }
  // Line i's length in UTF-16 code units.
  std::size_t Length(std::size_t i) const { return Lengths[i]; }
  // Line i, prepared, into chars.
  void Prepare(std::size_t i, std::u16string& chars) const;
  // The column (0-based, in code units) of the first ch at or after column
  // from on line i, or npos; ch is a character below 128.
  std::size_t Find(std::size_t i, char16_t ch, std::size_t from = 0) const;

 private:
  LinesView Lines;
  bool Utf8 = true;
  bool CaseSensitive = true;
  std::vector<std::uint32_t> Lengths;
  mutable std::u16string Scratch;
};

// A UTF-16 text as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace vork
