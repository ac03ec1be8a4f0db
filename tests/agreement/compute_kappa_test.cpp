#include "agreement/compute_kappa.h"

#include <gtest/gtest.h>

#include "agreement/agreement_files.h"
#include "core/command_error.h"
#include "tests/agreement/agreement_files_fixture.h"
#include "tests/support/compiled_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::PlainFile;
using testing::PlainSession;
using testing::ScriptedDialogue;

const std::string Stamp = "\tMDS file saved by KELP compiler Version 5.1 07.12.2026 01:00:00";

class ComputeKappaTest : public ::testing::Test {
 protected:
  AgreementLoad Load(const dynString& obs1, const dynString& obs2, ScriptedDialogue& dialogue) {
    SaveTextLines(scratch.Path("obs1.mds"), obs1);
    SaveTextLines(scratch.Path("obs2.mds"), obs2);
    return LoadAgreementFiles(scratch.Path("obs1.mds"), scratch.Path("obs2.mds"), dialogue);
  }
  KappaRunOutput Run(const dynString& obs1, const dynString& obs2, KappaRunInput input, ScriptedDialogue& dialogue) {
    const AgreementLoad load = Load(obs1, obs2, dialogue);
    EXPECT_EQ(load.Outcome, AgreementLoadOutcome::Loaded);
    KappaRunOutput output;
    RunComputeKappa(load.Files, input, output, dialogue);
    return output;
  }
  testing::ScratchFolder scratch;
};

KappaRunInput Picked(dynString codes) {
  KappaRunInput input;
  input.Markers = codes;
  input.PickedCodes = std::move(codes);
  return input;
}

TEST_F(ComputeKappaTest, LoadingChecksThatTheFilesCanBeCompared) {
  const dynString ab = PlainFile(2, "A\tB", 2, "1\t1\tseconds", {});
  const struct {
    const char* Name;
    dynString Obs2;
    std::vector<Answer> Answers;
    AgreementLoadOutcome Outcome;
    dynString Codes, Markers;
    std::vector<std::string> Boxes;
  } cases[] = {
      {"same codes in another order", PlainFile(2, "B\tA", 2, "1\t1\tseconds", {}), {},
       AgreementLoadOutcome::Loaded, {"A", "B"}, {}, {}},
      {"a code only Obs2 has, ignored", PlainFile(2, "A\tCry\tB", 3, "1\t1\tseconds", {}), {Answer::Ignore},
       AgreementLoadOutcome::Loaded, {"A", "B", "Cry"}, {"C"}, {"Codes are not the same in both files. OK?"}},
      {"a code only Obs2 has, aborted", PlainFile(2, "A\tCry\tB", 3, "1\t1\tseconds", {}), {Answer::Abort},
       AgreementLoadOutcome::Aborted, {}, {"C"}, {"Codes are not the same in both files. OK?"}},
      {"fewer codes", PlainFile(2, "A", 1, "1\t1\tseconds", {}), {Answer::Ignore}, AgreementLoadOutcome::Loaded,
       {"A", "B"}, {}, {"Codes are not the same in both files. OK?"}},
      {"another time unit", PlainFile(2, "A\tB", 2, "1\t2\tseconds", {}), {}, AgreementLoadOutcome::Refused, {}, {},
       {"Make sure both MDS files have the same data type and time format."}},
      {"another data type", PlainFile(3, "A\tB", 2, "1\t1\tseconds", {}), {}, AgreementLoadOutcome::Refused, {}, {},
       {"Make sure both MDS files have the same data type and time format."}},
      {"not a compiled file", {"A text", "file"}, {}, AgreementLoadOutcome::NotLoaded, {}, {},
       {"obs2.mds not a valid MDS 5.x file"}},
  };
  for (const auto& c : cases) {
    ScriptedDialogue dialogue;
    dialogue.AnswerOkWhenUnscripted = true;  // notices
    for (Answer answer : c.Answers) dialogue.Then(answer);
    const AgreementLoad load = Load(ab, c.Obs2, dialogue);
    EXPECT_EQ(load.Outcome, c.Outcome) << c.Name;
    EXPECT_EQ(load.CodesInFile, c.Codes) << c.Name;
    EXPECT_EQ(load.Markers, c.Markers) << c.Name;
    std::vector<std::string> boxes;
    for (const auto& box : dialogue.Shown) boxes.push_back(box.Text);
    EXPECT_EQ(boxes, c.Boxes) << c.Name;
    if (c.Outcome == AgreementLoadOutcome::Loaded) {
      EXPECT_EQ(load.Caption, "Kappa - obs1.mds(Obs1) obs2.mds(Obs2)");
    }
  }
}

