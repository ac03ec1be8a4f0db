#include "analysis/breakdown_events_window.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "tests/analysis/compiled_kelp.h"
#include "tests/support/qt/test_host.h"
#include "widgets/radio_group_box.h"

namespace vork {
namespace {

using testing::CompileKelp;

class BreakdownEventsWindow : public testing::WindowFixture {
 protected:
  QString Compiled(const QString& name, const std::string& text) {
    return WriteFile(name, CompileKelp(text).Lines);
  }

  // Clicks an item of the "Move codes to:" box as the user does.
  static void MoveTo(TBreakdownEvents& window, int index) {
    window.MoveTo->findChildren<QRadioButton*>().at(index)->click();
  }

  static void Select(QListWidget& list, int row) {
    list.clearSelection();
    list.item(row)->setSelected(true);
  }
};

TEST_F(BreakdownEventsWindow, TakesTimedAndStateFilesOnly) {
  const QString timed = Compiled("timed.mds", "Timed A X;\nA,0-2 X,1-3 ,4/");
  Host.Platform.Then(Answer::Ok);
  TBreakdownEvents& window =
      Open<TBreakdownEvents>(Compiled("events.mds", "Event A X;\nA X/"));
  EXPECT_EQ(Host.Platform.BoxTexts(), QStringList{"Open a timed-event or state MDS file."});
  EXPECT_EQ(window.CodesInFile->count(), 0);
  EXPECT_FALSE(window.RunCompute->isEnabled());

  Host.Platform.ThenFile(timed);
  window.FileOpenMds->trigger();
  EXPECT_EQ(window.windowTitle(), "Breakdown Events - timed.mds");
  EXPECT_EQ(window.CodesInFile->count(), 2);
  EXPECT_TRUE(window.RunCompute->isEnabled());
}

TEST_F(BreakdownEventsWindow, CodesMoveToTheChosenLevelAndEveryRunWritesRows) {
  TBreakdownEvents& window = Open<TBreakdownEvents>(Compiled(
      "ex.mds", "Timed A X Y;\n<S1> A,100-103 Y,100-106 X,101-103 A,104-106 X,105-106 ,106/"));
  EXPECT_TRUE(window.GivenCodes->isEnabled());
  EXPECT_FALSE(window.TargetCodes->isEnabled());
  Select(*window.CodesInFile, 0);
  window.MoveSelCodes->click();
  MoveTo(window, 1);
  EXPECT_FALSE(window.GivenCodes->isEnabled());
  EXPECT_TRUE(window.TargetCodes->isEnabled());
  EXPECT_FALSE(window.OmitAllGivens->isEnabled());
  Select(*window.CodesInFile, 0);
  window.MoveSelCodes->click();
  EXPECT_EQ(window.GivenCodes->item(0)->text(), "A");
  EXPECT_EQ(window.TargetCodes->item(0)->text(), "X");
  EXPECT_EQ(window.CodesInFile->item(0)->text(), "Y");

  window.ListOnsetTimes->setChecked(true);
  window.ExportBox->SetItemIndex(1);
  Host.Platform.ThenFile(Path("rows.txt")).ThenFile(Path("rows.txt"));
  const QStringList summary = {"", "File:\tex.mds", "Made:\t\tMDS file saved by KELP compiler Version 5.1 NOW",
                               "Type:\tTimed", "Units:\tseconds", ""};
  const QStringList rows = {"sesn\tEvent\tonset\tdura\tXD\tetcD\tXF\tetcF",
                            "S1\tA\t100\t3\t2\t3\t1\t1", "S1\tA\t104\t2\t1\t2\t1\t1"};
  for (int run = 1; run <= 2; ++run) {  // the summary heads every RUN
    Host.Results.clear();
    window.RunCompute->trigger();
    ASSERT_EQ(Host.Results.size(), 11) << run;
    EXPECT_EQ(Host.Results.mid(0, 9), summary + rows);
    EXPECT_TRUE(Host.Results[9].startsWith("rows.txt saved "));
    EXPECT_EQ(Host.Results[10], "_________________________");
    EXPECT_EQ(FileText("rows.txt"), rows.join("\r\n") + "\r\n");
  }
}

}  // namespace
}  // namespace vork
