#include "analysis/plot_mds_window.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "tests/analysis/compiled_kelp.h"
#include "tests/support/qt/test_host.h"
#include "tests/support/qt/widget_input.h"
#include "widgets/radio_group_box.h"

namespace vork {
namespace {

using testing::CompileKelp;

const QString Separator = "_________________________";

class PlotMdsWindow : public testing::WindowFixture {
 protected:
  TPlotMDS& OpenCompiled(const QString& name, const std::string& text) {
    return Open<TPlotMDS>(WriteFile(name, CompileKelp(text).Lines));
  }

  QStringList Run(TPlotMDS& window) {
    const qsizetype before = Host.Results.size();
    window.RunCompute->trigger();
    return Host.Results.mid(before);
  }
};

TEST_F(PlotMdsWindow, PickedCodesGetSymbolsAndAPlot) {
  TPlotMDS& window = OpenCompiled("obs.mds", "Event Apple Bee;\nApple Bee Apple/");
  EXPECT_EQ(window.windowTitle(), "Plot MDS File - obs.mds");
  EXPECT_EQ(window.PlotLineLength->currentText(), "100");
  window.MoveAllCodes->click();
  EXPECT_EQ(window.Markers->toPlainText(), "A\nB");

  window.Markers->setPlainText("ab\n");  // Bee's symbol missing
  EXPECT_EQ(Run(window),
            (QStringList{"", "File:\tobs.mds", "Made:\t\tMDS file saved by KELP compiler Version 5.1 NOW",
                         "Type:\tEvent", "Units:\tevents", "", "#1\t<#1>", "1st=1\tlast=3\t#units=3", "",
                         "      0         ", "      |----+----", "Apple .a a......",
                         "Bee   . ? ......", "", Separator}));
  EXPECT_EQ(window.Markers->toPlainText(), "a\n?");

  // The first item still plots; it only leaves the separator out.
  window.ResultsBox->SetItemIndex(0);
  window.PlotLineLength->setEditText("5");
  EXPECT_EQ(Run(window), (QStringList{"#1\t<#1>", "1st=1\tlast=3\t#units=3", "",
                                      "      0         ", "      |----+----",
                                      "Apple .a a......", "Bee   . ? ......", ""}));
}

// A line length is typed as it stands, also where an item begins with it;
// "5" plots blocks of 10 units.
TEST_F(PlotMdsWindow, ATypedLineLengthIsNotCompletedToAnItem) {
  TPlotMDS& window = OpenCompiled("obs.mds", "Event a;\na a a a a a a a a a a a/");
  window.show();
  window.activateWindow();
  QApplication::processEvents();  // typing completes only in the active window
  window.PlotLineLength->setFocus();
  for (const char* typed : {"1", "15", "2", "5"}) {
    window.PlotLineLength->lineEdit()->selectAll();
    testing::TypeKeys(window.PlotLineLength->lineEdit(), typed);
    EXPECT_EQ(window.PlotLineLength->currentText(), QString(typed));
  }
  // Enter takes the number as typed; the list keeps its own items.
  testing::PressKey(window.PlotLineLength->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(window.PlotLineLength->currentText(), "5");
  EXPECT_EQ(testing::ComboItems(window.PlotLineLength), QString("50|60|70|80|90|100|110|120|150|180|200"));
  window.MoveAllCodes->click();
  const QStringList plot = Run(window);
  EXPECT_EQ(plot.mid(plot.indexOf("1st=1\tlast=12\t#units=12")),
            (QStringList{"1st=1\tlast=12\t#units=12", "", "  0         ", "  |----+----", "a .aaaaaaaaa", "",
                         "  10        ", "  |----+----", "a aaa.......", "", Separator}));
}

TEST_F(PlotMdsWindow, ALineLengthThatIsNoNumberEndsTheRun) {
  TPlotMDS& window = OpenCompiled("timed.mds", "Timed A;\nA,0-3 ,5/");
  EXPECT_EQ(window.PlotLineLength->currentText(), "120");
  window.MoveAllCodes->click();
  window.PlotLineLength->setEditText("wide");
  EXPECT_TRUE(Run(window).isEmpty());
  EXPECT_EQ(Host.Platform.Errors, QStringList{"The line length \"wide\" is not a whole number."});
}

TEST_F(PlotMdsWindow, SymbolsAreSavedAndLoaded) {
  TPlotMDS& window = OpenCompiled("obs.mds", "Event A B C;\nA B C/");
  window.SaveButton->click();  // no code picked
  EXPECT_EQ(Host.Platform.Beeps, 1);

  window.MoveAllCodes->click();
  window.Markers->setPlainText("xy\n\nz");
  Host.Platform.ThenFile(Path("symbols.txt"));
  window.SaveButton->click();
  EXPECT_EQ(Host.Platform.FileDialogs.back().Spec.Title, "Save plot symbols");
  EXPECT_EQ(FileText("symbols.txt"), "x\r\n?\r\nz\r\n");

  WriteFile("five.txt", {"1st", "", "3rd", "4th", "5th"});
  Host.Platform.ThenFile(Path("five.txt"));
  window.LoadButton->click();
  EXPECT_EQ(Host.Platform.FileDialogs.back().Spec.Title, "Open plot symbols");
  EXPECT_EQ(window.Markers->toPlainText(), "1\n?\n3");
}

}  // namespace
}  // namespace vork
