#include "analysis/export_table_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "tests/support/compiled_text.h"
#include "tests/support/qt/layout_check.h"
#include "tests/support/qt/test_host.h"

namespace vork {
namespace {

using testing::CompiledText;

const QString Separator = "_________________________";

class ExportTableWindow : public testing::WindowFixture {
 protected:
  TExportTable& OpenText(const std::string& text) {
    return Open<TExportTable>(WriteFile("x.mds", CompiledText(text)));
  }
  static QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text());
    return items;
  }
  static void SelectFirst(QListWidget* list, int n) {
    for (int i = 0; i < n; ++i) list->item(i)->setSelected(true);
  }
  static QString MoveToItems(const TExportTable& window) {
    QStringList items;
    for (QAbstractButton* button : window.MoveToButtons->buttons())
      if (!button->isHidden()) items.push_back(button->text());
    return items.join('|');
  }
};

TEST_F(ExportTableWindow, MovesCodesIntoDimensionsAndWritesTheCountFile) {
  TExportTable& window = OpenText("Multi a b c d;\na c. a d. b c. a c. d. b/");
  EXPECT_EQ(window.windowTitle(), "Export N-Way Table - x.mds");
  EXPECT_EQ(MoveToItems(window), "dmsA|dmsB");
  EXPECT_TRUE(window.CodesCantRepeat->isHidden());

  SelectFirst(window.Lists[0], 2);
  window.AddSel->click();
  EXPECT_EQ(Items(window.Lists[0]), (QStringList{"c", "d"}));
  window.MoveToButtons->button(1)->click();
  EXPECT_EQ(Items(window.Lists[0]), (QStringList{"a", "b", "c", "d"}));  // every code for dmsB
  window.Lists[0]->item(2)->setSelected(true);
  window.Lists[0]->item(3)->setSelected(true);
  window.AddSel->click();
  window.DmsNames[2]->setText("second");
  window.DisplayResults->setChecked(true);

  Host.Platform.ThenFile(Path("counts.txt"));
  window.RunCompute->trigger();
  const QStringList rows = {"ID\tdmsA\tsecond\tCount", "1\ta\tc\t2", "2\ta\td\t1", "3\tb\tc\t1", "4\tb\td\t0"};
  const QStringList saved = {"", "Saved: \tcounts.txt (table counts tab-delimited file).", Separator};
  EXPECT_EQ(Host.Results.mid(6), rows + saved);
  EXPECT_EQ(Host.Results[1], "File:\tx.mds");
  EXPECT_EQ(FileText("counts.txt"), rows.join("\r\n") + "\r\n");
  EXPECT_TRUE(Host.Log.isEmpty());

  // A cancelled save writes no file and no separator; the summary is not
  // repeated.
  window.DisplayResults->setChecked(false);
  Host.Results.clear();
  Host.Platform.ThenFile(std::nullopt);
  window.RunCompute->trigger();
  EXPECT_EQ(Host.Results, QStringList{""});
}

// Rows beyond what memory holds beside the table are not shown; the count
// file is still offered. Sixteen codes in six dimensions make 16^6 rows,
// gigabytes as results lines.
TEST_F(ExportTableWindow, ShowsOnlyTheRowsThatFitInMemory) {
  const struct {
    int Dims;
    QStringList Notices;
    qsizetype ResultLines;  // the file summary, the rows shown, an empty line
  } cases[] = {
      {2, {}, 6 + 257 + 1},
      {6,
       {"The 16777216 rows of the table are not shown in the results window: beside the table they would need "
        "more than the 2048 MB a RUN may take in memory. Only the count file gets them."},
       6 + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Dims);
    TExportTable& window = OpenText("Event a b c d e f g h i j k l m n o p;\na b c d e f g h i j k l m n o p/");
    window.NumDms->setValue(c.Dims);
    for (int k = 0; k < c.Dims; ++k) {
      window.MoveToButtons->button(k)->click();
      window.AddAll->click();
    }
    window.DisplayResults->setChecked(true);
    Host.Results.clear();
    Host.Platform.ThenFile(std::nullopt);
    for (int i = 0; i < c.Notices.size(); ++i) Host.Platform.Then(Answer::Ok);
    const qsizetype boxesBefore = Host.Platform.BoxTexts().size();
    const std::size_t dialogsBefore = Host.Platform.FileDialogs.size();
    window.RunCompute->trigger();
    EXPECT_EQ(Host.Platform.BoxTexts().mid(boxesBefore), c.Notices);
    EXPECT_EQ(Host.Results.size(), c.ResultLines);
    EXPECT_EQ(Host.Results.back(), "");
    EXPECT_EQ(Host.Platform.FileDialogs.size(), dialogsBefore + 1);  // the count file is offered
    EXPECT_TRUE(Host.Platform.Unexpected.isEmpty());
    window.close();
  }
}

