#include "agreement/time_unit_tally.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/agreement/pair_fixture.h"

namespace vork {
namespace {

using testing::PairOf;
using testing::Zeros;

// Obs1 has A on units 8..12, Obs2 B on 8..11 and A from 12 on; unit 13 Obs1
// has none of the picked codes (A, B).
const std::string Obs1 = "        Aaaaa.      ";
const std::string Obs2 = "        BbbbAa      ";

TEST(TimeUnitTallyTest, ATolerantUnitCountsOnTheObserversOwnCode) {
  const struct {
    int TimeTol;
    std::string Marks;
    std::vector<std::tuple<int, int, int>> Cells1, Cells2;  // row, column, count
  } cases[] = {
      {0, "        ---- -      ", {{1, 1, 1}, {1, 2, 4}, {3, 1, 1}}, {}},
      {1, "        ---. -      ", {{1, 1, 2}, {1, 2, 3}, {3, 1, 1}}, {{1, 1, 2}, {2, 1, 4}}},
      {2, "        --.. -      ", {{1, 1, 3}, {1, 2, 2}, {3, 1, 1}}, {{1, 1, 2}, {2, 1, 4}}},
  };
  for (const auto& c : cases) {
    const SegmentPair pair = PairOf(Obs1, Obs2, 2);
    dynInteger2 m1 = Zeros(2), m2 = Zeros(2), expected1 = Zeros(2), expected2 = Zeros(2);
    for (auto [r, col, n] : c.Cells1) expected1[r][col] = n;
    for (auto [r, col, n] : c.Cells2) expected2[r][col] = n;
    EXPECT_EQ(TallySessionTimeUnits(pair, c.TimeTol, m1, m2), c.Marks);
    EXPECT_EQ(m1, expected1) << "tolerance " << c.TimeTol;
    EXPECT_EQ(m2, expected2) << "tolerance " << c.TimeTol;
  }
}

TEST(TimeUnitTallyTest, OnlyTheOverlapIsTalliedAndUnitsOfOneSegmentAreMarked) {
  const SegmentPair pair = PairOf("  Aa..bB  ", "    .Aa.Bb", 2);
  dynInteger2 m1 = Zeros(2), m2 = Zeros(2);
  EXPECT_EQ(TallySessionTimeUnits(pair, 0, m1, m2), "  ## ---##");
  dynInteger2 expected = Zeros(2);
  expected[3][3] = 1;  // both none of the picked codes
  expected[3][1] = 1;
  expected[2][1] = 1;
  expected[2][3] = 1;
  EXPECT_EQ(m1, expected);
}

// The tolerance window as the rule states it: the positions t - tol .. t +
// tol inside the overlap, looked at one by one.
// With marks, '.' and '-' where they are marked.
dynInteger2 NaiveTally(const SegmentPair& pair, int a, int b, int tol, int k, std::string* marks = nullptr) {
  dynInteger2 m = Zeros(k);
  const auto& lineA = pair.Obs[a].Timeline;
  const auto& lineB = pair.Obs[b].Timeline;
  for (int t = pair.Frame.SpanFrom[0]; t <= pair.Frame.SpanTo[0]; ++t) {
    bool near = false;
    for (int s = std::max(t - tol, pair.Frame.SpanFrom[0]); tol > 0 && s <= std::min(t + tol, pair.Frame.SpanTo[0]); ++s)
      near = near || lineB[s] == lineA[t];
    if (lineA[t] != lineB[t] && near) ++m[lineA[t]][lineA[t]];
    else ++m[lineA[t]][lineB[t]];
    if (marks && lineA[t] != lineB[t]) (*marks)[t] = near ? '.' : '-';
  }
  return m;
}

TEST(TimeUnitTallyTest, AgreesWithTheRuleOnRandomTimelines) {
  std::mt19937 random(16);
  for (int round = 0; round < 400; ++round) {
    const int k = 1 + random() % 4;
    const int length = 1 + random() % 80;
    std::string sides[2];
    for (auto& side : sides) {
      for (int t = 0; t < length; ++t) {
        const int code = random() % (k + 1);
        side += code == k ? '.' : static_cast<char>('a' + code);
      }
    }
    const SegmentPair pair = PairOf(sides[0], sides[1], k);
    const int tol = random() % 6;
    dynInteger2 m1 = Zeros(k), m2 = Zeros(k);
    TallySessionTimeUnits(pair, tol, m1, m2);
    EXPECT_EQ(m1, NaiveTally(pair, 0, 1, tol, k)) << sides[0] << "/" << sides[1] << " tol " << tol;
    EXPECT_EQ(m2, tol > 0 ? NaiveTally(pair, 1, 0, tol, k) : Zeros(k));
  }
}

// Long stretches of few codes, and tolerances up to past a stretch: the
// forgiven units of a stretch come from both its ends, or from its whole.
TEST(TimeUnitTallyTest, AgreesWithTheRuleOnStretchesMarksIncluded) {
  std::mt19937 random(26);
  for (int round = 0; round < 1500; ++round) {
    const int k = 1 + random() % 3;
    const int length = 1 + random() % 120;
    std::string sides[2];
    for (auto& side : sides) {
      side.assign(random() % 5, ' ');
      const size_t end = side.size() + length;
      while (side.size() < end) {
        const int code = random() % (k + 1);
        side.append(1 + random() % 12, code == k ? '.' : static_cast<char>('a' + code));
      }
      side.resize(length + 16, ' ');
    }
    const SegmentPair pair = PairOf(sides[0], sides[1], k);
    if (pair.Frame.SpanFrom[0] > pair.Frame.SpanTo[0]) continue;
    const int tol = random() % 9;
    std::string marks(sides[0].size(), ' ');
    for (int t = pair.Frame.SpanFrom[3]; t <= pair.Frame.SpanTo[3]; ++t) {
      if (t < pair.Frame.SpanFrom[0] || t > pair.Frame.SpanTo[0]) marks[t] = '#';
    }
    dynInteger2 m1 = Zeros(k), m2 = Zeros(k);
    const dynInteger2 expected1 = NaiveTally(pair, 0, 1, tol, k, &marks);
    EXPECT_EQ(TallySessionTimeUnits(pair, tol, m1, m2), marks) << sides[0] << "/" << sides[1] << " tol " << tol;
    EXPECT_EQ(m1, expected1) << sides[0] << "/" << sides[1] << " tol " << tol;
    EXPECT_EQ(m2, tol > 0 ? NaiveTally(pair, 1, 0, tol, k) : Zeros(k)) << sides[0] << "/" << sides[1];
    dynInteger2 unmarked1 = Zeros(k), unmarked2 = Zeros(k);
    EXPECT_EQ(TallySessionTimeUnits(pair, tol, unmarked1, unmarked2, false), "");
    EXPECT_EQ(unmarked1, m1);
  }
}

}  // namespace
}  // namespace vork
