#pragma once

// The test host: what a window test gives a window instead of the main
// window. It answers the window's questions and dialogs by script (Platform)
// and records what the window asked for and wrote, so that a test checks
// the window alone:
//
//   TestHost host;
//   host.Current = folder.Path("baby.mds");       // the current compiled file
//   TSimpleStats window(host);
//   window.RunCompute->trigger();
//   EXPECT_EQ(host.Results, (QStringList{...}));  // the results window's lines
//
// WindowFixture adds a scratch folder that is the current folder while the
// test runs, and checks at the end that nothing unscripted was asked.

#include <gtest/gtest.h>

#include <QAction>
#include <QFont>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>
#include <vector>

#include "tests/support/qt/scripted_platform.h"
#include "tests/support/qt/widget_input.h"
#include "widgets/window_host.h"

namespace vork::testing {

class TestHost : public WindowHost {
 public:
  TestHost();

  // --- what the host holds, set by the test -----------------------------
  ScriptedPlatform Platform;
  QString Current;    // the current compiled file
  QString LoadTime = "stamp 1";
  QString Observer[2];
  QString ExportFile;  // the name the export dialog proposes (the last chosen)
  OptionStore Opts;
  NumberFormat Format;
  QFont Font;
  QAction RunOptions{"Change run options"};

  // --- what the window did -------------------------------------------------
  QStringList Results;   // the results window's lines, from start or the last clear
  int ResultsClears = 0;
  int ResultsAppends = 0;  // calls of AppendResults
  QStringList Log;
  QStringList SavedMsgs;      // AddFileSavedMsg calls as "file|info|load time"
  QStringList ClosedWindows;  // object names of the windows that closed
  int NewStamps = 0;          // load stamps made ("new stamp 1", "new stamp 2", ...)

  QString CurrentMdsFile() const override { return Current; }
  QString CurrentLoadTime() const override { return LoadTime; }
  void SetCurrentMdsFile(const QString& fileName, bool newLoadStamp) override;
  bool OpenMdsFile(bool newLoadStamp) override;
  bool MdsFileOK() override;
  QString ObserverFile(int observer) const override;
  bool OpenObserverFiles() override;
  std::optional<QString> ChooseExportFile() override;
  const OptionStore& Options() const override { return Opts; }
  NumberFormat Numbers() const override { return Format; }
  void AppendResults(const dynString& lines) override;
  void AppendResults(const QStringList& lines) override;
  void ClearResults() override;
  void AddLogLine(const QString& line) override { Log.push_back(line); }
  void AddFileSavedMsg(const QString& fileName, const QString& info,
                       const QString& loadTime) override;
  vork::Platform& Dialogs() override { return Platform; }
  QFont MainFont() const override { return Font; }
  QAction* RunOptionsAction() override { return &RunOptions; }
  void WindowClosed(QWidget& window) override;

  // The dialog specs the host's own dialogs show, as the program's are.
  static const FileDialogSpec OpenMdsSpec;
  static const FileDialogSpec ObserverSpec[2];
  static const FileDialogSpec SaveExportSpec;

 private:
  void NewStamp();
};

// A test with a test host and a scratch folder that is the current folder
// while it runs; at the end nothing may have been asked without a scripted
// answer.
class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The full name of a file in the folder, a file's lines written there (its
  // full name returned), and a file's text ("(missing)" when there is none).
  QString Path(const QString& name) const { return Folder.filePath(name); }
  QString WriteFile(const QString& name, const dynString& lines);
  QString FileText(const QString& name) const;
  // Names in the folder relative.
  QString Rel(QString text) const { return text.replace(Folder.path() + "/", ""); }

  // A window made on the host with file current, freed after the test
  // unless it closed and freed itself before.
  template <class Window>
  Window& Open(const QString& file) {
    Host.Current = file;
    auto* window = new Window(Host);
    Windows.push_back(window);
    return *window;
  }
  std::vector<QPointer<QWidget>> Windows;

  QTemporaryDir Folder;
  QString OldCurrent;
  TestHost Host;
};

}  // namespace vork::testing
