#include "agreement/compute_kappa_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "agreement/compute_kappa.h"
#include "agreement/percent_agreement.h"
#include "analysis/analysis_window.h"
#include "core/plot_symbols.h"
#include "widgets/desktop_dialogue.h"
#include "widgets/digit_edit.h"
#include "widgets/number_up_down.h"
#include "widgets/picked_codes.h"
#include "widgets/plot_symbol_dialogs.h"
#include "widgets/radio_group_box.h"
#include "widgets/text_lines.h"
#include "widgets/window_host.h"

namespace vork {
namespace {

const QStringList ResultsBoxItems = {"don't display results", "append new results to existing",
                                     "overwrite existing results"};
const QStringList LineLengths = {"50", "60", "70", "80", "90", "100", "110", "120", "150", "180", "200"};
constexpr int MinimumWidth = 574;

}  // namespace

TComputeKappa::TComputeKappa(WindowHost& host, QWidget* parent)
    : QMainWindow(parent, Qt::Window), Host(host) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("ComputeKappa");
  setWindowTitle("Kappa");
  move(120, 250);
  setFont(host.MainFont());
  setMinimumWidth(MinimumWidth);
  CreateActionsAndMenus();
  auto* client = new QWidget(this);
  auto* row = new QHBoxLayout(client);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(CreateCodePanels(), 1);
  row->addWidget(CreateOptionsPanel());
  setCentralWidget(client);
  resize(640, 460);
  LoadMdsFiles();
}

void TComputeKappa::CreateActionsAndMenus() {
  FileOpenMDS = new QAction("Open MDS files...", this);
  FileClose = new QAction("Close this window", this);
  RunCompute = new QAction("Compute kappa", this);
  RunCAgree = new QAction("% agree (intvl, multi)", this);
  connect(FileOpenMDS, &QAction::triggered, this, [this] { FileOpenMDSExecute(); });
  connect(FileClose, &QAction::triggered, this, [this] { FileCloseExecute(); });
  connect(RunCompute, &QAction::triggered, this, [this] { RunComputeExecute(); });
  connect(RunCAgree, &QAction::triggered, this, [this] { RunCAgreeExecute(); });
  ProgressBar1 = AddAnalysisMenus(*this, FileOpenMDS, FileClose, {RunCompute, RunCAgree}, Host.RunOptionsAction());
}

QWidget* TComputeKappa::CreateCodePanels() {
  auto* panels = new QWidget(this);
  auto* grid = new QGridLayout(panels);
  CodesInFile = MultiSelectList(panels);
  PickedCodes = MultiSelectList(panels);
  MoveAllCodes = new QPushButton("move all", panels);
  MoveSelCodes = new QPushButton("move sel.", panels);
  OmitSelCodes = new QPushButton("move sel.", panels);
  OmitAllCodes = new QPushButton("move all", panels);
  grid->addWidget(new QLabel("Select codes in file...", panels), 0, 0, 1, 2);
  grid->addWidget(new QLabel("...to use for kappa.", panels), 0, 2, 1, 2);
  grid->addWidget(CodesInFile, 1, 0, 1, 2);
  grid->addWidget(PickedCodes, 1, 2, 1, 2);
  grid->addWidget(MoveAllCodes, 2, 0);
  grid->addWidget(MoveSelCodes, 2, 1);
  grid->addWidget(OmitSelCodes, 2, 2);
  grid->addWidget(OmitAllCodes, 2, 3);
  return panels;
}

TNumberUpDown* TComputeKappa::CreateUpDown(QWidget* parent, const QString& text, int maxLength, int max) {
  auto* upDown = new TNumberUpDown(text, 0, max, DigitEditFilter(DigitRule{0, max, "0"}, Host.Dialogs()), parent);
  upDown->Edit()->setMaxLength(maxLength);
  return upDown;
}

