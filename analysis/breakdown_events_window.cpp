#include "analysis/breakdown_events_window.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "analysis/breakdown_events.h"
#include "widgets/code_list_box.h"
#include "widgets/code_list_panel.h"
#include "widgets/radio_group_box.h"

namespace vork {
namespace {

const AnalysisWindowTraits BreakdownTraits = {
    "BreakdownEvents", "Breakdown Events", "Breakdown Events - ", "Breakdown bouts",
    280,               90,                 714,
    true,              true,               "Export files",        false,
    true};

// The options column is at least this wide; the list panels share the rest.
constexpr int DesignOptionsWidth = 262;

enum MoveToIndex : int { FirstLevel = 0, SecondLevel = 1 };

dynString ListItems(const QListWidget& list) {
  dynString items;
  for (int i = 0; i < list.count(); ++i) items.push_back(list.item(i)->text().toStdString());
  return items;
}

}  // namespace

TBreakdownEvents::TBreakdownEvents(WindowHost& host, QWidget* parent)
    : TAnalysisWindow(host, parent, BreakdownTraits) {
  MoveTo = new TRadioGroup("Move codes to:", {"1st level", "2nd level"}, FirstLevel, this);
  QToolBar* tools = findChild<QToolBar*>();
  if (tools) tools->addWidget(MoveTo);
  QWidget* listPanels = CreateCodePanels();
  PlaceListsAndOptions(listPanels, CreateOptionsPanel(), DesignOptionsWidth);
  resize(760, 420);
  connect(MoveTo, &TRadioGroup::Clicked, this, [this] { MoveToClick(); });
  MoveToClick();
  FinishCreate();
}

QWidget* TBreakdownEvents::CreateCodePanels() {
  auto* panels = new QWidget(this);
  auto* row = new QHBoxLayout(panels);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  MoveAllCodes = new QPushButton("move all");
  MoveSelCodes = new QPushButton("move sel.");
  GivenCodes = MultiSelectList(nullptr);
  OmitSelGivens = new QPushButton("move sel.");
  OmitAllGivens = new QPushButton("move all");
  TargetCodes = MultiSelectList(nullptr);
  OmitSelTargets = new QPushButton("move sel.");
  OmitAllTargets = new QPushButton("move all");
  PanelCodes = CodeListPanel(panels, "Select codes in file...", CodesInFile, MoveAllCodes, MoveSelCodes);
  PanelFirstLevel =
      CodeListPanel(panels, "...for 1st level events, ", GivenCodes, OmitSelGivens, OmitAllGivens);
  row->addWidget(PanelCodes);
  row->addWidget(PanelFirstLevel);
  row->addWidget(
      CodeListPanel(panels, "...for 2nd level events.", TargetCodes, OmitSelTargets, OmitAllTargets), 1);

  connect(MoveAllCodes, &QPushButton::clicked, this, [this] { MoveAllCodesClick(); });
  connect(MoveSelCodes, &QPushButton::clicked, this, [this] { MoveSelCodesClick(); });
  connect(OmitSelGivens, &QPushButton::clicked, this, [this] { OmitSelGivensClick(); });
  connect(OmitAllGivens, &QPushButton::clicked, this, [this] { OmitAllGivensClick(); });
  connect(OmitSelTargets, &QPushButton::clicked, this, [this] { OmitSelTargetsClick(); });
  connect(OmitAllTargets, &QPushButton::clicked, this, [this] { OmitAllTargetsClick(); });
  connect(CodesInFile, &QListWidget::itemDoubleClicked, this, [this] { MoveSelCodesClick(); });
  connect(GivenCodes, &QListWidget::itemDoubleClicked, this, [this] { OmitSelGivensClick(); });
  connect(TargetCodes, &QListWidget::itemDoubleClicked, this, [this] { OmitSelTargetsClick(); });
  return panels;
}

QWidget* TBreakdownEvents::CreateOptionsPanel() {
  auto* options = new QWidget(this);
  auto* column = new QVBoxLayout(options);
  column->setContentsMargins(4, 4, 4, 4);
  ListOnsetTimes = new QCheckBox("List onset times for 1st level events.", options);
  TallyHierarch = new QCheckBox("Tally 2nd level events hierarchically.", options);
  column->addWidget(ListOnsetTimes);
  column->addWidget(TallyHierarch);
  column->addWidget(ResultsBox);
  column->addWidget(ExportBox);
  column->addStretch(1);
  return options;
}

QListWidget& TBreakdownEvents::PickedList() const {
  return MoveTo->ItemIndex() == SecondLevel ? *TargetCodes : *GivenCodes;
}

void TBreakdownEvents::MoveAllCodesClick() { MoveAllCodeItems(*CodesInFile, PickedList()); }
void TBreakdownEvents::MoveSelCodesClick() { MoveSelectedCodes(*CodesInFile, PickedList()); }
void TBreakdownEvents::OmitSelGivensClick() { MoveSelectedCodes(*GivenCodes, *CodesInFile); }
void TBreakdownEvents::OmitAllGivensClick() { MoveAllCodeItems(*GivenCodes, *CodesInFile); }
void TBreakdownEvents::OmitSelTargetsClick() { MoveSelectedCodes(*TargetCodes, *CodesInFile); }
void TBreakdownEvents::OmitAllTargetsClick() { MoveAllCodeItems(*TargetCodes, *CodesInFile); }

void TBreakdownEvents::MoveToClick() {
  const bool first = MoveTo->ItemIndex() == FirstLevel;
  for (QWidget* control : {static_cast<QWidget*>(GivenCodes), static_cast<QWidget*>(OmitSelGivens),
                           static_cast<QWidget*>(OmitAllGivens)}) {
    control->setEnabled(first);
  }
  for (QWidget* control : {static_cast<QWidget*>(TargetCodes), static_cast<QWidget*>(OmitSelTargets),
                           static_cast<QWidget*>(OmitAllTargets)}) {
    control->setEnabled(!first);
  }
}

void TBreakdownEvents::Loaded() {
  GivenCodes->clear();
  TargetCodes->clear();
  const bool accepted = BreakdownAcceptsDataType(Header.DataType);
  RunCompute->setEnabled(accepted);
  if (!accepted) {
    CodesInFile->clear();
    Host.Dialogs().Notice(BreakdownDataTypeNotice);
    return;
  }
  MoveTo->SetItemIndex(FirstLevel);
  MoveToClick();
}

void TBreakdownEvents::ResizePanels(int clientWidth) {
  const int width = std::max(0, (clientWidth - OptionsPanelWidth) / 3);
  PanelCodes->setFixedWidth(width);
  PanelFirstLevel->setFixedWidth(width);
}

bool TBreakdownEvents::RunAnalysis(const RunFrame& frame, RunOutput& output,
                                   UserDialogue& dialogue) {
  BreakdownChoices choices;
  choices.GivenCodes = ListItems(*GivenCodes);
  choices.TargetCodes = ListItems(*TargetCodes);
  choices.ListOnsetTimes = ListOnsetTimes->isChecked();
  choices.TallyHierarch = TallyHierarch->isChecked();
  return RunBreakdown(MdsLines, LinePos0, Header, frame, choices, dialogue, output);
}

}  // namespace vork
