#include "analysis/simple_stats.h"

#include <gtest/gtest.h>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::ScriptedDialogue;

// Timed data in tenths; one session of one segment of 10 units. Alert reads
// . 2 1 1 . . 2 1 . . and Cry is never on.
const dynString BabyFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "2\t0\t0",
    "2\t0\t0\t0\t1\t1",
    "Alert\tCry",
    "4\t1\tseconds",
    "1\t1\tbaby",
    "1\t7\t10\t0\t10",
    "1\t..", "1\t2.", "2\t1.", "2\t..", "1\t2.", "1\t1.", "2\t..",
};

// Timed data in hundredths; one session of two segments. Segment 1 (8
// units, times 0 to 8): A reads 2 1 . 2 . . 2 1, B . . . . 2 1 1 .
// Segment 2 (5 units, times 100 to 110): A . . 2 1 1, B . . . . 2
const dynString TwoSegmentFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "2\t0\t0",
    "2\t0\t0\t0\t1\t1",
    "A\tB",
    "4\t2\tseconds",
    "1\t2\tday1",
    "1\t8\t8\t0\t8",
    "1\t2.", "1\t1.", "1\t..", "1\t2.", "1\t.2", "1\t.1", "1\t21", "1\t1.",
    "2\t4\t5\t100\t110",
    "2\t..", "1\t2.", "1\t1.", "1\t12",
};

struct Window {
  dynString Lines;
  MdsHeader Header;
  PoolingGroups Groups;
  SimpleStatsChoices Choices;
  RunFrame Frame;
};

Window LoadWindow(const dynString& lines, dynString picked, std::initializer_list<int> boxes) {
  Window window;
  window.Lines = lines;
  ScriptedDialogue dialogue;
  EXPECT_TRUE(ReadMdsHeaderFromLines(window.Lines, "C:/data/baby.mds", window.Header, dialogue));
  window.Choices.PickedCodes = std::move(picked);
  for (int box : boxes) window.Choices.StatCB[box] = true;
  window.Frame.FileName = "/data/baby.mds";
  return window;
}

RunOutput RunWindow(Window& window) {
  ScriptedDialogue dialogue;
  RunOutput output;
  EXPECT_TRUE(RunSimpleStats(window.Lines, window.Header.LineIndex, window.Header, window.Frame,
                             window.Choices, window.Groups, dialogue, output));
  return output;
}

TEST(SimpleStats, ExampleTable) {
  Window window = LoadWindow(BabyFile, {"Alert", "Cry"}, {CBfreq, CBdura, CBprob, CBavg, CBepso});
  RunOutput output = RunWindow(window);
  EXPECT_EQ(output.ResultLines,
            (dynString{"baby", "", "Codes:\tfreq\tdura\tprob\tavgD",
                       "Alert\t2\t0.5\t.50\t0.250", "Cry\t0\t0.0\t.00\t0",
                       "Totals\t2\t0.5\t.50", "#Units:\t1.0\tseconds", ""}));
  EXPECT_TRUE(output.ExportRows.empty());  // the export box says no export files
}

TEST(SimpleStats, ExampleWithRatePerMinute) {
  Window window =
      LoadWindow(BabyFile, {"Alert", "Cry"}, {CBfreq, CBrate, CBdura, CBprob, CBavg, CBepso});
  ScriptedDialogue box;
  window.Choices.RateFactor = EditRateFactor("60=minute", box).RateFactor;
  EXPECT_EQ(RunWindow(window).ResultLines,
            (dynString{"baby", "", "Rate: #/60 seconds",
                       "Codes:\tfreq\trate\tdura\tprob\tavgD",
                       "Alert\t2\t120\t0.5\t.50\t0.250", "Cry\t0\t0\t0.0\t.00\t0",
                       "Totals\t2\t120\t0.5\t.50", "#Units:\t1.0\tseconds", ""}));
}

