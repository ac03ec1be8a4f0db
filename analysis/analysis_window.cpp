#include "analysis/analysis_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "widgets/code_list_box.h"
#include "widgets/date_time_text.h"
#include "widgets/desktop_dialogue.h"
#include "widgets/radio_group_box.h"
#include "widgets/text_lines.h"
#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/results_format.h"
#include "core/text_file.h"

namespace vork {
namespace {

const QStringList ResultsBoxItems = {"don't display results", "append new results to existing",
                                     "overwrite existing results"};
const QStringList ExportBoxItems = {"don't write export files", "write a file for each RUN",
                                    "write one file after closing window"};

// Asks for the whole height of its column, so that the window opens showing
// all of it where the screen allows; it still shrinks, and then scrolls.
class OptionsScrollArea : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override {
    return widget() ? widget()->sizeHint() : QScrollArea::sizeHint();
  }
};

}  // namespace

QListWidget* MultiSelectList(QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  return list;
}

QProgressBar* AddAnalysisMenus(QMainWindow& window, QAction* open, QAction* close,
                               const QList<QAction*>& runs, QAction* runOptions) {
  QMenu* file = window.menuBar()->addMenu("&File");
  file->addAction(open);
  file->addSeparator();
  file->addAction(close);
  QMenu* run = window.menuBar()->addMenu("&Run");
  run->addActions(runs);
  run->addSeparator();
  run->addAction(runOptions);

  QToolBar* tools = window.addToolBar("Tools");
  tools->setMovable(false);
  tools->addAction(open);
  if (!runs.isEmpty()) tools->addAction(runs.front());
  auto* bar = new QProgressBar(tools);
  bar->setRange(0, 100);
  bar->setValue(0);
  tools->addWidget(bar);
  return bar;
}

TAnalysisWindow::TAnalysisWindow(WindowHost& host, QWidget* parent,
                                 const AnalysisWindowTraits& traits)
    : QMainWindow(parent, Qt::Window), Traits(traits), Host(host) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(traits.Name);
  setWindowTitle(traits.DesignCaption);
  move(traits.Left, traits.Top);
  setFont(host.MainFont());
  setMinimumWidth(traits.MinimumWidth);
  CreateActionsAndMenus();
  CodesInFile = MultiSelectList(this);
  if (traits.HasResultsBox) {
    ResultsBox = new TRadioGroup("When you selelct RUN:", ResultsBoxItems, AppendResults, this);
  }
  if (traits.HasExportBox) {
    ExportBox = new TRadioGroup(traits.ExportBoxCaption, ExportBoxItems, DontExport, this);
  }
  if (traits.HasPooling) CreatePoolingControls();
}

TAnalysisWindow::~TAnalysisWindow() = default;

void TAnalysisWindow::CreateActionsAndMenus() {
  FileOpenMds = new QAction("Open MDS file...", this);
  RunCompute = new QAction(Traits.RunCaption, this);
  FileClose = new QAction("Close this window", this);
  connect(FileOpenMds, &QAction::triggered, this, [this] { FileOpenMdsExecute(); });
  connect(RunCompute, &QAction::triggered, this, [this] { RunComputeExecute(); });
  connect(FileClose, &QAction::triggered, this, [this] { FileCloseExecute(); });
  ProgressBar1 = AddAnalysisMenus(*this, FileOpenMds, FileClose, {RunCompute}, Host.RunOptionsAction());
}

void TAnalysisWindow::CreatePoolingControls() {
  PoolingPanel = new QWidget(this);
  auto* grid = new QGridLayout(PoolingPanel);
  grid->setContentsMargins(0, 0, 0, 0);
  PoolOverSessions = new QCheckBox("Pool over sessions", PoolingPanel);
  FactorsInFileLabel = new QLabel("Select factors...", PoolingPanel);
  FactorsPooledLabel = new QLabel("...for pooling.", PoolingPanel);
  FactorsInFile = MultiSelectList(PoolingPanel);
  FactorsPooled = MultiSelectList(PoolingPanel);
  MoveAllFactors = new QPushButton("move all ", PoolingPanel);
  MoveSelFactors = new QPushButton("move sel.", PoolingPanel);
  OmitSelFactors = new QPushButton("move sel.", PoolingPanel);
  OmitAllFactors = new QPushButton("move all", PoolingPanel);
  grid->addWidget(PoolOverSessions, 0, 0, 1, 2);
  grid->addWidget(FactorsInFileLabel, 1, 0, 1, 2);
  grid->addWidget(FactorsPooledLabel, 1, 2, 1, 2);
  grid->addWidget(FactorsInFile, 2, 0, 1, 2);
  grid->addWidget(FactorsPooled, 2, 2, 1, 2);
  grid->addWidget(MoveAllFactors, 3, 0);
  grid->addWidget(MoveSelFactors, 3, 1);
  grid->addWidget(OmitSelFactors, 3, 2);
  grid->addWidget(OmitAllFactors, 3, 3);

  // Every change of the pooling choices rebuilds the groups at the next RUN.
  auto moved = [this](auto move, QListWidget* from, QListWidget* to) {
    return [this, move, from, to] {
      move(*from, *to);
      Pooling.PoolingModified = true;
    };
  };
  auto moveSelected = [](QListWidget& a, QListWidget& b) { MoveSelectedCodes(a, b); };
  auto moveAll = [](QListWidget& a, QListWidget& b) { MoveAllCodeItems(a, b); };
  connect(MoveAllFactors, &QPushButton::clicked, this, moved(moveAll, FactorsInFile, FactorsPooled));
  connect(MoveSelFactors, &QPushButton::clicked, this,
          moved(moveSelected, FactorsInFile, FactorsPooled));
  connect(OmitSelFactors, &QPushButton::clicked, this,
          moved(moveSelected, FactorsPooled, FactorsInFile));
  connect(OmitAllFactors, &QPushButton::clicked, this, moved(moveAll, FactorsPooled, FactorsInFile));
  connect(FactorsInFile, &QListWidget::itemDoubleClicked, this,
          moved(moveSelected, FactorsInFile, FactorsPooled));
  connect(FactorsPooled, &QListWidget::itemDoubleClicked, this,
          moved(moveSelected, FactorsPooled, FactorsInFile));
  connect(PoolOverSessions, &QCheckBox::clicked, this, [this] { Pooling.PoolingModified = true; });
}

