#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QProgressBar>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

// A complete event data text without errors.
const char* const GoodText = "Event a b;\na b a b /";

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  int Paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return QObject::eventFilter(watched, event);
  }
};

class CompileDriverTest : public testing::ShellFixture {
 protected:
  // A new, unnamed text typed into the editor.
  TMainForm& StartWithText(const QString& text) {
    TMainForm& form = Start();
    form.FileNewSds->trigger();
    form.Memo1->insertPlainText(text);
    return form;
  }

  // The raw file a.sds opened into the editor and changed.
  TMainForm& StartWithNamedText() {
    PutFile("a.sds", "Event a b;\r\n");
    TMainForm& form = Start();
    form.OpenDataFile(Path("a.sds"));
    form.Memo1->moveCursor(QTextCursor::End);
    form.Memo1->insertPlainText("\na b a b /");
    return form;
  }

  QStringList Messages() const {
    QStringList lines;
    for (int i = 0; i < Form->ListBox1->count(); ++i) lines << Form->ListBox1->item(i)->text();
    return lines;
  }

  // Clicks the first message; gives the selection's start and text.
  QString ClickFirstMessage() {
    Form->ListBox1->setCurrentRow(0);
    emit Form->ListBox1->itemClicked(Form->ListBox1->item(0));
    const QTextCursor cursor = Form->Memo1->textCursor();
    return QString::number(cursor.selectionStart()) + " " + cursor.selectedText();
  }
};

TEST_F(CompileDriverTest, AnEmptyEditorOnlyBeeps) {
  TMainForm& form = Start();
  form.FileNewSds->trigger();
  form.CompileToMDS->trigger();
  form.CompileCheckSyntax->trigger();
  EXPECT_EQ(Platform.Beeps, 2);
  EXPECT_EQ(form.ListBox1->count(), 0);
  EXPECT_TRUE(Platform.FileDialogs.empty());
}

// The progress bar is painted for every session while the check runs.
TEST_F(CompileDriverTest, ASyntaxCheckWithoutErrorsWritesNothing) {
  TMainForm& form = StartWithNamedText();
  form.Memo1->insertPlainText("\nb /\na b /\nb a /");
  form.show();
  QApplication::processEvents();
  PaintCounter counter;
  form.ProgressBar1->installEventFilter(&counter);
  form.CompileCheckSyntax->trigger();
  EXPECT_GE(counter.Paints, 4);
  EXPECT_EQ(form.ProgressBar1->value(), 0);
  EXPECT_EQ(FormState(), "VORK5 - a.sds | No errors (syntax check) |  | sds=a.sds | mds= | a.sds,,,,");
  QApplication::processEvents();
  EXPECT_GE(form.StatusPanel0->width(),
            form.StatusPanel0->fontMetrics().horizontalAdvance("No errors (syntax check)"));
  EXPECT_EQ(FileText("a.mds") + FileText("a.sds"), "(missing)Event a b;\r\n");
  EXPECT_TRUE(form.Memo1->document()->isModified());
}

TEST_F(CompileDriverTest, ATextWithErrorsWritesNeitherFile) {
  TMainForm& form = StartWithText("Event\nabc\nabc xyz;\nabc /");
  form.show();
  QApplication::processEvents();
  form.CompileToMDS->trigger();
  EXPECT_EQ(Messages(), QStringList{"Code name already defined."});
  EXPECT_GE(form.MessageListHeight(), 100);
  EXPECT_EQ(FormState(), "VORK5 |  |  | sds= | mds= | ,,,,");
  EXPECT_TRUE(Platform.FileDialogs.empty());
  // A click selects three characters at the message's place.
  EXPECT_EQ(ClickFirstMessage(), "10 abc");

  // The next compile starts with an empty list.
  form.Memo1->setPlainText(GoodText);
  form.CompileCheckSyntax->trigger();
  EXPECT_EQ(Messages(), QStringList{});
  EXPECT_EQ(form.MessageListHeight(), 0);
}

