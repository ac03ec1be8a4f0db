#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_sds.h"
#include "tests/compiler/compile_fixture.h"
#include "tests/compiler/tabbed_lines.h"

namespace vork::testing {
namespace {

CompileOptions Plain() { return StampedOptions(false, "STAMP"); }

struct HeaderCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Lines;  // the whole compiled file, "|" for TAB
  std::vector<Reported> Messages = {};
};

class HeaderLines : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderLines, AreWrittenInFrontOfTheSessions) {
  const HeaderCase& c = GetParam();
  auto run = Compile(c.Text, Plain(), false);
  EXPECT_EQ(run->MdsLines, Tabbed(c.Lines)) << c.Text;
  EXPECT_EQ(run->Messages(), c.Messages) << c.Text;
}

const char* const Stamp = "|MDS file saved by KELP compiler Version 5.1 STAMP";

INSTANTIATE_TEST_SUITE_P(
    Compile, HeaderLines,
    ::testing::Values(
        HeaderCase{"NoFactorsKeepSessionNumbers",
                   "Event a;\n<first> a/ a/ a/",
                   {Stamp, "1|0|0", "1|0|0|0|3|3", "a", "0|0|events",
                    "1|1|first", "1|1|1|1|0", "1|2",
                    "2|1|#2", "1|1|1|1|0", "1|2",
                    "3|1|#3", "1|1|1|1|0", "1|2"}},
        // Replicate numbers count the sessions of each level.
        HeaderCase{"DeclaredFactorGivesReplicates",
                   "Event a * sex(m f);\na (m)/ a (f)/ a (m)/ a (m)/",
                   {Stamp, "1|0|0", "1|0|0|1|4|3", "a", "sex|2|m|f", "0|0|events",
                    "1|1|#1", "1", "1|1|1|1|0", "1|2",
                    "1|1|#2", "2", "1|1|1|1|0", "1|2",
                    "2|1|#3", "1", "1|1|1|1|0", "1|2",
                    "3|1|#4", "1", "1|1|1|1|0", "1|2"}},
        HeaderCase{"LevelListsMakeFactors",
                   "Event a;\na (y)/ a (x)/",
                   {Stamp, "1|0|0", "1|0|0|1|2|1", "a", "Factor#1|2|x|y", "0|0|events",
                    "1|1|#1", "2", "1|1|1|1|0", "1|2",
                    "1|1|#2", "1", "1|1|1|1|0", "1|2"}},
        // An empty place in a list is a level left out; made factors list
        // their levels sorted.
        HeaderCase{"EmptyPlacesInLevelLists",
                   "Event a;\na (x,,z)/ a (y, w, v)/",
                   {Stamp, "1|0|0", "1|0|0|3|2|1", "a", "Factor#1|2|x|y", "Factor#2|1|w",
                    "Factor#3|2|v|z", "0|0|events",
                    "1|1|#1", "1|1|2", "1|1|1|1|0", "1|2",
                    "1|1|#2", "2|1|1", "1|1|1|1|0", "1|2"},
                   {{109, Warning, 31}, {110, Warning, 31}}},
        HeaderCase{"SessionWithoutLevelsTakesTheNext",
                   "Event a * sex(m f);\na (m)/ a / a (f)/",
                   {Stamp, "1|0|0", "1|0|0|1|3|2", "a", "sex|2|m|f", "0|0|events",
                    "1|1|#1", "1", "1|1|1|1|0", "1|2",
                    "1|1|#2", "2", "1|1|1|1|0", "1|2",
                    "2|1|#3", "2", "1|1|1|1|0", "1|2"},
                   {{110, Warning, 37}}},
        HeaderCase{"PartialLevelListVaries",
                   "Event a * sex(m f) age(y o);\na (m)/ a (f o)/",
                   {Stamp, "1|0|0", "1|0|0|2|2|1", "a", "sex|2|m|f", "age|2|y|o", "0|0|events",
                    "1|1|#1", "1|2", "1|1|1|1|0", "1|2",
                    "1|1|#2", "2|2", "1|1|1|1|0", "1|2"},
                   {{109, Warning, 44}, {110, Warning, 44}}},
        // Declarations without data still make a file that can be read:
        // the units line follows the header.
        HeaderCase{"NoSessions", "Event a;", {Stamp, "1|0|0", "1|0|0|0|0|0", "a", "0|0|events"}},
        HeaderCase{"MultiSegmentSession",
                   "Event a b;\na ; b a/",
                   {Stamp, "1|0|0", "2|0|0|0|1|1", "a|b", "0|0|events",
                    "1|2|#1", "1|1|1|1|0", "1|2.", "2|2|2|1|0", "1|.2", "1|2."}}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.Name); });

TEST(HeaderWriter, LastSessionWithoutLevelsIsAnError) {
  auto run = Compile("Event a * sex(m f);\na (m)/ a/", Plain(), false);
  EXPECT_EQ(run->Messages(), (std::vector<Reported>{{108, Error, 29}}));
  EXPECT_EQ(run->State.ErrorCount, 1);
}

TEST(HeaderWriter, LastSessionWithoutALevelOfAMadeFactorIsAnError) {
  auto run = Compile("Event a;\na (x y)/ a (z)/", Plain(), false);
  EXPECT_EQ(run->Messages(), (std::vector<Reported>{{108, Error, 24}}));
  EXPECT_EQ(run->State.ErrorCount, 1);
}

TEST(HeaderWriter, SyntaxCheckWritesNoHeader) {
  auto run = Compile("Event a;\na/", Plain(), true);
  EXPECT_EQ(run->MdsLines, Tabbed({"0|0|events", "1|1|#1", "1|1|1|1|0", "1|2"}));
  EXPECT_EQ(run->State.SavedAt, "");
}

}  // namespace
}  // namespace vork::testing

namespace vork::testing {
namespace {

// Stopping at a warning question leaves the segment being parsed without
// its lines; such a compile must not pass for one without errors, or the
// caller would save its lines as a compiled file.
TEST(HeaderWriter, CompileStoppedAtAWarningQuestionIsNotACompiledFile) {
  dynString sds{"Event a;", "a a a/"};
  dynString mds;
  CompilerMessageLines list;
  dynCardinal navPts;
  ScriptedDialogue dialogue;
  dialogue.Then(Answer::Yes);
  int errorCount = -1;
  std::string savedAt = "unchanged";
  CompileOptions options = Plain();
  options.RepeatCheck = true;
  CompileSds(sds, mds, list, navPts, dialogue, false, 1, errorCount, savedAt, options);
  ASSERT_EQ(dialogue.Shown.size(), 1u);
  EXPECT_EQ(dialogue.Shown[0].Text, "1 warnings found. Stop?");
  EXPECT_GT(errorCount, 0);
  EXPECT_EQ(savedAt, "unchanged");
}

}  // namespace
}  // namespace vork::testing
