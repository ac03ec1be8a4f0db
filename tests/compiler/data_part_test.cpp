#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// Positions: the declaration line and its line break come first, so the
// data line's column k is at the declaration's length + 2 + k - 1. A token
// the grammar does not allow is reported once, at the token before it, with
// the message of the state the parser was in.
class DataMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(DataMessages, AreReportedAtTheirPositions) {
  const MessageCase& c = GetParam();
  EXPECT_EQ(Compile(c.Text, c.Options, false)->Messages(), c.Expected) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Compile, DataMessages,
    ::testing::Values(
        MessageCase{"SecondLabelInASession", "Event a;\n<one> a ;\n<two> a /\n<one> a /",
                    {{22, Warning, 21}, {49, Warning, 0}}},
        MessageCase{"NoSlashAfterLastSession", "Event a;\na /\na", {{47, Error, 15}}},
        MessageCase{"OnlyCommentsAfterLastSemicolon", "Event a;\na ;\n% end", {{47, Error, 12}}},
        MessageCase{"NoLevelsForTheLastSession", "Event a * sex(m f);\na /", {{48, Error, 20}}},
        MessageCase{"UndeclaredCodeStopsNothing", "Event a;\nb /\nc /", {{23, Error, 10}, {23, Error, 15}}},
        MessageCase{"CommentsKeepPositions", "Event a;\na ! x\ny ! c /", {{23, Error, 21}}},
        MessageCase{"DualName", "Event a = x;\nx /", {}},
        MessageCase{"EventCodeForStartTime", "Event a;\n, a/", {{75, Error, 10}, {39, Warning, 10}}},
        MessageCase{"SyntaxErrorAtTheTokenBefore", "Event a b;\na ,5 b/", {{84, Error, 15}}},
        MessageCase{"IntervalFirstTokenAtTextStart", "Interval a;\n+ a/", {{73, Error, 0}}},
        MessageCase{"TimedFirstTokenAtTextStart", "Timed a;\n+ a,1 ,3/", {{71, Error, 0}}},
        MessageCase{"IntervalCodeForReplication", "Interval a b;\na * b , /", {{87, Error, 17}}},
        MessageCase{"MultiSecondPlus", "Multi a b;\na + + b ./", {{80, Error, 14}}},
        MessageCase{"MultiCodeAfterStop", "Multi a;\n,1 ,2 a/", {{84, Error, 14}, {39, Warning, 10}}},
        MessageCase{"StateTwoCommas", "State a b;\na , , 3 b,5 ,8/", {{95, Error, 14}}},
        MessageCase{"StateCommaInDurations", "State a b;\na,0 b=2/", {{38, Error, 13}}},
        MessageCase{"TimedCommaAfterComboPlus", "Timed a b;\na,1 b + , 2 ,5/", {{94, Error, 18}}},
        MessageCase{"TimedCodeAfterComma", "Timed a b;\na , b,2 ,5/", {{96, Error, 14}, {39, Warning, 12}}},
        MessageCase{"RecoverySkipsToTheNextCode", "Timed a b;\na,1 , , b,2 ,5/", {{78, Error, 16}}},
        MessageCase{"LevelListCommaFirst", "Event a * g(x y);\na ( , x)/", {{101, Error, 21}}},
        MessageCase{"LevelListNotClosed", "Event a * g(x y);\na (x /", {{102, Error, 22}}},
        MessageCase{"LevelNotDeclared", "Event a * sex(m f);\na (x)/", {{43, Error, 24}}},
        MessageCase{"TooManyLevels", "Event a * sex(m f);\na (m f)/", {{42, Error, 26}}},
        MessageCase{"SecondLevelList", "Event a * sex(m f);\na (m) (f)/", {{40, Error, 27}}},
        MessageCase{"TimedOnsetBeforePreviousOnset", "Timed a b c;\na,10 b,15 c,12 ,20/", {{31, Error, 24}}},
        MessageCase{"TimedOffsetBeforeOnset", "Timed a b;\na,10 b,15-12 ,20/", {{33, Error, 22}}},
        MessageCase{"TimedRegularThenContext", "Timed a;\na,1 a,+2 ,5/", {{27, Error, 14}}},
        MessageCase{"TimedContextEndAtSegmentStart", "Timed a b;\nb,0 a,-0 ,5/", {{28, Error, 19}}},
        MessageCase{"TimedContextEndBeforePrevious", "Timed a b;\nb,0 b,3 a,-2 ,5/", {{36, Error, 23}}},
        MessageCase{"RepeatedEvent", "Event a b;\na a b/", {{50, Warning, 14}}, With(&CompileOptions::RepeatCheck)},
        MessageCase{"RepeatCheckOffIsSilent", "Event a b;\na a b/", {}},
        MessageCase{"ReplicatedContextCode", "Interval a;\na+ * 2 , /", {{30, Error, 18}}},
        MessageCase{"ContextEndInFirstInterval", "Interval a;\na- , /", {{28, Error, 13}}},
        MessageCase{"TwoContextEndsWithoutStart", "Interval a;\na+ , a- , a- , /", {{111, Error, 23}}},
        MessageCase{"RegularThenContextCode", "Interval a;\na , a+ , /", {{27, Error, 17}}},
        MessageCase{"ExclusiveCodesOverlap", "Timed (a b);\na,10-15 b,12/", {{51, Warning, 24}},
                    With(&CompileOptions::ExclusivityCheck)},
        MessageCase{"ExclusiveCodesApart", "Timed (a b);\na,10-12 b,12 ,15/", {}, With(&CompileOptions::ExclusivityCheck)},
        MessageCase{"ExclusiveCodesInOneInterval", "Interval (a b) c;\na b , /", {{51, Warning, 21}},
                    With(&CompileOptions::ExclusivityCheck)},
        MessageCase{"ExclusiveCodesInSuccessiveIntervals", "Interval (a b) c;\na *3 , b c , a , /", {},
                    With(&CompileOptions::ExclusivityCheck)},
        MessageCase{"ExclusiveCodesInOneMultiEvent", "Multi (a b);\nb. a b/", {{51, Warning, 19}},
                    With(&CompileOptions::ExclusivityCheck)},
        MessageCase{"TimeEndsWithPeriod", "Event a;\n,12. a ,13 /", {{15, Error, 11}}},
        MessageCase{"TimeWithFourColons", "Event a;\n,1:02:03:04 a ,1:02:03:05 /", {{16, Error, 11}, {16, Error, 25}}},
        MessageCase{"TimeOfFivePieces", "Event a;\n,1:2:3:4:5 a ,6 /", {{16, Error, 11}}},
        MessageCase{"TimeWithFourDecimals", "Event a;\n,1.2345 a ,2 /", {{17, Error, 11}}},
        MessageCase{"SixtySeconds", "Event a;\n,1:60 a ,2:00 /", {{18, Error, 11}}},
        MessageCase{"BothTimeChecksGoOn", "Event a;\n,1:60.5555 a ,2 /", {{17, Error, 11}, {18, Error, 11}}},
        MessageCase{"DecimalsDifferFromFirstTime", "Event a;\n,10.5 a ,11.5 ;\n,11 a ,12 /", {{19, Error, 28}}},
        MessageCase{"FormDiffersFromFirstTime", "Event a;\n,10 a ,20 ;\n,1:10 a ,1:20 /",
                    {{20, Warning, 24}, {20, Warning, 32}}},
        MessageCase{"SecondsBeyond32Bits", "Event a;\n,99999999999 a ,5 /", {{21, Error, 11}}},
        MessageCase{"HoursBeyond32Bits", "Event a;\n,596524:00:00 a ,5 /", {{21, Error, 11}}},
        MessageCase{"TimeUnitsBeyond32Bits", "Timed a;\na,2147484.000 /", {{21, Error, 12}}},
        MessageCase{"InclusiveTimeBeyond32Bits", "Timed a;\na,2147483647) /", {{21, Error, 12}}},
        MessageCase{"ReplicationBeyond32Bits", "Interval a;\na *99999999999 /", {{21, Error, 16}}},
        MessageCase{"SeparatorAfterLetter", "Event a b;\na.b /", {{13, Error, 13}, {13, Error, 14}}},
        MessageCase{"SeparatorFirst", "Event a;\n:5 a /", {{13, Error, 10}, {23, Error, 11}}},
        MessageCase{"ParenthesisAfterCode", "Event a;\na) /", {{14, Error, 11}}},
        MessageCase{"LoneParenthesis", "Event a;\na ) /", {{2, Error, 12}}},
        MessageCase{"PeriodInIntervalData", "Interval a;\na . /", {{2, Error, 15}}},
        MessageCase{"NoStopGiven", "Timed a b;\na,10 b,20 /", {{24, Warning, 19}}},
        MessageCase{"StopEqualToAnOnset", "Timed a;\n,10 a,10 ,10 /", {{45, Warning, 11}}},
        MessageCase{"TimeBeforeStart", "Timed a b;\na,10 b,5 ,20 /", {{25, Error, 19}}}),
    CaseName);

