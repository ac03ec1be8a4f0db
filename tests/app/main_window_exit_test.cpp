#include <QListWidget>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using MainWindowExit = testing::ShellFixture;

QString FontText(const QWidget* widget) {
  return widget->font().family() + " " + QString::number(widget->font().pointSize());
}

TEST_F(MainWindowExit, SettingsSurviveARestart) {
  TMainForm& first = Start();
  first.Options.NDigits = 4;
  first.Options.DecSepX = 2;
  first.Options.WriteLog = false;
  first.LastFiles = {Path("a.sds"), Path("b.mds"), "", "", ""};
  first.setFont(QFont("Arial", 12));
  first.Memo1->setFont(QFont("DejaVu Sans Mono", 11));
  first.Results->Memo1->setFont(QFont("Courier New", 9));
  QDir(Folder.path()).mkdir("later");
  QDir::setCurrent(Path("later"));  // where the user's last file dialog ended
  ASSERT_TRUE(CloseMain());

  TMainForm& second = Restart();
  EXPECT_EQ(second.Options.NDigits, 4);
  EXPECT_EQ(second.Numbers.DecimalSeparator, ',');
  EXPECT_EQ(second.LastMenus[1]->text(), "b.mds");
  EXPECT_FALSE(second.LastMenus[2]->isVisible());
  EXPECT_EQ(FontText(&second) + ", " + FontText(second.Memo1) + ", " +
                FontText(second.Results->Memo1),
            "Arial 12, DejaVu Sans Mono 11, Courier New 9");
  const QString later = QDir(Path("later")).canonicalPath();
  EXPECT_EQ(QDir::currentPath(), later);
  EXPECT_EQ(Settings->value("Interface/CurrentDirectory").toString(), later);
}

TEST_F(MainWindowExit, TheLogIsAppendedOnlyWhenOnAndThereAreLines) {
  for (bool writeLog : {false, true}) {
    SCOPED_TRACE(writeLog);
    TMainForm& form = Start();
    form.Options.WriteLog = writeLog;
    if (!writeLog) form.VORKLogLines = {"Saved:\ta.sds,1/2/26 10:00:00"};
    ASSERT_TRUE(CloseMain());
    EXPECT_EQ(FileText("~VORKLog.txt") + FileText("~VORKlog.txt"), "(missing)(missing)");
  }
  PutFile("~VORKLog.txt", "Saved:\told.sds,1/1/26 09:00:00\r\n");
  TMainForm& form = Start();
  form.Options.WriteLog = true;
  form.AddFileSavedMsg(Path("data.mds"), ", ", "2/1/26 10:00:00");
  form.VORKLogLines.push_back("Remove A B");
  form.Results->SetModified(false);
  ASSERT_TRUE(CloseMain());
  EXPECT_TRUE(Platform.FileDialogs.empty());
  EXPECT_EQ(FileText("~VORKLog.txt"),
            "Saved:\told.sds,1/1/26 09:00:00\r\nSaved:\tdata.mds, 2/1/26 10:00:00\r\nRemove A B\r\n");
}

TEST_F(MainWindowExit, WithoutALogFileTheUserIsAskedWhereToWriteIt) {
  struct Case {
    std::optional<QString> Chosen;
    QByteArray Before;  // the chosen file's text before exit ("" none)
    QString After;
  };
  const Case cases[] = {
      {std::nullopt, "", "(missing)"},
      {QString("mylog.txt"), "", "line 1\r\nline 2\r\n"},
      {QString("old.txt"), "kept\r\n", "kept\r\nline 1\r\nline 2\r\n"},
  };
  for (const Case& c : cases) {
    const QString chosen = c.Chosen.value_or("none.txt");
    SCOPED_TRACE(chosen.toStdString());
    if (!c.Before.isEmpty()) PutFile(chosen, c.Before);
    Platform.FileDialogs.clear();
    TMainForm& form = Start();
    form.Options.WriteLog = true;
    form.VORKLogLines = {"line 1", "line 2"};
    Platform.ThenFile(c.Chosen ? std::optional<QString>(Path(chosen)) : std::nullopt);
    ASSERT_TRUE(CloseMain());
    EXPECT_EQ(Dialog(), "save|Save VORK log file|text files (*.txt)|*.txt|txt|~VORKlog.txt");
    EXPECT_EQ(Dialog(1), "(none)");
    EXPECT_EQ(FileText(chosen), c.After);
    EXPECT_EQ(FileText("~VORKLog.txt"), "(missing)");
  }
}

