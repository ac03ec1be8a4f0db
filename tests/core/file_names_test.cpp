#include "core/file_names.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(FileNames, RemoveFileExtCutsFromTheLastDotOfTheName) {
  const struct {
    const char* Name;
    const char* Expected;
  } cases[] = {
      {"/home/ann/day1.sds", "/home/ann/day1"}, {"day1.tar.mds", "day1.tar"},
      {"/home/a.b/day1", "/home/a.b/day1"},     {"day1", "day1"},
      {"/x/.mds", "/x/"},                       {"day1.", "day1"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveFileExt(c.Name), c.Expected) << c.Name;
}

TEST(FileNames, NameWithoutFolder) {
  EXPECT_EQ(FileNameWithoutFolder("/home/ann/day1.mds"), "day1.mds");
  EXPECT_EQ(FileNameWithoutFolder("day1.mds"), "day1.mds");
  EXPECT_EQ(FileNameWithoutFolder("/x/"), "");
}

}  // namespace
}  // namespace vork