TEST(TimeValues, EveryFormIsRewrittenInSeconds) {
  struct Case {
    std::string Start, Stop, StartSeconds, StopSeconds;
    int TimeFormat, TimeUnitIndex;
  };
  const Case cases[] = {
      {"12", "13", "12", "13", 1, 0},
      {"1:30", "1:31", "90", "91", 2, 0},
      {"90:00", "90:01", "5400", "5401", 2, 0},
      {"1:02:03", "1:02:04", "3723", "3724", 3, 0},
      {"12.5", "12.6", "12.5", "12.6", 4, 1},
      {"0.125", "0.250", "0.125", "0.250", 4, 3},
      {"1:30.5", "1:31.0", "90.5", "91.0", 5, 1},
      {"1:02:03.25", "1:02:03.26", "3723.25", "3723.26", 5, 2},
      {"1.000.5", "1.000.6", "1000.5", "1000.6", 6, 1},
      {"1.000:30", "1.000:31", "60030", "60031", 7, 0},
  };
  for (const Case& c : cases) {
    const std::string text = "Event a;\n," + c.Start + " a ," + c.Stop + " /";
    auto run = Compile(text);
    EXPECT_TRUE(run->Messages().empty()) << text;
    EXPECT_EQ(run->Segments,
              (std::vector<std::string>{"4:, 2:" + c.StartSeconds + " -1:a 4:, 2:" + c.StopSeconds + " 8:/"}))
        << text;
    EXPECT_EQ(run->State.TimeFormat, c.TimeFormat) << text;
    EXPECT_EQ(run->State.TimeUnitIndex, c.TimeUnitIndex) << text;
  }
  // An inclusive time counts one unit more, in the units of the file.
  EXPECT_EQ(Compile("Timed a;\na,12.25-12.50) /")->Spans, (std::vector<std::string>{"1225-1251"}));
  EXPECT_EQ(Compile("State a b;\na,90 b,95 ,100 /")->Spans, (std::vector<std::string>{"90-100"}));
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
    ASSERT_FALSE(run->MdsLines.empty()) << text;
    EXPECT_EQ(run->MdsLines[0], units) << text;
  }
}

