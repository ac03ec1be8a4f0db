#include "analysis/table_stats.h"

#include <gtest/gtest.h>

#include "core/mds_reader.h"
#include "tests/analysis/sample_files.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::Concat;
using testing::EventFile;
using testing::ScriptedDialogue;

struct Fixture {
  explicit Fixture(dynString lines) : Lines(std::move(lines)) {
    ScriptedDialogue quiet;
    EXPECT_TRUE(ReadMdsHeaderFromLines(Lines, "events.mds", Header, quiet));
    Header.CodeNames[0] = "&";
    Request.GivenCodes = {"A", "B", "C"};
    Request.TargetCodes = {"A", "B", "C"};
    Request.StatChecked[JNTF - 1] = true;
    Frame.FileName = "events.mds";
  }

  bool Run() {
    return RunTableStats(Request, Options, Frame, Header, Lines, Header.LineIndex, Choices,
                         Groups, Output, Dialogue);
  }

  dynString Lines;
  MdsHeader Header;
  TableStatsRequest Request;
  TableStatsOptions Options;
  RunFrame Frame;
  PoolingChoices Choices;
  PoolingGroups Groups;
  RunOutput Output;
  ScriptedDialogue Dialogue;
};

dynString Joint(const dynString& rows) {
  dynString lines = {"JNTF\tTarget:", "Given:\tA\tB\tC\tTotals"};
  lines.insert(lines.end(), rows.begin(), rows.end());
  lines.push_back("");
  return lines;
}

TEST(RunTableStats, EventLagsAroundZeroTallyEachSessionAndWarnOfShortSegments) {
  Fixture f(EventFile);
  f.Request.LagFrom = -1;
  f.Request.LagTo = 1;
  f.Dialogue.Then(Answer::Ok).Then(Answer::Ignore);
  ASSERT_TRUE(f.Run());
  const dynString expected = Concat({
      {"Lag:\t-1", "", "S1", ""},
      Joint({"A\t0\t1\t1\t2", "B\t2\t0\t1\t3", "C\t1\t1\t0\t2", "Totals\t3\t2\t2\t7"}),
      {"S2", ""},
      Joint({"A\t1\t0\t1\t2", "B\t0\t0\t0\t0", "C\t0\t0\t0\t0", "Totals\t1\t0\t1\t2"}),
      {"Lag:\t+1", "", "S1", ""},
      Joint({"A\t0\t2\t1\t3", "B\t1\t0\t1\t2", "C\t1\t1\t0\t2", "Totals\t2\t3\t2\t7"}),
      {"S2", ""},
      Joint({"A\t1\t0\t0\t1", "B\t0\t0\t0\t0", "C\t1\t0\t0\t1", "Totals\t2\t0\t0\t2"}),
  });
  EXPECT_EQ(f.Output.ResultLines, expected);
  ASSERT_EQ(f.Dialogue.Shown.size(), 2u);
  EXPECT_EQ(f.Dialogue.Shown[0].Text,
            "<S2> insufficient data for lag -1. Select Ignore to suppress this warning.");
  EXPECT_EQ(f.Dialogue.Shown[1].Text,
            "<S2> insufficient data for lag 1. Select Ignore to suppress this warning.");
  ASSERT_FALSE(f.Dialogue.ProgressCalls.empty());
  EXPECT_EQ(f.Dialogue.ProgressCalls.back(), std::make_pair(100, 100));
}

TEST(RunTableStats, PooledSessionsFormOneTable) {
  Fixture f(EventFile);
  f.Request.LagFrom = f.Request.LagTo = 1;
  f.Choices.PoolOverSessions = true;
  f.Dialogue.Then(Answer::Ok);
  ASSERT_TRUE(f.Run());
  const dynString expected = Concat({
      {"Lag:\t+1", "", "sessions-pooled\tn=2", ""},
      Joint({"A\t1\t2\t1\t4", "B\t1\t0\t1\t2", "C\t2\t1\t0\t3", "Totals\t4\t3\t2\t9"}),
  });
  EXPECT_EQ(f.Output.ResultLines, expected);
}

