#pragma once

// The frame of the single-file analysis windows (simple statistics, table
// statistics, plot, bout breakdown, n-way export): loading the current
// compiled file, the reload question when another file became current, the
// results box and the export box, saving export files, closing, the start
// and end every RUN shares, the pooling controls and resizing.
//
// A window derives from TAnalysisWindow, builds its own controls in its
// constructor (placing the frame's CodesInFile, ResultsBox, ExportBox and
// pooling controls where it wants them), then calls FinishCreate, which
// loads the file. It implements RunAnalysis (its own checks, then the
// engine's RUN into a RunOutput) and may add to a load in Loaded and to
// resizing in ResizePanels.

#include <QMainWindow>
#include <QString>

#include "analysis/analysis_run.h"
#include "analysis/session_pooling.h"
#include "core/data_type_flags.h"
#include "core/dyn_arrays.h"
#include "core/mds_header.h"
#include "widgets/window_host.h"

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace vork {

class TRadioGroup;

// A list box of codes or factors in which several items can be selected.
QListWidget* MultiSelectList(QWidget* parent);

// The menus and tool bar of an analysis window: File with open and close,
// Run with the window's run commands and then the program's run options,
// and a tool bar with open, the first run command and a progress bar
// (0 to 100), which it returns.
QProgressBar* AddAnalysisMenus(QMainWindow& window, QAction* open, QAction* close,
                               const QList<QAction*>& runs, QAction* runOptions);

// What differs between the analysis windows' frames.
struct AnalysisWindowTraits {
  const char* Name;           // finds an open window of the kind
  const char* DesignCaption;  // caption before a file is loaded
  const char* CaptionPrefix;  // caption before the file name
  const char* RunCaption;     // the RUN action
  int Top;
  int Left;
  int MinimumWidth;
  bool HasResultsBox;
  bool HasExportBox;
  const char* ExportBoxCaption;
  bool HasPooling;            // "Pool over sessions" and the factor lists
  bool SummaryEveryRun;       // the file summary on every RUN, not only the first
};

class TAnalysisWindow : public QMainWindow, public HostedWindow {
  Q_OBJECT

 public:
  ~TAnalysisWindow() override;

  // --- handlers ---------------------------------------------------------
  // Each time the window becomes active: offers the main window's current
  // compiled file when it is another than this window's, once per load.
  void FormActivate();
  void FileOpenMdsExecute();
  void FileCloseExecute();
  void RunComputeExecute();
  // Saves the export rows not yet saved; false only when the user cancels
  // the save dialog or the file cannot be written (the rows stay).
  bool SaveExportFile();
  // Loads the host's current compiled file; false when it failed (the window
  // keeps the file it had).
  bool LoadMdsFile();
  // With "write one file after closing window", saves the export rows not
  // yet saved; false (the window stays open) when that save did not happen.
  bool CloseQuery() override;

  // --- the loaded file --------------------------------------------------
  LineBuffer MdsLines;
  MdsHeader Header;
  int LinePos0 = 0;
  DataTypeFlags TypeFlags;
  QString MDSFileName;
  QString MdsLoadTime;
  int NLoadNewRequests = 0;
  bool FirstRun = false;

  // --- export rows and pooling -----------------------------------------
  dynString ExportLines;
  bool ExportLinesModified = false;
  PoolingGroups Pooling;

  // --- controls ---------------------------------------------------------
  QListWidget* CodesInFile = nullptr;
  TRadioGroup* ResultsBox = nullptr;   // nullptr in windows without one
  TRadioGroup* ExportBox = nullptr;
  QCheckBox* PoolOverSessions = nullptr;
  QLabel* FactorsInFileLabel = nullptr;
  QLabel* FactorsPooledLabel = nullptr;
  QListWidget* FactorsInFile = nullptr;
  QListWidget* FactorsPooled = nullptr;
  QPushButton* MoveAllFactors = nullptr;
  QPushButton* MoveSelFactors = nullptr;
  QPushButton* OmitSelFactors = nullptr;
  QPushButton* OmitAllFactors = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QAction* FileOpenMds = nullptr;
  QAction* RunCompute = nullptr;
  QAction* FileClose = nullptr;

  const AnalysisWindowTraits& Traits;

 protected:
  TAnalysisWindow(WindowHost& host, QWidget* parent, const AnalysisWindowTraits& traits);

  // The end of creation: the first load.
  void FinishCreate();

  // The window's own RUN: its checks, then the engine, writing into output.
  // False when the checks ended the RUN before anything was written.
  virtual bool RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) = 0;
  // The window's own additions to a successful load.
  virtual void Loaded() {}
  // Sets the list panels' widths from the client width.
  virtual void ResizePanels(int clientWidth) { (void)clientWidth; }

  // Makes the client area: the list panels, sharing what is left, beside
  // the options column (see OptionsColumn). Call it when every button of the
  // window exists.
  void PlaceListsAndOptions(QWidget* listPanels, QWidget* options, int designWidth);
  // The window's options column as placed beside its lists: at least
  // designWidth wide and never narrower than its captions, and scrolling
  // when the screen is too short for it. Raises the minimum width by what
  // the column takes beyond designWidth. Call it when every button of the
  // window exists: it lets each button shrink to its caption.
  QWidget* OptionsColumn(QWidget* options, int designWidth);
  // Width of the options column; the list panels share the rest.
  int OptionsPanelWidth = 0;
  // Raises the minimum width so that each list panel in row (its child
  // widgets), sharing what the options column leaves, holds its caption and
  // buttons. Call it after OptionsColumn.
  void FitMinimumWidthToListPanels(QWidget* row);

  // The pooling controls as the engine takes them, and back after a RUN
  // (the pooling question may have checked the box).
  PoolingChoices GatherPoolingChoices() const;
  void ShowPoolingChoices(const PoolingChoices& choices);

  // A widget holding the pooling controls, for the window to place.
  QWidget* PoolingPanel = nullptr;

  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  WindowHost& Host;

 private:
  void CreateActionsAndMenus();
  void CreatePoolingControls();
  void ApplyRunOutput(const RunOutput& output);
  void FitHeightToScreen();
  void FitButtonsToCaptions();

  bool AskingReload = false;
};

}  // namespace vork
