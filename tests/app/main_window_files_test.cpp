#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <filesystem>

#include "widgets/find_replace_dialog.h"
#include "widgets/memo_find_replace.h"
#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

class RawFilesTest : public testing::ShellFixture {
 protected:
  // Gives the second file a modification time seconds later than the first.
  void MakeLater(const QString& later, const QString& earlier, int seconds) {
    namespace fs = std::filesystem;
    const auto base = fs::last_write_time(Path(earlier).toStdString());
    fs::last_write_time(Path(later).toStdString(), base + std::chrono::seconds(seconds));
  }

  void Type(const QString& text) {
    Form->Memo1->moveCursor(QTextCursor::End);
    Form->Memo1->insertPlainText(text);
  }

  void DoubleClickEditor() {
    QWidget* viewport = Form->Memo1->viewport();
    const QPointF at(5, 5);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &click);
  }
};

TEST_F(RawFilesTest, OpeningACompiledFileMakesItCurrent) {
  TMainForm& form = Start();
  PutFile("data.mds", "x\r\n");
  PutFile("DATA2.MDS", "x\r\n");
  Platform.ThenFile(Path("data.mds"));
  form.FileOpenSdsMds->trigger();
  EXPECT_EQ(Dialog(), "open|Open SDS or MDS file|Raw or compiled (*.sds;*.mds)|*.sds;*.mds|"
                      "All files (*.*)|*.*|sds| exist");
  EXPECT_FALSE(form.MdsLoadTime.isEmpty());
  EXPECT_EQ(FormState(), "VORK5 |  | Active - data.mds | sds= | mds=data.mds | data.mds,,,,");

  // A capital extension makes the file current but leaves the status bar.
  form.MdsLoadTime.clear();
  form.OpenDataFile(Path("DATA2.MDS"));
  EXPECT_FALSE(form.MdsLoadTime.isEmpty());
  EXPECT_EQ(FormState(),
            "VORK5 |  | Active - data.mds | sds= | mds=DATA2.MDS | DATA2.MDS,data.mds,,,");
}

TEST_F(RawFilesTest, OpeningARawFileLoadsTheEditor) {
  TMainForm& form = Start();
  form.show();
  PutFile("a.sds", "Event a b;\r\na b a /\r\n\r\nb\r\n");
  form.OpenDataFile(Path("a.sds"));
  EXPECT_EQ(form.Memo1->toPlainText(), "Event a b;\na b a /\n\nb");
  EXPECT_FALSE(form.Memo1->document()->isModified());
  EXPECT_EQ(FormState(), "VORK5 - a.sds | 4 lines |  | sds=a.sds | mds= | a.sds,,,,");
  EXPECT_EQ(form.ClientHeight(), 466);

  // Clear forgets the text, its name and the messages.
  form.ListBox1->addItem("message");
  form.ClearWindow->trigger();
  EXPECT_TRUE(form.Memo1->toPlainText().isEmpty());
  EXPECT_EQ(form.ListBox1->count(), 0);
  EXPECT_EQ(FormState(), "VORK5 |  |  | sds= | mds= | a.sds,,,,");
}

