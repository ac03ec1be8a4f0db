#pragma once

#include <array>

#include "analysis/analysis_window.h"
#include "analysis/simple_stats.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vork {

class TPickedCodes;

// The simple statistics window: codes picked from the loaded file, the 18
// statistics chosen by check boxes, the rate unit, and the frame's results,
// export and pooling boxes.
class TSimpleStats : public TAnalysisWindow {
  Q_OBJECT

 public:
  explicit TSimpleStats(WindowHost& host, QWidget* parent = nullptr);

  // --- handlers ---------------------------------------------------------
  void CBrateClick();
  void CBavgClick();
  void RateFactorBoxChange();

  // --- controls ---------------------------------------------------------
  QWidget* PanelCodes = nullptr;
  QListWidget* PickedCodes = nullptr;
  QPushButton* MoveAllCodes = nullptr;
  QPushButton* MoveSelCodes = nullptr;
  QPushButton* OmitSelCodes = nullptr;
  QPushButton* OmitAllCodes = nullptr;
  TPickedCodes* Picked = nullptr;  // the moves between the two lists
  QGroupBox* SimpleStatsBox = nullptr;
  QCheckBox* CBfreq = nullptr;
  QCheckBox* CBrelf = nullptr;
  QCheckBox* CBrate = nullptr;
  QCheckBox* CBdura = nullptr;
  QCheckBox* CBreld = nullptr;
  QCheckBox* CBprob = nullptr;
  QCheckBox* CBavg = nullptr;
  QCheckBox* CBmin = nullptr;
  QCheckBox* CBmax = nullptr;
  QLabel* LabelAnalFor = nullptr;
  QCheckBox* CBepso = nullptr;
  QCheckBox* CBgaps = nullptr;
  QCheckBox* CBonst = nullptr;
  QCheckBox* CBL10C = nullptr;
  QComboBox* RateFactorBox = nullptr;

  // The statistic boxes in StatBox order, [1..13].
  std::array<QCheckBox*, NStatBoxes + 1> StatCB{};
  // Seconds per rate unit.
  int RateFactor = 1800;

 protected:
  bool RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) override;
  void Loaded() override;
  void ResizePanels(int clientWidth) override;

 private:
  QWidget* CreateCodePanels();
  QWidget* CreateOptionsPanel();
};

}  // namespace vork
