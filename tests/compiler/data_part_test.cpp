#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

std::string Line(const CompileRun& run, int index) {
  if (index < 0 || index >= static_cast<int>(run.MdsLines.size())) return "<no line " + std::to_string(index) + ">";
  return run.MdsLines[index];
}

std::vector<std::string> SessionLines(const CompileRun& run) {
  std::vector<std::string> lines;
  for (int index : run.State.SessionLineIndex) lines.push_back(Line(run, index));
  return lines;
}

TEST(DataPart, UnitsLineByDataType) {
  const std::pair<std::string, std::string> cases[] = {
      {"Event a;\na /", "0\t0\tevents"},
      {"Timed a;\na,1.5-2.5 /", "4\t1\tseconds"},
      {"State a;\na=3 /", "1\t0\tseconds"},
      {"Interval a;\na , /", "0\t0\tintervals"},
      {"Interval = 5 <frames> a;\na , /", "0\t0\t5sInts"},
      {"Interval = 1 <frames> a;\na , /", "0\t0\tframes"},
      {"Multi a;\na . a /", "0\t0\tevents"},
      {"Timed <frames> a;\na,1-2 /", "1\t0\tframes"},
      // The first time of the file may come after the first session.
      {"Event a;\na /\n,1.5 a ,2.5 /", "4\t1\tevents"},
  };
  for (const auto& [text, units] : cases) {
    auto run = Compile(text);
    EXPECT_TRUE(run->Messages().empty()) << text;
    EXPECT_EQ(Line(*run, 0), units) << text;
  }
}

TEST(DataPart, SessionLinesCountSegmentsAndCarryLabels) {
  auto run = Compile("Event a;\na ; a ; a /\n<Home> a /\na /");
  EXPECT_TRUE(run->Messages().empty());
  EXPECT_EQ(run->State.SessionNo, 3);
  EXPECT_EQ(SessionLines(*run), (std::vector<std::string>{"1\t3\t#1", "2\t1\thome", "3\t1\t#3"}));
}

TEST(DataPart, TrailingCommentsMakeNoSession) {
  auto run = Compile("Event a;\na /\n% the end\n! and\nmore !\n\n");
  EXPECT_TRUE(run->Messages().empty());
  EXPECT_EQ(run->State.SessionNo, 1);
  EXPECT_EQ(run->SdsLines.size(), 5u);
}

TEST(DataPart, ProgressOncePerSession) {
  auto run = Compile("Event a;\na /\na /\na /\na /");
  EXPECT_EQ(run->Dialogue.ProgressCalls,
            (std::vector<std::pair<int, int>>{{0, 100}, {20, 100}, {40, 100}, {60, 100}, {80, 100}, {0, 100}}));
  // Eight lines: halves of a percent go to the even neighbour.
  auto halves = Compile("Event a;\na /\na /\na /\na /\na /\na /\na /");
  EXPECT_EQ(halves->Dialogue.ProgressCalls,
            (std::vector<std::pair<int, int>>{
                {0, 100}, {12, 100}, {25, 100}, {38, 100}, {50, 100}, {62, 100}, {75, 100}, {88, 100}, {0, 100}}));
}

struct DataMessageCase {
  const char* Name;
  std::string Text;
  std::vector<Reported> Expected;
};

class DataMessages : public ::testing::TestWithParam<DataMessageCase> {};

TEST_P(DataMessages, AreReportedAtTheirPositions) {
  auto run = Compile(GetParam().Text);
  EXPECT_EQ(run->Messages(), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Compile, DataMessages,
    ::testing::Values(
        DataMessageCase{"SecondLabelInASession", "Event a;\n<one> a ;\n<two> a /\n<one> a /",
                        {{22, Warning, 21}, {49, Warning, 0}}},
        DataMessageCase{"NoSlashAfterLastSession", "Event a;\na /\na", {{47, Error, 15}}},
        DataMessageCase{"OnlyCommentsAfterLastSemicolon", "Event a;\na ;\n% end", {{47, Error, 12}}},
        DataMessageCase{"NoLevelsForTheLastSession", "Event a * sex(m f);\na /", {{48, Error, 20}}},
        DataMessageCase{"UndeclaredCodeStopsNothing", "Event a;\nb /\nc /", {{23, Error, 10}, {23, Error, 15}}},
        DataMessageCase{"CommentsKeepPositions", "Event a;\na ! x\ny ! c /", {{23, Error, 21}}},
        DataMessageCase{"DualName", "Event a = x;\nx /", {}}),
    [](const ::testing::TestParamInfo<DataMessageCase>& info) { return info.param.Name; });

// Labels are compared as read: capitals are folded unless the compile is
// case-sensitive, while blanks inside the brackets count.
TEST(DataPart, SessionLabelsComparedAsRead) {
  CompileOptions exact;
  exact.CaseSensitive = true;
  EXPECT_EQ(Compile("Event a;\n<One> a /\n<one> a /")->Messages(), (std::vector<Reported>{{49, Warning, 0}}));
  EXPECT_TRUE(Compile("Event a;\n<One> a /\n<one> a /", exact)->Messages().empty());
  EXPECT_TRUE(Compile("Event a;\n<one> a /\n< one> a /")->Messages().empty());
  // A session's default label is "#" and its number, so a label "#2" given
  // to the first session meets the second one's.
  EXPECT_EQ(Compile("Event a;\n<#2> a /\na /")->Messages(), (std::vector<Reported>{{49, Warning, 0}}));
}

TEST(DataPart, DeclarationErrorsKeepTheDataPartUnread) {
  auto run = Compile("Event a a;\nb /");
  EXPECT_EQ(run->Messages(), (std::vector<Reported>{{5, Error, 8}}));
  EXPECT_TRUE(run->Segments.empty());
  EXPECT_TRUE(run->MdsLines.empty());
}

}  // namespace
}  // namespace vork::testing
