#include "core/segment_writer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/command_error.h"

namespace vork {

namespace {

// The cells of the columns that are written, one column after another, for
// the writing routines. The matrix holds each code's row apart, so a
// column's cells lie far from each other; they are gathered a block of
// columns at a time, reading every row along, into one place where each
// column's cells follow each other.
class WrittenColumns {
 public:
  WrittenColumns(const dynChar2& matrix, const std::vector<std::size_t>& written, int nCodes)
      : Matrix(matrix),
        Written(written),
        NCodes(static_cast<std::size_t>(nCodes)),
        BlockColumns(
            std::clamp<std::size_t>(std::size_t{16384} / std::max<std::size_t>(NCodes, 1), 16, 4096)),
        Cells(BlockColumns * NCodes) {}

  // The NCodes cells, code 1 first, of the next column written.
  const char* Next() {
    if (Taken == GatheredEnd) Gather();
    return Cells.data() + (Taken++ - GatheredFrom) * NCodes;
  }

 private:
  void Gather() {
    GatheredFrom = Taken;
    GatheredEnd = std::min(Written.size(), Taken + BlockColumns);
    // Locals, since every cell stored could otherwise change them for all
    // the compiler knows.
    const std::size_t stride = NCodes;
    const std::size_t count = GatheredEnd - GatheredFrom;
    const std::size_t* const columns = Written.data() + GatheredFrom;
    char* const cells = Cells.data();
    for (std::size_t r = 0; r < stride; ++r) {
      const char* row = Matrix[r].data();
      char* cell = cells + r;
      for (std::size_t k = 0; k < count; ++k, cell += stride) *cell = row[columns[k]];
    }
  }

  const dynChar2& Matrix;
  const std::vector<std::size_t>& Written;  // the columns written, in order
  const std::size_t NCodes;
  const std::size_t BlockColumns;
  std::vector<char> Cells;
  std::size_t GatheredFrom = 0;  // the block in Cells: Written[GatheredFrom..GatheredEnd)
  std::size_t GatheredEnd = 0;
  std::size_t Taken = 0;         // how many columns were handed out
};

void AppendNumber(std::string& line, std::int64_t number) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, number);
  line.append(digits, result.ptr);
}

// hex := Flags[first..last] as hexadecimal digits, four flags a digit with
// masks 8, 4, 2, 1; trailing "0" digits are dropped but the first digit
// stays, so the empty set is "0".
void EncodeHexCodeSet(const std::vector<char>& flags, int first, int last, std::string& hex) {
  static constexpr char HexDigits[] = "0123456789ABCDEF";
  const char* flag = flags.data();
  hex.clear();
  std::size_t kept = 1;
  for (int group = first; group <= last; group += 4) {
    int value = 0;
    if (group + 3 <= last) {
      value = (flag[group] != 0) << 3 | (flag[group + 1] != 0) << 2 | (flag[group + 2] != 0) << 1 |
              (flag[group + 3] != 0);
    } else {
      for (int b = 0; group + b <= last; ++b)
        if (flag[group + b]) value |= 8 >> b;
    }
    hex += HexDigits[value];
    if (value != 0) kept = hex.size();
  }
  if (hex.empty()) hex.push_back('0');
  hex.resize(kept);
}

// Writes one data line per column given, plain or compressed; both writers
// below make their lines here, so they cannot differ in form.
class DataLineWriter {
 public:
  DataLineWriter(dynString& out, int nCodes, bool compressed)
      : Out(out), NCodes(nCodes), Compressed(compressed) {
    if (compressed) Flags.assign(2 * static_cast<std::size_t>(nCodes) + 1, 0);
  }

  // cells: the NCodes cells of the column, code 1 first; run: its units.
  void Write(const char* cells, std::int64_t run) {
    Line.clear();
    if (Compressed) {
      MakeCompressedLine(cells, run);
    } else {
      AppendNumber(Line, run);
      Line += '\t';
      Line.append(cells, static_cast<std::size_t>(NCodes));
    }
    Out.emplace_back(Line);
    ++LineCount;
  }

