#include "analysis/session_pooling.h"

#include <gtest/gtest.h>

#include "analysis/simple_stats.h"
#include "core/command_error.h"
#include "core/mds_reader.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::ScriptedDialogue;

// Event data, one code X, factors A (a1, a2) and B (b1, b2, b3), at most two
// sessions per level combination. Session Sk has one segment of k units,
// each an onset of X, so a group's frequency is the sum of its sessions'
// numbers.
const dynString FactorFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "1\t0\t0",
    "1\t0\t0\t2\t8\t2",
    "X",
    "A\t2\ta1\ta2",
    "B\t3\tb1\tb2\tb3",
    "0\t0\tevents",
    "1\t1\tS1", "1\t1", "1\t1\t1\t1\t0", "1\t2",
    "1\t1\tS2", "1\t2", "1\t1\t2\t1\t0", "2\t2",
    "2\t1\tS3", "1\t1", "1\t1\t3\t1\t0", "3\t2",
    "1\t1\tS4", "2\t3", "1\t1\t4\t1\t0", "4\t2",
    "1\t1\tS5", "2\t1", "1\t1\t5\t1\t0", "5\t2",
    "2\t1\tS6", "2\t3", "1\t1\t6\t1\t0", "6\t2",
    "2\t1\tS7", "1\t2", "1\t1\t7\t1\t0", "7\t2",
    "1\t1\tS8", "1\t3", "1\t1\t8\t1\t0", "8\t2",
};

struct Window {
  dynString Lines;
  MdsHeader Header;
  PoolingGroups Groups;
  SimpleStatsChoices Choices;
  RunFrame Frame;
};

Window LoadWindow(const dynString& lines) {
  Window window;
  window.Lines = lines;
  ScriptedDialogue dialogue;
  EXPECT_TRUE(ReadMdsHeaderFromLines(window.Lines, "factors.mds", window.Header, dialogue));
  window.Choices.PickedCodes = {"X"};
  window.Choices.StatCB[CBfreq] = true;
  window.Frame.ExportBox = ExportEachRun;
  return window;
}

RunOutput RunWindow(Window& window, ScriptedDialogue& dialogue) {
  RunOutput output;
  EXPECT_TRUE(RunSimpleStats(window.Lines, window.Header.LineIndex, window.Header, window.Frame,
                             window.Choices, window.Groups, dialogue, output));
  return output;
}

// The results of one group of the factor file: title, frequency table.
dynString GroupLines(const std::string& title, int freq) {
  std::string f = std::to_string(freq);
  return {title, "", "Codes:\tfreq", "X\t" + f, "Totals\t" + f, "#Units:\t" + f + "\tevents", ""};
}

