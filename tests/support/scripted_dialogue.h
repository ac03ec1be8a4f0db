#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/user_dialogue.h"

namespace vork::testing {

// Answers message boxes from a script and records every box shown.
// A box the script did not expect fails the test and answers Ok.
class ScriptedDialogue : public UserDialogue {
 public:
  struct Box {
    BoxStyle Style;
    std::string Text;
    Buttons ButtonSet;
  };

  // Queues the answer to the next box.
  ScriptedDialogue& Then(Answer answer) {
    Answers.push_back(answer);
    return *this;
  }

  Answer Ask(BoxStyle style, const std::string& text, Buttons buttons) override;
  void Beep() override { ++Beeps; }
  void Progress(int position, int max) override { ProgressCalls.push_back({position, max}); }

  std::deque<Answer> Answers;
  std::vector<Box> Shown;
  int Beeps = 0;
  std::vector<std::pair<int, int>> ProgressCalls;
  // When true, a box without a queued answer is answered Ok without failing.
  bool AnswerOkWhenUnscripted = false;
};

}  // namespace vork::testing
