#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "app/main_window.h"
#include "app/platform/scripted_platform.h"

namespace vork::testing {

// Presses and releases one key on widget, as the user would.
inline void PressKey(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

// Types text into widget key by key.
inline void TypeKeys(QWidget* widget, const QString& text) {
  for (QChar c : text) PressKey(widget, c.toUpper().unicode(), QString(c));
}

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

  // Closes the main window as the user would; true when it closed.
  bool CloseMain() { return Form->close(); }

  // Starts again on the same settings, as the next run of the program would.
  TMainForm& Restart() {
    Form.reset();
    Settings = std::make_unique<QSettings>(SettingsFile, QSettings::IniFormat);
    return Start();
  }

  QString Path(const QString& name) const { return Folder.filePath(name); }

  QTemporaryDir Folder;
  QString OldCurrent;
  QString SettingsFile;
  std::unique_ptr<QSettings> Settings;
  ScriptedPlatform Platform;
  std::unique_ptr<TMainForm> Form;
};

}  // namespace vork::testing
