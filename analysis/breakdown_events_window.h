#pragma once

#include "analysis/analysis_window.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace vork {

// The bout breakdown window: the codes of a Timed or State file moved either
// to the 1st-level list (the bouts to break down) or to the 2nd-level list
// (the codes to break them down by), as the tool bar's "Move codes to:"
// says; the onset-time and hierarchy boxes, and the frame's results and
// export boxes.
class TBreakdownEvents : public TAnalysisWindow {
  Q_OBJECT

 public:
  explicit TBreakdownEvents(WindowHost& host, QWidget* parent = nullptr);

  // --- handlers ---------------------------------------------------------
  void MoveAllCodesClick();
  void MoveSelCodesClick();
  void OmitSelGivensClick();
  void OmitAllGivensClick();
  void OmitSelTargetsClick();
  void OmitAllTargetsClick();
  // Enables the list that codes move to, with its buttons.
  void MoveToClick();

  // --- controls ---------------------------------------------------------
  QWidget* PanelCodes = nullptr;
  QWidget* PanelFirstLevel = nullptr;
  QPushButton* MoveAllCodes = nullptr;
  QPushButton* MoveSelCodes = nullptr;
  TRadioGroup* MoveTo = nullptr;
  QListWidget* GivenCodes = nullptr;
  QPushButton* OmitSelGivens = nullptr;
  QPushButton* OmitAllGivens = nullptr;
  QListWidget* TargetCodes = nullptr;
  QPushButton* OmitSelTargets = nullptr;
  QPushButton* OmitAllTargets = nullptr;
  QCheckBox* ListOnsetTimes = nullptr;
  QCheckBox* TallyHierarch = nullptr;

 protected:
  bool RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) override;
  void Loaded() override;
  void ResizePanels(int clientWidth) override;

 private:
  QWidget* CreateCodePanels();
  QWidget* CreateOptionsPanel();
  // The list the "move" buttons fill.
  QListWidget& PickedList() const;
};

}  // namespace vork
