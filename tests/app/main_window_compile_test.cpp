#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "app/results_window.h"
#include "tests/app/raw_file_fixture.h"

namespace vork {
namespace {

// A complete event data text without errors.
const char* const GoodText = "Event a b;\na b a b /";

class CompileDriverTest : public testing::RawFileFixture {
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
    Write("a.sds", "Event a b;\r\n");
    TMainForm& form = Start();
    form.OpenDataFile(Path("a.sds"));
    form.Memo1->moveCursor(QTextCursor::End);
    form.Memo1->insertPlainText("\na b a b /");
    return form;
  }

  QStringList Messages(const TMainForm& form) const {
    QStringList lines;
    for (int i = 0; i < form.ListBox1->count(); ++i) lines << form.ListBox1->item(i)->text();
    return lines;
  }

  void ClickMessage(TMainForm& form, int row) {
    form.ListBox1->setCurrentRow(row);
    emit form.ListBox1->itemClicked(form.ListBox1->item(row));
  }

  QString SelectedText(const TMainForm& form) const {
    return form.Memo1->textCursor().selectedText();
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

TEST_F(CompileDriverTest, ASyntaxCheckWithoutErrorsWritesNothing) {
  TMainForm& form = StartWithNamedText();
  form.CompileCheckSyntax->trigger();
  EXPECT_EQ(form.StatusPanel0->text(), "No errors (syntax check)");
  EXPECT_FALSE(QFileInfo::exists(Path("a.mds")));
  EXPECT_EQ(Read("a.sds"), "Event a b;\r\n");
  EXPECT_TRUE(form.Memo1->document()->isModified());
  EXPECT_TRUE(form.OpenMdsDialog.FileName.isEmpty());
  EXPECT_EQ(form.MessageListHeight(), 0);
  EXPECT_TRUE(Platform.Shown.empty());
  EXPECT_EQ(form.ProgressBar1->value(), 0);
}

TEST_F(CompileDriverTest, ATextWithErrorsWritesNeitherFile) {
  TMainForm& form = StartWithText("Event\nabc\nabc xyz;\nabc /");
  form.show();
  QApplication::processEvents();
  form.CompileToMDS->trigger();
  EXPECT_EQ(Messages(form), QStringList{"Code name already defined."});
  EXPECT_GE(form.MessageListHeight(), 100);
  EXPECT_TRUE(form.StatusPanel0->text().isEmpty());
  EXPECT_TRUE(Platform.FileDialogs.empty());
  EXPECT_TRUE(form.Memo1->document()->isModified());
  EXPECT_FALSE(QFileInfo::exists(Path("a.mds")));
  EXPECT_TRUE(form.OpenMdsDialog.FileName.isEmpty());

  // A click selects three characters at the message's place.
  ClickMessage(form, 0);
  EXPECT_EQ(form.Memo1->textCursor().selectionStart(), 10);
  EXPECT_EQ(SelectedText(form), "abc");

  // The next compile starts with an empty list.
  form.Memo1->setPlainText(GoodText);
  form.CompileCheckSyntax->trigger();
  EXPECT_EQ(Messages(form), QStringList{});
  EXPECT_EQ(form.MessageListHeight(), 0);
}

TEST_F(CompileDriverTest, MessagePlacesFollowTheWrappedLines) {
  QString codes;
  for (int i = 1; i <= 60; ++i) codes += QString(" c%1").arg(i);
  const QString text = "Event" + codes + " c7 x;\nc1 /";
  TMainForm& form = StartWithText(text);
  form.show();
  ASSERT_GT(form.EditorLineList().size(), 2u);
  form.CompileCheckSyntax->trigger();
  ASSERT_EQ(Messages(form), QStringList{"Code name already defined."});
  ClickMessage(form, 0);
  EXPECT_EQ(form.Memo1->textCursor().selectionStart(), text.indexOf(" c7 x;") + 1);
  EXPECT_EQ(SelectedText(form), "c7 ");

  // With wrapping off the compiler sees the real lines.
  form.Memo1DblClick();
  form.CompileCheckSyntax->trigger();
  ClickMessage(form, 0);
  EXPECT_EQ(SelectedText(form), "c7 ");
}

TEST_F(CompileDriverTest, MessagesAreCopiedToTheResults) {
  TMainForm& form = StartWithText("Event a a b b;\na /");
  form.CompileCheckSyntax->trigger();
  ASSERT_EQ(Messages(form),
            (QStringList{"Code name already defined.", "Code name already defined."}));
  form.CopySelected1->trigger();  // nothing selected: nothing copied
  const int before = ResultLines(form).size();
  form.ListBox1->setCurrentRow(1);
  form.CopySelected1->trigger();
  form.CopyAll1->trigger();
  EXPECT_EQ(ResultLines(form).mid(before),
            (QStringList{"", "Code name already defined.", "", "", "Code name already defined.",
                         "Code name already defined.", ""}));
  EXPECT_EQ(form.ListBox1->actions().size(), 2);
  EXPECT_EQ(form.ListBox1->actions()[0]->text(), "Copy selected");
  EXPECT_EQ(form.ListBox1->actions()[1]->text(), "Copy all to Results");
}

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

TEST_F(CompileDriverTest, TheProgressBarIsPaintedForEverySession) {
  TMainForm& form = StartWithText("Event a b;\na /\nb /\na b /\nb a /");
  form.show();
  QApplication::processEvents();
  PaintCounter counter;
  form.ProgressBar1->installEventFilter(&counter);
  form.CompileCheckSyntax->trigger();
  EXPECT_EQ(form.StatusPanel0->text(), "No errors (syntax check)");
  EXPECT_GE(counter.Paints, 4);
  EXPECT_EQ(form.ProgressBar1->value(), 0);
}

TEST_F(CompileDriverTest, TheStoredOptionsReachTheCompiler) {
  TMainForm& form = StartWithText("Event a a b b;\na /");
  form.Options.MaxErrors = 1;
  Platform.Then(Answer::Yes);  // stop at the first error
  form.CompileCheckSyntax->trigger();
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"1 errors found. Stop?"});
  EXPECT_EQ(Messages(form), QStringList{"Code name already defined."});

