#include <gtest/gtest.h>

#include <string>

#include "analysis/simple_stats.h"
#include "compiler/compile_sds.h"
#include "core/mds_reader.h"
#include "core/text_file.h"

namespace vork {
namespace {

// The example files a new user tries first: each compiles without a single
// message into the file its comments describe.
struct ExampleCase {
  const char* File;
  int DataType;
  dynString CodeNames;  // [1..NCodes]
  int NFactors;
  int NSessions;
};

class Examples : public ::testing::TestWithParam<ExampleCase> {};

// An example file compiled as the program compiles it by default.
struct CompiledExample {
  dynString MdsLines;
  CompilerMessageLines Messages;
  int ErrorCount = -1;
};

CompiledExample CompileExample(const std::string& file) {
  dynString sdsLines = LoadTextLines(std::string(VORK_SOURCE_DIR "/examples/") + file);
  CompiledExample compiled;
  dynCardinal navPts;
  SilentDialogue dialogue;
  std::string savedAt;
  CompileSds(sdsLines, compiled.MdsLines, compiled.Messages, navPts, dialogue, false, 25, compiled.ErrorCount,
             savedAt, {});
  return compiled;
}

TEST_P(Examples, CompileWithoutAMessage) {
  const ExampleCase& c = GetParam();
  const CompiledExample compiled = CompileExample(c.File);
  EXPECT_EQ(compiled.ErrorCount, 0);
  EXPECT_EQ(compiled.Messages.Lines, dynString{});

  MdsHeader header;
  SilentDialogue dialogue;
  ASSERT_TRUE(ReadMdsHeaderFromLines(compiled.MdsLines, c.File, header, dialogue));
  EXPECT_EQ(header.DataType, c.DataType);
  EXPECT_EQ(dynString(header.CodeNames.begin() + 1, header.CodeNames.end()), c.CodeNames);
  EXPECT_EQ(header.NFactors, c.NFactors);
  EXPECT_EQ(header.NSessions, c.NSessions);
}

INSTANTIATE_TEST_SUITE_P(
    FirstSteps, Examples,
    ::testing::Values(ExampleCase{"infant_feeding.sds", Timed, {"alert", "cry", "fuss", "suck"}, 1, 3},
                      ExampleCase{"play_turns.sds", Event, {"ask", "give", "take", "refuse", "laugh"}, 0, 2},
                      ExampleCase{"mother_states.sds", State, {"speak", "quiet", "look", "away"}, 0, 2}));

// The first steps' simple statistics of infant_feeding.sds: the title line of
// each table, as the pooling choices make them.
TEST(FirstSteps, PoolingOverSessionsKeepsTheFactorsLevelsApartUntilTheFactorIsPooled) {
  const dynString mdsLines = CompileExample("infant_feeding.sds").MdsLines;
  SilentDialogue dialogue;
  MdsHeader header;
  ASSERT_TRUE(ReadMdsHeaderFromLines(mdsLines, "infant_feeding.mds", header, dialogue));

  struct Case {
    bool PoolOverSessions;
    dynString FactorsPooled;
    dynString Titles;
  };
  const Case cases[] = {
      {false, {}, {"monday\tbreast", "wednesday\tbottle", "friday\tbreast"}},
      {true, {}, {"sessions-pooled\tbreast\tn=2", "sessions-pooled\tbottle\tn=1"}},
      {true, {"feed"}, {"sessions-pooled\tfeed-pooled\tn=3"}},
  };
  for (const Case& c : cases) {
    SimpleStatsChoices choices;
    choices.PickedCodes = {"alert", "cry", "fuss", "suck"};
    choices.StatCB[CBfreq] = true;
    choices.Pooling.PoolOverSessions = c.PoolOverSessions;
    choices.Pooling.FactorsPooled = c.FactorsPooled;
    PoolingGroups groups;
    RunFrame frame;
    RunOutput output;
    ASSERT_TRUE(RunSimpleStats(mdsLines, header.LineIndex, header, frame, choices, groups,
                               dialogue, output));
    // A table's title is the line before its blank line and its "Codes:" line.
    dynString titles;
    for (std::size_t i = 2; i < output.ResultLines.size(); ++i) {
      if (output.ResultLines[i].rfind("Codes:", 0) == 0) titles.push_back(output.ResultLines[i - 2]);
    }
    EXPECT_EQ(titles, c.Titles) << "pooled over sessions: " << c.PoolOverSessions;
  }
}

// The first steps' mistake: an offset before its onset is reported.
TEST(FirstSteps, AnOffsetBeforeItsOnsetIsReported) {
  dynString sdsLines = LoadTextLines(VORK_SOURCE_DIR "/examples/infant_feeding.sds");
  bool changed = false;
  for (std::string& line : sdsLines) {
    const std::size_t at = line.find("suck,5-18");
    if (at == std::string::npos) continue;
    line.replace(at, 9, "suck,18-5");
    changed = true;
  }
  ASSERT_TRUE(changed);
  dynString mdsLines;
  CompilerMessageLines messages;
  dynCardinal navPts;
  SilentDialogue dialogue;
  int errorCount = 0;
  std::string savedAt;
  CompileSds(sdsLines, mdsLines, messages, navPts, dialogue, false, 25, errorCount, savedAt, {});
  EXPECT_GT(errorCount, 0);
  EXPECT_FALSE(messages.Lines.empty());
  EXPECT_FALSE(navPts.empty());  // a place in the text to jump to
}

}  // namespace
}  // namespace vork
