#pragma once

#include <QPointer>
#include <QProgressBar>

#include "widgets/platform.h"

namespace vork {

// The desktop as Qt offers it. The file dialogs make the folder in which the
// user closed them the process's current folder.
class QtPlatform : public Platform {
 public:
  Answer Ask(BoxStyle style, const std::string& text, Buttons buttons) override;
  void Beep() override;
  void Progress(int position, int max) override;

  void ShowError(const QString& text) override;
  std::optional<QString> OpenFileName(const FileDialogSpec& spec) override;
  std::optional<QString> SaveFileName(const FileDialogSpec& spec) override;
  std::optional<QFont> ChooseFont(const QFont& start) override;
  void OpenUrl(const QUrl& url) override;

  // The bar that Progress moves (none: progress is not shown).
  void SetProgressBar(QProgressBar* bar) { ProgressBar = bar; }

 private:
  std::optional<QString> RunFileDialog(const FileDialogSpec& spec, bool save);

  QPointer<QProgressBar> ProgressBar;
};

}  // namespace vork
