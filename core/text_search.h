#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vork {

// The search behind Find and Replace of every text window. It works on the
// window's whole text as one string in which every line break counts two
// characters ("\r\n"), always forward and always matching case.

// Letters for the whole-word test: the ASCII letters only. Digits, "_",
// blanks, punctuation and every character above code 127 are not letters.
bool IsWordLetter(char16_t c);

// Searches Text in MemoText from the first character after the selection
// (or from the caret when nothing is selected). On success Pos is the
// 1-based position of the match. An empty Text is never found. With
// WholeWord a match touching a letter on either side is passed over.
bool FindTextPos(std::u16string_view memoText, std::size_t selStart, std::size_t selLength,
                 std::u16string_view text, bool wholeWord, std::size_t& pos);

// The places that Replace changes, as 0-based starts of FindText in the
// unchanged MemoText, in order. The search starts at the caret
// (CaretPos, 0-based), finds a selected match again first, and with
// ReplaceAll goes on after each inserted text: a match is judged
// against the text as it stands after the replacements before it.
std::vector<std::size_t> FindReplacements(std::u16string_view memoText, std::size_t caretPos,
                                          std::u16string_view findText,
                                          std::u16string_view replaceText, bool wholeWord,
                                          bool replaceAll);

}  // namespace vork
