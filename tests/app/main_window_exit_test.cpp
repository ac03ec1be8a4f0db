#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>

#include "app/main_window.h"
#include "app/results_window.h"
#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using MainWindowExit = testing::ShellFixture;

QString ReadFile(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return QString::fromUtf8(file.readAll());
}

void WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST_F(MainWindowExit, SettingsSurviveARestart) {
  TMainForm& first = Start();
  first.Options.CaseSensitive = false;
  first.Options.MaxErrors = 100;
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
  EXPECT_FALSE(second.Options.CaseSensitive);
  EXPECT_EQ(second.Options.MaxErrors, 100);
  EXPECT_EQ(second.Options.NDigits, 4);
  EXPECT_EQ(second.Options.DecSepX, 2);
  EXPECT_EQ(second.Numbers.DecimalSeparator, ',');
  EXPECT_EQ(second.LastFiles[0], Path("a.sds"));
  EXPECT_EQ(second.LastFiles[1], Path("b.mds"));
  EXPECT_TRUE(second.LastMenus[1]->isVisible());
  EXPECT_EQ(second.LastMenus[1]->text(), "b.mds");
  EXPECT_FALSE(second.LastMenus[2]->isVisible());
  EXPECT_EQ(second.font().family(), "Arial");
  EXPECT_EQ(second.font().pointSize(), 12);
  EXPECT_EQ(second.Memo1->font().family(), "DejaVu Sans Mono");
  EXPECT_EQ(second.Memo1->font().pointSize(), 11);
  EXPECT_EQ(second.Results->Memo1->font().pointSize(), 9);
  EXPECT_EQ(QDir::currentPath(), QDir(Path("later")).canonicalPath());
  EXPECT_EQ(Settings->value("VORK/NDigits").toInt(), 4);
  EXPECT_EQ(Settings->value("Interface/CurrentDirectory").toString(),
            QDir(Path("later")).canonicalPath());
}

TEST_F(MainWindowExit, NoLogIsWrittenWhenLoggingIsOffOrThereIsNoLine) {
  for (bool writeLog : {false, true}) {
    SCOPED_TRACE(writeLog);
    TMainForm& form = Start();
    form.Options.WriteLog = writeLog;
    if (!writeLog) form.VORKLogLines = {"Saved:\ta.sds,1/2/26 10:00:00"};
    form.Results->SetModified(false);
    ASSERT_TRUE(CloseMain());
    EXPECT_TRUE(Platform.FileDialogs.empty());
    EXPECT_FALSE(QFile::exists(Path("~VORKLog.txt")));
    EXPECT_FALSE(QFile::exists(Path("~VORKlog.txt")));
  }
}

TEST_F(MainWindowExit, TheLogIsAppendedToTheFileInTheCurrentFolder) {
  WriteFile(Path("~VORKLog.txt"), "Saved:\told.sds,1/1/26 09:00:00\r\n");
  TMainForm& form = Start();
  form.Options.WriteLog = true;
  form.AddFileSavedMsg(Path("data.mds"), ", ", "2/1/26 10:00:00");
  form.VORKLogLines.push_back("Remove A B");
  form.Results->SetModified(false);
  ASSERT_TRUE(CloseMain());
  EXPECT_TRUE(Platform.FileDialogs.empty());
  EXPECT_EQ(ReadFile(Path("~VORKLog.txt")),
            "Saved:\told.sds,1/1/26 09:00:00\r\n"
            "Saved:\tdata.mds, 2/1/26 10:00:00\r\n"
            "Remove A B\r\n");
}

