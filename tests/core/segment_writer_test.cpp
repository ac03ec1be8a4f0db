#include "core/segment_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/text_file.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

struct Written {
  dynString Lines;
  int LineCount;
  dynInteger Runs;
};

Written Write(const dynChar2& matrix, dynInteger runs, int nCodes, int nTimeUnits, bool compressed,
              bool merge) {
  Written written;
  written.LineCount = WriteSegmentData(written.Lines, matrix, runs, nCodes, nTimeUnits, compressed, merge);
  written.Runs = runs;
  return written;
}

TEST(SegmentWriter, WritesPlainAndCompressedLines) {
  struct Case {
    const char* name;
    dynChar2 matrix;  // one row per code
    dynInteger runs;
    bool merge;
    dynString plain;
    dynString compressed;
    dynInteger runsAfter;
  };
  const Case cases[] = {
      {"an onset column stays apart from the columns it continues into",
       {".....", "11211"},
       {1, 1, 1, 1, 1},
       true,
       {"2\t.1", "1\t.2", "2\t.1"},
       {"-2\t4", "1\t4*", "-2\t4"},
       {2, 0, 1, 2, 0}},
      {"without merging every unit has its own line",
       {"...", "112"},
       {1, 1, 1},
       false,
       {"1\t.1", "1\t.1", "1\t.2"},
       {"-1\t4", "-1\t4", "1\t4*"},
       {1, 1, 1}},
      {"all codes off", {"..", "..", ".."}, {1, 1}, true, {"2\t..."}, {"-2\t0"}, {2, 0}},
      {"every on code starting gets a star, some continuing a third field",
       {"21", ".1", "22"},
       {1, 1},
       false,
       {"1\t2.2", "1\t112"},
       {"1\tA*", "1\tE\t2"},
       {1, 1}},
      {"onset in one code only, two digits",
       {"1", ".", ".", ".", "2", "1"},
       {3},
       true,
       {"3\t1...21"},
       {"3\t8C\t08"},
       {3}},
      {"trailing zero digits are dropped, the first is kept",
       {"1", ".", ".", ".", ".", ".", ".", ".", "."},
       {1},
       true,
       {"1\t1........"},
       {"-1\t8"},
       {1}},
      {"the ninth code alone",
       {".", ".", ".", ".", ".", ".", ".", ".", "1"},
       {1},
       true,
       {"1\t........1"},
       {"-1\t008"},
       {1}},
      {"dropped columns are not written",
       {"1.1.", "...."},
       {1, 0, 1, -1},
       false,
       {"1\t1.", "1\t1."},
       {"-1\t8", "-1\t8"},
       {1, 0, 1, -1}},
      {"caller's runs are added when merging",
       {"1111", "...."},
       {2, 3, 1, 4},
       true,
       {"10\t1."},
       {"-10\t8"},
       {10, 0, 0, 0}},
      {"changes at the first and last of eight columns and past them",
       {"11111111.1111111.12"},
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
       true,
       {"8\t1", "1\t.", "7\t1", "1\t.", "1\t1", "1\t2"},
       {"-8\t8", "-1\t0", "-7\t8", "-1\t0", "-1\t8", "1\t8*"},
       {8, 0, 0, 0, 0, 0, 0, 0, 1, 7, 0, 0, 0, 0, 0, 0, 1, 1, 1}},
      {"a dropped column takes no units from its neighbours",
       {"...", "..."},
       {1, -1, 1},
       true,
       {"2\t.."},
       {"-2\t0"},
       {2, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int nCodes = static_cast<int>(c.matrix.size());
    const int nTimeUnits = static_cast<int>(c.runs.size());
    Written plain = Write(c.matrix, c.runs, nCodes, nTimeUnits, false, c.merge);
    EXPECT_EQ(plain.Lines, c.plain);
    EXPECT_EQ(plain.LineCount, static_cast<int>(c.plain.size()));
    EXPECT_EQ(plain.Runs, c.runsAfter);
    Written compressed = Write(c.matrix, c.runs, nCodes, nTimeUnits, true, c.merge);
    EXPECT_EQ(compressed.Lines, c.compressed);
    EXPECT_EQ(compressed.LineCount, static_cast<int>(c.compressed.size()));
    EXPECT_EQ(compressed.Runs, c.runsAfter);
  }
}

TEST(SegmentWriter, AppendsToWhatIsAlreadyThere) {
  dynString out = {"header", "segment line"};
  dynInteger runs = {1, 1};
  EXPECT_EQ(WriteSegmentData(out, {"12"}, runs, 1, 2, true, true), 2);
  EXPECT_EQ(out, (dynString{"header", "segment line", "-1\t8", "1\t8*"}));
}

TEST(SegmentWriter, NothingToWriteWithoutCodesOrTimeUnits) {
  for (bool compressed : {false, true}) {
    dynString out;
    dynInteger runs = {1, 1, 1};
    EXPECT_EQ(WriteSegmentData(out, {}, runs, 0, 3, compressed, false), 0);
    EXPECT_EQ(WriteSegmentData(out, {"", ""}, runs, 2, 0, compressed, true), 0);
    EXPECT_TRUE(out.empty());
  }
}

TEST(SegmentWriter, TooSmallAMatrixOrRunsEndsTheCommand) {
  dynString out;
  dynInteger runs = {1, 1};
  EXPECT_THROW(WriteSegmentData(out, {"..", ".."}, runs, 3, 2, false, false), CommandError);
  EXPECT_THROW(WriteSegmentData(out, {"..", "."}, runs, 2, 2, true, true), CommandError);
  EXPECT_THROW(WriteSegmentData(out, {"...", "..."}, runs, 2, 3, true, false), CommandError);
  EXPECT_THROW(WriteSegmentData(out, {}, runs, -1, 2, true, false), CommandError);
  EXPECT_TRUE(out.empty());
  dynInteger huge = {2147483647, 1};
  EXPECT_THROW(WriteSegmentData(out, {"11"}, huge, 1, 2, true, true), CommandError);
}

// A random matrix whose columns come in stretches, so that merging has
// something to join, with onsets only where a code comes on.
dynChar2 RandomMatrix(std::mt19937& random, int nCodes, int nTimeUnits, int longestStretch = 5) {
  dynChar2 matrix(nCodes, std::string(nTimeUnits, '.'));
  for (int t = 0; t < nTimeUnits;) {
    int length = 1 + static_cast<int>(random() % longestStretch);
    for (int r = 0; r < nCodes; ++r) {
      char cell = "..1"[random() % 3];
      bool starts = cell == '1' && (t == 0 || matrix[r][t - 1] == '.' || random() % 4 == 0);
      for (int k = 0; k < length && t + k < nTimeUnits; ++k) matrix[r][t + k] = starts && k == 0 ? '2' : cell;
    }
    t += length;
  }
  return matrix;
}

TEST(SegmentWriter, RandomSegmentsReadBackIdentical) {
  std::mt19937 random(61206);
  for (int trial = 0; trial < 400; ++trial) {
    const int nCodes = 1 + static_cast<int>(random() % 13);
    const int nTimeUnits = static_cast<int>(random() % 120);
    const dynChar2 matrix = RandomMatrix(random, nCodes, nTimeUnits);
    for (bool compressed : {false, true}) {
      for (bool merge : {false, true}) {
        SCOPED_TRACE(::testing::Message()
                     << "trial " << trial << " compressed " << compressed << " merge " << merge);
        dynString lines = {"segment line"};
        dynInteger runs(nTimeUnits, 1);
        int nDataLines = WriteSegmentData(lines, matrix, runs, nCodes, nTimeUnits, compressed, merge);
        if (!merge) {
          EXPECT_EQ(nDataLines, nTimeUnits);
        }
        int lineIndex = 0;
        dynChar2 read;
        ReadSegmentData(lines, lineIndex, nCodes, nDataLines, nTimeUnits, compressed, read);
        ASSERT_EQ(read, matrix);
        EXPECT_EQ(lineIndex, nDataLines);
      }
    }
  }
}

// Segments of many data lines, of many codes, and of long runs, each form.
TEST(SegmentWriter, LargeSegmentsReadBackIdentical) {
  struct Case {
    int nCodes;
    int nTimeUnits;
    int longestStretch;
  };
  const Case cases[] = {{3, 30000, 3}, {2, 5000, 40}, {1500, 90, 2}, {37, 2000, 12}, {1, 17, 17}};
  std::mt19937 random(1206);
  for (const Case& c : cases) {
    const dynChar2 matrix = RandomMatrix(random, c.nCodes, c.nTimeUnits, c.longestStretch);
    for (bool compressed : {false, true}) {
      for (bool merge : {false, true}) {
        SCOPED_TRACE(::testing::Message() << c.nCodes << " codes, " << c.nTimeUnits << " units, compressed "
                                          << compressed << " merge " << merge);
        dynString lines = {"segment line"};
        dynInteger runs(c.nTimeUnits, 1);
        int nDataLines = WriteSegmentData(lines, matrix, runs, c.nCodes, c.nTimeUnits, compressed, merge);
        int lineIndex = 0;
        dynChar2 read = {"kept content is overwritten"};
        ReadSegmentData(lines, lineIndex, c.nCodes, nDataLines, c.nTimeUnits, compressed, read);
        ASSERT_TRUE(read == matrix);
      }
    }
  }
}

// A whole file written through the text file and read back, in both forms.
TEST(SegmentWriter, WholeFileRoundTrip) {
  std::mt19937 random(7);
  testing::ScratchFolder folder;
  const std::string fileName = folder.Path("round_trip.mds");
  for (bool compressed : {false, true}) {
    const int nCodes = 6;
    std::vector<dynChar2> segments = {RandomMatrix(random, nCodes, 500), RandomMatrix(random, nCodes, 1),
                                      RandomMatrix(random, nCodes, 0), RandomMatrix(random, nCodes, 77)};
    dynString lines = {
        std::string(compressed ? "" : "\t") + "MDS file saved by KELP compiler Version 5.1 today",
        "3\t0\t0",
        "6\t0\t0\t0\t1\t1",
        "a\tb\tc\td\te\tf",
        "1\t1\ttenths",
        "1\t4\tS"};
    for (const dynChar2& matrix : segments) {
      const int nTimeUnits = static_cast<int>(matrix[0].size());
      dynInteger runs(nTimeUnits, 1);
      std::size_t segmentLine = lines.size();
      lines.push_back("");
      int n = WriteSegmentData(lines, matrix, runs, nCodes, nTimeUnits, compressed, true);
      lines[segmentLine] = "1\t" + std::to_string(n) + "\t" + std::to_string(nTimeUnits) + "\t0\t0";
    }
    SaveTextLines(fileName, lines);

    dynString loaded;
    MdsHeader header;
    testing::ScriptedDialogue dialogue;
    ASSERT_TRUE(ReadMdsHeader(loaded, fileName, header, dialogue));
    EXPECT_EQ(header.Compressed, compressed);
    int lineIndex = header.LineIndex;
    int replicate = 0, nSegments = 0;
    std::string label;
    dynInteger levels;
    ReadSessionHeader(loaded, lineIndex, replicate, nSegments, label, header.NFactors, levels);
    ASSERT_EQ(nSegments, 4);
    for (const dynChar2& matrix : segments) {
      int nDataLines = 0, nTimeUnits = 0;
      std::uint32_t start = 0, stop = 0;
      ReadSegmentHeader(loaded, lineIndex, nDataLines, nTimeUnits, start, stop);
      dynChar2 read;
      ReadSegmentData(loaded, lineIndex, header.NCodes, nDataLines, nTimeUnits, header.Compressed, read);
      EXPECT_EQ(read, matrix);
    }
    EXPECT_EQ(lineIndex + 1, static_cast<int>(loaded.size()));
  }
}

}  // namespace
}  // namespace vork