QWidget* TComputeKappa::CreateOptionsPanel() {
  auto* options = new QWidget(this);
  auto* column = new QVBoxLayout(options);

  auto* markers = new QGridLayout;
  Markers = new QPlainTextEdit(options);
  Markers->setMaximumWidth(60);
  SaveButton = new QPushButton("save", options);
  LoadButton = new QPushButton("load", options);
  markers->addWidget(Markers, 0, 0, 3, 1);
  markers->addWidget(new QLabel("<< use these symbols for plots", options), 0, 1);
  markers->addWidget(SaveButton, 1, 1);
  markers->addWidget(LoadButton, 2, 1);
  column->addLayout(markers);
  Picked = new TPickedCodes(this, Host.Dialogs(),
                            {CodesInFile, PickedCodes, MoveAllCodes, MoveSelCodes, OmitSelCodes, OmitAllCodes,
                             Markers, SaveButton, LoadButton});

  TolerancePanel = new QWidget(options);
  auto* tolerances = new QGridLayout(TolerancePanel);
  tolerances->setContentsMargins(0, 0, 0, 0);
  tolerances->addWidget(KapaTimeTol = CreateUpDown(TolerancePanel, "2", 5, 32767), 0, 0);
  tolerances->addWidget(new QLabel("Time tol (\u00B1TUs)", TolerancePanel), 0, 1);
  tolerances->addWidget(KapaEventTol = CreateUpDown(TolerancePanel, "5", 5, 32767), 1, 0);
  tolerances->addWidget(new QLabel("Event tol (TUs)", TolerancePanel), 1, 1);
  tolerances->addWidget(KapaOverlap = CreateUpDown(TolerancePanel, "80", 3, 100), 2, 0);
  tolerances->addWidget(new QLabel("% overlap", TolerancePanel), 2, 1);
  column->addWidget(TolerancePanel);

  auto* lineLength = new QHBoxLayout;
  KapaLineLength = new QComboBox(options);
  KapaLineLength->addItems(LineLengths);
  KapaLineLength->setCurrentText("100");
  lineLength->addWidget(KapaLineLength);
  lineLength->addWidget(new QLabel("Line length", options));
  column->addLayout(lineLength);

  CheckKapaAgreePlot = new QCheckBox("Plot time-unit agreement?", options);
  CheckKapaAgreePlot->setChecked(true);
  CheckKapaAlignPlot = new QCheckBox("Plot event agreement?", options);
  CheckKapaAlignPlot->setChecked(true);
  column->addWidget(CheckKapaAgreePlot);
  column->addWidget(CheckKapaAlignPlot);
  ResultsBox = new TRadioGroup("When you selelct RUN:", ResultsBoxItems, 1, options);
  column->addWidget(ResultsBox);
  TULabel = new QLabel("TUs =", options);
  column->addWidget(TULabel);
  column->addStretch(1);
  return options;
}

void TComputeKappa::LoadMdsFiles() {
  DesktopDialogue dialogue(Host.Dialogs(), *ProgressBar1);
  AgreementLoad load;
  try {
    load = LoadAgreementFiles(Host.ObserverFile(1).toStdString(), Host.ObserverFile(2).toStdString(), dialogue);
  } catch (const std::exception& error) {
    Host.Dialogs().ShowError(QString::fromStdString(error.what()));
    return;
  }
  switch (load.Outcome) {
    case AgreementLoadOutcome::NotLoaded:
      return;
    case AgreementLoadOutcome::Refused:
      RunCompute->setEnabled(false);
      return;
    case AgreementLoadOutcome::Aborted:
    case AgreementLoadOutcome::Loaded:
      break;
  }
  Files = std::move(load.Files);
  setWindowTitle(QString::fromStdString(load.Caption));
  FirstRun = true;
  TypeFlags = SetDataTypeFlags(Files.DataType());
  CodesInFile->clear();
  for (const std::string& code : load.CodesInFile) CodesInFile->addItem(QString::fromStdString(code));
  PickedCodes->clear();
  Markers->setPlainText(FromLines(load.Markers).join('\n'));
  if (load.Outcome == AgreementLoadOutcome::Aborted) {
    RunCompute->setEnabled(false);
    return;
  }
  ShowControlsForDataType();
  RunCompute->setEnabled(true);
}