TEST(RunTableStats, ResidualCodeTakesTheEventsOfUnlistedCodes) {
  Fixture f(EventFile);
  f.Request.GivenCodes = {"A", "&"};
  f.Request.TargetCodes = {"B", "&"};
  f.Request.LagFrom = f.Request.LagTo = 1;
  f.Dialogue.AnswerOkWhenUnscripted = true;
  ASSERT_TRUE(f.Run());
  // S1 at lag 1: A->B twice, A->C once; B->C, B->A, C->A, C->B.
  const dynString s1 = {"JNTF\tTarget:", "Given:\tB\t&\tTotals", "A\t2\t1\t3", "&\t1\t3\t4",
                        "Totals\t3\t4\t7", ""};
  const dynString results(f.Output.ResultLines.begin() + 4, f.Output.ResultLines.begin() + 10);
  EXPECT_EQ(results, s1);
}

TEST(RunTableStats, EventDataSkipLagZero) {
  struct Case {
    const char* Name;
    const char* TypeLine;
    int From, To;
    dynString LagLines;
    int Tables;
  };
  const Case cases[] = {
      {"event 0..0", "1\t0\t0", 0, 0, {}, 0},
      {"timed 0..0", "2\t0\t0", 0, 0, {}, 1},
      {"event 0..2", "1\t0\t0", 0, 2, {"Lag:\t+1", "Lag:\t+2"}, 2},
      {"timed 0..2", "2\t0\t0", 0, 2, {"Lag:\t0", "Lag:\t+1", "Lag:\t+2"}, 3},
      {"event -1..0", "1\t0\t0", -1, 0, {"Lag:\t-1"}, 1},
  };
  for (const Case& c : cases) {
    dynString lines = EventFile;
    lines[1] = c.TypeLine;
    Fixture f(lines);
    f.Request.LagFrom = c.From;
    f.Request.LagTo = c.To;
    f.Dialogue.AnswerOkWhenUnscripted = true;
    ASSERT_TRUE(f.Run()) << c.Name;
    dynString lagLines;
    int titles = 0;
    for (const std::string& line : f.Output.ResultLines) {
      if (line.rfind("Lag:", 0) == 0) lagLines.push_back(line);
      if (line == "S1") ++titles;
    }
    EXPECT_EQ(lagLines, c.LagLines) << c.Name;
    EXPECT_EQ(titles, c.Tables) << c.Name;
  }
}

TEST(RunTableStats, LinesThatDoNotDependOnALagComeEvenWithoutATable) {
  Fixture f(EventFile);
  f.Request.TargetCodes = {"A", "LengthyName"};
  f.Request.StatChecked = {};
  f.Request.StatChecked[YULQ - 1] = true;
  f.Request.StatChecked[GSQ - 1] = true;
  f.Frame.ExportBox = ExportEachRun;
  ASSERT_TRUE(f.Run());
  EXPECT_EQ(f.Output.ResultLines,
            (dynString{"2x2 table stats computed pair-wise.", "Targs:\tA\tLengthyName"}));
  EXPECT_EQ(f.Output.ExportRows, (dynString{"session\tGiven\tTarget\tYULQ\tGSQ"}));
}

TEST(RunTableStats, ExportRowsPerGroupAndPair) {
  Fixture f(EventFile);
  f.Request.LagFrom = f.Request.LagTo = 1;
  f.Request.StatChecked[XSQ - 1] = true;
  f.Frame.ResultsBox = DontDisplayResults;
  f.Frame.ExportBox = ExportAfterClosing;
  f.Dialogue.Then(Answer::Ok);
  ASSERT_TRUE(f.Run());
  EXPECT_TRUE(f.Output.ResultLines.empty());
  // S1's table has an empty diagonal, so its chi-squared comes from the fit
  // with structural zeros; S2's does not.
  const dynString expected = {
      "session\tGiven\tTarget\tJNTF\tXSQ", "S1\tA\tA\t0\t0.09", "S1\tA\tB\t2", "S1\tA\tC\t1",
      "S1\tB\tA\t1", "S1\tB\tB\t0", "S1\tB\tC\t1", "S1\tC\tA\t1", "S1\tC\tB\t1", "S1\tC\tC\t0",
      "S2\tA\tA\t1\t0.00", "S2\tA\tB\t0", "S2\tA\tC\t0", "S2\tB\tA\t0", "S2\tB\tB\t0",
      "S2\tB\tC\t0", "S2\tC\tA\t1", "S2\tC\tB\t0", "S2\tC\tC\t0",
  };
  EXPECT_EQ(f.Output.ExportRows, expected);
}

}  // namespace
}  // namespace vork
