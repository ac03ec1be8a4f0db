#pragma once

#include "analysis/analysis_window.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace vork {

class TPickedCodes;

// The plot window: codes picked from the loaded file, one plot symbol per
// picked code (typed, saved and loaded), the number of time units per line,
// and the results box, which here decides only the clearing of the results
// window and the separator after the plot.
class TPlotMDS : public TAnalysisWindow {
  Q_OBJECT

 public:
  explicit TPlotMDS(WindowHost& host, QWidget* parent = nullptr);

  // --- controls ---------------------------------------------------------
  QWidget* PanelCodes = nullptr;
  QListWidget* PickedCodes = nullptr;
  QPushButton* MoveAllCodes = nullptr;
  QPushButton* MoveSelCodes = nullptr;
  QPushButton* OmitSelCodes = nullptr;
  QPushButton* OmitAllCodes = nullptr;
  QPlainTextEdit* Markers = nullptr;
  QPushButton* SaveButton = nullptr;
  QPushButton* LoadButton = nullptr;
  TPickedCodes* Picked = nullptr;  // the moves, the symbols' reset, save and load
  QComboBox* PlotLineLength = nullptr;

 protected:
  bool RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) override;
  void Loaded() override;
  void ResizePanels(int clientWidth) override;

 private:
  QWidget* CreateCodePanels();
  QWidget* CreateOptionsPanel();
};

}  // namespace vork