TEST(SimpleStats, FirstRunWritesTheFileSummaryEvenWithoutResults) {
  Window window = LoadWindow(BabyFile, {"Alert"}, {CBfreq});
  window.Frame.FirstRun = true;
  window.Frame.ResultsBox = DontDisplayResults;
  window.Frame.ExportBox = ExportAfterClosing;
  RunOutput output = RunWindow(window);
  EXPECT_EQ(output.ResultLines,
            (dynString{"", "File:\tbaby.mds",
                       "Made:\t\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
                       "Type:\tTimed", "Units:\t1/10 seconds", ""}));
  EXPECT_FALSE(output.ClearResults);
  EXPECT_EQ(output.ExportRows, (dynString{"session\tAlertF", "baby\t2"}));
}

TEST(SimpleStats, OverwriteClearsTheResultsFirst) {
  Window window = LoadWindow(BabyFile, {"Alert"}, {CBfreq});
  window.Frame.ResultsBox = OverwriteResults;
  EXPECT_TRUE(RunWindow(window).ClearResults);
}

TEST(SimpleStats, AllEighteenStatisticsOverTwoSegments) {
  Window window = LoadWindow(TwoSegmentFile, {"A", "B"},
                             {CBfreq, CBrelf, CBrate, CBdura, CBreld, CBprob, CBavg, CBmin, CBmax,
                              CBepso, CBgaps, CBonst, CBL10C});
  window.Frame.ExportBox = ExportEachRun;
  RunOutput output = RunWindow(window);
  EXPECT_EQ(output.ResultLines,
            (dynString{
                "day1", "", "Rate: #/600 seconds",
                "Codes:\tfreq\trelf\trate\tdura\treld\tprob\tavgD\tminD\tmaxD\tavgG\tminG\tmaxG"
                "\tavgO\tminO\tmaxO\tavgL\tminL\tmaxL",
                "A\t4\t.67\t13333\t0.08\t.67\t.62\t0.0200\t0.01\t0.03\t0.0150\t0.01\t0.02"
                "\t0.0300\t0.03\t0.03\t0.0100\t0.00\t0.02",
                "B\t2\t.33\t6666.7\t0.04\t.33\t.31\t0.0200\t0.01\t0.03\t0\t0\t0"
                "\t0\t0\t0\t0.0400\t0.04\t0.04",
                "Totals\t6\t1.00\t20000\t0.12\t1.00\t.92",
                "#Units:\t0.13\tseconds", "Length:\t0.18\tseconds", ""}));
  EXPECT_EQ(output.ExportRows,
            (dynString{"session\tAF\tARF\tAR\tAD\tARD\tAP\tAAD\tAND\tAXD\tAAG\tANG\tAXG\tAAO"
                       "\tANO\tAXO\tAAL\tANL\tAXL\tBF\tBRF\tBR\tBD\tBRD\tBP\tBAD\tBND\tBXD\tBAG"
                       "\tBNG\tBXG\tBAO\tBNO\tBXO\tBAL\tBNL\tBXL",
                       "day1\t4\t.67\t13333\t0.08\t.67\t.62\t0.0200\t0.01\t0.03\t0.0150\t0.01"
                       "\t0.02\t0.0300\t0.03\t0.03\t0.0100\t0.00\t0.02"
                       "\t2\t.33\t6666.7\t0.04\t.33\t.31\t0.0200\t0.01\t0.03\t0\t0\t0"
                       "\t0\t0\t0\t0.0400\t0.04\t0.04"}));
}

TEST(SimpleStats, CommaSeparatorAndMoreDigits) {
  Window window = LoadWindow(TwoSegmentFile, {"A"}, {CBrelf, CBrate, CBdura, CBprob, CBavg,
                                                     CBgaps});
  window.Frame.Format.DecimalSeparator = ',';
  window.Frame.NDigits = 3;
  window.Frame.ExportBox = ExportEachRun;
  window.Frame.ResultsBox = DontDisplayResults;
  RunOutput output = RunWindow(window);
  EXPECT_TRUE(output.ResultLines.empty());
  EXPECT_EQ(output.ExportRows,
            (dynString{"session\tARF\tAR\tAD\tAP\tAAG", "day1\t1,000\t13333\t0,08\t,615\t0,0150"}));
}

