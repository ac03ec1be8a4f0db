#pragma once

// The commands the two text windows (the raw-data editor and the results
// window) share on their memo: the Edit menu, word wrapping flipped by a
// double click, and the question before an unsaved text goes.

#include <QString>
#include <functional>

class QAction;
class QMenu;
class QPlainTextEdit;
class QTextDocument;

namespace vork {

class MemoFindReplace;
class Platform;

// The Edit menu's commands of a text window.
struct MemoEditActions {
  QAction* Undo = nullptr;
  QAction* Cut = nullptr;
  QAction* Copy = nullptr;
  QAction* Paste = nullptr;
  QAction* Delete = nullptr;
  QAction* Search = nullptr;
  QAction* Replace = nullptr;
  QAction* SelectAll = nullptr;
};

// Lists the commands in an Edit menu: Undo; Cut, Copy, Paste, Delete; Find
// and Replace; Select all.
void FillEditMenu(QMenu& menu, const MemoEditActions& actions);

// Makes the commands work on memo; "Find..." and "Replace..." open finder's
// dialogs. Delete removes the selection.
void ConnectEditActions(const MemoEditActions& actions, QPlainTextEdit& memo, MemoFindReplace& finder);

// Flips the memo between wrapping at its width and one line per text line
// with a horizontal scroll bar where needed.
void ToggleWordWrap(QPlainTextEdit& memo);

// Calls handler on each double click in the memo's text area.
void OnMemoDoubleClick(QPlainTextEdit& memo, std::function<void()> handler);

// The question before a modified text goes: Unnamed when the text has no
// file yet, otherwise the file's name (without folder) followed by
// AfterName.
struct SaveQuestion {
  const char* Unnamed;
  const char* AfterName;
};

// Before a text window's text goes (another text, a clear, the program's
// end): a modified, non-empty text asks the question with Yes, No and
// Cancel. Yes runs saveAs (a failure it throws is shown in the error box),
// and the text may go only when it was saved, not when the save failed or
// its dialog was cancelled; No lets it go (with forgetOnNo the document
// counts as unmodified from then on); Cancel keeps it. True when the text
// may go.
bool SaveModifiedTextOK(Platform& dialogs, QTextDocument& document, const SaveQuestion& question,
                        const QString& fileName, const std::function<void()>& saveAs,
                        bool forgetOnNo = false);

}  // namespace vork
