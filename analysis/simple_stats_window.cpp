#include "analysis/simple_stats_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "widgets/code_list_panel.h"
#include "widgets/digit_edit.h"
#include "widgets/picked_codes.h"
#include "widgets/radio_group_box.h"

namespace vork {
namespace {

const AnalysisWindowTraits SimpleStatsTraits = {
    "SimpleStats", "Simple Statistics", "Simple Statistics - ", "Compute simple stats",
    160,           210,                 566,
    true,          true,                "Export files:",        true,
    false};

// The options column is at least this wide; the list panels share the rest.
constexpr int DesignOptionsWidth = 262;

}  // namespace

TSimpleStats::TSimpleStats(WindowHost& host, QWidget* parent)
    : TAnalysisWindow(host, parent, SimpleStatsTraits) {
  QWidget* listPanels = CreateCodePanels();
  PlaceListsAndOptions(listPanels, CreateOptionsPanel(), DesignOptionsWidth);
  resize(600, 420);

  StatCB = {nullptr, CBfreq, CBrelf, CBrate, CBdura, CBreld, CBprob, CBavg,
            CBmin,   CBmax,  CBepso, CBgaps, CBonst, CBL10C};
  CBrateClick();
  CBavgClick();
  FinishCreate();
}

QWidget* TSimpleStats::CreateCodePanels() {
  auto* panels = new QWidget(this);
  auto* row = new QHBoxLayout(panels);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  MoveAllCodes = new QPushButton("move all ");
  MoveSelCodes = new QPushButton("move sel.");
  PickedCodes = MultiSelectList(nullptr);
  OmitSelCodes = new QPushButton("move sel.");
  OmitAllCodes = new QPushButton("move all");
  PanelCodes = CodeListPanel(panels, "Select codes from file...", CodesInFile, MoveAllCodes, MoveSelCodes);
  QWidget* panelPicked = CodeListPanel(panels, "...for simple stats.", PickedCodes, OmitSelCodes, OmitAllCodes);
  row->addWidget(PanelCodes);
  row->addWidget(panelPicked, 1);
  Picked = new TPickedCodes(this, Host.Dialogs(),
                            {CodesInFile, PickedCodes, MoveAllCodes, MoveSelCodes, OmitSelCodes, OmitAllCodes});
  return panels;
}

QWidget* TSimpleStats::CreateOptionsPanel() {
  auto* options = new QWidget(this);
  auto* column = new QVBoxLayout(options);
  column->setContentsMargins(4, 4, 4, 4);

  SimpleStatsBox = new QGroupBox("Simple stats:", options);
  auto* grid = new QGridLayout(SimpleStatsBox);
  grid->setContentsMargins(6, 2, 6, 2);
  grid->setVerticalSpacing(0);
  auto box = [this](const char* caption) { return new QCheckBox(caption, SimpleStatsBox); };
  CBfreq = box("frequency");
  CBrelf = box("relative frequency");
  CBrate = box("rate...");
  CBdura = box("duration");
  CBreld = box("relative duration");
  CBprob = box("probability");
  CBavg = box("average");
  CBmin = box("minimum");
  CBmax = box("maximum");
  LabelAnalFor = new QLabel("for:", SimpleStatsBox);
  CBepso = box("durations");
  CBgaps = box("gaps");
  CBonst = box("between onsets");
  CBL10C = box("latencies");
  CBfreq->setChecked(true);

  RateFactorBox = new QComboBox(SimpleStatsBox);
  RateFactorBox->setEditable(true);
  RateFactorBox->setCompleter(nullptr);  // a typed "180" stays 180, not the item "1800=half-hour"
  RateFactorBox->setInsertPolicy(QComboBox::NoInsert);  // Enter adds no item to the list
  RateFactorBox->lineEdit()->setMaxLength(14);
  RateFactorBox->addItems({"1=second", "60=minute", "600=10-min", "1800=half-hour", "3600=hour"});
  RateFactorBox->setCurrentIndex(3);

  grid->addWidget(CBfreq, 0, 0);
  grid->addWidget(CBrelf, 1, 0);
  grid->addWidget(CBrate, 2, 0);
  grid->addWidget(RateFactorBox, 2, 1);
  grid->addWidget(CBdura, 3, 0);
  grid->addWidget(CBreld, 4, 0);
  grid->addWidget(CBprob, 5, 0);
  grid->addWidget(CBavg, 6, 0);
  grid->addWidget(CBmin, 7, 0);
  grid->addWidget(CBmax, 8, 0);
  grid->addWidget(LabelAnalFor, 6, 1);
  grid->addWidget(CBepso, 7, 1);
  grid->addWidget(CBgaps, 8, 1);
  grid->addWidget(CBonst, 9, 1);
  grid->addWidget(CBL10C, 10, 1);

  column->addWidget(SimpleStatsBox);
  column->addWidget(ResultsBox);
  column->addWidget(ExportBox);
  column->addWidget(PoolingPanel, 1);

  connect(CBrate, &QCheckBox::clicked, this, [this] { CBrateClick(); });
  for (QCheckBox* check : {CBavg, CBmin, CBmax}) {
    connect(check, &QCheckBox::clicked, this, [this] { CBavgClick(); });
  }
  connect(RateFactorBox, &QComboBox::editTextChanged, this,
          [this] { RateFactorBoxChange(); });
  return options;
}

void TSimpleStats::CBrateClick() { RateFactorBox->setVisible(CBrate->isChecked()); }

void TSimpleStats::CBavgClick() {
  // The kind boxes keep their checked state while disabled.
  bool any = CBavg->isChecked() || CBmin->isChecked() || CBmax->isChecked();
  for (QCheckBox* kind : {CBepso, CBgaps, CBonst, CBL10C}) kind->setEnabled(any);
}

void TSimpleStats::RateFactorBoxChange() {
  // The number before "=" counts; "60=minute" reads 60.
  RateFactor = FilterDigitEdit(*RateFactorBox->lineEdit(), RateDigits, Host.Dialogs(), '=').Value;
}


void TSimpleStats::Loaded() {
  PickedCodes->clear();
  // The rate always follows what the rate box shows.
  const QString text = RateFactorBox->currentText();
  RateFactor = FilterDigits(text.left(text.indexOf('=')).toStdString(), RateDigits).Value;
}

void TSimpleStats::ResizePanels(int clientWidth) {
  PanelCodes->setFixedWidth(std::max(0, (clientWidth - OptionsPanelWidth) / 2));
}

bool TSimpleStats::RunAnalysis(const RunFrame& frame, RunOutput& output,
                               UserDialogue& dialogue) {
  SimpleStatsChoices choices;
  choices.PickedCodes = Picked->PickedNames();
  for (int box = 1; box <= NStatBoxes; ++box) choices.StatCB[box] = StatCB[box]->isChecked();
  choices.RateFactor = RateFactor;
  choices.Pooling = GatherPoolingChoices();
  try {
    bool ran = RunSimpleStats(MdsLines, LinePos0, Header, frame, choices, Pooling, dialogue,
                              output);
    ShowPoolingChoices(choices.Pooling);
    return ran;
  } catch (...) {
    ShowPoolingChoices(choices.Pooling);
    throw;
  }
}

}  // namespace vork
