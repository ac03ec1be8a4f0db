#include "agreement/compute_kappa_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "tests/support/compiled_text.h"
#include "tests/support/qt/layout_check.h"
#include "widgets/number_up_down.h"
#include "tests/support/qt/test_host.h"

namespace vork::testing {
namespace {

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text());
  return items;
}

class ComputeKappaWindowTest : public WindowFixture {
 protected:
  TComputeKappa& OpenKappa(const std::string& obs1, const std::string& obs2) {
    Host.Observer[0] = WriteFile("obs1.mds", CompiledText(obs1, true));
    Host.Observer[1] = WriteFile("obs2.mds", CompiledText(obs2, true));
    auto* window = new TComputeKappa(Host);
    Windows.push_back(window);
    return *window;
  }
};

TEST_F(ComputeKappaWindowTest, ComputesKappaOfTwoCompiledKelpTexts) {
  // Obs1: a on 0-4, b on 5-9. Obs2: a on 0-5, b on 6-9.
  TComputeKappa& window = OpenKappa("Timed a b;\na,0-5 b,5-10 ,10/", "Timed a b;\na,0-6 b,6-10 ,10/");
  EXPECT_EQ(window.windowTitle(), "Kappa - obs1.mds(Obs1) obs2.mds(Obs2)");
  EXPECT_EQ(window.TULabel->text(), "TUs = seconds");
  EXPECT_EQ(window.KapaLineLength->currentText(), "120");
  window.MoveAllCodes->click();
  EXPECT_EQ(window.Markers->toPlainText(), "a\nb");
  window.CheckKapaAgreePlot->setChecked(false);
  window.CheckKapaAlignPlot->setChecked(false);
  window.RunCompute->trigger();
  const QString stamp = "MDS file saved by KELP compiler Version 5.1 07.12.2026 01:00:00";
  EXPECT_EQ(Host.Results,
            (QStringList{"", "Obs1:\tobs1.mds", "Made:\t" + stamp, "Obs2:\tobs2.mds", "Made:\t" + stamp, "Type:\tTimed",
                         "Units:\tseconds", "",
                         // Unit 5 is forgiven both ways by the tolerance of 2.
                         "1.00-1.00\tTime-unit kappa, window= \u00B12 seconds", "100%-100%\tAgreement",
                         "1.00-1.00\tMaximum value of kappa", "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "",
                         "\ta\tb\tTotals\tindK", "a\t5\t0\t5\t1.00\ta", "b\t0\t5\t5\t1.00\tb",
                         "Totals\t5\t5\t10\t\tTotals", "",
                         "1.00\tEvent alignment kappa, tolerance 5, overlap 80%", "1.00\tMaximum value of kappa",
                         "100%\tagreement", "Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.", "",
                         "\t-\ta\tb\tTotals\tindK", "-\t0\t0\t0\t0\t\tnil", "a\t0\t1\t0\t1\t1.00\ta",
                         "b\t0\t0\t1\t1\t1.00\tb", "Totals\t0\t1\t1\t2\t\tTotals", "_________________________"}));

  // Without the tolerance unit 5 counts a-b; the summary is not written again.
  window.KapaTimeTol->Edit()->setText("0");
  window.RunCompute->trigger();
  const QStringList second = Host.Results.mid(29);
  ASSERT_GE(second.size(), 7);
  EXPECT_EQ(second.mid(0, 3), (QStringList{".80\tTime-unit kappa", "90%\tAgreement", ".80\tMaximum value of kappa"}));
  EXPECT_EQ(second.mid(5, 2), (QStringList{"\ta\tb\tTotals\tindK", "a\t5\t0\t5\t.80\ta"}));
}

// The progress bar shows the sessions done while the run reads them and is
// empty again once the run is over.
TEST_F(ComputeKappaWindowTest, TheProgressBarIsEmptyAfterARun) {
  TComputeKappa& window = OpenKappa("Event a b;\na b a/", "Event a b;\na a b/");
  window.MoveAllCodes->click();
  QList<int> shown;
  QObject::connect(window.ProgressBar1, &QProgressBar::valueChanged, [&](int value) { shown.push_back(value); });
  window.RunCompute->trigger();
  EXPECT_EQ(shown, (QList<int>{100, 0}));
  EXPECT_EQ(window.ProgressBar1->value(), 0);
}

// With the controls of each data type on show no caption is cut or covered,
// at the window's first size and at its least width.
TEST_F(ComputeKappaWindowTest, NoCaptionIsCutOrCovered) {
  for (const char* kelp : {"Timed a b;\na,0-5 b,5-10 ,10/", "Event a b;\na b/", "Interval a b;\na , b , /"}) {
    SCOPED_TRACE(kelp);
    TComputeKappa& window = OpenKappa(kelp, kelp);
    window.show();
    window.MoveAllCodes->click();
    QApplication::processEvents();
    EXPECT_EQ(CutOrOverlappingCaptions(window), QStringList{}) << "first size " << window.width();
    window.resize(window.minimumWidth(), window.height());
    QApplication::processEvents();
    EXPECT_EQ(CutOrOverlappingCaptions(window), QStringList{}) << "least width " << window.width();
  }
}

