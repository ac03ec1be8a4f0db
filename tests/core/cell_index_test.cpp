#include "core/cell_index.h"

#include <gtest/gtest.h>

#include "core/command_error.h"

namespace vork {
namespace {

TEST(CellIndex, NumbersLevelCombinationsLastDimensionFastest) {
  const struct {
    dynInteger Sizes;
    dynInteger Indices;
    int First;
    int Last;
    int Expected;
  } cases[] = {
      {{0, 3, 1, 2}, {0, 2, 5, 2}, 1, 3, 4}, {{0, 3, 1, 2}, {0, 1, 1, 1}, 1, 3, 1},
      {{0, 3, 1, 2}, {0, 3, 1, 2}, 1, 3, 6}, {{0, 3, 1, 2}, {0, 3, 9, 1}, 1, 3, 5},
      {{4, 3, 2}, {2, 3, 1}, 0, 2, 11},  // (2-1)*6 + (3-1)*2 + (1-1)*1 + 1
      {{4, 3, 2}, {4, 3, 2}, 0, 2, 24},      {{4, 3, 2}, {4, 3, 2}, 1, 2, 6},
      {{4, 3, 2}, {2, 3, 1}, 2, 1, 1},       {{0, 0}, {7, 7}, 0, 1, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CellIndex(c.Sizes, c.Indices, c.First, c.Last), c.Expected);
  }
}

TEST(CellIndex, RefusesDimensionsOutsideTheArraysAndHugeTables) {
  EXPECT_THROW(CellIndex({2, 2}, {1, 1}, 0, 2), CommandError);
  EXPECT_THROW(CellIndex({2, 2, 2}, {1, 1}, 0, 2), CommandError);
  EXPECT_THROW(CellIndex({2, 2}, {1, 1}, -1, 1), CommandError);
  const dynInteger huge{100000, 100000, 100000};
  EXPECT_THROW(CellIndex(huge, huge, 0, 2), CommandError);
}

}  // namespace
}  // namespace vork
