#include "tests/modify/grid_rules.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vork::model {
namespace {

// Models kept here, written from the rules' own wording, against the
// engine on many random rows.

// A bout: two or more stretches of on units whose gaps are at most gap long.
std::string ModelBouts(const std::string& on, int gap) {
  std::string row(on.size(), '.');
  const int u = static_cast<int>(on.size());
  int t = 0;
  while (t < u) {
    if (on[t] == '.') {
      ++t;
      continue;
    }
    int first = t, last = t, stretches = 0;
    while (true) {
      int end = last;
      while (end < u && on[end] != '.') ++end;
      ++stretches;
      last = end - 1;
      int next = end;
      while (next < u && on[next] == '.') ++next;
      if (next >= u || next - end > gap) break;
      last = next;
    }
    if (stretches >= 2) {
      row[first] = '2';
      for (int k = first + 1; k <= last; ++k) row[k] = '1';
    }
    t = last + 1;
  }
  return row;
}

// One-code windows with the null to part: each occurrence's window, marked
// cell by cell.
std::string ModelWindows(const std::string& code, int option, int n, int maxUnits, WindowCounts& counts) {
  const int u = static_cast<int>(code.size());
  std::string row(code.size(), '.');
  for (int t = 0; t < u; ++t) {
    if (code[t] != '2') continue;
    int last = t;
    while (last + 1 < u && code[last + 1] == '1') ++last;
    const int onset = t + 1, lastUnit = last + 1;
    int start = option == 2 ? lastUnit : onset, end = option == 0 ? onset : lastUnit;
    if (n < 0) start += n;
    if (n > 0) end += n;
    t = last;
    if (start > u) continue;
    if (start > end) {
      ++counts.Null;
      continue;
    }
    if (end < 1) continue;
    if (start < 1) start = 1, ++counts.Truncated;
    if (end > u) end = u, ++counts.Truncated;
    if (maxUnits >= 1 && end - start + 1 > maxUnits) continue;
    bool overlap = false;
    for (int k = start; k <= end; ++k) overlap = overlap || row[k - 1] != '.';
    counts.Overlapped += overlap;
    row[start - 1] = '2';
    for (int k = start + 1; k <= end; ++k) row[k - 1] = '1';
  }
  return row;
}

// A chain: every left-to-right run of events that spells the picked codes,
// runs not overlapping; the new code takes the run's first unit.
std::string ModelChain(const std::vector<int>& events, const std::vector<int>& chain) {
  std::string row(events.size(), '.');
  for (std::size_t t = 0; t + chain.size() <= events.size();) {
    if (std::equal(chain.begin(), chain.end(), events.begin() + static_cast<long>(t))) {
      row[t] = '2';
      for (std::size_t k = 1; k < chain.size(); ++k) row[t + k] = '1';
      t += chain.size();
    } else {
      ++t;
    }
  }
  return row;
}

TEST(SegmentRules, ChainAgreesWithAModelOnRandomEvents) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    const int u = 1 + static_cast<int>(random() % 30);
    std::vector<int> events(static_cast<std::size_t>(u));
    dynChar2 matrix(4, std::string(static_cast<std::size_t>(u), '.'));
    for (int t = 0; t < u; ++t) {
      events[t] = 1 + static_cast<int>(random() % 3);
      matrix[events[t] - 1][t] = '2';
    }
    std::vector<int> chain(1 + random() % 3);
    for (int& code : chain) code = 1 + static_cast<int>(random() % 2);
    dynInteger runs(static_cast<std::size_t>(u), 1);
    SegmentWork work{matrix, runs, chain, u};
    ChainEvents(work);
    const std::string expected = ModelChain(events, chain);
    EXPECT_EQ(matrix[3], expected);
    for (int t = 0; t < u; ++t) EXPECT_EQ(runs[t], expected[t] == '1' ? -1 : 1);
  }
}

TEST(SegmentRules, AgreeWithModelsOnRandomRows) {
  std::mt19937 random(7);
  for (int round = 0; round < 400; ++round) {
    const int u = 1 + static_cast<int>(random() % 40);
    dynChar2 matrix(3, std::string(static_cast<std::size_t>(u), '.'));
    for (int c = 0; c < 2; ++c)
      for (int t = 0; t < u; ++t)
        if (random() % 3 == 0) matrix[c][t] = t > 0 && matrix[c][t - 1] != '.' && random() % 2 ? '1' : '2';
    const std::vector<int> picked{1, 2};
    dynInteger runs(static_cast<std::size_t>(u), 1);
    std::string on(static_cast<std::size_t>(u), '.');
    for (int t = 0; t < u; ++t)
      if (matrix[0][t] != '.' || matrix[1][t] != '.') on[t] = '1';
    const int gap = 1 + static_cast<int>(random() % 4);
    dynChar2 work = matrix;
    SegmentWork bouts{work, runs, picked, u};
    MakeBouts(bouts, gap);
    EXPECT_EQ(work[2], ModelBouts(on, gap)) << on << " gap " << gap;

    const std::vector<int> first{1};
    const int option = static_cast<int>(random() % 3), n = static_cast<int>(random() % 11) - 5;
    const int maxUnits = static_cast<int>(random() % 6);
    work = matrix;
    WindowCounts counts, expected;
    SegmentWork windows{work, runs, first, u};
    MarkWindows(windows, {option, n, NullToPart, 0}, maxUnits, counts);
    EXPECT_EQ(work[2], ModelWindows(matrix[0], option, n, maxUnits, expected))
        << matrix[0] << " option " << option << " n " << n;
    EXPECT_EQ(counts.Null, expected.Null);
    EXPECT_EQ(counts.Truncated, expected.Truncated);
    EXPECT_EQ(counts.Overlapped, expected.Overlapped);
  }
}

}  // namespace
}  // namespace vork::model
