#include "agreement/event_alignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/agreement/pair_fixture.h"

namespace vork {
namespace {

using testing::PairOf;
using testing::Zeros;

dynString SymbolsFor(int k) {
  dynString symbols = {"-"};
  for (int i = 1; i <= k; ++i) symbols.push_back(std::string(1, static_cast<char>('a' + i - 1)));
  symbols.insert(symbols.end(), {"&", "Totals"});
  return symbols;
}

std::string Joined(const std::vector<std::string>& symbols) {
  std::string line;
  for (const auto& s : symbols) line += s;
  return line;
}

struct AlignmentCase {
  const char* Name;
  std::string Obs1, Obs2;
  int K;
  EventAlignmentSettings Settings;
  std::vector<std::tuple<int, int, int>> Cells;  // row, column, count
  std::string Line1, Marks, Line3;
};

void ExpectAlignment(const AlignmentCase& c) {
  const SegmentPair pair = PairOf(c.Obs1, c.Obs2, c.K);
  dynInteger2 matrix = Zeros(c.K), expected = Zeros(c.K);
  for (auto [r, col, n] : c.Cells) expected[r][col] = n;
  AlignmentPlot plot;
  AlignSessionEvents(pair, c.Settings, SymbolsFor(c.K), matrix, &plot);
  EXPECT_EQ(matrix, expected) << c.Name;
  EXPECT_EQ(Joined(plot.Obs1) + "/" + Joined(plot.Marks) + "/" + Joined(plot.Obs2),
            c.Line1 + "/" + c.Marks + "/" + c.Line3)
      << c.Name;
}

TEST(EventAlignmentTest, AlignsTheEventsOfAPair) {
  const AlignmentCase cases[] = {
      {"lone B between agreements", " ABC", " AC ", 3, {false, 0, 100}, {{1, 1, 1}, {2, 0, 1}, {3, 3, 1}},
       "abc", "| |", "a-c"},
      {"confusion costs 1, not two lone events", " AB", " AD", 4, {false, 0, 100}, {{1, 1, 1}, {2, 4, 1}},
       "ab", "|:", "ad"},
      // Values -17 for B and -23 for A: A is the best candidate.
      {"best candidate by value", "          Aaaaaaaaaa", "            BbAaaaaa", 2, {true, 5, 80},
       {{1, 1, 1}, {0, 2, 1}}, "-a", " |", "ba"},
      // Obs1's A (100 units) is covered by Obs2's A in 79 of them.
      {"79 of 100 units below 80%", ".....A" + std::string(99, 'a'), "B" + std::string(25, 'b') + "A" + std::string(78, 'a'), 2,
       {true, 0, 80}, {{3, 2, 1}, {1, 1, 1}, {1, 0, 1}}, "&+a", ":| ", "ba-"},
      {"79 of 100 units at 79%", ".....A" + std::string(99, 'a'), "B" + std::string(25, 'b') + "A" + std::string(78, 'a'), 2,
       {true, 0, 79}, {{3, 2, 1}, {1, 1, 2}}, "&+a", ":||", "ba+"},
  };
  for (const auto& c : cases) ExpectAlignment(c);
}

// The alignment exactly as the rule is written: the three full tables.
struct ModelResult {
  dynInteger2 Matrix;
  std::string Line1, Marks, Line3;
};

ModelResult ModelAlignment(const SegmentPair& pair, const EventAlignmentSettings& s, int k) {
  const auto& e1 = pair.Obs[0];
  const auto& e2 = pair.Obs[1];
  const int n1 = e1.NEvents(), n2 = e2.NEvents(), others = k + 1;
  std::vector<std::vector<long long>> C(n1 + 1, std::vector<long long>(n2 + 1)), D = C, Dir = C;
  for (int i = 1; i <= n1; ++i) {
    for (int j = 1; j <= n2; ++j) {
      if (!s.TimedOrState) {
        C[i][j] = e1.EventCode[i] == e2.EventCode[j] ? 0 : 1;
      } else {
        C[i][j] = 2LL * (std::llabs((long long)e1.EventTime[i] - e2.EventTime[j]) - s.EventTol);
      }
    }
    if (!s.TimedOrState) continue;
    long long best = 0;
    int chosen = 0;
    for (int j = 1; j <= n2; ++j) {
      if (C[i][j] > 0) continue;
      long long v = C[i][j];
      if (e1.EventCode[i] == e2.EventCode[j]) v -= 4LL * s.EventTol + 1;
      else if (e1.EventCode[i] != others && e2.EventCode[j] != others) v -= 2LL * s.EventTol + 1;
      if (best == 0 || v < best) best = v, chosen = j;
    }
    for (int j = 1; j <= n2; ++j) {
      if (C[i][j] <= 0) C[i][j] = j == chosen ? 0 : 2;
    }
  }
  for (int i = 0; i <= n1; ++i) D[i][0] = i, Dir[i][0] = 1;
  for (int j = 0; j <= n2; ++j) D[0][j] = j, Dir[0][j] = 2;
  for (int i = 1; i <= n1; ++i) {
    for (int j = 1; j <= n2; ++j) {
      long long diag = D[i - 1][j - 1] + C[i][j], up = D[i - 1][j] + 1, left = D[i][j - 1] + 1;
      if (diag <= up && diag <= left) D[i][j] = diag, Dir[i][j] = 0;
      else if (up <= left) D[i][j] = up, Dir[i][j] = 1;
      else D[i][j] = left, Dir[i][j] = 2;
    }
  }
  const auto overlap = [&](int a, int b, int n) {
    if (!s.TimedOrState) return false;
    const auto& side = pair.Obs[a];
    const int end = n < side.NEvents() ? side.EventTime[n + 1] - 1 : pair.Frame.SpanTo[a + 1];
    int same = 0;
    for (int t = side.EventTime[n]; t <= end; ++t) same += pair.Obs[b].Timeline[t] == side.EventCode[n];
    return s.Overlap <= std::trunc(double(same) / (end - side.EventTime[n] + 1) * 100);
  };
  const dynString sym = SymbolsFor(k);
  ModelResult r{Zeros(k), "", "", ""};
  int i = n1, j = n2;
  while (i > 0 || j > 0) {
    std::string nil = "-";
    if (Dir[i][j] == 0) {
      ++r.Matrix[e1.EventCode[i]][e2.EventCode[j]];
      r.Line1 = sym[e1.EventCode[i]] + r.Line1;
      r.Line3 = sym[e2.EventCode[j]] + r.Line3;
      r.Marks = (e1.EventCode[i] == e2.EventCode[j] ? "|" : ":") + r.Marks;
      --i, --j;
    } else if (Dir[i][j] == 1) {
      const bool agree = overlap(0, 1, i);
      ++r.Matrix[e1.EventCode[i]][agree ? e1.EventCode[i] : 0];
      if (agree) nil = "+";
      r.Line1 = sym[e1.EventCode[i]] + r.Line1;
      r.Line3 = nil + r.Line3;
      r.Marks = (agree ? "|" : " ") + r.Marks;
      --i;
    } else {
      const bool agree = overlap(1, 0, j);
      ++r.Matrix[agree ? e2.EventCode[j] : 0][e2.EventCode[j]];
      if (agree) nil = "+";
      r.Line1 = nil + r.Line1;
      r.Line3 = sym[e2.EventCode[j]] + r.Line3;
      r.Marks = (agree ? "|" : " ") + r.Marks;
      --j;
    }
  }
  return r;
}

// Random sides of a pair: stretches of codes and of none, onsets where a
// stretch begins and now and then inside one.
std::string RandomSide(std::mt19937& random, int k, int from, int to, int length) {
  std::string side(length, ' ');
  for (int t = from; t <= to;) {
    const int code = random() % (k + 1);
    const int stretch = 1 + random() % 6;
    for (int u = 0; u < stretch && t <= to; ++u, ++t) {
      if (code == k) side[t] = '.';
      else side[t] = static_cast<char>((u == 0 || random() % 8 == 0 ? 'A' : 'a') + code);
    }
  }
  return side;
}

TEST(EventAlignmentTest, TheCompactAlignmentAgreesWithTheFullTables) {
  std::mt19937 random(17);
  for (int round = 0; round < 3000; ++round) {
    const int k = 1 + random() % 4;
    const int length = 2 + random() % (round % 10 == 0 ? 300 : 40);
    const int from1 = random() % length, from2 = random() % length;
    const int to1 = from1 + random() % (length - from1), to2 = from2 + random() % (length - from2);
    const SegmentPair pair = PairOf(RandomSide(random, k, from1, to1, length), RandomSide(random, k, from2, to2, length), k);
    const EventAlignmentSettings settings{random() % 4 != 0, static_cast<int>(random() % 7),
                                          static_cast<int>(random() % 3 == 0 ? 100 : random() % 101)};
    dynInteger2 matrix = Zeros(k);
    AlignmentPlot plot;
    AlignSessionEvents(pair, settings, SymbolsFor(k), matrix, &plot);
    const ModelResult model = ModelAlignment(pair, settings, k);
    ASSERT_EQ(matrix, model.Matrix) << "round " << round;
    ASSERT_EQ(Joined(plot.Obs1) + "/" + Joined(plot.Marks) + "/" + Joined(plot.Obs2),
              model.Line1 + "/" + model.Marks + "/" + model.Line3)
        << "round " << round;
  }
}

// Timed and State sides made for ties: short stretches of few codes, both
// observers copies of one base with stretches a unit longer or shorter and
// now and then another code, so that onsets coincide or lie a unit or two
// apart, equal codes meet and candidates of equal value abound.
std::pair<std::string, std::string> TiedSides(std::mt19937& random, int k) {
  struct Stretch { int Code, Length; };
  std::vector<Stretch> base(1 + random() % 40);
  for (Stretch& s : base) s = {static_cast<int>(random() % (k + 1)), 1 + static_cast<int>(random() % 3)};
  std::string sides[2];
  for (std::string& side : sides) {
    side.assign(random() % 4, ' ');
    int before = -1;
    for (const Stretch& s : base) {
      const int code = random() % 6 == 0 ? static_cast<int>(random() % (k + 1)) : s.Code;
      const int length = std::max(1, s.Length + static_cast<int>(random() % 3) - 1);
      for (int u = 0; u < length; ++u) {
        if (code == k) side += '.';
        else side += static_cast<char>((u == 0 && (code != before || random() % 2 == 0) ? 'A' : 'a') + code);
      }
      before = code;
    }
  }
  const size_t length = std::max(sides[0].size(), sides[1].size()) + random() % 3;
  sides[0].resize(length, ' ');
  sides[1].resize(length, ' ');
  return {sides[0], sides[1]};
}

TEST(EventAlignmentTest, TimedAlignmentWithoutTheTableAgreesWithTheFullTablesOnTies) {
  std::mt19937 random(26);
  for (int round = 0; round < 4000; ++round) {
    const int k = 1 + random() % 3;
    const auto [obs1, obs2] = TiedSides(random, k);
    const SegmentPair pair = PairOf(obs1, obs2, k);
    const EventAlignmentSettings settings{true, round % 6, static_cast<int>(random() % 2 == 0 ? 100 : random() % 101)};
    dynInteger2 matrix = Zeros(k);
    AlignmentPlot plot;
    AlignSessionEvents(pair, settings, SymbolsFor(k), matrix, &plot);
    const ModelResult model = ModelAlignment(pair, settings, k);
    ASSERT_EQ(matrix, model.Matrix) << "round " << round << "\n" << obs1 << "\n" << obs2;
    ASSERT_EQ(Joined(plot.Obs1) + "/" + Joined(plot.Marks) + "/" + Joined(plot.Obs2),
              model.Line1 + "/" + model.Marks + "/" + model.Line3)
        << "round " << round << "\n" << obs1 << "\n" << obs2;
  }
}

// Hand-worked ties that random pairs meet only by chance.
TEST(EventAlignmentTest, TiesOfTimedPairingsFollowTheRules) {
  const AlignmentCase cases[] = {
      // B at 2 has B at 0 and B at 4 as candidates of value -9 each.
      {"equal values: the earlier candidate", "  Bb ", "BbbbB", 2, {true, 2, 100}, {{2, 2, 1}, {0, 2, 1}},
       "b-", "| ", "bb"},
      {"all values 0: the last candidate", "  .. ", "BbbbB", 2, {true, 2, 100}, {{3, 2, 1}, {0, 2, 1}},
       "-&", " :", "bb"},
      // A at 0: B at 0 and A at 1 both value -5.
      {"an equal code at the edge ties with another code at the same onset", "AA.", "BA.", 2, {true, 1, 100},
       {{1, 2, 1}, {1, 1, 1}, {3, 3, 1}}, "aa&", ":||", "ba&"},
      {"two events, one candidate: the later pairs", "AA", " A", 2, {true, 1, 100}, {{1, 1, 1}, {1, 0, 1}},
       "aa", " |", "-a"},
      // Pairing costs 2, as much as both lone events.
      {"a unit past the tolerance: the pairing wins the tie", "A ", " B", 2, {true, 0, 100}, {{1, 2, 1}},
       "a", ":", "b"},
      {"two units past: both alone", "A  ", "  B", 2, {true, 0, 100}, {{1, 0, 1}, {0, 2, 1}}, "-a", "  ", "b-"},
  };
  for (const auto& c : cases) ExpectAlignment(c);
}

}  // namespace
}  // namespace vork