TEST_F(ComputeKappaTest, SegmentsArePairedByRunningPositionAcrossSessions) {
  const auto event = [](std::uint32_t) { return testing::PlainSegment{1, {"2."}}; };
  const dynString obs1 = PlainFile(1, "A\tB", 2, "0\t0\tevents", {{"a", {event(0), event(0)}}, {"b", {event(0)}}});
  const dynString obs2 = PlainFile(1, "A\tB", 2, "0\t0\tevents", {{"a", {event(0)}}, {"b", {event(0), event(0)}}});
  ScriptedDialogue dialogue;
  const KappaRunOutput output = Run(obs1, obs2, Picked({"A", "B"}), dialogue);
  dynString headings;
  for (const auto& line : output.Lines) {
    if (line.starts_with("Agreement")) headings.push_back(line);
  }
  EXPECT_EQ(headings, (dynString{"Agreement <a> sgmt#1 sgmt#1", "Agreement <a> sgmt#2 <b>",
                                 "Agreement <b> sgmt#2"}));
}

TEST_F(ComputeKappaTest, PairsWithoutCommonUnitsOrStartingFarApartAreLeftOut) {
  const auto timed = [](std::uint32_t start1, std::uint32_t start2) {
    const std::vector<std::string> units(200, "1");
    return std::pair{PlainFile(2, "A", 1, "1\t0\tseconds", {{"s", {{start1, units}}}}),
                     PlainFile(2, "A", 1, "1\t0\tseconds", {{"s", {{start2, units}}}})};
  };
  const struct {
    std::uint32_t Start2;
    std::vector<Answer> Answers;
    std::vector<std::string> Boxes;
    std::string Agreement;
  } cases[] = {
      {120, {}, {}, "100%\tAgreement"},
      {121, {Answer::Ok}, {"Sessions start time differ by 121 time-units. Continue or cancel?"}, "100%\tAgreement"},
      {121, {Answer::Cancel}, {"Sessions start time differ by 121 time-units. Continue or cancel?"}, "0%\tAgreement"},
      {200, {}, {"No overlap, this session ignored."}, "0%\tAgreement"},
  };
  for (const auto& c : cases) {
    ScriptedDialogue dialogue;
    dialogue.AnswerOkWhenUnscripted = true;  // notices
    for (Answer answer : c.Answers) dialogue.Then(answer);
    auto [obs1, obs2] = timed(0, c.Start2);
    KappaRunInput input = Picked({"A"});
    input.AgreePlot = input.AlignPlot = false;
    input.TimeTol = 0;
    const KappaRunOutput output = Run(obs1, obs2, input, dialogue);
    std::vector<std::string> boxes;
    for (const auto& box : dialogue.Shown) boxes.push_back(box.Text);
    EXPECT_EQ(boxes, c.Boxes) << c.Start2;
    ASSERT_GE(output.Lines.size(), 2u);
    EXPECT_EQ(output.Lines[1], c.Agreement) << c.Start2;
  }
}

// Obs1: A A B B, Obs2: A B B B, codes A and B picked.
const dynString IntervalObs1 = PlainFile(4, "A\tB", 2, "0\t0\tintervals", {{"s1", {{1, {"2.", "2.", ".2", ".2"}}}}});
const dynString IntervalObs2 = PlainFile(4, "A\tB", 2, "0\t0\tintervals", {{"s1", {{1, {"2.", ".2", ".2", ".2"}}}}});

TEST_F(ComputeKappaTest, IntervalDataGiveTheUnitByUnitKappa) {
  ScriptedDialogue dialogue;
  KappaRunInput input = Picked({"A", "B"});
  input.FirstRun = true;
  input.AlignPlot = false;
  const KappaRunOutput output = Run(IntervalObs1, IntervalObs2, input, dialogue);
  const dynString expected = {
      "", "Obs1:\tobs1.mds", "Made:\t" + Stamp, "Obs2:\tobs2.mds", "Made:\t" + Stamp, "Type:\tIntvl",
      "Units:\tintervals", "",
      "Agreement <s1>", "", "0         ", "|----+----", ">AABB<<<<<", ">ABBB<<<<<", "  -       ", "",
      ".50\tKappa", "75%\tAgreement", ".50\tMaximum value of kappa",
      "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "", "\tA\tB\tTotals\tindK", "A\t1\t1\t2\t.50\tA",
      "B\t0\t2\t2\t.50\tB", "Totals\t1\t3\t4\t\tTotals",
      "_________________________"};
  EXPECT_EQ(output.Lines, expected);
  EXPECT_TRUE(dialogue.Shown.empty());
}

