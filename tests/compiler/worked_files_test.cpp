#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/compile_fixture.h"
#include "tests/compiler/tabbed_lines.h"

namespace vork::testing {
namespace {

// Whole compiled files of every data type, each matrix worked out cell by
// cell from the KELP text: streams, combinations, inclusive offsets,
// context codes of one set giving way to each other, replications,
// explicit start and stop times, factors with replicate numbers.
struct FileCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Header;      // lines 1 to the units line
  std::vector<std::string> Plain;       // sessions with plain data lines
  std::vector<std::string> Compressed;  // the same with compressed data lines
  std::vector<Reported> Messages = {};
};

class WorkedFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(WorkedFiles, CompileToTheLinesWorkedOutByHand) {
  const FileCase& c = GetParam();
  for (bool compressed : {false, true}) {
    auto run = Compile(c.Text, StampedOptions(compressed, "NOW"), false);
    std::vector<std::string> expected{std::string(compressed ? "" : "|") +
                                      "MDS file saved by KELP compiler Version 5.1 NOW"};
    expected.insert(expected.end(), c.Header.begin(), c.Header.end());
    const auto& data = compressed ? c.Compressed : c.Plain;
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(run->MdsLines, Tabbed(expected)) << c.Text << (compressed ? " (compressed)" : " (plain)");
    EXPECT_EQ(run->Messages(), c.Messages) << c.Text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Compile, WorkedFiles,
    ::testing::Values(
        // Session 1 has two segments, the first with a start and a stop;
        // the level line follows the session line; replicates count the
        // sessions of each level.
        FileCase{"EventSegmentsAndReplicates",
                 "Event a b c * grp(x y);\n<s1> (y) ,2 c a ,9 ; a b b c /\n(x) c/\n(y) a/",
                 {"1|0|0", "3|0|0|1|3|2", "a|b|c", "grp|2|x|y", "1|0|events"},
                 {"1|2|s1", "2", "1|2|2|2|9", "1|..2", "1|2..", "2|3|4|1|0", "1|2..", "2|.2.",
                  "1|..2",
                  "1|1|#2", "1", "1|1|1|1|0", "1|..2",
                  "2|1|#3", "2", "1|1|1|1|0", "1|2.."},
                 {"1|2|s1", "2", "1|2|2|2|9", "1|2*", "1|8*", "2|3|4|1|0", "1|8*", "2|4*", "1|2*",
                  "1|1|#2", "1", "1|1|1|1|0", "1|2*",
                  "2|1|#3", "2", "1|1|1|1|0", "1|8*"}},
        // Stream 1: a from 0 through its inclusive offset 3, b open from 2
        // to the end of the stream; stream 2: c from 1 up to 4.
        FileCase{"TimedStreamsAndOffsets",
                 "Timed a b c;\na,0-3) b,2- & c,1-4 ,6/",
                 {"2|0|0", "3|0|0|0|1|1", "a|b|c", "1|0|seconds"},
                 {"1|1|#1", "1|5|6|0|6", "1|2..", "1|1.2", "1|121", "1|111", "2|.1."},
                 {"1|1|#1", "1|5|6|0|6", "1|8*", "1|A|2", "1|E|4", "-1|E", "-2|4"}},
        // Context codes a and b of one set: b's start ends a.
        FileCase{"TimedContextCodesOfOneSet",
                 "Timed ($s = a b) c;\nc,0 a,+1 b,+3 c,5 ,7/",
                 {"2|0|0", "3|0|1|0|1|1", "a|b|c", "1|1|0", "s", "1|0|seconds"},
                 {"1|1|#1", "1|7|7|0|7", "1|..2", "1|2..", "1|1..", "1|.2.", "1|.1.", "1|.12",
                  "1|.1."},
                 {"1|1|#1", "1|7|7|0|7", "1|2*", "1|8*", "-1|8", "1|4*", "-1|4", "1|6|2",
                  "-1|4"}},
        // A combination lasts to the next state of its stream; the last
        // state of each stream lasts to the segment's end.
        FileCase{"StateStreamsAndCombination",
                 "State a b c d;\na+b,1 c,3 & d,0 ,5/",
                 {"3|0|0", "4|0|0|0|1|1", "a|b|c|d", "1|0|seconds"},
                 {"1|1|#1", "1|5|5|0|5", "1|...2", "1|22.1", "1|11.1", "1|..21", "1|..11"},
                 {"1|1|#1", "1|5|5|0|5", "1|1*", "1|D|C", "-1|D", "1|3|2", "-1|3"}},
        // A zero duration marks only the onset, and the next state begins
        // in the same unit.
        FileCase{"StateDurationsWithZero",
                 "State a b c d;\na=2 b=0 c=1 & d=4/",
                 {"3|0|0", "4|0|0|0|1|1", "a|b|c|d", "1|0|seconds"},
                 {"1|1|#1", "1|4|4|1|5", "1|2..2", "1|1..1", "1|.221", "1|...1"},
                 {"1|1|#1", "1|4|4|1|5", "1|9*", "-1|9", "1|7|6", "-1|1"}},
        // A context end at the stop time leaves the code on to the end.
        FileCase{"TimedContextEndAtTheStop",
                 "Timed a b;\nb,0 a,+2 a,-5/",
                 {"2|0|0", "2|0|0|0|1|1", "a|b", "1|0|seconds"},
                 {"1|1|#1", "1|4|5|0|5", "1|.2", "1|..", "1|2.", "2|1."},
                 {"1|1|#1", "1|4|5|0|5", "1|4*", "-1|0", "1|8*", "-2|8"}},
        // An end without a start gives the code a start in the first
        // interval.
        FileCase{"IntervalContextEndWithoutStart",
                 "Interval a b;\nb , a- , /",
                 {"4|1|1", "2|0|0|0|1|1", "a|b", "0|0|intervals"},
                 {"1|1|#1", "1|2|3|1|0", "1|22", "2|.."},
                 {"1|1|#1", "1|2|3|1|0", "1|C*", "-2|0"},
                 {{29, Warning, 19}}},
        // b*4 stands for four intervals in three columns; c ends after the
        // interval in which "-)" stands.
        FileCase{"IntervalReplicationAndContextEnd",
                 "Interval=2' a b c;\na b , b*4 , c+ , a , c-) , /",
                 {"4|2|2", "3|0|0|0|1|1", "a|b|c", "0|0|2sInts"},
                 {"1|1|#1", "1|6|9|1|0", "1|22.", "4|.1.", "1|..2", "1|2.1", "1|..1", "1|..."},
                 {"1|1|#1", "1|6|9|1|0", "1|C*", "-4|4", "1|2*", "1|A|8", "-1|2", "-1|0"}},
        FileCase{"MultiContextReplicationStartStop",
                 "Multi ($s = a b) c;\n,10 a+ c. b+. c*3. c. ,20/",
                 {"5|0|0", "3|0|1|0|1|1", "a|b|c", "1|1|0", "s", "1|0|events"},
                 {"1|1|#1", "1|5|7|10|20", "1|2.2", "1|.2.", "1|.12", "3|.11", "1|.1."},
                 {"1|1|#1", "1|5|7|10|20", "1|A*", "1|4*", "1|6|2", "-3|6", "-1|4"}},
        // Sessions 2 and 3 have no levels and take those of session 4.
        FileCase{"TwoFactorsCompletedBackwards",
                 "Event a * sex(m f) age(y o);\na (f,o)/ a / a / a (m y)/ a (f o)/",
                 {"1|0|0", "1|0|0|2|5|3", "a", "sex|2|m|f", "age|2|y|o", "0|0|events"},
                 {"1|1|#1", "2|2", "1|1|1|1|0", "1|2",
                  "1|1|#2", "1|1", "1|1|1|1|0", "1|2",
                  "2|1|#3", "1|1", "1|1|1|1|0", "1|2",
                  "3|1|#4", "1|1", "1|1|1|1|0", "1|2",
                  "2|1|#5", "2|2", "1|1|1|1|0", "1|2"},
                 {"1|1|#1", "2|2", "1|1|1|1|0", "1|8*",
                  "1|1|#2", "1|1", "1|1|1|1|0", "1|8*",
                  "2|1|#3", "1|1", "1|1|1|1|0", "1|8*",
                  "3|1|#4", "1|1", "1|1|1|1|0", "1|8*",
                  "2|1|#5", "2|2", "1|1|1|1|0", "1|8*"},
                 {{110, Warning, 63}}}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace vork::testing