  // Plain data lines, announced by a TAB before the stamp line's marker.
  form.Options.CompressMDS = false;
  form.Memo1->setPlainText(GoodText);
  Platform.ThenFile(Path("plain.sds"));
  form.CompileToMDS->trigger();
  const QStringList compiled = QString::fromUtf8(Read("plain.mds")).split("\r\n");
  ASSERT_EQ(compiled.size(), 12);
  EXPECT_TRUE(compiled[0].startsWith("\tMDS file saved by KELP compiler Version 5.1 "));
  EXPECT_EQ(compiled.mid(7), (QStringList{"1\t2.", "1\t.2", "1\t2.", "1\t.2", ""}));
}

TEST_F(CompileDriverTest, AFatalErrorIsShownAndEndsTheList) {
  TMainForm& form = StartWithText("Event a b");
  Platform.Then(Answer::Ok);
  form.CompileToMDS->trigger();
  EXPECT_EQ(Messages(form), QStringList{"No semicolon found after header."});
  EXPECT_EQ(Platform.BoxTexts(), QStringList{" Fatal error"});
  EXPECT_TRUE(Platform.FileDialogs.empty());
}

TEST_F(CompileDriverTest, AnUnnamedTextIsNamedThenBothFilesAreWritten) {
  TMainForm& form = StartWithText(GoodText);
  Platform.ThenFile(Path("new.sds"));
  form.CompileToMDS->trigger();
  ASSERT_EQ(Platform.FileDialogs.size(), 1u);
  EXPECT_EQ(Platform.FileDialogs[0].Spec.Title, "Save SDS file");
  EXPECT_EQ(form.StatusPanel0->text(), "No errors");
  EXPECT_EQ(Read("new.sds"), "Event a b;\r\na b a b /\r\n");
  EXPECT_FALSE(form.Memo1->document()->isModified());
  // The compiled file: a stamp line without a leading TAB (compressed data
  // lines), the header, one session of one segment with four events.
  QStringList compiled = QString::fromUtf8(Read("new.mds")).split("\r\n");
  ASSERT_EQ(compiled.size(), 12);
  const QString marker = "MDS file saved by KELP compiler Version 5.1 ";
  ASSERT_TRUE(compiled[0].startsWith(marker)) << compiled[0].toStdString();
  const QString stamp = compiled[0].mid(marker.size());
  EXPECT_FALSE(stamp.isEmpty());
  EXPECT_EQ(compiled.mid(1),
            (QStringList{"1\t0\t0", "2\t0\t0\t0\t1\t1", "a\tb", "0\t0\tevents", "1\t1\t#1",
                         "1\t4\t4\t1\t0", "1\t8*", "1\t4*", "1\t8*", "1\t4*", ""}));
  EXPECT_EQ(form.OpenMdsDialog.FileName, Path("new.mds"));
  EXPECT_EQ(form.MdsLoadTime, stamp);
  EXPECT_EQ(form.StatusPanel1->text(), "Active - new.mds");
  EXPECT_EQ(form.windowTitle(), "VORK5 - new.sds");
  const QStringList results = ResultLines(form);
  ASSERT_GE(results.size(), 3);
  EXPECT_TRUE(results[results.size() - 2].startsWith("Saved:\tnew.sds,"));
  EXPECT_EQ(results.last(), "Saved:\tnew.mds, " + stamp);
  EXPECT_EQ(form.VORKLogLines.last(), "Saved:\tnew.mds, " + stamp);
  EXPECT_EQ(form.LastFiles[0], Path("new.mds"));
  EXPECT_EQ(form.LastFiles[1], Path("new.sds"));
  EXPECT_TRUE(Platform.Shown.empty());
}

TEST_F(CompileDriverTest, CancellingTheRawFileNameSavesNothing) {
  TMainForm& form = StartWithText(GoodText);
  Platform.ThenFile(std::nullopt).Then(Answer::Ok);
  form.CompileToMDS->trigger();
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"MDS file not saved."});
  EXPECT_TRUE(form.Memo1->document()->isModified());
  EXPECT_TRUE(form.SaveSdsDialog.FileName.isEmpty());
  EXPECT_TRUE(form.OpenMdsDialog.FileName.isEmpty());
  EXPECT_EQ(form.StatusPanel0->text(), "No errors");
}

