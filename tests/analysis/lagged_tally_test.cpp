#include "analysis/lagged_tally.h"

#include <gtest/gtest.h>

#include <random>

#include "core/command_error.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::ScriptedDialogue;

// Rows are codes 1..3 (A, B, C); one character per time unit.
const dynChar2 Matrix = {
    // unit  0123456789
    /* A */ "22..1..2..",
    /* B */ ".1.21..1..",
    /* C */ "...1..2...",
};

// The runs of a matrix, built cell by cell.
SegmentRuns RunsOf(const dynChar2& matrix, int units) {
  SegmentRuns runs;
  runs.NCodes = static_cast<int>(matrix.size());
  runs.NTimeUnits = units;
  runs.Runs.resize(matrix.size() + 1);
  for (std::size_t c = 0; c < matrix.size(); ++c)
    for (int u = 0; u < units; ++u) {
      const char cell = matrix[c][std::size_t(u)];
      auto& codeRuns = runs.Runs[c + 1];
      if (cell == '.') continue;
      if (!codeRuns.empty() && codeRuns.back().End == u && codeRuns.back().Onset == (cell == '2'))
        ++codeRuns.back().End;
      else
        codeRuns.push_back({u, u + 1, cell == '2'});
    }
  for (int u = 0; u < units; ++u) {
    bool changed = u == 0;
    for (const std::string& row : matrix) changed = changed || row[std::size_t(u)] != row[std::size_t(u - 1)];
    if (changed) runs.ChangeUnits.push_back(u);
  }
  return runs;
}

std::vector<CategoryRun> CategorizeUnits(const dynChar2& matrix, int units, const dynInteger& idx) {
  return vork::CategorizeUnits(RunsOf(matrix, units), idx);
}

CategorizedSegment Segment(const dynInteger& givenIdx, const dynInteger& targetIdx) {
  CategorizedSegment segment;
  segment.NTimeUnits = 10;
  segment.Givens = CategorizeUnits(Matrix, 10, givenIdx);
  segment.Targets = CategorizeUnits(Matrix, 10, targetIdx);
  return segment;
}

// One code on in every unit, given and target alike.
CategorizedSegment AlwaysOn(int units) {
  CategorizedSegment segment;
  segment.NTimeUnits = units;
  const dynChar2 matrix = {std::string(std::size_t(units), '1')};
  segment.Givens = segment.Targets = CategorizeUnits(matrix, units, {0, 1});
  return segment;
}

// The category of every unit, read back from the runs.
std::string Categories(const std::vector<CategoryRun>& runs, int units) {
  std::string text;
  for (std::size_t k = 0; k < runs.size(); ++k) {
    const int end = k + 1 < runs.size() ? runs[k + 1].Start : units;
    for (int u = runs[k].Start; u < end; ++u) text += char('0' + runs[k].Category);
  }
  return text;
}

TEST(CategorizeUnits, EarlierListPositionsWinAndResidualTakesTheRest) {
  struct Case {
    const char* Name;
    dynInteger Idx;
    const char* Expected;
  };
  const Case cases[] = {
      {"A before B", {0, 1, 2}, "1102100100"},
      {"B before A", {0, 2, 1}, "2101100100"},
      {"A, B, &", {0, 1, 2, 0}, "1132133133"},
      {"C, &", {0, 3, 0}, "2221221222"},
      {"& alone", {0, 0}, "1111111111"},
      {"& not last counts nowhere", {0, 0, 3}, "0002002000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Categories(CategorizeUnits(Matrix, 10, c.Idx), 10), c.Expected) << c.Name;
  EXPECT_THROW(CategorizeUnits(Matrix, 10, {0, 4}), CommandError);  // a code beyond the matrix
}

TEST(TallySegmentPairs, CountsGivenAtUnitAgainstTargetAtUnitPlusLag) {
  // Givens A, B, & (per unit 1132133133); targets C, & (per unit 2221221222).
  const CategorizedSegment residual = Segment({0, 1, 2, 0}, {0, 3, 0});
  // Givens and targets A, B without residual (per unit 1102100100): units
  // where no listed code is on count nowhere.
  const CategorizedSegment listed = Segment({0, 1, 2}, {0, 1, 2});
  struct Case {
    const CategorizedSegment* Segment;
    int Lag;
    dynInteger2 Expected;  // rows and columns from 1 in list order
  };
  const Case cases[] = {
      {&residual, 0, {{0, 0, 0}, {0, 0, 4}, {0, 1, 0}, {0, 1, 4}}},
      {&residual, 1, {{0, 0, 0}, {0, 0, 4}, {0, 0, 1}, {0, 2, 2}}},
      {&residual, -1, {{0, 0, 0}, {0, 2, 1}, {0, 0, 1}, {0, 0, 5}}},
      {&residual, 9, {{0, 0, 0}, {0, 0, 1}, {0, 0, 0}, {0, 0, 0}}},
      {&residual, -9, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}}},
      {&listed, 2, {{0, 0, 0}, {0, 0, 1}, {0, 0, 0}}},  // pairs (u, u+2) with both found: (1, 3) only
  };
  for (const Case& c : cases) {
    dynInteger2 table(c.Expected.size(), dynInteger(3, 0));
    ASSERT_TRUE(TallySegmentPairs(*c.Segment, c.Lag, table)) << c.Lag;
    EXPECT_EQ(table, c.Expected) << "lag " << c.Lag;
  }
}