  int LineCount = 0;

 private:
  void MakeCompressedLine(const char* cells, std::int64_t run) {
    const int n = NCodes;
    char* on = Flags.data() + 1;
    char* onset = Flags.data() + n + 1;
    bool anyOnset = false;
    for (int c = 0; c < n; ++c) {
      on[c] = cells[c] != '.';
      onset[c] = cells[c] == '2';
      anyOnset |= cells[c] == '2';
    }
    EncodeHexCodeSet(Flags, 1, n, OnSet);
    if (anyOnset) {
      EncodeHexCodeSet(Flags, n + 1, 2 * n, OnsetSet);
      AppendNumber(Line, run);
      Line += '\t';
      Line += OnSet;
      if (OnsetSet == OnSet) {
        Line += '*';
      } else {
        Line += '\t';
        Line += OnsetSet;
      }
    } else {
      AppendNumber(Line, -run);
      Line += '\t';
      Line += OnSet;
    }
  }

  dynString& Out;
  const int NCodes;
  const bool Compressed;
  // Compressed form: Flags[c] says code c is on in the column,
  // Flags[NCodes + c] that it has an onset there (c = 1..NCodes).
  std::vector<char> Flags;
  // The two code sets of a compressed line, and the line being made, kept
  // from line to line; each line written is a copy of just its length,
  // which for a few codes needs no allocation.
  std::string OnSet;
  std::string OnsetSet;
  std::string Line;
};

// For the eight cells from cells[0] on, clears same[k] where cells[k]
// differs from the cell before it. Whole words are compared at once: the
// rows of a long segment are millions of cells, nearly all like their
// neighbour.
void ClearDifferingCells(const char* cells, char* same) {
  constexpr std::uint64_t Low7 = 0x7F7F7F7F7F7F7F7FULL;
  constexpr std::uint64_t Ones = 0x0101010101010101ULL;
  std::uint64_t current = 0;
  std::uint64_t previous = 0;
  std::uint64_t flags = 0;
  std::memcpy(&current, cells, 8);
  std::memcpy(&previous, cells - 1, 8);
  std::memcpy(&flags, same, 8);
  const std::uint64_t diff = current ^ previous;
  // Bit 7 of each byte of differs is set where that byte of diff is not 0.
  const std::uint64_t differs = ((diff & Low7) + Low7) | diff;
  flags &= ~((differs >> 7) & Ones);
  std::memcpy(same, &flags, 8);
}

// Joins every stretch of columns identical cell for cell into its first
// column, working from the end so that the whole stretch gathers there.
// A dropped column (run 0 or less) counts as no units, whichever side of
// the join it is on, so it never takes units away from its neighbours.
void MergeEqualColumns(const dynChar2& matrix, dynInteger& runs, int nCodes, int nTimeUnits) {
  if (nTimeUnits < 2) return;
  // same[t]: column t equals column t - 1; found row by row, which reads
  // the matrix in the order it is stored.
  std::vector<char> same(static_cast<std::size_t>(nTimeUnits), 1);
  for (int r = 0; r < nCodes; ++r) {
    const char* row = matrix[r].data();
    int t = 1;
    for (; t <= nTimeUnits - 8; t += 8) ClearDifferingCells(row + t, same.data() + t);
    for (; t < nTimeUnits; ++t) same[t] &= static_cast<char>(row[t] == row[t - 1]);
  }
  for (int t = nTimeUnits - 1; t >= 1; --t) {
    if (!same[t]) continue;
    std::int64_t joined = std::int64_t{std::max(runs[t - 1], 0)} + std::max(runs[t], 0);
    if (joined > std::numeric_limits<std::int32_t>::max())
      throw CommandError("A run of " + std::to_string(joined) + " time units is too long to write.");
    runs[t - 1] = static_cast<int>(joined);
    runs[t] = 0;
  }
}

