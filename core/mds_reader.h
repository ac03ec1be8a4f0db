#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"
#include "core/user_dialogue.h"

namespace vork {

// Reading of compiled data files. Everything works on the file's lines held
// in memory; lineIndex is the index of the line read last, and each routine
// first moves it on. A damaged file (a field that is not a number, a missing
// line, a count out of range, data lines that do not fit the segment) throws
// CommandError naming the line, counted from 1 as an editor shows it.

// Field := the text of s before its first TAB, s := what follows that TAB;
// with no TAB in s, field := s and s := "".
void NextTabField(std::string& s, std::string& field);

// The same over a view: returns the field and moves rest past it.
std::string_view NextTabField(std::string_view& rest);

// Moves lineIndex on and splits that line into fields[1..count] (fields is
// made at least count + 1 long; element 0 is untouched). Fields missing from
// the line come out empty; text after the count-th field is ignored.
void ReadTabFields(LinesView lines, int& lineIndex, dynString& fields, int count);

// Loads the file into lines (replacing their content) and reads its header.
// False when the file is empty, or when its first line is no compiled-file
// stamp: then the user is told "<name> not a valid MDS 5.x file" and lines
// keep the loaded text. Throws CommandError when the file cannot be read or
// its header is damaged.
bool ReadMdsHeader(LineBuffer& lines, const std::string& fileName, MdsHeader& header, UserDialogue& dialogue);

// The same into a list of strings, for a command that changes the file's
// lines in memory (the modification window).
bool ReadMdsHeader(dynString& lines, const std::string& fileName, MdsHeader& header, UserDialogue& dialogue);

// The same for a file whose lines are already in memory; fileName only
// names the file in the notice.
bool ReadMdsHeaderFromLines(LinesView lines, const std::string& fileName, MdsHeader& header,
                            UserDialogue& dialogue);

// Reads the next session line and, when nFactors > 0, its line of level
// numbers into sessionLevels[1..nFactors] (resized to nFactors + 1). Every
// level must be at least 1 and, when factorLevels (the header's
// FactorLevels) is given, at most its factor's number of levels.
void ReadSessionHeader(LinesView lines, int& lineIndex, int& replicate, int& nSegments,
                       std::string& sessionLabel, int nFactors, dynInteger& sessionLevels,
                       const dynInteger& factorLevels = {});

// Reads the next segment line; its first field is ignored.
void ReadSegmentHeader(LinesView lines, int& lineIndex, int& nDataLines, int& nTimeUnits,
                       std::uint32_t& startTime, std::uint32_t& stopTime);

// Sizes segmentMatrix to nCodes rows of nTimeUnits cells and reads the
// nDataLines data lines of a segment into it. Their counts must cover
// exactly nTimeUnits columns.
void ReadSegmentData(LinesView lines, int& lineIndex, int nCodes, int nDataLines, int nTimeUnits,
                     bool compressed, dynChar2& segmentMatrix);

}  // namespace vork
