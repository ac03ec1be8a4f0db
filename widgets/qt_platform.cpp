#include "widgets/qt_platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <algorithm>

namespace vork {
namespace {

struct ButtonSetRow {
  Buttons Set;
  QMessageBox::StandardButtons Shown;
};

// The button sets of the program's message boxes as Qt buttons.
constexpr ButtonSetRow ButtonSetTable[] = {
    {Buttons::Ok, QMessageBox::Ok},
    {Buttons::YesNo, QMessageBox::Yes | QMessageBox::No},
    {Buttons::YesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
    {Buttons::OkIgnore, QMessageBox::Ok | QMessageBox::Ignore},
    {Buttons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel},
    {Buttons::OkAbort, QMessageBox::Ok | QMessageBox::Abort},
    {Buttons::AbortIgnore, QMessageBox::Abort | QMessageBox::Ignore},
    {Buttons::YesAbort, QMessageBox::Yes | QMessageBox::Abort},
};

struct AnswerRow {
  QMessageBox::StandardButton Pressed;
  Answer Given;
};

constexpr AnswerRow AnswerTable[] = {
    {QMessageBox::Ok, Answer::Ok},         {QMessageBox::Yes, Answer::Yes},
    {QMessageBox::No, Answer::No},         {QMessageBox::Cancel, Answer::Cancel},
    {QMessageBox::Ignore, Answer::Ignore}, {QMessageBox::Abort, Answer::Abort},
};

QMessageBox::Icon IconOf(BoxStyle style) {
  switch (style) {
    case BoxStyle::Notice: return QMessageBox::Information;
    case BoxStyle::Question: return QMessageBox::Question;
    case BoxStyle::Warning: return QMessageBox::Warning;
    case BoxStyle::Error: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

// The button Esc or closing the box stands for.
Answer EscapeAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel:
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::OkAbort:
    case Buttons::AbortIgnore:
    case Buttons::YesAbort: return Answer::Abort;
    case Buttons::OkIgnore: return Answer::Ignore;
    case Buttons::Ok: return Answer::Ok;
  }
  return Answer::Cancel;
}

}  // namespace

Answer QtPlatform::Ask(BoxStyle style, const std::string& text, Buttons buttons) {
  QMessageBox::StandardButtons shown = QMessageBox::Ok;
  for (const ButtonSetRow& row : ButtonSetTable) {
    if (row.Set == buttons) shown = row.Shown;
  }
  QMessageBox box(IconOf(style), QApplication::applicationName(), QString::fromStdString(text),
                  shown, QApplication::activeWindow());
  auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
  for (const AnswerRow& row : AnswerTable) {
    if (row.Pressed == pressed) return row.Given;
  }
  return EscapeAnswer(buttons);
}

void QtPlatform::Beep() { QApplication::beep(); }

void QtPlatform::Progress(int position, int max) {
  if (!ProgressBar) return;
  ProgressBar->setVisible(max > 0);
  if (max <= 0) return;
  ProgressBar->setRange(0, max);
  ProgressBar->setValue(std::clamp(position, 0, max));
}

void QtPlatform::ShowError(const QString& text) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
}

std::optional<QString> QtPlatform::RunFileDialog(const FileDialogSpec& spec, bool save) {
  QFileDialog dialog(QApplication::activeWindow(), spec.Title, QDir::currentPath(),
                     QtFileFilter(spec.Filter));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(spec.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.OverwritePrompt);
  dialog.setDefaultSuffix(spec.DefaultExt);
  if (!spec.FileName.isEmpty()) dialog.selectFile(spec.FileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  QString chosen = dialog.selectedFiles().front();
  QDir::setCurrent(QFileInfo(chosen).absolutePath());
  return chosen;
}

std::optional<QString> QtPlatform::OpenFileName(const FileDialogSpec& spec) {
  return RunFileDialog(spec, false);
}

std::optional<QString> QtPlatform::SaveFileName(const FileDialogSpec& spec) {
  return RunFileDialog(spec, true);
}

std::optional<QFont> QtPlatform::ChooseFont(const QFont& start) {
  bool ok = false;
  QFont chosen = QFontDialog::getFont(&ok, start, QApplication::activeWindow());
  if (!ok) return std::nullopt;
  return chosen;
}

void QtPlatform::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace vork