// The column in force while the changes of a segment are swept: its cells,
// and which codes are on and which have an onset, as bits (code c is bit
// c % 64 of word c / 64), from which a compressed line is made directly.
struct SweptColumn {
  explicit SweptColumn(int nCodes)
      : Cells(static_cast<std::size_t>(nCodes), '.'),
        On((static_cast<std::size_t>(nCodes) + 63) / 64, 0),
        Onset(On.size(), 0) {}

  char Cell(int code) const { return Cells[static_cast<std::size_t>(code)]; }
  void Set(int code, char cell) {
    char& old = Cells[static_cast<std::size_t>(code)];
    OnCount += (cell != '.') - (old != '.');
    OnsetCount += (cell == '2') - (old == '2');
    old = cell;
    const std::size_t word = static_cast<std::size_t>(code) / 64;
    const std::uint64_t bit = std::uint64_t{1} << (code % 64);
    On[word] = cell != '.' ? On[word] | bit : On[word] & ~bit;
    Onset[word] = cell == '2' ? Onset[word] | bit : Onset[word] & ~bit;
  }

  std::string Cells;
  std::vector<std::uint64_t> On;
  std::vector<std::uint64_t> Onset;
  // The codes on, and those with an onset (which are on as well): the sets
  // are equal when the counts are.
  int OnCount = 0;
  int OnsetCount = 0;
};

// The column in force while the changes of a segment are swept for plain
// lines: its cells.
struct SweptCells {
  explicit SweptCells(int nCodes) : Cells(static_cast<std::size_t>(nCodes), '.') {}
  char Cell(int code) const { return Cells[static_cast<std::size_t>(code)]; }
  void Set(int code, char cell) { Cells[static_cast<std::size_t>(code)] = cell; }

  std::string Cells;
};

// The column in force while the changes of a segment of at most 64 codes
// are swept, when every cell is ".", "1" or "2": which codes are on and
// which have an onset, the bits of a compressed line.
struct SweptWord {
  char Cell(int code) const {
    const std::uint64_t bit = std::uint64_t{1} << code;
    return (Onset & bit) != 0 ? '2' : (On & bit) != 0 ? '1' : '.';
  }
  void Set(int code, char cell) {
    const std::uint64_t bit = std::uint64_t{1} << code;
    On = (On & ~bit) | (cell != '.' ? bit : 0);
    Onset = (Onset & ~bit) | (cell == '2' ? bit : 0);
  }

  std::uint64_t On = 0;
  std::uint64_t Onset = 0;
};

// The hexadecimal digits of a code set of nCodes codes: four codes a digit
// with masks 8, 4, 2, 1, trailing "0" digits dropped but the first kept
// ("0" for none). Bits past the last digit are not read.
std::size_t HexDigitCount(const std::uint64_t* set, std::size_t nCodes) {
  const std::size_t allDigits = (nCodes + 3) / 4;
  for (std::size_t w = (allDigits + 15) / 16; w-- > 0;) {
    const std::size_t wordDigits = std::min<std::size_t>(allDigits - w * 16, 16);
    const std::uint64_t bits = wordDigits == 16 ? set[w] : set[w] & ((std::uint64_t{1} << (4 * wordDigits)) - 1);
    if (bits == 0) continue;
    const int highest = 63 - __builtin_clzll(bits);
    return w * 16 + static_cast<std::size_t>(highest) / 4 + 1;
  }
  return 1;
}

// The two digits of eight codes, the first four codes' digit first, for
// every byte of a code set (code c + 1 is bit c).
struct HexPairTable {
  char Pairs[256][2];
  constexpr HexPairTable() : Pairs() {
    constexpr char Reversed[] = "084C2A6E195D3B7F";  // a nibble's bits in the other order
    for (int b = 0; b < 256; ++b) {
      Pairs[b][0] = Reversed[b & 0xF];
      Pairs[b][1] = Reversed[b >> 4];
    }
  }
};
constexpr HexPairTable HexPairs;