TEST_F(ComputeKappaTest, EventDataGiveTheEventAlignmentKappa) {
  // Obs1: A B A B, Obs2: A B B B.
  const dynString obs1 = PlainFile(1, "A\tB", 2, "0\t0\tevents", {{"s1", {{1, {"2.", ".2", "2.", ".2"}}}}});
  const dynString obs2 = PlainFile(1, "A\tB", 2, "0\t0\tevents", {{"s1", {{1, {"2.", ".2", ".2", ".2"}}}}});
  ScriptedDialogue dialogue;
  KappaRunInput input = Picked({"A", "B"});
  input.Markers = {"x", "y"};
  const KappaRunOutput output = Run(obs1, obs2, input, dialogue);
  const dynString expected = {
      "Agreement <s1>", "", "----+----+", "xyxy", "||:|", "xyyy", "",
      "", ".50\tEvent alignment kappa", ".50\tMaximum value of kappa", "75%\tagreement",
      "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "", "\t-\tx\ty\tTotals\tindK", "-\t0\t0\t0\t0\t\tnil",
      "x\t0\t1\t1\t2\t.50\tA", "y\t0\t0\t2\t2\t.50\tB", "Totals\t0\t1\t3\t4\t\tTotals",
      "_________________________"};
  EXPECT_EQ(output.Lines, expected);
}

TEST_F(ComputeKappaTest, TimedDataGiveBothKappasWithTheirTolerances) {
  // In tenths. Obs1: A on 0-4, B on 5-9. Obs2: A on 0-5, B on 6-9.
  const dynString obs1 = PlainFile(2, "A\tB", 2, "4\t1\tseconds",
                                   {{"s", {{0, {"2.", "1.", "1.", "1.", "1.", ".2", ".1", ".1", ".1", ".1"}}}}});
  const dynString obs2 = PlainFile(2, "A\tB", 2, "4\t1\tseconds",
                                   {{"s", {{0, {"2.", "1.", "1.", "1.", "1.", "1.", ".2", ".1", ".1", ".1"}}}}});
  ScriptedDialogue dialogue;
  const KappaRunOutput output = Run(obs1, obs2, Picked({"A", "B"}), dialogue);
  const dynString expected = {
      "Agreement <s>", "", "0.0       ", "|----+----", "AAAAABBBBB", "AAAAAABBBB", "     .    ", "",
      "Agreement <s>", "", "----+----+", "AB", "||", "AB", "",
      "1.00-1.00\tTime-unit kappa, window= \xC2\xB1" "2 1/10 seconds", "100%-100%\tAgreement",
      "1.00-1.00\tMaximum value of kappa", "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "",
      "\tA\tB\tTotals\tindK", "A\t5\t0\t5\t1.00\tA", "B\t0\t5\t5\t1.00\tB", "Totals\t5\t5\t10\t\tTotals",
      "", "1.00\tEvent alignment kappa, tolerance 5, overlap 80%", "1.00\tMaximum value of kappa", "100%\tagreement",
      "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "", "\t-\tA\tB\tTotals\tindK", "-\t0\t0\t0\t0\t\tnil",
      "A\t0\t1\t0\t1\t1.00\tA", "B\t0\t0\t1\t1\t1.00\tB", "Totals\t0\t1\t1\t2\t\tTotals",
      "_________________________"};
  EXPECT_EQ(output.Lines, expected);
}

TEST_F(ComputeKappaTest, StateDataGiveBothKappasWithTheirTolerances) {
  // Obs1: a 0-2, b 3-9; Obs2: a 0-5, b 6-9. With the window of 2, units 4 and 5 agree
  // from Obs1's side and units 3 and 4 from Obs2's side.
  const dynString obs1 = testing::CompiledText("State a b;\n<s> a,0 b,3 ,10/");
  const dynString obs2 = testing::CompiledText("State a b;\n<s> a,0 b,6 ,10/");
  ScriptedDialogue dialogue;
  const KappaRunOutput output = Run(obs1, obs2, Picked({"a", "b"}), dialogue);
  const dynString expected = {
      "Agreement <s>", "", "0         ", "|----+----", "aaabbbbbbb", "aaaaaabbbb", "   -..    ", "",
      "Agreement <s>", "", "----+----+", "ab", "||", "ab", "",
      ".78-.80\tTime-unit kappa, window= \xC2\xB1" "2 seconds", "90%-90%\tAgreement",
      ".78-.80\tMaximum value of kappa", "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "",
      "\ta\tb\tTotals\tindK", "a\t3\t0\t3\t.78\ta", "b\t1\t6\t7\t.78\tb", "Totals\t4\t6\t10\t\tTotals",
      "", "1.00\tEvent alignment kappa, tolerance 5, overlap 80%", "1.00\tMaximum value of kappa", "100%\tagreement",
      "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "", "\t-\ta\tb\tTotals\tindK", "-\t0\t0\t0\t0\t\tnil",
      "a\t0\t1\t0\t1\t1.00\ta", "b\t0\t0\t1\t1\t1.00\tb", "Totals\t0\t1\t1\t2\t\tTotals",
      "_________________________"};
  EXPECT_EQ(output.Lines, expected);
}

