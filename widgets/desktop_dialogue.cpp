#include "widgets/desktop_dialogue.h"

#include <QProgressBar>
#include <algorithm>

#include "widgets/platform.h"

namespace vork {

Answer DesktopDialogue::Ask(BoxStyle style, const std::string& text, Buttons buttons) {
  return Desktop.Ask(style, text, buttons);
}

void DesktopDialogue::Beep() { Desktop.Beep(); }

void DesktopDialogue::Progress(int position, int max) {
  const int highest = std::max(max, 1);
  if (Bar.maximum() != highest || Bar.minimum() != 0) Bar.setRange(0, highest);
  Bar.setValue(max > 0 ? std::clamp(position, 0, max) : 0);
  Bar.repaint();
}

}  // namespace vork