TEST_F(RawFilesTest, ALargeFileOpensWholeWithNothingToUndoAndSavesBackUnchanged) {
  TMainForm& form = Start();
  form.show();
  // More than a megabyte, so the text reaches the editor in several pieces.
  QByteArray bytes = "Event a b \xC3\xA9;\r\n";
  for (int i = 0; i < 100000; ++i) bytes += i % 3 == 2 ? "\r\n" : "\xC3\xA9 a b /\r\n";
  PutFile("big.sds", bytes);
  Type("typed");
  Platform.Then(Answer::No);
  form.OpenDataFile(Path("big.sds"));

  EXPECT_EQ(FormState(), "VORK5 - big.sds | 100001 lines |  | sds=big.sds | mds= | big.sds,,,,");
  const std::vector<TMainForm::EditorLine> lines = form.EditorLineList();
  ASSERT_EQ(lines.size(), 100001u);
  EXPECT_EQ(lines[0].Text, "Event a b \u00e9;");
  EXPECT_EQ(lines[99999].Text, "");
  EXPECT_EQ(lines[100000].Text, "\u00e9 a b /");
  // 13 characters of the first line, then 66,666 lines of 8 and 33,333 of 1.
  EXPECT_EQ(lines[100000].DocumentStart, 566674);
  EXPECT_FALSE(form.Memo1->document()->isModified());
  // The text is shown from its start, as wrapped lines.
  EXPECT_EQ(form.Memo1->textCursor().position(), 0);
  EXPECT_EQ(form.Memo1->verticalScrollBar()->value(), 0);
  EXPECT_GT(form.Memo1->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_TRUE(form.Edit1->isEnabled());

  // The typed text is gone for good: undo has nothing to take back.
  EXPECT_FALSE(form.Memo1->document()->isUndoAvailable());
  form.EditUndo->trigger();
  EXPECT_EQ(form.Memo1->document()->blockCount(), 100001);

  Platform.ThenFile(Path("copy.sds"));
  form.FileSaveSDSAs->trigger();
  QFile copy(Path("copy.sds"));
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  EXPECT_TRUE(copy.readAll() == bytes);
}

TEST_F(RawFilesTest, AFileThatIsNotUtf8OpensInTheWindowsCodePage) {
  TMainForm& form = Start();
  const std::pair<QByteArray, QString> cases[] = {
      {"% R\xE9my \x96 pilot\r\nEvent a;\r\n", "% R\u00e9my \u2013 pilot\nEvent a;"},
      // One stray byte on the last line decides for the whole text.
      {"% R\xC3\xA9my\r\n\x80\r\n", "% R\u00c3\u00a9my\n\u20ac"},
      {"% R\xC3\xA9my\r\n\xE2\x82\xAC\r\n", "% R\u00e9my\n\u20ac"},
  };
  for (const auto& [bytes, text] : cases) {
    PutFile("cp.sds", bytes);
    form.OpenDataFile(Path("cp.sds"));
    EXPECT_EQ(form.Memo1->toPlainText(), text) << bytes.toStdString();
    EXPECT_EQ(form.StatusPanel0->text(), "2 lines");
  }
}

TEST_F(RawFilesTest, AnotherExtensionIsOpenedOnlyWhenTheUserSaysSo) {
  TMainForm& form = Start();
  PutFile("notes.txt", "Event a;\r\n");
  Platform.Then(Answer::No).Then(Answer::Yes);
  form.OpenDataFile(Path("notes.txt"));
  EXPECT_EQ(FormState(), "VORK5 |  |  | sds= | mds= | ,,,,");
  form.OpenDataFile(Path("notes.txt"));
  EXPECT_EQ(Platform.BoxTexts(), QStringList(2, "Not an SDS file.  Proceed anyway?"));
  EXPECT_EQ(form.Memo1->toPlainText(), "Event a;");
  EXPECT_EQ(FormState(), "VORK5 - notes.txt | 1 lines |  | sds=notes.txt | mds= | notes.txt,,,,");
}

TEST_F(RawFilesTest, ANewerCompiledSiblingIsOfferedForAnalysis) {
  TMainForm& form = Start();
  PutFile("a.sds", "Event a;\r\n");
  PutFile("a.mds", "compiled\r\n");
  MakeLater("a.mds", "a.sds", 10);

  Platform.Then(Answer::Yes);
  form.OpenDataFile(Path("a.sds"));
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"Use a.mds for analysis?"});
  EXPECT_EQ(FormState(), "VORK5 - a.sds | 1 lines | Active - a.mds | sds=a.sds | mds=a.mds | a.mds,,,,");

  form.OpenMdsDialog.FileName.clear();
  Platform.Then(Answer::No);
  form.OpenDataFile(Path("a.sds"));
  EXPECT_EQ(FormState(),
            "VORK5 - a.sds | 1 lines | Active - a.mds | sds=a.sds | mds= | a.sds,a.mds,,,");

  // An older compiled file is not offered.
  MakeLater("a.sds", "a.mds", 10);
  form.OpenDataFile(Path("a.sds"));
  EXPECT_EQ(Platform.Shown.size(), 2u);
}

