#include "agreement/percent_agreement.h"

#include <gtest/gtest.h>

#include "tests/agreement/agreement_files_fixture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::PlainFile;
using testing::ScriptedDialogue;

// Session 1 (8 units): A on 1-3 for Obs1 and 2-4 for Obs2; B on every unit for
// Obs1 and unit 1 for Obs2; D on 1-3 and on every unit; C only in Obs2's file;
// E never on. Session 2 has units of unequal number; in session 3 both code A.
const dynString Obs1 = PlainFile(
    4, "A\tB\tD\tE", 4, "0\t0\tintervals",
    {{"s1", {{1, {"111.", "111.", "111.", ".1..", ".1..", ".1..", ".1..", ".1.."}}}},
     {"s2", {{1, {"1..."}}}},
     {"s3", {{1, {"1..."}}}}});
const dynString Obs2 = PlainFile(
    4, "A\tB\tD\tE\tC", 5, "0\t0\tintervals",
    {{"s1", {{1, {".11..", "1.1..", "1.1..", "1.1..", "..1.1", "..1.1", "..1..", "..1.."}}}},
     {"s2", {{1, {"1....", "1...."}}}},
     {"s3", {{1, {"1...."}}}}});

TEST(PercentAgreementTest, CountsEachCodeByItselfAndRoundsHalvesToEven) {
  const struct {
    Answer AtUnequalUnits;
    std::string LineA;
  } cases[] = {{Answer::Ok, "A\t60\t4\t4\t3"}, {Answer::Abort, "A\t50\t3\t3\t2"}};
  for (const auto& c : cases) {
    testing::ScratchFolder scratch;
    SaveTextLines(scratch.Path("1.mds"), Obs1);
    SaveTextLines(scratch.Path("2.mds"), Obs2);
    ScriptedDialogue dialogue;
    dialogue.Then(Answer::Ignore).Then(c.AtUnequalUnits);
    const AgreementLoad load = LoadAgreementFiles(scratch.Path("1.mds"), scratch.Path("2.mds"), dialogue);
    dynString lines;
    RunPercentAgreement(load.Files, {"A", "B", "D", "C", "E"}, true, lines, dialogue);
    EXPECT_EQ(lines, (dynString{"Code\t%\tObs1\tObs2\tBoth", c.LineA, "B\t12\t8\t1\t1", "D\t38\t3\t8\t3",
                                "C\t0\t0\t2\t0", "E\t0\t0\t0\t0", "", "_________________________"}));
    ASSERT_EQ(dialogue.Shown.size(), 2u);
    EXPECT_EQ(dialogue.Shown[1].Text, "Observer # events differs. OK (ignore this session) or abort?");
    EXPECT_EQ(dialogue.Shown[1].ButtonSet, Buttons::OkAbort);
  }
}

TEST(PercentAgreementTest, OnlyIntervalAndMultiEventDataWithPickedCodesRun) {
  testing::ScratchFolder scratch;
  const dynString event = PlainFile(1, "A", 1, "0\t0\tevents", {});
  SaveTextLines(scratch.Path("e.mds"), event);
  SaveTextLines(scratch.Path("i.mds"), Obs1);
  const struct {
    std::string File;
    dynString Picked;
    std::string Box;
  } cases[] = {
      {"e.mds", {"A"}, "Interval or multi-event data needed for %% agreement"},
      {"i.mds", {}, "Select codes for percent agreement."},
  };
  for (const auto& c : cases) {
    ScriptedDialogue dialogue;
    dialogue.AnswerOkWhenUnscripted = true;
    const AgreementLoad load = LoadAgreementFiles(scratch.Path(c.File), scratch.Path(c.File), dialogue);
    dynString lines;
    RunPercentAgreement(load.Files, c.Picked, true, lines, dialogue);
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(dialogue.Shown.size(), 1u);
    EXPECT_EQ(dialogue.Shown[0].Text, c.Box);
  }
}

}  // namespace
}  // namespace vork
