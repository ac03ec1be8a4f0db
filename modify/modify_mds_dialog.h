#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "widgets/window_host.h"
#include "core/data_type_flags.h"
#include "modify/modify_command.h"
#include "modify/typed_commands.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace vork {

class MemoFindReplace;
class TNumberUpDown;
class TRadioGroup;

// "Modify MDS File": the modal dialog in which the current compiled file is
// held in memory and changed one command at a time, from the 13 command
// buttons or from typed commands, and saved when the user says so.
class TModifyMDS : public QDialog, public HostedWindow, private StatementHost {
  Q_OBJECT

 public:
  explicit TModifyMDS(WindowHost& host, QWidget* parent = nullptr);
  ~TModifyMDS() override;

  // --- the file in memory ----------------------------------------------
  ModifyFile Mds;                 // MdsLines with its header values
  bool FirstRun = true;           // the next command writes the file summary
  bool MdsLinesModified = false;  // unsaved changes
  bool LinesWritten = false;      // something went to the results window
  QString MdsLoadTime;            // the stamp of the last command
  DataTypeFlags Flags;

  FileDialogSpec OpenMdsDialog;
  FileDialogSpec SaveMdsDialog;
  FileDialogSpec OpenTxtDialog;
  FileDialogSpec SaveTxtDialog;

  // --- controls ----------------------------------------------------------
  QProgressBar* ProgressBar1 = nullptr;
  QWidget* PanelCodes = nullptr;
  QWidget* PanelPickedCodes = nullptr;
  QListWidget* CodesInFile = nullptr;
  QListWidget* PickedCodes = nullptr;
  QPushButton* MoveAllCodes = nullptr;
  QPushButton* MoveSelCodes = nullptr;
  QPushButton* OmitSelCodes = nullptr;
  QPushButton* OmitAllCodes = nullptr;
  QPlainTextEdit* Memo1 = nullptr;   // typed commands
  QListWidget* ListBox1 = nullptr;   // their errors
  QGroupBox* ModifyCommandsBox = nullptr;
  std::array<QToolButton*, 13> ModSBs{};  // And ... Bout, command number = index + 1
  QButtonGroup* CommandButtons = nullptr;
  QGroupBox* WindowParmsBox = nullptr;
  TRadioGroup* FromOptionsGroup = nullptr;
  TRadioGroup* ToOptionsGroup = nullptr;
  TNumberUpDown* FromN = nullptr;  // the offsets with their up-downs
  TNumberUpDown* ToN = nullptr;
  QLineEdit* EditFromN = nullptr;
  QLineEdit* EditToN = nullptr;
  QLabel* WindowParmsLabel = nullptr;
  QLabel* WindowTULabel = nullptr;
  QWidget* EditBoutGap = nullptr;
  QSpinBox* BoutGap = nullptr;
  QLabel* BoutTULabel = nullptr;
  QLineEdit* NewCode = nullptr;
  QWidget* NewCodePanel = nullptr;
  QLabel* MaxNumTUs = nullptr;
  QSpinBox* MaxNTUs = nullptr;
  QLabel* MaxNumLabel = nullptr;
  QLabel* LabelChainMore = nullptr;
  QLabel* LabelInstructions = nullptr;

  QMenu* Edit1 = nullptr;
  QAction* FileOpenMDS = nullptr;
  QAction* FileSaveMDS = nullptr;
  QAction* FileSaveMDSAs = nullptr;
  QAction* SyntaxFileSeparator = nullptr;
  QAction* FileOpenTXT = nullptr;
  QAction* FileSaveTXT = nullptr;
  QAction* FileSaveTXTAs = nullptr;
  QAction* FileClose = nullptr;
  QAction* RunCompute = nullptr;
  QAction* RunUseSyntax = nullptr;
  QAction* RunStopSyntax = nullptr;
  // The tool bar's Open, Save, Save As and Syntax buttons follow the mode.
  QAction* ToolOpen = nullptr;
  QAction* ToolSave = nullptr;
  QAction* ToolSaveAs = nullptr;
  QAction* ToolSyntax = nullptr;
  MemoFindReplace* Finder = nullptr;

  // --- commands --------------------------------------------------------
  void LoadMdsFile();
  void FileOpenMDSExecute();
  void FileSaveMDSExecute();
  bool FileSaveMDSAsExecute();
  bool SaveMdsLines();
  void FileOpenTXTExecute();
  void FileSaveTXTExecute();
  bool FileSaveTXTAsExecute();
  void SaveSyntaxFile();
  void MenuClearWindowExecute();
  void RunComnputeExecute();
  void RunModifyCommand();
  void RunUseSyntaxExecute();
  void RunStopSyntaxExecute();
  void SetSyntaxMode(bool on);
  void MoveSelCodesClick();
  void MoveAllCodesClick();
  void OmitSelCodesClick();
  void OmitAllCodesClick();
  void sbMODClick();
  // Shows the controls the command down and the picked codes need.
  void ShowCommandControls();
  void GroupToOptionsClick();
  void WindowParmsBoxDblClick();
  void Memo1DblClick();
  bool QuerySaveMds();
  bool QuerySaveSyntax();
  bool FormCloseQuery();
  // The program's exit closes the window first, as its close button would;
  // false when the user keeps it open.
  bool CloseQuery() override { return close(); }

  // The command the controls hold: the button down, the new code, the
  // picked codes, the WINDOW parts, the bout gap and the maximum units.
  ModifyCommand CommandFromControls() const;
  // Sets the up-down and edit of a WINDOW offset.

 protected:
  // Esc takes the one way out of the window, which asks about unsaved work.
  void reject() override { close(); }
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateActions();
  QWidget* CreateCodePanels();
  QWidget* CreateCommandPanel();
  TNumberUpDown* CreateOffsetEdit(QWidget* parent, QLineEdit*& edit);
  void EnableCommandButtons();
  void ShowCodesInFile();
  QString TimeUnitText() const;
  void Guarded(void (TModifyMDS::*command)());

  // Typed commands see the file and the controls through these.
  const MdsHeader& Header() const override { return Mds.Header; }
  bool CommandEnabled(int number) const override;
  ModifyCommand Controls() const override { return CommandFromControls(); }
  void Apply(const ModifyCommand& command) override;
  void ListError(const std::string& line) override;
  UserDialogue& Dialogue() override;

  WindowHost& Host;
};


}  // namespace vork
