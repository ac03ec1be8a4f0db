#include "app/results_window.h"

#include <QMouseEvent>

#include "widgets/find_replace_dialog.h"
#include "widgets/memo_find_replace.h"
#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using ResultsWindow = testing::ShellFixture;

TEST_F(ResultsWindow, StartsWithTheBannerAndCountsAppendedLinesAsChanges) {
  TResults& results = *Start().Results;
  EXPECT_EQ(results.windowTitle(), "VORK Results");
  ASSERT_EQ(results.Lines().size(), 1);
  EXPECT_TRUE(results.Lines()[0].startsWith(
      "VORK 5, Sequential analysis of coded observational data, version 5.0, "));
  EXPECT_FALSE(results.IsModified());
  EXPECT_TRUE(results.SaveModifiedMemoOK()) << "nothing to ask";

  results.AppendLines({"line 1", "", "line\t3"});
  results.AppendLine("last");
  results.AppendTextLines({"File:\ta.mds", "\xc3\xa9t\xc3\xa9"});
  EXPECT_TRUE(results.IsModified());
  EXPECT_EQ(results.Lines().mid(1), QStringList({"line 1", "", "line\t3", "last", "File:\ta.mds",
                                                 QString::fromUtf8("\xc3\xa9t\xc3\xa9")}));
}

TEST_F(ResultsWindow, SaveAsWritesTheTextAndNamesTheWindow) {
  TResults& results = *Start().Results;
  results.Memo1->selectAll();
  results.Memo1->insertPlainText("first\nsecond");
  Platform.ThenFile(Path("out.txt"));
  results.FileSave1->trigger();
  EXPECT_EQ(Dialog(), "save|Save results text file|*.txt (results files)|*.txt|*.* (all files)|*.*|"
                      "txt| overwrite");
  EXPECT_EQ(FileText("out.txt"), "first\r\nsecond\r\n");
  EXPECT_EQ(results.windowTitle(), "VORK results - out.txt");
  EXPECT_FALSE(results.IsModified());

  // A named text saves without a dialog, and only when modified.
  results.FileSave1->trigger();
  results.AppendLine("third");
  results.FileSave1->trigger();
  EXPECT_EQ(Dialog(1), "(none)");
  EXPECT_EQ(FileText("out.txt"), "first\r\nsecond\r\nthird\r\n");
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
  EXPECT_EQ(results.ResultsFileName(), "");
}

TEST_F(ResultsWindow, OpenAsksAboutUnsavedResultsAfterTheDialog) {
  TResults& results = *Start().Results;
  PutFile("old.txt", "old 1\r\nold 2\r\n");
  results.AppendLine("unsaved");
  Platform.ThenFile(Path("old.txt")).Then(Answer::Cancel);
  results.FileOpen1->trigger();
  EXPECT_EQ(Dialog(), "open|Open results text file|*.txt (result files)|*.txt|*.* (all files)|*.*|"
                      "txt| exist");
  EXPECT_EQ(Platform.BoxTexts(), QStringList({"Save results to a text file?"}));
  EXPECT_EQ(results.Lines().last(), "unsaved");

  Platform.ThenFile(Path("old.txt")).Then(Answer::No);
  results.FileOpen1->trigger();
  EXPECT_EQ(results.Lines(), QStringList({"old 1", "old 2"}));
  EXPECT_EQ(results.windowTitle(), "VORK results - old.txt");
  EXPECT_FALSE(results.IsModified());

  // With a file name the question names the file.
  results.AppendLine("more");
  Platform.Then(Answer::Cancel);
  EXPECT_FALSE(results.SaveModifiedMemoOK());
  EXPECT_EQ(Platform.BoxTexts().last(), "old.txt has been modified. Save? (yes lets you rename)");
}

TEST_F(ResultsWindow, ClearEmptiesAndForgetsTheFileName) {
  TResults& results = *Start().Results;
  results.AppendLine("x");
  Platform.Then(Answer::Yes).ThenFile(Path("r.txt"));
  results.ClearWindow->trigger();
  EXPECT_TRUE(FileText("r.txt").endsWith("x\r\n"));
  EXPECT_TRUE(results.Lines().isEmpty());
  EXPECT_EQ(results.windowTitle(), "VORK5 results");

  // Cancelling the save dialog after Yes keeps the unsaved results.
  results.AppendLine("y");
  Platform.Then(Answer::Yes).ThenFile(std::nullopt);
  results.ClearWindow->trigger();
  EXPECT_EQ(results.Lines(), QStringList{"y"});
  Platform.Then(Answer::No);
  results.ClearWindow->trigger();
  EXPECT_TRUE(results.Lines().isEmpty());

  // After Clear, Save asks for a file name again.
  results.AppendLine("z");
  Platform.ThenFile(Path("s.txt"));
  results.FileSave1->trigger();
  EXPECT_EQ(Platform.FileDialogs.size(), 3u);
  EXPECT_EQ(FileText("s.txt"), "z\r\n");
}

TEST_F(ResultsWindow, DoubleClickFlipsWordWrap) {
  TResults& results = *Start().Results;
  for (bool wrap : {false, true}) {
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(results.Memo1->viewport(), &event);
    EXPECT_EQ(results.WordWrap(), wrap);
    EXPECT_EQ(results.Memo1->horizontalScrollBarPolicy(),
              wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  }
}

TEST_F(ResultsWindow, FindLooksInTheResultsText) {
  TResults& results = *Start().Results;
  results.AppendLines({"kappa = .71", "kappa = .64"});
  results.Memo1->moveCursor(QTextCursor::Start);
  results.EditSearch->trigger();
  EXPECT_TRUE(results.FindReplace->FindDialog1()->isVisible());
  results.FindReplace->FindDialog1()->SetFindText(".64");
  results.FindReplace->FindDialog1Find();
  EXPECT_EQ(results.Memo1->textCursor().selectedText(), ".64");
}

TEST_F(ResultsWindow, CommandKeysGoToTheCommandsNotTheText) {
  TResults& results = *Start().Results;
  auto takenByText = [&](int key) {
    QKeyEvent event(QEvent::ShortcutOverride, key, Qt::ControlModifier);
    event.setAccepted(false);
    QApplication::sendEvent(results.Memo1, &event);
    return event.isAccepted();
  };
  EXPECT_FALSE(takenByText(Qt::Key_A)) << "Ctrl+A is Save as...";
  EXPECT_FALSE(takenByText(Qt::Key_Z)) << "Ctrl+Z is Undo";
  EXPECT_TRUE(takenByText(Qt::Key_Left)) << "Ctrl+Left moves by words in the text";
}

}  // namespace
}  // namespace vork