// Writes the digits of a code set at to and returns their end; the byte
// after the end may be written as well, so to has room for one more.
char* WriteHexSet(const std::uint64_t* set, std::size_t nCodes, char* to) {
  if (nCodes == 0) {
    *to = '0';
    return to + 1;
  }
  const std::size_t digits = HexDigitCount(set, nCodes);
  for (std::size_t d = 0; d < digits; d += 2) {
    const auto byte = static_cast<unsigned>(set[d / 16] >> (d % 16 * 4)) & 0xFFu;
    std::memcpy(to + d, HexPairs.Pairs[byte], 2);
  }
  return to + digits;
}

// Writes the digits of the code set of one word at to and returns their
// end; the byte after the end may be written as well.
char* WriteHexWord(std::uint64_t set, char* to) {
  const std::size_t digits = set == 0 ? 1 : static_cast<std::size_t>(63 - __builtin_clzll(set)) / 4 + 1;
  for (std::size_t d = 0; d < digits; d += 2) std::memcpy(to + d, HexPairs.Pairs[(set >> (4 * d)) & 0xFF], 2);
  return to + digits;
}

// Writes a run of time units (at most the largest 32-bit count), with a
// minus sign when negative, and returns its end.
char* WriteRun(std::int64_t run, bool negative, char* to) {
  *to = '-';
  to += negative ? 1 : 0;
  return std::to_chars(to, to + 12, static_cast<std::uint32_t>(run)).ptr;
}

// The longest data line of a segment of nCodes codes, and one byte more
// for a code set's digit written past its end.
std::size_t LongestDataLine(std::size_t nCodes, bool compressed) {
  return 24 + (compressed ? 2 * (nCodes / 4 + 2) + 2 : nCodes);
}

// Writes the compressed data line of a column and its run at to, which has
// room for the longest line: the run (negative when no code has an onset),
// the codes on, then "*" when the onsets are written as the same digits or
// else the onsets. Returns the line's end.
char* WriteCompressedLine(std::int64_t run, const std::uint64_t* on, const std::uint64_t* onsets, std::size_t nCodes,
                          bool anyOnset, bool onsetsAreOn, char* to) {
  to = WriteRun(run, !anyOnset, to);
  *to++ = '\t';
  to = WriteHexSet(on, nCodes, to);
  if (!anyOnset) return to;
  if (onsetsAreOn) {
    *to++ = '*';
    return to;
  }
  *to++ = '\t';
  return WriteHexSet(onsets, nCodes, to);
}

std::size_t NumberLength(std::int64_t number) {
  std::size_t length = number < 0 ? 2 : 1;
  for (std::uint64_t n = static_cast<std::uint64_t>(number < 0 ? -number : number); n >= 10; n /= 10) ++length;
  return length;
}

// The length of the data line of a column and its run, without its break.
std::size_t LineLength(const SweptColumn& column, std::int64_t run, bool compressed) {
  if (!compressed) return NumberLength(run) + 1 + column.Cells.size();
  const std::size_t nCodes = column.Cells.size();
  const std::size_t onDigits = HexDigitCount(column.On.data(), nCodes);
  if (column.OnsetCount == 0) return NumberLength(-run) + 1 + onDigits;
  if (column.OnsetCount == column.OnCount) return NumberLength(run) + 1 + onDigits + 1;
  return NumberLength(run) + 1 + onDigits + 1 + HexDigitCount(column.Onset.data(), nCodes);
}

// Writes the compressed data line of a column of at most 64 codes, given
// as the bits of its digits, and its run at to, which has room for the
// longest line; returns the line's end.
char* WriteWordLine(std::int64_t run, std::uint64_t on, std::uint64_t onsets, bool anyOnset, char* to) {
  to = WriteRun(run, !anyOnset, to);
  *to++ = '\t';
  to = WriteHexWord(on, to);
  if (!anyOnset) return to;
  if (onsets == on) {
    *to++ = '*';
    return to;
  }
  *to++ = '\t';
  return WriteHexWord(onsets, to);
}

