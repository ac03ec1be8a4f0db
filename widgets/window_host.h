#pragma once

// What a window may ask of the program around it. Every analysis, agreement,
// modification and rounding window is given a WindowHost and depends on it
// alone, never on the main window: the program's main window answers with
// the real results window, log and dialogs; a window test answers with the
// small test host (tests/support/qt/test_host.h) and checks what the window
// asked for and wrote.
//
// How a window uses it:
//   - its file: CurrentMdsFile() and CurrentLoadTime() at its load; an open
//     command of its own calls OpenMdsFile(); a load that fails calls
//     SetCurrentMdsFile("", false), so that there is no current file.
//   - its output: AppendResults() with all lines of a step at once (the
//     results window repaints once per call, not per line), ClearResults()
//     for "overwrite existing results", AddLogLine() for the log file,
//     AddFileSavedMsg() for a saved compiled or command file.
//   - its questions: Dialogs() (message boxes, file dialogs, the beep, the
//     standard error box).
//   - its frame: MainFont() at creation, RunOptionsAction() in its Run menu,
//     WindowClosed(*this) when it closes (its Window-menu entry goes).
//
// A new window kind is made known to the main window by one row of the
// window-kind table (app/window_kinds.cpp); its constructor takes
// (WindowHost& host, QWidget* parent).

#include <QString>
#include <QStringList>
#include <optional>

#include "core/dyn_arrays.h"
#include "core/number_format.h"
#include "widgets/option_store.h"
#include "widgets/platform.h"

class QAction;
class QFont;
class QWidget;

namespace vork {

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // --- the current compiled file --------------------------------------
  // The current compiled file's full name (empty: there is none) and its
  // load stamp, a date-and-time text that changes whenever a compiled file
  // becomes current with a new stamp; a window that loaded the file under
  // another stamp offers the new file.
  virtual QString CurrentMdsFile() const = 0;
  virtual QString CurrentLoadTime() const = 0;
  // Makes fileName the current compiled file (empty: none). With
  // newLoadStamp the load stamp becomes the current date and time.
  virtual void SetCurrentMdsFile(const QString& fileName, bool newLoadStamp) = 0;
  // Runs the program's open dialog for compiled files ("Open MDS file");
  // when confirmed the chosen file becomes current (with a new stamp when
  // newLoadStamp) and the result is true.
  virtual bool OpenMdsFile(bool newLoadStamp) = 0;
  // True when there is a current compiled file; otherwise asks for one (a
  // chosen file gets a new load stamp).
  virtual bool MdsFileOK() = 0;

  // --- the observers' files of the agreement window ---------------------
  // The compiled file of observer 1 or 2 (empty: none chosen).
  virtual QString ObserverFile(int observer) const = 0;
  // Runs the open dialogs of observer 1, then 2; true when both were
  // confirmed (a file chosen in the first stays chosen when the second is
  // cancelled).
  virtual bool OpenObserverFiles() = 0;

  // --- export files ------------------------------------------------------
  // Runs the program's save dialog for export files ("Save export text
  // file"), which proposes the name chosen last; the chosen name or nothing.
  virtual std::optional<QString> ChooseExportFile() = 0;

  // --- options -----------------------------------------------------------
  virtual const OptionStore& Options() const = 0;
  // How results numbers are written (the decimal separator of DecSepX).
  virtual NumberFormat Numbers() const = 0;

  // --- the results window and the log --------------------------------------
  // Appends lines at the end of the results window's text.
  virtual void AppendResults(const dynString& lines) = 0;
  virtual void AppendResults(const QStringList& lines) = 0;
  void AppendResult(const QString& line) { AppendResults(QStringList{line}); }
  // Empties the results window's text ("overwrite existing results").
  virtual void ClearResults() = 0;
  // Adds a line to the log lines written to the log file at exit.
  virtual void AddLogLine(const QString& line) = 0;
  // Announces a saved file: "Saved:", TAB, the name without folder, info and
  // the stamp, to the results and the log lines, and adds the file to the
  // recent files. A non-empty loadTime is the stamp and becomes the load
  // stamp of the current compiled file; otherwise the stamp is now.
  virtual void AddFileSavedMsg(const QString& fileName, const QString& info,
                               const QString& loadTime) = 0;

  // --- the desktop and the window frame -----------------------------------
  // Message boxes, file and font dialogs, the beep, the standard error box.
  virtual Platform& Dialogs() = 0;
  // The main window's font, which every window takes at creation.
  virtual QFont MainFont() const = 0;
  // The program's "Change run options..." command, for a window's Run menu.
  virtual QAction* RunOptionsAction() = 0;
  // Called by a non-modal window as it closes: its Window-menu entry goes and
  // it is no longer found as the open window of its kind.
  virtual void WindowClosed(QWidget& window) = 0;
};

// A window that may hold unsaved work: a numbered non-modal window, or a
// modal one on show. When the program is about to exit it asks the same
// questions as closing the window would; false keeps the program (and the
// window) open.
class HostedWindow {
 public:
  virtual ~HostedWindow() = default;
  virtual bool CloseQuery() = 0;
};

}  // namespace vork
