#include "widgets/find_replace_dialog.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/memo_find_replace.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

// A text window with its memo and its find and replace dialogs.
struct SearchWindow {
  explicit SearchWindow(const char* text) {
    Memo = new QPlainTextEdit(&Window);
    Memo->setPlainText(text);
    Dialogue.AnswerOkWhenUnscripted = true;
    Finder = new MemoFindReplace(&Window, Memo, Dialogue);
  }

  void Select(int start, int end) {
    QTextCursor cursor = Memo->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    Memo->setTextCursor(cursor);
  }

  std::pair<int, int> Selection() const {
    return {Memo->textCursor().selectionStart(), Memo->textCursor().selectionEnd()};
  }

  std::vector<std::string> Notices() const {
    std::vector<std::string> texts;
    for (const auto& box : Dialogue.Shown) texts.push_back(box.Text);
    return texts;
  }

  void FindNext(const char* what, bool wholeWord) {
    Finder->FindDialog1()->SetFindText(what);
    Finder->FindDialog1()->SetWholeWord(wholeWord);
    Finder->FindDialog1()->FindNextButton()->click();
  }

  void Replace(const char* what, const char* with, bool wholeWord, bool all) {
    TFindReplaceDialog* dialog = Finder->ReplaceDialog1();
    dialog->SetFindText(what);
    dialog->SetReplaceText(with);
    dialog->SetWholeWord(wholeWord);
    (all ? dialog->ReplaceAllButton() : dialog->ReplaceButton())->click();
  }

  QWidget Window;
  QPlainTextEdit* Memo = nullptr;
  testing::ScriptedDialogue Dialogue;
  MemoFindReplace* Finder = nullptr;
};

TEST(FindDialog, FindNextWalksOnAndReportsWhatIsNotFound) {
  struct Case {
    const char* Text;
    std::pair<int, int> Selected;
    std::vector<std::pair<const char*, bool>> Searches;  // what, whole word
    std::pair<int, int> SelectionAfter;
    std::vector<std::string> Notices;
  };
  const Case cases[] = {
      {"cat scat cat_x", {0, 0}, {{"cat", true}, {"cat", true}}, {9, 12}, {}},
      {"cat scat cat_x", {0, 0}, {{"cat", true}, {"cat", true}, {"cat", true}}, {9, 12},
       {"'cat' not found."}},
      {"cat scat cat_x", {0, 0}, {{"cat", true}}, {0, 3}, {}},
      // Line breaks do not shift the selection.
      {"ab\ncd\nxcd", {0, 0}, {{"cd", false}}, {3, 5}, {}},
      {"ab\ncd\nxcd", {0, 0}, {{"cd", false}, {"cd", false}}, {7, 9}, {}},
      // A selected only occurrence is not found again; case counts.
      {"the Code here", {4, 8}, {{"Code", false}}, {4, 8}, {"'Code' not found."}},
      {"the Code here", {3, 3}, {{"Code", false}}, {4, 8}, {}},
      {"the Code here", {0, 0}, {{"code", false}}, {0, 0}, {"'code' not found."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    SearchWindow window(c.Text);
    window.Select(c.Selected.first, c.Selected.second);
    for (const auto& [what, wholeWord] : c.Searches) window.FindNext(what, wholeWord);
    EXPECT_EQ(window.Selection(), c.SelectionAfter);
    EXPECT_EQ(window.Notices(), c.Notices);
  }
}

TEST(ReplaceDialog, FindNextOfTheReplaceDialogSearchesToo) {
  SearchWindow window("one two");
  window.Finder->ReplaceDialog1()->SetFindText("two");
  window.Finder->ReplaceDialog1()->FindNextButton()->click();
  EXPECT_EQ(window.Selection(), std::make_pair(4, 7));
}

TEST(ReplaceDialog, ReplacesAndReports) {
  struct Case {
    const char* Text;
    std::pair<int, int> Selected;
    const char* Find;
    const char* With;
    bool WholeWord;
    bool All;
    const char* Expected;
    std::pair<int, int> SelectionAfter;
    const char* Notice;
  };
  // The search starts from the caret at the selection start, and the
  // selection is given back only after several replacements.
  const Case cases[] = {
      {"a b a", {0, 0}, "a", "xyz", false, false, "xyz b a", {3, 3}, "1 replacement made."},
      {"a b a", {4, 5}, "a", "x", false, false, "a b x", {5, 5}, "1 replacement made."},
      {"x a a", {0, 1}, "a", "aa", false, true, "x aa aa", {0, 1}, "2 replacements made."},
      {"a b a", {2, 2}, "a", "c", false, true, "a b c", {5, 5}, "1 replacement made."},
      {"cat\nscat\ncat", {0, 0}, "cat", "dog", true, true, "dog\nscat\ndog", {0, 0},
       "2 replacements made."},
      {"abc", {0, 0}, "q", "x", false, true, "abc", {0, 0}, "'q' not found."},
      {"abc abc", {1, 3}, "q", "x", false, true, "abc abc", {1, 1}, "'q' not found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " " + c.Find + " " + c.With);
    SearchWindow window(c.Text);
    window.Select(c.Selected.first, c.Selected.second);
    window.Replace(c.Find, c.With, c.WholeWord, c.All);
    EXPECT_EQ(window.Memo->toPlainText().toStdString(), c.Expected);
    EXPECT_EQ(window.Selection(), c.SelectionAfter);
    EXPECT_EQ(window.Notices(), std::vector<std::string>{c.Notice});
  }
}

TEST(ReplaceDialog, ReplaceAllIsOneUndoStep) {
  SearchWindow window("a a a");
  window.Replace("a", "b", false, true);
  EXPECT_EQ(window.Memo->toPlainText().toStdString(), "b b b");
  window.Memo->undo();
  EXPECT_EQ(window.Memo->toPlainText().toStdString(), "a a a");
}

TEST(FindDialog, WorksOnARichTextMemo) {
  QWidget owner;
  auto* memo = new QTextEdit(&owner);
  memo->setPlainText("first\nsecond line");
  testing::ScriptedDialogue dialogue;
  MemoFindReplace finder(&owner, memo, dialogue);
  finder.FindDialog1()->SetFindText("line");
  finder.FindDialog1Find();
  EXPECT_EQ(memo->textCursor().selectionStart(), 13);
  EXPECT_EQ(memo->textCursor().selectedText().toStdString(), "line");
}

}  // namespace
}  // namespace vork
