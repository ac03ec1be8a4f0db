#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/line_buffer.h"

namespace vork {
namespace {

// Every way of changing written lines, against the lines it must leave;
// a buffer changed in place reads as one built from its lines afresh.
TEST(LineBuffer, ChangesInPlaceLeaveTheLinesWritten) {
  const auto filled = [] {
    LineBuffer lines;
    lines.push_back("1\t2\t#1");
    std::memcpy(lines.AppendLine(4), "1\t3*", 4);
    lines.AppendLine(0);
    std::memcpy(lines.AppendLine(5), "-9\t1F", 5);
    return lines;
  };
  const struct {
    const char* Name;
    std::function<void(LineBuffer&)> Change;
    dynString Expected;
  } cases[] = {
      {"Appended", [](LineBuffer&) {}, {"1\t2\t#1", "1\t3*", "", "-9\t1F"}},
      {"LongerLine", [](LineBuffer& l) { l.ReplaceLine(1, "12\t3\t7F*"); },
       {"1\t2\t#1", "12\t3\t7F*", "", "-9\t1F"}},
      {"ShorterLine", [](LineBuffer& l) { l.ReplaceLine(0, "7"); }, {"7", "1\t3*", "", "-9\t1F"}},
      {"EmptyLastLine", [](LineBuffer& l) { l.ReplaceLine(3, ""); }, {"1\t2\t#1", "1\t3*", "", ""}},
      {"Truncated", [](LineBuffer& l) { l.Truncate(2); }, {"1\t2\t#1", "1\t3*"}},
      {"TruncatedToNothing", [](LineBuffer& l) { l.Truncate(0); }, {}},
      {"HeaderInFront", [](LineBuffer& l) { l.InsertFront(LineBuffer{"stamp", "2\t0\t0"}); },
       {"stamp", "2\t0\t0", "1\t2\t#1", "1\t3*", "", "-9\t1F"}},
      {"ThenAppended",
       [](LineBuffer& l) {
         l.InsertFront(LineBuffer{"h"});
         l.ReplaceLine(1, "");
         l.push_back("end");
       },
       {"h", "", "1\t3*", "", "-9\t1F", "end"}},
  };
  for (const auto& c : cases) {
    LineBuffer lines = filled();
    c.Change(lines);
    EXPECT_TRUE(lines == c.Expected) << c.Name;
    EXPECT_TRUE(LineBuffer(c.Expected) == lines) << c.Name;
    if (!lines.empty()) {
      EXPECT_EQ(lines.TextBytes(), LineBuffer(c.Expected).TextBytes()) << c.Name;
    }
  }
  LineBuffer empty;
  empty.InsertFront(LineBuffer{"only"});
  EXPECT_TRUE(empty == dynString{"only"});
}

// Many lines grow the buffer and its offsets many times over; every line
// stays where it was written.
TEST(LineBuffer, GrowsKeepingEveryLine) {
  LineBuffer lines;
  for (int i = 0; i < 100000; ++i) lines.push_back(std::to_string(i));
  lines.InsertFront(LineBuffer{"first"});
  ASSERT_EQ(lines.size(), 100001u);
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[1], "0");
  EXPECT_EQ(lines[77778], "77777");
  EXPECT_EQ(lines[100000], "99999");
}

}  // namespace
}  // namespace vork
