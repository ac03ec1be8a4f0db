#include "tests/modify/grid_round_model.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/compiled_text.h"

namespace vork::model {
namespace {

// The rule stated directly: new time n holds the old times T with
// (T + H) div F = n; the units from the start up to the stop are written,
// the unit at the stop is still tallied.
TEST(RoundTimes, AgreesWithTheRuleOnRandomSegments) {
  std::mt19937 random(21);
  for (int trial = 0; trial < 400; ++trial) {
    const int factor = std::vector<int>{10, 100, 1000}[trial % 3], half = factor / 2;
    const int nCodes = 1 + int(random() % 3);
    const std::uint32_t start = random() % 3000;
    const int units = int(random() % 80);
    dynChar2 matrix(size_t(nCodes), std::string(size_t(units), '.'));
    for (std::string& row : matrix)
      for (char& cell : row) cell = "..........11111111112"[random() % 21];
    RoundingTallies tallies{dynInteger(size_t(nCodes) + 1, 0), dynInteger(size_t(nCodes) + 1, 0)};
    for (int c = 1; c <= nCodes; ++c) tallies.Carry[size_t(c)] = int(random() % factor);
    RoundingTallies model = tallies;
    const GridRoundedSegment seg =
        RoundSegment(testing::RunsOf(matrix), start, start + std::uint32_t(units), factor, tallies, "here");

    const std::int64_t newStart = (start + half) / factor, newStop = (start + units + half) / factor;
    ASSERT_EQ(seg.NewStart, newStart);
    ASSERT_EQ(seg.NewU, newStop - newStart);
    for (int c = 1; c <= nCodes; ++c) {
      std::string expected;
      for (std::int64_t n = newStart; units > 0 && n <= (start + units - 1 + half) / factor; ++n) {
        int onsets = 0, on = 0;
        for (std::int64_t time = start; time < start + units; ++time) {
          if ((time + half) / factor != n) continue;
          const char cell = matrix[size_t(c - 1)][size_t(time - start)];
          onsets += cell == '2';
          on += cell == '1';
        }
        char mark = '.';
        if (onsets > 0) {
          mark = '2';
          model.Merged[size_t(c)] += onsets - 1;
          model.Carry[size_t(c)] = on;
        } else if (on == factor || (on > 0 && on + model.Carry[size_t(c)] > factor + half)) {
          mark = '1';
        }
        if (n < newStop) expected += mark;
      }
      EXPECT_EQ(seg.Matrix[size_t(c - 1)].substr(0, size_t(seg.NewU)), expected) << trial;
    }
    EXPECT_EQ(tallies.Merged, model.Merged) << trial;
    EXPECT_EQ(tallies.Carry, model.Carry) << trial;
  }
}

}  // namespace
}  // namespace vork::model
