#include "app/main_window.h"

#include <QAction>
#include <QFontMetricsF>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <tuple>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using MainWindow = testing::ShellFixture;

QStringList MenuCaptions(QMenu* menu) {
  QStringList captions;
  for (QAction* action : menu->actions()) {
    captions.push_back(action->isSeparator() ? "-" : action->text());
  }
  return captions;
}

TEST_F(MainWindow, MenusListEveryCommandInOrder) {
  TMainForm& form = Start();
  QStringList menus;
  for (QAction* menu : form.menuBar()->actions()) menus.push_back(menu->text());
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Compile", "&Run", "&Window", "&Help"}));

  // The five recent-file items are hidden and captionless without recent files.
  EXPECT_EQ(MenuCaptions(form.File1),
            QStringList({"New SDS file", "Open SDS or MDS file...", "-", "Save SDS file",
                         "Save SDS file as...", "-", "", "", "", "", "", "-", "Exit VORK"}));
  EXPECT_EQ(MenuCaptions(form.Edit1),
            QStringList({"EditUndo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Find...",
                         "Replace...", "-", "Select all"}));
  EXPECT_FALSE(form.Edit1->isEnabled());
  EXPECT_EQ(MenuCaptions(form.Compile1),
            QStringList({"Compile to  MDS file", "Check syntax", "-", "Change compile options"}));
  EXPECT_EQ(MenuCaptions(form.Run1),
            QStringList({"Compute simple stats", "Compute table stats", "Plot MDS file",
                         "Breakdown events", "Export N-way table", "-", "Compute Kappa", "-",
                         "Modify MDS file", "Round times in MDS file", "-", "Show MDS stucture",
                         "Change VORK font...", "Change run options"}));
  EXPECT_EQ(MenuCaptions(form.Window1),
            QStringList({"Change the font...", "Clear this window", "-", "VORK Results"}));
  EXPECT_EQ(form.GoToResults->data().toInt(), 1);
  EXPECT_EQ(MenuCaptions(form.Help1), QStringList({"Show VORK Help", "About VORK"}));
}

// Hints that differ from the captions, and the shortcut keys.
TEST_F(MainWindow, CommandsCarryTheirHintsAndKeys) {
  TMainForm& form = Start();
  const std::tuple<QAction*, const char*, const char*> rows[] = {
      {form.FileNewSds, "New SDS file", "Ctrl+N"}, {form.FileOpenSdsMds, nullptr, "Ctrl+O"},
      {form.FileSaveSDS, nullptr, "Ctrl+S"},       {form.FileSaveSDSAs, nullptr, "Ctrl+A"},
      {form.FileExit, nullptr, "Ctrl+Alt+X"},      {form.EditUndo, "", "Ctrl+Z"},
      {form.EditCut, nullptr, "Ctrl+X"},           {form.EditDelete, nullptr, "Ctrl+Del"},
      {form.EditSearch, nullptr, "Ctrl+F"},        {form.EditReplace, nullptr, "Ctrl+R"},
      {form.RunComputeKappa, "Compute kappa for 2 observers", ""},
      {form.HelpShow, "Show VORK help", ""},
  };
  for (const auto& [action, hint, key] : rows) {
    SCOPED_TRACE(action->text().toStdString());
    if (hint) { EXPECT_EQ(action->statusTip(), hint); }
    EXPECT_EQ(action->shortcut(), QKeySequence(key));
  }
}

TEST_F(MainWindow, FirstStartOpensTheSmallWindowWithTheDefaultFonts) {
  TMainForm& form = Start();
  EXPECT_EQ(form.windowTitle(), "VORK5");
  EXPECT_EQ(form.pos(), QPoint(230, 30));
  EXPECT_EQ(QSize(form.width(), form.ClientHeight()), QSize(780, 66));
  EXPECT_EQ(form.font().family() + " " + QString::number(form.font().pointSize()) + ", " +
                form.Memo1->font().family() + ", " + form.Results->Memo1->font().family() + " " +
                QString::number(form.Results->Memo1->font().pointSize()),
            "MS Sans Serif 10, MS Sans Serif, Courier New 10");
  // Where those fonts are not installed, the text windows still align
  // columns: a narrow, a wide and a punctuation glyph take the same width in
  // whatever font the machine shows them.
  for (QWidget* text : {static_cast<QWidget*>(form.Memo1), static_cast<QWidget*>(form.ListBox1),
                        static_cast<QWidget*>(form.Results->Memo1)}) {
    const QFontMetricsF shown(text->font());
    EXPECT_EQ(QString("%1 %2").arg(shown.horizontalAdvance("W")).arg(shown.horizontalAdvance(".")),
              QString("%1 %1").arg(shown.horizontalAdvance("i")))
        << text->metaObject()->className();
  }
  EXPECT_EQ(form.MessageListHeight(), 0);
  EXPECT_TRUE(form.VORKLogLines.isEmpty());
  EXPECT_EQ(QDir::currentPath(), QDir(Folder.path()).canonicalPath());
}

TEST_F(MainWindow, ExpandToggleShowsAndHidesTheThreeRareButtons) {
  TMainForm& form = Start();
  auto state = [&] {
    return form.PanelExpand->text() + QString::number(form.ToolBreakdown->isVisible()) +
           QString::number(form.ToolExportTable->isVisible()) +
           QString::number(form.ToolRound->isVisible());
  };
  EXPECT_EQ(state(), ">>000");
  form.PanelExpand->click();
  EXPECT_EQ(state(), "<<111");
  form.PanelExpand->click();
  EXPECT_EQ(state(), ">>000");
}

TEST_F(MainWindow, AddFileSavedMsgAnnouncesInResultsAndLog) {
  TMainForm& form = Start();
  form.MdsLoadTime = "old stamp";
  form.AddFileSavedMsg(Path("a.sds"), ",", "");
  EXPECT_EQ(form.MdsLoadTime, "old stamp");
  ASSERT_EQ(form.VORKLogLines.size(), 1);
  EXPECT_TRUE(form.VORKLogLines[0].startsWith("Saved:\ta.sds,"));
  EXPECT_GT(form.VORKLogLines[0].size(), QString("Saved:\ta.sds,").size());  // a time added

  form.AddFileSavedMsg(Path("b.mds"), ", ", "3/4/26 10:11:12");
  EXPECT_EQ(form.MdsLoadTime, "3/4/26 10:11:12");
  EXPECT_EQ(form.VORKLogLines[1], form.Results->Lines().last());
  EXPECT_EQ(form.VORKLogLines[1], "Saved:\tb.mds, 3/4/26 10:11:12");
  EXPECT_TRUE(form.Results->IsModified());
  EXPECT_TRUE(FormState().endsWith("| b.mds,a.sds,,,"));
}

}  // namespace
}  // namespace vork
