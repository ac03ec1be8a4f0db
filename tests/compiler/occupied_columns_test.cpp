#include "compiler/occupied_columns.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vork {
namespace {

// One step on a row: Add marks one column; a fill asks for [First, Last]
// and must be handed the free stretches Fills ("from-to", blank between)
// and say whether some column was already occupied.
struct Step {
  bool IsFill;
  std::int64_t First;
  std::int64_t Last;
  std::string Fills;
  bool Occupied;
};

Step Add(std::int64_t column) { return {false, column, column, "", false}; }
Step Fill(std::int64_t first, std::int64_t last, std::string fills, bool occupied) {
  return {true, first, last, std::move(fills), occupied};
}

struct RowCase {
  const char* Name;
  std::vector<Step> Steps;
};

TEST(OccupiedColumns, FillsOnlyTheFreeColumns) {
  const RowCase cases[] = {
      {"entries in time order",
       {Fill(0, 4, "0-4", false), Fill(5, 9, "5-9", false), Fill(12, 15, "12-15", false),
        Fill(3, 13, "10-11", true), Fill(16, 16, "16-16", false)}},
      {"entries before those already there",
       {Add(20), Fill(10, 25, "10-19 21-25", true), Fill(0, 5, "0-5", false),
        Fill(6, 9, "6-9", false), Fill(0, 30, "26-30", true)}},
      {"a column between two marks joins them",
       {Add(5), Add(7), Fill(6, 6, "6-6", false), Fill(4, 8, "4-4 8-8", true),
        Fill(9, 9, "9-9", false), Fill(3, 10, "3-3 10-10", true)}},
      {"a mark inside an earlier stretch",
       {Fill(0, 9, "0-9", false), Add(20), Add(4), Fill(10, 19, "10-19", false),
        Fill(0, 21, "21-21", true)}},
      {"an empty range", {Fill(5, 4, "", false), Fill(4, 5, "4-5", false)}},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.Name);
    OccupiedColumns row;
    for (const Step& step : c.Steps) {
      if (!step.IsFill) {
        row.Add(step.First);
        continue;
      }
      std::string fills;
      const bool occupied = row.FillFree(step.First, step.Last, [&](std::int64_t a, std::int64_t b) {
        if (!fills.empty()) fills += ' ';
        fills += std::to_string(a) + "-" + std::to_string(b);
      });
      EXPECT_EQ(fills, step.Fills) << step.First << ".." << step.Last;
      EXPECT_EQ(occupied, step.Occupied) << step.First << ".." << step.Last;
    }
  }
}

// Stretches added in any order come out sorted, joined where they touch,
// whether they stayed in time order or not.
TEST(OccupiedColumns, StretchesComeOutSortedAndJoined) {
  struct StretchCase {
    const char* Name;
    std::vector<std::pair<std::int64_t, std::int64_t>> Fills;
    std::vector<std::int64_t> Adds;
    const char* Expected;  // "first-last" per stretch
    std::vector<std::int64_t> Inside;
    std::vector<std::int64_t> Outside;
  };
  const StretchCase cases[] = {
      {"in time order", {{0, 2}, {5, 6}, {7, 9}}, {11}, "0-2 5-9 11-11", {0, 2, 5, 9, 11}, {3, 4, 10, 12, -1}},
      {"a fill over the last ones", {{0, 1}, {4, 5}, {8, 9}, {3, 12}}, {}, "0-1 3-12", {3, 12}, {2, 13}},
      {"inside an earlier stretch", {{0, 9}, {20, 21}}, {4, 9, 0}, "0-9 20-21", {4}, {10, 19, 22}},
      {"last to first", {{30, 31}, {20, 21}, {10, 11}, {0, 1}}, {}, "0-1 10-11 20-21 30-31", {1, 10, 31}, {2, 12, 29}},
      {"an earlier one joins two", {{0, 2}, {6, 8}, {12, 14}}, {4, 3, 5}, "0-8 12-14", {3, 4, 5}, {9, 11, 15}},
  };
  for (const StretchCase& c : cases) {
    SCOPED_TRACE(c.Name);
    OccupiedColumns row;
    for (const auto& [first, last] : c.Fills) row.FillFree(first, last, [](std::int64_t, std::int64_t) {});
    for (std::int64_t column : c.Adds) row.Add(column);
    for (std::int64_t column : c.Inside) EXPECT_TRUE(row.Contains(column)) << column;
    for (std::int64_t column : c.Outside) EXPECT_FALSE(row.Contains(column)) << column;
    std::string stretches;
    for (const auto& [first, last] : row.Stretched()) {
      if (!stretches.empty()) stretches += ' ';
      stretches += std::to_string(first) + "-" + std::to_string(last);
    }
    EXPECT_EQ(stretches, c.Expected);
  }
}

}  // namespace
}  // namespace vork
