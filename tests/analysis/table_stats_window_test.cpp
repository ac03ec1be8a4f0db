#include "analysis/table_stats_window.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/number_up_down.h"
#include "widgets/radio_group_box.h"
#include "core/text_file.h"
#include "tests/analysis/sample_files.h"
#include "tests/support/qt/test_host.h"

namespace vork {
namespace {

using testing::EventFile;

// The same codes as State data in seconds: one session of four units.
const dynString StateFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "3\t0\t0",
    "4\t0\t0\t0\t1\t1", "A\tB\tC\tLengthyName", "1\t0\tseconds", "1\t1\tS1", "1\t3\t4\t0\t4",
    "2\t2...", "1\t.2..", "1\t...2",
};

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text());
  return items;
}

void Select(QListWidget* list, const QStringList& texts) {
  list->clearSelection();
  for (int i = 0; i < list->count(); ++i)
    list->item(i)->setSelected(texts.contains(list->item(i)->text()));
}

class TableStatsWindow : public testing::WindowFixture {
 protected:
  TTableStats& OpenWindow(const dynString& lines, const QString& name = "events.mds") {
    return Open<TTableStats>(WriteFile(name, lines));
  }

  void PickAAndBOnBothSides(TTableStats& window) {
    for (int side : {0, 1}) {
      window.MoveTo->SetItemIndex(side);
      window.MoveToClick();
      Select(window.CodesInFile, {"A", "B"});
      window.MoveSelCodes->click();
    }
  }

  // The results lines one RUN appends.
  QStringList Run(TTableStats& window) {
    const qsizetype before = Host.Results.size();
    window.RunCompute->trigger();
    return Host.Results.mid(before);
  }
};

TEST_F(TableStatsWindow, ALoadSetsListsLagsAndResidualBoxesByDataType) {
  TTableStats& window = OpenWindow(EventFile);
  EXPECT_EQ(window.windowTitle(), "Table Statistics - events.mds");
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"A", "B", "C", "LengthyName"}));
  EXPECT_EQ(window.MoveTo->ItemIndex(), 0);
  EXPECT_TRUE(window.GivenCodes->isEnabled());
  EXPECT_FALSE(window.TargetCodes->isEnabled());
  EXPECT_FALSE(window.OmitSelTargets->isEnabled());
  EXPECT_EQ(window.EditLagFrom->Edit()->text(), "1");
  EXPECT_EQ(window.EditLagTo->Edit()->text(), "1");
  EXPECT_FALSE(window.AddResidualGiven->isChecked());
  EXPECT_FALSE(window.AddResidualTarget->isChecked());
  for (int k = 0; k < NTableStatistics; ++k)
    EXPECT_EQ(window.StatCB[std::size_t(k)]->isChecked(), k == 0) << k;
  EXPECT_EQ(window.StatCB[13]->text(), "kappa maximum");
  EXPECT_EQ(window.AddResidualGiven->text(), "Add && to givens (&&= none of listed codes)");

  TTableStats& state = OpenWindow(StateFile, "state.mds");
  EXPECT_EQ(state.EditLagFrom->Edit()->text(), "0");
  EXPECT_TRUE(state.AddResidualGiven->isChecked());
  EXPECT_TRUE(state.AddResidualTarget->isChecked());
}

TEST_F(TableStatsWindow, ALoadResetsTheCodeSidesButKeepsTheStatistics) {
  TTableStats& window = OpenWindow(EventFile);
  window.MoveAllCodes->click();
  window.MoveTo->SetItemIndex(1);
  window.MoveToClick();
  window.EditLagTo->Edit()->setText("5");
  window.StatCB[KAPPA - 1]->setChecked(true);
  SaveTextLines(Path("state.mds").toStdString(), StateFile);

  Host.Platform.ThenFile(Path("state.mds"));
  window.FileOpenMds->trigger();
  EXPECT_EQ(window.windowTitle(), "Table Statistics - state.mds");
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"A", "B", "C", "LengthyName"}));
  EXPECT_TRUE(Items(window.GivenCodes).isEmpty());
  EXPECT_EQ(window.MoveTo->ItemIndex(), 0);
  EXPECT_EQ(window.EditLagTo->Edit()->text(), "0");
  EXPECT_TRUE(window.StatCB[KAPPA - 1]->isChecked());
  // The targets' pool is the new file's codes too.
  window.MoveTo->SetItemIndex(1);
  window.MoveToClick();
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"A", "B", "C", "LengthyName"}));
}

TEST_F(TableStatsWindow, GivensAndTargetsDrawOnPoolsOfTheirOwn) {
  TTableStats& window = OpenWindow(EventFile);
  const QList<QRadioButton*> sides = window.MoveTo->findChildren<QRadioButton*>();
  ASSERT_EQ(sides.size(), 2);
  Select(window.CodesInFile, {"A"});
  window.MoveSelCodes->click();
  sides[0]->click();  // "givens" again
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"B", "C", "LengthyName"}));
  EXPECT_EQ(Items(window.GivenCodes), QStringList({"A"}));

  // The targets' pool still holds every code.
  sides[1]->click();
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"A", "B", "C", "LengthyName"}));
  EXPECT_FALSE(window.GivenCodes->isEnabled());
  EXPECT_TRUE(window.TargetCodes->isEnabled());
  Select(window.CodesInFile, {"C"});
  window.MoveSelCodes->click();
  sides[1]->click();  // "targets" again
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"A", "B", "LengthyName"}));
  sides[0]->click();
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"B", "C", "LengthyName"}));
  sides[1]->click();
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"A", "B", "LengthyName"}));
}