TEST_F(ComputeKappaWindowTest, EditsKeepToTheirRangeAndBeep) {
  TComputeKappa& window = OpenKappa("State a;\na=3/", "State a;\na=3/");
  const struct {
    QLineEdit* Edit;
    QString Typed, Shown;
    int Beeps, Position;
  } cases[] = {
      {window.KapaOverlap->Edit(), "1x2", "12", 1, 12},
      {window.KapaOverlap->Edit(), "250", "100", 1, 100},
      {window.KapaTimeTol->Edit(), "", "0", 1, 0},
      {window.KapaEventTol->Edit(), "40000", "32767", 1, 32767},
  };
  for (const auto& c : cases) {
    const int beeps = Host.Platform.Beeps;
    c.Edit->setText(c.Typed);
    EXPECT_EQ(c.Edit->text(), c.Shown) << c.Typed.toStdString();
    EXPECT_EQ(Host.Platform.Beeps - beeps, c.Beeps) << c.Typed.toStdString();
  }
  EXPECT_EQ(window.KapaOverlap->Position(), 100);
  EXPECT_EQ(window.KapaEventTol->Position(), 32767);
}

TEST_F(ComputeKappaWindowTest, ControlsFollowTheDataTypeAndCodesOnlyObs2HasAreOffered) {
  Host.Platform.Then(Answer::Ignore);
  TComputeKappa& window = OpenKappa("Interval a b;\na , b , a , /", "Interval a b d;\na , d , b , /");
  EXPECT_EQ(Host.Platform.BoxTexts(), (QStringList{"Codes are not the same in both files. OK?"}));
  EXPECT_EQ(Items(window.CodesInFile), (QStringList{"a", "b", "d"}));
  EXPECT_EQ(window.Markers->toPlainText(), "d");
  EXPECT_FALSE(window.TolerancePanel->isVisibleTo(&window));
  EXPECT_FALSE(window.CheckKapaAlignPlot->isVisibleTo(&window));
  EXPECT_EQ(window.CheckKapaAgreePlot->text(), "Plot int/event agreement?");
  EXPECT_EQ(window.KapaLineLength->currentText(), "100");
  EXPECT_TRUE(window.RunCompute->isEnabled());

  // A file that is not compiled leaves the window as it was.
  const QString obs1 = Host.Observer[0], obs2 = Host.Observer[1];
  Host.Platform.ThenFile(obs1).ThenFile(WriteFile("text.mds", {"plain text"})).Then(Answer::Ok);
  window.FileOpenMDS->trigger();
  EXPECT_EQ(Host.Platform.BoxTexts().back(), "text.mds not a valid MDS 5.x file");
  EXPECT_EQ(Items(window.CodesInFile), (QStringList{"a", "b", "d"}));
  EXPECT_EQ(window.windowTitle(), "Kappa - obs1.mds(Obs1) obs2.mds(Obs2)");

  // Aborting at different codes offers none and disables the run.
  Host.Platform.ThenFile(obs1).ThenFile(obs2).Then(Answer::Abort);
  window.FileOpenMDS->trigger();
  EXPECT_EQ(window.CodesInFile->count(), 0);
  EXPECT_FALSE(window.RunCompute->isEnabled());
}

// Codes only Obs2 has are offered with their symbols; Abort takes back the
// codes and the run, not the symbols.
TEST_F(ComputeKappaWindowTest, DifferentCodesAbortedKeepTheSymbolsOfObs2sCodes) {
  const struct {
    Answer Reply;
    QStringList Codes;
    bool RunEnabled;
  } cases[] = {
      {Answer::Abort, {}, false},
      {Answer::Ignore, {"a", "b", "c"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.RunEnabled ? "Ignore" : "Abort");
    Host.Platform.Then(c.Reply);
    TComputeKappa& window = OpenKappa("Event a b ;\na b /", "Event a b c ;\na c /");
    EXPECT_EQ(Host.Platform.BoxTexts().last(), "Codes are not the same in both files. OK?");
    EXPECT_EQ(Items(window.CodesInFile), c.Codes);
    EXPECT_EQ(Items(window.PickedCodes), QStringList{});
    EXPECT_EQ(window.Markers->toPlainText(), "c");
    EXPECT_EQ(window.RunCompute->isEnabled(), c.RunEnabled);
  }
}

TEST_F(ComputeKappaWindowTest, PlotSymbolsAreSavedAndLoaded) {
  TComputeKappa& window = OpenKappa("Event a b;\na b/", "Event a b;\na b/");
  window.SaveButton->click();  // no code picked
  EXPECT_EQ(Host.Platform.Beeps, 1);
  window.MoveAllCodes->click();
  window.Markers->setPlainText("xy\nz");
  Host.Platform.ThenFile(Path("symbols.txt"));
  window.SaveButton->click();
  EXPECT_EQ(FileText("symbols.txt"), "x\r\nz\r\n");
  EXPECT_EQ(Host.Platform.FileDialogs.back().Spec.Title, "Save plot symbols");
  window.Markers->clear();
  Host.Platform.ThenFile(Path("symbols.txt"));
  window.LoadButton->click();
  EXPECT_EQ(window.Markers->toPlainText(), "x\nz");
  EXPECT_EQ(Host.Platform.FileDialogs.back().Spec.Title, "Open plot symbols");
}

}  // namespace
}  // namespace vork::testing
