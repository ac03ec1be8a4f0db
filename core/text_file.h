#pragma once

#include <string>
#include <string_view>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"

namespace vork {

// Text files of lines: raw data files, compiled data files, results and
// export files. The text is UTF-8 and is passed through byte for byte.
//
// A line break is read as LF or CR LF. A final line break does not start
// another line, so "a\r\nb\r\n" and "a\nb" both give the lines "a" and "b".
// A UTF-8 byte order mark at the start of the file is dropped.
//
// Lines are written with CR LF after every line, the last included: positions
// in a raw text count every line as its length plus 2, and a file saved this
// way reads back with the same positions in any editor.

// The lines of a text held in memory.
dynString SplitTextLines(std::string_view text);

// The text of lines as it is written to a file.
std::string JoinTextLines(const dynString& lines);

// Loads a whole text file into lines. Throws CommandError naming the file
// when it cannot be read.
dynString LoadTextLines(const std::string& fileName);

// Saves lines as a text file. The new text goes to a temporary file beside
// the old one, which is replaced only once the new text is completely
// written; on any failure CommandError is thrown and the old file is
// untouched. The text is written a piece at a time, so saving a large
// buffer of lines needs no second copy of it.
void SaveLines(const std::string& fileName, LinesView lines);
inline void SaveTextLines(const std::string& fileName, const dynString& lines) { SaveLines(fileName, lines); }

}  // namespace vork
