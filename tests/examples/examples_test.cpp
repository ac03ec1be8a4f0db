#include <gtest/gtest.h>

#include <string>

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

TEST_P(Examples, CompileWithoutAMessage) {
  const ExampleCase& c = GetParam();
  dynString sdsLines = LoadTextLines(std::string(VORK_SOURCE_DIR "/examples/") + c.File);
  dynString mdsLines;
  CompilerMessageLines messages;
  dynCardinal navPts;
  SilentDialogue dialogue;
  int errorCount = -1;
  std::string savedAt;
  CompileSds(sdsLines, mdsLines, messages, navPts, dialogue, false, 25, errorCount, savedAt, {});
  EXPECT_EQ(errorCount, 0);
  EXPECT_EQ(messages.Lines, dynString{});

  MdsHeader header;
  ASSERT_TRUE(ReadMdsHeaderFromLines(mdsLines, c.File, header, dialogue));
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

}  // namespace
}  // namespace vork