TEST(DataPart, SessionLinesCountSegmentsAndCarryLabels) {
  auto run = Compile("Event a;\na ; a ; a /\n<Home> a /\na /", Without(&CompileOptions::CaseSensitive));
  EXPECT_TRUE(run->Messages().empty());
  EXPECT_EQ(run->State.SessionNo, 3);
  std::vector<std::string> lines;
  for (int index : run->State.SessionLineIndex) lines.push_back(run->MdsLines.at(index));
  EXPECT_EQ(lines, (std::vector<std::string>{"1\t3\t#1", "2\t1\thome", "3\t1\t#3"}));
  // Trailing comments make no session.
  auto trailing = Compile("Event a;\na /\n% the end\n! and\nmore !\n\n");
  EXPECT_TRUE(trailing->Messages().empty());
  EXPECT_EQ(trailing->State.SessionNo, 1);
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

// Labels are compared as read: capitals are folded unless the compile is
// case-sensitive, while blanks inside the brackets count. A default label is
// "#" and the session's number, so "#2" on the first session meets the second.
TEST(DataPart, SessionLabelsComparedAsRead) {
  const std::vector<Reported> duplicate{{49, Warning, 0}};
  EXPECT_EQ(Compile("Event a;\n<One> a /\n<one> a /", Without(&CompileOptions::CaseSensitive))->Messages(), duplicate);
  EXPECT_TRUE(Compile("Event a;\n<One> a /\n<one> a /")->Messages().empty());
  EXPECT_TRUE(Compile("Event a;\n<one> a /\n< one> a /")->Messages().empty());
  EXPECT_EQ(Compile("Event a;\n<#2> a /\na /")->Messages(), duplicate);
}

TEST(DataPart, DeclarationErrorsKeepTheDataPartUnread) {
  auto run = Compile("Event a a;\nb /");
  EXPECT_EQ(run->Messages(), (std::vector<Reported>{{5, Error, 8}}));
  EXPECT_TRUE(run->Segments.empty());
  EXPECT_TRUE(run->MdsLines.empty());
}

}  // namespace
}  // namespace vork::testing