void TComputeKappa::ShowControlsForDataType() {
  const AgreementControls controls = ControlsForDataType(Files.DataType());
  CheckKapaAlignPlot->setVisible(controls.AlignPlotVisible);
  CheckKapaAgreePlot->setVisible(controls.AgreePlotVisible);
  if (controls.AgreePlotVisible) CheckKapaAgreePlot->setText(QString::fromUtf8(controls.AgreePlotCaption.data(), int(controls.AgreePlotCaption.size())));
  TolerancePanel->setVisible(controls.TolerancesVisible);
  KapaTimeTol->SetPosition(controls.TimeTol);
  KapaEventTol->SetPosition(controls.EventTol);
  KapaOverlap->SetPosition(controls.Overlap);
  TULabel->setText(QString::fromStdString(TimeUnitsCaption(Files.Units())));
  KapaLineLength->setCurrentText(QString::fromUtf8(controls.LineLength.data(), int(controls.LineLength.size())));
}

void TComputeKappa::FileOpenMDSExecute() {
  if (Host.OpenObserverFiles()) LoadMdsFiles();
}

void TComputeKappa::FileCloseExecute() { close(); }

void TComputeKappa::RunComputeExecute() {
  KappaRunInput input;
  input.PickedCodes = Picked->PickedNames();
  if (!input.PickedCodes.empty()) {
    dynString symbols = MemoLines(*Markers);
    const dynString before = symbols;
    NormalizeSymbolList(symbols, PickedCodes->count());
    if (symbols != before) ShowMemoLines(*Markers, symbols);
  }
  input.Markers = MemoLines(*Markers);
  input.TimeTol = KapaTimeTol->Position();
  input.EventTol = KapaEventTol->Position();
  input.Overlap = KapaOverlap->Position();
  input.EventTolText = KapaEventTol->Edit()->text().toStdString();
  input.OverlapText = KapaOverlap->Edit()->text().toStdString();
  input.LineLength = KapaLineLength->currentText().toStdString();
  input.AgreePlot = CheckKapaAgreePlot->isChecked();
  input.AlignPlot = CheckKapaAlignPlot->isChecked();
  input.ResultsBox = ResultsBox->ItemIndex();
  input.FirstRun = FirstRun;
  input.NDigits = Host.Options().NDigits;
  input.Format = Host.Numbers();
  KappaRunOutput output;
  DesktopDialogue dialogue(Host.Dialogs(), *ProgressBar1);
  // A fault ends the run; what it wrote before stays.
  std::string fault;
  try {
    RunComputeKappa(Files, input, output, dialogue);
  } catch (const std::exception& error) {
    fault = error.what();
  }
  ProgressBar1->setValue(0);
  if (output.Started) FirstRun = false;
  if (output.ClearResults) Host.ClearResults();
  if (!output.Lines.empty()) Host.AppendResults(output.Lines);
  if (!fault.empty()) Host.Dialogs().ShowError(QString::fromStdString(fault));
}

void TComputeKappa::RunCAgreeExecute() {
  dynString lines;
  DesktopDialogue dialogue(Host.Dialogs(), *ProgressBar1);
  std::string fault;
  try {
    RunPercentAgreement(Files, Picked->PickedNames(), ResultsBox->ItemIndex() != 0, lines, dialogue);
  } catch (const std::exception& error) {
    fault = error.what();
  }
  if (!lines.empty()) Host.AppendResults(lines);
  if (!fault.empty()) Host.Dialogs().ShowError(QString::fromStdString(fault));
}

void TComputeKappa::closeEvent(QCloseEvent* event) {
  Host.WindowClosed(*this);
  event->accept();
}

}  // namespace vork