TEST_F(CompileDriverTest, ACompiledFileThatCannotBeWrittenEndsTheCommand) {
  TMainForm& form = StartWithNamedText();
  QDir(Folder.path()).mkdir("a.mds");
  Platform.Then(Answer::Yes);
  form.CompileToMDS->trigger();
  EXPECT_EQ(Platform.Errors.size(), 1);
  EXPECT_EQ(Read("a.sds"), "Event a b;\r\na b a b /\r\n");
  EXPECT_TRUE(form.OpenMdsDialog.FileName.isEmpty());
  EXPECT_FALSE(ResultLines(form).last().startsWith("Saved:\ta.mds"));
}

TEST_F(CompileDriverTest, AnExistingCompiledFileIsOverwrittenOnlyOnYes) {
  const QString question = "OK to overwrite a.mds? (No lets you give new name)";
  {
    TMainForm& form = StartWithNamedText();
    Write("a.mds", "old\r\n");
    Platform.Then(Answer::Cancel);
    form.CompileToMDS->trigger();
    EXPECT_EQ(Platform.BoxTexts(), QStringList{question});
    EXPECT_EQ(Platform.Shown[0].ButtonSet, Buttons::YesNoCancel);
    EXPECT_EQ(Read("a.sds"), "Event a b;\r\na b a b /\r\n");  // the raw file is saved first
    EXPECT_EQ(Read("a.mds"), "old\r\n");
    EXPECT_TRUE(form.OpenMdsDialog.FileName.isEmpty());
  }
  {
    Platform.Shown.clear();
    TMainForm& form = StartWithNamedText();
    Platform.Then(Answer::No).ThenFile(std::nullopt);
    form.CompileToMDS->trigger();
    ASSERT_EQ(Platform.FileDialogs.size(), 1u);
    const FileDialogSpec& spec = Platform.FileDialogs.back().Spec;
    EXPECT_EQ(spec.Title, "Save MDS file");
    EXPECT_EQ(spec.Filter, "MDS data file (*.mds)|*.mds");
    EXPECT_EQ(spec.DefaultExt, "mds");
    EXPECT_TRUE(spec.OverwritePrompt);
    EXPECT_EQ(spec.FileName, Path("a.mds"));
    EXPECT_EQ(Read("a.mds"), "old\r\n");
    EXPECT_TRUE(form.OpenMdsDialog.FileName.isEmpty());
  }
  {
    TMainForm& form = StartWithNamedText();
    Platform.Then(Answer::No).ThenFile(Path("b.mds"));
    form.CompileToMDS->trigger();
    EXPECT_EQ(Read("a.mds"), "old\r\n");
    EXPECT_TRUE(QFileInfo::exists(Path("b.mds")));
    EXPECT_EQ(form.OpenMdsDialog.FileName, Path("b.mds"));
    EXPECT_TRUE(ResultLines(form).last().startsWith("Saved:\tb.mds, "));
  }
  {
    TMainForm& form = StartWithNamedText();
    Platform.Then(Answer::Yes);
    form.CompileToMDS->trigger();
    EXPECT_NE(Read("a.mds"), "old\r\n");
    EXPECT_EQ(form.OpenMdsDialog.FileName, Path("a.mds"));
  }
}

}  // namespace
}  // namespace vork
