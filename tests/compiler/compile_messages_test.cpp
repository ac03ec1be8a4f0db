#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_sds.h"
#include "compiler/compiler_messages.h"
#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

TEST(CompilerMessages, KeepTheirTextsAndKinds) {
  EXPECT_EQ(CompilerMessageLine(1), "No terminating character found for multiline comment.");
  EXPECT_EQ(CompilerMessageLine(9), "Interval duration ,ust be integer.");
  EXPECT_EQ(CompilerMessageLine(49), "Duplicate session labels found.  OK? (warning)");
  EXPECT_EQ(CompilerMessageLine(58), "codes or $setname  expected after opening (");
  EXPECT_EQ(CompilerMessageLine(96), "time (or context \u00b1) expected after comma");
  EXPECT_EQ(CompilerMessageLine(102), "another factor level or closing right parentheis expected");
  EXPECT_EQ(CompilerMessageLine(111), "Add a previous positive context code for this negative context code.");
  EXPECT_EQ(CompilerMessages[4].Kind, MessageKind::Fatal);
  EXPECT_EQ(CompilerMessages[8].Kind, MessageKind::Fatal);
  EXPECT_EQ(CompilerMessages[110].Kind, MessageKind::Warning);
  EXPECT_EQ(CompilerMessages[108].Kind, MessageKind::Error);
}

// The message lines and dialogue of one compile through the public entry.
struct Outcome {
  CompilerMessageLines List;
  dynCardinal NavPts;
  ScriptedDialogue Dialogue;
  dynString MdsLines;
  int ErrorCount = -1;
  std::string SavedAt = "unchanged";

  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : Dialogue.Shown) {
      EXPECT_EQ(box.Style, BoxStyle::Error);
      texts.push_back(box.Text);
    }
    return texts;
  }
};

void CompileText(Outcome& out, dynString lines, int maxErrors, CompileOptions options = {}, bool syntaxOnly = true) {
  CompileSds(lines, out.MdsLines, out.List, out.NavPts, out.Dialogue, syntaxOnly, maxErrors, out.ErrorCount,
             out.SavedAt, options);
}

// Two warnings (second and third labels), then three errors (repeated codes).
const dynString TwoWarningsThreeErrors = {"Event <l1> <l2> <l3> a a a a;"};

TEST(StopQuestions, ComeAtEveryMultipleOfTheLimitCountedApart) {
  Outcome out;
  out.Dialogue.Then(Answer::No).Then(Answer::No);
  CompileText(out, TwoWarningsThreeErrors, 2);
  EXPECT_EQ(out.Boxes(), (std::vector<std::string>{"2 warnings found. Stop?", "2 errors found. Stop?"}));
  EXPECT_EQ(out.Dialogue.Shown[0].ButtonSet, Buttons::YesNo);
  EXPECT_EQ(out.List.Lines.size(), 5u);
  EXPECT_EQ(out.ErrorCount, 3);
  EXPECT_EQ(out.SavedAt, "unchanged");

  std::string text = "Event";
  for (int i = 0; i < 51; ++i) text += " a";
  Outcome many;
  many.Dialogue.Then(Answer::No).Then(Answer::No);
  CompileText(many, {text + ";"}, 25);
  EXPECT_EQ(many.Boxes(), (std::vector<std::string>{"25 errors found. Stop?", "50 errors found. Stop?"}));
  EXPECT_EQ(many.ErrorCount, 50);
}

TEST(StopQuestions, YesStopsReporting) {
  Outcome out;
  out.Dialogue.Then(Answer::No).Then(Answer::Yes);
  CompileText(out, TwoWarningsThreeErrors, 2);
  EXPECT_EQ(out.List.Lines, (dynString{"Only one <time-unit label> can be declared. (warning)",
                                       "Only one <time-unit label> can be declared. (warning)",
                                       "Code name already defined.", "Code name already defined."}));
  EXPECT_EQ(out.NavPts, (dynCardinal{11, 16, 23, 25}));
  EXPECT_EQ(out.ErrorCount, 2);
}

// Stopping at a warning question leaves the segment being parsed without its
// lines; such a compile must not pass for one without errors, or the caller
// would save its lines as a compiled file.
TEST(StopQuestions, CompileStoppedAtAWarningIsNotACompiledFile) {
  Outcome out;
  out.Dialogue.Then(Answer::Yes);
  CompileText(out, {"Event a;", "a a a/"}, 1, With(&CompileOptions::RepeatCheck), false);
  EXPECT_EQ(out.Boxes(), (std::vector<std::string>{"1 warnings found. Stop?"}));
  EXPECT_GT(out.ErrorCount, 0);
  EXPECT_EQ(out.SavedAt, "unchanged");
}

TEST(FatalError, ListsItsLineThenShowsTheBoxAndEndsReporting) {
  Outcome out;
  out.Dialogue.Then(Answer::Ok);
  CompileText(out, {"Event a & ! never", "closed"}, 25);
  EXPECT_EQ(out.List.Lines, (dynString{"Unrecognized syntax or character.",
                                       "No terminating character found for multiline comment."}));
  EXPECT_EQ(out.NavPts, (dynCardinal{8, 10}));
  EXPECT_EQ(out.Boxes(), (std::vector<std::string>{" Fatal error"}));
  EXPECT_EQ(out.ErrorCount, 2);

  Outcome data;
  data.Dialogue.Then(Answer::Ok);
  CompileText(data, {"Event a b;", "a ! never", "closed /"}, 25);
  EXPECT_EQ(data.List.Lines, (dynString{"No terminating character found for multiline comment."}));
  EXPECT_EQ(data.NavPts, (dynCardinal{14}));
  EXPECT_EQ(data.ErrorCount, 1);
}

TEST(CompileEntry, OneCharacterOptionWarnsFirst) {
  Outcome out;
  CompileText(out, {"Event ab;", "a b /"}, 25, With(&CompileOptions::OneCharCodes));
  EXPECT_EQ(out.List.Lines, (dynString{"The option, all codes are a single character, is checked. OK? (warning)"}));
  EXPECT_EQ(out.NavPts, (dynCardinal{1}));
  EXPECT_EQ(out.ErrorCount, 0);
}

TEST(CompileEntry, EmptyTextTouchesNothing) {
  Outcome out;
  out.ErrorCount = 7;
  out.List.Lines = {"old"};
  CompileText(out, {}, 25);
  EXPECT_EQ(out.ErrorCount, 7);
  EXPECT_EQ(out.List.Lines, (dynString{"old"}));
  EXPECT_TRUE(out.Dialogue.ProgressCalls.empty());
}

TEST(CompileEntry, CommentCharactersAreChosenAnewEachCompile) {
  Outcome first, second;
  CompileText(first, {"Event a % b % c;", "a /"}, 25);
  EXPECT_EQ(first.ErrorCount, 0);
  CompileOptions none;
  none.SingLineComX = 0;
  CompileText(second, {"Event a % b % c;", "a /"}, 25, none);
  EXPECT_EQ(second.List.Lines, (dynString{"Code name already defined."}));
  EXPECT_EQ(second.NavPts, (dynCardinal{12}));
}

}  // namespace
}  // namespace vork::testing
