#pragma once

#include <array>

#include "analysis/analysis_window.h"
#include "analysis/export_table.h"
#include "analysis/export_table_dimensions.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace vork {

// The n-way table export window: codes moved from the file's list into two
// to seven code dimensions, factors left in the file's list become factor
// dimensions, and each RUN counts the file's time units into the table and
// writes it as a count file.
class TExportTable : public TAnalysisWindow {
  Q_OBJECT

 public:
  explicit TExportTable(WindowHost& host, QWidget* parent = nullptr);

  // --- handlers ---------------------------------------------------------
  void NumDmsClick(bool up);
  void UseLaggedUnitsClick();
  void MoveToClick();
  void AddAllClick();
  void AddSelClick();
  void DelAllClick(int k);
  void DelSelClick(int k);
  void CheckPooling();

  // --- working routines -------------------------------------------------
  void EnableDimension(int k);
  void SetDimensionsEnabled(bool enable);
  void SetMoveToItems(bool lagged, int keepIndex);
  void SetDimNames(bool lagged, int keepIndex);

  // --- state and controls -------------------------------------------------
  int CurDms = MinCodeDims;
  bool DimensionsOK = true;
  // [0] List0, the codes still available for the chosen dimension; [1..7]
  // the code dimensions.
  std::array<QListWidget*, 8> Lists{};
  std::array<QWidget*, 8> Panels{};  // [0] PanelCodes, [1..7] PanelD1..PanelD7
  std::array<QLineEdit*, 8> DmsNames{};  // [1..7]
  std::array<QPushButton*, 8> DelSel{};  // [1..7]
  std::array<QPushButton*, 8> DelAll{};  // [1..7]
  QSpinBox* NumDms = nullptr;
  // "Move codes to:": one radio button per shown code dimension, named
  // after it; its index is the dimension's number - 1.
  QGroupBox* MoveTo = nullptr;
  QButtonGroup* MoveToButtons = nullptr;
  int MoveToIndex() const;
  QPushButton* AddAll = nullptr;
  QPushButton* AddSel = nullptr;
  QCheckBox* UseLaggedUnits = nullptr;
  QCheckBox* CodesCantRepeat = nullptr;
  QCheckBox* DisplayResults = nullptr;
  QCheckBox* AddEtcCode = nullptr;

 protected:
  bool RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) override;
  void Loaded() override;
  void ResizePanels(int clientWidth) override;

 private:
  QWidget* CreatePanels();
  QWidget* CreateOptionsPanel();
  void ShowDimensionPanels();
  ExportTableChoices GatherChoices() const;
  // Runs the save dialog and saves the table's rows to the chosen file.
  void SaveCountFile(const NWayTable& table);
  FileDialogSpec SaveDialog;

  bool Lagged() const;
};

}  // namespace vork