// One code over one segment in tenths; the minimum and maximum of each
// episode kind.
TEST(SimpleStats, EpisodeRules) {
  struct Case {
    const char* What;
    dynString Data;  // data lines of the 5-unit segment
    const char* Row;
  };
  const Case cases[] = {
      {"an onset right after an episode ends it with a gap of 0",
       {"1\t2", "1\t1", "1\t2", "1\t1", "1\t."},
       "X\t0.2\t0.2\t0.0\t0.0\t0.2\t0.2\t0.0\t0.0"},
      {"an episode on in the last unit runs to the segment's end",
       {"2\t.", "1\t2", "2\t1"},
       "X\t0.3\t0.3\t0\t0\t0\t0\t0.2\t0.2"},
      {"onsets in consecutive units",
       {"5\t2"},
       "X\t0.1\t0.1\t0.0\t0.0\t0.1\t0.1\t0.0\t0.0"},
      {"never on",
       {"5\t."},
       "X\t0\t0\t0\t0\t0\t0\t0\t0"},
  };
  for (const Case& c : cases) {
    dynString lines = {"\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
                       "2\t0\t0", "1\t0\t0\t0\t1\t1", "X", "4\t1\tseconds", "1\t1\ts",
                       "1\t" + std::to_string(c.Data.size()) + "\t5\t0\t5"};
    lines.insert(lines.end(), c.Data.begin(), c.Data.end());
    Window window = LoadWindow(lines, {"X"}, {CBmin, CBmax, CBepso, CBgaps, CBonst, CBL10C});
    RunOutput output = RunWindow(window);
    ASSERT_EQ(output.ResultLines.size(), 6u) << c.What;
    EXPECT_EQ(output.ResultLines[2],
              "Codes:\tminD\tmaxD\tminG\tmaxG\tminO\tmaxO\tminL\tmaxL")
        << c.What;
    EXPECT_EQ(output.ResultLines[3], c.Row) << c.What;
    // Without basic statistics there is no "Totals" line.
    EXPECT_EQ(output.ResultLines[4], "#Units:\t0.5\tseconds") << c.What;
  }
}

TEST(SimpleStats, LongCodeNamesAreCutAndRepeatedInFull) {
  const dynString lines = {
      "MDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
      "3\t0\t0", "2\t0\t0\t0\t1\t1", "Vocalizing\tCry", "1\t0\tstates",
      "1\t1\tnight", "1\t2\t4\t0\t4", "2\t8*", "-2\t4"};
  Window window = LoadWindow(lines, {"Vocalizing", "Cry"}, {CBfreq, CBdura});
  window.Frame.ExportBox = ExportEachRun;
  RunOutput output = RunWindow(window);
  EXPECT_EQ(output.ResultLines,
            (dynString{"night", "", "Codes:\tfreq\tdura\tCodes", "Vocaliz\t2\t2\tVocalizing",
                       "Cry\t0\t2\tCry", "Totals\t2\t4", "#Units:\t4\tstates", ""}));
  EXPECT_EQ(output.ExportRows,
            (dynString{"session\tVocalizingF\tVocalizingD\tCryF\tCryD", "night\t2\t2\t0\t2"}));
}

TEST(SimpleStats, IntervalDataEstimatedDuration) {
  struct Case {
    const char* Method;  // interval and mark
    dynString Heading;
    dynString Row;
  };
  const Case cases[] = {
      {"4\t5\t2", {"Codes:\tdura\testD", "session\tXD\tXED"}, {"X\t5\t15", "Totals\t5\t", "s1\t5\t15"}},
      {"4\t5\t3", {"Codes:\tdura\testD", "session\tXD\tXED"}, {"X\t5\t35", "Totals\t5\t", "s1\t5\t35"}},
      {"4\t5\t1", {"Codes:\tdura\testD", "session\tXD\tXED"}, {"X\t5\t25", "Totals\t5\t", "s1\t5\t25"}},
      {"4\t1\t1", {"Codes:\tdura", "session\tXD"}, {"X\t5", "Totals\t5", "s1\t5"}},
  };
  for (const Case& c : cases) {
    // X reads 2 1 . 2 1 1: 2 onsets, 5 intervals on.
    const dynString lines = {
        "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
        c.Method, "1\t0\t0\t0\t1\t1", "X", "0\t0\tintervals", "1\t1\ts1",
        "1\t5\t6\t1\t0", "1\t2", "1\t1", "1\t.", "1\t2", "2\t1"};
    Window window = LoadWindow(lines, {"X"}, {CBdura});
    window.Frame.ExportBox = ExportEachRun;
    RunOutput output = RunWindow(window);
    EXPECT_EQ(output.ResultLines,
              (dynString{"s1", "", c.Heading[0], c.Row[0], c.Row[1], "#Units:\t6\tintervals", ""}))
        << c.Method;
    EXPECT_EQ(output.ExportRows, (dynString{c.Heading[1], c.Row[2]})) << c.Method;
  }
}

