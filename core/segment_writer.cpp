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

// What the writing routines share for one call.
struct SegmentOutput {
  dynString& Out;
  // The columns written: those whose run is above 0.
  const std::vector<std::size_t>& Written;
  WrittenColumns Columns;
  const dynInteger& Runs;
  int NCodes;
  int LineCount = 0;
  // Compressed form: Flags[c] says code c is on in the column,
  // Flags[NCodes + c] that it has an onset there (c = 1..NCodes).
  std::vector<char> Flags;
  // The two code sets of a compressed line, kept from line to line.
  std::string OnSet;
  std::string OnsetSet;
  // The line being made, kept from line to line; each line written is a
  // copy of just its length, which for a few codes needs no allocation.
  std::string Line;
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

void WritePlainDataLines(SegmentOutput& s) {
  const std::size_t nCodes = static_cast<std::size_t>(s.NCodes);
  for (std::size_t t : s.Written) {
    std::string& line = s.Line;
    line.clear();
    AppendNumber(line, s.Runs[t]);
    line += '\t';
    line.append(s.Columns.Next(), nCodes);
    s.Out.emplace_back(line);
    ++s.LineCount;
  }
}

void WriteCompressedDataLines(SegmentOutput& s) {
  const int n = s.NCodes;
  s.Flags.assign(2 * static_cast<std::size_t>(n) + 1, 0);
  for (std::size_t t : s.Written) {
    const char* cells = s.Columns.Next();
    char* on = s.Flags.data() + 1;
    char* onset = s.Flags.data() + n + 1;
    bool anyOnset = false;
    for (int c = 0; c < n; ++c) {
      on[c] = cells[c] != '.';
      onset[c] = cells[c] == '2';
      anyOnset |= cells[c] == '2';
    }
    EncodeHexCodeSet(s.Flags, 1, n, s.OnSet);
    std::string& line = s.Line;
    line.clear();
    if (anyOnset) {
      EncodeHexCodeSet(s.Flags, n + 1, 2 * n, s.OnsetSet);
      AppendNumber(line, s.Runs[t]);
      line += '\t';
      line += s.OnSet;
      if (s.OnsetSet == s.OnSet) {
        line += '*';
      } else {
        line += '\t';
        line += s.OnsetSet;
      }
    } else {
      AppendNumber(line, -std::int64_t{s.Runs[t]});
      line += '\t';
      line += s.OnSet;
    }
    s.Out.emplace_back(line);
    ++s.LineCount;
  }
}

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
    for (; t + 8 <= nTimeUnits; t += 8) ClearDifferingCells(row + t, same.data() + t);
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
  SegmentOutput output{out, written, WrittenColumns(segmentMatrix, written, nCodes), runs, nCodes,
                       0, {}, {}, {}, {}};
  if (nTimeUnits > 0 && nCodes > 0) {
    if (compressed)
      WriteCompressedDataLines(output);
    else
      WritePlainDataLines(output);
  }
  return output.LineCount;
}

}  // namespace vork
