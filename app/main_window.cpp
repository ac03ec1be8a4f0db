#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/about_box.h"
#include "widgets/action_shortcuts.h"
#include "app/compile_options_dialog.h"
#include "app/main_window_host.h"
#include "widgets/date_time_text.h"
#include "app/results_window.h"
#include "app/run_options_dialog.h"
#include "widgets/text_lines.h"
#include "core/text_file.h"

namespace vork {
namespace {

constexpr int StartClientWidth = 780;
constexpr int StartClientHeight = 66;

const char* const LogFileName = "~VORKLog.txt";

// The log file in the current folder, whatever the case of its name, as a
// file system that ignores case would find it; empty when there is none.
QString ExistingLogFile() {
  QDir here = QDir::current();
  for (const QString& name : here.entryList(QDir::Files | QDir::Hidden)) {
    if (name.compare(LogFileName, Qt::CaseInsensitive) == 0) return here.filePath(name);
  }
  return QString();
}

// Adds lines after a file's old lines (a new file when there is none); the
// file is replaced only once the whole text is written.
void AppendLinesToFile(const QString& fileName, const QStringList& lines) {
  dynString all;
  if (QFileInfo::exists(fileName)) all = LoadTextLines(fileName.toStdString());
  dynString added = ToLines(lines);
  all.insert(all.end(), added.begin(), added.end());
  SaveTextLines(fileName.toStdString(), all);
}

}  // namespace

TMainForm::TMainForm(Platform& platform, QSettings& settings, const QString& programDir,
                     QWidget* parent)
    : QMainWindow(parent), Dialogs(platform), Settings(settings) {
  setObjectName("VORKMain");
  setWindowTitle("VORK5");
  ProgramDir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
  if (!ProgramDir.endsWith('/')) ProgramDir += '/';
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateClientArea();
  CreateStatusBar();
  ConnectShellActions();
  ConnectFileActions();
  ConnectCompileActions();
  Host = std::make_unique<MainWindowHost>(*this);
  ConnectRunActions();
  // The File menu's keys reach their commands from the editor too.
  new ActionKeysFirst(Memo1, {FileNewSds, FileOpenSdsMds, FileSaveSDS, FileSaveSDSAs, FileExit});
  FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateClientArea() {
  ClientPanel = new QWidget(this);
  auto* layout = new QVBoxLayout(ClientPanel);
  layout->setContentsMargins(0, 0, 0, 0);
  EditorSplitter = new QSplitter(Qt::Vertical, ClientPanel);
  EditorSplitter->setHandleWidth(2);
  EditorSplitter->setChildrenCollapsible(true);
  Memo1 = new QPlainTextEdit(EditorSplitter);
  Memo1->setFont(TextWindowFont("Courier New", 10));
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ListBox1 = new QListWidget(EditorSplitter);
  ListBox1->setFont(TextWindowFont("Courier New", 10));
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  EditorSplitter->addWidget(Memo1);
  EditorSplitter->addWidget(ListBox1);
  layout->addWidget(EditorSplitter);
  setCentralWidget(ClientPanel);
}

void TMainForm::CreateStatusBar() {
  StatusPanel0 = new QLabel(this);
  // At least the usual width, and wider when a text needs it.
  StatusPanel0->setMinimumWidth(125);
  StatusPanel1 = new QLabel(this);
  StatusPanel1->setMinimumWidth(50);
  statusBar()->addWidget(StatusPanel0);
  statusBar()->addWidget(StatusPanel1, 1);
}

void TMainForm::ConnectShellActions() {
  connect(FileExit, &QAction::triggered, this, [this] { FileExitExecute(); });
  connect(RunChangeVorkFont, &QAction::triggered, this, [this] { RunChangeVorkFontExecute(); });
  connect(ChangeFont, &QAction::triggered, this, [this] { ChangeFontExecute(); });
  connect(PanelExpand, &QPushButton::clicked, this, [this] { PanelExpandClick(); });
  connect(HelpShow, &QAction::triggered, this, [this] { HelpShowExecute(); });
  connect(HelpAbout, &QAction::triggered, this, [this] { HelpAboutExecute(); });
  connect(RunChangeOptions, &QAction::triggered, this, [this] { RunChangeOptionsExecute(); });
  connect(CompileChangeOptions, &QAction::triggered, this,
          [this] { CompileChangeOptionsExecute(); });
}

void TMainForm::FormCreate() {
  move(230, 30);
  resize(StartClientWidth, StartClientHeight);
  SetClientHeight(StartClientHeight);
  VORKLogLines.clear();
  Results = std::make_unique<TResults>(Dialogs, [this] { FileExitExecute(); });

  StoredSettings stored = ReadSettings(Settings);
  Options = stored.Options;
  LastFiles = stored.LastFiles;
  ApplyStoredFonts(stored);
  SetClientHeight(StartClientHeight);  // the menu bar's height follows the font
  UpdateLastFileMenus();
  QDir::setCurrent(stored.CurrentDirectory);

  Options.HostDecSep = HostDecimalSeparator(QLocale::system());
  ApplyDecimalSeparator();

  QString help = ProgramDir + "VORK5Help.chm";
  HelpFile = QFileInfo::exists(help) ? help : QString();
  SetMessageListHeight(0);
}

void TMainForm::ApplyStoredFonts(const StoredSettings& values) {
  setFont(QFont(values.MainFont.Name, values.MainFont.Size));
  Memo1->setFont(TextWindowFont(values.EditFont.Name, values.EditFont.Size));
  Results->Memo1->setFont(TextWindowFont(values.ResuFont.Name, values.ResuFont.Size));
}

void TMainForm::ApplyDecimalSeparator() {
  Numbers = MakeNumberFormat(Options.DecSepX, Options.HostDecSep);
}

int TMainForm::ClientHeight() const { return height() - menuBar()->sizeHint().height(); }

void TMainForm::SetClientHeight(int height) {
  // Below the tool bar and above the status bar there is room for the
  // editor only when the window is tall enough.
  int barsHeight = ToolBar1->height() + statusBar()->sizeHint().height();
  ClientPanel->setVisible(height > barsHeight + 20);
  setMinimumHeight(0);
  resize(width(), height + menuBar()->sizeHint().height());
}

void TMainForm::SetMessageListHeight(int height) {
  // The list's height limit goes first: the splitter gives it no more.
  if (height == 0) ListBox1->setMaximumHeight(0);
  else ListBox1->setMaximumHeight(QWIDGETSIZE_MAX);
  int total = EditorSplitter->height();
  EditorSplitter->setSizes({std::max(total - height, 1), height});
}

int TMainForm::MessageListHeight() const {
  return ListBox1->maximumHeight() == 0 ? 0 : EditorSplitter->sizes().value(1);
}

void TMainForm::FileExitExecute() { close(); }

void TMainForm::RunChangeVorkFontExecute() {
  std::optional<QFont> chosen = Dialogs.ChooseFont(font());
  if (!chosen) return;
  int clientHeight = ClientHeight();
  setFont(*chosen);
  SetClientHeight(clientHeight);
}

void TMainForm::ChangeFontExecute() {
  if (std::optional<QFont> chosen = Dialogs.ChooseFont(font())) {
    Memo1->setFont(*chosen);
    ListBox1->setFont(*chosen);
  }
}

void TMainForm::PanelExpandClick() {
  for (QAction* button : {ToolBreakdown, ToolExportTable, ToolRound}) {
    button->setVisible(!button->isVisible());
  }
  PanelExpand->setText(ToolRound->isVisible() ? "<<" : ">>");
}

void TMainForm::HelpShowExecute() {
  if (HelpFile.isEmpty()) {
    Dialogs.Notice("VORK5Help.chm not found.");
    return;
  }
  Dialogs.OpenUrl(QUrl::fromLocalFile(HelpFile));
}

void TMainForm::HelpAboutExecute() {
  TAboutVORK about(Dialogs, font(), this);
  about.exec();
}

void TMainForm::RunChangeOptionsExecute() {
  TRunOptions dialog(Options, font(), Dialogs, this);
  if (dialog.exec() == QDialog::Accepted) ApplyDecimalSeparator();
}

void TMainForm::CompileChangeOptionsExecute() {
  TCompileOptions dialog(Options, Dialogs, font(), this);
  dialog.exec();
}

void TMainForm::AddFileSavedMsg(const QString& fileName, const QString& info,
                                const QString& loadTime) {
  QString stamp = loadTime;
  if (loadTime.isEmpty()) stamp = NowText();
  else MdsLoadTime = loadTime;
  QString line = "Saved:\t" + NameWithoutFolder(fileName) + info + stamp;
  Results->AppendLine(line);
  VORKLogLines.push_back(line);
  AddRecentFile(fileName);
}

bool TMainForm::FormCloseQuery() {
  // Open windows come first: saving their export rows adds a line to the
  // results, which are asked about last. The open windows are the numbered
  // ones and a modal window on show.
  for (QWidget* window : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    auto* hosted = dynamic_cast<HostedWindow*>(window);
    const bool open = window->property("Tag").toInt() > 0 || (window->isModal() && window->isVisible());
    if (hosted && window->isWindow() && open && !hosted->CloseQuery()) {
      return false;
    }
  }
  return SaveModifiedSdsOK() && Results->SaveModifiedMemoOK();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  bool closed = false;
  RunCommand(Dialogs, [&] {
    FormClose();
    closed = true;
  });
  if (!closed) {
    event->ignore();
    return;
  }
  event->accept();
  Results->hide();
  QCoreApplication::quit();
}

void TMainForm::FormClose() {
  StoredSettings stored;
  stored.CurrentDirectory = QDir::currentPath();
  stored.Options = Options;
  stored.LastFiles = LastFiles;
  stored.MainFont = {font().pointSize(), font().family()};
  stored.EditFont = {Memo1->font().pointSize(), Memo1->font().family()};
  stored.ResuFont = {Results->Memo1->font().pointSize(), Results->Memo1->font().family()};
  WriteSettings(Settings, stored);
  WriteLogFile();
  VORKLogLines.clear();
}

void TMainForm::WriteLogFile() {
  if (!Options.WriteLog || VORKLogLines.isEmpty()) return;
  QString target = ExistingLogFile();
  if (target.isEmpty()) {
    FileDialogSpec spec{"Save VORK log file", "text files (*.txt)|*.txt", "txt", "~VORKlog.txt",
                        false, false};
    std::optional<QString> chosen = Dialogs.SaveFileName(spec);
    if (!chosen) return;
    target = *chosen;
  }
  AppendLinesToFile(target, VORKLogLines);
}

}  // namespace vork