TEST_F(ExportTableWindow, LaggedUnitsFollowTheDataType) {
  TExportTable& events = OpenText("Event a b;\na b a/");
  EXPECT_TRUE(events.UseLaggedUnits->isChecked());
  EXPECT_FALSE(events.UseLaggedUnits->isEnabled());
  EXPECT_EQ(MoveToItems(events), "lag0|lag1");

  Host.Platform.Then(Answer::Yes);
  TExportTable& timed = OpenText("Timed a b;\na,1-2 b,3 ,5/");
  Host.Platform.Then(Answer::No).Then(Answer::Yes);
  timed.UseLaggedUnits->click();
  EXPECT_FALSE(timed.UseLaggedUnits->isChecked());
  timed.UseLaggedUnits->click();
  EXPECT_EQ(Host.Platform.BoxTexts(),
            (QStringList{"Muli-way tables for timed-event data may be difficult to interpret. Proceed anyway?",
                         "Lagged n-way tables may be difficult to interpret for this data type. Proceed anyway?",
                         "Lagged n-way tables may be difficult to interpret for this data type. Proceed anyway?"}));
  EXPECT_TRUE(timed.UseLaggedUnits->isChecked());
  EXPECT_EQ(timed.DmsNames[3]->text(), "lag2");
  EXPECT_FALSE(timed.CodesCantRepeat->isHidden());

  // No closes the window once it is made.
  Host.Platform.Then(Answer::No);
  OpenText("State a b;\na,0 b,3 ,5/");
  QApplication::processEvents();
  EXPECT_TRUE(Host.ClosedWindows.contains("ExportTable"));
}

TEST_F(ExportTableWindow, UnpooledFactorsLimitTheCodeDimensions) {
  Host.Platform.Then(Answer::Ok);
  TExportTable& window =
      OpenText("Multi a b * f1(x y) f2(x y) f3(x y) f4(x y) f5(x y) f6(x y);\na b. (x,x,x,x,x,x)/");
  EXPECT_EQ(Host.Platform.BoxTexts(), QStringList{"You will need to select some factors for pooling"});
  EXPECT_FALSE(window.AddAll->isEnabled());

  SelectFirst(window.FactorsInFile, 2);
  window.MoveSelFactors->click();  // four left unpooled
  EXPECT_TRUE(window.AddAll->isEnabled());
  EXPECT_EQ(window.NumDms->maximum(), 3);
  window.NumDms->setValue(3);
  EXPECT_EQ(MoveToItems(window), "dmsA|dmsB|dmsC");

  SelectFirst(window.FactorsPooled, 1);
  window.OmitSelFactors->click();  // five: the third dimension goes
  EXPECT_EQ(window.CurDms, 2);
  EXPECT_TRUE(window.Panels[3]->isHidden());
  EXPECT_EQ(window.NumDms->maximum(), 2);

  // Empty dimensions are refused before anything is written.
  Host.Platform.Then(Answer::Ok);
  window.RunCompute->trigger();
  EXPECT_EQ(Host.Platform.BoxTexts().back(), "Make sure some codes selected for each dimension.");
  EXPECT_TRUE(Host.Results.isEmpty());
}

// With any number of dimensions the panels show their captions and buttons
// whole, the factor lists' included, at the window's width and at its least.
TEST_F(ExportTableWindow, CaptionsShowWholeWithEveryNumberOfDimensions) {
  TExportTable& window = OpenText("Multi a b * sex(boy girl);\na b. (boy)/");
  window.show();
  for (int dims = 2; dims <= 6; ++dims) {
    SCOPED_TRACE(dims);
    window.NumDms->setValue(dims);
    QApplication::processEvents();
    EXPECT_EQ(testing::CutOrOverlappingCaptions(window), QStringList{}) << "width " << window.width();
    window.resize(window.minimumWidth(), window.height());
    QApplication::processEvents();
    EXPECT_EQ(testing::CutOrOverlappingCaptions(window), QStringList{}) << "least width " << window.width();
  }
}

}  // namespace
}  // namespace vork
