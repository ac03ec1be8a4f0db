#include "core/mds_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <vector>

#include "core/command_error.h"
#include "core/mds_fields.h"

namespace vork {

using namespace mds_fields;

namespace {

// Line 0 of a compiled file holds one of these, wherever the writer put it.
constexpr const char* StampMarkers[] = {"MDS file saved by KELP compiler", "MDS file modified by VORK"};

// Unit words that name a fraction of a second; the time unit itself is
// given by the unit index, so they read as "seconds".
constexpr const char* SecondFractionLabels[] = {"tenths", "hundredths", "thousandths"};

constexpr int MaxDataType = Multi;
constexpr int MaxIntervalUnitMark = 3;
constexpr int MaxTimeFormat = 7;
constexpr int MaxTimeUnitIndex = 3;

// A line of count names sizes an array of count + 1; a count the line could
// not hold even with every name empty is damage, not a request for memory.
void CheckLineHolds(LinesView lines, int lineIndex, int count, const std::string& what) {
  const std::string_view line = NextLine(lines, lineIndex, what);
  if (static_cast<std::int64_t>(count) > static_cast<std::int64_t>(line.size()) + 1)
    Fail(std::int64_t{lineIndex} + 1, "the line cannot hold " + std::to_string(count) + " " + what);
}

// A count of things each taking at least one line of the rest of the file.
void CheckLinesLeft(LinesView lines, int lineIndex, int count, const std::string& what) {
  std::int64_t left = static_cast<std::int64_t>(lines.size()) - lineIndex - 1;
  if (count > left)
    Fail(lineIndex, "the file has too few lines for " + what + " (" + std::to_string(count) + ")");
}

// For each digit value, the cells of its four codes that it marks, as the
// bytes of a word laid over those cells in memory (mask 8 on the first).
constexpr std::array<std::uint32_t, 16> DigitCellMasks = [] {
  std::array<std::uint32_t, 16> masks{};
  const bool littleEndian = std::endian::native == std::endian::little;
  for (int value = 0; value < 16; ++value)
    for (int b = 0; b < 4; ++b)
      if (value & (8 >> b)) masks[value] |= 0xFFU << (8 * (littleEndian ? b : 3 - b));
  return masks;
}();

// The set of codes a hexadecimal code set holds, marked into one column of
// nCodes cells: four codes a digit, code 1 in the first digit's mask 8.
void DecodeHexCodeSet(std::string_view hex, char mark, char* column, std::size_t nCodes,
                      std::int64_t lineIndex) {
  const std::size_t digits = CheckedHexDigits(hex, nCodes, lineIndex);
  if (digits == 0) return;
  const int lastValue = HexDigitValue(hex[digits - 1]);
  // Every digit but the last stands for four codes that exist: its four
  // cells are changed at once, each to the mark where its bit is set.
  const std::uint32_t marks = 0x01010101U * static_cast<unsigned char>(mark);
  for (std::size_t p = 0; p + 1 < digits; ++p) {
    std::uint32_t cells;
    std::memcpy(&cells, column + 4 * p, 4);
    const std::uint32_t chosen = DigitCellMasks[HexDigitValue(hex[p])];
    cells = (cells & ~chosen) | (marks & chosen);
    std::memcpy(column + 4 * p, &cells, 4);
  }
  char* cells = column + 4 * (digits - 1);
  for (int b = 0; b < 4; ++b)
    if (lastValue & (8 >> b)) cells[b] = mark;
}

// Turns the fields of a data line after its count into its column of nCodes
// cells.
void ReadDataLineCells(std::string_view fields, int count, std::int64_t lineIndex, bool compressed,
                       char* column, std::size_t nCodes) {
  if (compressed) {
    const CompressedSets sets = SplitCompressedSets(fields, lineIndex);
    std::memset(column, '.', nCodes);
    DecodeHexCodeSet(sets.OnSet, '1', column, nCodes, lineIndex);
    if (count > 0) DecodeHexCodeSet(sets.OnsetSet, '2', column, nCodes, lineIndex);
    return;
  }
  std::string_view cells = NextTabField(fields);
  if (cells.size() < nCodes) FailPlainCells(cells, nCodes, lineIndex);
  bool allValid = true;
  for (std::size_t r = 0; r < nCodes; ++r) allValid &= PlainCells[static_cast<unsigned char>(cells[r])];
  if (!allValid) FailPlainCells(cells, nCodes, lineIndex);
  std::memcpy(column, cells.data(), nCodes);
}

// The columns of a run of data lines: each line's cells for every code, one
// line after the other, and how many time units each line stands for. The
// matrix is then written row by row, since writing a column at a time
// touches as many distant places in memory as there are codes.
struct DataLineBlock {
  std::vector<char> Cells;
  std::vector<std::size_t> Columns;
};

// The lines in one block: enough to make writing row by row pay, few enough
// for their cells to stay in the processor's nearest cache.
std::size_t LinesPerBlock(std::size_t nCodes) {
  return std::clamp<std::size_t>(std::size_t{16384} / std::max<std::size_t>(nCodes, 1), 16, 4096);
}

// Writes the block's lines into the matrix from column at on. The caller
// has made sure that all their columns lie inside every row. Short runs,
// the usual case, are written eight cells at a time where the row has room
// for that: the cells written beyond a run belong to the lines after it,
// which overwrite them.
void WriteBlock(const DataLineBlock& block, std::size_t lineCount, const std::vector<char*>& rows,
                std::size_t at, std::size_t nTimeUnits) {
  // Locals, since every cell stored could otherwise change them for all the
  // compiler knows.
  const std::size_t nCodes = rows.size();
  const char* const cells = block.Cells.data();
  const std::size_t* const runs = block.Columns.data();
  for (std::size_t r = 0; r < nCodes; ++r) {
    char* row = rows[r];
    std::size_t column = at;
    for (std::size_t j = 0; j < lineCount; ++j) {
      const char cell = cells[j * nCodes + r];
      const std::size_t columns = runs[j];
      if (columns <= 8 && column + 8 <= nTimeUnits) {
        const std::uint64_t eight = 0x0101010101010101ULL * static_cast<unsigned char>(cell);
        std::memcpy(row + column, &eight, 8);
      } else {
        std::memset(row + column, cell, columns);
      }
      column += columns;
    }
  }
}

// Splits the next line into count fields after checking that the line exists.
dynString NextFields(LinesView lines, int& lineIndex, int count, const std::string& what) {
  NextLine(lines, lineIndex, what);
  dynString fields;
  ReadTabFields(lines, lineIndex, fields, count);
  return fields;
}

// Moves on to the next line, which must exist, and gives its first count
// fields as views ([1..count]; missing fields empty).
template <int count>
std::array<std::string_view, count + 1> NextViewFields(LinesView lines, int& lineIndex, const char* what) {
  std::string_view rest = NextLine(lines, lineIndex, what);
  ++lineIndex;
  std::array<std::string_view, count + 1> fields{};
  for (int k = 1; k <= count; ++k) fields[k] = NextTabField(rest);
  return fields;
}

// Reads a line of count names into names[1..count].
void ReadNames(LinesView lines, int& lineIndex, int count, dynString& names, const std::string& what) {
  CheckLineHolds(lines, lineIndex, count, what);
  names.assign(static_cast<std::size_t>(count) + 1, std::string());
  ReadTabFields(lines, lineIndex, names, count);
}

void ReadFactorLine(LinesView lines, int& lineIndex, int factor, MdsHeader& header) {
  std::string_view rest = NextLine(lines, lineIndex, "line of factor " + std::to_string(factor));
  ++lineIndex;
  header.FactorNames[factor] = std::string(NextTabField(rest));
  const std::string what = "the number of levels of factor " + std::to_string(factor);
  int levels = ToCount(NextTabField(rest), lineIndex, what);
  header.FactorLevels[factor] = levels;
  if (levels == 0) return;
  if (static_cast<std::int64_t>(levels) > static_cast<std::int64_t>(rest.size()) + 1)
    Fail(lineIndex, "the line cannot hold " + std::to_string(levels) + " level names");
  dynString& names = header.FactorLevelNames[factor];
  names.assign(static_cast<std::size_t>(levels) + 1, std::string());
  for (int level = 1; level <= levels; ++level) names[level] = std::string(NextTabField(rest));
}

// The largest number of sessions that share a combination of factor levels
// is bounded by the file's own sessions: no cell holds more than all of
// them, and spread over every combination some cell holds at least its
// share (without factors, all sessions share one cell). A writer copies
// the number; a file whose sessions contradict it would be written back
// with fewer lines than it claims, so it is refused here.
void CheckSessionsPerCell(const MdsHeader& header, int countsLine) {
  const std::int64_t sessions = header.NSessions;
  std::int64_t cells = 1;
  for (int factor = 1; factor <= header.NFactors && cells < sessions; ++factor)
    cells *= std::max(header.FactorLevels[factor], 1);
  const std::int64_t least = cells >= sessions ? std::min<std::int64_t>(sessions, 1) : (sessions + cells - 1) / cells;
  if (header.MaxSessionsPerCell < least || header.MaxSessionsPerCell > sessions)
    Fail(countsLine, "the largest number of sessions in a cell " + std::to_string(header.MaxSessionsPerCell) +
                         " is outside " + std::to_string(least) + ".." + std::to_string(sessions));
}

}  // namespace

std::string_view NextTabField(std::string_view& rest) {
  // Fields are short: a plain loop finds the TAB sooner than a library
  // search that first has to get going.
  std::size_t tab = 0;
  while (tab < rest.size() && rest[tab] != '\t') ++tab;
  std::string_view field(rest.data(), tab);
  rest =
      tab < rest.size() ? std::string_view(rest.data() + tab + 1, rest.size() - tab - 1) : std::string_view();
  return field;
}

void NextTabField(std::string& s, std::string& field) {
  std::string_view rest = s;
  field = std::string(NextTabField(rest));
  s = std::string(rest);
}

void ReadTabFields(LinesView lines, int& lineIndex, dynString& fields, int count) {
  if (count < 0) Fail(std::int64_t{lineIndex} + 1, "a negative number of fields was asked for");
  std::string_view rest = NextLine(lines, lineIndex, "line of " + std::to_string(count) + " fields");
  ++lineIndex;
  if (fields.size() < static_cast<std::size_t>(count) + 1) fields.resize(static_cast<std::size_t>(count) + 1);
  for (int k = 1; k <= count; ++k) fields[k] = std::string(NextTabField(rest));
}

bool ReadMdsHeader(LineBuffer& lines, const std::string& fileName, MdsHeader& header, UserDialogue& dialogue) {
  lines = LineBuffer::Load(fileName);
  return ReadMdsHeaderFromLines(lines, fileName, header, dialogue);
}

bool ReadMdsHeader(dynString& lines, const std::string& fileName, MdsHeader& header, UserDialogue& dialogue) {
  lines = LineBuffer::Load(fileName).ToStrings();
  return ReadMdsHeaderFromLines(lines, fileName, header, dialogue);
}

bool ReadMdsHeaderFromLines(LinesView lines, const std::string& fileName, MdsHeader& header,
                            UserDialogue& dialogue) {
  if (lines.empty()) return false;
  const std::string_view stamp = lines[0];
  bool stamped = std::any_of(std::begin(StampMarkers), std::end(StampMarkers),
                             [&](const char* marker) { return stamp.find(marker) != std::string_view::npos; });
  if (!stamped) {
    dialogue.Notify(std::filesystem::path(fileName).filename().string() + " not a valid MDS 5.x file");
    return false;
  }

  header = MdsHeader();
  // Only the stamp line says which form the data lines have.
  header.Compressed = stamp.empty() || stamp.front() != '\t';
  int lineIndex = 0;

  dynString fields = NextFields(lines, lineIndex, 4, "line of the data type");
  header.DataType = ToIntegerIn(fields[1], lineIndex, "the data type", Event, MaxDataType);
  header.IntervalDuration = ToCount(fields[2], lineIndex, "the interval duration");
  header.IntervalUnitMark = ToIntegerIn(fields[3], lineIndex, "the interval mark", 0, MaxIntervalUnitMark);

  fields = NextFields(lines, lineIndex, 6, "line of the counts");
  header.NCodes = ToCount(fields[1], lineIndex, "the number of codes");
  header.NDual = ToCount(fields[2], lineIndex, "the dual-name flag");
  header.NSets = ToCount(fields[3], lineIndex, "the number of code sets");
  header.NFactors = ToCount(fields[4], lineIndex, "the number of factors");
  header.NSessions = ToCount(fields[5], lineIndex, "the number of sessions");
  header.MaxSessionsPerCell = ToCount(fields[6], lineIndex, "the largest number of sessions in a cell");
  const int countsLine = lineIndex;
  CheckLinesLeft(lines, countsLine, header.NSessions, "sessions");
  CheckLinesLeft(lines, countsLine, header.NFactors, "factors");

  if (header.NCodes > 0) ReadNames(lines, lineIndex, header.NCodes, header.CodeNames, "code names");
  if (header.NDual > 0) ReadNames(lines, lineIndex, header.NCodes, header.DualNames, "dual names");
  if (header.NSets > 0) {
    CheckLineHolds(lines, lineIndex, header.NCodes, "set numbers");
    fields = NextFields(lines, lineIndex, header.NCodes, "line of set numbers");
    header.CodeSet.assign(static_cast<std::size_t>(header.NCodes) + 1, 0);
    for (int code = 1; code <= header.NCodes; ++code)
      header.CodeSet[code] = ToIntegerIn(fields[code], lineIndex,
                                         "the set number of code " + std::to_string(code), 0, header.NSets);
    ReadNames(lines, lineIndex, header.NSets, header.SetNames, "set names");
    header.SetNames[0].clear();
  }
  if (header.NFactors > 0) {
    const std::size_t size = static_cast<std::size_t>(header.NFactors) + 1;
    header.FactorNames.assign(size, std::string());
    header.FactorLevels.assign(size, 0);
    header.FactorLevelNames.assign(size, dynString());
    for (int factor = 1; factor <= header.NFactors; ++factor)
      ReadFactorLine(lines, lineIndex, factor, header);
  }

  CheckSessionsPerCell(header, countsLine);

  fields = NextFields(lines, lineIndex, 3, "units line");
  header.TimeFormat = ToIntegerIn(fields[1], lineIndex, "the time format", 0, MaxTimeFormat);
  header.TimeUnitIndex = ToIntegerIn(fields[2], lineIndex, "the time unit", 0, MaxTimeUnitIndex);
  header.TimeUnitLabel = fields[3];
  if (std::any_of(std::begin(SecondFractionLabels), std::end(SecondFractionLabels),
                  [&](const char* label) { return header.TimeUnitLabel == label; }))
    header.TimeUnitLabel = "seconds";
  header.LineIndex = lineIndex;
  return true;
}

void ReadSessionHeader(LinesView lines, int& lineIndex, int& replicate, int& nSegments,
                       std::string& sessionLabel, int nFactors, dynInteger& sessionLevels,
                       const dynInteger& factorLevels) {
  const auto fields = NextViewFields<3>(lines, lineIndex, "session line");
  replicate = ToInteger(fields[1], lineIndex, "the session number");
  nSegments = ToCount(fields[2], lineIndex, "the number of segments");
  sessionLabel.assign(fields[3]);
  if (nFactors < 0) Fail(lineIndex, "the number of factors is negative");
  if (nFactors == 0) return;
  CheckLineHolds(lines, lineIndex, nFactors, "level numbers");
  std::string_view rest = NextLine(lines, lineIndex, "line of level numbers");
  ++lineIndex;
  sessionLevels.resize(static_cast<std::size_t>(nFactors) + 1);
  const bool levelsKnown = factorLevels.size() > static_cast<std::size_t>(nFactors);
  for (int factor = 1; factor <= nFactors; ++factor) {
    const std::string_view field = NextTabField(rest);
    const int high = levelsKnown ? factorLevels[factor] : std::numeric_limits<std::int32_t>::max();
    std::int64_t level = 0;
    if (ParseInteger(field, level) && level >= 1 && level <= high) {
      sessionLevels[factor] = static_cast<int>(level);
      continue;
    }
    sessionLevels[factor] = ToIntegerIn(field, lineIndex, "the level of factor " + std::to_string(factor), 1, high);
  }
}

void ReadSegmentHeader(LinesView lines, int& lineIndex, int& nDataLines, int& nTimeUnits,
                       std::uint32_t& startTime, std::uint32_t& stopTime) {
  const auto fields = NextViewFields<5>(lines, lineIndex, "segment line");
  nDataLines = ToCount(fields[2], lineIndex, "the number of data lines");
  nTimeUnits = ToCount(fields[3], lineIndex, "the number of time units");
  startTime = ToTime(fields[4], lineIndex, "the start time");
  stopTime = ToTime(fields[5], lineIndex, "the stop time");
}

void ReadSegmentData(LinesView lines, int& lineIndex, int nCodes, int nDataLines, int nTimeUnits,
                     bool compressed, dynChar2& segmentMatrix) {
  CheckSegmentShape(lines, lineIndex, nCodes, nDataLines, nTimeUnits);
  const std::int64_t first = std::int64_t{lineIndex} + 1;

  // The counts are checked against the segment before the matrix is made,
  // so a damaged count cannot ask for memory the data never fill.
  std::vector<int> counts(static_cast<std::size_t>(nDataLines));
  std::int64_t covered = 0;
  for (std::int64_t i = first; i < first + nDataLines; ++i) {
    std::string_view line = lines[i];
    int count = ToInteger(NextTabField(line), i, "the data line's count");
    counts[i - first] = count;
    covered += ColumnsOfCount(count, compressed);
    if (covered > nTimeUnits) FailCoverTooMuch(i, nTimeUnits);
  }
  // A segment without codes is written without data lines.
  if (covered < nTimeUnits && nCodes > 0) FailCoverTooLittle(lineIndex, covered, nTimeUnits);
  CheckSegmentFits(lineIndex, nCodes, nTimeUnits);

  try {
    segmentMatrix.resize(static_cast<std::size_t>(nCodes));
    for (std::string& row : segmentMatrix) row.resize(static_cast<std::size_t>(nTimeUnits));
  } catch (const std::bad_alloc&) {
    Fail(lineIndex, "there is not enough memory for a segment of " + std::to_string(nCodes) + " codes by " +
                        std::to_string(nTimeUnits) + " time units");
  }

  // The lines cover exactly the segment's columns (checked above), so every
  // column written below lies inside every row.
  std::vector<char*> rows(static_cast<std::size_t>(nCodes));
  for (int r = 0; r < nCodes; ++r) rows[r] = segmentMatrix[r].data();
  const std::size_t codes = static_cast<std::size_t>(nCodes);
  const std::size_t linesPerBlock = LinesPerBlock(codes);
  DataLineBlock block;
  block.Cells.resize(linesPerBlock * codes);
  block.Columns.resize(linesPerBlock);
  std::size_t at = 0;
  for (std::int64_t i = first; i < first + nDataLines;) {
    const std::size_t lineCount =
        std::min<std::size_t>(linesPerBlock, static_cast<std::size_t>(first + nDataLines - i));
    std::size_t blockColumns = 0;
    for (std::size_t j = 0; j < lineCount; ++j, ++i) {
      std::string_view fields = lines[i];
      NextTabField(fields);
      const int count = counts[i - first];
      ReadDataLineCells(fields, count, i, compressed, block.Cells.data() + j * codes, codes);
      block.Columns[j] = static_cast<std::size_t>(ColumnsOfCount(count, compressed));
      blockColumns += block.Columns[j];
    }
    WriteBlock(block, lineCount, rows, at, static_cast<std::size_t>(nTimeUnits));
    at += blockColumns;
  }
  lineIndex = static_cast<int>(first + nDataLines - 1);
}

}  // namespace vork
