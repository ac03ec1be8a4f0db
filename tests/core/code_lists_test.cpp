#include "core/code_lists.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

struct MoveCase {
  const char* Name;
  CodeList Source;
  CodeList Target;
  dynString SourceAfter;
  dynString TargetAfter;
};

TEST(CodeLists, MoveSelectedCodesKeepsTheResidualCodeOutOfTheTarget) {
  const MoveCase cases[] = {
      {"codes and & selected",
       {{"a", "&", "b", "c"}, {true, true, false, true}},
       {{"x"}, {true}},
       {"b"},
       {"x", "a", "c"}},
      {"nothing selected",
       {{"a", "&", "b"}, {false, false, false}},
       {{"x"}, {}},
       {"a", "&", "b"},
       {"x"}},
      {"selection list shorter than the items",
       {{"a", "b", "c"}, {false, true}},
       {{}, {}},
       {"a", "c"},
       {"b"}},
      {"only & selected",
       {{"a", "&"}, {false, true}},
       {{"x"}, {}},
       {"a"},
       {"x"}},
      {"everything selected, empty target",
       {{"c", "b", "a"}, {true, true, true}},
       {{}, {}},
       {},
       {"c", "b", "a"}},
      {"empty source", {{}, {}}, {{"x"}, {}}, {}, {"x"}},
  };
  for (const MoveCase& c : cases) {
    CodeList source = c.Source;
    CodeList target = c.Target;
    MoveSelectedCodes(source, target);
    EXPECT_EQ(source.Items, c.SourceAfter) << c.Name;
    EXPECT_EQ(target.Items, c.TargetAfter) << c.Name;
    // Moved items arrive unselected; a selection already in the target stays.
    for (size_t i = 0; i < target.Items.size(); ++i) {
      EXPECT_EQ(target.IsSelected(i), i < c.Target.Items.size() && c.Target.IsSelected(i))
          << c.Name << " item " << i;
    }
  }
}

TEST(CodeLists, MoveSelectedCodesLeavesTheUnselectedInPlace) {
  CodeList source{{"a", "b", "c", "d"}, {false, true, false, false}};
  CodeList target;
  MoveSelectedCodes(source, target);
  EXPECT_EQ(source.Items, (dynString{"a", "c", "d"}));
  EXPECT_FALSE(source.IsSelected(0) || source.IsSelected(1) || source.IsSelected(2));
}

TEST(CodeLists, MoveAllCodeItemsEmptiesTheSource) {
  const MoveCase cases[] = {
      {"with &", {{"a", "&", "b"}, {}}, {{"x"}, {true}}, {}, {"x", "a", "b"}},
      {"empty source", {{}, {}}, {{"x"}, {}}, {}, {"x"}},
      {"only &", {{"&"}, {true}}, {{}, {}}, {}, {}},
  };
  for (const MoveCase& c : cases) {
    CodeList source = c.Source;
    CodeList target = c.Target;
    MoveAllCodeItems(source, target);
    EXPECT_EQ(source.Items, c.SourceAfter) << c.Name;
    EXPECT_TRUE(source.Selected.empty()) << c.Name;
    EXPECT_EQ(target.Items, c.TargetAfter) << c.Name;
  }
}

TEST(CodeLists, FindCodeIndexLooksAmongTheFirstNNames) {
  const dynString names{"", "cry", "fuss", "Play", "cry", "look"};
  const struct {
    const char* Name;
    int N;
    int Expected;
  } cases[] = {
      {"fuss", 5, 2}, {"cry", 5, 4},  {"cry", 3, 1},  {"play", 5, 0}, {"look", 4, 0},
      {"look", 5, 5}, {"look", 99, 5}, {"", 5, 0},    {"cry", 0, 0},  {"cry", -2, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindCodeIndex(c.Name, names, c.N), c.Expected) << c.Name << " in " << c.N;
  }
  EXPECT_EQ(FindCodeIndex("cry", {}, 3), 0);
}

}  // namespace
}  // namespace vork
