#include "tests/support/scripted_dialogue.h"

#include <gtest/gtest.h>

namespace vork::testing {

Answer ScriptedDialogue::Ask(BoxStyle style, const std::string& text, Buttons buttons) {
  Shown.push_back({style, text, buttons});
  if (Answers.empty()) {
    if (!AnswerOkWhenUnscripted) ADD_FAILURE() << "unexpected message box: " << text;
    return Answer::Ok;
  }
  Answer answer = Answers.front();
  Answers.pop_front();
  return answer;
}

}  // namespace vork::testing
