#include "core/segment_writer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/command_error.h"

namespace vork {

namespace {

// What the writing routines share for one call.
struct SegmentOutput {
  dynString& Out;
  const dynChar2& SegmentMatrix;
  const dynInteger& Runs;
  int NCodes;
  int NTimeUnits;
  int LineCount = 0;
  // Compressed form: Flags[c] says code c is on in the column,
  // Flags[NCodes + c] that it has an onset there (c = 1..NCodes).
  std::vector<char> Flags;
};

void AppendNumber(std::string& line, std::int64_t number) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, number);
  line.append(digits, result.ptr);
}

// Flags[first..last] as hexadecimal digits, four flags a digit with masks
// 8, 4, 2, 1; trailing "0" digits are dropped but the first digit stays, so
// the empty set is "0".
std::string EncodeHexCodeSet(const std::vector<char>& flags, int first, int last) {
  static constexpr char HexDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (int group = first; group <= last; group += 4) {
    int value = 0;
    for (int b = 0; b < 4 && group + b <= last; ++b)
      if (flags[group + b]) value |= 8 >> b;
    hex += HexDigits[value];
  }
  if (hex.empty()) hex = "0";
  std::size_t kept = hex.find_last_not_of('0');
  hex.resize(kept == std::string::npos ? 1 : kept + 1);
  return hex;
}

void WritePlainDataLines(SegmentOutput& s) {
  for (int t = 0; t < s.NTimeUnits; ++t) {
    if (s.Runs[t] <= 0) continue;
    std::string line;
    line.reserve(12 + static_cast<std::size_t>(s.NCodes));
    AppendNumber(line, s.Runs[t]);
    line += '\t';
    for (int r = 0; r < s.NCodes; ++r) line += s.SegmentMatrix[r][t];
    s.Out.push_back(std::move(line));
    ++s.LineCount;
  }
}

void WriteCompressedDataLines(SegmentOutput& s) {
  const int n = s.NCodes;
  s.Flags.assign(2 * static_cast<std::size_t>(n) + 1, 0);
  for (int t = 0; t < s.NTimeUnits; ++t) {
    if (s.Runs[t] <= 0) continue;
    bool anyOnset = false;
    for (int c = 1; c <= n; ++c) {
      char cell = s.SegmentMatrix[c - 1][t];
      s.Flags[c] = cell != '.';
      s.Flags[n + c] = cell == '2';
      anyOnset = anyOnset || cell == '2';
    }
    std::string onSet = EncodeHexCodeSet(s.Flags, 1, n);
    std::string line;
    if (anyOnset) {
      std::string onsetSet = EncodeHexCodeSet(s.Flags, n + 1, 2 * n);
      AppendNumber(line, s.Runs[t]);
      line += '\t';
      line += onSet;
      if (onsetSet == onSet) {
        line += '*';
      } else {
        line += '\t';
        line += onsetSet;
      }
    } else {
      AppendNumber(line, -std::int64_t{s.Runs[t]});
      line += '\t';
      line += onSet;
    }
    s.Out.push_back(std::move(line));
    ++s.LineCount;
  }
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
    const std::string& row = matrix[r];
    for (int t = 1; t < nTimeUnits; ++t)
      if (row[t] != row[t - 1]) same[t] = 0;
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
  SegmentOutput output{out, segmentMatrix, runs, nCodes, nTimeUnits, 0, {}};
  if (nTimeUnits > 0 && nCodes > 0) {
    if (compressed)
      WriteCompressedDataLines(output);
    else
      WritePlainDataLines(output);
  }
  return output.LineCount;
}

}  // namespace vork