TEST_F(CompileDriverTest, WrappedLinesCompileAsTheTextsOwnLines) {
  QString codes;
  for (int i = 1; i <= 60; ++i) codes += QString(" c%1").arg(i);
  const QString text = "Event" + codes + " c7 x;\nc1 /";
  TMainForm& form = StartWithText(text);
  form.show();
  form.CompileCheckSyntax->trigger();
  ASSERT_EQ(Messages(), QStringList{"Code name already defined."});
  const QString place = QString::number(text.indexOf(" c7 x;") + 1) + " c7 ";
  EXPECT_EQ(ClickFirstMessage(), place);
  // Without wrapping the compile and its places are the same.
  form.Memo1DblClick();
  form.CompileCheckSyntax->trigger();
  EXPECT_EQ(ClickFirstMessage(), place);
}

TEST_F(CompileDriverTest, MessagesAreCopiedToTheResults) {
  TMainForm& form = StartWithText("Event a a b b;\na /");
  form.CompileCheckSyntax->trigger();
  ASSERT_EQ(Messages(), QStringList(2, "Code name already defined."));
  form.CopySelected1->trigger();  // nothing selected: nothing copied
  const int before = ResultLines().size();
  form.ListBox1->setCurrentRow(1);
  form.CopySelected1->trigger();
  form.CopyAll1->trigger();
  EXPECT_EQ(ResultLines().mid(before),
            (QStringList{"", "Code name already defined.", "", "", "Code name already defined.",
                         "Code name already defined.", ""}));
}


TEST_F(CompileDriverTest, TheStoredOptionsReachTheCompiler) {
  TMainForm& form = StartWithText("Event a a b b;\na /");
  form.Options.MaxErrors = 1;
  Platform.Then(Answer::Yes);  // stop at the first error
  form.CompileCheckSyntax->trigger();
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"1 errors found. Stop?"});
  EXPECT_EQ(Messages(), QStringList{"Code name already defined."});

  // Plain data lines, announced by a TAB before the stamp line's marker.
  form.Options.CompressMDS = false;
  form.Memo1->setPlainText(GoodText);
  Platform.ThenFile(Path("plain.sds"));
  form.CompileToMDS->trigger();
  const QStringList compiled = FileText("plain.mds").split("\r\n");
  ASSERT_EQ(compiled.size(), 12);
  EXPECT_TRUE(compiled[0].startsWith("\tMDS file saved by KELP compiler Version 5.1 "));
  EXPECT_EQ(compiled.mid(7), (QStringList{"1\t2.", "1\t.2", "1\t2.", "1\t.2", ""}));
}

TEST_F(CompileDriverTest, AFatalErrorIsShownAndEndsTheList) {
  TMainForm& form = StartWithText("Event a b");
  Platform.Then(Answer::Ok);
  form.CompileToMDS->trigger();
  EXPECT_EQ(Messages(), QStringList{"No semicolon found after header."});
  EXPECT_EQ(Platform.BoxTexts(), QStringList{" Fatal error"});
  EXPECT_TRUE(Platform.FileDialogs.empty());
}

