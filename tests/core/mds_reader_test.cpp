#include "core/mds_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "core/command_error.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::ScriptedDialogue;

// Every kind of header line; three sessions claimed, two held, the first with two segments.
const dynString PlainFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06/12/2026 21:30:00", "4\t5\t2", "4\t1\t2\t2\t3\t2",
    "Cry\tFuss\tSleep\tPlay", "C\tF\tS\tP", "1\t1\t2\t0", "Noisy\tQuiet", "Sex\t2\tMale\tFemale",
    "Age\t3\tYoung\tMiddle\tOld", "3\t2\thundredths", "1\t2\tBaby A", "2\t3", "1\t2\t5\t100\t104",
    "2\t.11.", "3\t2..1", "2\t1\t2\t200\t0", "2\t....", "1\t1\tBaby B", "1\t1", "1\t1\t1\t0\t0", "1\t...2"};

// Compressed, without sets, duals or factors.
const dynString CompressedFile = {
    "MDS file modified by VORK Version 5.1 06/12/2026 21:30:00", "2\t0\t0", "4\t0\t0\t0\t1\t1",
    "a\tb\tc\td", "3\t3\tthousandths", "1\t1\tOnly", "1\t5\t8\t10\t0", "1\t8", "1\t8*", "-3\t0", "2\tC\t4",
    "-1\ta"};

struct WalkedSession {
  int Replicate = 0;
  std::string Label;
  dynInteger Levels;
  std::vector<dynChar2> Matrices;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Times;
};

// Reads a whole file in the calling order every analysis uses; nothing when the header is refused.
std::vector<WalkedSession> WalkFile(const dynString& lines, MdsHeader& header, int& lineIndex) {
  ScriptedDialogue dialogue;
  dialogue.AnswerOkWhenUnscripted = true;
  if (!ReadMdsHeaderFromLines(lines, "file.mds", header, dialogue)) return {};
  std::vector<WalkedSession> sessions;
  lineIndex = header.LineIndex;
  for (int s = 1; s <= header.NSessions; ++s) {
    WalkedSession session;
    int nSegments = 0;
    ReadSessionHeader(lines, lineIndex, session.Replicate, nSegments, session.Label, header.NFactors,
                      session.Levels, header.FactorLevels);
    for (int g = 1; g <= nSegments; ++g) {
      int nDataLines = 0, nTimeUnits = 0;
      std::uint32_t start = 0, stop = 0;
      ReadSegmentHeader(lines, lineIndex, nDataLines, nTimeUnits, start, stop);
      dynChar2 matrix;
      ReadSegmentData(lines, lineIndex, header.NCodes, nDataLines, nTimeUnits, header.Compressed, matrix);
      EXPECT_EQ(matrix.size(), static_cast<std::size_t>(header.NCodes));
      for (const std::string& row : matrix) EXPECT_EQ(row.size(), static_cast<std::size_t>(nTimeUnits));
      session.Matrices.push_back(matrix);
      session.Times.push_back({start, stop});
    }
    sessions.push_back(session);
  }
  return sessions;
}

TEST(MdsReader, ReadsEveryHeaderLineOfAPlainFile) {
  MdsHeader header;
  ScriptedDialogue dialogue;
  ASSERT_TRUE(ReadMdsHeaderFromLines(PlainFile, "/data/plain.mds", header, dialogue));
  EXPECT_TRUE(dialogue.Shown.empty());
  EXPECT_FALSE(header.Compressed);
  EXPECT_EQ((dynInteger{header.DataType, header.IntervalDuration, header.IntervalUnitMark, header.NCodes,
                        header.NDual, header.NSets, header.NFactors, header.NSessions,
                        header.MaxSessionsPerCell, header.TimeFormat, header.TimeUnitIndex,
                        header.LineIndex}),
            (dynInteger{4, 5, 2, 4, 1, 2, 2, 3, 2, 3, 2, 9}));
  EXPECT_EQ(header.CodeNames, (dynString{"", "Cry", "Fuss", "Sleep", "Play"}));
  EXPECT_EQ(header.DualNames, (dynString{"", "C", "F", "S", "P"}));
  EXPECT_EQ(header.CodeSet, (dynInteger{0, 1, 1, 2, 0}));
  EXPECT_EQ(header.SetNames, (dynString{"", "Noisy", "Quiet"}));
  EXPECT_EQ(header.FactorNames, (dynString{"", "Sex", "Age"}));
  EXPECT_EQ(header.FactorLevels, (dynInteger{0, 2, 3}));
  EXPECT_EQ(header.FactorLevelNames,
            (dynString2{{}, {"", "Male", "Female"}, {"", "Young", "Middle", "Old"}}));
  EXPECT_EQ(header.TimeUnitLabel, "seconds");
}

