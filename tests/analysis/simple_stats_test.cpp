#include "analysis/simple_stats.h"

#include "analysis/session_pooling.h"

#include <gtest/gtest.h>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "tests/analysis/sample_files.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::BabyFile;
using testing::Concat;
using testing::ScriptedDialogue;

// Timed data in hundredths; one session of two segments. Segment 1 (8
// units, times 0 to 8): A reads 2 1 . 2 . . 2 1, B . . . . 2 1 1 .
// Segment 2 (5 units, times 100 to 110): A . . 2 1 1, B . . . . 2
const dynString TwoSegmentFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "2\t0\t0",
    "2\t0\t0\t0\t1\t1", "A\tB", "4\t2\tseconds", "1\t2\tday1", "1\t8\t8\t0\t8", "1\t2.", "1\t1.",
    "1\t..", "1\t2.", "1\t.2", "1\t.1", "1\t21", "1\t1.", "2\t4\t5\t100\t110", "2\t..", "1\t2.",
    "1\t1.", "1\t12",
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

RunOutput RunWindow(Window& window, ScriptedDialogue& dialogue) {
  RunOutput output;
  EXPECT_TRUE(RunSimpleStats(window.Lines, window.Header.LineIndex, window.Header, window.Frame,
                             window.Choices, window.Groups, dialogue, output));
  return output;
}

RunOutput RunWindow(Window& window) {
  ScriptedDialogue dialogue;
  return RunWindow(window, dialogue);
}

TEST(SimpleStats, ExampleWithRatePerMinute) {
  Window window =
      LoadWindow(BabyFile, {"Alert", "Cry"}, {CBfreq, CBrate, CBdura, CBprob, CBavg, CBepso});
  ScriptedDialogue dialogue;
  window.Choices.RateFactor = EditRateFactor("60=minute", dialogue).RateFactor;
  RunOutput output = RunWindow(window, dialogue);
  EXPECT_EQ(dialogue.ProgressCalls, (std::vector<std::pair<int, int>>{{0, 100}, {100, 100}}));
  EXPECT_TRUE(output.ExportRows.empty());  // the export box says no export files
  EXPECT_EQ(output.ResultLines,
            (dynString{"baby", "", "Rate: #/60 seconds",
                       "Codes:\tfreq\trate\tdura\tprob\tavgD", "Alert\t2\t120\t0.5\t.50\t0.250",
                       "Cry\t0\t0\t0.0\t.00\t0",
                       "Totals\t2\t120\t0.5\t.50", "#Units:\t1.0\tseconds", ""}));
}