TEST_F(RawFilesTest, UnsavedEditsAreAskedAboutBeforeOpening) {
  TMainForm& form = Start();
  PutFile("a.sds", "first\r\n");
  PutFile("b.sds", "second\r\n");
  form.FileNewSds->trigger();
  Type("typed");

  Platform.Then(Answer::Cancel);
  form.OpenDataFile(Path("a.sds"));
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"Do you want to save to an SDS file?"});
  EXPECT_EQ(form.Memo1->toPlainText(), "typed");

  Platform.Then(Answer::No);
  form.OpenDataFile(Path("a.sds"));
  EXPECT_EQ(form.Memo1->toPlainText(), "first");

  Type(" more");
  Platform.Then(Answer::Yes).ThenFile(Path("c.sds"));
  form.OpenDataFile(Path("b.sds"));
  EXPECT_EQ(Platform.BoxTexts().last(),
            "a.sds has been modified. Do you want to save it (yes lets you rename)?");
  EXPECT_EQ(FileText("c.sds") + FileText("a.sds"), "first more\r\nfirst\r\n");
  EXPECT_EQ(form.Memo1->toPlainText(), "second");
}

TEST_F(RawFilesTest, RecentFilesKeepTheNewestFirst) {
  TMainForm& form = Start();
  for (const char* name : {"a.sds", "b.sds", "c.sds", "d.sds", "e.sds", "f.sds"}) {
    PutFile(name, "x\r\n");
  }
  for (const char* name : {"a.sds", "b.sds", "a.sds", "a.sds"}) form.OpenDataFile(Path(name));
  EXPECT_TRUE(FormState().endsWith("| a.sds,b.sds,a.sds,,"));  // the newest again: no change
  EXPECT_FALSE(form.LastMenus[3]->isVisible());

  for (const char* name : {"c.sds", "d.sds", "e.sds", "f.sds"}) form.OpenDataFile(Path(name));
  EXPECT_TRUE(FormState().endsWith("| f.sds,e.sds,d.sds,c.sds,a.sds"));

  form.LastMenus[3]->trigger();  // c.sds
  EXPECT_EQ(FormState(), "VORK5 - c.sds | 1 lines |  | sds=c.sds | mds= | "
                         "c.sds,f.sds,e.sds,d.sds,c.sds");

  QFile::remove(Path("e.sds"));
  Platform.Then(Answer::Ok);
  form.LastMenus[2]->trigger();
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"e.sds not found."});
  EXPECT_EQ(form.windowTitle(), "VORK5 - c.sds");
}

TEST_F(RawFilesTest, SavingANewTextAsksForItsName) {
  TMainForm& form = Start();
  form.FileNewSds->trigger();
  form.FileSaveSDS->trigger();  // nothing typed: nothing to save
  EXPECT_EQ(Dialog(), "(none)");

  Type("Event a b;\na b /");
  Platform.ThenFile(Path("new.sds"));
  form.FileSaveSDS->trigger();
  EXPECT_EQ(Dialog(), "save|Save SDS file|Raw KELP Data File (*.sds)|*.sds|sds| overwrite");
  EXPECT_EQ(FileText("new.sds"), "Event a b;\r\na b /\r\n");
  EXPECT_FALSE(form.Memo1->document()->isModified());
  EXPECT_EQ(FormState(), "VORK5 - new.sds |  |  | sds=new.sds | mds= | new.sds,,,,");
  EXPECT_TRUE(form.VORKLogLines.last().startsWith("Saved:\tnew.sds,"));
  // Save again: the known name, no dialog.
  Type("\nb a /");
  form.FileSaveSDS->trigger();
  EXPECT_EQ(Dialog(1), "(none)");
  EXPECT_EQ(FileText("new.sds"), "Event a b;\r\na b /\r\nb a /\r\n");
}

