#include "core/text_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vork {
namespace {

TEST(FindTextPos, FindsForwardFromTheSelection) {
  const struct {
    const char* Name;
    std::u16string Text;
    std::size_t SelStart, SelLength;
    std::u16string What;
    bool WholeWord;
    std::size_t Expected;  // 1-based position, 0 for not found
  } cases[] = {
      {"first whole cat", u"cat scat cat_x", 0, 0, u"cat", true, 1},
      {"underscore is no letter", u"cat scat cat_x", 0, 3, u"cat", true, 10},
      {"never inside scat", u"cat scat cat_x", 9, 3, u"cat", true, 0},
      {"inside scat without whole word", u"cat scat cat_x", 0, 3, u"cat", false, 6},
      {"letter after the first match", u"cats dog", 0, 0, u"cat", true, 0},
      {"match at the very end", u"dog cat", 0, 0, u"cat", true, 5},
      {"selected only occurrence", u"the code here", 4, 4, u"code", false, 0},
      {"caret before the only occurrence", u"the code here", 3, 0, u"code", false, 5},
      {"caret on the occurrence", u"the code here", 4, 0, u"code", false, 5},
      {"case must match", u"code", 0, 0, u"Code", false, 0},
      {"empty text is never found", u"abc", 0, 0, u"", false, 0},
      {"digit neighbours pass", u"1cat2", 0, 0, u"cat", true, 2},
      {"accented letters are not letters", u"\u00e9cat", 0, 0, u"cat", true, 2},
      {"line breaks count two", u"ab\r\ncd\r\ncd", 0, 0, u"cd", false, 5},
      {"after a line break", u"ab\r\ncd\r\ncd", 4, 2, u"cd", false, 9},
      {"caret at the end", u"abc", 3, 0, u"c", false, 0},
      {"selection beyond the text", u"abc", 5, 1, u"c", false, 0},
      // A rejected match moves the start on by the length of the text from where the search
      // began, which here passes over the match at 4.
      {"overlapping match passed over", u"xa.a.a.a", 0, 0, u"a.a.a", true, 0},
      {"overlapping match found without whole word", u"xa.a.a.a", 0, 0, u"a.a.a", false, 2},
  };
  for (const auto& c : cases) {
    std::size_t pos = 0;
    const bool found = FindTextPos(c.Text, c.SelStart, c.SelLength, c.What, c.WholeWord, pos);
    EXPECT_EQ(found ? pos : 0, c.Expected) << c.Name;
  }
}

TEST(FindTextPos, RejectedWordsInALongTextDoNotSlowTheSearch) {
  std::u16string text;
  for (int i = 0; i < 200000; ++i) text += u"xcat ";
  text += u"cat";
  std::size_t pos = 0;
  ASSERT_TRUE(FindTextPos(text, 0, 0, u"cat", true, pos));
  EXPECT_EQ(pos, 1000001u);
}

TEST(FindReplacements, ReplacesFromTheCaret) {
  const struct {
    const char* Name;
    std::u16string Text;
    std::size_t Caret;
    std::u16string Find, Replace;
    bool WholeWord, All;
    std::vector<std::size_t> Expected;
  } cases[] = {
      {"one replacement", u"a b a", 0, u"a", u"x", false, false, {0}},
      {"all of a by aa ends", u"a b a", 0, u"a", u"aa", false, true, {0, 4}},
      {"from the caret on", u"a b a", 1, u"a", u"x", false, true, {4}},
      {"selected match found again first", u"ab ab", 3, u"ab", u"x", false, false, {3}},
      {"nothing found", u"abc", 0, u"d", u"x", false, true, {}},
      {"whole words only", u"cat scat cat", 0, u"cat", u"dog", true, true, {0, 9}},
      // After "1" became "x" the next "1" follows a letter.
      {"judged against the changed text", u"11", 0, u"1", u"x", true, true, {0}},
      {"empty replacement", u"1 1", 0, u"1", u"", true, true, {0, 2}},
      {"a letter before the caret counts", u"a1 1", 1, u"1", u"", true, true, {3}},
      {"across line breaks", u"a\r\na\r\n", 0, u"a", u"b", false, true, {0, 3}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindReplacements(c.Text, c.Caret, c.Find, c.Replace, c.WholeWord, c.All), c.Expected) << c.Name;
  }
}

}  // namespace
}  // namespace vork
