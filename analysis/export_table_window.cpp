#include "analysis/export_table_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/code_lists.h"
#include "core/results_format.h"
#include "widgets/code_list_box.h"
#include "widgets/text_lines.h"

namespace vork {
namespace {

const AnalysisWindowTraits ExportTableTraits = {
    "ExportTable", "Export N-Way Table", "Export N-Way Table - ", "Export N-way table",
    310,           60,                   (2 + 1) * 148 + 8,
    false,         false,                "",                      true,
    false};

constexpr int DesignOptionsWidth = 200;
constexpr int LoadedClientWidth = 444;

// Each shown dimension panel, the available codes' panel included, needs
// this much width.
constexpr int DimensionPanelWidth = 148;

}  // namespace

TExportTable::TExportTable(WindowHost& host, QWidget* parent)
    : TAnalysisWindow(host, parent, ExportTableTraits) {
  SaveDialog = {"Save table counts file", "Text file (*.txt)|*.txt|All files (*.*)|*.*", "txt", "",
                true, false};
  QWidget* listPanels = CreatePanels();
  QWidget* options = CreateOptionsPanel();
  ShowDimensionPanels();
  PlaceListsAndOptions(listPanels, options, DesignOptionsWidth);
  resize(LoadedClientWidth + OptionsPanelWidth, 440);
  FinishCreate();
}

QWidget* TExportTable::CreatePanels() {
  // One inner row holds every panel, so that only the shown ones count in
  // the window's least width.
  auto* outer = new QWidget(this);
  auto* outerRow = new QHBoxLayout(outer);
  outerRow->setContentsMargins(0, 0, 0, 0);
  auto* inner = new QWidget(outer);
  outerRow->addWidget(inner);
  auto* row = new QHBoxLayout(inner);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  Lists[0] = CodesInFile;
  Panels[0] = new QWidget(inner);
  auto* codes = new QGridLayout(Panels[0]);
  codes->setContentsMargins(4, 4, 0, 4);
  AddAll = new QPushButton("move all", Panels[0]);
  AddSel = new QPushButton("move sel.", Panels[0]);
  CodesInFile->setParent(Panels[0]);
  codes->addWidget(new QLabel("Codes in file:", Panels[0]), 0, 0, 1, 2);
  codes->addWidget(CodesInFile, 1, 0, 1, 2);
  codes->addWidget(AddAll, 2, 0);
  codes->addWidget(AddSel, 2, 1);
  // Sessions are always pooled: only the factors are chosen.
  PoolOverSessions->setVisible(false);
  PoolingPanel->setParent(Panels[0]);
  codes->addWidget(PoolingPanel, 3, 0, 1, 2);
  // The panel is one dimension wide: the two factor lists stand one above
  // the other, each with its two buttons below it.
  auto* pooling = static_cast<QGridLayout*>(PoolingPanel->layout());
  QWidget* const stacked[][2] = {
      {FactorsInFileLabel, nullptr}, {FactorsInFile, nullptr}, {MoveAllFactors, MoveSelFactors},
      {FactorsPooledLabel, nullptr}, {FactorsPooled, nullptr}, {OmitSelFactors, OmitAllFactors}};
  for (int line = 0; line < 6; ++line) {
    QWidget* first = stacked[line][0];
    QWidget* second = stacked[line][1];
    pooling->removeWidget(first);
    if (second) {
      pooling->removeWidget(second);
      pooling->addWidget(first, line + 1, 0);
      pooling->addWidget(second, line + 1, 1);
    } else {
      pooling->addWidget(first, line + 1, 0, 1, 2);
    }
  }
  row->addWidget(Panels[0], 1);

  for (int k = 1; k <= MaxCodeDims; ++k) {
    Panels[k] = new QWidget(inner);
    auto* grid = new QGridLayout(Panels[k]);
    grid->setContentsMargins(4, 4, 0, 4);
    DmsNames[k] = new QLineEdit(Panels[k]);
    DmsNames[k]->setObjectName(QString("DmsName%1").arg(k));
    Lists[k] = MultiSelectList(Panels[k]);
    DelSel[k] = new QPushButton("move sel.", Panels[k]);
    DelAll[k] = new QPushButton("move all", Panels[k]);
    grid->addWidget(new QLabel(QString("Dimension %1 name:").arg(k), Panels[k]), 0, 0, 1, 2);
    grid->addWidget(DmsNames[k], 1, 0, 1, 2);
    grid->addWidget(Lists[k], 2, 0, 1, 2);
    grid->addWidget(DelSel[k], 3, 0);
    grid->addWidget(DelAll[k], 3, 1);
    row->addWidget(Panels[k], 1);
    connect(DelSel[k], &QPushButton::clicked, this, [this, k] { DelSelClick(k); });
    connect(DelAll[k], &QPushButton::clicked, this, [this, k] { DelAllClick(k); });
    connect(Lists[k], &QListWidget::itemDoubleClicked, this, [this, k] { DelSelClick(k); });
  }

  connect(AddAll, &QPushButton::clicked, this, [this] { AddAllClick(); });
  connect(AddSel, &QPushButton::clicked, this, [this] { AddSelClick(); });
  connect(CodesInFile, &QListWidget::itemDoubleClicked, this, [this] { AddSelClick(); });
  // The frame moves the factors first; what the move leaves decides how
  // many code dimensions there may be.
  for (QPushButton* button : {MoveAllFactors, MoveSelFactors, OmitSelFactors, OmitAllFactors})
    connect(button, &QPushButton::clicked, this, [this] { CheckPooling(); });
  for (QListWidget* list : {FactorsInFile, FactorsPooled})
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { CheckPooling(); });
  return outer;
}

