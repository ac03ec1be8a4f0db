#include <gtest/gtest.h>

#include "core/command_error.h"
#include "core/data_type_flags.h"
#include "modify/typed_commands.h"
#include "tests/modify/modify_fixture.h"

namespace vork::testing {
namespace {

// A host that applies statements as the window does and remembers them.
class TestHost : public StatementHost {
 public:
  explicit TestHost(ModifyFile file) : File(std::move(file)) {}
  const MdsHeader& Header() const override { return File.Header; }
  bool CommandEnabled(int number) const override {
    const DataTypeFlags f = SetDataTypeFlags(File.Header.DataType);
    if (number <= CommandXor) return !f.IsEvent;
    if (number == CommandLump || number == CommandChain) return f.IsEvent;
    if (number == CommandEvent || number == CommandBout) return f.TimedOrState;
    return true;
  }
  ModifyCommand Controls() const override { return {}; }
  void Apply(const ModifyCommand& command) override {
    ModifyCommand checked = command;
    if (!ValidateCommand(checked, File.Header, Boxes)) return;
    File = RunModifyCommand(File, checked, "NOW", Boxes).File;
    Applied.push_back(EchoModifyCommand(checked, {}, false).Text);
    Commands.push_back(checked);
  }
  void ListError(const std::string& line) override { List.push_back(line); }
  UserDialogue& Dialogue() override { return Boxes; }