dynString Concat(std::initializer_list<dynString> parts) {
  dynString all;
  for (const dynString& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(SessionPooling, FactorPooledByReplicateAndLevelWhenNotPoolingOverSessions) {
  Window window = LoadWindow(FactorFile);
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
}

TEST(SessionPooling, FactorPooledOverSessionsAfterYes) {
  Window window = LoadWindow(FactorFile);
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
}

TEST(SessionPooling, EveryFactorPooledOverSessionsMakesOneGroup) {
  Window window = LoadWindow(FactorFile);
  window.Choices.Pooling.PoolOverSessions = true;
  window.Choices.Pooling.FactorsPooled = {"B", "A"};
  ScriptedDialogue dialogue;
  RunOutput output = RunWindow(window, dialogue);
  EXPECT_EQ(output.ResultLines,
            GroupLines("sessions-pooled\tA-pooled\tB-pooled\tn=8", 36));
  EXPECT_EQ(output.ExportRows,
            (dynString{"session\tA\tB\tXF", "pooled\tpooled\tpooled\t36"}));
}

TEST(SessionPooling, RunWithoutPoolingAfterPoolingShowsEachSessionsLevels) {
  Window window = LoadWindow(FactorFile);
  window.Choices.Pooling.FactorsPooled = {"B"};
  ScriptedDialogue dialogue;
  dialogue.Then(Answer::No);
  RunWindow(window, dialogue);

  window.Choices.Pooling.FactorsPooled.clear();
  window.Groups.PoolingModified = true;  // the factor moved back
  ScriptedDialogue quiet;
  RunOutput output = RunWindow(window, quiet);
  EXPECT_EQ(output.ResultLines,
            Concat({GroupLines("S1\ta1\tb1", 1), GroupLines("S2\ta1\tb2", 2),
                    GroupLines("S3\ta1\tb1", 3), GroupLines("S4\ta2\tb3", 4),
                    GroupLines("S5\ta2\tb1", 5), GroupLines("S6\ta2\tb3", 6),
                    GroupLines("S7\ta1\tb2", 7), GroupLines("S8\ta1\tb3", 8)}));
  EXPECT_EQ(output.ExportRows[0], "session\tA\tB\tXF");
  EXPECT_EQ(output.ExportRows[1], "S1\ta1\tb1\t1");
  EXPECT_EQ(output.ExportRows[8], "S8\ta1\tb3\t8");
}

TEST(SessionPooling, PoolingChoicesTakeEffectOnlyWhenMarkedChanged) {
  Window window = LoadWindow(FactorFile);
  window.Choices.Pooling.PoolOverSessions = true;
  window.Choices.Pooling.FactorsPooled = {"B"};
  ScriptedDialogue dialogue;
  RunWindow(window, dialogue);

  // The window marks every change; without the mark the old groups stay.
  window.Choices.Pooling.FactorsPooled = {"A"};
  RunOutput kept = RunWindow(window, dialogue);
  EXPECT_EQ(kept.ResultLines[0], "sessions-pooled\ta1\tB-pooled\tn=5");
  window.Groups.PoolingModified = true;
  RunOutput rebuilt = RunWindow(window, dialogue);
  EXPECT_EQ(rebuilt.ResultLines[0], "sessions-pooled\tA-pooled\tb1\tn=3");
}

// Event data, one code X, factor Sex with the single level f and factor Age
// (young, old); sessions k1 (f, young), k2 (f, old), k3 (f, young), with
// 1, 2 and 3 onsets of X.
const dynString OneLevelFactorFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "1\t0\t0",
    "1\t0\t0\t2\t3\t2",
    "X",
    "Sex\t1\tf",
    "Age\t2\tyoung\told",
    "0\t0\tevents",
    "1\t1\tk1", "1\t1", "1\t1\t1\t1\t0", "1\t2",
    "1\t1\tk2", "1\t2", "1\t1\t2\t1\t0", "2\t2",
    "2\t1\tk3", "1\t1", "1\t1\t3\t1\t0", "3\t2",
};

TEST(SessionPooling, FactorWithOneLevelAlwaysReadsAsPooled) {
  Window window = LoadWindow(OneLevelFactorFile);
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

// Timed data without factors, two sessions.
const dynString PlainFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "2\t0\t0",
    "1\t0\t0\t0\t2\t2",
    "X",
    "1\t0\tseconds",
    "1\t1\tmorning", "1\t1\t3\t0\t3", "3\t2",
    "2\t1\tevening", "1\t1\t2\t0\t2", "2\t2",
};

TEST(SessionPooling, FileWithoutFactors) {
  Window window = LoadWindow(PlainFile);
  ScriptedDialogue dialogue;
  RunOutput separate = RunWindow(window, dialogue);
  EXPECT_EQ(separate.ExportRows, (dynString{"session\tXF", "morning\t3", "evening\t2"}));
  EXPECT_EQ(separate.ResultLines[0], "morning");

  window.Choices.Pooling.PoolOverSessions = true;
  window.Groups.PoolingModified = true;
  RunOutput pooled = RunWindow(window, dialogue);
  EXPECT_TRUE(dialogue.Shown.empty());
  EXPECT_EQ(pooled.ResultLines[0], "sessions-pooled\tn=2");
  EXPECT_EQ(pooled.ExportRows, (dynString{"session\tXF", "pooled\t5"}));
}

TEST(SessionPooling, NoQuestionWithoutPooledFactorsOrWithTheBoxChecked) {
  MdsHeader header;
  header.NFactors = 2;
  PoolingGroups groups;
  struct Case {
    bool Checked;
    dynString Pooled;
  };
  for (const Case& c : {Case{false, {}}, Case{true, {"A"}}}) {
    PoolingChoices choices{c.Checked, c.Pooled};
    ScriptedDialogue dialogue;
    AskPoolOverSessions(header, choices, groups, dialogue);
    EXPECT_TRUE(dialogue.Shown.empty());
  }
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
    Window window = LoadWindow(lines);
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
