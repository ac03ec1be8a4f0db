#pragma once

#include <QMainWindow>
#include <QSettings>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "widgets/memo_commands.h"
#include "widgets/option_store.h"
#include "widgets/platform.h"
#include "app/settings_store.h"
#include "core/dyn_arrays.h"
#include "core/number_format.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QToolBar;

namespace vork {

class MainWindowHost;
class MemoFindReplace;
class TResults;
struct WindowKind;

// The program's main window: the raw-data editor, the compiler message
// list, the menus and tool bar of every command, the option store and the
// shared state every other window reaches (log lines, current compiled file).
//
// Its work is spread over files by area, each adding its own members here:
//   main_window.cpp          creation, layout, fonts, help, exit, settings, log
//   main_window_actions.cpp  the command table, menus and tool bar
//   main_window_files.cpp    raw files, editor, recent files
//   main_window_compile.cpp  compile driver and message list
//   main_window_run.cpp      Run menu dispatch and the Window menu
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // platform answers every question and dialog; settings is where the
  // options are read at creation and written at exit; programDir is the
  // folder looked in for the help file (empty: the program's own folder).
  TMainForm(Platform& platform, QSettings& settings, const QString& programDir = QString(),
            QWidget* parent = nullptr);
  ~TMainForm() override;

  // --- shared state ---------------------------------------------------
  Platform& Dialogs;
  OptionStore Options;
  QStringList VORKLogLines;   // log lines gathered since start-up
  QString MdsLoadTime;        // load stamp of the current compiled file
  QString ProgramDir;         // with a trailing separator
  QString HelpFile;           // empty: no help file
  NumberFormat Numbers;       // how results numbers are written (DecSepX)
  std::array<QString, 5> LastFiles;  // recent files, 0 the newest
  std::unique_ptr<TResults> Results;
  // What the windows the main window opens ask of the program.
  std::unique_ptr<MainWindowHost> Host;

  // --- controls -------------------------------------------------------
  QToolBar* ToolBar1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;     // raw-data editor
  QListWidget* ListBox1 = nullptr;     // compiler messages
  QSplitter* EditorSplitter = nullptr;
  QWidget* ClientPanel = nullptr;
  QLabel* StatusPanel0 = nullptr;      // line count or compile result
  QLabel* StatusPanel1 = nullptr;      // "Active - " the current compiled file
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* PanelExpand = nullptr;  // ">>" shows the hidden tool buttons
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* Compile1 = nullptr;
  QMenu* Run1 = nullptr;
  QMenu* Window1 = nullptr;
  QMenu* Help1 = nullptr;
  std::array<QAction*, 5> LastMenus{};  // File menu items of the recent files, Tag 1..5

  // Tool-bar buttons that the expand toggle shows and hides.
  QAction* ToolBreakdown = nullptr;
  QAction* ToolExportTable = nullptr;
  QAction* ToolRound = nullptr;

  // --- commands (captions, hints and keys in main_window_actions.cpp) --
  QAction* FileNewSds = nullptr;
  QAction* FileOpenSdsMds = nullptr;
  QAction* FileSaveSDS = nullptr;
  QAction* FileSaveSDSAs = nullptr;
  QAction* FileExit = nullptr;
  QAction* EditUndo = nullptr;
  QAction* EditCut = nullptr;
  QAction* EditCopy = nullptr;
  QAction* EditPaste = nullptr;
  QAction* EditDelete = nullptr;
  QAction* EditSearch = nullptr;
  QAction* EditReplace = nullptr;
  QAction* EditSelectAll = nullptr;
  QAction* CompileToMDS = nullptr;
  QAction* CompileCheckSyntax = nullptr;
  QAction* CompileChangeOptions = nullptr;
  QAction* RunSimpleStats = nullptr;
  QAction* RunTableStats = nullptr;
  QAction* RunPlotMDS = nullptr;
  QAction* RunBreakdown = nullptr;
  QAction* RunExportTable = nullptr;
  QAction* RunComputeKappa = nullptr;
  QAction* RunModifyMDS = nullptr;
  QAction* RunRound = nullptr;
  QAction* RunShowStucture = nullptr;
  QAction* RunChangeVorkFont = nullptr;
  QAction* RunChangeOptions = nullptr;
  QAction* ChangeFont = nullptr;
  QAction* ClearWindow = nullptr;
  QAction* GoToResults = nullptr;
  QAction* HelpShow = nullptr;
  QAction* HelpAbout = nullptr;

  // --- shell commands (main_window.cpp) ---------------------------------
  void FileExitExecute();
  void RunChangeVorkFontExecute();
  void ChangeFontExecute();
  void PanelExpandClick();
  void HelpShowExecute();
  void HelpAboutExecute();
  void RunChangeOptionsExecute();
  void CompileChangeOptionsExecute();