TEST_F(ComputeKappaTest, MultiEventDataGiveTheUnitByUnitKappa) {
  // Each unit holds the first picked code on in it. Obs1: a, a+b, b, a; Obs2: a, b, b, b.
  const dynString obs1 = testing::CompiledText("Multi a b;\n<s> a. a b. b. a/");
  const dynString obs2 = testing::CompiledText("Multi a b;\n<s> a. b. b. b/");
  ScriptedDialogue dialogue;
  const KappaRunOutput output = Run(obs1, obs2, Picked({"a", "b"}), dialogue);
  const dynString expected = {
      "Agreement <s>", "", "0         ", "|----+----", ">aaba<<<<<", ">abbb<<<<<", "  - -     ", "",
      ".20\tKappa", "50%\tAgreement", ".20\tMaximum value of kappa",
      "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "", "\ta\tb\tTotals\tindK", "a\t1\t2\t3\t.20\ta",
      "b\t0\t1\t1\t.20\tb", "Totals\t1\t3\t4\t\tTotals", "_________________________"};
  EXPECT_EQ(output.Lines, expected);
  EXPECT_TRUE(dialogue.Shown.empty());
}

TEST_F(ComputeKappaTest, TheFirstPickedCodeThatIsOnHoldsTheTimeline) {
  // A on 0-3; B from 2 (its onset hidden under A) to 6; none of them 7-9.
  const dynString file = PlainFile(2, "A\tB", 2, "1\t0\tseconds",
                                   {{"s", {{0, {"2.", "1.", "12", "11", ".1", ".1", ".1", "..", "..", ".."}}}}});
  ScriptedDialogue dialogue;
  const KappaRunOutput output = Run(file, file, Picked({"A", "B"}), dialogue);
  ASSERT_GE(output.Lines.size(), 15u);
  EXPECT_EQ(dynString(output.Lines.begin(), output.Lines.begin() + 15),
            (dynString{"Agreement <s>", "", "0         ", "|----+----", "AAAABBB   ", "AAAABBB   ", "          ", "",
                       "Agreement <s>", "", "----+----+", "A&", "||", "A&", ""}));
}

TEST_F(ComputeKappaTest, APairTooLargeToAlignIsLeftOutOfTheEventAlignment) {
  // 66,000 events a side need more than 1 GiB of steps.
  const testing::PlainSegment many{1, std::vector<std::string>(66000, "2")};
  const dynString file = PlainFile(1, "A", 1, "0\t0\tevents", {{"long", {many}}, {"short", {{1, {"2"}}}}});
  ScriptedDialogue dialogue;
  dialogue.Then(Answer::Ok);
  KappaRunInput input = Picked({"A"});
  input.AlignPlot = false;
  const KappaRunOutput output = Run(file, file, input, dialogue);
  ASSERT_EQ(dialogue.Shown.size(), 1u);
  EXPECT_EQ(dialogue.Shown[0].Text,
            "Session long sgmt#1: aligning 66000 with 66000 events needs more than 1024 MB; its events are left "
            "out of the event alignment kappa.");
  EXPECT_EQ(output.Lines[output.Lines.size() - 2], "Totals\t0\t1\t1\t\tTotals");  // the short pair alone
}