TEST(SimpleStats, RateOfIntervalDataCountsIntervalsAsSeconds) {
  const dynString lines = {
      "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
      "4\t5\t2", "1\t0\t0\t0\t1\t1", "X", "0\t0\tintervals", "1\t1\ts1",
      "1\t2\t6\t1\t0", "3\t2", "3\t."};
  Window window = LoadWindow(lines, {"X"}, {CBrate});
  EXPECT_EQ(RunWindow(window).ResultLines,
            (dynString{"s1", "", "Rate: #/600 seconds", "Codes:\trate", "X\t60", "Totals\t60",
                       "#Units:\t6\tintervals", ""}));
}

// Timed data in thousandths, two sessions pooled into one group. Session s1
// (6 units, times 0 to 6): Grooming 2 1 . . 2 . and Eat . . 2 1 . 2.
// Session s2 (4 units, times 1000 to 1010): Grooming . 2 2 1, Eat never on.
TEST(SimpleStats, SessionsPooledInThousandthsWithCommaAndThreeDigits) {
  const dynString lines = {
      "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
      "2\t0\t0", "2\t0\t0\t0\t2\t2", "Grooming\tEat", "4\t3\tthousandths",
      "1\t1\ts1", "1\t6\t6\t0\t6",
      "1\t2.", "1\t1.", "1\t.2", "1\t.1", "1\t2.", "1\t.2",
      "2\t1\ts2", "1\t4\t4\t1000\t1010",
      "1\t..", "1\t2.", "1\t2.", "1\t1.",
  };
  Window window = LoadWindow(lines, {"Grooming", "Eat"},
                             {CBrelf, CBdura, CBreld, CBprob, CBavg, CBmin, CBmax, CBgaps,
                              CBL10C});
  window.Frame.Format.DecimalSeparator = ',';
  window.Frame.NDigits = 3;
  window.Frame.ExportBox = ExportEachRun;
  window.Choices.Pooling.PoolOverSessions = true;
  ScriptedDialogue dialogue;
  RunOutput output;
  ASSERT_TRUE(RunSimpleStats(window.Lines, window.Header.LineIndex, window.Header, window.Frame,
                             window.Choices, window.Groups, dialogue, output));
  EXPECT_TRUE(dialogue.Shown.empty());
  EXPECT_EQ(output.ResultLines,
            (dynString{"sessions-pooled\tn=2", "",
                       "Codes:\trelf\tdura\treld\tprob\tavgG\tminG\tmaxG\tavgL\tminL\tmaxL"
                       "\tCodes",
                       "Groomin\t,667\t0,006\t,667\t,600\t0,00100\t0,000\t0,002\t0,00050"
                       "\t0,000\t0,001\tGrooming",
                       "Eat\t,333\t0,003\t,333\t,300\t0,00100\t0,001\t0,001\t0,00200\t0,002"
                       "\t0,002\tEat",
                       "Totals\t1,000\t0,009\t1,000\t,900", "#Units:\t0,010\tseconds",
                       "Length:\t0,016\tseconds", ""}));
  EXPECT_EQ(output.ExportRows,
            (dynString{"session\tGroomingRF\tGroomingD\tGroomingRD\tGroomingP\tGroomingAG"
                       "\tGroomingNG\tGroomingXG\tGroomingAL\tGroomingNL\tGroomingXL\tEatRF"
                       "\tEatD\tEatRD\tEatP\tEatAG\tEatNG\tEatXG\tEatAL\tEatNL\tEatXL",
                       "pooled\t,667\t0,006\t,667\t,600\t0,00100\t0,000\t0,002\t0,00050"
                       "\t0,000\t0,001\t,333\t0,003\t,333\t,300\t0,00100\t0,001\t0,001"
                       "\t0,00200\t0,002\t0,002"}));
  EXPECT_EQ(dialogue.ProgressCalls,
            (std::vector<std::pair<int, int>>{{0, 100}, {50, 100}, {100, 100}}));
}