TEST_F(RawFilesTest, BackupKeepsTheVersionBeforeTheLastSave) {
  TMainForm& form = Start();
  form.Options.BackupSDS = true;
  PutFile("a.sds", "one\r\n");
  form.OpenDataFile(Path("a.sds"));
  Type(" two");
  form.FileSaveSDS->trigger();
  Type(" three");
  form.FileSaveSDS->trigger();
  EXPECT_EQ(FileText("a.sds") + FileText("a.~sds"), "one two three\r\none two\r\n");
}

TEST_F(RawFilesTest, AFailedSaveKeepsTheEditsUnsaved) {
  TMainForm& form = Start();
  form.FileNewSds->trigger();
  Type("text");
  Platform.ThenFile(Path("no/such/folder/a.sds"));
  form.FileSaveSDSAs->trigger();
  EXPECT_EQ(Platform.Errors.size(), 1u);
  EXPECT_TRUE(form.Memo1->document()->isModified());
  EXPECT_EQ(form.windowTitle(), "VORK5");
  // A save that failed does not let the text go, nor does a save dialog
  // cancelled after Yes.
  Platform.Then(Answer::Yes).ThenFile(Path("no/such/folder/a.sds"));
  EXPECT_FALSE(form.SaveModifiedSdsOK());
  Platform.Then(Answer::Yes).ThenFile(std::nullopt);
  EXPECT_FALSE(form.SaveModifiedSdsOK());
  EXPECT_EQ(form.Memo1->toPlainText(), "text");
}

TEST_F(RawFilesTest, AFileThatCannotBeReadEndsTheOpenWithTheErrorBox) {
  TMainForm& form = Start();
  PutFile("a.sds", "kept\r\n");
  form.OpenDataFile(Path("a.sds"));
  QDir(Folder.path()).mkdir("folder.sds");
  form.AddRecentFile(Path("folder.sds"));
  form.LastMenus[0]->trigger();
  ASSERT_EQ(Platform.Errors.size(), 1);
  EXPECT_TRUE(Platform.Errors[0].contains("folder.sds"));
  EXPECT_EQ(form.Memo1->toPlainText(), "kept");
  EXPECT_EQ(form.windowTitle(), "VORK5 - a.sds");
}

TEST_F(RawFilesTest, WrappingChangesOnlyWhatTheEditorShows) {
  TMainForm& form = Start();
  form.show();
  const QString longLine = QString("abcd ").repeated(120);
  PutFile("long.sds", ("Event a;\r\n" + longLine + "\r\n").toUtf8());
  form.OpenDataFile(Path("long.sds"));
  EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(form.StatusPanel0->text(), "2 lines");
  ASSERT_EQ(form.EditorLineList().size(), 2u);
  EXPECT_EQ(form.EditorLineList()[1].Text, longLine);
  EXPECT_EQ(form.EditorLineList()[1].DocumentStart, 9);

  DoubleClickEditor();
  EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(form.StatusPanel0->text(), "2 lines");
  EXPECT_EQ(form.EditorLineList()[1].Text, longLine);
  form.OpenDataFile(Path("long.sds"));
  EXPECT_TRUE(Platform.Shown.empty());
}

TEST_F(RawFilesTest, EditCommandsWorkOnTheEditor) {
  TMainForm& form = Start();
  EXPECT_FALSE(form.Edit1->isEnabled());
  form.FileNewSds->trigger();
  Type("cat scat cat");
  EXPECT_TRUE(form.Edit1->isEnabled());
  form.Memo1->moveCursor(QTextCursor::Start);
  TFindReplaceDialog* replace = form.EditorFinder->ReplaceDialog1();
  replace->SetFindText("cat");
  replace->SetReplaceText("dog");
  replace->SetWholeWord(true);
  Platform.Then(Answer::Ok);
  form.EditorFinder->ReplaceDialog1Replace(true);
  EXPECT_EQ(form.Memo1->toPlainText(), "dog scat dog");
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"2 replacements made."});
}

}  // namespace
}  // namespace vork
