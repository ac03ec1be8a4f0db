#pragma once

#include <QMainWindow>

#include "agreement/agreement_files.h"
#include "core/data_type_flags.h"
#include "widgets/platform.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vork {

class TNumberUpDown;
class TPickedCodes;
class TRadioGroup;
class WindowHost;

// The agreement window ("Kappa"): the compiled files of two observers who
// coded the same sessions, the codes picked for kappa with their plot
// symbols, the tolerances, and the two commands "Compute kappa" and
// "% agree (intvl, multi)". It reads the observers' files the main window
// chose and does not follow the current compiled file.
class TComputeKappa : public QMainWindow {
  Q_OBJECT

 public:
  TComputeKappa(WindowHost& host, QWidget* parent = nullptr);

  // --- handlers ---------------------------------------------------------
  void FileOpenMDSExecute();
  void FileCloseExecute();
  void RunComputeExecute();
  void RunCAgreeExecute();
  // Reads both observers' files; the window changes only when both are good.
  void LoadMdsFiles();

  // --- controls ---------------------------------------------------------
  QListWidget* CodesInFile = nullptr;
  QListWidget* PickedCodes = nullptr;
  QPushButton* MoveAllCodes = nullptr;
  QPushButton* MoveSelCodes = nullptr;
  QPushButton* OmitAllCodes = nullptr;
  QPushButton* OmitSelCodes = nullptr;
  QPlainTextEdit* Markers = nullptr;
  QPushButton* SaveButton = nullptr;
  QPushButton* LoadButton = nullptr;
  TPickedCodes* Picked = nullptr;  // the moves, the symbols' reset, save and load
  TNumberUpDown* KapaTimeTol = nullptr;
  TNumberUpDown* KapaEventTol = nullptr;
  TNumberUpDown* KapaOverlap = nullptr;
  QWidget* TolerancePanel = nullptr;  // the three edits, their up-downs and labels
  QComboBox* KapaLineLength = nullptr;
  QCheckBox* CheckKapaAgreePlot = nullptr;
  QCheckBox* CheckKapaAlignPlot = nullptr;
  TRadioGroup* ResultsBox = nullptr;
  QLabel* TULabel = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QAction* FileOpenMDS = nullptr;
  QAction* FileClose = nullptr;
  QAction* RunCompute = nullptr;
  QAction* RunCAgree = nullptr;

  // --- the loaded files -------------------------------------------------
  AgreementFiles Files;
  DataTypeFlags TypeFlags;
  bool FirstRun = false;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActionsAndMenus();
  QWidget* CreateCodePanels();
  QWidget* CreateOptionsPanel();
  TNumberUpDown* CreateUpDown(QWidget* parent, const QString& text, int maxLength, int max);
  void ShowControlsForDataType();

  WindowHost& Host;
};

}  // namespace vork
