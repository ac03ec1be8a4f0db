#pragma once

#include <string>

namespace vork {

// The look of a message box.
enum class BoxStyle { Notice, Question, Warning, Error };

// The button sets message boxes offer.
enum class Buttons { Ok, YesNo, YesNoCancel, OkIgnore, OkCancel, OkAbort, AbortIgnore, YesAbort };

// The button the user pressed.
enum class Answer { Ok, Yes, No, Cancel, Ignore, Abort };

// What an engine routine needs from whoever runs it: message boxes, the
// beep and progress. Windows answer with real boxes; tests answer by script.
class UserDialogue {
 public:
  virtual ~UserDialogue() = default;

  // Shows a message box and returns the button pressed.
  virtual Answer Ask(BoxStyle style, const std::string& text, Buttons buttons) = 0;

  // A plain notice with OK.
  void Notify(const std::string& text) { Ask(BoxStyle::Notice, text, Buttons::Ok); }

  virtual void Beep() {}

  // Moves a progress bar to position out of max (max 0 hides it).
  virtual void Progress(int position, int max) {
    (void)position;
    (void)max;
  }
};

// Answers every box with OK and shows nothing: for reading files where no
// one is there to ask.
class SilentDialogue : public UserDialogue {
 public:
  Answer Ask(BoxStyle, const std::string&, Buttons) override { return Answer::Ok; }
};

}  // namespace vork
