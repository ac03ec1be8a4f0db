#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// An Event session with a start and a stop time written in one form.
struct TimeFormCase {
  std::string Start, Stop;
  std::string StartSeconds, StopSeconds;
  int TimeFormat, TimeUnitIndex;
};

TEST(TimeValues, EveryFormIsRewrittenInSeconds) {
  const TimeFormCase cases[] = {
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
  for (const TimeFormCase& c : cases) {
    const std::string text = "Event a;\n," + c.Start + " a ," + c.Stop + " /";
    auto run = Compile(text);
    EXPECT_TRUE(run->Messages().empty()) << text;
    EXPECT_EQ(run->Segments,
              (std::vector<std::string>{"4:, 2:" + c.StartSeconds + " -1:a 4:, 2:" + c.StopSeconds + " 8:/"}))
        << text;
    EXPECT_EQ(run->State.TimeFormat, c.TimeFormat) << text;
    EXPECT_EQ(run->State.TimeUnitIndex, c.TimeUnitIndex) << text;
  }
}

struct TimeMessageCase {
  const char* Name;
  std::string Text;
  std::vector<Reported> Expected;
};

class TimeMessages : public ::testing::TestWithParam<TimeMessageCase> {};

TEST_P(TimeMessages, AreReportedAtTheTime) {
  auto run = Compile(GetParam().Text);
  EXPECT_EQ(run->Messages(), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Compile, TimeMessages,
    ::testing::Values(
        TimeMessageCase{"EndsWithPeriod", "Event a;\n,12. a ,13 /", {{15, Error, 11}}},
        TimeMessageCase{"FourColons", "Event a;\n,1:02:03:04 a ,1:02:03:05 /",
                        {{16, Error, 11}, {16, Error, 25}}},
        TimeMessageCase{"FivePieces", "Event a;\n,1:2:3:4:5 a ,6 /", {{16, Error, 11}}},
        TimeMessageCase{"FourDecimals", "Event a;\n,1.2345 a ,2 /", {{17, Error, 11}}},
        TimeMessageCase{"SixtySeconds", "Event a;\n,1:60 a ,2:00 /", {{18, Error, 11}}},
        TimeMessageCase{"BothChecksGoOn", "Event a;\n,1:60.5555 a ,2 /", {{17, Error, 11}, {18, Error, 11}}},
        TimeMessageCase{"DecimalsDifferFromFirstTime", "Event a;\n,10.5 a ,11.5 ;\n,11 a ,12 /",
                        {{19, Error, 28}}},
        TimeMessageCase{"FormDiffersFromFirstTime", "Event a;\n,10 a ,20 ;\n,1:10 a ,1:20 /",
                        {{20, Warning, 24}, {20, Warning, 32}}},
        TimeMessageCase{"SecondsBeyond32Bits", "Event a;\n,99999999999 a ,5 /", {{21, Error, 11}}},
        TimeMessageCase{"HoursBeyond32Bits", "Event a;\n,596524:00:00 a ,5 /", {{21, Error, 11}}},
        TimeMessageCase{"TimeUnitsBeyond32Bits", "Timed a;\na,2147484.000 /", {{21, Error, 12}}},
        TimeMessageCase{"InclusiveTimeBeyond32Bits", "Timed a;\na,2147483647) /", {{21, Error, 12}}},
        TimeMessageCase{"ReplicationBeyond32Bits", "Interval a;\na *99999999999 /", {{21, Error, 16}}},
        TimeMessageCase{"SeparatorAfterLetter", "Event a b;\na.b /", {{13, Error, 13}, {13, Error, 14}}},
        TimeMessageCase{"SeparatorFirst", "Event a;\n:5 a /", {{13, Error, 10}, {23, Error, 11}}},
        TimeMessageCase{"ParenthesisAfterCode", "Event a;\na) /", {{14, Error, 11}}},
        TimeMessageCase{"LoneParenthesis", "Event a;\na ) /", {{2, Error, 12}}},
        TimeMessageCase{"PeriodInIntervalData", "Interval a;\na . /", {{2, Error, 15}}},
        TimeMessageCase{"NoStopGiven", "Timed a b;\na,10 b,20 /", {{24, Warning, 19}}},
        TimeMessageCase{"StopEqualToAnOnset", "Timed a;\n,10 a,10 ,10 /", {{45, Warning, 11}}},
        TimeMessageCase{"TimeBeforeStart", "Timed a b;\na,10 b,5 ,20 /", {{25, Error, 19}}},
        TimeMessageCase{"UndeclaredCode", "Event a;\nb /", {{23, Error, 10}}}),
    [](const ::testing::TestParamInfo<TimeMessageCase>& info) { return info.param.Name; });

TEST(TimeValues, UnitsOfAnInclusiveTimeCountOneMore) {
  // A stop written after a tenths time: units are tenths of a second.
  auto tenths = Compile("Timed a;\na,12.25-12.50) /");
  EXPECT_TRUE(tenths->Messages().empty());
  EXPECT_EQ(tenths->Spans, (std::vector<std::string>{"1225-1251"}));
  auto seconds = Compile("State a b;\na,90 b,95 ,100 /");
  EXPECT_EQ(seconds->Spans, (std::vector<std::string>{"90-100"}));
}

}  // namespace
}  // namespace vork::testing