TEST_F(CompileDriverTest, AnUnnamedTextIsNamedThenBothFilesAreWritten) {
  TMainForm& form = StartWithText(GoodText);
  Platform.ThenFile(Path("new.sds"));
  form.CompileToMDS->trigger();
  EXPECT_TRUE(Dialog().startsWith("save|Save SDS file|"));
  EXPECT_EQ(Dialog(1), "(none)");
  EXPECT_EQ(FileText("new.sds"), "Event a b;\r\na b a b /\r\n");
  // The compiled file: a stamp line without a leading TAB (compressed data lines).
  const QString marker = "MDS file saved by KELP compiler Version 5.1 ";
  const QString compiled = FileText("new.mds");
  ASSERT_TRUE(compiled.startsWith(marker)) << compiled.toStdString();
  const QString stamp = compiled.section("\r\n", 0, 0).mid(marker.size());
  EXPECT_FALSE(stamp.isEmpty());
  EXPECT_EQ(compiled.section("\r\n", 1),
            "1\t0\t0\r\n2\t0\t0\t0\t1\t1\r\na\tb\r\n0\t0\tevents\r\n1\t1\t#1\r\n1\t4\t4\t1\t0\r\n"
            "1\t8*\r\n1\t4*\r\n1\t8*\r\n1\t4*\r\n");
  EXPECT_EQ(form.MdsLoadTime, stamp);
  EXPECT_EQ(FormState(), "VORK5 - new.sds | No errors | Active - new.mds | sds=new.sds | "
                         "mds=new.mds | new.mds,new.sds,,,");
  EXPECT_EQ(form.VORKLogLines.last(), "Saved:\tnew.mds, " + stamp);
  EXPECT_TRUE(Platform.Shown.empty());
}

TEST_F(CompileDriverTest, CancellingTheRawFileNameSavesNothing) {
  TMainForm& form = StartWithText(GoodText);
  Platform.ThenFile(std::nullopt).Then(Answer::Ok);
  form.CompileToMDS->trigger();
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"MDS file not saved."});
  EXPECT_TRUE(form.Memo1->document()->isModified());
  EXPECT_EQ(FormState(), "VORK5 | No errors |  | sds= | mds= | ,,,,");
}

TEST_F(CompileDriverTest, ACompiledFileThatCannotBeWrittenEndsTheCommand) {
  TMainForm& form = StartWithNamedText();
  QDir(Folder.path()).mkdir("a.mds");
  Platform.Then(Answer::Yes);
  form.CompileToMDS->trigger();
  EXPECT_EQ(Platform.Errors.size(), 1);
  EXPECT_EQ(FileText("a.sds"), "Event a b;\r\na b a b /\r\n");
  EXPECT_TRUE(form.OpenMdsDialog.FileName.isEmpty());
  EXPECT_FALSE(ResultLines().last().startsWith("Saved:\ta.mds"));
}

TEST_F(CompileDriverTest, AnExistingCompiledFileIsOverwrittenOnlyOnYes) {
  struct Case {
    Answer Overwrite;
    std::optional<QString> Other;  // the name given after No
    QString Mds;                   // the current compiled file after
  };
  const Case cases[] = {
      {Answer::Cancel, std::nullopt, ""},
      {Answer::No, std::nullopt, ""},
      {Answer::No, QString("b.mds"), "b.mds"},
      {Answer::Yes, std::nullopt, "a.mds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Mds.toStdString() + " " + std::to_string(int(c.Overwrite)));
    PutFile("a.mds", "old\r\n");
    Platform.Shown.clear();
    Platform.FileDialogs.clear();
    TMainForm& form = StartWithNamedText();
    Platform.Then(c.Overwrite);
    if (c.Overwrite == Answer::No) {
      Platform.ThenFile(c.Other ? std::optional<QString>(Path(*c.Other)) : std::nullopt);
    }
    form.CompileToMDS->trigger();
    EXPECT_EQ(Platform.BoxTexts(),
              QStringList{"OK to overwrite a.mds? (No lets you give new name)"});
    EXPECT_EQ(FileText("a.sds"), "Event a b;\r\na b a b /\r\n");  // the raw file is saved first
    EXPECT_EQ(FileText("a.mds") == "old\r\n", c.Mds != "a.mds");
    EXPECT_EQ(Rel(form.OpenMdsDialog.FileName), c.Mds);
    EXPECT_EQ(Dialog(), c.Overwrite == Answer::No
                            ? "save|Save MDS file|MDS data file (*.mds)|*.mds|mds|a.mds overwrite"
                            : "(none)");
    if (!c.Mds.isEmpty()) { EXPECT_TRUE(ResultLines().last().startsWith("Saved:\t" + c.Mds + ", ")); }
  }
}

}  // namespace
}  // namespace vork
