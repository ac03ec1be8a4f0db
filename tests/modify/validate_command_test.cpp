#include <gtest/gtest.h>

#include "tests/modify/modify_fixture.h"

namespace vork::testing {
namespace {

TEST(ValidateCommand, RefusesOrAsksAsTheUserIsTold) {
  struct Case {
    ModifyCommand Command;
    std::vector<Answer> Answers;
    std::string Box;  // the only box shown, "" for none
    bool Goes;
    int NumberAfter;
  };
  WindowParms twoCodes{1, 0, 1, 0};
  ModifyCommand windowTwo = Command(CommandWindow, "w", {"a", "b"});
  windowTwo.Window = twoCodes;
  const Case cases[] = {
      {Command(CommandAnd, " ", {"a"}), {Answer::Ok}, "Name for new code needed.", false, CommandAnd},
      {Command(CommandRecode, "", {"a"}), {Answer::Yes},
       "Do you want to recode all successive identical events as one event?", true, CommandRecodeAll},
      {Command(CommandRecode, "", {"a"}), {Answer::No},
       "Do you want to recode all successive identical events as one event?", false, CommandRecode},
      {Command(CommandRecode, "", {}), {Answer::Yes},
       "Do you want to recode all successive identical events as one event?", true, CommandRecodeAll},
      {Command(CommandRemove, "x", {"a"}), {Answer::No}, "New code not needed for Remove or Event. Continue?", false,
       CommandRemove},
      {Command(CommandEvent, "x", {}), {Answer::Yes}, "New code not needed for Remove or Event. Continue?", true,
       CommandEvent},
      {Command(CommandOr, "b", {"a"}), {Answer::Ok}, "Name for new code cannot be the same as an exisiting code.",
       false, CommandOr},
      {Command(CommandOr, "B", {"a"}), {}, "", true, CommandOr},
      {Command(CommandOr, "x\ty", {"a"}), {Answer::Ok}, "Name for new code cannot hold a TAB or a line break.",
       false, CommandOr},
      {Command(CommandXor, "x", {}), {Answer::Ok}, "Names for old codes needed.", false, CommandXor},
      {Command(CommandWindow, "w", {"a", "b", "c"}), {Answer::Ok},
       "Only one or two old codes can be named for the WINDOW command.", false, CommandWindow},
      {Command(CommandWindow, "w", {"a", "b"}), {Answer::Ok},
       "'to \u00b1 units' cannot be null; needed for 2nd code named.", false, CommandWindow},
      {windowTwo, {}, "", true, CommandWindow},
      {Command(CommandRename, "x", {"a", "b"}), {Answer::Ok}, "Only one old code can be given for this command.",
       false, CommandRename},
      {Command(CommandRemove, "", {"a", "b", "c"}), {Answer::Ok}, "Can't remove all codes; name fewer.", false,
       CommandRemove},
      {Command(CommandRemove, "", {"a", "b"}), {}, "", true, CommandRemove},
  };
  const ModifyFile file = CompiledFile("Event a b c;\na b c/");
  for (const Case& c : cases) {
    ScriptedDialogue dialogue;
    for (Answer a : c.Answers) dialogue.Then(a);
    ModifyCommand command = c.Command;
    SCOPED_TRACE(std::string(ModifyCommandNames[command.Number]) + " " + command.NewCode);
    EXPECT_EQ(ValidateCommand(command, file.Header, dialogue), c.Goes);
    EXPECT_EQ(command.Number, c.NumberAfter);
    ASSERT_EQ(dialogue.Shown.size(), c.Box.empty() ? 0u : 1u);
    if (!c.Box.empty()) {
      EXPECT_EQ(dialogue.Shown[0].Text, c.Box);
    }
  }
}

TEST(EchoModifyCommand, WritesTheCommandAsTyped) {
  struct Case {
    ModifyCommand Command;
    WindowCounts Counts;
    bool AllCodes;
    std::vector<std::string> CountLines;
    std::string Text;
  };
  ModifyCommand window = Command(CommandWindow, "NEW", {"A", "B"});
  window.Window = {0, 2, 1, -1};
  ModifyCommand windowOne = Command(CommandWindow, "W", {"A"});
  windowOne.Window = {2, 0, NullToPart, 0};
  ModifyCommand bout = Command(CommandBout, "NEW", {"A", "B"});
  bout.BoutGap = 3;
  const Case cases[] = {
      {Command(CommandAnd, "NEW", {"A", "B"}), {}, false, {}, "And NEW= A B;"},
      {window, {0, 2, 0}, false, {}, "Window NEW=(A+2,B-1;"},
      {windowOne, {1, 2, 3}, false,
       {"\t1 null windows (stop < start).", "\t2 truncated windows (at start or end).", "\t3 overlapped windows."},
       "Window W=A);"},
      {bout, {}, false, {}, "Bout NEW= A B (3);"},
      {Command(CommandRemove, "", {"A", "B"}), {}, false, {}, "Remove A B;"},
      {Command(CommandRecodeAll, "", {"A"}), {}, false, {}, "Recode A;"},
      {Command(CommandEvent, "", {"A", "B", "C"}), {}, true, {}, "Event;"},
      {Command(CommandEvent, "", {"B"}), {}, false, {}, "Event B;"},
  };
  for (const Case& c : cases) {
    const ModifyEcho echo = EchoModifyCommand(c.Command, c.Counts, c.AllCodes);
    EXPECT_EQ(echo.Text, c.Text);
    EXPECT_EQ(echo.CountLines, dynString(c.CountLines.begin(), c.CountLines.end())) << c.Text;
  }
}

}  // namespace
}  // namespace vork::testing