// Makes the compressed data line of a column of one word and its run.
char* MakeLine(const SweptWord& column, std::int64_t run, char* to) {
  return WriteWordLine(run, column.On, column.Onset, column.Onset != 0, to);
}

// Makes the plain data line of a column and its run at to, which has room
// for the longest line; returns the line's end.
char* MakeLine(const SweptCells& column, std::int64_t run, char* to) {
  to = WriteRun(run, false, to);
  *to++ = '\t';
  std::memcpy(to, column.Cells.data(), column.Cells.size());
  return to + column.Cells.size();
}

// Makes the compressed data line of a column and its run at to, which has
// room for the longest line; returns the line's end.
char* MakeLine(const SweptColumn& column, std::int64_t run, char* to) {
  return WriteCompressedLine(run, column.On.data(), column.Onset.data(), column.Cells.size(), column.OnsetCount > 0,
                             column.OnsetCount == column.OnCount, to);
}

// Checks a segment's changes against its codes and time units and sorts
// them by unit, then by code. False when the segment has no cells to
// write. plainCells: every cell is ".", "1" or "2".
bool PrepareChanges(std::vector<CellChange>& changes, int nCodes, std::int64_t nTimeUnits, bool& plainCells) {
  if (nCodes < 0 || nTimeUnits < 0)
    throw CommandError("A segment cannot have a negative number of codes or time units.");
  if (nTimeUnits == 0 || nCodes == 0) return false;
  bool outside = false;
  bool unsorted = false;
  bool oddCell = false;
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const CellChange& change = changes[i];
    outside |= (change.Code < 0) | (change.Code >= nCodes) | (change.Unit < 0);
    oddCell |= (change.Cell != '.') & (change.Cell != '1') & (change.Cell != '2');
    if (i > 0) {
      const CellChange& before = changes[i - 1];
      unsorted |= (change.Unit < before.Unit) | ((change.Unit == before.Unit) & (change.Code < before.Code));
    }
  }
  if (outside) throw CommandError("A cell change lies outside the segment's codes or time units.");
  // Measured and then written, the changes are sorted once.
  if (unsorted) {
    std::sort(changes.begin(), changes.end(), [](const CellChange& a, const CellChange& b) {
      return a.Unit != b.Unit ? a.Unit < b.Unit : a.Code < b.Code;
    });
  }
  plainCells = !oddCell;
  return true;
}

// Sweeps the sorted changes of a segment in unit order and calls
// line(column, run) for every stretch of equal columns: a line is written
// only where some cell really changes. A change that leaves its cell as it
// is changes nothing; the first that does not, at a unit after the
// stretch began, ends the stretch before it is made.
template <class Column, class Line>
void SweepChanges(const std::vector<CellChange>& changes, std::int64_t nTimeUnits, Column& column, Line line) {
  const auto run = [&](std::int64_t units) {
    if (units > std::numeric_limits<std::int32_t>::max())
      throw CommandError("A run of " + std::to_string(units) + " time units is too long to write.");
    line(column, units);
  };
  std::int64_t start = 0;
  for (const CellChange& change : changes) {
    if (change.Unit >= nTimeUnits) break;
    if (column.Cell(change.Code) == change.Cell) continue;
    if (change.Unit > start) {
      run(change.Unit - start);
      start = change.Unit;
    }
    column.Set(change.Code, change.Cell);
  }
  run(nTimeUnits - start);
}

