// Tiny compiled files that once asked for gigabytes or overflowed, and the
// table without association whose chi-squared came out just above 0.

#include <gtest/gtest.h>

#include "analysis/simple_stats.h"
#include "analysis/table_stats.h"
#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/segment_runs.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::ScriptedDialogue;

dynString File(const std::string& typeLine, const std::string& codes, const dynString& body) {
  dynString lines = {"\tMDS file saved by KELP compiler Version 5.1 07.12.2026 03:00:00", typeLine,
                     codes + "\t0\t0\t0\t1\t1"};
  if (codes != "0") lines.push_back(codes == "1" ? "a" : codes == "2" ? "a\tb" : "a\tb\tc");
  lines.push_back("0\t0\tunits");
  lines.push_back("1\t1\tS");
  lines.insert(lines.end(), body.begin(), body.end());
  return lines;
}

// A segment the compiler could never write, or data lines without codes, is
// refused by the grid and the run reader alike before anything is sized.
TEST(AnalysisLimits, TheReaderRefusesWhatTheCompilerCannotWrite) {
  const struct {
    dynString Lines;
    std::string Error;
  } cases[] = {
      {File("2\t0\t0", "2", {"1\t1\t2147483647\t0\t0", "2147483647\t.."}),
       "Compiled file line 7: a segment of 2147483647 time units and 2 codes needs more than the 2048 MB a "
       "segment may take in memory; write it as several segments."},
      {File("1\t0\t0", "0", {"1\t1\t1\t1\t0", "1\t"}), "Compiled file line 7: a file without codes has no data lines."},
  };
  for (const auto& c : cases) {
    MdsHeader header;
    ScriptedDialogue dialogue;
    ASSERT_TRUE(ReadMdsHeaderFromLines(c.Lines, "tiny.mds", header, dialogue));
    for (bool grid : {false, true}) {
      int lineIndex = header.LineIndex + 1;
      SegmentValues segment;
      ReadSegment(c.Lines, lineIndex, segment);
      try {
        dynChar2 matrix;
        SegmentRuns runs;
        if (grid)
          ReadSegmentData(c.Lines, lineIndex, header.NCodes, segment.NDataLines, segment.NTimeUnits,
                          header.Compressed, matrix);
        else
          ReadSegmentRuns(c.Lines, lineIndex, header, segment, runs);
        ADD_FAILURE() << "accepted: " << c.Error;
      } catch (const CommandError& error) {
        EXPECT_EQ(error.what(), c.Error);
      }
    }
  }
}

struct TableRun {
  explicit TableRun(dynString lines) : Lines(std::move(lines)) {
    ScriptedDialogue quiet;
    EXPECT_TRUE(ReadMdsHeaderFromLines(Lines, "t.mds", Header, quiet));
    Header.CodeNames[0] = "&";
    Request.LagFrom = Request.LagTo = 1;
  }
  dynString Run() {
    EXPECT_TRUE(RunTableStats(Request, TableStatsOptions{}, Frame, Header, Lines, Header.LineIndex, Choices,
                              Groups, Output, Dialogue));
    return Output.ResultLines;
  }
  dynString Lines;
  MdsHeader Header;
  TableStatsRequest Request;
  RunFrame Frame;
  PoolingChoices Choices;
  PoolingGroups Groups;
  RunOutput Output;
  ScriptedDialogue Dialogue;
};

// Interval data of one code in 2,147,483,647 units: the table is counted
// from the segment's runs, nothing is kept per time unit.
TEST(AnalysisLimits, ALongIntervalSegmentIsTalliedWithoutMemoryPerUnit) {
  TableRun run(File("4\t1\t1", "1", {"1\t1\t2147483647\t1\t0", "2147483647\t2"}));
  run.Request.GivenCodes = run.Request.TargetCodes = {"a"};
  run.Request.StatChecked[JNTF - 1] = true;
  EXPECT_EQ(run.Run(), (dynString{"Lag:\t+1", "", "S", "", "JNTF\tTarget:", "Given:\ta\tTotals",
                                  "a\t2147483646\t2147483646", "Totals\t2147483646\t2147483646", ""}));
}

// b, then 14 a and 41 b: givens c and "&", targets a and "&" at lag 1 have
// no association at all, so chi-squared and G-squared are exactly 0 and
// carry no df and p.
TEST(AnalysisLimits, ATableWithoutAssociationHasChiSquaredZero) {
  TableRun run(File("1\t0\t0", "3", {"1\t3\t56\t1\t0", "1\t.2.", "14\t2..", "41\t.2."}));
  run.Request.GivenCodes = {"c", "&"};
  run.Request.TargetCodes = {"a", "&"};
  run.Request.StatChecked[XSQ - 1] = run.Request.StatChecked[GSQ - 1] = true;
  EXPECT_EQ(run.Run(), (dynString{"Lag:\t+1", "", "S", "", "XSQ\t0.00", "GSQ\t0.00"}));
}

// Interval data sampled every 2,147,483,647 units by momentary sampling:
// the estimated duration column stays, each unit on counting that many.
TEST(AnalysisLimits, TheLongestIntervalKeepsItsEstimatedDuration) {
  const dynString lines = File("4\t2147483647\t1", "1", {"1\t3\t3\t1\t0", "1\t2", "1\t1", "1\t."});
  MdsHeader header;
  ScriptedDialogue dialogue;
  ASSERT_TRUE(ReadMdsHeaderFromLines(lines, "i.mds", header, dialogue));
  SimpleStatsChoices choices;
  choices.PickedCodes = {"a"};
  choices.StatCB[CBdura] = true;
  PoolingGroups groups;
  RunFrame frame;
  RunOutput output;
  ASSERT_TRUE(RunSimpleStats(lines, header.LineIndex, header, frame, choices, groups, dialogue, output));
  EXPECT_EQ(output.ResultLines, (dynString{"S", "", "Codes:\tdura\testD", "a\t2\t4294967294", "Totals\t2\t",
                                           "#Units:\t3\tunits", ""}));
}

}  // namespace
}  // namespace vork
