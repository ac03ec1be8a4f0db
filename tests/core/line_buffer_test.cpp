#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <utility>
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


// A line of 0 to 600 bytes, mostly short as in a compiled file, now and then
// long enough to need more than a byte for its length.
std::string RandomLine(std::mt19937& random) {
  const std::size_t length = random() % 8 == 0 ? random() % 601 : random() % 20;
  std::string line(length, ' ');
  for (char& c : line) c = "ab1\t*#-9 ,"[random() % 11];
  return line;
}

void ExpectSameLines(const LineBuffer& lines, const std::vector<std::string>& model, const std::string& where) {
  ASSERT_EQ(lines.size(), model.size()) << where;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < model.size(); ++i) {
    ASSERT_EQ(lines[i], model[i]) << where << " line " << i;
    bytes += model[i].size() + 2;
  }
  std::size_t i = 0;
  for (std::string_view line : lines) ASSERT_EQ(line, model[i++]) << where;
  EXPECT_TRUE(lines == dynString(model.begin(), model.end())) << where;
  EXPECT_EQ(lines.TextBytes(), bytes) << where;
}

// Random sequences of every change, against a list of strings changed alike.
TEST(LineBuffer, AnySequenceOfChangesReadsAsTheLinesWritten) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    std::mt19937 random(seed);
    LineBuffer lines;
    std::vector<std::string> model;
    const auto randomIndex = [&](std::size_t extra) { return random() % (model.size() + extra); };
    for (int step = 0; step < 120; ++step) {
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      switch (random() % 11) {
        case 0: case 1: case 2: {
          const int count = 1 + static_cast<int>(random() % 40);
          for (int k = 0; k < count; ++k) {
            model.push_back(RandomLine(random));
            lines.push_back(model.back());
          }
          break;
        }
        case 3: {
          model.push_back(RandomLine(random));
          const std::string& line = model.back();
          char* at = lines.AppendLine(line.size());
          if (!line.empty()) std::memcpy(at, line.data(), line.size());
          break;
        }
        case 4: {
          const std::size_t i = randomIndex(2);  // beyond the last line: nothing
          const std::string line = RandomLine(random);
          lines.ReplaceLine(i, line);
          if (i < model.size()) model[i] = line;
          break;
        }
        case 5: {
          const std::size_t i = randomIndex(1);
          model.insert(model.begin() + static_cast<std::ptrdiff_t>(i), RandomLine(random));
          lines.InsertLine(i, model[i]);
          break;
        }
        case 6: {
          std::vector<std::string> head;
          const std::size_t count = random() % 30;
          for (std::size_t k = 0; k < count; ++k) head.push_back(RandomLine(random));
          lines.InsertFront(LineBuffer(dynString(head.begin(), head.end())));
          model.insert(model.begin(), head.begin(), head.end());
          break;
        }
        case 7: {
          const std::size_t keep = random() % 3 == 0 ? 0 : randomIndex(3);
          lines.Truncate(keep);
          if (keep < model.size()) model.resize(keep);
          break;
        }
        case 8: {
          std::vector<std::string> other;
          const std::size_t count = random() % 40;
          for (std::size_t k = 0; k < count; ++k) other.push_back(RandomLine(random));
          const LineBuffer source(dynString(other.begin(), other.end()));
          const std::size_t first = random() % (count + 1);
          const std::size_t last = first + random() % (count + 3 - first);
          lines.AppendLines(source, first, last);
          for (std::size_t k = first; k < std::min(last, count); ++k) model.push_back(other[k]);
          break;
        }
        case 9:
          lines.Reserve(random() % 5000, random() % 500);
          break;
        default: {
          if (random() % 2 == 0) {
            LineBuffer copy(lines);
            lines = std::move(copy);
          } else {
            LineBuffer moved(std::move(lines));
            lines = moved;
          }
          break;
        }
      }
      ExpectSameLines(lines, model, where);
      if (testing::Test::HasFatalFailure()) return;
    }
  }
}

// A text read from a file: LF and CR LF breaks mixed, with or without a
// break after the last line and a byte order mark; a line's view holds
// neither its break nor the CR of a CR LF.
TEST(LineBuffer, LoadReadsLfAndCrLfLines) {
  const std::string fileName = testing::TempDir() + "line_buffer_load.txt";
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 random(seed);
    std::vector<std::string> model(random() % 300);
    std::string text = seed % 5 == 0 ? "\xEF\xBB\xBF" : "";
    for (std::string& line : model) {
      line = RandomLine(random);
      text += line + (random() % 2 == 0 ? "\n" : "\r\n");
    }
    if (!model.empty() && !model.back().empty() && seed % 3 == 0) text.erase(text.size() - (text.back() == '\n' && text[text.size() - 2] == '\r' ? 2 : 1));
    std::ofstream(fileName, std::ios::binary) << text;
    const LineBuffer loaded = LineBuffer::Load(fileName);
    const std::string where = "seed " + std::to_string(seed);
    ASSERT_EQ(loaded.size(), model.size()) << where;
    for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(loaded[i], model[i]) << where << " line " << i;
    // Changed after loading, the lines stay in step.
    LineBuffer changed = loaded;
    if (!model.empty()) {
      changed.ReplaceLine(model.size() / 2, std::string(300, 'x'));
      model[model.size() / 2] = std::string(300, 'x');
    }
    changed.push_back("end");
    model.push_back("end");
    ASSERT_EQ(changed.size(), model.size()) << where;
    for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(changed[i], model[i]) << where << " line " << i;
  }
  std::remove(fileName.c_str());
}

// Short lines cost about a byte and a half each beyond their text.
TEST(LineBuffer, ShortLinesCostAboutAByteAndAHalfEach) {
  const struct {
    const char* Name;
    std::size_t Lines;
    std::size_t LineBytes;
    std::size_t MostIndexBytes;
  } cases[] = {
      {"OneLine", 1, 5, 9},
      {"SixteenLines", 16, 8, 24},
      {"Thousands", 16000, 6, 24000},
      {"LongLinesUseTheSideTable", 160, 300, 160 * 5 + 80},
  };
  for (const auto& c : cases) {
    LineBuffer lines;
    for (std::size_t i = 0; i < c.Lines; ++i) lines.push_back(std::string(c.LineBytes, 'a'));
    EXPECT_EQ(lines.TextBytes(), c.Lines * (c.LineBytes + 2)) << c.Name;
    EXPECT_LE(lines.MemoryBytes() - lines.TextBytes(), c.MostIndexBytes) << c.Name;
    EXPECT_EQ(lines[c.Lines - 1], std::string(c.LineBytes, 'a')) << c.Name;
  }
}

}  // namespace
}  // namespace vork