TEST(MdsReader, WalksSessionsAndSegmentsToTheLastLine) {
  dynString lines = PlainFile;
  lines[2] = "4\t1\t2\t2\t2\t2";
  MdsHeader header;
  int lineIndex = 0;
  std::vector<WalkedSession> sessions = WalkFile(lines, header, lineIndex);
  EXPECT_EQ(lineIndex, 20);
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(sessions[0].Label, "Baby A");
  EXPECT_EQ(sessions[0].Levels, (dynInteger{0, 2, 3}));
  EXPECT_EQ(sessions[0].Matrices,
            (std::vector<dynChar2>{{"..222", "11...", "11...", "..111"}, {"..", "..", "..", ".."}}));
  EXPECT_EQ(sessions[0].Times, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{100, 104}, {200, 0}}));
  EXPECT_EQ(sessions[1].Replicate, 1);
  EXPECT_EQ(sessions[1].Levels, (dynInteger{0, 1, 1}));
  EXPECT_EQ(sessions[1].Matrices[0], (dynChar2{".", ".", ".", "2"}));
  // A third session claimed but missing ends the command at the end of the file.
  EXPECT_THROW(WalkFile(PlainFile, header, lineIndex), CommandError);
  // Compressed: onset marks repeat over a count; a lower-case digit holds no code.
  sessions = WalkFile(CompressedFile, header, lineIndex);
  EXPECT_TRUE(header.Compressed);
  EXPECT_EQ(header.TimeUnitIndex, 3);
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].Matrices[0], (dynChar2{"12...11.", ".....22.", "........", "........"}));
  EXPECT_EQ(lineIndex, 11);
}

TEST(MdsReader, DataLinesOfOneSegment) {
  struct Case {
    bool compressed;
    int nCodes, nTimeUnits;
    dynString dataLines;
    dynChar2 matrix;
  };
  const Case cases[] = {
      {false, 4, 3, {"3\t.11."}, {"...", "111", "111", "..."}},
      {false, 4, 2, {"0\t1...", "-2\t..2."}, {"1.", "..", ".2", ".."}},  // counts 0 and -2 give one column
      {false, 2, 1, {"1\t12..\textra"}, {"1", "2"}},                      // cells beyond the codes ignored
      {true, 4, 1, {"0\t8\t8"}, {"1", ".", ".", "."}},
      {true, 4, 1, {"-1\t8\t8"}, {"1", ".", ".", "."}},  // onset field of an all-continuing line ignored
      {true, 4, 2, {"2\tF\t5"}, {"11", "22", "11", "22"}},
      {true, 8, 1, {"1\t01*"}, {".", ".", ".", ".", ".", ".", ".", "2"}},
      {true, 9, 1, {"-1\t008"}, {".", ".", ".", ".", ".", ".", ".", ".", "1"}},
      {true, 2, 1, {"1\t4*\t8"}, {".", "2"}},  // a star overrides a third field
      {true, 3, 0, {}, {"", "", ""}},
      {true, 0, 5, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dataLines.empty() ? "" : c.dataLines[0]);
    dynString lines = {"segment line"};
    lines.insert(lines.end(), c.dataLines.begin(), c.dataLines.end());
    lines.push_back("next segment line");
    int lineIndex = 0;
    dynChar2 matrix = {"stale", "rows", "from", "before", "x", "y", "z", "w", "v", "u"};
    ReadSegmentData(lines, lineIndex, c.nCodes, static_cast<int>(c.dataLines.size()), c.nTimeUnits,
                    c.compressed, matrix);
    EXPECT_EQ(matrix, c.matrix);
    EXPECT_EQ(lineIndex, static_cast<int>(c.dataLines.size()));
  }
}