TEST(SimpleStats, AllEighteenStatisticsOverTwoSegments) {
  Window window = LoadWindow(TwoSegmentFile, {"A", "B"},
                             {CBfreq, CBrelf, CBrate, CBdura, CBreld, CBprob, CBavg, CBmin, CBmax,
                              CBepso, CBgaps, CBonst, CBL10C});
  window.Frame.ExportBox = ExportEachRun;
  RunOutput output = RunWindow(window);
  EXPECT_EQ(output.ResultLines,
            (dynString{
                "day1", "",
                "Rate: #/600 seconds",
                "Codes:\tfreq\trelf\trate\tdura\treld\tprob\tavgD\tminD\tmaxD\tavgG\tminG\tmaxG"
                "\tavgO\tminO\tmaxO\tavgL\tminL\tmaxL",
                "A\t4\t.67\t13333\t0.08\t.67\t.62\t0.0200\t0.01\t0.03\t0.0150\t0.01\t0.02"
                "\t0.0300\t0.03\t0.03\t0.0100\t0.00\t0.02",
                "B\t2\t.33\t6666.7\t0.04\t.33\t.31\t0.0200\t0.01\t0.03\t0\t0\t0"
                "\t0\t0\t0\t0.0400\t0.04\t0.04", "Totals\t6\t1.00\t20000\t0.12\t1.00\t.92",
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
       {"1\t2", "1\t1", "1\t2", "1\t1", "1\t."}, "X\t0.2\t0.2\t0.0\t0.0\t0.2\t0.2\t0.0\t0.0"},
      {"an episode on in the last unit runs to the segment's end", {"2\t.", "1\t2", "2\t1"},
       "X\t0.3\t0.3\t0\t0\t0\t0\t0.2\t0.2"},
      {"onsets in consecutive units", {"5\t2"}, "X\t0.1\t0.1\t0.0\t0.0\t0.1\t0.1\t0.0\t0.0"},
      {"never on", {"5\t."}, "X\t0\t0\t0\t0\t0\t0\t0\t0"},
  };
  for (const Case& c : cases) {
    dynString lines = {"\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
                       "2\t0\t0", "1\t0\t0\t0\t1\t1", "X", "4\t1\tseconds", "1\t1\ts",
                       "1\t" + std::to_string(c.Data.size()) + "\t5\t0\t5"};
    lines.insert(lines.end(), c.Data.begin(), c.Data.end());
    Window window = LoadWindow(lines, {"X"}, {CBmin, CBmax, CBepso, CBgaps, CBonst, CBL10C});
    RunOutput output = RunWindow(window);
    ASSERT_EQ(output.ResultLines.size(), 6u) << c.What;
    EXPECT_EQ(output.ResultLines[2], "Codes:\tminD\tmaxD\tminG\tmaxG\tminO\tmaxO\tminL\tmaxL")
        << c.What;
    EXPECT_EQ(output.ResultLines[3], c.Row) << c.What;
    // Without basic statistics there is no "Totals" line.
    EXPECT_EQ(output.ResultLines[4], "#Units:\t0.5\tseconds") << c.What;
  }
}

TEST(SimpleStats, LongCodeNamesAreCutAndRepeatedInFull) {
  const dynString lines = {
      "MDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "3\t0\t0",
      "2\t0\t0\t0\t1\t1", "Vocalizing\tCry", "1\t0\tstates",
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
      "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "4\t5\t2",
      "1\t0\t0\t0\t1\t1", "X", "0\t0\tintervals", "1\t1\ts1",
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
      "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "2\t0\t0",
      "2\t0\t0\t0\t2\t2", "Grooming\tEat", "4\t3\tthousandths", "1\t1\ts1", "1\t6\t6\t0\t6",
      "1\t2.", "1\t1.", "1\t.2", "1\t.1", "1\t2.", "1\t.2", "2\t1\ts2", "1\t4\t4\t1000\t1010",
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
  RunOutput output = RunWindow(window, dialogue);
  EXPECT_TRUE(dialogue.Shown.empty());
  EXPECT_EQ(output.ResultLines,
            (dynString{"sessions-pooled\tn=2", "",
                       "Codes:\trelf\tdura\treld\tprob\tavgG\tminG\tmaxG\tavgL\tminL\tmaxL"
                       "\tCodes",
                       "Groomin\t,667\t0,006\t,667\t,600\t0,00100\t0,000\t0,002\t0,00050"
                       "\t0,000\t0,001\tGrooming",
                       "Eat\t,333\t0,003\t,333\t,300\t0,00100\t0,001\t0,001\t0,00200\t0,002"
                       "\t0,002\tEat", "Totals\t1,000\t0,009\t1,000\t,900",
                       "#Units:\t0,010\tseconds",
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
  // Results not displayed: the export rows still come.
  window.Frame.ResultsBox = DontDisplayResults;
  RunOutput exportOnly = RunWindow(window);
  EXPECT_TRUE(exportOnly.ResultLines.empty());
  EXPECT_EQ(exportOnly.ExportRows, output.ExportRows);
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

// Event data, one code X, factors A (a1, a2) and B (b1, b2, b3), at most two
// sessions per level combination. Session Sk has one segment of k units,
// each an onset of X, so a group's frequency is the sum of its sessions'
// numbers.
const dynString FactorFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "1\t0\t0", "1\t0\t0\t2\t8\t2", "X", "A\t2\ta1\ta2", "B\t3\tb1\tb2\tb3", "0\t0\tevents",
    "1\t1\tS1", "1\t1", "1\t1\t1\t1\t0", "1\t2",
    "1\t1\tS2", "1\t2", "1\t1\t2\t1\t0", "2\t2",
    "2\t1\tS3", "1\t1", "1\t1\t3\t1\t0", "3\t2",
    "1\t1\tS4", "2\t3", "1\t1\t4\t1\t0", "4\t2",
    "1\t1\tS5", "2\t1", "1\t1\t5\t1\t0", "5\t2",
    "2\t1\tS6", "2\t3", "1\t1\t6\t1\t0", "6\t2",
    "2\t1\tS7", "1\t2", "1\t1\t7\t1\t0", "7\t2",
    "1\t1\tS8", "1\t3", "1\t1\t8\t1\t0", "8\t2",
};

// X picked for its frequency, rows exported after each RUN.
Window PoolingWindow(const dynString& lines) {
  Window window = LoadWindow(lines, {"X"}, {CBfreq});
  window.Frame.ExportBox = ExportEachRun;
  return window;
}

// The results of one group of the factor file: title, frequency table.
dynString GroupLines(const std::string& title, int freq) {
  std::string f = std::to_string(freq);
  return {title, "", "Codes:\tfreq", "X\t" + f, "Totals\t" + f, "#Units:\t" + f + "\tevents", ""};
}

TEST(SessionPooling, FactorPooledByReplicateAndLevelWhenNotPoolingOverSessions) {
  Window window = PoolingWindow(FactorFile);
  window.Choices.Pooling.FactorsPooled = {"B"};
  ScriptedDialogue dialogue;
  dialogue.Then(Answer::No);
  RunOutput output = RunWindow(window, dialogue);

  ASSERT_EQ(dialogue.Shown.size(), 1u);
  EXPECT_EQ(dialogue.Shown[0].Text,
            "Do you want to pool over sessions [if no, label = last session]?");
  EXPECT_EQ(dialogue.Shown[0].ButtonSet, Buttons::YesNo);
  EXPECT_FALSE(window.Choices.Pooling.PoolOverSessions);
  EXPECT_EQ(output.ResultLines, Concat({GroupLines("S8-pooled\ta1\tB-pooled\tn=3", 11),
                                        GroupLines("S5-pooled\ta2\tB-pooled\tn=2", 9),
                                        GroupLines("S7-pooled\ta1\tB-pooled\tn=2", 10),
                                        GroupLines("S6-pooled\ta2\tB-pooled\tn=1", 6)}));
  EXPECT_EQ(output.ExportRows, (dynString{"pooled\tA\tB\tXF", "S8\ta1\tpooled\t11",
                                          "S5\ta2\tpooled\t9", "S7\ta1\tpooled\t10",
                                          "S6\ta2\tpooled\t6"}));

  // The factor moved back: each session with its own levels, nothing asked.
  window.Choices.Pooling.FactorsPooled.clear();
  window.Groups.PoolingModified = true;
  ScriptedDialogue quiet;
  RunOutput separate = RunWindow(window, quiet);
  EXPECT_TRUE(quiet.Shown.empty());
  EXPECT_EQ(separate.ResultLines,
            Concat({GroupLines("S1\ta1\tb1", 1), GroupLines("S2\ta1\tb2", 2),
                    GroupLines("S3\ta1\tb1", 3), GroupLines("S4\ta2\tb3", 4),
                    GroupLines("S5\ta2\tb1", 5), GroupLines("S6\ta2\tb3", 6),
                    GroupLines("S7\ta1\tb2", 7), GroupLines("S8\ta1\tb3", 8)}));
  EXPECT_EQ(separate.ExportRows[8], "S8\ta1\tb3\t8");
}

TEST(SessionPooling, FactorPooledOverSessionsAfterYes) {
  Window window = PoolingWindow(FactorFile);
  window.Choices.Pooling.FactorsPooled = {"B"};
  ScriptedDialogue dialogue;
  dialogue.Then(Answer::Yes);
  RunOutput output = RunWindow(window, dialogue);

  EXPECT_TRUE(window.Choices.Pooling.PoolOverSessions);
  EXPECT_EQ(output.ResultLines, Concat({GroupLines("sessions-pooled\ta1\tB-pooled\tn=5", 21),
                                        GroupLines("sessions-pooled\ta2\tB-pooled\tn=3", 15)}));
  EXPECT_EQ(output.ExportRows, (dynString{"session\tA\tB\tXF", "pooled\ta1\tpooled\t21",
                                          "pooled\ta2\tpooled\t15"}));

  // The box is now checked: the next RUN asks nothing and keeps the groups.
  ScriptedDialogue quiet;
  RunOutput again = RunWindow(window, quiet);
  EXPECT_TRUE(quiet.Shown.empty());
  EXPECT_EQ(again.ResultLines, output.ResultLines);
  // The window marks every change; without the mark the old groups stay.
  window.Choices.Pooling.FactorsPooled = {"A"};
  EXPECT_EQ(RunWindow(window, quiet).ResultLines, output.ResultLines);
  window.Groups.PoolingModified = true;
  EXPECT_EQ(RunWindow(window, quiet).ResultLines[0], "sessions-pooled\tA-pooled\tb1\tn=3");

  // Every factor pooled over sessions makes one group.
  window.Choices.Pooling.FactorsPooled = {"B", "A"};
  window.Groups.PoolingModified = true;
  RunOutput all = RunWindow(window, quiet);
  EXPECT_EQ(all.ResultLines, GroupLines("sessions-pooled\tA-pooled\tB-pooled\tn=8", 36));
  EXPECT_EQ(all.ExportRows, (dynString{"session\tA\tB\tXF", "pooled\tpooled\tpooled\t36"}));
}

// Event data, one code X, factor Sex with the single level f and factor Age
// (young, old); sessions k1 (f, young), k2 (f, old), k3 (f, young), with
// 1, 2 and 3 onsets of X.
const dynString OneLevelFactorFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "1\t0\t0", "1\t0\t0\t2\t3\t2", "X", "Sex\t1\tf", "Age\t2\tyoung\told", "0\t0\tevents",
    "1\t1\tk1", "1\t1", "1\t1\t1\t1\t0", "1\t2",
    "1\t1\tk2", "1\t2", "1\t1\t2\t1\t0", "2\t2",
    "2\t1\tk3", "1\t1", "1\t1\t3\t1\t0", "3\t2",
};

TEST(SessionPooling, FactorWithOneLevelAlwaysReadsAsPooled) {
  Window window = PoolingWindow(OneLevelFactorFile);
  ScriptedDialogue quiet;
  RunOutput separate = RunWindow(window, quiet);
  EXPECT_EQ(separate.ResultLines,
            Concat({GroupLines("k1\tSex-pooled\tyoung", 1), GroupLines("k2\tSex-pooled\told", 2),
                    GroupLines("k3\tSex-pooled\tyoung", 3)}));
  EXPECT_EQ(separate.ExportRows,
            (dynString{"session\tSex\tAge\tXF", "k1\tpooled\tyoung\t1", "k2\tpooled\told\t2",
                       "k3\tpooled\tyoung\t3"}));

  // Age pooled, No to the question: one group per replicate number.
  window.Choices.Pooling.FactorsPooled = {"Age"};
  window.Groups.PoolingModified = true;
  ScriptedDialogue dialogue;
  dialogue.Then(Answer::No);
  RunOutput pooled = RunWindow(window, dialogue);
  EXPECT_EQ(pooled.ResultLines,
            Concat({GroupLines("k2-pooled\tSex-pooled\tAge-pooled\tn=2", 3),
                    GroupLines("k3-pooled\tSex-pooled\tAge-pooled\tn=1", 3)}));
  EXPECT_EQ(pooled.ExportRows, (dynString{"pooled\tSex\tAge\tXF", "k2\tpooled\tpooled\t3",
                                          "k3\tpooled\tpooled\t3"}));
}

TEST(SessionPooling, MalformedSessionsEndTheRun) {
  struct Case {
    const char* What;
    std::size_t Line;
    std::string Text;
  };
  const Case cases[] = {
      {"level beyond the factor's levels", 8, "1\t4"},
      {"replicate beyond the sessions per cell", 7, "3\t1\tS1"},
      {"segment with more data lines than the file holds", 9, "1\t99\t1\t1\t0"},
  };
  for (const Case& c : cases) {
    dynString lines = FactorFile;
    lines[c.Line] = c.Text;
    Window window = PoolingWindow(lines);
    window.Choices.Pooling.FactorsPooled = {"A"};
    window.Choices.Pooling.PoolOverSessions = false;
    ScriptedDialogue dialogue;
    dialogue.Then(Answer::No);
    RunOutput output;
    EXPECT_THROW(RunSimpleStats(window.Lines, window.Header.LineIndex, window.Header,
                                window.Frame, window.Choices, window.Groups, dialogue, output),
                 CommandError)
        << c.What;
  }
}

}  // namespace
}  // namespace vork
