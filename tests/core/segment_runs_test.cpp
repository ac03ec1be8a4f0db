#include "core/segment_runs.h"

#include <gtest/gtest.h>

#include <random>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/segment_writer.h"
#include "core/session_reader.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::ScriptedDialogue;

// Compressed, four codes: code 1 on, code 1 with an onset, three units with
// nothing on, codes 1 and 2 on for two units with code 2's onset in both.
const dynString CompressedFile = {
    "MDS file modified by VORK Version 5.1 06/12/2026 21:30:00", "2\t0\t0", "4\t0\t0\t0\t1\t1",
    "a\tb\tc\td", "3\t3\tthousandths", "1\t1\tOnly", "1\t4\t7\t10\t0", "1\t8", "1\t8*", "-3\t0", "2\tC\t4"};

std::string Describe(const SegmentRuns& runs) {
  std::string text;
  for (int code = 1; code <= runs.NCodes; ++code) {
    text += std::to_string(code) + ":";
    for (const CodeRun& run : runs.Runs[code])
      text += " " + std::to_string(run.Start) + (run.Onset ? "*" : "-") + std::to_string(run.End);
    text += ";";
  }
  text += " changes";
  for (std::int32_t unit : runs.ChangeUnits) text += " " + std::to_string(unit);
  return text;
}

SegmentRuns ReadOnlySegment(LinesView lines, const CodeSelection& keep = {}) {
  MdsHeader header;
  ScriptedDialogue dialogue;
  EXPECT_TRUE(ReadMdsHeaderFromLines(lines, "f.mds", header, dialogue));
  int lineIndex = header.LineIndex;
  SessionValues session;
  SegmentValues segment;
  ReadSession(lines, lineIndex, header, session);
  ReadSegment(lines, lineIndex, segment);
  SegmentRuns runs;
  ReadSegmentRuns(lines, lineIndex, header, segment, runs, keep);
  EXPECT_EQ(lineIndex + 1, static_cast<int>(lines.size()));
  return runs;
}

TEST(SegmentRuns, ReadStraightFromDataLines) {
  EXPECT_EQ(Describe(ReadOnlySegment(CompressedFile)), "1: 0-1 1*2 5-7;2: 5*7;3:;4:; changes 0 1 2 5");
  // Only codes 2 and 3 kept: the units where they change.
  EXPECT_EQ(Describe(ReadOnlySegment(CompressedFile, {0, 0, 1, 1, 0})), "1:;2: 5*7;3:;4:; changes 0 5");
  const LineBuffer plain = {"\tMDS file saved by KELP compiler", "2\t0\t0", "3\t0\t0\t0\t1\t1", "a\tb\tc",
                            "3\t0\tseconds", "1\t1\tS", "1\t4\t9\t0\t0", "2\t21.", "1\t11.", "3\t2.2", "3\t1.."};
  EXPECT_EQ(Describe(ReadOnlySegment(plain)), "1: 0*2 2-3 3*6 6-9;2: 0-3;3: 3*6; changes 0 2 3 6");
}

