#include "analysis/simple_stats_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>

#include "widgets/radio_group_box.h"
#include "core/text_file.h"
#include "tests/analysis/sample_files.h"
#include "tests/support/qt/test_host.h"
#include "tests/support/qt/widget_input.h"

namespace vork {
namespace {

using testing::BabyFile;

// Event data, one code X, factor A (a1, a2), two sessions.
const dynString FactorFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "1\t0\t0", "1\t0\t0\t1\t2\t1", "X", "A\t2\ta1\ta2", "0\t0\tevents",
    "1\t1\tS1", "1", "1\t1\t1\t1\t0", "1\t2",
    "1\t1\tS2", "2", "1\t1\t2\t1\t0", "2\t2",
};

const dynString AlertTable = {"baby", "", "Codes:\tfreq\tdura\tprob\tavgD",
                              "Alert\t2\t0.5\t.50\t0.250", "Cry\t0\t0.0\t.00\t0",
                              "Totals\t2\t0.5\t.50", "#Units:\t1.0\tseconds", ""};
const QString Separator = "_________________________";

class SimpleStatsWindow : public testing::WindowFixture {
 protected:
  TSimpleStats& OpenWindow(const QString& file) { return Open<TSimpleStats>(file); }

  // Picks every code and the statistics of the example table.
  void ChooseExampleTable(TSimpleStats& window) {
    window.MoveAllCodes->click();
    window.CBdura->setChecked(true);
    window.CBprob->setChecked(true);
    window.CBavg->click();
    window.CBepso->setChecked(true);
  }

  // The results lines one RUN appends.
  QStringList Run(TSimpleStats& window) {
    const qsizetype before = Host.Results.size();
    window.RunCompute->trigger();
    return Host.Results.mid(before);
  }

  QStringList Expected(std::initializer_list<dynString> parts, bool separator = true) {
    QStringList lines;
    for (const dynString& part : parts) {
      for (const std::string& line : part) lines.push_back(QString::fromStdString(line));
    }
    if (separator) lines.push_back(Separator);
    return lines;
  }

  dynString Summary(const char* name) {
    return {"", std::string("File:\t") + name,
            "Made:\t\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
            "Type:\tTimed", "Units:\t1/10 seconds", ""};
  }
};

TEST_F(SimpleStatsWindow, FirstRunAfterALoadWritesTheSummaryThenTheTable) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  EXPECT_EQ(window.windowTitle(), "Simple Statistics - baby.mds");
  EXPECT_EQ(window.CodesInFile->count(), 2);
  ChooseExampleTable(window);
  EXPECT_EQ(window.PickedCodes->item(1)->text(), "Cry");

  EXPECT_EQ(Run(window), Expected({Summary("baby.mds"), AlertTable}));
  EXPECT_EQ(window.ProgressBar1->value(), 0);

  EXPECT_EQ(Run(window), Expected({AlertTable}));
}

TEST_F(SimpleStatsWindow, ResultsBoxChoices) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  ChooseExampleTable(window);

  // Not displayed: the summary still comes on the first RUN, no separator.
  window.ResultsBox->SetItemIndex(0);
  EXPECT_EQ(Run(window), Expected({Summary("baby.mds")}, false));

  // Overwritten: only this RUN's lines remain.
  window.ResultsBox->SetItemIndex(2);
  window.RunCompute->trigger();
  EXPECT_EQ(Host.Results, Expected({AlertTable}));
  EXPECT_EQ(Host.ResultsClears, 1);
}

TEST_F(SimpleStatsWindow, ReloadQuestionIsAskedOncePerLoad) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  QString second = WriteFile("second.mds", FactorFile);
  QString third = WriteFile("third.mds", FactorFile);

  window.FormActivate();  // the host still has the window's own file
  EXPECT_TRUE(Host.Platform.Shown.empty());

  Host.Current = second;
  Host.LoadTime = "stamp 2";
  Host.Platform.Then(Answer::No);
  window.FormActivate();
  window.FormActivate();
  EXPECT_EQ(Host.Platform.BoxTexts(),
            QStringList{"Use second.mds (Select no to use previous baby.mds)?"});
  EXPECT_EQ(Host.Platform.Shown[0].ButtonSet, Buttons::YesNo);
  EXPECT_EQ(window.windowTitle(), "Simple Statistics - baby.mds");

  // A third file brings no question until the window loads through its own
  // open command.
  Host.Current = third;
  Host.LoadTime = "stamp 3";
  window.FormActivate();
  EXPECT_EQ(Host.Platform.Shown.size(), 1u);

  Host.Platform.ThenFile(third);
  window.FileOpenMds->trigger();
  EXPECT_EQ(window.windowTitle(), "Simple Statistics - third.mds");
  EXPECT_EQ(window.MdsLoadTime, Host.LoadTime);
  EXPECT_NE(Host.LoadTime, "stamp 3");

  Host.Current = second;
  Host.LoadTime = "stamp 4";
  Host.Platform.Then(Answer::Yes);
  window.FormActivate();
  window.FormActivate();
  EXPECT_EQ(Host.Platform.Shown.size(), 2u);
  EXPECT_EQ(Host.Platform.Shown[1].Text, "Use second.mds (Select no to use previous third.mds)?");
  EXPECT_EQ(window.windowTitle(), "Simple Statistics - second.mds");
  EXPECT_TRUE(window.MoveAllFactors->isEnabled());
  EXPECT_EQ(window.FactorsInFile->count(), 1);
}