// The data lines of a segment's changes, each made in place where
// lineAt(longest) says and ended by endLine(length); their count.
template <class LineAt, class EndLine>
int AppendSegmentChanges(std::vector<CellChange>& changes, int nCodes, std::int64_t nTimeUnits, bool compressed,
                         LineAt lineAt, EndLine endLine) {
  bool plainCells = false;
  if (!PrepareChanges(changes, nCodes, nTimeUnits, plainCells)) return 0;
  const std::size_t longest = LongestDataLine(static_cast<std::size_t>(nCodes), compressed);
  int count = 0;
  const auto sweep = [&](auto& column) {
    SweepChanges(changes, nTimeUnits, column, [&](const auto& swept, std::int64_t run) {
      char* const line = lineAt(longest);
      endLine(static_cast<std::size_t>(MakeLine(swept, run, line) - line));
      ++count;
    });
  };
  if (!compressed) {
    SweptCells column(nCodes);
    sweep(column);
  } else if (plainCells && nCodes <= 64) {
    SweptWord column;
    sweep(column);
  } else {
    SweptColumn column(nCodes);
    sweep(column);
  }
  return count;
}

}  // namespace

int WriteSegmentData(dynString& out, const dynChar2& segmentMatrix, dynInteger& runs, int nCodes,
                     int nTimeUnits, bool compressed, bool merge) {
  if (nCodes < 0 || nTimeUnits < 0)
    throw CommandError("A segment cannot have a negative number of codes or time units.");
  if (runs.size() < static_cast<std::size_t>(nTimeUnits))
    throw CommandError("The segment has " + std::to_string(nTimeUnits) + " time units but only " +
                       std::to_string(runs.size()) + " runs.");
  if (segmentMatrix.size() < static_cast<std::size_t>(nCodes))
    throw CommandError("The segment has " + std::to_string(nCodes) + " codes but its matrix only " +
                       std::to_string(segmentMatrix.size()) + " rows.");
  for (int r = 0; r < nCodes; ++r)
    if (segmentMatrix[r].size() < static_cast<std::size_t>(nTimeUnits))
      throw CommandError("Row " + std::to_string(r + 1) + " of the segment matrix is shorter than its " +
                         std::to_string(nTimeUnits) + " time units.");

  if (merge) MergeEqualColumns(segmentMatrix, runs, nCodes, nTimeUnits);
  std::vector<std::size_t> written;
  for (int t = 0; t < nTimeUnits; ++t) {
    if (runs[t] > 0) written.push_back(static_cast<std::size_t>(t));
  }
  DataLineWriter writer(out, nCodes, compressed);
  if (nTimeUnits > 0 && nCodes > 0) {
    WrittenColumns columns(segmentMatrix, written, nCodes);
    for (std::size_t t : written) writer.Write(columns.Next(), runs[t]);
  }
  return writer.LineCount;
}

int WriteSegmentChanges(dynString& out, std::vector<CellChange>& changes, int nCodes,
                        std::int64_t nTimeUnits, bool compressed) {
  std::string line;
  return AppendSegmentChanges(
      changes, nCodes, nTimeUnits, compressed,
      [&line](std::size_t longest) {
        line.resize(longest);
        return line.data();
      },
      [&](std::size_t length) { out.emplace_back(line.data(), length); });
}

int WriteSegmentChanges(LineBuffer& out, std::vector<CellChange>& changes, int nCodes,
                        std::int64_t nTimeUnits, bool compressed) {
  return AppendSegmentChanges(
      changes, nCodes, nTimeUnits, compressed, [&out](std::size_t longest) { return out.LineRoom(longest); },
      [&out](std::size_t length) { out.EndLine(length); });
}

SegmentLinesSize MeasureSegmentChanges(std::vector<CellChange>& changes, int nCodes, std::int64_t nTimeUnits,
                                       bool compressed) {
  SegmentLinesSize size;
  bool plainCells = false;
  if (!PrepareChanges(changes, nCodes, nTimeUnits, plainCells)) return size;
  SweptColumn column(nCodes);
  SweepChanges(changes, nTimeUnits, column, [&](const SweptColumn& swept, std::int64_t run) {
    ++size.Lines;
    size.Bytes += static_cast<std::int64_t>(LineLength(swept, run, compressed)) + 2;
  });
  return size;
}

