#include "core/code_lists.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vork {
namespace {

struct MoveCase {
  const char* Name;
  bool All;  // MoveAllCodeItems, else MoveSelectedCodes
  CodeList Source, Target;
  dynString SourceAfter, TargetAfter;
};

TEST(CodeLists, MovingCodesKeepsTheResidualCodeOutOfTheTarget) {
  const MoveCase cases[] = {
      {"codes and & selected", false, {{"a", "&", "b", "c"}, {true, true, false, true}}, {{"x"}, {true}}, {"b"},
       {"x", "a", "c"}},
      {"unselected stay in place", false, {{"a", "b", "c", "d"}, {false, true, false, false}}, {}, {"a", "c", "d"},
       {"b"}},
      {"nothing selected", false, {{"a", "&", "b"}, {false, false, false}}, {{"x"}, {}}, {"a", "&", "b"}, {"x"}},
      {"selection list shorter than the items", false, {{"a", "b", "c"}, {false, true}}, {}, {"a", "c"}, {"b"}},
      {"only & selected", false, {{"a", "&"}, {false, true}}, {{"x"}, {}}, {"a"}, {"x"}},
      {"everything selected, empty target", false, {{"c", "b", "a"}, {true, true, true}}, {}, {}, {"c", "b", "a"}},
      {"empty source", false, {}, {{"x"}, {}}, {}, {"x"}},
      {"all, with &", true, {{"a", "&", "b"}, {}}, {{"x"}, {true}}, {}, {"x", "a", "b"}},
      {"all of an empty source", true, {}, {{"x"}, {}}, {}, {"x"}},
      {"all of only &", true, {{"&"}, {true}}, {}, {}, {}},
  };
  for (const MoveCase& c : cases) {
    CodeList source = c.Source, target = c.Target;
    c.All ? MoveAllCodeItems(source, target) : MoveSelectedCodes(source, target);
    EXPECT_EQ(source.Items, c.SourceAfter) << c.Name;
    if (c.All) {
      EXPECT_TRUE(source.Selected.empty()) << c.Name;
    }
    EXPECT_EQ(target.Items, c.TargetAfter) << c.Name;
    for (size_t i = 0; i < source.Items.size(); ++i) EXPECT_FALSE(source.IsSelected(i)) << c.Name << " " << i;
    // Moved items arrive unselected; a selection already in the target stays.
    for (size_t i = 0; i < target.Items.size(); ++i) {
      EXPECT_EQ(target.IsSelected(i), i < c.Target.Items.size() && c.Target.IsSelected(i)) << c.Name << i;
    }
  }
}

TEST(CodeLists, FindCodeIndexLooksAmongTheFirstNNames) {
  const dynString names{"", "cry", "fuss", "Play", "cry", "look"};
  const std::tuple<const char*, int, int> cases[] = {
      {"fuss", 5, 2}, {"cry", 5, 4}, {"cry", 3, 1}, {"play", 5, 0}, {"look", 4, 0},
      {"look", 5, 5}, {"look", 99, 5}, {"", 5, 0}, {"cry", 0, 0}, {"cry", -2, 0},
  };
  for (const auto& [name, n, want] : cases) EXPECT_EQ(FindCodeIndex(name, names, n), want) << name << n;
  EXPECT_EQ(FindCodeIndex("cry", {}, 3), 0);
  // A list's numbers after a 0 at [0]; a name not among the file's codes is 0.
  EXPECT_EQ(CodeIndexList({"b", "zz", "a", "c"}, {"", "a", "b", "c"}, 2), (dynInteger{0, 2, 0, 1, 0}));
  EXPECT_EQ(CodeIndexList({}, {"", "a"}, 1), (dynInteger{0}));
}

}  // namespace
}  // namespace vork