TEST_F(SimpleStatsWindow, FailedLoadKeepsTheWindowsFile) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  ChooseExampleTable(window);
  Host.Current = WriteFile("notes.mds", {"just some notes"});
  Host.LoadTime = "stamp 2";
  Host.Platform.Then(Answer::Yes).Then(Answer::Ok);
  window.FormActivate();
  EXPECT_EQ(Host.Platform.BoxTexts(),
            (QStringList{"Use notes.mds (Select no to use previous baby.mds)?",
                         "notes.mds not a valid MDS 5.x file"}));
  EXPECT_TRUE(Host.Current.isEmpty());
  EXPECT_EQ(window.windowTitle(), "Simple Statistics - baby.mds");

  EXPECT_EQ(Run(window), Expected({Summary("baby.mds"), AlertTable}));
}

TEST_F(SimpleStatsWindow, NoExportRowsWhenTheExportBoxSaysNone) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  window.MoveAllCodes->click();
  EXPECT_EQ(window.ExportBox->ItemIndex(), 0);
  EXPECT_EQ(window.ExportBox->title(), "Export files:");
  EXPECT_EQ(window.ResultsBox->title(), "When you selelct RUN:");
  window.RunCompute->trigger();
  EXPECT_TRUE(window.ExportLines.empty());
  EXPECT_FALSE(window.ExportLinesModified);
  // Rows kept for saving after closing are dropped when the box moves away.
  window.ExportBox->SetItemIndex(2);
  window.RunCompute->trigger();
  window.ExportBox->SetItemIndex(0);
  EXPECT_TRUE(window.close());
  EXPECT_TRUE(Host.Platform.FileDialogs.empty());
}

TEST_F(SimpleStatsWindow, ExportFileForEachRun) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  window.MoveAllCodes->click();
  window.ExportBox->SetItemIndex(1);
  window.ResultsBox->SetItemIndex(0);
  QString exportFile = Path("export.txt");

  Host.Platform.ThenFile(std::nullopt);  // cancelled: the rows wait for the next save
  window.RunCompute->trigger();
  EXPECT_TRUE(window.ExportLinesModified);
  Host.Platform.ThenFile(exportFile);
  window.RunCompute->trigger();
  ASSERT_EQ(Host.Platform.FileDialogs.size(), 2u);
  EXPECT_EQ(Host.Platform.FileDialogs[1].Spec.Title, "Save export text file");
  EXPECT_TRUE(Host.Platform.FileDialogs[1].Spec.OverwritePrompt);
  EXPECT_EQ(LoadTextLines(exportFile.toStdString()),
            (dynString{"session\tAlertF\tCryF", "baby\t2\t0", "session\tAlertF\tCryF",
                       "baby\t2\t0"}));
  EXPECT_FALSE(window.ExportLinesModified);
  EXPECT_TRUE(Host.Results.last().startsWith("export.txt saved "));
  EXPECT_TRUE(Host.Log.last().startsWith("export.txt saved "));
}

TEST_F(SimpleStatsWindow, ExportFileAfterClosing) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  window.MoveAllCodes->click();
  window.ExportBox->SetItemIndex(2);
  for (int run = 0; run < 3; ++run) window.RunCompute->trigger();
  EXPECT_TRUE(Host.Platform.FileDialogs.empty());

  Host.Platform.ThenFile(std::nullopt);
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(Host.ClosedWindows.isEmpty());

  Host.Platform.ThenFile(Path("all.txt"));
  EXPECT_TRUE(window.close());
  EXPECT_EQ(LoadTextLines(Path("all.txt").toStdString()),
            (dynString{"session\tAlertF\tCryF", "baby\t2\t0", "session\tAlertF\tCryF",
                       "baby\t2\t0", "session\tAlertF\tCryF", "baby\t2\t0"}));
  EXPECT_EQ(Host.ClosedWindows, QStringList{"SimpleStats"});
}

TEST_F(SimpleStatsWindow, PoolingQuestionChecksTheBox) {
  TSimpleStats& window = OpenWindow(WriteFile("factors.mds", FactorFile));
  EXPECT_TRUE(window.MoveAllFactors->isEnabled());
  window.MoveAllCodes->click();
  window.MoveAllFactors->click();
  Host.Platform.Then(Answer::Yes);
  const QStringList results = Run(window);
  EXPECT_TRUE(window.PoolOverSessions->isChecked());
  ASSERT_GT(results.size(), 7);
  EXPECT_EQ(results[6], "sessions-pooled\tA-pooled\tn=2");
  EXPECT_EQ(results[9], "X\t3");
}