TEST(MdsReader, StampLineDecidesAcceptanceAndForm) {
  const struct {
    std::string stamp;
    bool accepted, compressed;
  } cases[] = {
      {"\tMDS file saved by KELP compiler Version 5.1 06/12/2026", true, false},
      {"MDS file saved by KELP compiler Version 5.1 06/12/2026", true, true},
      {"MDS file modified by VORK Version 5.1 06/12/2026", true, true},
      {"\tMDS file modified by VORK (times rounded) 06/12/2026 21:30:00", true, false},
      {"old MDS file saved by KELP compiler", true, true},
      {" \tMDS file saved by KELP compiler", true, true},
      {"mds file saved by kelp compiler", false, false},
      {"MDS file saved by KELP", false, false},
      {"", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stamp);
    dynString lines = CompressedFile;
    lines[0] = c.stamp;
    MdsHeader header;
    header.NCodes = 77;
    ScriptedDialogue dialogue;
    dialogue.AnswerOkWhenUnscripted = true;
    EXPECT_EQ(ReadMdsHeaderFromLines(lines, "/home/ann/obs/day 1.mds", header, dialogue), c.accepted);
    if (c.accepted) {
      EXPECT_EQ(header.Compressed, c.compressed);
      EXPECT_EQ(header.NCodes, 4);
      EXPECT_TRUE(dialogue.Shown.empty());
    } else {
      EXPECT_EQ(header.NCodes, 77);
      ASSERT_EQ(dialogue.Shown.size(), 1u);
      EXPECT_EQ(dialogue.Shown[0].Text, "day 1.mds not a valid MDS 5.x file");
      EXPECT_EQ(dialogue.Shown[0].ButtonSet, Buttons::Ok);
    }
  }
  MdsHeader header;
  ScriptedDialogue dialogue;
  EXPECT_FALSE(ReadMdsHeaderFromLines({}, "empty.mds", header, dialogue));
  EXPECT_TRUE(dialogue.Shown.empty());  // an empty file is refused without a notice
}

TEST(MdsReader, OnlyFractionsOfASecondReadAsSeconds) {
  const std::pair<std::string, std::string> cases[] = {
      {"tenths", "seconds"}, {"hundredths", "seconds"}, {"thousandths", "seconds"}, {"seconds", "seconds"},
      {"Tenths", "Tenths"},  {"intervals", "intervals"}, {"", ""}};
  for (const auto& [label, read] : cases) {
    dynString lines = CompressedFile;
    lines[4] = "3\t1\t" + label;
    MdsHeader header;
    ScriptedDialogue dialogue;
    ASSERT_TRUE(ReadMdsHeaderFromLines(lines, "f.mds", header, dialogue));
    EXPECT_EQ(header.TimeUnitLabel, read) << label;
    EXPECT_EQ(header.TimeUnitIndex, 1);
  }
}

TEST(MdsReader, LoadsTheFileIntoTheCallersLines) {
  testing::ScratchFolder folder;
  std::ofstream(folder.Path("good.mds"), std::ios::binary)
      << "MDS file saved by KELP compiler\r\n1\t0\t0\r\n1\t0\t0\t0\t0\t0\r\nTalk\r\n0\t0\tevents\r\n";
  LineBuffer lines = {"old"};
  MdsHeader header;
  ScriptedDialogue dialogue;
  ASSERT_TRUE(ReadMdsHeader(lines, folder.Path("good.mds"), header, dialogue));
  EXPECT_EQ(lines, (dynString{"MDS file saved by KELP compiler", "1\t0\t0", "1\t0\t0\t0\t0\t0", "Talk",
                              "0\t0\tevents"}));
  EXPECT_EQ(header.CodeNames, (dynString{"", "Talk"}));
  EXPECT_EQ(header.TimeUnitLabel, "events");
  EXPECT_EQ(header.LineIndex, 4);
  EXPECT_THROW(ReadMdsHeader(lines, folder.Path("missing.mds"), header, dialogue), CommandError);
}

