#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "app/main_window.h"
#include "tests/support/qt/scripted_platform.h"
#include "app/results_window.h"
#include "tests/support/qt/widget_input.h"

namespace vork::testing {

// A main window on settings of its own in a temporary folder, which is also
// the current folder while the test runs; questions answered by script.
class ShellFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Folder.isValid());
    OldCurrent = QDir::currentPath();
    SettingsFile = Folder.filePath("settings.ini");
    Settings = std::make_unique<QSettings>(SettingsFile, QSettings::IniFormat);
    Settings->setValue("Interface/CurrentDirectory", Folder.path());
    Settings->sync();
  }

  void TearDown() override {
    Form.reset();
    QDir::setCurrent(OldCurrent);
    EXPECT_TRUE(Platform.Unexpected.isEmpty()) << Platform.Unexpected.join("\n").toStdString();
  }

  TMainForm& Start(const QString& programDir = QString()) {
    Form = std::make_unique<TMainForm>(Platform, *Settings,
                                       programDir.isEmpty() ? Folder.path() : programDir);
    return *Form;
  }

  bool CloseMain() { return Form->close(); }  // true when it closed

  // Starts again on the same settings, as the next run of the program would.
  TMainForm& Restart() {
    Form.reset();
    Settings = std::make_unique<QSettings>(SettingsFile, QSettings::IniFormat);
    return Start();
  }

  QString Path(const QString& name) const { return Folder.filePath(name); }

  void PutFile(const QString& name, const QByteArray& content) {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  // A file's text, or "(missing)".
  QString FileText(const QString& name) const {
    QFile file(Path(name));
    if (!file.open(QIODevice::ReadOnly)) return "(missing)";
    return QString::fromUtf8(file.readAll());
  }

  QString Rel(QString name) const { return name.replace(Folder.path() + "/", ""); }

  // The main window's title, status panels, raw and compiled file and recent
  // files in one line; names in the folder relative.
  QString FormState() const {
    QStringList recent;
    for (const QString& file : Form->LastFiles) recent << Rel(file);
    return QStringList{Form->windowTitle(), Form->StatusPanel0->text(), Form->StatusPanel1->text(),
                       "sds=" + Rel(Form->SaveSdsDialog.FileName),
                       "mds=" + Rel(Form->OpenMdsDialog.FileName), recent.join(',')}
        .join(" | ");
  }

  QStringList ResultLines() const { return Form->Results->Memo1->toPlainText().split('\n'); }

  // The i-th file dialog shown, as "save|title|filter|ext|proposed name"
  // with " overwrite" and " exist" for its checks; names in the folder relative.
  QString Dialog(std::size_t i = 0) const {
    if (i >= Platform.FileDialogs.size()) return "(none)";
    const FileDialogSpec& s = Platform.FileDialogs[i].Spec;
    return QStringList{Platform.FileDialogs[i].Save ? "save" : "open", s.Title, s.Filter,
                       s.DefaultExt, Rel(s.FileName)}
               .join('|') +
           (s.OverwritePrompt ? " overwrite" : "") + (s.MustExist ? " exist" : "");
  }

  QTemporaryDir Folder;
  QString OldCurrent;
  QString SettingsFile;
  std::unique_ptr<QSettings> Settings;
  ScriptedPlatform Platform;
  std::unique_ptr<TMainForm> Form;
};

}  // namespace vork::testing
