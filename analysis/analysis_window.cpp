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

#include "app/code_list_box.h"
#include "app/date_time_text.h"
#include "app/main_window.h"
#include "app/radio_group_box.h"
#include "app/results_window.h"
#include "app/text_lines.h"
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

QString WithoutFolder(const QString& fileName) { return QFileInfo(fileName).fileName(); }

// Questions and beeps go to the desktop; progress moves the window's own bar.
class WindowDialogue : public UserDialogue {
 public:
  WindowDialogue(Platform& platform, QProgressBar& bar) : Desktop(platform), Bar(bar) {}
  Answer Ask(BoxStyle style, const std::string& text, Buttons buttons) override {
    return Desktop.Ask(style, text, buttons);
  }
  void Beep() override { Desktop.Beep(); }
  void Progress(int position, int max) override {
    (void)max;
    Bar.setValue(position);
    Bar.repaint();
  }

 private:
  Platform& Desktop;
  QProgressBar& Bar;
};

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

TAnalysisWindow::TAnalysisWindow(TMainForm& main, const AnalysisWindowTraits& traits)
    : QMainWindow(&main, Qt::Window), Traits(traits), Main(main) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(traits.Name);
  setWindowTitle(traits.DesignCaption);
  move(traits.Left, traits.Top);
  setFont(main.font());
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

  QMenu* file = menuBar()->addMenu("&File");
  file->addAction(FileOpenMds);
  file->addSeparator();
  file->addAction(FileClose);
  QMenu* run = menuBar()->addMenu("&Run");
  run->addAction(RunCompute);
  run->addSeparator();
  run->addAction(Main.RunChangeOptions);

  QToolBar* tools = addToolBar("Tools");
  tools->setMovable(false);
  tools->addAction(FileOpenMds);
  tools->addAction(RunCompute);
  ProgressBar1 = new QProgressBar(tools);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  tools->addWidget(ProgressBar1);
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
    if (!ReadMdsHeader(lines, Main.OpenMdsDialog.FileName.toStdString(), header, Main.Dialogs)) {
      // There is no current compiled file now; this window keeps its own.
      Main.OpenMdsDialog.FileName.clear();
      return false;
    }
  } catch (const std::exception& error) {
    Main.Dialogs.ShowError(QString::fromStdString(error.what()));
    return false;
  }
  MdsLines = std::move(lines);
  Header = std::move(header);
  MDSFileName = Main.OpenMdsDialog.FileName;
  MdsLoadTime = Main.MdsLoadTime;
  setWindowTitle(Traits.CaptionPrefix + WithoutFolder(MDSFileName));
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
  const QString current = Main.OpenMdsDialog.FileName;
  if (current.isEmpty() || MdsLoadTime == Main.MdsLoadTime || NLoadNewRequests >= 1) return;
  AskingReload = true;
  Answer answer = Main.Dialogs.Message(BoxStyle::Question,
                                       "Use " + WithoutFolder(current) +
                                           " (Select no to use previous " +
                                           WithoutFolder(MDSFileName) + ")?",
                                       Buttons::YesNo);
  if (answer == Answer::Yes) LoadMdsFile();
  NLoadNewRequests += 1;
  AskingReload = false;
}

void TAnalysisWindow::FileOpenMdsExecute() {
  std::optional<QString> chosen = Main.Dialogs.OpenFileName(Main.OpenMdsDialog);
  if (!chosen) return;
  Main.OpenMdsDialog.FileName = *chosen;
  Main.MdsLoadTime = NowText();
  LoadMdsFile();
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
  frame.Format = Main.Numbers;
  frame.NDigits = Main.Options.NDigits;
  RunOutput output;
  WindowDialogue dialogue(Main.Dialogs, *ProgressBar1);
  try {
    if (!RunAnalysis(frame, output, dialogue)) return;
  } catch (const std::exception& error) {
    // The RUN ends here; what it wrote before the fault stays.
    ApplyRunOutput(output);
    ProgressBar1->setValue(0);
    Main.Dialogs.ShowError(QString::fromStdString(error.what()));
    return;
  }
  ApplyRunOutput(output);
  ProgressBar1->setValue(0);
  if (frame.ExportBox == ExportEachRun) SaveExportFile();
  if (frame.ShowResults()) {
    dynString separator;
    WriteSeparatorLine(separator);
    Main.Results->AppendLines(FromLines(separator));
  }
}

void TAnalysisWindow::ApplyRunOutput(const RunOutput& output) {
  if (output.Started) FirstRun = false;
  if (output.ClearResults) Main.Results->Memo1->clear();
  Main.Results->AppendLines(FromLines(output.ResultLines));
  if (!output.ExportRows.empty()) {
    ExportLines.insert(ExportLines.end(), output.ExportRows.begin(), output.ExportRows.end());
    ExportLinesModified = true;
  }
}

bool TAnalysisWindow::SaveExportFile() {
  if (!ExportLinesModified) return true;
  std::optional<QString> chosen = Main.Dialogs.SaveFileName(Main.SaveExportDialog);
  if (!chosen) return false;
  Main.SaveExportDialog.FileName = *chosen;
  bool saved = false;
  RunCommand(Main.Dialogs, [&] {
    SaveTextLines(chosen->toStdString(), ExportLines);
    saved = true;
  });
  if (!saved) return false;
  const QString line = WithoutFolder(*chosen) + " saved " + NowText();
  Main.Results->AppendLine(line);
  Main.VORKLogLines.push_back(line);
  ExportLines.clear();
  ExportLinesModified = false;
  return true;
}

bool TAnalysisWindow::event(QEvent* event) {
  bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return handled;
}

void TAnalysisWindow::closeEvent(QCloseEvent* event) {
  if (ExportBox && ExportBox->ItemIndex() == ExportAfterClosing && !SaveExportFile()) {
    event->ignore();
    return;
  }
  event->accept();
  // The window is freed once closed: it is no longer found by name or number.
  const int tag = property("Tag").toInt();
  setObjectName(QString());
  setProperty("Tag", 0);
  if (tag > 0) Main.DeleteMenuItem(quint16(tag));
}

void TAnalysisWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ResizePanels(width());
}

}  // namespace vork
