#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

TEST(BadInput, BlankOrCommentOnlyTextsLackTheSemicolon) {
  const std::string texts[] = {"   \n\t\n  ", "% a note\n! a block\nof notes !", "\n\n"};
  for (const std::string& text : texts) {
    auto run = Compile(text);
    EXPECT_EQ(run->Messages(), (std::vector<Reported>{{4, Fatal, 0}})) << text;
  }
  auto blank = Compile(" \n\t");
  EXPECT_TRUE(blank->SdsLines.empty());
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
  // The same bytes as the declaration part.
  auto header = Compile(text.substr(11) + ";");
  EXPECT_GT(header->State.ErrorCount, 0);
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
  auto invalid = Compile("Event a;\n" + std::string(100000, '&') + " /");
  EXPECT_EQ(invalid->State.ErrorCount, 100000);
  std::string codes = "Event";
  for (int i = 0; i < 100000; ++i) codes += " c" + std::to_string(i % 50000);
  auto duplicates = Compile(codes + ";");
  EXPECT_EQ(duplicates->State.ErrorCount, 50000);
  EXPECT_EQ(duplicates->State.NCodes, 100000);
}

TEST(BadInput, TextEndingInsideALabelOrATime) {
  EXPECT_EQ(Compile("Event a;\na <label")->Messages(), (std::vector<Reported>{{47, Error, 10}}));
  EXPECT_EQ(Compile("Event a;\na ,12")->Messages(), (std::vector<Reported>{{47, Error, 13}}));
  EXPECT_EQ(Compile("Event <unit")->Messages(), (std::vector<Reported>{{4, Fatal, 0}}));
  EXPECT_EQ(Compile("Timed a;\na,10-")->Messages(),
            (std::vector<Reported>{{24, Warning, 12}, {47, Error, 14}}));
}

}  // namespace
}  // namespace vork::testing
