#include "compiler/name_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vork {

namespace {

// Names set in order, a later number replacing an earlier one; every
// lookup gives the last number set, 0 for names never set.
TEST(NameIndex, GivesTheLastNumberOfEachName) {
  struct Case {
    const char* Name;
    std::vector<std::pair<std::string, int>> Set;
    std::vector<std::pair<std::string, int>> Lookups;
  };
  // Forty names make the table grow twice past its first size.
  std::vector<std::pair<std::string, int>> many;
  std::vector<std::pair<std::string, int>> manyLookups;
  for (int i = 1; i <= 40; ++i) many.push_back({"c" + std::to_string(i), i});
  for (int i = 1; i <= 40; ++i) manyLookups.push_back({"c" + std::to_string(i), i});
  manyLookups.push_back({"c41", 0});
  manyLookups.push_back({"c0", 0});
  const Case cases[] = {
      {"empty", {}, {{"a", 0}, {"", 0}}},
      {"names differing in one byte or in length",
       {{"ab", 1}, {"ac", 2}, {"abc", 3}, {"AB", 4}},
       {{"ab", 1}, {"ac", 2}, {"abc", 3}, {"AB", 4}, {"a", 0}, {"abcd", 0}, {"aB", 0}}},
      {"a name set twice keeps its last number", {{"x", 1}, {"y", 2}, {"x", 3}}, {{"x", 3}, {"y", 2}}},
      {"a number below 1 is not set", {{"z", 0}, {"w", -2}}, {{"z", 0}, {"w", 0}}},
      {"bytes beyond ASCII", {{"\xc3\xa9t\xc3\xa9", 5}}, {{"\xc3\xa9t\xc3\xa9", 5}, {"ete", 0}}},
      {"many names", many, manyLookups},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    NameIndex index;
    for (const auto& [name, number] : c.Set) index.Set(name, number);
    for (const auto& [name, number] : c.Lookups) EXPECT_EQ(index.Find(name), number) << name;
  }
}

}  // namespace
}  // namespace vork
