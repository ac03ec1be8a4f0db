#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/compile_fixture.h"
#include "tests/compiler/tabbed_lines.h"

namespace vork::testing {
namespace {

const char* const Stamp = "06.12.2026 21:30:00";

CompileOptions Form(bool compressed) { return StampedOptions(compressed, Stamp); }

std::string PlainStamp() { return std::string("|MDS file saved by KELP compiler Version 5.1 ") + Stamp; }
std::string CompressedStamp() { return std::string("MDS file saved by KELP compiler Version 5.1 ") + Stamp; }

struct LinesCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Header;      // lines 1 to the units line
  std::vector<std::string> Plain;       // session and segment lines, plain data lines
  std::vector<std::string> Compressed;  // the same with compressed data lines
  std::vector<Reported> Messages = {};
};

class CompiledLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(CompiledLines, MatchTheMatrixWorkedOutByHand) {
  const LinesCase& c = GetParam();
  for (bool compressed : {false, true}) {
    auto run = Compile(c.Text, Form(compressed), false);
    std::vector<std::string> expected{compressed ? CompressedStamp() : PlainStamp()};
    expected.insert(expected.end(), c.Header.begin(), c.Header.end());
    const auto& data = compressed ? c.Compressed : c.Plain;
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(run->MdsLines, Tabbed(expected)) << c.Text << (compressed ? " (compressed)" : " (plain)");
    EXPECT_EQ(run->Messages(), c.Messages) << c.Text;
    EXPECT_EQ(run->State.SavedAt, Stamp);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Compile, CompiledLines,
    ::testing::Values(
        // Events: one unit per code; two successive events of a join one line.
        LinesCase{"EventCodes",
                  "Event a b c;\na a b c a/",
                  {"1|0|0", "3|0|0|0|1|1", "a|b|c", "0|0|events"},
                  {"1|1|#1", "1|4|5|1|0", "2|2..", "1|.2.", "1|..2", "1|2.."},
                  {"1|1|#1", "1|4|5|1|0", "2|8*", "1|4*", "1|2*", "1|8*"}},
        LinesCase{"EventStartAndStop",
                  "Event a b;\n,1 a b ,5/",
                  {"1|0|0", "2|0|0|0|1|1", "a|b", "1|0|events"},
                  {"1|1|#1", "1|2|2|1|5", "1|2.", "1|.2"},
                  {"1|1|#1", "1|2|2|1|5", "1|8*", "1|4*"}},
        LinesCase{"EventStartWithoutStop",
                  "Event a;\n,3 a/",
                  {"1|0|0", "1|0|0|0|1|1", "a", "1|0|events"},
                  {"1|1|#1", "1|1|1|1|0", "1|2"},
                  {"1|1|#1", "1|1|1|1|0", "1|8*"},
                  {{46, Warning, 10}}},
        LinesCase{"EventStopBeforeStart",
                  "Event a;\n,5 a ,1/",
                  {"1|0|0", "1|0|0|0|1|1", "a", "1|0|events"},
                  {"1|1|#1", "1|1|1|1|0", "1|2"},
                  {"1|1|#1", "1|1|1|1|0", "1|8*"},
                  {{53, Warning, 10}}},
        // A segment without codes keeps its provisional line.
        LinesCase{"EmptySegmentThenCodes",
                  "Event a;\n; a/",
                  {"1|0|0", "1|0|0|0|1|1", "a", "0|0|events"},
                  {"1|2|#1", "1|0|0|0|0", "2|1|1|1|0", "1|2"},
                  {"1|2|#1", "1|0|0|0|0", "2|1|1|1|0", "1|8*"},
                  {{39, Warning, 10}}},
        LinesCase{"DualsAndSets",
                  "Event a=x (b c);\na b c/",
                  {"1|0|0", "3|1|1|0|1|1", "a|b|c", "x||", "0|1|1", "Set#1", "0|0|events"},
                  {"1|1|#1", "1|3|3|1|0", "1|2..", "1|.2.", "1|..2"},
                  {"1|1|#1", "1|3|3|1|0", "1|8*", "1|4*", "1|2*"}},
        // Timed: a on from 10 up to its exclusive offset 15, b momentary at 12.
        LinesCase{"TimedOffset",
                  "Timed a b;\na,10-15 b,12/",
                  {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|4|5|10|15", "1|2.", "1|1.", "1|12", "2|1."},
                  {"1|1|#1", "1|4|5|10|15", "1|8*", "-1|8", "1|C|4", "-2|8"}},
        LinesCase{"TimedMomentaryLastOnsetLastsOneUnit",
                  "Timed a b;\na,10 b,12/",
                  {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|3|3|10|13", "1|2.", "1|..", "1|.2"},
                  {"1|1|#1", "1|3|3|10|13", "1|8*", "-1|0", "1|4*"},
                  {{24, Warning, 19}}},
        LinesCase{"TimedOpenOnsetLastsToTheNextOnset",
                  "Timed a b;\na,10- b,12/",
                  {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|3|3|10|13", "1|2.", "1|1.", "1|.2"},
                  {"1|1|#1", "1|3|3|10|13", "1|8*", "-1|8", "1|4*"},
                  {{24, Warning, 20}}},
        LinesCase{"TimedStreamsInHundredths",
                  "Timed a b;\na,1.00-1.05 & b,1.02-1.04 ,1.10/",
                  {"2|0|0", "2|0|0|0|1|1", "a|b", "4|2|seconds"},
                  {"1|1|#1", "1|6|10|100|110", "1|2.", "1|1.", "1|12", "1|11", "1|1.", "5|.."},
                  {"1|1|#1", "1|6|10|100|110", "1|8*", "-1|8", "1|C|4", "-1|C", "-1|8", "-5|0"}},
        LinesCase{"TimedZeroDurationIsMomentary",
                  "Timed a;\na,10-10 ,20/",
                  {"2|0|0", "1|0|0|0|1|1", "a", "1|0|seconds"},
                  {"1|1|#1", "1|2|10|10|20", "1|2", "9|."},
                  {"1|1|#1", "1|2|10|10|20", "1|8*", "-9|0"},
                  {{34, Warning, 12}}},
        // A context code is on from its "+" time up to its "-" time.
        LinesCase{"TimedContextCode",
                  "Timed a b;\nb,0 a,+2 a,-5 b,8 ,10/",
                  {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|7|10|0|10", "1|.2", "1|..", "1|2.", "2|1.", "3|..", "1|.2", "1|.."},
                  {"1|1|#1", "1|7|10|0|10", "1|4*", "-1|0", "1|8*", "-2|8", "-3|0", "1|4*", "-1|0"}},
        // A context end with no start before it starts the code with the
        // segment, also when it ends in the segment's second unit.
        LinesCase{"TimedContextEndWithoutStart",
                  "Timed a b;\nb,0 a,-1 ,3/",
                  {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|2|3|0|3", "1|22", "2|.."},
                  {"1|1|#1", "1|2|3|0|3", "1|C*", "-2|0"},
                  {{29, Warning, 19}}},
        LinesCase{"TimedCombination",
                  "Timed a b;\na + b , 10 - 15/",
                  {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|2|5|10|15", "1|22", "4|11"},
                  {"1|1|#1", "1|2|5|10|15", "1|C*", "-4|C"}},
        // A state lasts up to the next state of its stream.
        LinesCase{"StateTimes",
                  "State a b;\na,0 b,5 a,8 ,10/",
                  {"3|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|6|10|0|10", "1|2.", "4|1.", "1|.2", "2|.1", "1|2.", "1|1."},
                  {"1|1|#1", "1|6|10|0|10", "1|8*", "-4|8", "1|4*", "-2|4", "1|8*", "-1|8"}},
        LinesCase{"StateDurations",
                  "State a b c;\na+b=3 c=2/",
                  {"3|0|0", "3|0|0|0|1|1", "a|b|c", "1|0|seconds"},
                  {"1|1|#1", "1|4|5|1|6", "1|22.", "2|11.", "1|..2", "1|..1"},
                  {"1|1|#1", "1|4|5|1|6", "1|C*", "-2|C", "1|2*", "-1|2"}},
        // Stream 2 begins a at 3 while stream 1 has it on: the onset is kept
        // and the overlaps are warned about.
        LinesCase{"StateStreamsOverlap",
                  "State a b;\na,0 b,5 & a,3 ,10/",
                  {"3|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|6|10|0|10", "1|2.", "2|1.", "1|2.", "1|1.", "1|12", "4|11"},
                  {"1|1|#1", "1|6|10|0|10", "1|8*", "-2|8", "1|8*", "-1|8", "1|C|4", "-4|C"},
                  {{32, Warning, 22}, {32, Warning, 22}}},
        LinesCase{"StateSameOnsetTwice",
                  "State a b;\na,0 b,0 ,5/",
                  {"3|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                  {"1|1|#1", "1|2|5|0|5", "1|22", "4|.1"},
                  {"1|1|#1", "1|2|5|0|5", "1|C*", "-4|4"},
                  {{44, Warning, 16}}},
        // Intervals: b repeated three times is one occurrence; the last
        // interval is empty.
        LinesCase{"IntervalReplication",
                  "Interval a b;\na , b *3 , /",
                  {"4|1|1", "2|0|0|0|1|1", "a|b", "0|0|intervals"},
                  {"1|1|#1", "1|4|5|1|0", "1|2.", "1|.2", "2|.1", "1|.."},
                  {"1|1|#1", "1|4|5|1|0", "1|8*", "1|4*", "-2|4", "-1|0"}},
        LinesCase{"IntervalReplicationOfFive",
                  "Interval=5\" a;\na*5/",
                  {"4|5|3", "1|0|0|0|1|1", "a", "0|0|5sInts"},
                  {"1|1|#1", "1|2|5|1|0", "1|2", "4|1"},
                  {"1|1|#1", "1|2|5|1|0", "1|8*", "-4|8"}},
        LinesCase{"IntervalContextCode",
                  "Interval a b;\na+ , b , a- , /",
                  {"4|1|1", "2|0|0|0|1|1", "a|b", "0|0|intervals"},
                  {"1|1|#1", "1|3|4|1|0", "1|2.", "1|12", "2|.."},
                  {"1|1|#1", "1|3|4|1|0", "1|8*", "1|C|4", "-2|0"}},
        LinesCase{"IntervalContextEndAfterItsUnitWithoutStart",
                  "Interval a b;\nb , a-) , , /",
                  {"4|1|1", "2|0|0|0|1|1", "a|b", "0|0|intervals"},
                  {"1|1|#1", "1|3|4|1|0", "1|22", "1|1.", "2|.."},
                  {"1|1|#1", "1|3|4|1|0", "1|C*", "-1|8", "-2|0"},
                  {{29, Warning, 19}}},
        // Context codes of one set give way to each other.
        LinesCase{"IntervalContextCodesOfOneSet",
                  "Interval ($s = a b) c;\na+ , b+ , , /",
                  {"4|1|1", "3|0|1|0|1|1", "a|b|c", "1|1|0", "s", "0|0|intervals"},
                  {"1|1|#1", "1|3|4|1|0", "1|2..", "1|.2.", "2|.1."},
                  {"1|1|#1", "1|3|4|1|0", "1|8*", "1|4*", "-2|4"}},
        LinesCase{"MultiEvents",
                  "Multi a b c;\na b.b c.c/",
                  {"5|0|0", "3|0|0|0|1|1", "a|b|c", "0|0|events"},
                  {"1|1|#1", "1|3|3|1|0", "1|22.", "1|.12", "1|..1"},
                  {"1|1|#1", "1|3|3|1|0", "1|C*", "1|6|2", "-1|2"}},
        LinesCase{"MultiContextCode",
                  "Multi a b;\na+ b. b. a- b./",
                  {"5|0|0", "2|0|0|0|1|1", "a|b", "0|0|events"},
                  {"1|1|#1", "1|4|4|1|0", "1|22", "1|11", "1|.1", "1|.."},
                  {"1|1|#1", "1|4|4|1|0", "1|C*", "-1|C", "-1|4", "-1|0"}},
        // After a level list the segment goes on in the data type's start.
        LinesCase{"EventCodesAfterLevelList",
                  "Event a b * g(x);\n(x) a b/",
                  {"1|0|0", "2|0|0|1|1|1", "a|b", "g|1|x", "0|0|events"},
                  {"1|1|#1", "1", "1|2|2|1|0", "1|2.", "1|.2"},
                  {"1|1|#1", "1", "1|2|2|1|0", "1|8*", "1|4*"}},
        LinesCase{"MultiStartAndStop",
                  "Multi a;\n,1 a.a ,9/",
                  {"5|0|0", "1|0|0|0|1|1", "a", "1|0|events"},
                  {"1|1|#1", "1|2|2|1|9", "1|2", "1|1"},
                  {"1|1|#1", "1|2|2|1|9", "1|8*", "-1|8"}}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace vork::testing
