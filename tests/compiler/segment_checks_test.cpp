#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/command_error.h"
#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

struct CheckCase {
  const char* Name;
  std::string Text;
  std::vector<Reported> Expected;
  CompileOptions Options = {};
};

CompileOptions RepeatCheckOn() {
  CompileOptions options;
  options.RepeatCheck = true;
  return options;
}

CompileOptions ExclusivityCheckOn() {
  CompileOptions options;
  options.ExclusivityCheck = true;
  return options;
}

class SegmentChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SegmentChecks, ReportTheirMessagesAtTheirTokens) {
  const CheckCase& c = GetParam();
  auto run = Compile(c.Text, c.Options, false);
  EXPECT_EQ(run->Messages(), c.Expected) << c.Text;
}

// Positions: the declaration line and its line break come first, so the
// data line's column k is at the declaration's length + 2 + k - 1.
INSTANTIATE_TEST_SUITE_P(
    Compile, SegmentChecks,
    ::testing::Values(
        CheckCase{"SyntaxErrorAtTheTokenBefore", "Event a b;\na ,5 b/", {{84, Error, 15}}},
        CheckCase{"SyntaxErrorAsFirstTokenAtTextStart", "Timed a;\n+ a,1 ,3/", {{71, Error, 0}}},
        CheckCase{"RecoverySkipsToTheNextCode",
                  "Timed a b;\na,1 , , b,2 ,5/",
                  {{78, Error, 16}}},
        CheckCase{"TimedOnsetBeforePreviousOnset",
                  "Timed a b c;\na,10 b,15 c,12 ,20/",
                  {{31, Error, 24}}},
        CheckCase{"TimedOffsetBeforeOnset", "Timed a b;\na,10 b,15-12 ,20/", {{33, Error, 22}}},
        CheckCase{"TimedRegularThenContext",
                  "Timed a;\na,1 a,+2 ,5/",
                  {{27, Error, 14}}},
        CheckCase{"TimedContextEndAtSegmentStart",
                  "Timed a b;\nb,0 a,-0 ,5/",
                  {{28, Error, 19}}},
        CheckCase{"TimedContextEndBeforePrevious",
                  "Timed a b;\nb,0 b,3 a,-2 ,5/",
                  {{36, Error, 23}}},
        CheckCase{"RepeatedEvent", "Event a b;\na a b/", {{50, Warning, 14}}, RepeatCheckOn()},
        CheckCase{"RepeatCheckOffIsSilent", "Event a b;\na a b/", {}},
        CheckCase{"ReplicatedContextCode", "Interval a;\na+ * 2 , /", {{30, Error, 18}}},
        CheckCase{"ContextEndInFirstInterval", "Interval a;\na- , /", {{28, Error, 13}}},
        CheckCase{"TwoContextEndsWithoutStart", "Interval a;\na+ , a- , a- , /", {{111, Error, 23}}},
        CheckCase{"RegularThenContextCode", "Interval a;\na , a+ , /", {{27, Error, 17}}},
        CheckCase{"StateCommaInDurations", "State a b;\na,0 b=2/", {{38, Error, 13}}},
        CheckCase{"ExclusiveCodesOverlap",
                  "Timed (a b);\na,10-15 b,12/",
                  {{51, Warning, 24}},
                  ExclusivityCheckOn()},
        CheckCase{"ExclusiveCodesApart",
                  "Timed (a b);\na,10-12 b,12 ,15/",
                  {},
                  ExclusivityCheckOn()},
        CheckCase{"LevelNotDeclared", "Event a * sex(m f);\na (x)/", {{43, Error, 24}}},
        CheckCase{"TooManyLevels", "Event a * sex(m f);\na (m f)/", {{42, Error, 26}}},
        CheckCase{"SecondLevelList", "Event a * sex(m f);\na (m) (f)/", {{40, Error, 27}}}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.Name); });

// Segments that no matrix in memory could hold end the compile with an
// error that names the segment, before anything is allocated for them.
TEST(SegmentSize, HugeSegmentsEndTheCompileWithAClearError) {
  const std::vector<std::string> texts{
      "Interval a b;\na*1500000000/",
      "Multi a b c;\n,1 a*900000000 ,5/",
      "Timed a b;\na,0:00:00.000 b,1:00:00.000 ,400:00:00.000/",
  };
  for (const std::string& text : texts) {
    try {
      Compile(text, {}, false);
      ADD_FAILURE() << "no error for " << text;
    } catch (const CommandError& e) {
      EXPECT_NE(std::string(e.what()).find("Segment 1 of session 1 (line 2) is too large"),
                std::string::npos)
          << e.what();
    }
  }
}

TEST(SegmentSize, ReplicationsAddUpToTheTimeUnits) {
  auto run = Compile("Interval a;\na*100000, a*100000/", {}, false);
  ASSERT_EQ(run->State.ErrorCount, 0);
  ASSERT_EQ(run->MdsLines.size(), 9u);
  EXPECT_EQ(run->MdsLines[6], "1\t2\t200000\t1\t0");
  EXPECT_EQ(run->MdsLines[7], "1\t8*");
  EXPECT_EQ(run->MdsLines[8], "-199999\t8");
}

// Texts made of the data part's tokens in any order, for every data type
// and declaration kind: whatever they hold, the compile ends in messages
// or a compiled file, never in a fault.
TEST(SegmentChecks, TokenSoupNeverFaults) {
  const std::vector<std::string> heads{"Event a b (c d) * f(x y);", "Timed a b (c d);",
                                       "State a b (c d);", "Interval a b ($s = c d);",
                                       "Multi a b (c d);", "Event;", "Timed;"};
  const std::vector<std::string> words{"a", "b", "c", "d", "e", ",", "+", "-", "*", "&", "=",
                                       ".", "(", ")", "x", "0", "3", "12", "1.5", "2:30",
                                       "-)", "15)", ";", "/", " ", "\n", "<s>"};
  std::mt19937 random(99);
  for (int round = 0; round < 1500; ++round) {
    std::string text = heads[random() % heads.size()] + "\n";
    const int length = 1 + static_cast<int>(random() % 40);
    for (int k = 0; k < length; ++k) {
      const std::string& word = words[random() % words.size()];
      text += word;
      if (random() % 2 == 0) text += " ";
    }
    if (random() % 2 == 0) text += "/";
    try {
      auto run = Compile(text, {}, false);
      EXPECT_GE(run->State.ErrorCount, 0);
    } catch (const CommandError&) {
    }
  }
}

}  // namespace
}  // namespace vork::testing
