#pragma once

#include <QFont>
#include <QString>
#include <QUrl>
#include <exception>
#include <optional>

#include "core/user_dialogue.h"

class QLocale;

namespace vork {

// What a file dialog shows and which rules it keeps. Filters are written as
// the program states them: description and pattern pairs joined by "|",
// several patterns of one pair joined by ";".
struct FileDialogSpec {
  QString Title;
  QString Filter;
  QString DefaultExt;  // without the dot; added to a name typed without one
  QString FileName;    // the name proposed when the dialog opens
  bool OverwritePrompt = false;  // save dialogs: ask before replacing a file
  bool MustExist = false;        // open dialogs: only an existing file is accepted
};

// Everything the windows ask of the desktop: message boxes, the standard
// error box, file and font dialogs, the beep, and handing mail, web and help
// links to the system. The program runs with the Qt implementation; tests
// answer with the scripted one.
class Platform : public UserDialogue {
 public:
  // The application's standard error box: the failure's text with OK.
  virtual void ShowError(const QString& text) = 0;

  // An open dialog; the chosen file's full name, or nothing on Cancel.
  virtual std::optional<QString> OpenFileName(const FileDialogSpec& spec) = 0;

  // A save dialog; the chosen file's full name, or nothing on Cancel.
  virtual std::optional<QString> SaveFileName(const FileDialogSpec& spec) = 0;

  // A font dialog starting from start; the chosen font, or nothing on Cancel.
  virtual std::optional<QFont> ChooseFont(const QFont& start) = 0;

  // Hands a mail, web or file link to the system (mail program, browser,
  // help viewer).
  virtual void OpenUrl(const QUrl& url) = 0;

  // A message box with a window text; returns the button pressed.
  Answer Message(BoxStyle style, const QString& text, Buttons buttons) {
    return Ask(style, text.toStdString(), buttons);
  }

  // A plain notice with OK.
  void Notice(const QString& text) { Message(BoxStyle::Notice, text, Buttons::Ok); }
};

// Runs one window command. A failure that ends it (a CommandError or any
// other failure the command did not handle) is shown in the standard error
// box with its text; what the command did before stays done.
template <class Command>
void RunCommand(Platform& platform, Command&& command) {
  try {
    command();
  } catch (const std::exception& error) {
    platform.ShowError(QString::fromStdString(error.what()));
  }
}

// The Qt form of a filter written as "description|pattern|...": one entry per
// pair, its patterns in parentheses separated by blanks ("*.*" becoming
// "*", every file).
QString QtFileFilter(const QString& pipeFilter);

// The system's decimal separator as results are written with it: the
// locale's own where it is a plain (ASCII) character, otherwise ".", since
// results and export files hold single-byte separators.
char HostDecimalSeparator(const QLocale& locale);

}  // namespace vork