ColumnLineWriter::ColumnLineWriter(LineBuffer& out, int nCodes, bool compressed, bool merge)
    : Out(out),
      NCodes(std::max(nCodes, 0)),
      NWords((static_cast<std::size_t>(std::max(nCodes, 0)) + 63) / 64),
      Compressed(compressed),
      Merge(merge),
      Pending(2 * NWords, 0) {}

void ColumnLineWriter::Add(std::int64_t units, const std::uint64_t* on, const std::uint64_t* onsets, bool dropped) {
  if (units <= 0 || NCodes == 0) return;
  if (!Merge) {
    if (!dropped)
      for (std::int64_t k = 0; k < units; ++k) WriteLine(1, on, onsets);
    return;
  }
  bool same = HasPending;
  for (std::size_t w = 0; w < NWords && same; ++w) same = on[w] == Pending[w] && onsets[w] == Pending[NWords + w];
  if (same) {
    if (!dropped) PendingUnits += units;
    return;
  }
  if (HasPending && PendingUnits > 0) WriteLine(PendingUnits, Pending.data(), Pending.data() + NWords);
  for (std::size_t w = 0; w < NWords; ++w) {
    Pending[w] = on[w];
    Pending[NWords + w] = onsets[w];
  }
  PendingUnits = dropped ? 0 : units;
  HasPending = true;
}

int ColumnLineWriter::Finish() {
  if (HasPending && PendingUnits > 0) WriteLine(PendingUnits, Pending.data(), Pending.data() + NWords);
  HasPending = false;
  PendingUnits = 0;
  return Lines;
}

void ColumnLineWriter::WriteLine(std::int64_t count, const std::uint64_t* on, const std::uint64_t* onsets) {
  if (count > std::numeric_limits<std::int32_t>::max())
    throw CommandError("A run of " + std::to_string(count) + " time units is too long to write.");
  char* const start = Out.LineRoom(LongestDataLine(static_cast<std::size_t>(NCodes), Compressed));
  char* p = start;
  if (Compressed && NWords == 1) {
    // A stray bit past the last digit makes an onset but no digit.
    const std::size_t digitBits = 4 * ((static_cast<std::size_t>(NCodes) + 3) / 4);
    const std::uint64_t digits = digitBits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << digitBits) - 1;
    p = WriteWordLine(count, on[0] & digits, onsets[0] & digits, onsets[0] != 0, p);
  } else if (Compressed) {
    // A stray bit past the last digit makes an onset but no digit.
    bool anyOnset = false;
    for (std::size_t w = 0; w < NWords; ++w) anyOnset |= onsets[w] != 0;
    const auto nCodes = static_cast<std::size_t>(NCodes);
    const std::size_t onDigits = HexDigitCount(on, nCodes);
    bool onsetsAreOn = HexDigitCount(onsets, nCodes) == onDigits;
    for (std::size_t w = 0; w < NWords && onsetsAreOn; ++w) {
      const std::size_t bits = std::min<std::size_t>(64, 4 * onDigits - std::min(4 * onDigits, 64 * w));
      const std::uint64_t mask = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
      onsetsAreOn = ((on[w] ^ onsets[w]) & mask) == 0;
    }
    p = WriteCompressedLine(count, on, onsets, nCodes, anyOnset, onsetsAreOn, p);
  } else {
    p = std::to_chars(p, start + 24, count).ptr;
    *p++ = '\t';
    for (int c = 0; c < NCodes; ++c) {
      const std::uint64_t bit = std::uint64_t{1} << (c % 64);
      const std::size_t w = static_cast<std::size_t>(c) / 64;
      *p++ = onsets[w] & bit ? '2' : on[w] & bit ? '1' : '.';
    }
  }
  Out.EndLine(static_cast<std::size_t>(p - start));
  ++Lines;
}

}  // namespace vork
