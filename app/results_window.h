#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>

#include "widgets/memo_commands.h"
#include "widgets/platform.h"
#include "core/dyn_arrays.h"

class QAction;
class QPlainTextEdit;

namespace vork {
class MemoFindReplace;
}

namespace vork {

// The one results window: every analysis appends its lines here; the user
// can edit, search, save, reload and clear them. It lives as long as the
// program; closing it offers to exit the program.
class TResults : public QMainWindow {
  Q_OBJECT

 public:
  // exitProgram runs the main window's exit command.
  TResults(Platform& platform, std::function<void()> exitProgram, QWidget* parent = nullptr);

  // Appends lines at the end of the text; they count as a change to save.
  void AppendLine(const QString& line);
  void AppendLines(const QStringList& lines);
  // The same for the lines an engine routine gives back.
  void AppendTextLines(const dynString& lines);
  // Empties the text (an analysis's "overwrite existing results").
  void ClearText();

  // The text as lines (an empty text has none).
  QStringList Lines() const;
  bool IsModified() const;
  void SetModified(bool modified);
  QString ResultsFileName() const { return FileName; }
  bool WordWrap() const;

  // Asks whether to save a modified, non-empty text. Yes saves through the
  // save-as dialog, No drops the changes, Cancel returns false. A save that
  // fails also returns false, so nothing unsaved is dropped.
  bool SaveModifiedMemoOK();

  void FileOpen1Execute();
  void FileSave1Execute();
  // The save-as dialog, then the save; false only when writing failed.
  bool FileSaveAs1Execute();
  void ClearWindowExecute();
  void ChangeFontExecute();
  // Flips word wrapping (double click on the text).
  void Memo1DblClick();

  static constexpr int Tag = 1;

  QPlainTextEdit* Memo1 = nullptr;
  QAction* FileOpen1 = nullptr;
  QAction* FileSave1 = nullptr;
  QAction* FileSaveAs1 = nullptr;
  QAction* FileClose = nullptr;
  QAction* EditUndo = nullptr;
  QAction* EditCut = nullptr;
  QAction* EditCopy = nullptr;
  QAction* EditPaste = nullptr;
  QAction* EditDelete = nullptr;
  QAction* EditSearch = nullptr;
  QAction* EditReplace = nullptr;
  QAction* EditSelectAll = nullptr;
  QAction* ChangeFont = nullptr;
  QAction* ClearWindow = nullptr;
  MemoFindReplace* FindReplace = nullptr;  // "Find..." and "Replace..."

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  MemoEditActions EditActions() const;
  // Writes the text to fileName; false (after the error box) when it failed.
  bool SaveTo(const QString& fileName);

  Platform& Dialogs;
  std::function<void()> ExitProgram;
  QString FileName;
};

}  // namespace vork