TEST_F(TableStatsWindow, TheResidualCodeFollowsItsBoxAtEveryMove) {
  TTableStats& window = OpenWindow(EventFile);
  window.AddResidualGiven->click();
  Select(window.CodesInFile, {"A"});
  window.MoveSelCodes->click();
  EXPECT_EQ(Items(window.GivenCodes), QStringList({"A", "&"}));
  Select(window.CodesInFile, {"C"});
  window.MoveSelCodes->click();
  EXPECT_EQ(Items(window.GivenCodes), QStringList({"A", "C", "&"}));

  // Unticking changes no list until the next move.
  window.AddResidualGiven->click();
  EXPECT_EQ(Items(window.GivenCodes), QStringList({"A", "C", "&"}));
  Select(window.CodesInFile, {"B"});
  window.MoveSelCodes->click();
  EXPECT_EQ(Items(window.GivenCodes), QStringList({"A", "C", "B"}));

  // Omitting "&" drops it; omitting all gives the codes back.
  window.AddResidualGiven->click();
  window.MoveAllCodes->click();
  EXPECT_EQ(Items(window.GivenCodes), QStringList({"A", "C", "B", "LengthyName", "&"}));
  window.OmitAllGivens->click();
  EXPECT_TRUE(Items(window.GivenCodes).isEmpty());
  EXPECT_EQ(Items(window.CodesInFile), QStringList({"A", "C", "B", "LengthyName"}));
}

TEST_F(TableStatsWindow, LagEditsKeepWholeNumbersInRange) {
  TTableStats& window = OpenWindow(EventFile);
  const int before = Host.Platform.Beeps;
  window.EditLagTo->Edit()->setText("12a");
  EXPECT_EQ(window.EditLagTo->Edit()->text(), "12");
  EXPECT_EQ(Host.Platform.Beeps - before, 1);
  window.EditLagFrom->Edit()->setText("-");
  EXPECT_EQ(window.EditLagFrom->Position(), 0);
}

TEST_F(TableStatsWindow, RunWritesTheLaggedTablesAndTheSeparator) {
  TTableStats& window = OpenWindow(EventFile);
  PickAAndBOnBothSides(window);

  Host.Platform.Then(Answer::Ignore);  // S2's one-event segment is too short for lag 1
  const QStringList results = Run(window);
  // The file summary, then the tables (their counts are the tally's), then the separator.
  ASSERT_EQ(results.size(), 25);
  EXPECT_EQ(results.mid(0, 12),
            (QStringList{"", "File:\tevents.mds",
                         "Made:\t\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
                         "Type:\tEvent", "Units:\tevents", "", "Lag:\t+1", "", "S1", "",
                         "JNTF\tTarget:", "Given:\tA\tB\tTotals"}));
  EXPECT_EQ(results[16], "S2");
  EXPECT_EQ(results.last(), "_________________________");
  EXPECT_EQ(Host.Platform.BoxTexts(),
            QStringList{"<S2> insufficient data for lag 1. Select Ignore to suppress this warning."});
  EXPECT_EQ(window.ProgressBar1->value(), 0);
}

TEST_F(TableStatsWindow, ExportRowsAreSavedAfterEachRun) {
  TTableStats& window = OpenWindow(EventFile);
  PickAAndBOnBothSides(window);
  window.StatCB[XSQ - 1]->setChecked(true);
  window.ResultsBox->SetItemIndex(0);
  window.ExportBox->SetItemIndex(1);

  Host.Platform.Then(Answer::Ok);
  Host.Platform.ThenFile(Path("rows.txt"));
  const QStringList results = Run(window);
  const dynString rows = LoadTextLines(Path("rows.txt").toStdString());
  ASSERT_EQ(rows.size(), 9u);  // a header, then a row per session and pair
  EXPECT_EQ(rows[0], "session\tGiven\tTarget\tJNTF\tXSQ");
  EXPECT_EQ(rows[8], "S2\tB\tB\t0");
  // The file summary of the first RUN, then the saved-file line; no separator.
  ASSERT_EQ(results.size(), 7);
  EXPECT_TRUE(results[6].startsWith("rows.txt saved ")) << results[6].toStdString();
}

TEST_F(TableStatsWindow, AFailedCheckWritesNothing) {
  TTableStats& window = OpenWindow(EventFile);
  Host.Platform.Then(Answer::Ok);
  const QStringList results = Run(window);
  EXPECT_EQ(Host.Platform.BoxTexts(), QStringList{"Select given and target codes."});
  EXPECT_TRUE(results.isEmpty());
}

}  // namespace
}  // namespace vork
