#pragma once

#include <QString>
#include <QTextCursor>
#include <cstddef>
#include <string>
#include <vector>

class QPlainTextEdit;
class QTextDocument;
class QTextEdit;

namespace vork {

class UserDialogue;

// Either kind of text widget a window searches in: the editors are plain
// text edits, a rich text edit works the same way.
class MemoRef {
 public:
  MemoRef(QPlainTextEdit* memo) : Plain(memo) {}  // NOLINT: converts on purpose
  MemoRef(QTextEdit* memo) : Rich(memo) {}        // NOLINT: converts on purpose

  QTextDocument* Document() const;
  QTextCursor Cursor() const;
  void SetCursor(const QTextCursor& cursor) const;
  void Focus() const;

 private:
  QPlainTextEdit* Plain = nullptr;
  QTextEdit* Rich = nullptr;
};

// A document's text with every line break written as two characters, as
// searches and compiler positions count it, and the way back to the
// document's own positions, in which a line break counts one.
class TwoCharBreakText {
 public:
  explicit TwoCharBreakText(const QTextDocument& document);

  const std::u16string& Text() const { return Chars; }
  std::size_t FromDocument(int documentPos) const;
  int ToDocument(std::size_t pos) const;

 private:
  std::u16string Chars;
  std::vector<int> DocumentStarts;         // each line's start in the document
  std::vector<std::size_t> TwoCharStarts;  // the same line's start in Chars
};

// Selects the next occurrence of Text after the memo's selection and
// focuses the memo; otherwise the notice "'Text' not found.".
bool FindNextInMemo(MemoRef memo, const QString& text, bool wholeWord, UserDialogue& dialogue);

// The replace and replace-all buttons of a replace dialog: replaces the next
// occurrence of FindText from the selection start, or with ReplaceAll every
// one from there on, and reports how many were made.
void ReplaceInMemo(MemoRef memo, const QString& findText, const QString& replaceText,
                   bool wholeWord, bool replaceAll, UserDialogue& dialogue);

}  // namespace vork
