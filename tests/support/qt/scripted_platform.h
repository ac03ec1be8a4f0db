#pragma once

#include <QStringList>
#include <deque>
#include <vector>

#include "widgets/platform.h"

namespace vork {

// Answers the windows' questions and dialogs from a script and records
// everything shown, for window tests. Anything asked without a scripted
// answer is answered Ok (boxes) or Cancel (dialogs) and recorded in
// Unexpected, which a test expects to stay empty.
class ScriptedPlatform : public Platform {
 public:
  struct Box {
    BoxStyle Style;
    QString Text;
    Buttons ButtonSet;
  };
  struct FileDialog {
    FileDialogSpec Spec;
    bool Save;
  };

  // Queues the answer to the next message box.
  ScriptedPlatform& Then(Answer answer) {
    Answers.push_back(answer);
    return *this;
  }
  // Queues the file name the next open or save dialog returns (nothing: Cancel).
  ScriptedPlatform& ThenFile(std::optional<QString> name) {
    FileAnswers.push_back(std::move(name));
    return *this;
  }
  // Queues the font the next font dialog returns (nothing: Cancel).
  ScriptedPlatform& ThenFont(std::optional<QFont> font) {
    FontAnswers.push_back(std::move(font));
    return *this;
  }

  Answer Ask(BoxStyle style, const std::string& text, Buttons buttons) override;
  void Beep() override { ++Beeps; }
  void Progress(int position, int max) override { ProgressCalls.push_back({position, max}); }

  void ShowError(const QString& text) override { Errors.push_back(text); }
  std::optional<QString> OpenFileName(const FileDialogSpec& spec) override;
  std::optional<QString> SaveFileName(const FileDialogSpec& spec) override;
  std::optional<QFont> ChooseFont(const QFont& start) override;
  void OpenUrl(const QUrl& url) override { OpenedUrls.push_back(url); }

  // The texts of the message boxes shown, in order.
  QStringList BoxTexts() const;

  std::deque<Answer> Answers;
  std::deque<std::optional<QString>> FileAnswers;
  std::deque<std::optional<QFont>> FontAnswers;

  std::vector<Box> Shown;
  std::vector<FileDialog> FileDialogs;
  std::vector<QFont> FontDialogStarts;
  QStringList Errors;
  std::vector<QUrl> OpenedUrls;
  int Beeps = 0;
  std::vector<std::pair<int, int>> ProgressCalls;
  QStringList Unexpected;

 private:
  std::optional<QString> NextFile(const FileDialogSpec& spec, bool save);
};

}  // namespace vork