TEST(SimpleStats, ChecksBeforeTheRun) {
  struct Case {
    const char* What;
    dynString Picked;
    std::vector<int> Boxes;
    const char* Message;
  };
  const Case cases[] = {
      {"no code picked", {}, {CBfreq}, "Select one or more codes."},
      {"average without a kind", {"Alert"}, {CBfreq, CBavg},
       "Check dur|gap|etc or uncheck avg|min|max."},
      {"kind without average, minimum or maximum", {"Alert"}, {CBepso, CBgaps},
       "Check some statistics."},
      {"nothing checked", {"Alert"}, {}, "Check some statistics."},
  };
  for (const Case& c : cases) {
    Window window = LoadWindow(BabyFile, c.Picked, {});
    for (int box : c.Boxes) window.Choices.StatCB[box] = true;
    window.Frame.FirstRun = true;
    ScriptedDialogue dialogue;
    dialogue.Then(Answer::Ok);
    RunOutput output;
    EXPECT_FALSE(RunSimpleStats(window.Lines, window.Header.LineIndex, window.Header,
                                window.Frame, window.Choices, window.Groups, dialogue, output))
        << c.What;
    ASSERT_EQ(dialogue.Shown.size(), 1u) << c.What;
    EXPECT_EQ(dialogue.Shown[0].Text, c.Message) << c.What;
    EXPECT_TRUE(output.ResultLines.empty()) << c.What;
    EXPECT_TRUE(output.ExportRows.empty()) << c.What;
  }
}

TEST(SimpleStats, ProgressFollowsTheSessions) {
  Window window = LoadWindow(BabyFile, {"Alert"}, {CBfreq});
  ScriptedDialogue dialogue;
  RunOutput output;
  RunSimpleStats(window.Lines, window.Header.LineIndex, window.Header, window.Frame,
                 window.Choices, window.Groups, dialogue, output);
  EXPECT_EQ(dialogue.ProgressCalls, (std::vector<std::pair<int, int>>{{0, 100}, {100, 100}}));
}

TEST(SimpleStats, StopBeforeStartEndsTheRunKeepingEarlierLines) {
  dynString lines = BabyFile;
  lines[1] = "2\t0\t0";
  lines[2] = "2\t0\t0\t0\t2\t2";
  lines.push_back("2\t1\tlate");
  lines.push_back("1\t1\t10\t50\t40");
  lines.push_back("10\t..");
  Window window = LoadWindow(lines, {"Alert"}, {CBfreq});
  ScriptedDialogue dialogue;
  RunOutput output;
  EXPECT_THROW(RunSimpleStats(window.Lines, window.Header.LineIndex, window.Header, window.Frame,
                              window.Choices, window.Groups, dialogue, output),
               CommandError);
  EXPECT_EQ(output.ResultLines[0], "baby");
}

TEST(SimpleStats, RateBoxText) {
  struct Case {
    std::string Typed;
    std::string Text;
    int Factor;
    int Beeps;
  };
  const Case cases[] = {
      {"12a3", "123", 123, 1},        {"0", "1", 1, 1},
      {"40000", "32767", 32767, 1},   {"600=10-min", "600=10-min", 600, 0},
      {"", "1", 1, 1},                {"=minute", "1", 1, 1},
      {"x9y", "9", 9, 2},             {"123456789012345678901", "32767", 32767, 1},
      {"32767", "32767", 32767, 0},   {"0060", "0060", 60, 0},
  };
  for (const Case& c : cases) {
    ScriptedDialogue dialogue;
    RateFactorEdit edit = EditRateFactor(c.Typed, dialogue);
    EXPECT_EQ(edit.Text, c.Text) << c.Typed;
    EXPECT_EQ(edit.RateFactor, c.Factor) << c.Typed;
    EXPECT_EQ(dialogue.Beeps, c.Beeps) << c.Typed;
  }
}

}  // namespace
}  // namespace vork