TEST_F(MainWindowExit, WithoutALogFileTheUserIsAskedWhereToWriteIt) {
  struct Case {
    const char* Name;
    std::optional<QString> Chosen;
    QString Before;  // the chosen file's text before exit ("" none)
    QString After;
  };
  const Case cases[] = {
      {"cancel", std::nullopt, "", "<missing>"},
      {"new file", QString("mylog.txt"), "", "line 1\r\nline 2\r\n"},
      {"existing file", QString("old.txt"), "kept\r\n", "kept\r\nline 1\r\nline 2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    QString chosen = c.Chosen ? Path(*c.Chosen) : Path("none.txt");
    if (!c.Before.isEmpty()) WriteFile(chosen, c.Before.toUtf8());
    Platform.FileDialogs.clear();
    TMainForm& form = Start();
    form.Options.WriteLog = true;
    form.VORKLogLines = {"line 1", "line 2"};
    Platform.ThenFile(c.Chosen ? std::optional<QString>(chosen) : std::nullopt);
    ASSERT_TRUE(CloseMain());
    ASSERT_EQ(Platform.FileDialogs.size(), 1u);
    const FileDialogSpec& spec = Platform.FileDialogs[0].Spec;
    EXPECT_TRUE(Platform.FileDialogs[0].Save);
    EXPECT_EQ(spec.Title, "Save VORK log file");
    EXPECT_EQ(spec.FileName, "~VORKlog.txt");
    EXPECT_EQ(spec.Filter, "text files (*.txt)|*.txt");
    EXPECT_EQ(spec.DefaultExt, "txt");
    EXPECT_FALSE(spec.OverwritePrompt);
    EXPECT_EQ(ReadFile(chosen), c.After);
    EXPECT_FALSE(QFile::exists(Path("~VORKLog.txt")));
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
  EXPECT_EQ(Platform.Shown[0].ButtonSet, Buttons::YesNoCancel);
  EXPECT_EQ(Platform.Shown[0].Style, BoxStyle::Question);

  // Yes saves under the chosen name, then the program ends.
  Platform.Then(Answer::Yes).ThenFile(Path("results.txt"));
  EXPECT_TRUE(CloseMain());
  EXPECT_TRUE(ReadFile(Path("results.txt")).endsWith("kappa = .71\r\n"));
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
  EXPECT_EQ(Platform.Shown[1].ButtonSet, Buttons::YesNo);
  EXPECT_TRUE(form.Results->isVisible());
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.Results->IsModified());

  // Unmodified now: only "Exit VORK?"; Yes ends the program.
  Platform.Then(Answer::Yes);
  form.Results->FileClose->trigger();
  EXPECT_EQ(Platform.BoxTexts().size(), 3);
  EXPECT_EQ(Platform.BoxTexts().last(), "Exit VORK?");
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.Results->isVisible());
}

TEST_F(MainWindowExit, HelpIsTheProgramFoldersHelpFileWhenThereIsOne) {
  TMainForm& without = Start();
  EXPECT_EQ(without.HelpFile, "");
  Platform.Then(Answer::Ok);
  without.HelpShow->trigger();
  EXPECT_EQ(Platform.BoxTexts(), QStringList({"VORK5Help.chm not found."}));
  EXPECT_TRUE(Platform.OpenedUrls.empty());
  Form.reset();

  WriteFile(Path("VORK5Help.chm"), "help");
  TMainForm& with = Start();
  EXPECT_EQ(with.HelpFile, Path("VORK5Help.chm"));
  with.HelpShow->trigger();
  ASSERT_EQ(Platform.OpenedUrls.size(), 1u);
  EXPECT_EQ(Platform.OpenedUrls[0], QUrl::fromLocalFile(Path("VORK5Help.chm")));
}

TEST_F(MainWindowExit, TheFontCommandsStartFromTheWindowFont) {
  TMainForm& form = Start();
  Platform.ThenFont(QFont("Arial", 14));
  form.RunChangeVorkFont->trigger();
  EXPECT_EQ(Platform.FontDialogStarts[0].family(), "MS Sans Serif");
  EXPECT_EQ(form.font().family(), "Arial");
  EXPECT_EQ(form.ClientHeight(), 66);
  EXPECT_EQ(form.Memo1->font().family(), "MS Sans Serif");

  Platform.ThenFont(QFont("Courier New", 8));
  form.ChangeFont->trigger();
  EXPECT_EQ(Platform.FontDialogStarts[1].family(), "Arial");
  EXPECT_EQ(form.Memo1->font().family(), "Courier New");
  EXPECT_EQ(form.ListBox1->font().pointSize(), 8);
  EXPECT_EQ(form.font().family(), "Arial");

  Platform.ThenFont(std::nullopt);
  form.RunChangeVorkFont->trigger();
  EXPECT_EQ(form.font().family(), "Arial");
}

}  // namespace
}  // namespace vork
