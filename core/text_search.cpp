#include "core/text_search.h"

#include <optional>

namespace vork {

bool IsWordLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

namespace {

// Finds What in Text from the 0-based index Start. CharBefore stands for
// the character in front of Text[0] when Text is the tail of a longer text.
// A rejected whole-word match moves the start on by the length of What from
// where the last search began, so a match overlapping the rejected one can
// be passed over; that is the search's rule, kept here.
std::optional<std::size_t> SearchForward(std::u16string_view text, std::size_t start,
                                         std::u16string_view what, bool wholeWord,
                                         std::optional<char16_t> charBefore) {
  if (what.empty()) return std::nullopt;
  while (start <= text.size()) {
    const std::size_t p = text.find(what, start);
    if (p == std::u16string_view::npos) return std::nullopt;
    bool accepted = true;
    if (wholeWord) {
      const std::optional<char16_t> before =
          p > 0 ? std::optional<char16_t>(text[p - 1]) : charBefore;
      if (before && IsWordLetter(*before)) accepted = false;
      const std::size_t after = p + what.size();
      if (after < text.size() && IsWordLetter(text[after])) accepted = false;
    }
    if (accepted) return p;
    // Each further step of the length of What would find this match again
    // until the start has passed it: jump there at once.
    const std::size_t steps = (p - start) / what.size() + 1;
    start += steps * what.size();
  }
  return std::nullopt;
}

}  // namespace

bool FindTextPos(std::u16string_view memoText, std::size_t selStart, std::size_t selLength,
                 std::u16string_view text, bool wholeWord, std::size_t& pos) {
  const std::size_t start = selStart + selLength;
  if (start > memoText.size()) return false;
  const std::optional<std::size_t> found =
      SearchForward(memoText, start, text, wholeWord, std::nullopt);
  if (!found) return false;
  pos = *found + 1;
  return true;
}

std::vector<std::size_t> FindReplacements(std::u16string_view memoText, std::size_t caretPos,
                                          std::u16string_view findText,
                                          std::u16string_view replaceText, bool wholeWord,
                                          bool replaceAll) {
  std::vector<std::size_t> places;
  if (caretPos > memoText.size()) return places;
  // The text as it stands after the replacements so far is the changed
  // part before Rest, then MemoText from Rest on; only its last character
  // matters to the next search.
  std::size_t rest = caretPos;
  std::optional<char16_t> lastChanged;
  if (caretPos > 0) lastChanged = memoText[caretPos - 1];
  while (true) {
    const std::optional<std::size_t> found =
        SearchForward(memoText.substr(rest), 0, findText, wholeWord, lastChanged);
    if (!found) break;
    const std::size_t match = rest + *found;
    places.push_back(match);
    if (!replaceText.empty()) {
      lastChanged = replaceText.back();
    } else if (match > rest) {
      lastChanged = memoText[match - 1];
    }
    rest = match + findText.size();
    if (!replaceAll) break;
  }
  return places;
}

}  // namespace vork