void TAnalysisWindow::FitButtonsToCaptions() {
  // The style would make every captioned button at least 80 pixels wide,
  // more than two list buttons side by side or four factor buttons in a row
  // have; the caption and the button's margins are all a button needs.
  const int margins = 2 * style()->pixelMetric(QStyle::PM_ButtonMargin);
  for (QPushButton* button : findChildren<QPushButton*>()) {
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + margins);
  }
}

void TAnalysisWindow::PlaceListsAndOptions(QWidget* listPanels, QWidget* options,
                                           int designWidth) {
  auto* client = new QWidget(this);
  auto* layout = new QHBoxLayout(client);
  // The list panels and the options column add up to the client width, as
  // the resize rule shares it out; the gaps lie inside each panel.
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(listPanels, 1);
  layout->addWidget(OptionsColumn(options, designWidth));
  FitMinimumWidthToListPanels(listPanels);
  setCentralWidget(client);
}

QWidget* TAnalysisWindow::OptionsColumn(QWidget* options, int designWidth) {
  FitButtonsToCaptions();
  auto* column = new OptionsScrollArea(this);
  column->setFrameShape(QFrame::NoFrame);
  column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  column->setWidgetResizable(true);
  column->setWidget(options);
  // Room for the scroll bar is kept, so a scrolling column cuts no caption.
  const int scrollBar = column->verticalScrollBar()->sizeHint().width();
  OptionsPanelWidth = std::max(designWidth, options->minimumSizeHint().width() + scrollBar);
  column->setFixedWidth(OptionsPanelWidth);
  setMinimumWidth(Traits.MinimumWidth + OptionsPanelWidth - designWidth);
  return column;
}

void TAnalysisWindow::FitMinimumWidthToListPanels(QWidget* row) {
  const QList<QWidget*> panels = row->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  int widest = 0;
  for (const QWidget* panel : panels) widest = std::max(widest, panel->minimumSizeHint().width());
  setMinimumWidth(std::max(minimumWidth(), OptionsPanelWidth + int(panels.size()) * widest));
}

void TAnalysisWindow::FitHeightToScreen() {
  const QScreen* display = screen();
  if (!display) return;
  const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const int room = display->availableGeometry().bottom() + 1 - y() - titleBar;
  resize(width(), std::max(std::min(std::max(height(), sizeHint().height()), room),
                           minimumSizeHint().height()));
}

void TAnalysisWindow::FinishCreate() {
  FitHeightToScreen();
  ExportLinesModified = false;
  LoadMdsFile();
}

bool TAnalysisWindow::LoadMdsFile() {
  LineBuffer lines;
  MdsHeader header;
  try {
    if (!ReadMdsHeader(lines, Host.CurrentMdsFile().toStdString(), header, Host.Dialogs())) {
      // There is no current compiled file now; this window keeps its own.
      Host.SetCurrentMdsFile(QString(), false);
      return false;
    }
  } catch (const std::exception& error) {
    Host.Dialogs().ShowError(QString::fromStdString(error.what()));
    return false;
  }
  MdsLines = std::move(lines);
  Header = std::move(header);
  MDSFileName = Host.CurrentMdsFile();
  MdsLoadTime = Host.CurrentLoadTime();
  setWindowTitle(Traits.CaptionPrefix + NameWithoutFolder(MDSFileName));
  NLoadNewRequests = 0;
  FirstRun = true;
  LinePos0 = Header.LineIndex;
  CodesInFile->clear();
  for (int code = 1; code <= Header.NCodes && code < int(Header.CodeNames.size()); ++code) {
    CodesInFile->addItem(QString::fromStdString(Header.CodeNames[std::size_t(code)]));
  }
  TypeFlags = SetDataTypeFlags(Header.DataType);
  if (Traits.HasPooling) {
    PoolOverSessions->setChecked(false);
    for (QPushButton* button : {MoveAllFactors, MoveSelFactors, OmitSelFactors, OmitAllFactors}) {
      button->setEnabled(Header.NFactors > 0);
    }
    FactorsInFile->clear();
    FactorsPooled->clear();
    for (int f = 1; f <= Header.NFactors && f < int(Header.FactorNames.size()); ++f) {
      FactorsInFile->addItem(QString::fromStdString(Header.FactorNames[std::size_t(f)]));
    }
    ResetPooling(Pooling);
  }
  Loaded();
  return true;
}