// The counts line's largest number of sessions in a cell must fit the file's
// own sessions, whatever lines follow: a file the modification or rounding
// would write back shorter than that number is refused when it is opened.
TEST(MdsReader, SessionsInACellMustFitTheSessions) {
  const struct {
    const char* Bytes;
    std::string Error;  // empty: accepted
  } cases[] = {
      {"MDS file saved by KELP compiler Version 5.1 06.12.2026 12:00:00\r\n1\t0\t0\r\n2\t0\t0\t0\t1\t7\r\n"
       "a\tb\r\n0\t0\tevents\r\n1\t1\t#1\r\n1\t4\t4\t1\t0\r\n1\t8*\r\n1\t4*\r\n1\t4*\r\n1\t8*\r\n",
       "Compiled file line 3: the largest number of sessions in a cell 7 is outside 1..1."},
      {"MDS file saved by KELP compiler Version 5.1 06.12.2026 12:00:00\r\n2\t0\t0\r\n1\t0\t0\t0\t1\t4\r\na\r\n"
       "1\t1\ttenths\r\n1\t0\t#1\r\n\r\n",
       "Compiled file line 3: the largest number of sessions in a cell 4 is outside 1..1."},
      {"MDS file saved by KELP compiler Version 5.1 06.12.2026 12:00:00\r\n2\t0\t0\r\n1\t0\t0\t0\t1\t1\r\na\r\n"
       "1\t1\ttenths\r\n1\t0\t#1\r\n\r\n",
       ""},
      // Four sessions in the two levels of one factor: two to four of them share a level.
      {"MDS file saved by KELP compiler\r\n1\t0\t0\r\n1\t0\t0\t1\t4\t2\r\na\r\nSex\t2\tm\tf\r\n0\t0\tevents\r\n"
       "1\t0\t#1\r\n1\r\n1\t0\t#2\r\n2\r\n2\t0\t#3\r\n1\r\n2\t0\t#4\r\n2\r\n",
       ""},
      {"MDS file saved by KELP compiler\r\n1\t0\t0\r\n1\t0\t0\t1\t4\t1\r\na\r\nSex\t2\tm\tf\r\n0\t0\tevents\r\n"
       "1\t0\t#1\r\n1\r\n1\t0\t#2\r\n2\r\n2\t0\t#3\r\n1\r\n2\t0\t#4\r\n2\r\n",
       "Compiled file line 3: the largest number of sessions in a cell 1 is outside 2..4."},
      {"MDS file saved by KELP compiler\r\n1\t0\t0\r\n1\t0\t0\t0\t0\t0\r\na\r\n0\t0\tevents\r\n", ""},
  };
  testing::ScratchFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bytes);
    std::ofstream(folder.Path("file.mds"), std::ios::binary) << c.Bytes;
    LineBuffer lines;
    MdsHeader header;
    ScriptedDialogue dialogue;
    try {
      EXPECT_TRUE(ReadMdsHeader(lines, folder.Path("file.mds"), header, dialogue));
      EXPECT_EQ(c.Error, "");
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), c.Error);
    }
  }
}

