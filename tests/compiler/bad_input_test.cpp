#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/command_error.h"
#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

TEST(BadInput, BlankOrCommentOnlyTextsLackTheSemicolon) {
  for (const std::string text : {"   \n\t\n  ", "% a note\n! a block\nof notes !", "\n\n", "Event <unit"}) {
    EXPECT_EQ(Compile(text)->Messages(), (std::vector<Reported>{{4, Fatal, 0}})) << text;
  }
}

TEST(BadInput, TextEndingInsideALabelOrATime) {
  EXPECT_EQ(Compile("Event a;\na <label")->Messages(), (std::vector<Reported>{{47, Error, 10}}));
  EXPECT_EQ(Compile("Event a;\na ,12")->Messages(), (std::vector<Reported>{{47, Error, 13}}));
  EXPECT_EQ(Compile("Timed a;\na,10-")->Messages(), (std::vector<Reported>{{24, Warning, 12}, {47, Error, 14}}));
}

TEST(BadInput, EveryByteValueEndsInMessages) {
  std::string text = "Event a b;\n";
  for (int round = 0; round < 3; ++round) {
    for (int c = 0; c < 256; ++c) {
      if (c == '\n') continue;
      text += static_cast<char>(c);
      if (c % 40 == 0) text += '\n';
    }
  }
  for (const char* tail : {"", " /", " ! open"}) {
    auto run = Compile(text + tail);
    EXPECT_GT(run->State.ErrorCount, 0);
    EXPECT_EQ(run->NavPts.size(), run->List.Lines.size());
  }
  EXPECT_GT(Compile(text.substr(11) + ";")->State.ErrorCount, 0);  // the same bytes as declarations
}

TEST(BadInput, MegabyteLineCompilesInOnePass) {
  std::string line;
  for (int i = 0; i < 300000; ++i) line += "a ";
  line += "% " + std::string(500000, 'x');
  auto run = Compile("Event a;\n" + line + "\n/");
  EXPECT_TRUE(run->Messages().empty());
  ASSERT_EQ(run->Segments.size(), 1u);
  EXPECT_EQ(run->Segments[0].size(), 300000u * 5 + 3);
}

TEST(BadInput, ManyInvalidCharactersAndDuplicateCodes) {
  EXPECT_EQ(Compile("Event a;\n" + std::string(100000, '&') + " /")->State.ErrorCount, 100000);
  std::string codes = "Event";
  for (int i = 0; i < 100000; ++i) codes += " c" + std::to_string(i % 50000);
  auto duplicates = Compile(codes + ";");
  EXPECT_EQ(duplicates->State.ErrorCount, 50000);
  EXPECT_EQ(duplicates->State.NCodes, 100000);
}

// Segments no matrix in memory could hold are errors in the message list,
// at the token where they pass the budget, before anything is allocated.
TEST(BadInput, HugeSegmentsAreErrorsAtTheTokenThatPassesTheBudget) {
  const struct {
    std::string Text;
    std::uint32_t Pos;
    std::string Line;
  } cases[] = {
      {"Interval a b;\na*1500000000/", 17,
       "Segment too large: a segment of 1500000000 time units and 2 codes needs more than the 2048 MB a segment "
       "may take in memory; write it as several segments."},
      {"Multi a b c;\n,1 a*900000000 ,5/", 19,
       "Segment too large: a segment of 900000000 time units and 3 codes needs more than the 2048 MB a segment "
       "may take in memory; write it as several segments."},
      {"Timed a b;\na,0:00:00.000 b,1:00:00.000 ,400:00:00.000/", 41,
       "Segment too large: a segment of 1440000000 time units and 2 codes needs more than the 2048 MB a segment "
       "may take in memory; write it as several segments."},
  };
  for (const auto& c : cases) {
    auto run = Compile(c.Text, {}, false);
    EXPECT_EQ(run->Messages(), (std::vector<Reported>{{0, Error, c.Pos}})) << c.Text;
    EXPECT_EQ(run->List.Lines, (dynString{c.Line})) << c.Text;
    EXPECT_EQ(run->State.ErrorCount, 1) << c.Text;
  }
  auto run = Compile("Interval a;\na*100000, a*100000/", {}, false);  // replications add up
  ASSERT_EQ(run->State.ErrorCount, 0);
  EXPECT_EQ(std::vector<std::string>(run->MdsLines.begin() + 6, run->MdsLines.end()),
            (std::vector<std::string>{"1\t2\t200000\t1\t0", "1\t8*", "-199999\t8"}));
}

// Texts made of the data part's tokens in any order, for every data type and
// declaration kind, end in messages or a compiled file, never in a fault.
TEST(BadInput, TokenSoupNeverFaults) {
  const std::vector<std::string> heads{"Event a b (c d) * f(x y);", "Timed a b (c d);", "State a b (c d);",
                                       "Interval a b ($s = c d);", "Multi a b (c d);", "Event;", "Timed;"};
  const std::vector<std::string> words{"a", "b", "c", "d", "e", ",", "+", "-", "*", "&", "=", ".", "(", ")",
                                       "x", "0", "3", "12", "1.5", "2:30", "-)", "15)", ";", "/", " ", "\n", "<s>"};
  std::mt19937 random(99);
  for (int round = 0; round < 1500; ++round) {
    std::string text = heads[random() % heads.size()] + "\n";
    const int length = 1 + static_cast<int>(random() % 40);
    for (int k = 0; k < length; ++k) text += words[random() % words.size()] + (random() % 2 == 0 ? " " : "");
    if (random() % 2 == 0) text += "/";
    try {
      EXPECT_GE(Compile(text, {}, false)->State.ErrorCount, 0);
    } catch (const CommandError&) {
    }
  }
}

}  // namespace
}  // namespace vork::testing
