#include "widgets/number_up_down.h"

#include <QLineEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include "widgets/digit_edit.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

TEST(NumberUpDown, ButtonsStepTheNumberShownAndStopAtTheEnds) {
  struct Case {
    const char* Typed;
    const char* Clicks;  // 'u' up, 'd' down
    const char* Shown;
    int Position;
    int Beeps;
  };
  const Case cases[] = {
      {"0", "uu", "2", 2, 0},
      {"3", "ddddd", "-2", -2, 0},
      {"32766", "uuu", "32767", 32767, 0},
      {"-32767", "ddd", "-32768", -32768, 0},
      {"12a", "d", "11", 11, 1},  // the filter cleans the text before the step
      {"-", "u", "1", 1, 0},      // a lone minus stands for 0
      {"99999", "", "32767", 32767, 1},
  };
  for (const Case& c : cases) {
    testing::ScriptedDialogue dialogue;
    TNumberUpDown number("0", LagDigits.Least, LagDigits.Greatest, DigitEditFilter(LagDigits, dialogue), nullptr);
    number.Edit()->setText(c.Typed);
    for (const char* click = c.Clicks; *click != '\0'; ++click)
      (*click == 'u' ? number.UpButton() : number.DownButton())->click();
    EXPECT_EQ(number.Edit()->text(), c.Shown) << c.Typed << " " << c.Clicks;
    EXPECT_EQ(number.Position(), c.Position) << c.Typed << " " << c.Clicks;
    EXPECT_EQ(dialogue.Beeps, c.Beeps) << c.Typed << " " << c.Clicks;
  }
}

TEST(NumberUpDown, APositionSetFromOutsideIsHeldToTheRange) {
  testing::ScriptedDialogue dialogue;
  TNumberUpDown percent("80", 0, 100, DigitEditFilter({0, 100, "0"}, dialogue), nullptr);
  EXPECT_EQ(percent.Position(), 80);
  const std::pair<int, const char*> cases[] = {{150, "100"}, {-4, "0"}, {7, "7"}};
  for (const auto& [value, shown] : cases) {
    percent.SetPosition(value);
    EXPECT_EQ(percent.Edit()->text(), shown) << value;
  }
  EXPECT_EQ(percent.Position(), 7);
  EXPECT_EQ(dialogue.Beeps, 0);
}

}  // namespace
}  // namespace vork