TEST_F(MainWindowExit, AFailedLogWriteKeepsTheProgramOpen) {
  QDir(Folder.path()).mkdir("folder.txt");
  TMainForm& form = Start();
  form.Options.WriteLog = true;
  form.VORKLogLines = {"line 1"};
  Platform.ThenFile(Path("folder.txt"));
  EXPECT_FALSE(CloseMain());
  ASSERT_EQ(Platform.Errors.size(), 1);
  EXPECT_TRUE(Platform.Errors[0].contains("folder.txt")) << Platform.Errors[0].toStdString();
  EXPECT_EQ(form.VORKLogLines, QStringList({"line 1"}));
  form.Options.WriteLog = false;
}

TEST_F(MainWindowExit, UnsavedResultsAreOfferedBeforeExit) {
  TMainForm& form = Start();
  form.Results->AppendLine("kappa = .71");
  Platform.Then(Answer::Cancel);
  EXPECT_FALSE(CloseMain());
  EXPECT_EQ(Platform.BoxTexts(), QStringList({"Save results to a text file?"}));
  Platform.Then(Answer::Yes).ThenFile(Path("results.txt"));
  EXPECT_TRUE(CloseMain());
  EXPECT_TRUE(FileText("results.txt").endsWith("kappa = .71\r\n"));
}

TEST_F(MainWindowExit, ClosingTheResultsWindowOffersToExit) {
  TMainForm& form = Start();
  form.show();
  form.Results->show();
  form.Results->AppendLine("new results");
  // First the save question (No drops the results), then "Exit VORK?".
  Platform.Then(Answer::No).Then(Answer::No);
  form.Results->close();
  EXPECT_EQ(Platform.BoxTexts(), QStringList({"Save results to a text file?", "Exit VORK?"}));
  EXPECT_TRUE(form.Results->isVisible() && form.isVisible());
  EXPECT_FALSE(form.Results->IsModified());

  Platform.Then(Answer::Yes);
  form.Results->FileClose->trigger();
  EXPECT_EQ(Platform.BoxTexts().mid(2), QStringList({"Exit VORK?"}));
  EXPECT_FALSE(form.isVisible() || form.Results->isVisible());
}

TEST_F(MainWindowExit, HelpIsTheProgramFoldersHelpFileWhenThereIsOne) {
  Platform.Then(Answer::Ok);
  Start().HelpShow->trigger();
  EXPECT_EQ(Platform.BoxTexts(), QStringList({"VORK5Help.chm not found."}));
  EXPECT_TRUE(Platform.OpenedUrls.empty());
  Form.reset();

  PutFile("VORK5Help.chm", "help");
  Start().HelpShow->trigger();
  EXPECT_EQ(Platform.OpenedUrls, std::vector<QUrl>{QUrl::fromLocalFile(Path("VORK5Help.chm"))});
}

TEST_F(MainWindowExit, TheFontCommandsStartFromTheWindowFont) {
  TMainForm& form = Start();
  Platform.ThenFont(QFont("Arial", 14)).ThenFont(QFont("Courier New", 8)).ThenFont(std::nullopt);
  form.RunChangeVorkFont->trigger();
  EXPECT_EQ(form.font().family() + ", " + form.Memo1->font().family(), "Arial, MS Sans Serif");
  form.ChangeFont->trigger();
  EXPECT_EQ(form.font().family() + ", " + form.Memo1->font().family(), "Arial, Courier New");
  EXPECT_EQ(form.ListBox1->font().pointSize(), 8);
  form.RunChangeVorkFont->trigger();  // cancelled
  EXPECT_EQ(form.font().family(), "Arial");
  ASSERT_EQ(Platform.FontDialogStarts.size(), 3u);
  EXPECT_EQ(Platform.FontDialogStarts[0].family(), "MS Sans Serif");
  EXPECT_EQ(Platform.FontDialogStarts[1].family(), "Arial");
}

}  // namespace
}  // namespace vork
