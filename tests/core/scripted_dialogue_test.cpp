#include "tests/support/scripted_dialogue.h"

#include <gtest/gtest.h>

namespace vork::testing {
namespace {

TEST(ScriptedDialogue, AnswersInTheOrderScripted) {
  ScriptedDialogue dialogue;
  dialogue.Then(Answer::No).Then(Answer::Cancel);
  EXPECT_EQ(dialogue.Ask(BoxStyle::Question, "Save?", Buttons::YesNoCancel), Answer::No);
  EXPECT_EQ(dialogue.Ask(BoxStyle::Question, "Really?", Buttons::YesNoCancel), Answer::Cancel);
  ASSERT_EQ(dialogue.Shown.size(), 2u);
  EXPECT_EQ(dialogue.Shown[1].Text, "Really?");
}

}  // namespace
}  // namespace vork::testing
