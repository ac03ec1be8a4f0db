#include "analysis/analysis_window.h"
#include "analysis/simple_stats_window.h"
#include "analysis/table_stats_window.h"
#include "analysis/breakdown_events_window.h"
#include "analysis/export_table_window.h"
#include "analysis/plot_mds_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "core/text_file.h"
#include "tests/support/qt/layout_check.h"
#include "tests/support/qt/test_host.h"

namespace vork {
namespace {

// Timed data in tenths, two codes, one session.
const dynString TimedFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "2\t0\t0",
    "2\t0\t0\t0\t1\t1", "Alert\tCry", "4\t1\tseconds", "1\t1\tbaby", "1\t7\t10\t0\t10", "1\t..",
    "1\t2.", "2\t1.", "2\t..", "1\t2.", "1\t1.", "2\t..",
};

struct WindowCase {
  const char* Name;
  TAnalysisWindow* (*Open)(WindowHost& host);
};

template <class Window>
TAnalysisWindow* Make(WindowHost& host) {
  return new Window(host);
}

class AnalysisWindowLayout : public testing::WindowFixture,
                             public ::testing::WithParamInterface<WindowCase> {};

// With the fonts of the machine the options column holds every caption in
// full, and a column taller than the screen scrolls instead of pushing the
// window's lower controls off the screen.
TEST_P(AnalysisWindowLayout, EveryCaptionShowsWholeAndTheWindowFitsTheScreen) {
  Host.Current = WriteFile("baby.mds", TimedFile);
  TAnalysisWindow* window = GetParam().Open(Host);
  Windows.push_back(window);
  window->show();
  window->resize(window->minimumWidth(), window->height());  // at its narrowest
  QApplication::processEvents();

  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!button->isVisible() || button->text().isEmpty()) continue;
    // A push button may be narrower than the style's preferred width, but
    // never narrower than its caption.
    const int needed = qobject_cast<QPushButton*>(button)
                           ? button->fontMetrics().horizontalAdvance(button->text()) + 4
                           : button->sizeHint().width();
    EXPECT_GE(button->width(), needed) << button->text().toStdString();
    EXPECT_LE(button->mapTo(window, QPoint(button->width(), 0)).x(), window->width())
        << button->text().toStdString();
  }
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
  }
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_LE(window->geometry().bottom(), screen.bottom());
  EXPECT_GE(window->width(), window->minimumWidth());
}

INSTANTIATE_TEST_SUITE_P(, AnalysisWindowLayout,
                         ::testing::Values(WindowCase{"SimpleStats", &Make<TSimpleStats>},
                                           WindowCase{"TableStats", &Make<TTableStats>}),
                         [](const auto& info) { return std::string(info.param.Name); });

class EveryAnalysisWindowLayout : public testing::WindowFixture,
                                  public ::testing::WithParamInterface<WindowCase> {};

// No caption is cut or covered by another, with every code picked, at the
// window's first size and at its least width.
TEST_P(EveryAnalysisWindowLayout, NoCaptionIsCutOrCovered) {
  Host.Current = WriteFile("baby.mds", TimedFile);
  Host.Platform.Then(Answer::Yes);  // the n-way export's question on timed data
  TAnalysisWindow* window = GetParam().Open(Host);
  Windows.push_back(window);
  window->show();
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->text() == "move all") {  // the codes' first: every code picked
      button->click();
      break;
    }
  }
  QApplication::processEvents();
  EXPECT_EQ(testing::CutOrOverlappingCaptions(*window), QStringList{}) << "first size " << window->width();
  window->resize(window->minimumWidth(), window->height());
  QApplication::processEvents();
  EXPECT_EQ(testing::CutOrOverlappingCaptions(*window), QStringList{}) << "least width " << window->width();
}

INSTANTIATE_TEST_SUITE_P(, EveryAnalysisWindowLayout,
                         ::testing::Values(WindowCase{"SimpleStats", &Make<TSimpleStats>},
                                           WindowCase{"TableStats", &Make<TTableStats>},
                                           WindowCase{"Plot", &Make<TPlotMDS>},
                                           WindowCase{"Breakdown", &Make<TBreakdownEvents>},
                                           WindowCase{"ExportTable", &Make<TExportTable>}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace vork