TEST(TallySegmentPairs, ASegmentNotLongerThanTheLagGivesNothing) {
  const CategorizedSegment segment = AlwaysOn(3);
  for (int lag : {3, -3, 4}) {
    dynInteger2 table(2, dynInteger(2, 0));
    EXPECT_FALSE(TallySegmentPairs(segment, lag, table)) << lag;
    EXPECT_EQ(table[1][1], 0);
  }
  for (int lag : {2, -2}) {
    dynInteger2 table(2, dynInteger(2, 0));
    EXPECT_TRUE(TallySegmentPairs(segment, lag, table));
    EXPECT_EQ(table[1][1], 1) << lag;
  }
  CategorizedSegment empty;
  dynInteger2 table(2, dynInteger(2, 0));
  EXPECT_FALSE(TallySegmentPairs(empty, 0, table));
}

TEST(TallyLaggedPairs, WarnsPerShortSegmentUntilIgnored) {
  const CategorizedSegment shortSegment = AlwaysOn(2);
  const std::vector<CategorizedSegment> segments = {shortSegment, shortSegment, shortSegment};
  dynInteger2 table(2, dynInteger(2, 0));

  ScriptedDialogue dialogue;
  dialogue.Then(Answer::Ok).Then(Answer::Ignore);
  bool suppress = false;
  TallyLaggedPairs("S1", segments, 2, table, dialogue, suppress);
  ASSERT_EQ(dialogue.Shown.size(), 2u);
  EXPECT_EQ(dialogue.Shown[0].Text,
            "<S1> insufficient data for lag 2. Select Ignore to suppress this warning.");
  EXPECT_EQ(dialogue.Shown[0].Style, BoxStyle::Warning);
  EXPECT_EQ(dialogue.Shown[0].ButtonSet, Buttons::OkIgnore);
  EXPECT_TRUE(suppress);

  // The rest of the RUN stays silent; a lag that fits counts.
  TallyLaggedPairs("S2", segments, -5, table, dialogue, suppress);
  EXPECT_EQ(dialogue.Shown.size(), 2u);
  TallyLaggedPairs("S2", segments, -1, table, dialogue, suppress);
  EXPECT_EQ(table[1][1], 3);
}

TEST(TallySegmentPairs, MorePairsThanACellCanCountEndTheCommand) {
  // Two billion units of one code, as runs; the cell already holds some.
  CategorizedSegment segment;
  segment.NTimeUnits = 2'000'000'000;
  segment.Givens = {{0, 1}};
  segment.Targets = {{0, 1}};
  dynInteger2 table(2, dynInteger(2, 0));
  ASSERT_TRUE(TallySegmentPairs(segment, 1, table));
  EXPECT_EQ(table[1][1], 1'999'999'999);
  EXPECT_THROW(TallySegmentPairs(segment, 1, table), CommandError);
}

// Random segments of one group: the tables of every lag of a range tallied in
// one sweep equal the tables of the lags tallied one by one.
TEST(LagRangeTally, AllLagsInOneSweepEqualTheLagsOneByOne) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 200; ++trial) {
    const int nGivens = 1 + int(random() % 3), nTargets = 1 + int(random() % 3);
    const int firstLag = int(random() % 15) - 7, lastLag = firstLag + int(random() % 12);
    std::vector<CategorizedSegment> segments(1 + random() % 4);
    for (CategorizedSegment& segment : segments) {
      segment.NTimeUnits = int(random() % 40);
      for (int u = 0; u < segment.NTimeUnits; u += 1 + int(random() % 6)) {
        segment.Givens.push_back({u, int(random() % (nGivens + 1))});
        if (random() % 2 == 0 || segment.Targets.empty())
          segment.Targets.push_back({u, int(random() % (nTargets + 1))});
      }
    }
    LagRangeTally sweep(firstLag, lastLag, nGivens, nTargets);
    for (const CategorizedSegment& segment : segments) sweep.AddSegment(segment);
    sweep.Finish();
    for (int lag = firstLag; lag <= lastLag; ++lag) {
      dynInteger2 oneByOne(nGivens + 1, dynInteger(nTargets + 1, 0)), swept = oneByOne;
      for (const CategorizedSegment& segment : segments) TallySegmentPairs(segment, lag, oneByOne);
      sweep.TableOfLag(lag, swept);
      ASSERT_EQ(swept, oneByOne) << "trial " << trial << " lag " << lag;
    }
  }
}

}  // namespace
}  // namespace vork
