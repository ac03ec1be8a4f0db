#pragma once

#include <QMainWindow>

#include "agreement/agreement_files.h"
#include "core/data_type_flags.h"
#include "widgets/platform.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace vork {

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
  void MoveAllCodesClick();
  void MoveSelCodesClick();
  void OmitSelCodesClick();
  void OmitAllCodesClick();
  void SaveButtonClick();
  void LoadButtonClick();
  void RunComputeExecute();
  void RunCAgreeExecute();
  // Reads both observers' files; the window changes only when both are good.
  void LoadMdsFiles();

  // --- a number edit with its up-down -------------------------------------
  struct UpDown {
    QLineEdit* Edit = nullptr;
    int Position = 0;
    int Max = 0;  // the edit's Tag: the highest value
  };

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
  UpDown KapaTimeTol;
  UpDown KapaEventTol;
  UpDown KapaOverlap;
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
  QWidget* CreateUpDown(UpDown& upDown, const QString& text, int maxLength, int max);
  void SetUpDown(UpDown& upDown, int position);
  void EditKapaChange(UpDown& upDown);
  void ResetMarkers();
  void ShowControlsForDataType();
  dynString PickedCodeNames() const;

  WindowHost& Host;
};

}  // namespace vork
