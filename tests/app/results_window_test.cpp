#include "app/results_window.h"

#include <QFile>
#include <QPlainTextEdit>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using ResultsWindow = testing::ShellFixture;

QString ReadFile(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return QString::fromUtf8(file.readAll());
}

TEST_F(ResultsWindow, StartsWithTheBannerUnmodified) {
  TResults& results = *Start().Results;
  EXPECT_EQ(results.windowTitle(), "VORK Results");
  ASSERT_EQ(results.Lines().size(), 1);
  EXPECT_TRUE(results.Lines()[0].startsWith(
      "VORK 5, Sequential analysis of coded observational data, version 5.0, "));
  EXPECT_FALSE(results.IsModified());
  EXPECT_TRUE(results.WordWrap());
  EXPECT_TRUE(results.SaveModifiedMemoOK()) << "nothing to ask";
}

TEST_F(ResultsWindow, AppendedLinesCountAsChanges) {
  TResults& results = *Start().Results;
  results.AppendLines({"line 1", "", "line\t3"});
  results.AppendLine("last");
  EXPECT_TRUE(results.IsModified());
  QStringList lines = results.Lines();
  lines.removeFirst();
  EXPECT_EQ(lines, QStringList({"line 1", "", "line\t3", "last"}));
}

TEST_F(ResultsWindow, SaveAsWritesTheTextAndNamesTheWindow) {
  TResults& results = *Start().Results;
  results.Memo1->selectAll();
  results.Memo1->insertPlainText("first\nsecond");
  Platform.ThenFile(Path("out.txt"));
  results.FileSave1->trigger();
  ASSERT_EQ(Platform.FileDialogs.size(), 1u);
  const FileDialogSpec& spec = Platform.FileDialogs[0].Spec;
  EXPECT_TRUE(Platform.FileDialogs[0].Save);
  EXPECT_EQ(spec.Title, "Save results text file");
  EXPECT_EQ(spec.Filter, "*.txt (results files)|*.txt|*.* (all files)|*.*");
  EXPECT_EQ(spec.DefaultExt, "txt");
  EXPECT_TRUE(spec.OverwritePrompt);
  EXPECT_EQ(ReadFile(Path("out.txt")), "first\r\nsecond\r\n");
  EXPECT_EQ(results.windowTitle(), "VORK results - out.txt");
  EXPECT_FALSE(results.IsModified());

  // A named text saves without a dialog, and only when modified.
  results.FileSave1->trigger();
  results.AppendLine("third");
  results.FileSave1->trigger();
  EXPECT_EQ(Platform.FileDialogs.size(), 1u);
  EXPECT_EQ(ReadFile(Path("out.txt")), "first\r\nsecond\r\nthird\r\n");
}

TEST_F(ResultsWindow, FailedSaveShowsTheErrorAndKeepsTextAndModifiedFlag) {
  TResults& results = *Start().Results;
  QDir(Folder.path()).mkdir("taken.txt");  // a folder cannot be replaced by a file
  results.AppendLine("new");
  Platform.ThenFile(Path("taken.txt"));
  results.FileSaveAs1->trigger();
  ASSERT_EQ(Platform.Errors.size(), 1);
  EXPECT_TRUE(Platform.Errors[0].contains("taken.txt")) << Platform.Errors[0].toStdString();
  EXPECT_TRUE(results.IsModified());
  EXPECT_EQ(results.Lines().last(), "new");
  EXPECT_EQ(results.windowTitle(), "VORK Results");
  EXPECT_EQ(results.ResultsFileName(), "");
}

}  // namespace
}  // namespace vork
