#include "core/segment_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/command_error.h"
#include "core/mds_reader.h"

namespace vork {
namespace {

TEST(SegmentWriter, WritesPlainAndCompressedLines) {
  struct Case {
    const char* name;
    dynChar2 matrix;  // one row per code
    dynInteger runs;
    bool merge;
    dynString plain, compressed;
    dynInteger runsAfter;
  };
  const Case cases[] = {
      {"an onset column stays apart from the columns it continues into", {".....", "11211"}, {1, 1, 1, 1, 1},
       true, {"2\t.1", "1\t.2", "2\t.1"}, {"-2\t4", "1\t4*", "-2\t4"}, {2, 0, 1, 2, 0}},
      {"without merging every unit has its own line", {"...", "112"}, {1, 1, 1}, false,
       {"1\t.1", "1\t.1", "1\t.2"}, {"-1\t4", "-1\t4", "1\t4*"}, {1, 1, 1}},
      {"all codes off", {"..", "..", ".."}, {1, 1}, true, {"2\t..."}, {"-2\t0"}, {2, 0}},
      {"every on code starting gets a star, some continuing a third field", {"21", ".1", "22"}, {1, 1}, false,
       {"1\t2.2", "1\t112"}, {"1\tA*", "1\tE\t2"}, {1, 1}},
      {"onset in one code only, two digits", {"1", ".", ".", ".", "2", "1"}, {3}, true, {"3\t1...21"},
       {"3\t8C\t08"}, {3}},
      {"trailing zero digits are dropped, the first is kept", {"1", ".", ".", ".", ".", ".", ".", ".", "."},
       {1}, true, {"1\t1........"}, {"-1\t8"}, {1}},
      {"the ninth code alone", {".", ".", ".", ".", ".", ".", ".", ".", "1"}, {1}, true, {"1\t........1"},
       {"-1\t008"}, {1}},
      {"dropped columns are not written", {"1.1.", "...."}, {1, 0, 1, -1}, false, {"1\t1.", "1\t1."},
       {"-1\t8", "-1\t8"}, {1, 0, 1, -1}},
      {"caller's runs are added when merging", {"1111", "...."}, {2, 3, 1, 4}, true, {"10\t1."}, {"-10\t8"},
       {10, 0, 0, 0}},
      {"changes at the first and last of eight columns and past them", {"11111111.1111111.12"},
       dynInteger(19, 1), true, {"8\t1", "1\t.", "7\t1", "1\t.", "1\t1", "1\t2"},
       {"-8\t8", "-1\t0", "-7\t8", "-1\t0", "-1\t8", "1\t8*"},
       {8, 0, 0, 0, 0, 0, 0, 0, 1, 7, 0, 0, 0, 0, 0, 0, 1, 1, 1}},
      {"a dropped column takes no units from its neighbours", {"...", "..."}, {1, -1, 1}, true, {"2\t.."},
       {"-2\t0"}, {2, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool compressed : {false, true}) {
      dynString lines = {"header"};  // written lines are appended
      dynInteger runs = c.runs;
      const dynString& expected = compressed ? c.compressed : c.plain;
      EXPECT_EQ(WriteSegmentData(lines, c.matrix, runs, static_cast<int>(c.matrix.size()),
                                 static_cast<int>(c.runs.size()), compressed, c.merge),
                static_cast<int>(expected.size()));
      EXPECT_EQ(dynString(lines.begin() + 1, lines.end()), expected);
      EXPECT_EQ(runs, c.runsAfter);
    }
  }
}

TEST(SegmentWriter, NothingToWriteAndUnfitArgumentsEndTheCommand) {
  dynString out;
  dynInteger runs = {1, 1, 1};
  for (bool compressed : {false, true}) {
    EXPECT_EQ(WriteSegmentData(out, {}, runs, 0, 3, compressed, false), 0);
    EXPECT_EQ(WriteSegmentData(out, {"", ""}, runs, 2, 0, compressed, true), 0);
  }
  runs = {1, 1};
  EXPECT_THROW(WriteSegmentData(out, {"..", ".."}, runs, 3, 2, false, false), CommandError);
  EXPECT_THROW(WriteSegmentData(out, {"..", "."}, runs, 2, 2, true, true), CommandError);
  EXPECT_THROW(WriteSegmentData(out, {"...", "..."}, runs, 2, 3, true, false), CommandError);
  EXPECT_THROW(WriteSegmentData(out, {}, runs, -1, 2, true, false), CommandError);
  EXPECT_TRUE(out.empty());
  dynInteger huge = {2147483647, 1};
  EXPECT_THROW(WriteSegmentData(out, {"11"}, huge, 1, 2, true, true), CommandError);
}

// A random grid shaped as each data type makes them: Event one onset per
// unit, Timed episodes that may overlap, State streams whose codes follow
// each other, Interval and Multi units of several codes, replicated.
dynChar2 DataTypeMatrix(std::mt19937& random, int dataType, int nCodes, int nColumns, dynInteger& runs) {
  dynChar2 m(nCodes, std::string(nColumns, '.'));
  runs.assign(nColumns, 1);
  for (int t = 0; t < nColumns; ++t) {
    if (dataType == 1) m[random() % nCodes][t] = '2';
    if (dataType >= 4) {
      runs[t] = 1 + static_cast<int>(random() % 4);
      for (int r = 0; r < nCodes; ++r) {
        if (random() % 3 == 0) m[r][t] = t > 0 && m[r][t - 1] != '.' && random() % 2 ? '1' : '2';
      }
    }
  }
  for (int r = 0; dataType == 2 && r < nCodes; ++r) {
    for (int t = static_cast<int>(random() % 5); t < nColumns; t += 1 + static_cast<int>(random() % 9)) {
      const int length = 1 + static_cast<int>(random() % 6);
      for (int k = 0; k < length && t + k < nColumns; ++k) m[r][t + k] = k == 0 ? '2' : '1';
    }
  }
  for (int t = 0, code = 0; dataType == 3 && t < nColumns; ++t) {
    if (random() % 4 == 0 || t == 0) {
      code = static_cast<int>(random() % nCodes);
      m[code][t] = '2';
    } else {
      m[code][t] = '1';
    }
  }
  return m;
}

// The writer from changes and the grid writer give the same lines for the
// same cells; the changes are found here the plain way, unit by unit.
TEST(SegmentWriter, ChangesWriteTheLinesOfTheGrid) {
  std::mt19937 random(20261207);
  for (int trial = 0; trial < 2500; ++trial) {
    const int dataType = 1 + trial % 5;
    const int nCodes = 1 + static_cast<int>(random() % 11);
    const int nColumns = static_cast<int>(random() % 60);
    dynInteger runs;
    const dynChar2 matrix = DataTypeMatrix(random, dataType, nCodes, nColumns, runs);
    std::vector<CellChange> changes;
    std::int64_t nUnits = 0;
    for (int t = 0; t < nColumns; nUnits += runs[t], ++t) {
      for (int r = 0; r < nCodes; ++r) {
        if (matrix[r][t] != (t == 0 ? '.' : matrix[r][t - 1])) changes.push_back({nUnits, r, matrix[r][t]});
      }
    }
    std::shuffle(changes.begin(), changes.end(), random);
    for (bool compressed : {false, true}) {
      dynString fromGrid, fromChanges;
      dynInteger gridRuns = runs;
      std::vector<CellChange> given = changes;
      WriteSegmentData(fromGrid, matrix, gridRuns, nCodes, nColumns, compressed, true);
      EXPECT_EQ(WriteSegmentChanges(fromChanges, given, nCodes, nUnits, compressed),
                static_cast<int>(fromGrid.size()));
      ASSERT_EQ(fromChanges, fromGrid) << "data type " << dataType << ", trial " << trial;
    }
  }
}

TEST(SegmentWriter, ChangesOutsideTheSegmentEndTheCommand) {
  dynString out;
  for (CellChange change : {CellChange{0, 2, '1'}, CellChange{-1, 0, '1'}, CellChange{0, -1, '2'}}) {
    std::vector<CellChange> changes{change};
    EXPECT_THROW(WriteSegmentChanges(out, changes, 2, 5, false), CommandError);
  }
  EXPECT_TRUE(out.empty());
  std::vector<CellChange> changes{{0, 0, '2'}, {1, 0, '1'}};
  EXPECT_THROW(WriteSegmentChanges(out, changes, 1, std::int64_t{1} << 32, true), CommandError);
}

}  // namespace
}  // namespace vork