TEST_F(ComputeKappaTest, ALongTimedPairIsAligned) {
  // 66,000 events a side: Obs1 an onset of A in every unit, Obs2 the same
  // but every tenth unit continues A. Obs1's events without a partner are
  // wholly covered by Obs2's A, so every event counts as agreement.
  std::vector<std::string> obs2Units(66000, "2");
  for (size_t u = 9; u < obs2Units.size(); u += 10) obs2Units[u] = "1";
  const dynString obs1 = PlainFile(2, "A", 1, "1\t1\tseconds", {{"long", {{0, std::vector<std::string>(66000, "2")}}}});
  const dynString obs2 = PlainFile(2, "A", 1, "1\t1\tseconds", {{"long", {{0, obs2Units}}}});
  ScriptedDialogue dialogue;
  KappaRunInput input = Picked({"A"});
  input.AgreePlot = input.AlignPlot = false;
  const KappaRunOutput output = Run(obs1, obs2, input, dialogue);
  EXPECT_TRUE(dialogue.Shown.empty());
  ASSERT_GE(output.Lines.size(), 4u);
  EXPECT_EQ(output.Lines[output.Lines.size() - 4], "-\t0\t0\t0\t\tnil");
  EXPECT_EQ(output.Lines[output.Lines.size() - 2], "Totals\t0\t66000\t66000\t\tTotals");
}

TEST_F(ComputeKappaTest, NothingIsShownButTheSummaryWhenResultsAreNotDisplayed) {
  ScriptedDialogue dialogue;
  KappaRunInput input = Picked({"A", "B"});
  input.ResultsBox = 0;
  input.FirstRun = true;
  EXPECT_EQ(Run(IntervalObs1, IntervalObs2, input, dialogue).Lines.size(), 8u);
  input = Picked({});
  dialogue.Then(Answer::Ok);
  EXPECT_TRUE(Run(IntervalObs1, IntervalObs2, input, dialogue).Lines.empty());
  EXPECT_EQ(dialogue.Shown.back().Text, "Select codes for kappa.");
}

// Obs2's time unit is only compared with Obs1's where it matters (Timed and
// State data); its label replaces Obs1's. So the file summary names Obs1's
// unit by Obs2's label.
TEST_F(ComputeKappaTest, ObservedTimeUnitIsObs1sNamedByObs2sLabel) {
  const struct {
    const char* Name;
    std::string Obs1, Obs2;
    dynString Summary;
  } cases[] = {
      {"only Obs2 has times", "Event a b ;\na b a /", "Event a b ;\n,1.0 a b a ,2.0 /",
       {"Type:\tEvent", "Units:\tevents"}},
      {"only Obs1 has times", "Event a b ;\n,1.0 a b a ,2.0 /", "Event a b ;\na b a /",
       {"Type:\tEvent", "Units:\t1/10 events"}},
      {"each has its label", "Event <taps> a b ;\na b a /", "Event <hits> a b ;\n,1.0 a b a ,2.0 /",
       {"Type:\tEvent", "Units:\thits"}},
      {"multi-event data, only Obs2 has times", "Multi a b ;\na. b. a. b. a. b. a. b. a. b. a. b /",
       "Multi a b ;\n,1.0 a. b. a. b. a. b. a. b. a. b. a. b ,2.0 /",
       {"Type:\tMulti", "Units:\tevents"}},
  };
  for (const auto& c : cases) {
    ScriptedDialogue dialogue;
    KappaRunInput input = Picked({"a", "b"});
    input.FirstRun = true;
    const AgreementLoad load = Load(testing::CompiledText(c.Obs1), testing::CompiledText(c.Obs2), dialogue);
    ASSERT_EQ(load.Outcome, AgreementLoadOutcome::Loaded) << c.Name;
    KappaRunOutput output;
    RunComputeKappa(load.Files, input, output, dialogue);
    ASSERT_GE(output.Lines.size(), 7u) << c.Name;
    EXPECT_EQ(dynString(output.Lines.begin() + 5, output.Lines.begin() + 7), c.Summary) << c.Name;
  }
}

TEST_F(ComputeKappaTest, ADamagedSegmentEndsTheRunWithThePairsWrittenSoFar) {
  dynString obs2 = PlainFile(4, "A\tB", 2, "0\t0\tintervals", {{"s1", {{1, {"2.", ".2", ".2", ".2"}}}}, {"s2", {{1, {"2."}}}}});
  dynString obs1 = PlainFile(4, "A\tB", 2, "0\t0\tintervals", {{"s1", {{1, {"2.", "2.", ".2", ".2"}}}}, {"s2", {{1, {"2."}}}}});
  obs1.back() = "1\tx.";
  ScriptedDialogue dialogue;
  const AgreementLoad load = Load(obs1, obs2, dialogue);
  KappaRunOutput output;
  EXPECT_THROW(RunComputeKappa(load.Files, Picked({"A", "B"}), output, dialogue), CommandError);
  EXPECT_EQ(output.Lines.size(), 8u);  // the first pair's plot
}

}  // namespace
}  // namespace vork
