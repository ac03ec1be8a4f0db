// The segment writer and reader compared with a small model of the data
// line format on thousands of generated segments.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/segment_writer.h"

namespace vork {
namespace {

using Matrix = std::vector<std::string>;  // one row per code

std::string Column(const Matrix& m, int t) {
  std::string column;
  for (const auto& row : m) column += row[t];
  return column;
}

// A set of codes in hexadecimal: code 1 is mask 8 of the first digit;
// trailing "0" digits are dropped, the first digit kept.
std::string Hex(const std::vector<bool>& codes) {
  std::string hex;
  for (std::size_t i = 0; i < codes.size(); i += 4) {
    int v = 0;
    for (std::size_t b = 0; b < 4 && i + b < codes.size(); ++b) v |= codes[i + b] ? 8 >> b : 0;
    hex += "0123456789ABCDEF"[v];
  }
  while (hex.size() > 1 && hex.back() == '0') hex.pop_back();
  return hex.empty() ? "0" : hex;
}

dynString ModelWrite(const Matrix& m, std::vector<int>& runs, int nCodes, int nUnits, bool compressed, bool merge) {
  if (merge)
    for (int t = nUnits - 1; t >= 1; --t)
      if (Column(m, t) == Column(m, t - 1)) {
        // A dropped column (run 0 or less) adds no units to its neighbour.
        runs[t - 1] = std::max(runs[t - 1], 0) + std::max(runs[t], 0);
        runs[t] = 0;
      }
  dynString out;
  for (int t = 0; nCodes > 0 && t < nUnits; ++t) {
    if (runs[t] <= 0) continue;
    const std::string column = Column(m, t);
    if (!compressed) {
      out.push_back(std::to_string(runs[t]) + "\t" + column);
      continue;
    }
    std::vector<bool> on, onset;
    for (char cell : column) {
      on.push_back(cell != '.');
      onset.push_back(cell == '2');
    }
    const std::string onSet = Hex(on), onsetSet = Hex(onset);
    if (std::find(onset.begin(), onset.end(), true) == onset.end())
      out.push_back("-" + std::to_string(runs[t]) + "\t" + onSet);
    else
      out.push_back(std::to_string(runs[t]) + "\t" + onSet + (onsetSet == onSet ? "*" : "\t" + onsetSet));
  }
  return out;
}

int HexValue(char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 0; }

Matrix ModelRead(const dynString& lines, int nCodes, int nUnits, bool compressed) {
  Matrix m(nCodes, std::string(nUnits, '?'));
  int column = -1;
  for (const std::string& line : lines) {
    std::vector<std::string> fields{""};
    for (char c : line) {
      if (c == '\t') fields.emplace_back();
      else fields.back().push_back(c);
    }
    fields.resize(3);
    int count = std::stoi(fields[0]);
    ++column;
    if (compressed) {
      std::string onSet = fields[1], onsetSet = fields[2];
      if (onSet.back() == '*') onsetSet = onSet = onSet.substr(0, onSet.size() - 1);
      const auto mark = [&](const std::string& hex, char cell) {
        for (std::size_t p = 0; p < hex.size(); ++p)
          for (int b = 0; b < 4; ++b)
            if (HexValue(hex[p]) & (8 >> b)) m[4 * p + b][column] = cell;
      };
      for (auto& row : m) row[column] = '.';
      mark(onSet, '1');
      if (count > 0) mark(onsetSet, '2');
      else count = -count;
    } else {
      for (int r = 0; r < nCodes; ++r) m[r][column] = fields[1][r];
    }
    for (int k = 2; k <= count; ++k, ++column)
      for (auto& row : m) row[column + 1] = row[column];
  }
  return m;
}

Matrix ProgramRead(const dynString& lines, int nCodes, int nUnits, bool compressed) {
  dynString file{"segment line"};
  file.insert(file.end(), lines.begin(), lines.end());
  dynChar2 matrix;
  int lineIndex = 0;
  ReadSegmentData(file, lineIndex, nCodes, static_cast<int>(lines.size()), nUnits, compressed, matrix);
  EXPECT_EQ(lineIndex, static_cast<int>(lines.size()));
  return Matrix(matrix.begin(), matrix.end());
}

std::string Shown(const Matrix& m, const std::vector<int>& runs) {
  std::string s = "runs";
  for (int r : runs) s += " " + std::to_string(r);
  for (const auto& row : m) s += "\n" + row;
  return s;
}

TEST(SegmentDataModel, WriterAgreesOnGeneratedSegments) {
  std::mt19937 random(7122026);
  for (int run = 0; run < 2500; ++run) {
    const int nCodes = static_cast<int>(random() % 11), nUnits = static_cast<int>(random() % 13);
    const bool compressed = random() % 2, merge = random() % 4 != 0;
    // Few distinct columns, so that neighbours are often equal.
    Matrix m(nCodes);
    std::vector<int> runs(nUnits);
    const int palette = 1 + static_cast<int>(random() % 3);
    std::vector<std::string> columns(palette);
    for (auto& column : columns)
      for (int r = 0; r < nCodes; ++r) column += ".12"[random() % 3];
    for (int t = 0; t < nUnits; ++t) {
      const std::string& column = columns[random() % palette];
      for (int r = 0; r < nCodes; ++r) m[r] += column[r];
      runs[t] = random() % 6 == 0 ? static_cast<int>(random() % 4) - 1 : 1;
    }
    std::vector<int> modelRuns = runs;
    const dynString expected = ModelWrite(m, modelRuns, nCodes, nUnits, compressed, merge);

    dynString out{"segment line"};
    dynInteger programRuns(runs.begin(), runs.end());
    const int lineCount = WriteSegmentData(out, dynChar2(m.begin(), m.end()), programRuns, nCodes, nUnits,
                                           compressed, merge);
    const std::string what = Shown(m, runs) + (compressed ? "\ncompressed" : "\nplain") + (merge ? " merged" : "");
    ASSERT_EQ(dynString(out.begin() + 1, out.end()), expected) << what;
    ASSERT_EQ(lineCount, static_cast<int>(expected.size())) << what;
    if (nCodes > 0) {
      ASSERT_EQ(std::vector<int>(programRuns.begin(), programRuns.end()), modelRuns) << what;
    }
    // With every run 1 the lines stand for the whole segment: both readers
    // give the matrix back.
    if (std::all_of(runs.begin(), runs.end(), [](int r) { return r == 1; })) {
      ASSERT_EQ(ModelRead(expected, nCodes, nUnits, compressed), m) << what;
      ASSERT_EQ(ProgramRead(expected, nCodes, nUnits, compressed), m) << what;
    }
  }
}

TEST(SegmentDataModel, ReaderAgreesOnGeneratedDataLines) {
  std::mt19937 random(20261207);
  for (int run = 0; run < 2500; ++run) {
    const int nCodes = 1 + static_cast<int>(random() % 10);
    const bool compressed = random() % 2;
    dynString lines;
    int nUnits = 0;
    for (int n = static_cast<int>(random() % 7); n > 0; --n) {
      int count = static_cast<int>(random() % 6) - 2;  // -2..3
      std::string line = std::to_string(count) + "\t";
      if (compressed) {
        // Any digits for the codes there are; "a" and "g" hold no code.
        const auto set = [&] {
          std::string hex;
          for (int p = 0, digits = 1 + static_cast<int>(random() % ((nCodes + 3) / 4)); p < digits; ++p) {
            const int room = std::min(4, nCodes - 4 * p);
            const int v = static_cast<int>(random() % 16) & (0xF0 >> room & 0xF);
            hex += random() % 9 == 0 ? "ag"[random() % 2] : "0123456789ABCDEF"[v];
          }
          return hex;
        };
        const int shape = static_cast<int>(random() % 3);
        line += set() + (shape == 0 ? "*" : shape == 1 ? "\t" + set() : "");
        if (count < 0) count = -count;
      } else {
        for (int r = 0; r < nCodes; ++r) line += ".12"[random() % 3];
      }
      nUnits += std::max(count, 1);
      lines.push_back(line);
    }
    const Matrix expected = ModelRead(lines, nCodes, nUnits, compressed);
    std::string what = compressed ? "compressed" : "plain";
    for (const auto& line : lines) what += "\n" + line;
    ASSERT_EQ(ProgramRead(lines, nCodes, nUnits, compressed), expected) << what;
  }
}

}  // namespace
}  // namespace vork
