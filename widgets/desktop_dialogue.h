#pragma once

#include "core/user_dialogue.h"

class QProgressBar;

namespace vork {

class Platform;

// What a window gives the engine routine it runs: questions and beeps go
// to the desktop, progress moves the window's bar. The routine holds the
// only thread until it ends, so the bar is painted at once at every step
// and a long run never looks frozen.
class DesktopDialogue : public UserDialogue {
 public:
  DesktopDialogue(Platform& platform, QProgressBar& bar) : Desktop(platform), Bar(bar) {}
  Answer Ask(BoxStyle style, const std::string& text, Buttons buttons) override;
  void Beep() override;
  // The bar shows position out of max (its range follows max; a max of 0
  // empties it).
  void Progress(int position, int max) override;

 private:
  Platform& Desktop;
  QProgressBar& Bar;
};

}  // namespace vork
