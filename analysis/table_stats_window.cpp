#include "analysis/table_stats_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/table_stats.h"
#include "widgets/code_list_box.h"
#include "widgets/code_list_panel.h"
#include "widgets/digit_edit.h"
#include "widgets/number_up_down.h"
#include "widgets/radio_group_box.h"
#include "core/code_lists.h"

namespace vork {
namespace {

const AnalysisWindowTraits TableStatsTraits = {
    "TableStats", "Table Statistics", "Table Statistics - ", "Compute table stats",
    190,          180,                714,
    true,         true,               "Export files",        true,
    false};

// The options column is at least this wide; the three list panels share the rest.
constexpr int DesignOptionsWidth = 262;

const QString Residual = QString::fromUtf8(ResidualCode.data(), int(ResidualCode.size()));

QStringList Items(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items.push_back(list.item(i)->text());
  return items;
}

dynString ItemTexts(const QListWidget& list) {
  dynString items;
  for (int i = 0; i < list.count(); ++i) items.push_back(list.item(i)->text().toStdString());
  return items;
}

void SetItems(QListWidget& list, const QStringList& items) {
  list.clear();
  list.addItems(items);
}

}  // namespace

TTableStats::TTableStats(WindowHost& host, QWidget* parent)
    : TAnalysisWindow(host, parent, TableStatsTraits) {
  QWidget* listPanels = CreateCodePanels();
  PlaceListsAndOptions(listPanels, CreateOptionsPanel(), DesignOptionsWidth);
  resize(760, 520);
  FinishCreate();
}

QWidget* TTableStats::CreateCodePanels() {
  auto* panels = new QWidget(this);
  auto* row = new QHBoxLayout(panels);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  GivenCodes = MultiSelectList(panels);
  TargetCodes = MultiSelectList(panels);
  MoveSelCodes = new QPushButton("move sel.");
  MoveAllCodes = new QPushButton("move all");
  OmitSelGivens = new QPushButton("move sel.");
  OmitAllGivens = new QPushButton("move all");
  OmitSelTargets = new QPushButton("move sel.");
  OmitAllTargets = new QPushButton("move all");
  PanelCodes = CodeListPanel(panels, "Select codes in file...", CodesInFile, MoveSelCodes, MoveAllCodes);
  PanelGiven = CodeListPanel(panels, "...for use as givens.", GivenCodes, OmitSelGivens, OmitAllGivens);
  QWidget* panelTarget =
      CodeListPanel(panels, "...for use as targets.", TargetCodes, OmitSelTargets, OmitAllTargets);
  row->addWidget(PanelCodes);
  row->addWidget(PanelGiven);
  row->addWidget(panelTarget, 1);

  connect(MoveSelCodes, &QPushButton::clicked, this, [this] { MoveSelCodesClick(); });
  connect(MoveAllCodes, &QPushButton::clicked, this, [this] { MoveAllCodesClick(); });
  connect(OmitSelGivens, &QPushButton::clicked, this, [this] { OmitSelGivensClick(); });
  connect(OmitAllGivens, &QPushButton::clicked, this, [this] { OmitAllGivensClick(); });
  connect(OmitSelTargets, &QPushButton::clicked, this, [this] { OmitSelTargetsClick(); });
  connect(OmitAllTargets, &QPushButton::clicked, this, [this] { OmitAllTargetsClick(); });
  connect(CodesInFile, &QListWidget::itemDoubleClicked, this, [this] { MoveSelCodesClick(); });
  connect(GivenCodes, &QListWidget::itemDoubleClicked, this, [this] { OmitSelGivensClick(); });
  connect(TargetCodes, &QListWidget::itemDoubleClicked, this, [this] { OmitSelTargetsClick(); });
  return panels;
}

TNumberUpDown* TTableStats::CreateLagEdit() {
  auto* lag = new TNumberUpDown("0", LagDigits.Least, LagDigits.Greatest,
                                DigitEditFilter(LagDigits, Host.Dialogs()), LagSpecs);
  lag->Edit()->setMaximumWidth(60);
  return lag;
}

QWidget* TTableStats::CreateOptionsPanel() {
  auto* options = new QWidget(this);
  auto* column = new QVBoxLayout(options);
  column->setContentsMargins(4, 4, 4, 4);

  MoveTo = new TRadioGroup("Move codes to:", {"givens", "targets"}, 0, options);
  AddResidualGiven = new QCheckBox("Add && to givens (&&= none of listed codes)", options);
  AddResidualTarget = new QCheckBox("Add && to targets (&& = none of listed codes)", options);

  LagSpecs = new QGroupBox("lag specifications:", options);
  auto* lags = new QHBoxLayout(LagSpecs);
  lags->setContentsMargins(6, 2, 6, 2);
  lags->addWidget(EditLagFrom = CreateLagEdit());
  lags->addWidget(new QLabel("to", LagSpecs));
  lags->addWidget(EditLagTo = CreateLagEdit());

  CellStatsBox = new QGroupBox("Cell stats:", options);
  T2x2StatsBox = new QGroupBox("2x2 table stats:", options);
  TableStatsBox = new QGroupBox("Table stats:", options);
  for (QGroupBox* box : {CellStatsBox, T2x2StatsBox, TableStatsBox}) {
    auto* list = new QVBoxLayout(box);
    list->setContentsMargins(6, 2, 6, 2);
    list->setSpacing(0);
  }
  for (int k = 0; k < NTableStatistics; ++k) {
    QGroupBox* box = k < PVAL ? CellStatsBox : k < LNOR ? T2x2StatsBox : TableStatsBox;
    StatCB[std::size_t(k)] = new QCheckBox(StatCaptions[std::size_t(k)], box);
    box->layout()->addWidget(StatCB[std::size_t(k)]);
  }
  StatCB[JNTF - 1]->setChecked(true);

  column->addWidget(MoveTo);
  column->addWidget(AddResidualGiven);
  column->addWidget(AddResidualTarget);
  column->addWidget(LagSpecs);
  column->addWidget(CellStatsBox);
  column->addWidget(T2x2StatsBox);
  column->addWidget(TableStatsBox);
  column->addWidget(ResultsBox);
  column->addWidget(ExportBox);
  column->addWidget(PoolingPanel, 1);

  connect(MoveTo, &TRadioGroup::Clicked, this, [this] { MoveToClick(); });
  // The frame marks the pooling changed for "Pool over sessions"; the
  // residual boxes do the same.
  for (QCheckBox* box : {AddResidualGiven, AddResidualTarget})
    connect(box, &QCheckBox::clicked, this, [this] { CheckPoolClick(); });
  return options;
}

QListWidget* TTableStats::PickedList() const {
  return MoveTo->ItemIndex() == 1 ? TargetCodes : GivenCodes;
}

QCheckBox* TTableStats::ResidualBox() const {
  return MoveTo->ItemIndex() == 1 ? AddResidualTarget : AddResidualGiven;
}

void TTableStats::MoveToClick() {
  const int side = MoveTo->ItemIndex() == 1 ? 1 : 0;
  if (side == ShownSide) return;
  ShownSide = side;
  const bool givens = side == 0;
  if (givens) {
    TargetsInFile = Items(*CodesInFile);
    SetItems(*CodesInFile, GivensInFile);
  } else {
    GivensInFile = Items(*CodesInFile);
    SetItems(*CodesInFile, TargetsInFile);
  }
  for (QWidget* control : {static_cast<QWidget*>(OmitSelGivens), static_cast<QWidget*>(OmitAllGivens),
                           static_cast<QWidget*>(GivenCodes)})
    control->setEnabled(givens);
  for (QWidget* control : {static_cast<QWidget*>(OmitSelTargets),
                           static_cast<QWidget*>(OmitAllTargets), static_cast<QWidget*>(TargetCodes)})
    control->setEnabled(!givens);
}

void TTableStats::MoveCodes(bool all) {
  QListWidget* picked = PickedList();
  // "&" is taken off, the codes follow, and it comes back last when asked for.
  if (picked->count() > 0 && picked->item(picked->count() - 1)->text() == Residual)
    delete picked->takeItem(picked->count() - 1);
  if (all)
    MoveAllCodeItems(*CodesInFile, *picked);
  else
    MoveSelectedCodes(*CodesInFile, *picked);
  if (ResidualBox()->isChecked()) picked->addItem(Residual);
}

void TTableStats::MoveAllCodesClick() { MoveCodes(true); }
void TTableStats::MoveSelCodesClick() { MoveCodes(false); }
void TTableStats::OmitSelGivensClick() { MoveSelectedCodes(*GivenCodes, *CodesInFile); }
void TTableStats::OmitAllGivensClick() { MoveAllCodeItems(*GivenCodes, *CodesInFile); }
void TTableStats::OmitSelTargetsClick() { MoveSelectedCodes(*TargetCodes, *CodesInFile); }
void TTableStats::OmitAllTargetsClick() { MoveAllCodeItems(*TargetCodes, *CodesInFile); }

void TTableStats::CheckPoolClick() { Pooling.PoolingModified = true; }

void TTableStats::Loaded() {
  if (Header.CodeNames.empty()) Header.CodeNames.resize(1);
  Header.CodeNames[0] = std::string(ResidualCode);
  GivenCodes->clear();
  TargetCodes->clear();
  GivensInFile = Items(*CodesInFile);
  TargetsInFile = GivensInFile;
  {
    // Back to the givens side without swapping pools.
    QSignalBlocker quiet(MoveTo);
    MoveTo->SetItemIndex(0);
  }
  ShownSide = 0;
  for (QWidget* control : {static_cast<QWidget*>(OmitSelGivens), static_cast<QWidget*>(OmitAllGivens),
                           static_cast<QWidget*>(GivenCodes)})
    control->setEnabled(true);
  for (QWidget* control : {static_cast<QWidget*>(OmitSelTargets),
                           static_cast<QWidget*>(OmitAllTargets), static_cast<QWidget*>(TargetCodes)})
    control->setEnabled(false);
  const int lag = Header.DataType == Event ? 1 : 0;
  EditLagFrom->SetPosition(lag);
  EditLagTo->SetPosition(lag);
  const bool timedOrState = Header.DataType == Timed || Header.DataType == State;
  AddResidualGiven->setChecked(timedOrState);
  AddResidualTarget->setChecked(timedOrState);
}

void TTableStats::ResizePanels(int clientWidth) {
  const int width = std::max(0, (clientWidth - OptionsPanelWidth) / 3);
  PanelCodes->setFixedWidth(width);
  PanelGiven->setFixedWidth(width);
}

bool TTableStats::RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) {
  TableStatsRequest request;
  request.GivenCodes = ItemTexts(*GivenCodes);
  request.TargetCodes = ItemTexts(*TargetCodes);
  request.LagFrom = EditLagFrom->Position();
  request.LagTo = EditLagTo->Position();
  for (int k = 0; k < NTableStatistics; ++k)
    request.StatChecked[std::size_t(k)] = StatCB[std::size_t(k)]->isChecked();
  TableStatsOptions options;
  options.N2x2Min = Host.Options().N2x2Min;
  options.ELag1SZ = Host.Options().ELag1SZ;
  PoolingChoices choices = GatherPoolingChoices();
  try {
    const bool ran = RunTableStats(request, options, frame, Header, MdsLines, LinePos0, choices,
                                   Pooling, output, dialogue);
    ShowPoolingChoices(choices);
    return ran;
  } catch (...) {
    ShowPoolingChoices(choices);
    throw;
  }
}

}  // namespace vork