QWidget* TExportTable::CreateOptionsPanel() {
  auto* options = new QWidget(this);
  auto* column = new QVBoxLayout(options);
  column->setContentsMargins(4, 4, 4, 4);

  auto* dims = new QHBoxLayout();
  NumDms = new QSpinBox(options);
  NumDms->setRange(MinCodeDims, MaxCodeDims);
  NumDms->setValue(MinCodeDims);
  dims->addWidget(NumDms);
  dims->addWidget(new QLabel("# dimensions", options), 1);
  column->addLayout(dims);

  MoveTo = new QGroupBox("Move codes to:", options);
  auto* moveTo = new QVBoxLayout(MoveTo);
  MoveToButtons = new QButtonGroup(MoveTo);
  for (int k = 1; k <= MaxCodeDims; ++k) {
    auto* button = new QRadioButton(QString::fromUtf8(DimNameTable[0][size_t(k - 1)].data()), MoveTo);
    MoveToButtons->addButton(button, k - 1);
    moveTo->addWidget(button);
  }
  MoveToButtons->button(0)->setChecked(true);
  column->addWidget(MoveTo);

  UseLaggedUnits = new QCheckBox("Use lagged units", options);
  CodesCantRepeat = new QCheckBox("Codes can't repeat", options);
  DisplayResults = new QCheckBox("On RUN, show lines in Results window.", options);
  AddEtcCode = new QCheckBox("Include &&= \"etc,\" i..e none of listed codes.", options);
  for (QCheckBox* box : {UseLaggedUnits, CodesCantRepeat, DisplayResults, AddEtcCode}) column->addWidget(box);
  CodesCantRepeat->setVisible(false);
  column->addStretch(1);

  connect(NumDms, &QSpinBox::valueChanged, this, [this](int value) { NumDmsClick(value > CurDms); });
  connect(MoveToButtons, &QButtonGroup::idClicked, this, [this] { MoveToClick(); });
  connect(UseLaggedUnits, &QCheckBox::clicked, this, [this] { UseLaggedUnitsClick(); });
  return options;
}

int TExportTable::MoveToIndex() const { return std::max(0, MoveToButtons->checkedId()); }

bool TExportTable::Lagged() const { return UseLaggedUnits->isChecked(); }

void TExportTable::ShowDimensionPanels() {
  for (int k = 1; k <= MaxCodeDims; ++k) Panels[k]->setVisible(k <= CurDms);
  setMinimumWidth((CurDms + 1) * DimensionPanelWidth + 8 + OptionsPanelWidth);
}