TEST_F(SimpleStatsWindow, FileWithoutFactorsDisablesTheFactorButtons) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  for (QPushButton* button : {window.MoveAllFactors, window.MoveSelFactors,
                              window.OmitSelFactors, window.OmitAllFactors}) {
    EXPECT_FALSE(button->isEnabled());
  }
}

TEST_F(SimpleStatsWindow, StatisticBoxesAndTheRateBox) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  EXPECT_TRUE(window.CBfreq->isChecked());
  EXPECT_TRUE(window.RateFactorBox->isHidden());
  EXPECT_EQ(window.RateFactorBox->currentText(), "1800=half-hour");
  EXPECT_EQ(window.RateFactor, 1800);
  window.CBrate->click();
  EXPECT_FALSE(window.RateFactorBox->isHidden());

  window.RateFactorBox->setEditText("12a3");
  EXPECT_EQ(window.RateFactorBox->currentText(), "123");
  EXPECT_EQ(window.RateFactor, 123);
  EXPECT_EQ(Host.Platform.Beeps, 1);
  window.RateFactorBox->setCurrentIndex(1);
  EXPECT_EQ(window.RateFactorBox->currentText(), "60=minute");
  EXPECT_EQ(window.RateFactor, 60);
  // A typed factor stays as typed where an item begins with it.
  window.show();
  window.activateWindow();
  QApplication::processEvents();  // typing completes only in the active window
  window.RateFactorBox->setFocus();
  for (const auto& [typed, factor] : {std::pair{"180", 180}, std::pair{"6", 6}}) {
    window.RateFactorBox->lineEdit()->selectAll();
    testing::TypeKeys(window.RateFactorBox->lineEdit(), typed);
    EXPECT_EQ(window.RateFactorBox->currentText(), QString(typed));
    EXPECT_EQ(window.RateFactor, factor);
  }
  // Enter takes the factor as typed; the list keeps its own items.
  testing::PressKey(window.RateFactorBox->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(window.RateFactorBox->currentText(), "6");
  EXPECT_EQ(window.RateFactor, 6);
  EXPECT_EQ(testing::ComboItems(window.RateFactorBox),
            QString("1=second|60=minute|600=10-min|1800=half-hour|3600=hour"));
  window.RateFactorBox->setCurrentIndex(1);

  // The kind boxes follow average, minimum and maximum, keeping their marks.
  EXPECT_FALSE(window.CBepso->isEnabled());
  window.CBmax->click();
  EXPECT_TRUE(window.CBgaps->isEnabled());
  window.CBgaps->setChecked(true);
  window.CBmax->click();
  EXPECT_FALSE(window.CBgaps->isEnabled());
  EXPECT_TRUE(window.CBgaps->isChecked());

  window.MoveAllCodes->click();
  const QStringList results = Run(window);
  EXPECT_EQ(results.mid(6, 4),
            (QStringList{"baby", "", "Rate: #/60 seconds", "Codes:\tfreq\trate"}));
}

TEST_F(SimpleStatsWindow, ChecksEndTheRunBeforeAnythingIsWritten) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  Host.Platform.Then(Answer::Ok);
  const QStringList results = Run(window);
  EXPECT_EQ(Host.Platform.BoxTexts(), QStringList{"Select one or more codes."});
  EXPECT_TRUE(results.isEmpty());
  EXPECT_TRUE(window.FirstRun);
}

TEST_F(SimpleStatsWindow, DamagedSessionShowsTheErrorAndKeepsEarlierLines) {
  dynString lines = BabyFile;
  lines[2] = "2\t0\t0\t0\t2\t2";
  lines.push_back("2\t1\tlate");
  lines.push_back("1\t1\t10\t50\t40");
  lines.push_back("10\t..");
  TSimpleStats& window = OpenWindow(WriteFile("late.mds", lines));
  window.MoveAllCodes->click();
  const QStringList results = Run(window);
  ASSERT_EQ(Host.Platform.Errors.size(), 1);
  EXPECT_EQ(results[6], "baby");
  EXPECT_NE(results.last(), Separator);
}

TEST_F(SimpleStatsWindow, ResizingFollowsTheClientWidth) {
  TSimpleStats& window = OpenWindow(WriteFile("baby.mds", BabyFile));
  // The options column is 262 wide unless its captions need more; the
  // minimum width is 566 unless the captions need more.
  auto* options = window.findChild<QScrollArea*>();
  ASSERT_NE(options, nullptr);
  const int optionsWidth = options->width();
  EXPECT_GE(optionsWidth, 262);
  EXPECT_GE(window.minimumWidth(), 566 + optionsWidth - 262);
  window.show();
  window.resize(800, 420);
  EXPECT_EQ(window.PanelCodes->width(), (800 - optionsWidth) / 2);
  EXPECT_EQ(window.pos(), QPoint(210, 160));
}

}  // namespace
}  // namespace vork