// Each damaged file ends the command with a text naming the line (counted from 1) and the fault.
TEST(MdsReader, DamagedFilesEndTheCommand) {
  const struct {
    bool plain;  // damage PlainFile, else CompressedFile
    int line;    // 0-based line to replace, or -1 to cut the file to the number in text
    std::string text, error;
  } cases[] = {
      {false, 1, "x\t0\t0", "Compiled file line 2: the data type \"x\" is not a whole number."},
      {false, 1, "6\t0\t0", "Compiled file line 2: the data type 6 is outside 1..5."},
      {false, 1, "1\t0\t4", "Compiled file line 2: the interval mark 4 is outside 0..3."},
      {false, 2, "4\t0\t0\t0\t1",
       "Compiled file line 3: the largest number of sessions in a cell \"\" is not a whole number."},
      {false, 2, "-4\t0\t0\t0\t1\t1",
       "Compiled file line 3: the number of codes -4 is outside 0..2147483647."},
      {false, 2, "2000000000\t0\t0\t0\t1\t1",
       "Compiled file line 4: the line cannot hold 2000000000 code names."},
      {false, 2, "4\t0\t0\t0\t99\t1", "Compiled file line 3: the file has too few lines for sessions (99)."},
      {false, 2, "4\t0\t0\t50\t1\t1", "Compiled file line 3: the file has too few lines for factors (50)."},
      {false, 2, "4\t0\t0\t0\t1\t7",
       "Compiled file line 3: the largest number of sessions in a cell 7 is outside 1..1."},
      {false, 2, "4\t0\t0\t0\t1\t0",
       "Compiled file line 3: the largest number of sessions in a cell 0 is outside 1..1."},
      {true, 2, "4\t1\t2\t2\t3\t4",
       "Compiled file line 3: the largest number of sessions in a cell 4 is outside 1..3."},
      {true, 2, "4\t1\t2\t2\t13\t2",  // 13 sessions in 2 x 3 cells: some cell holds 3
       "Compiled file line 3: the largest number of sessions in a cell 2 is outside 3..13."},
      {false, 2, "4\t0\t0\t0\t99999999999\t1",
       "Compiled file line 3: the number of sessions \"99999999999\" is out of range."},
      {false, 4, "3\t4\tseconds", "Compiled file line 5: the time unit 4 is outside 0..3."},
      {false, 4, "8\t0\tseconds", "Compiled file line 5: the time format 8 is outside 0..7."},
      {false, 5, "1\tone\tOnly",
       "Compiled file line 6: the number of segments \"one\" is not a whole number."},
      {false, 6, "1\t5\t8\t-10\t0", "Compiled file line 7: the start time \"-10\" is negative."},
      {false, 6, "1\t5\t8\t0\t4294967296",
       "Compiled file line 7: the stop time \"4294967296\" is out of range."},
      {false, 6, "1\t5\t2000000000\t10\t0",
       "Compiled file line 7: the data lines cover only 8 of the segment's 2000000000 time units."},
      {false, 6, "1\t5\t6\t10\t0",
       "Compiled file line 11: the data lines cover more than the segment's 6 time units."},
      {false, 6, "1\t9\t8\t10\t0",
       "Compiled file line 13: missing: the segment has 9 data lines, the file ends after 5."},
      {false, 7, "1\t08*", "Compiled file line 8: code set \"08\" holds code 5 but there are only 4 codes."},
      {false, 7, "1\t01", "Compiled file line 8: code set \"01\" holds code 8 but there are only 4 codes."},
      {false, 7, "1\t8\t08",
       "Compiled file line 8: code set \"08\" holds code 5 but there are only 4 codes."},
      {false, 7, "-1\t", "Compiled file line 8: the code set of the data line is empty."},
      {false, 7, "1\t*", "Compiled file line 8: the code set of the data line is empty."},
      {false, 7, "1", "Compiled file line 8: the code set of the data line is empty."},
      {false, 7, "one\t8", "Compiled file line 8: the data line's count \"one\" is not a whole number."},
      {false, 7, " 1\t8", "Compiled file line 8: the data line's count \" 1\" is not a whole number."},
      {false, 7, "-2147483649\t8",
       "Compiled file line 8: the data line's count \"-2147483649\" is out of range."},
      {false, -1, "3", "Compiled file line 3: the file has too few lines for sessions (1)."},
      {false, -1, "4", "Compiled file line 5: missing: the file ends before the units line."},
      {false, -1, "5", "Compiled file line 6: missing: the file ends before the session line."},
      {false, -1, "10",
       "Compiled file line 11: missing: the segment has 5 data lines, the file ends after 3."},
      {true, 5, "1\t1\t3\t0", "Compiled file line 6: the set number of code 3 3 is outside 0..2."},
      {true, 5, "1\t1\t-1\t0", "Compiled file line 6: the set number of code 3 -1 is outside 0..2."},
      {true, 7, "Sex\ttwo\tMale\tFemale",
       "Compiled file line 8: the number of levels of factor 1 \"two\" is not a whole number."},
      {true, 7, "Sex\t99\tMale", "Compiled file line 8: the line cannot hold 99 level names."},
      {true, 11, "0\t3", "Compiled file line 12: the level of factor 1 0 is outside 1..2."},
      {true, 11, "2\t4", "Compiled file line 12: the level of factor 2 4 is outside 1..3."},
      {true, 11, "2", "Compiled file line 12: the level of factor 2 \"\" is not a whole number."},
      {true, 14, "3\t2..", "Compiled file line 15: the data line has 3 cells for 4 codes."},
      {true, 14, "3\t2.x1",
       "Compiled file line 15: cell 3 of the data line is \"x\", not \".\", \"1\" or \"2\"."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dynString lines = c.plain ? PlainFile : CompressedFile;
    if (c.line >= 0)
      lines[c.line] = c.text;
    else
      lines.resize(std::stoul(c.text));
    MdsHeader header;
    int lineIndex = 0;
    try {
      WalkFile(lines, header, lineIndex);
      ADD_FAILURE() << "no error";
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), c.error);
    }
  }
}

// Random damage to a good file: every read either succeeds or ends the command, and under the
// sanitizers nothing reads out of bounds.
TEST(MdsReader, RandomDamageNeverCrashes) {
  std::mt19937 random(20261206);
  const std::string alphabet = "0123456789-+*\t.12ABCFa x";
  for (const dynString& original : {PlainFile, CompressedFile}) {
    for (int trial = 0; trial < 3000; ++trial) {
      dynString lines = original;
      for (int e = 1 + static_cast<int>(random() % 3); e > 0 && lines.size() >= 2; --e) {
        std::size_t line = 1 + random() % (lines.size() - 1);
        std::string& text = lines[line];
        const char c = alphabet[random() % alphabet.size()];
        switch (random() % 4) {
          case 0: if (!text.empty()) text[random() % text.size()] = c; break;
          case 1: text.insert(text.begin() + random() % (text.size() + 1), c); break;
          case 2: if (!text.empty()) text.erase(random() % text.size(), 1); break;
          default: lines.resize(line); break;
        }
      }
      MdsHeader header;
      int lineIndex = 0;
      try {
        WalkFile(lines, header, lineIndex);
      } catch (const CommandError&) {
      }
    }
  }
}

}  // namespace
}  // namespace vork