// A segment of every data type's pattern, written plain and compressed, merged
// or column by column, many to a file: the run reader's runs, the grid built
// from them and the grid reader all give the matrix written, and the units
// where codes change are those where a column differs from the one before.
TEST(SegmentRuns, RunReaderAndGridReaderAgreeOnRandomSegments) {
  std::mt19937 random(77);
  auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int dataType = Event; dataType <= Multi; ++dataType) {
    for (bool compressed : {false, true}) {
      const int nCodes = below(4) == 0 ? 62 + below(6) : 1 + below(9);  // up to 64 codes are read as bits
      dynString lines = {std::string(compressed ? "" : "\t") + "MDS file saved by KELP compiler",
                         std::to_string(dataType) + "\t0\t0",
                         std::to_string(nCodes) + "\t0\t0\t0\t40\t40"};
      std::string names = "c1";
      for (int c = 2; c <= nCodes; ++c) names += "\tc" + std::to_string(c);
      lines.push_back(names);
      lines.push_back("0\t0\tunits");
      std::vector<dynChar2> written;
      for (int s = 1; s <= 40; ++s) {
        lines.push_back(std::to_string(s) + "\t1\tS" + std::to_string(s));
        const int units = below(60);
        dynChar2 matrix(static_cast<std::size_t>(nCodes), std::string(static_cast<std::size_t>(units), '.'));
        for (int u = 0; u < units; ++u) {
          if (dataType == Event) {  // one event a unit, often the same code again
            matrix[below(nCodes)][u] = '2';
            continue;
          }
          for (int c = 0; c < nCodes; ++c) {
            const bool wasOn = u > 0 && matrix[c][u - 1] != '.';
            const int roll = below(10);
            if (dataType == State && c > 0) break;  // one stream: code 1 only varies freely
            if (dataType == Multi) matrix[c][u] = roll < 3 ? '2' : '.';
            else if (wasOn) matrix[c][u] = roll < 6 ? '1' : roll < 8 ? '2' : '.';
            else matrix[c][u] = roll < 3 ? '2' : roll < 4 ? '1' : '.';
          }
        }
        dynString data;
        dynInteger counts(static_cast<std::size_t>(units), 1);
        const int n = WriteSegmentData(data, matrix, counts, nCodes, units, compressed, below(2) == 0);
        lines.push_back("1\t" + std::to_string(n) + "\t" + std::to_string(units) + "\t0\t0");
        lines.insert(lines.end(), data.begin(), data.end());
        written.push_back(matrix);
      }
      const LineBuffer buffer(lines);
      MdsHeader header;
      ScriptedDialogue dialogue;
      ASSERT_TRUE(ReadMdsHeaderFromLines(buffer, "random.mds", header, dialogue));
      int runLine = header.LineIndex, gridLine = header.LineIndex;
      SessionValues session;
      SegmentValues segment;
      SegmentRuns runs;
      for (const dynChar2& matrix : written) {
        ReadSession(buffer, runLine, header, session);
        ReadSegment(buffer, runLine, segment);
        ReadSegmentRuns(buffer, runLine, header, segment, runs);
        dynChar2 fromRuns, fromGrid;
        SegmentMatrixFromRuns(runs, fromRuns);
        ReadSession(buffer, gridLine, header, session);
        ReadSegment(buffer, gridLine, segment);
        ReadSegmentData(buffer, gridLine, header.NCodes, segment.NDataLines, segment.NTimeUnits,
                        header.Compressed, fromGrid);
        const std::string where = "type " + std::to_string(dataType) + " session " + session.SessionLabel;
        EXPECT_EQ(fromRuns, matrix) << where;
        EXPECT_EQ(fromGrid, matrix) << where;
        EXPECT_EQ(runLine, gridLine) << where;
        std::vector<std::int32_t> changes;
        for (int u = 0; u < segment.NTimeUnits; ++u) {
          bool changed = u == 0;
          for (const std::string& row : matrix) changed = changed || row[u] != row[u - 1];
          if (changed) changes.push_back(u);
        }
        EXPECT_EQ(runs.ChangeUnits, changes) << where;
      }
    }
  }
}

// The run reader refuses with the grid reader's texts (pinned for the grid in the reader's table).
TEST(SegmentRuns, RefusesWhatTheGridReaderRefuses) {
  const struct {
    dynString segment;  // segment line and data lines after CompressedFile's session line
    std::string error;
  } cases[] = {
      {{"1\t1\t3\t0\t0", "3\t01"}, "Compiled file line 8: code set \"01\" holds code 8 but there are only 4 codes."},
      {{"1\t1\t3\t0\t0", "4\t8"}, "Compiled file line 8: the data lines cover more than the segment's 3 time units."},
      {{"1\t1\t3\t0\t0", "2\t8"}, "Compiled file line 7: the data lines cover only 2 of the segment's 3 time units."},
  };
  for (const auto& c : cases) {
    dynString lines(CompressedFile.begin(), CompressedFile.begin() + 6);
    lines.insert(lines.end(), c.segment.begin(), c.segment.end());
    try {
      ReadOnlySegment(lines);
      ADD_FAILURE() << "accepted: " << c.error;
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), c.error);
    }
  }
}

// The column reader asks for memory only for what the segment can hold: a
// damaged segment of many codes whose data lines far outnumber its units,
// or whose codes by units pass the memory budget, is refused with the
// reader's message instead of first asking for a stretch per line.
TEST(SegmentColumns, RefuseADamagedSegmentBeforeAskingForItsLines) {
  MdsHeader header;
  header.NCodes = 1 << 26;  // two million words of bits a stretch
  header.Compressed = true;
  const struct {
    int NTimeUnits;
    std::string Error;
  } cases[] = {
      {1, "Compiled file line 3: the data lines cover more than the segment's 1 time units."},
      {1024,
       "Compiled file line 1: a segment of 1024 time units and 67108864 codes needs more than the 2048 MB a segment "
       "may take in memory; write it as several segments."},
  };
  for (const auto& c : cases) {
    dynString lines(65538, "1\t1");
    lines[0] = "1\t65537\t" + std::to_string(c.NTimeUnits) + "\t0\t0";
    const SegmentValues segment{65537, c.NTimeUnits, 0, 0};
    int lineIndex = 0;
    SegmentColumns columns;
    try {
      ReadSegmentColumns(lines, lineIndex, header, segment, columns);
      ADD_FAILURE() << "accepted: " << c.Error;
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), c.Error);
    }
  }
}

}  // namespace
}  // namespace vork
