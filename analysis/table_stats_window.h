#pragma once

#include <QStringList>
#include <array>

#include "analysis/analysis_window.h"
#include "analysis/table_stats_run.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace vork {

class TNumberUpDown;

// The table statistics window: givens and targets picked from the loaded
// file's codes (each side with its own pool of codes still available), the
// residual code "&" on either side, the range of lags, the 14 statistics,
// and the frame's results, export and pooling boxes.
class TTableStats : public TAnalysisWindow {
  Q_OBJECT

 public:
  explicit TTableStats(WindowHost& host, QWidget* parent = nullptr);

  // --- handlers ---------------------------------------------------------
  void MoveToClick();
  void MoveAllCodesClick();
  void MoveSelCodesClick();
  void OmitSelGivensClick();
  void OmitAllGivensClick();
  void OmitSelTargetsClick();
  void OmitAllTargetsClick();
  void CheckPoolClick();

  // --- controls ---------------------------------------------------------
  QWidget* PanelCodes = nullptr;
  QWidget* PanelGiven = nullptr;
  QPushButton* MoveSelCodes = nullptr;
  QPushButton* MoveAllCodes = nullptr;
  QListWidget* GivenCodes = nullptr;
  QPushButton* OmitSelGivens = nullptr;
  QPushButton* OmitAllGivens = nullptr;
  QListWidget* TargetCodes = nullptr;
  QPushButton* OmitSelTargets = nullptr;
  QPushButton* OmitAllTargets = nullptr;
  TRadioGroup* MoveTo = nullptr;
  QCheckBox* AddResidualGiven = nullptr;
  QCheckBox* AddResidualTarget = nullptr;
  QGroupBox* LagSpecs = nullptr;
  TNumberUpDown* EditLagFrom = nullptr;
  TNumberUpDown* EditLagTo = nullptr;
  QGroupBox* CellStatsBox = nullptr;
  QGroupBox* T2x2StatsBox = nullptr;
  QGroupBox* TableStatsBox = nullptr;

  // The statistic boxes in statistic order: element k is statistic k + 1.
  std::array<QCheckBox*, NTableStatistics> StatCB{};

  // The codes still available to the side not shown in CodesInFile.
  QStringList GivensInFile;
  QStringList TargetsInFile;

 private:
  // The side whose pool CodesInFile shows (MoveTo's index); a click on the
  // side already shown must not swap the pools.
  int ShownSide = 0;

 protected:
  bool RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) override;
  void Loaded() override;
  void ResizePanels(int clientWidth) override;

 private:
  QWidget* CreateCodePanels();
  QWidget* CreateOptionsPanel();
  TNumberUpDown* CreateLagEdit();
  // The list and residual box of the side MoveTo shows.
  QListWidget* PickedList() const;
  QCheckBox* ResidualBox() const;
  // Puts "&" last in the picked list of the shown side when its box is ticked.
  void MoveCodes(bool all);
};

}  // namespace vork