  ModifyFile File;
  ScriptedDialogue Boxes;
  std::vector<std::string> List, Applied;
  std::vector<ModifyCommand> Commands;
};

const char* const TimedFile = "Timed a b c;\na,0-3 b,2-5 c,4-6 a,7-9 ,10/";
const char* const EventFile = "Event a b c;\na b c a b/";
const char* const PointFile = "Timed point q;\npoint,0-3 q,2-5 ,10/";

TEST(TypedCommands, ListTheirErrorsAndRunTheGoodOnes) {
  struct Case {
    const char* Kelp;
    std::string Text;
    std::vector<Answer> Answers;
    std::vector<std::string> List, Applied;
  };
  const Case cases[] = {
      {TimedFile, "AND n= a b;", {}, {"No errors."}, {"And n= a b;"}},
      {TimedFile, "or x= a b; and y= x c", {}, {"No errors."}, {"Or x= a b;", "And y= x c;"}},
      {TimedFile, "Event a;", {Answer::Abort}, {"1. = expected after 1st code in 'a'"}, {}},
      {TimedFile, "Event;", {}, {"No errors."}, {"Event;"}},
      {TimedFile, "bout b2= a (x);", {Answer::Abort}, {"1. (gap length)expected as last Bout item"}, {}},
      {TimedFile, "bout\tb2=  a c  (3)", {}, {"No errors."}, {"Bout b2= a c (3);"}},
      {TimedFile, "Window w=a\u20132;", {Answer::Abort},
       {"1. Integer offset expected but '\u20132' found", "1. Code '' is not in MDS file"}, {}},
      {TimedFile, "Window w=(a,a)+1;", {}, {"No errors."}, {"Window w=(a,a)+1;"}},
      {TimedFile, "window w=(a-2, b)+3", {}, {"No errors."}, {"Window w=(a-2,b)+3;"}},
      {TimedFile, "window w=(a+99999", {}, {"No errors."}, {"Window w=(a+32767;"}},
      {TimedFile, "window w=, b", {Answer::Abort},
       {"1.  Code expected for Window command", "1. Code '' is not in MDS file"}, {}},
      {TimedFile, "window w=a,", {Answer::Abort},
       {"1.  Code expected after comma for Window command", "1. Code '' is not in MDS file"}, {}},
      {TimedFile, "Window W=,A", {Answer::Abort},
       {"1.  Code expected for Window command", "1. Code '' is not in MDS file"}, {}},
      // A window part is its code, brackets and offset as typed: a blank
      // before the offset or inside a bracket stays in the code.
      {PointFile, "Window W=point +2; Or X = point", {Answer::Yes}, {"1. Code 'point ' is not in MDS file"},
       {"Or X= point;"}},
      {PointFile, "window w=(point +1", {Answer::Abort}, {"1. Code 'point ' is not in MDS file"}, {}},
      {PointFile, "window w=( point", {Answer::Abort}, {"1. Code ' point' is not in MDS file"}, {}},
      {PointFile, "window w=point) -1", {Answer::Abort}, {"1. Code 'point) ' is not in MDS file"}, {}},
      {PointFile, "window w=point, (point +1", {Answer::Abort}, {"1. Code 'point ' is not in MDS file"}, {}},
      {PointFile, "window w=(point)-1", {Answer::Abort}, {"1. Code 'point)' is not in MDS file"}, {}},
      {PointFile, "window w=point+2 ,(point-1", {}, {"No errors."}, {"Window w=point+2,(point-1;"}},
      {TimedFile, "or x= a\nb;", {Answer::Yes}, {"2. 'b' found when command expected"}, {"Or x= a;"}},
      {TimedFile, "frob; or x= a;", {Answer::Abort}, {"1. 'frob' found when command expected"}, {}},
      {TimedFile, "frob; or x= a;", {Answer::Yes}, {"1. 'frob' found when command expected"}, {"Or x= a;"}},
      {TimedFile, "and x= a q;", {Answer::Abort}, {"1. Code 'q' is not in MDS file"}, {}},
      {TimedFile, "and x= ;", {Answer::Abort}, {"1.  Code names expected after 'x ='"}, {}},
      {TimedFile, "xor", {Answer::Abort}, {"1. Code names expected after 'xor'"}, {}},
      {TimedFile, "or x y= a;", {Answer::Abort}, {"1.  Spaces not allowed in x y"}, {}},
      {TimedFile, "rename z= a b", {Answer::Abort}, {"1.  Only one code name expected for Rename"}, {}},
      {TimedFile, "lump x= a b q", {Answer::Abort},
       {"1. 'lump' not used with this data type", "1. Code 'q' is not in MDS file"}, {}},
      {TimedFile, "Remove a b;", {}, {"No errors."}, {"Remove a b;"}},
      {TimedFile, "Remove x= a;", {Answer::Yes}, {"No errors."}, {"Remove a;"}},
      {EventFile, "Lump *;", {Answer::Yes}, {"No errors."}, {"Recode;"}},
      {EventFile, "chain ab= a b a", {}, {"No errors."}, {"Chain ab= a b a;"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    TestHost host(CompiledFile(c.Kelp));
    for (Answer a : c.Answers) host.Boxes.Then(a);
    RunSyntax(c.Text, host);
    EXPECT_EQ(host.List, c.List);
    EXPECT_EQ(host.Applied, c.Applied);
    EXPECT_TRUE(host.Boxes.Answers.empty());
  }
}

TEST(TypedCommands, GiveTheFileTheButtonsGive) {
  TestHost typed(CompiledFile(TimedFile));
  RunSyntax("window w=(a-1,b)+2; bout bt= w c (2); remove a;", typed);
  ModifyCommand window = Command(CommandWindow, "w", {"a", "b"});
  window.Window = {0, -1, 1, 2};
  ModifyCommand bout = Command(CommandBout, "bt", {"w", "c"});
  bout.BoutGap = 2;
  ModifyFile pressed = CompiledFile(TimedFile);
  SilentDialogue silent;
  for (const ModifyCommand& command : {window, bout, Command(CommandRemove, "", {"a"})})
    pressed = RunModifyCommand(pressed, command, "NOW", silent).File;
  EXPECT_EQ(typed.File.Lines, pressed.Lines);
  EXPECT_EQ(typed.File.Lines[3], "b\tc\tw\tbt");
}

TEST(TypedCommands, AStatementThatFailsWhileAppliedEndsTheRun) {
  // The last data line: its count is no number.
  const ModifyFile file = WithLastLine(CompiledFile("Timed a b;\na,0-3 b,2-5 ,6/"), "1\tx.");
  TestHost host(file);
  EXPECT_THROW(RunSyntax("remove b; or x= a; and y= a b", host), CommandError);
  EXPECT_EQ(host.List, std::vector<std::string>{
                           "1. Compiled file line 12: cell 1 of the data line is \"x\", not \".\", \"1\" or \"2\"."});
  EXPECT_TRUE(host.Applied.empty());
}

TEST(TypedCommands, StatementsAreCutAtSemicolonsAndLineBreaks) {
  EXPECT_EQ(CollectStatements(" and x= a b ; or y= a;;\r\n\r\nnot z= a\rxor q= a b; "),
            (dynString{"and x= a b", "or y= a", "not z= a", "xor q= a b"}));
  EXPECT_EQ(SplitWords("  a  b c "), (dynString{"a", "b", "c"}));
  EXPECT_EQ(TabsToSpaces("and\tx=\ta"), "and x= a");
}

}  // namespace
}  // namespace vork::testing