void TExportTable::Loaded() {
  if (Header.DataType == Timed || Header.DataType == State) {
    Answer answer = Host.Dialogs().Message(
        BoxStyle::Question, "Muli-way tables for timed-event data may be difficult to interpret. Proceed anyway?",
        Buttons::YesNo);
    // The load completes first; the window closes once it has been made.
    if (answer == Answer::No) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
  DimensionsOK = Header.NFactors < MaxUnpooledFactors;
  if (!DimensionsOK) Host.Dialogs().Notice("You will need to select some factors for pooling");
  {
    QSignalBlocker quiet(NumDms);
    NumDms->setValue(MinCodeDims);
  }
  CurDms = MinCodeDims;
  ShowDimensionPanels();
  resize(std::max(minimumWidth(), LoadedClientWidth + OptionsPanelWidth), height());

  CodesCantRepeat->setChecked(false);
  CodesCantRepeat->setVisible(false);
  const bool events = Header.DataType == Event;
  UseLaggedUnits->setChecked(events);
  UseLaggedUnits->setEnabled(!events);
  CodesCantRepeat->setVisible(Lagged());
  for (int k = 1; k <= MaxCodeDims; ++k) Lists[k]->clear();
  SetDimNames(Lagged(), 0);
  CheckPooling();
}

void TExportTable::SetDimNames(bool lagged, int keepIndex) {
  for (int k = 1; k <= MaxCodeDims; ++k)
    DmsNames[k]->setText(QString::fromUtf8(DimNameTable[lagged][size_t(k - 1)].data()));
  SetMoveToItems(lagged, keepIndex);
}

void TExportTable::SetMoveToItems(bool lagged, int keepIndex) {
  const int count = NumDms->value();
  for (int k = 1; k <= MaxCodeDims; ++k) {
    QAbstractButton* button = MoveToButtons->button(k - 1);
    button->setText(QString::fromUtf8(DimNameTable[lagged][size_t(k - 1)].data()));
    button->setVisible(k <= count);
  }
  MoveToButtons->button(std::min(keepIndex, count - 1))->setChecked(true);
  MoveToClick();
  SetDimensionsEnabled(DimensionsOK);
}

void TExportTable::MoveToClick() {
  const int k = MoveToIndex() + 1;
  EnableDimension(k);
  // Codes may stand in several dimensions, but only once in each.
  CodeList available;
  const CodeList chosen = ReadCodeList(*Lists[size_t(k)]);
  for (int c = 1; c <= Header.NCodes && c < int(Header.CodeNames.size()); ++c) {
    const std::string& code = Header.CodeNames[size_t(c)];
    if (std::find(chosen.Items.begin(), chosen.Items.end(), code) == chosen.Items.end())
      available.Items.push_back(code);
  }
  ShowCodeList(*Lists[0], available);
}

void TExportTable::EnableDimension(int k) {
  for (int j = 1; j <= MaxCodeDims; ++j) {
    for (QWidget* control : {static_cast<QWidget*>(Lists[j]), static_cast<QWidget*>(DelSel[j]),
                             static_cast<QWidget*>(DelAll[j])})
      control->setEnabled(j == k);
  }
}

void TExportTable::SetDimensionsEnabled(bool enable) {
  EnableDimension(enable ? MoveToIndex() + 1 : 0);
  for (QWidget* control : {static_cast<QWidget*>(NumDms), static_cast<QWidget*>(MoveTo),
                           static_cast<QWidget*>(AddAll), static_cast<QWidget*>(AddSel)})
    control->setEnabled(enable);
}

void TExportTable::NumDmsClick(bool up) {
  const int step = width() / (CurDms + 1);
  CurDms = NumDms->value();
  ShowDimensionPanels();
  resize(std::max(minimumWidth(), width() + (up ? step : -step)), height());
  SetMoveToItems(Lagged(), MoveToIndex());
}

void TExportTable::CheckPooling() {
  const PoolingLimits limits = vork::CheckPooling(FactorsInFile->count(), NumDms->value());
  DimensionsOK = limits.DimensionsOK;
  if (!DimensionsOK) {
    SetDimensionsEnabled(false);
  } else {
    // Each step down narrows the window as the down button would.
    for (int step = 0; step < limits.Lowerings; ++step) NumDms->setValue(NumDms->value() - 1);
    if (limits.Lowerings == 0) SetDimensionsEnabled(true);
  }
  NumDms->setMaximum(limits.NumDmsMax);
}

void TExportTable::UseLaggedUnitsClick() {
  if (Header.DataType == Event) return;
  if (Lagged()) {
    Answer answer = Host.Dialogs().Message(
        BoxStyle::Question, "Lagged n-way tables may be difficult to interpret for this data type. Proceed anyway?",
        Buttons::YesNo);
    if (answer != Answer::Yes) {
      UseLaggedUnits->setChecked(false);
      UseLaggedUnitsClick();
      return;
    }
    SetDimNames(true, MoveToIndex());
    CodesCantRepeat->setChecked(false);
    CodesCantRepeat->setVisible(true);
  } else {
    SetDimNames(false, MoveToIndex());
    CodesCantRepeat->setChecked(false);
    CodesCantRepeat->setVisible(false);
  }
}

void TExportTable::AddAllClick() { MoveAllCodeItems(*Lists[0], *Lists[size_t(MoveToIndex() + 1)]); }
void TExportTable::AddSelClick() { MoveSelectedCodes(*Lists[0], *Lists[size_t(MoveToIndex() + 1)]); }
void TExportTable::DelAllClick(int k) { MoveAllCodeItems(*Lists[size_t(k)], *Lists[0]); }
void TExportTable::DelSelClick(int k) { MoveSelectedCodes(*Lists[size_t(k)], *Lists[0]); }

void TExportTable::ResizePanels(int clientWidth) { (void)clientWidth; }

ExportTableChoices TExportTable::GatherChoices() const {
  ExportTableChoices choices;
  choices.FactorsInFile = ReadCodeList(*FactorsInFile).Items;
  for (int k = 1; k <= CurDms; ++k) {
    choices.CodeDims.push_back(ReadCodeList(*Lists[size_t(k)]).Items);
    choices.DimNames.push_back(DmsNames[k]->text().toStdString());
  }
  choices.LaggedUnits = Lagged();
  choices.CodesCantRepeat = CodesCantRepeat->isChecked();
  choices.AddEtcCode = AddEtcCode->isChecked();
  return choices;
}

bool TExportTable::RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) {
  const ExportTableChoices choices = GatherChoices();
  NWayTable table;
  if (!SetUpTable(Header, choices, table, dialogue)) return false;
  StartRun(frame, Header, MdsLines, output, dialogue);
  TallyFile(MdsLines, Header, choices, table, dialogue);
  if (choices.CodesCantRepeat) CheckStructuralZeros(table, dialogue);

  // The RUN ends in the count file's own save dialog and separator, so it
  // shows its lines itself and leaves the frame nothing to add. Rows that
  // would not fit in memory are not shown; the count file still gets them.
  if (DisplayResults->isChecked()) {
    const std::string refusal = ExportDisplayRefusal(table);
    if (refusal.empty())
      WriteExportTable(table, [&](const std::string& row) { output.ResultLines.push_back(row); });
    else
      dialogue.Notify(refusal);
  }
  output.ResultLines.push_back("");
  FirstRun = false;
  Host.AppendResults(output.ResultLines);
  output = RunOutput();
  SaveCountFile(table);
  dialogue.Progress(0, 100);
  return false;
}

void TExportTable::SaveCountFile(const NWayTable& table) {
  std::optional<QString> chosen = Host.Dialogs().SaveFileName(SaveDialog);
  if (!chosen) return;
  SaveDialog.FileName = *chosen;
  SaveExportTable(chosen->toStdString(), table);
  dynString lines = {"Saved: \t" + NameWithoutFolder(*chosen).toStdString() + " (table counts tab-delimited file)."};
  WriteSeparatorLine(lines);
  Host.AppendResults(lines);
}

}  // namespace vork
