#include <QAction>
#include <QMenu>
#include <QPushButton>

#include "analysis/simple_stats_window.h"
#include "widgets/radio_group_box.h"
#include "core/text_file.h"
#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

const dynString SmallFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "1\t0\t0", "2\t0\t0\t0\t1\t1", "A\tB", "0\t0\tevents",
    "1\t1\ts1", "1\t1\t2\t1\t0", "1\t2.", "1\t.2",
};

class RunMenu : public testing::ShellFixture {
 protected:
  QString WriteSmallFile(const QString& name = "small.mds") {
    SaveTextLines(Path(name).toStdString(), SmallFile);
    return Path(name);
  }

  // The Window menu's entries from "VORK Results" on, with their numbers.
  QStringList WindowEntries() const {
    QStringList entries;
    QList<QAction*> items = Form->Window1->actions();
    for (int i = 3; i < items.size(); ++i) {
      entries.push_back(items[i]->text() + " " + QString::number(items[i]->data().toInt()));
    }
    return entries;
  }

  TSimpleStats* SimpleStatsWindow() { return Form->findChild<TSimpleStats*>("SimpleStats"); }
};

TEST_F(RunMenu, AnalysisWindowOpensOnceAndIsNumbered) {
  TMainForm& form = Start();
  EXPECT_FALSE(form.ShowFormByName("SimpleStats"));
  form.OpenMdsDialog.FileName = WriteSmallFile();
  form.RunSimpleStats->trigger();
  form.RunSimpleStats->trigger();
  ASSERT_NE(SimpleStatsWindow(), nullptr);
  EXPECT_EQ(form.findChildren<TSimpleStats*>().size(), 1);
  EXPECT_EQ(WindowEntries(), (QStringList{"VORK Results 1", "Compute simple stats 2"}));
  EXPECT_TRUE(Platform.FileDialogs.empty());

  // Closing removes the entry; numbers are never given twice.
  SimpleStatsWindow()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(SimpleStatsWindow(), nullptr);
  EXPECT_EQ(WindowEntries(), QStringList{"VORK Results 1"});
  form.RunSimpleStats->trigger();
  EXPECT_EQ(WindowEntries(), (QStringList{"VORK Results 1", "Compute simple stats 3"}));

  // Window entries focus their windows.
  EXPECT_TRUE(form.ShowFormByName("SimpleStats"));
  SimpleStatsWindow()->hide();
  form.Window1->actions().last()->trigger();
  EXPECT_TRUE(SimpleStatsWindow()->isVisible());
  form.Results->hide();
  form.GoToResults->trigger();
  EXPECT_TRUE(form.Results->isVisible());
}

TEST_F(RunMenu, ExitAsksAboutExportRowsKeptForClosingTheWindow) {
  TMainForm& form = Start();
  form.OpenMdsDialog.FileName = WriteSmallFile();
  form.RunSimpleStats->trigger();
  TSimpleStats& window = *SimpleStatsWindow();
  window.MoveAllCodes->click();
  window.ExportBox->SetItemIndex(2);
  window.RunCompute->trigger();

  Platform.ThenFile(std::nullopt);  // cancelled: the program stays open
  EXPECT_FALSE(CloseMain());
  EXPECT_EQ(SimpleStatsWindow(), &window);

  Platform.ThenFile(Path("rows.txt")).Then(Answer::No);  // then the results question
  EXPECT_TRUE(CloseMain());
  EXPECT_TRUE(FileText("rows.txt").startsWith("session\tAF\tBF\r\n"));
  EXPECT_EQ(Platform.BoxTexts(), QStringList{"Save results to a text file?"});
}

TEST_F(RunMenu, WithoutACurrentFileTheRunCommandAsksForOne) {
  TMainForm& form = Start();
  Platform.ThenFile(std::nullopt);
  form.RunSimpleStats->trigger();
  EXPECT_EQ(SimpleStatsWindow(), nullptr);
  EXPECT_TRUE(Dialog().startsWith("open|Open MDS file|Compiled MDS file (*.mds)|*.mds|"));
  EXPECT_TRUE(Dialog().endsWith(" exist"));

  Platform.ThenFile(WriteSmallFile());
  form.RunSimpleStats->trigger();
  ASSERT_NE(SimpleStatsWindow(), nullptr);
  EXPECT_FALSE(form.MdsLoadTime.isEmpty());
  EXPECT_EQ(SimpleStatsWindow()->MdsLoadTime, form.MdsLoadTime);
  EXPECT_EQ(SimpleStatsWindow()->windowTitle(), "Simple Statistics - small.mds");
}

TEST_F(RunMenu, ShowMdsStuctureAsksForAFileFirst) {
  TMainForm& form = Start();
  int before = int(form.Results->Lines().size());
  Platform.ThenFile(std::nullopt);
  form.RunShowStucture->trigger();
  EXPECT_EQ(form.Results->Lines().size(), before);

  Platform.ThenFile(WriteSmallFile());
  form.RunShowStucture->trigger();
  QStringList report = form.Results->Lines().mid(before);
  EXPECT_EQ(report, (QStringList{"_________________________", QString::fromStdString(SmallFile[0]),
                                 "Path:\t" + Folder.path() + "/", "File:\tsmall.mds", "Type:\tEvent",
                                 "Units:\tevents", "", "#Code=\t2", "A\tB", "", "#Sesn=\t1",
                                 "#Sgmt:\tSesn:", "1\ts1"}));
}

TEST_F(RunMenu, ComputeKappaAsksAboutTheObserversFilesChosenBefore) {
  TMainForm& form = Start();
  form.OpenObsDialog1.FileName = Path("first.mds");
  form.OpenObsDialog2.FileName = Path("second.mds");
  Platform.Then(Answer::Yes).Then(Answer::No).ThenFile(std::nullopt);
  EXPECT_FALSE(form.ChooseObsFiles());
  EXPECT_EQ(Platform.BoxTexts(),
            (QStringList{"Use first.mds for 1st observer?", "Use second.mds for 2nd observer?"}));
  EXPECT_TRUE(Dialog().startsWith("open|Open MDS file 2nd observer|Compiled SDS file (*.mds)|"));
  EXPECT_EQ(Dialog(1), "(none)");
  EXPECT_EQ(Rel(form.OpenObsDialog1.FileName) + "," + form.OpenObsDialog2.FileName, "first.mds,");
}

}  // namespace
}  // namespace vork
