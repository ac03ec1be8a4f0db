#include "widgets/memo_search.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

#include "core/text_search.h"
#include "core/user_dialogue.h"

namespace vork {

QTextDocument* MemoRef::Document() const { return Plain ? Plain->document() : Rich->document(); }

QTextCursor MemoRef::Cursor() const { return Plain ? Plain->textCursor() : Rich->textCursor(); }

void MemoRef::SetCursor(const QTextCursor& cursor) const {
  if (Plain) {
    Plain->setTextCursor(cursor);
  } else {
    Rich->setTextCursor(cursor);
  }
}

void MemoRef::Focus() const {
  if (Plain) {
    Plain->setFocus();
  } else {
    Rich->setFocus();
  }
}

TwoCharBreakText::TwoCharBreakText(const QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (!TwoCharStarts.empty()) Chars += u"\r\n";
    DocumentStarts.push_back(block.position());
    TwoCharStarts.push_back(Chars.size());
    const QString line = block.text();
    Chars.append(reinterpret_cast<const char16_t*>(line.utf16()),
                 static_cast<std::size_t>(line.size()));
  }
}

std::size_t TwoCharBreakText::FromDocument(int documentPos) const {
  if (DocumentStarts.empty() || documentPos <= 0) return 0;
  const auto line = std::upper_bound(DocumentStarts.begin(), DocumentStarts.end(), documentPos) - 1;
  const auto index = static_cast<std::size_t>(line - DocumentStarts.begin());
  return std::min(TwoCharStarts[index] + static_cast<std::size_t>(documentPos - *line),
                  Chars.size());
}

int TwoCharBreakText::ToDocument(std::size_t pos) const {
  if (TwoCharStarts.empty()) return 0;
  const auto line = std::upper_bound(TwoCharStarts.begin(), TwoCharStarts.end(), pos) - 1;
  const auto index = static_cast<std::size_t>(line - TwoCharStarts.begin());
  const std::size_t lineEnd =
      index + 1 < TwoCharStarts.size() ? TwoCharStarts[index + 1] - 2 : Chars.size();
  // A place inside a line break is the end of its line.
  return DocumentStarts[index] + static_cast<int>(std::min(pos, lineEnd) - *line);
}

namespace {

std::u16string ToU16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

void SelectRange(MemoRef memo, int start, int end) {
  QTextCursor cursor(memo.Document());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  memo.SetCursor(cursor);
}

}  // namespace

bool FindNextInMemo(MemoRef memo, const QString& text, bool wholeWord, UserDialogue& dialogue) {
  const TwoCharBreakText memoText(*memo.Document());
  const QTextCursor cursor = memo.Cursor();
  const std::size_t selStart = memoText.FromDocument(cursor.selectionStart());
  const std::size_t selEnd = memoText.FromDocument(cursor.selectionEnd());
  std::size_t pos = 0;
  if (!FindTextPos(memoText.Text(), selStart, selEnd - selStart, ToU16(text), wholeWord, pos)) {
    dialogue.Notify("'" + text.toStdString() + "' not found.");
    return false;
  }
  memo.Focus();
  SelectRange(memo, memoText.ToDocument(pos - 1),
              memoText.ToDocument(pos - 1 + static_cast<std::size_t>(text.size())));
  return true;
}

void ReplaceInMemo(MemoRef memo, const QString& findText, const QString& replaceText,
                   bool wholeWord, bool replaceAll, UserDialogue& dialogue) {
  const TwoCharBreakText memoText(*memo.Document());
  const QTextCursor before = memo.Cursor();
  const std::size_t selStart = memoText.FromDocument(before.selectionStart());
  const std::size_t selLength = memoText.FromDocument(before.selectionEnd()) - selStart;
  const std::vector<std::size_t> places = FindReplacements(
      memoText.Text(), selStart, ToU16(findText), ToU16(replaceText), wholeWord, replaceAll);
  if (places.empty()) {
    // The search began at the caret put at the selection start.
    const int caret = memoText.ToDocument(selStart);
    SelectRange(memo, caret, caret);
    dialogue.Notify("'" + findText.toStdString() + "' not found.");
    return;
  }
  memo.Focus();
  // From the last place back, so that the earlier places keep their positions.
  QTextCursor edit(memo.Document());
  edit.beginEditBlock();
  for (auto place = places.rbegin(); place != places.rend(); ++place) {
    edit.setPosition(memoText.ToDocument(*place));
    edit.setPosition(memoText.ToDocument(*place + static_cast<std::size_t>(findText.size())),
                     QTextCursor::KeepAnchor);
    edit.insertText(replaceText);
  }
  edit.endEditBlock();
  if (places.size() == 1) {
    const int caret = memoText.ToDocument(places.front()) + static_cast<int>(replaceText.size());
    SelectRange(memo, caret, caret);
    dialogue.Notify("1 replacement made.");
    return;
  }
  dialogue.Notify(std::to_string(places.size()) + " replacements made.");
  // The selection that was there before, by its numbers in the changed text.
  const TwoCharBreakText changed(*memo.Document());
  SelectRange(memo, changed.ToDocument(selStart), changed.ToDocument(selStart + selLength));
}

}  // namespace vork
