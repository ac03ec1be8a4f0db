#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// Whole compiled files, each matrix worked out cell by cell from the KELP
// text. Header: lines 2 to the units line; Plain and Compressed: the session
// and segment lines in either form of data line (no Compressed: plain only).
struct FileCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Header, Plain, Compressed = {};
  std::vector<Reported> Messages = {};
};

class CompiledFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(CompiledFiles, MatchTheLinesWorkedOutByHand) {
  const FileCase& c = GetParam();
  for (bool compressed : {false, true}) {
    if (compressed && c.Compressed.empty()) continue;
    auto run = Compile(c.Text, StampedOptions(compressed, "NOW"), false);
    std::vector<std::string> expected{std::string(compressed ? "" : "|") +
                                      "MDS file saved by KELP compiler Version 5.1 NOW"};
    expected.insert(expected.end(), c.Header.begin(), c.Header.end());
    const auto& data = compressed ? c.Compressed : c.Plain;
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(run->MdsLines, Tabbed(expected)) << c.Text << (compressed ? " (compressed)" : " (plain)");
    EXPECT_EQ(run->Messages(), c.Messages) << c.Text;
    EXPECT_EQ(run->State.SavedAt, "NOW");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Compile, CompiledFiles,
    ::testing::Values(
        // Events: one unit per code; two successive events of a join one line.
        FileCase{"EventCodes", "Event a b c;\na a b c a/", {"1|0|0", "3|0|0|0|1|1", "a|b|c", "0|0|events"},
                 {"1|1|#1", "1|4|5|1|0", "2|2..", "1|.2.", "1|..2", "1|2.."},
                 {"1|1|#1", "1|4|5|1|0", "2|8*", "1|4*", "1|2*", "1|8*"}},
        FileCase{"EventStartWithoutStop", "Event a;\n,3 a/", {"1|0|0", "1|0|0|0|1|1", "a", "1|0|events"},
                 {"1|1|#1", "1|1|1|1|0", "1|2"}, {"1|1|#1", "1|1|1|1|0", "1|8*"}, {{46, Warning, 10}}},
        FileCase{"EventStopBeforeStart", "Event a;\n,5 a ,1/", {"1|0|0", "1|0|0|0|1|1", "a", "1|0|events"},
                 {"1|1|#1", "1|1|1|1|0", "1|2"}, {"1|1|#1", "1|1|1|1|0", "1|8*"}, {{53, Warning, 10}}},
        // A segment without codes keeps its provisional line.
        FileCase{"EmptySegmentThenCodes", "Event a;\n; a/", {"1|0|0", "1|0|0|0|1|1", "a", "0|0|events"},
                 {"1|2|#1", "1|0|0|0|0", "2|1|1|1|0", "1|2"}, {"1|2|#1", "1|0|0|0|0", "2|1|1|1|0", "1|8*"},
                 {{39, Warning, 10}}},
        FileCase{"DualsAndSets", "Event a=x (b c);\na b c/",
                 {"1|0|0", "3|1|1|0|1|1", "a|b|c", "x||", "0|1|1", "Set#1", "0|0|events"},
                 {"1|1|#1", "1|3|3|1|0", "1|2..", "1|.2.", "1|..2"},
                 {"1|1|#1", "1|3|3|1|0", "1|8*", "1|4*", "1|2*"}},
        // After a level list the segment goes on in the data type's start.
        FileCase{"EventCodesAfterLevelList", "Event a b * g(x);\n(x) a b/",
                 {"1|0|0", "2|0|0|1|1|1", "a|b", "g|1|x", "0|0|events"},
                 {"1|1|#1", "1", "1|2|2|1|0", "1|2.", "1|.2"}, {"1|1|#1", "1", "1|2|2|1|0", "1|8*", "1|4*"}},
        // Session 1 has two segments, the first with a start and a stop; the
        // level line follows the session line; replicates count the sessions
        // of each level.
        FileCase{"EventSegmentsAndReplicates", "Event a b c * grp(x y);\n<s1> (y) ,2 c a ,9 ; a b b c /\n(x) c/\n(y) a/",
                 {"1|0|0", "3|0|0|1|3|2", "a|b|c", "grp|2|x|y", "1|0|events"},
                 {"1|2|s1", "2", "1|2|2|2|9", "1|..2", "1|2..", "2|3|4|1|0", "1|2..", "2|.2.", "1|..2",
                  "1|1|#2", "1", "1|1|1|1|0", "1|..2", "2|1|#3", "2", "1|1|1|1|0", "1|2.."},
                 {"1|2|s1", "2", "1|2|2|2|9", "1|2*", "1|8*", "2|3|4|1|0", "1|8*", "2|4*", "1|2*",
                  "1|1|#2", "1", "1|1|1|1|0", "1|2*", "2|1|#3", "2", "1|1|1|1|0", "1|8*"}},
        // Sessions 2 and 3 have no levels and take those of session 4.
        FileCase{"TwoFactorsCompletedBackwards", "Event a * sex(m f) age(y o);\na (f,o)/ a / a / a (m y)/ a (f o)/",
                 {"1|0|0", "1|0|0|2|5|3", "a", "sex|2|m|f", "age|2|y|o", "0|0|events"},
                 {"1|1|#1", "2|2", "1|1|1|1|0", "1|2", "1|1|#2", "1|1", "1|1|1|1|0", "1|2", "2|1|#3", "1|1",
                  "1|1|1|1|0", "1|2", "3|1|#4", "1|1", "1|1|1|1|0", "1|2", "2|1|#5", "2|2", "1|1|1|1|0", "1|2"},
                 {"1|1|#1", "2|2", "1|1|1|1|0", "1|8*", "1|1|#2", "1|1", "1|1|1|1|0", "1|8*", "2|1|#3", "1|1",
                  "1|1|1|1|0", "1|8*", "3|1|#4", "1|1", "1|1|1|1|0", "1|8*", "2|1|#5", "2|2", "1|1|1|1|0", "1|8*"},
                 {{110, Warning, 63}}},
        FileCase{"NoFactorsKeepSessionNumbers", "Event a;\n<first> a/ a/ a/",
                 {"1|0|0", "1|0|0|0|3|3", "a", "0|0|events"},
                 {"1|1|first", "1|1|1|1|0", "1|2", "2|1|#2", "1|1|1|1|0", "1|2", "3|1|#3", "1|1|1|1|0", "1|2"}},
        FileCase{"LevelListsMakeFactors", "Event a;\na (y)/ a (x)/",
                 {"1|0|0", "1|0|0|1|2|1", "a", "Factor#1|2|x|y", "0|0|events"},
                 {"1|1|#1", "2", "1|1|1|1|0", "1|2", "1|1|#2", "1", "1|1|1|1|0", "1|2"}},
        // An empty place in a list is a level left out; made factors list
        // their levels sorted.
        FileCase{"EmptyPlacesInLevelLists", "Event a;\na (x,,z)/ a (y, w, v)/",
                 {"1|0|0", "1|0|0|3|2|1", "a", "Factor#1|2|x|y", "Factor#2|1|w", "Factor#3|2|v|z", "0|0|events"},
                 {"1|1|#1", "1|1|2", "1|1|1|1|0", "1|2", "1|1|#2", "2|1|1", "1|1|1|1|0", "1|2"},
                 {}, {{109, Warning, 31}, {110, Warning, 31}}},
        FileCase{"PartialLevelListVaries", "Event a * sex(m f) age(y o);\na (m)/ a (f o)/",
                 {"1|0|0", "1|0|0|2|2|1", "a", "sex|2|m|f", "age|2|y|o", "0|0|events"},
                 {"1|1|#1", "1|2", "1|1|1|1|0", "1|2", "1|1|#2", "2|2", "1|1|1|1|0", "1|2"},
                 {}, {{109, Warning, 44}, {110, Warning, 44}}},
        // Declarations without data still make a file that can be read.
        FileCase{"NoSessions", "Event a;", {"1|0|0", "1|0|0|0|0|0", "a", "0|0|events"}, {}},
        // Timed: a on from 10 up to its exclusive offset 15, b momentary at 12.
        FileCase{"TimedOffset", "Timed a b;\na,10-15 b,12/", {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|4|5|10|15", "1|2.", "1|1.", "1|12", "2|1."},
                 {"1|1|#1", "1|4|5|10|15", "1|8*", "-1|8", "1|C|4", "-2|8"}},
        FileCase{"TimedMomentaryLastOnsetLastsOneUnit", "Timed a b;\na,10 b,12/",
                 {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"}, {"1|1|#1", "1|3|3|10|13", "1|2.", "1|..", "1|.2"},
                 {"1|1|#1", "1|3|3|10|13", "1|8*", "-1|0", "1|4*"}, {{24, Warning, 19}}},
        FileCase{"TimedOpenOnsetLastsToTheNextOnset", "Timed a b;\na,10- b,12/",
                 {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"}, {"1|1|#1", "1|3|3|10|13", "1|2.", "1|1.", "1|.2"},
                 {"1|1|#1", "1|3|3|10|13", "1|8*", "-1|8", "1|4*"}, {{24, Warning, 20}}},
        FileCase{"TimedStreamsInHundredths", "Timed a b;\na,1.00-1.05 & b,1.02-1.04 ,1.10/",
                 {"2|0|0", "2|0|0|0|1|1", "a|b", "4|2|seconds"},
                 {"1|1|#1", "1|6|10|100|110", "1|2.", "1|1.", "1|12", "1|11", "1|1.", "5|.."},
                 {"1|1|#1", "1|6|10|100|110", "1|8*", "-1|8", "1|C|4", "-1|C", "-1|8", "-5|0"}},
        // Stream 1: a from 0 through its inclusive offset 3, b open from 2 to
        // the end of the stream; stream 2: c from 1 up to 4.
        FileCase{"TimedStreamsAndOffsets", "Timed a b c;\na,0-3) b,2- & c,1-4 ,6/",
                 {"2|0|0", "3|0|0|0|1|1", "a|b|c", "1|0|seconds"},
                 {"1|1|#1", "1|5|6|0|6", "1|2..", "1|1.2", "1|121", "1|111", "2|.1."},
                 {"1|1|#1", "1|5|6|0|6", "1|8*", "1|A|2", "1|E|4", "-1|E", "-2|4"}},
        FileCase{"TimedZeroDurationIsMomentary", "Timed a;\na,10-10 ,20/", {"2|0|0", "1|0|0|0|1|1", "a", "1|0|seconds"},
                 {"1|1|#1", "1|2|10|10|20", "1|2", "9|."}, {"1|1|#1", "1|2|10|10|20", "1|8*", "-9|0"},
                 {{34, Warning, 12}}},
        // A context code is on from its "+" time up to its "-" time, or to the
        // end when the "-" time is the stop.
        FileCase{"TimedContextCode", "Timed a b;\nb,0 a,+2 a,-5 b,8 ,10/", {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|7|10|0|10", "1|.2", "1|..", "1|2.", "2|1.", "3|..", "1|.2", "1|.."},
                 {"1|1|#1", "1|7|10|0|10", "1|4*", "-1|0", "1|8*", "-2|8", "-3|0", "1|4*", "-1|0"}},
        FileCase{"TimedContextEndAtTheStop", "Timed a b;\nb,0 a,+2 a,-5/", {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|4|5|0|5", "1|.2", "1|..", "1|2.", "2|1."},
                 {"1|1|#1", "1|4|5|0|5", "1|4*", "-1|0", "1|8*", "-2|8"}},
        // A context end with no start before it starts the code with the
        // segment, also when it ends in the segment's second unit.
        FileCase{"TimedContextEndWithoutStart", "Timed a b;\nb,0 a,-1 ,3/", {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|2|3|0|3", "1|22", "2|.."}, {"1|1|#1", "1|2|3|0|3", "1|C*", "-2|0"}, {{29, Warning, 19}}},
        // Context codes a and b of one set: b's start ends a.
        FileCase{"TimedContextCodesOfOneSet", "Timed ($s = a b) c;\nc,0 a,+1 b,+3 c,5 ,7/",
                 {"2|0|0", "3|0|1|0|1|1", "a|b|c", "1|1|0", "s", "1|0|seconds"},
                 {"1|1|#1", "1|7|7|0|7", "1|..2", "1|2..", "1|1..", "1|.2.", "1|.1.", "1|.12", "1|.1."},
                 {"1|1|#1", "1|7|7|0|7", "1|2*", "1|8*", "-1|8", "1|4*", "-1|4", "1|6|2", "-1|4"}},
        FileCase{"TimedCombination", "Timed a b;\na + b , 10 - 15/", {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|2|5|10|15", "1|22", "4|11"}, {"1|1|#1", "1|2|5|10|15", "1|C*", "-4|C"}},
        // A state lasts up to the next state of its stream.
        FileCase{"StateTimes", "State a b;\na,0 b,5 a,8 ,10/", {"3|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|6|10|0|10", "1|2.", "4|1.", "1|.2", "2|.1", "1|2.", "1|1."},
                 {"1|1|#1", "1|6|10|0|10", "1|8*", "-4|8", "1|4*", "-2|4", "1|8*", "-1|8"}},
        FileCase{"StateDurations", "State a b c;\na+b=3 c=2/", {"3|0|0", "3|0|0|0|1|1", "a|b|c", "1|0|seconds"},
                 {"1|1|#1", "1|4|5|1|6", "1|22.", "2|11.", "1|..2", "1|..1"},
                 {"1|1|#1", "1|4|5|1|6", "1|C*", "-2|C", "1|2*", "-1|2"}},
        // A zero duration marks only the onset; the next state begins in the
        // same unit.
        FileCase{"StateDurationsWithZero", "State a b c d;\na=2 b=0 c=1 & d=4/",
                 {"3|0|0", "4|0|0|0|1|1", "a|b|c|d", "1|0|seconds"},
                 {"1|1|#1", "1|4|4|1|5", "1|2..2", "1|1..1", "1|.221", "1|...1"},
                 {"1|1|#1", "1|4|4|1|5", "1|9*", "-1|9", "1|7|6", "-1|1"}},
        // A combination lasts to the next state of its stream; the last state
        // of each stream lasts to the segment's end.
        FileCase{"StateStreamsAndCombination", "State a b c d;\na+b,1 c,3 & d,0 ,5/",
                 {"3|0|0", "4|0|0|0|1|1", "a|b|c|d", "1|0|seconds"},
                 {"1|1|#1", "1|5|5|0|5", "1|...2", "1|22.1", "1|11.1", "1|..21", "1|..11"},
                 {"1|1|#1", "1|5|5|0|5", "1|1*", "1|D|C", "-1|D", "1|3|2", "-1|3"}},
        // Stream 2 begins a at 3 while stream 1 has it on: the onset is kept
        // and the overlaps are warned about.
        FileCase{"StateStreamsOverlap", "State a b;\na,0 b,5 & a,3 ,10/", {"3|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|6|10|0|10", "1|2.", "2|1.", "1|2.", "1|1.", "1|12", "4|11"},
                 {"1|1|#1", "1|6|10|0|10", "1|8*", "-2|8", "1|8*", "-1|8", "1|C|4", "-4|C"},
                 {{32, Warning, 22}, {32, Warning, 22}}},
        FileCase{"StateSameOnsetTwice", "State a b;\na,0 b,0 ,5/", {"3|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|2|5|0|5", "1|22", "4|.1"}, {"1|1|#1", "1|2|5|0|5", "1|C*", "-4|4"}, {{44, Warning, 16}}},
        // Intervals: b repeated three times is one occurrence; the last
        // interval is empty.
        FileCase{"IntervalReplication", "Interval a b;\na , b *3 , /", {"4|1|1", "2|0|0|0|1|1", "a|b", "0|0|intervals"},
                 {"1|1|#1", "1|4|5|1|0", "1|2.", "1|.2", "2|.1", "1|.."},
                 {"1|1|#1", "1|4|5|1|0", "1|8*", "1|4*", "-2|4", "-1|0"}},
        FileCase{"IntervalReplicationOfFive", "Interval=5\" a;\na*5/", {"4|5|3", "1|0|0|0|1|1", "a", "0|0|5sInts"},
                 {"1|1|#1", "1|2|5|1|0", "1|2", "4|1"}, {"1|1|#1", "1|2|5|1|0", "1|8*", "-4|8"}},
        // b*4 stands for four intervals in three columns; c ends after the
        // interval in which "-)" stands.
        FileCase{"IntervalReplicationAndContextEnd", "Interval=2' a b c;\na b , b*4 , c+ , a , c-) , /",
                 {"4|2|2", "3|0|0|0|1|1", "a|b|c", "0|0|2sInts"},
                 {"1|1|#1", "1|6|9|1|0", "1|22.", "4|.1.", "1|..2", "1|2.1", "1|..1", "1|..."},
                 {"1|1|#1", "1|6|9|1|0", "1|C*", "-4|4", "1|2*", "1|A|8", "-1|2", "-1|0"}},
        FileCase{"IntervalContextCode", "Interval a b;\na+ , b , a- , /", {"4|1|1", "2|0|0|0|1|1", "a|b", "0|0|intervals"},
                 {"1|1|#1", "1|3|4|1|0", "1|2.", "1|12", "2|.."}, {"1|1|#1", "1|3|4|1|0", "1|8*", "1|C|4", "-2|0"}},
        // An end without a start gives the code a start in the first interval.
        FileCase{"IntervalContextEndAfterItsUnitWithoutStart", "Interval a b;\nb , a-) , , /",
                 {"4|1|1", "2|0|0|0|1|1", "a|b", "0|0|intervals"}, {"1|1|#1", "1|3|4|1|0", "1|22", "1|1.", "2|.."},
                 {"1|1|#1", "1|3|4|1|0", "1|C*", "-1|8", "-2|0"}, {{29, Warning, 19}}},
        // Context codes of one set give way to each other.
        FileCase{"IntervalContextCodesOfOneSet", "Interval ($s = a b) c;\na+ , b+ , , /",
                 {"4|1|1", "3|0|1|0|1|1", "a|b|c", "1|1|0", "s", "0|0|intervals"},
                 {"1|1|#1", "1|3|4|1|0", "1|2..", "1|.2.", "2|.1."}, {"1|1|#1", "1|3|4|1|0", "1|8*", "1|4*", "-2|4"}},
        FileCase{"MultiEvents", "Multi a b c;\na b.b c.c/", {"5|0|0", "3|0|0|0|1|1", "a|b|c", "0|0|events"},
                 {"1|1|#1", "1|3|3|1|0", "1|22.", "1|.12", "1|..1"}, {"1|1|#1", "1|3|3|1|0", "1|C*", "1|6|2", "-1|2"}},
        FileCase{"MultiContextCode", "Multi a b;\na+ b. b. a- b./", {"5|0|0", "2|0|0|0|1|1", "a|b", "0|0|events"},
                 {"1|1|#1", "1|4|4|1|0", "1|22", "1|11", "1|.1", "1|.."},
                 {"1|1|#1", "1|4|4|1|0", "1|C*", "-1|C", "-1|4", "-1|0"}},
        FileCase{"MultiContextReplicationStartStop", "Multi ($s = a b) c;\n,10 a+ c. b+. c*3. c. ,20/",
                 {"5|0|0", "3|0|1|0|1|1", "a|b|c", "1|1|0", "s", "1|0|events"},
                 {"1|1|#1", "1|5|7|10|20", "1|2.2", "1|.2.", "1|.12", "3|.11", "1|.1."},
                 {"1|1|#1", "1|5|7|10|20", "1|A*", "1|4*", "1|6|2", "-3|6", "-1|4"}}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.Name); });

TEST(CompiledFiles, LastSessionWithoutALevelIsAnError) {
  for (const auto& [text, pos] : {std::pair<std::string, std::uint32_t>{"Event a * sex(m f);\na (m)/ a/", 29},
                                  {"Event a;\na (x y)/ a (z)/", 24}}) {
    auto run = Compile(text, StampedOptions(false, "NOW"), false);
    EXPECT_EQ(run->Messages(), (std::vector<Reported>{{108, Error, pos}})) << text;
    EXPECT_EQ(run->State.ErrorCount, 1);
  }
}

TEST(CompiledFiles, SyntaxCheckWritesNoHeader) {
  auto run = Compile("Event a;\na/", StampedOptions(false, "NOW"), true);
  EXPECT_EQ(run->MdsLines, Tabbed({"0|0|events", "1|1|#1", "1|1|1|1|0", "1|2"}));
  EXPECT_EQ(run->State.SavedAt, "");
}

}  // namespace
}  // namespace vork::testing