void TAnalysisWindow::FormActivate() {
  if (AskingReload) return;
  const QString current = Host.CurrentMdsFile();
  if (current.isEmpty() || MdsLoadTime == Host.CurrentLoadTime() || NLoadNewRequests >= 1) return;
  AskingReload = true;
  Answer answer = Host.Dialogs().Message(BoxStyle::Question,
                                       "Use " + NameWithoutFolder(current) +
                                           " (Select no to use previous " +
                                           NameWithoutFolder(MDSFileName) + ")?",
                                       Buttons::YesNo);
  if (answer == Answer::Yes) LoadMdsFile();
  NLoadNewRequests += 1;
  AskingReload = false;
}

void TAnalysisWindow::FileOpenMdsExecute() {
  if (Host.OpenMdsFile(true)) LoadMdsFile();
}

void TAnalysisWindow::FileCloseExecute() { close(); }

PoolingChoices TAnalysisWindow::GatherPoolingChoices() const {
  PoolingChoices choices;
  if (!Traits.HasPooling) return choices;
  choices.PoolOverSessions = PoolOverSessions->isChecked();
  for (int i = 0; i < FactorsPooled->count(); ++i) {
    choices.FactorsPooled.push_back(FactorsPooled->item(i)->text().toStdString());
  }
  return choices;
}

void TAnalysisWindow::ShowPoolingChoices(const PoolingChoices& choices) {
  if (Traits.HasPooling) PoolOverSessions->setChecked(choices.PoolOverSessions);
}

void TAnalysisWindow::RunComputeExecute() {
  RunFrame frame;
  frame.ResultsBox = ResultsBox ? ResultsBox->ItemIndex() : AppendResults;
  frame.ExportBox = ExportBox ? ExportBox->ItemIndex() : DontExport;
  frame.FirstRun = FirstRun || Traits.SummaryEveryRun;
  frame.FileName = MDSFileName.toStdString();
  frame.Format = Host.Numbers();
  frame.NDigits = Host.Options().NDigits;
  RunOutput output;
  DesktopDialogue dialogue(Host.Dialogs(), *ProgressBar1);
  try {
    if (!RunAnalysis(frame, output, dialogue)) return;
  } catch (const std::exception& error) {
    // The RUN ends here; what it wrote before the fault stays.
    ApplyRunOutput(output);
    ProgressBar1->setValue(0);
    Host.Dialogs().ShowError(QString::fromStdString(error.what()));
    return;
  }
  ApplyRunOutput(output);
  ProgressBar1->setValue(0);
  if (frame.ExportBox == ExportEachRun) SaveExportFile();
  if (frame.ShowResults()) {
    dynString separator;
    WriteSeparatorLine(separator);
    Host.AppendResults(separator);
  }
}

void TAnalysisWindow::ApplyRunOutput(const RunOutput& output) {
  if (output.Started) FirstRun = false;
  if (output.ClearResults) Host.ClearResults();
  if (!output.ResultLines.empty()) Host.AppendResults(output.ResultLines);
  if (!output.ExportRows.empty()) {
    ExportLines.insert(ExportLines.end(), output.ExportRows.begin(), output.ExportRows.end());
    ExportLinesModified = true;
  }
}

bool TAnalysisWindow::SaveExportFile() {
  if (!ExportLinesModified) return true;
  std::optional<QString> chosen = Host.ChooseExportFile();
  if (!chosen) return false;
  bool saved = false;
  RunCommand(Host.Dialogs(), [&] {
    SaveTextLines(chosen->toStdString(), ExportLines);
    saved = true;
  });
  if (!saved) return false;
  const QString line = NameWithoutFolder(*chosen) + " saved " + NowText();
  Host.AppendResult(line);
  Host.AddLogLine(line);
  ExportLines.clear();
  ExportLinesModified = false;
  return true;
}

bool TAnalysisWindow::event(QEvent* event) {
  bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return handled;
}

bool TAnalysisWindow::CloseQuery() {
  return !(ExportBox && ExportBox->ItemIndex() == ExportAfterClosing) || SaveExportFile();
}

void TAnalysisWindow::closeEvent(QCloseEvent* event) {
  if (!CloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  Host.WindowClosed(*this);
}

void TAnalysisWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ResizePanels(width());
}

}  // namespace vork