  // Announces a saved file in the results and the log lines: "Saved:", TAB,
  // the name without folder, info and the stamp. A non-empty loadTime is the
  // stamp and becomes MdsLoadTime; otherwise the current date and time is.
  void AddFileSavedMsg(const QString& fileName, const QString& info, const QString& loadTime);

  // Makes Numbers write the decimal separator DecSepX asks for (0 the host's).
  void ApplyDecimalSeparator();

  // The height below the menu bar, and setting it (the window grows or
  // shrinks; the editor area shows when there is room for it).
  int ClientHeight() const;
  void SetClientHeight(int height);
  // The height of the compiler message list under the editor (0 hides it).
  void SetMessageListHeight(int height);
  int MessageListHeight() const;

  // --- Run menu dispatch and Window menu (main_window_run.cpp) ---------
  // The current compiled file is OpenMdsDialog.FileName (empty: none); the
  // observers' files of the agreement window are the file names of the two
  // observer dialogs. Analysis windows save their export files through
  // SaveExportDialog.
  FileDialogSpec OpenMdsDialog;
  FileDialogSpec OpenObsDialog1;
  FileDialogSpec OpenObsDialog2;
  FileDialogSpec SaveExportDialog;
  // Numbers the non-modal windows: the results window is 1, every new
  // analysis or agreement window takes the next value (its "Tag" property).
  quint16 WindowTagCounter = 1;

  // True when there is a current compiled file; otherwise asks for one (a
  // chosen file gets a new load stamp).
  bool MdsFileOK();
  // True when the dialog already holds a file name, else the user chooses one.
  bool ChooseObsFile(FileDialogSpec& dialog);
  // Before an agreement window opens: asks whether to keep each observer's
  // file and lets the user choose the missing ones; false when a choice was
  // cancelled.
  bool ChooseObsFiles();
  // Removes the Window-menu entry of the window numbered tag.
  void DeleteMenuItem(quint16 tag);
  // Focuses the window numbered tag (1 the results window).
  void ShowFormByTag(int tag);
  // Focuses the open window of that name; false when there is none.
  bool ShowFormByName(const QString& name);
  // The command behind "Show MDS stucture".
  void ShowMdsStructure();

  // --- raw files, editor, recent files (main_window_files.cpp) ---------
  // Its file name is the raw file's name; empty for a new text.
  FileDialogSpec SaveSdsDialog;

  void FileNewSdsExecute();
  void FileOpenSdsMdsExecute();
  // Opens a raw file into the editor or makes a compiled file current.
  void OpenDataFile(const QString& fileName);
  // The recent-file item with Tag 1..5.
  void LastFileClick(int tag);
  // Save and save as; a file that cannot be written ends the command.
  void FileSaveSDSExecute();
  void FileSaveSDSAsExecute();
  void ClearWindowExecute();
  void Memo1DblClick();
  bool SaveModifiedSdsOK();
  void AddRecentFile(const QString& fileName);
  void UpdateLastFileMenus();
  // The editor's lines as the text holds them, whatever the wrapping: what
  // the compile and the line count see.
  struct EditorLine {
    int DocumentStart;  // where the line starts in the editor's text
    QString Text;
  };
  std::vector<EditorLine> EditorLineList() const;
  MemoFindReplace* EditorFinder = nullptr;

  // --- compile driver and message list (main_window_compile.cpp) -------
  FileDialogSpec SaveMdsDialog;  // its file name is the compiled file to write
  QAction* CopySelected1 = nullptr;
  QAction* CopyAll1 = nullptr;

  void CompileToMDSExecute();
  void CompileCheckSyntaxExecute();
  void RunCompiler(bool syntaxOnly);
  void ListBox1Click();
  void CopySelected1Click();
  void CopyAll1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  bool FormCloseQuery();
  void FormClose();
  void WriteLogFile();
  void ApplyStoredFonts(const StoredSettings& values);

  void CreateActions();
  void CreateMenus();
  MemoEditActions EditActions() const;
  void CreateToolBar();
  void CreateClientArea();
  void CreateStatusBar();

  // Each area connects its own commands.
  void ConnectShellActions();
  void ConnectFileActions();
  void ConnectCompileActions();
  void ConnectRunActions();
  // Run commands (main_window_run.cpp).
  void RunWindowKind(const WindowKind& kind);
  void AddWindowMenuItem(QAction* action);

  QSettings& Settings;
  QAction* NewItem = nullptr;  // the Window-menu item made last

  // A command of this window run so that a failure ending it is shown in
  // the standard error box.
  std::function<void()> Guarded(void (TMainForm::*command)());
  // Raw files (main_window_files.cpp).
  void WriteSdsFile();
  void ShowLineCount();
  // Compile (main_window_compile.cpp): the message positions of the last
  // compile and the lines they count in.
  dynCardinal NavPts;
  std::vector<EditorLine> CompiledLines;
};

}  // namespace vork
