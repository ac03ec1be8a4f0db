#include "analysis/plot_mds_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/plot_mds.h"
#include "core/plot_symbols.h"
#include "widgets/code_list_panel.h"
#include "widgets/option_store.h"
#include "widgets/picked_codes.h"
#include "widgets/plot_symbol_dialogs.h"
#include "widgets/radio_group_box.h"

namespace vork {
namespace {

const AnalysisWindowTraits PlotTraits = {
    "PlotMDS", "Plot MDS File", "Plot MDS File - ", "Plot MDS file",
    220,       150,             574,
    true,      false,           "",                 false,
    false};

// The options column is at least this wide; the list panels share the rest.
constexpr int DesignOptionsWidth = 270;

// The plot is written whatever the box says; it decides the clearing of the
// results window and the separator after the plot.
const char* const PlotResultsItems[] = {"plot without a separator line",
                                        "append plot and a separator line",
                                        "overwrite existing results"};

}  // namespace

TPlotMDS::TPlotMDS(WindowHost& host, QWidget* parent) : TAnalysisWindow(host, parent, PlotTraits) {
  QWidget* listPanels = CreateCodePanels();
  PlaceListsAndOptions(listPanels, CreateOptionsPanel(), DesignOptionsWidth);
  resize(620, 400);
  FinishCreate();
}

QWidget* TPlotMDS::CreateCodePanels() {
  auto* panels = new QWidget(this);
  auto* row = new QHBoxLayout(panels);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  MoveAllCodes = new QPushButton("move all ");
  MoveSelCodes = new QPushButton("move sel.");
  PickedCodes = MultiSelectList(nullptr);
  OmitSelCodes = new QPushButton("move sel.");
  OmitAllCodes = new QPushButton("move all");
  PanelCodes =
      CodeListPanel(panels, "Select codes from file...", CodesInFile, MoveAllCodes, MoveSelCodes);
  QWidget* panelPicked =
      CodeListPanel(panels, "...to plot.", PickedCodes, OmitSelCodes, OmitAllCodes);
  row->addWidget(PanelCodes);
  row->addWidget(panelPicked, 1);

  return panels;
}

QWidget* TPlotMDS::CreateOptionsPanel() {
  auto* options = new QWidget(this);
  auto* column = new QVBoxLayout(options);
  column->setContentsMargins(4, 4, 4, 4);

  auto* symbols = new QWidget(options);
  auto* grid = new QGridLayout(symbols);
  grid->setContentsMargins(0, 0, 0, 0);
  Markers = new QPlainTextEdit(symbols);
  Markers->setLineWrapMode(QPlainTextEdit::NoWrap);
  Markers->setFixedWidth(Markers->fontMetrics().horizontalAdvance("WWWW") + 16);
  SaveButton = new QPushButton("save", symbols);
  LoadButton = new QPushButton("load", symbols);
  grid->addWidget(Markers, 0, 0, 3, 1);
  grid->addWidget(new QLabel("<< use these symbols for plots", symbols), 0, 1, 1, 2);
  grid->addWidget(SaveButton, 1, 1);
  grid->addWidget(LoadButton, 1, 2);
  grid->setRowStretch(2, 1);

  auto* lineLength = new QWidget(options);
  auto* lengthRow = new QHBoxLayout(lineLength);
  lengthRow->setContentsMargins(0, 0, 0, 0);
  PlotLineLength = new QComboBox(lineLength);
  PlotLineLength->setEditable(true);
  PlotLineLength->setCompleter(nullptr);  // a typed "5" stays 5, not the item "50"
  PlotLineLength->setInsertPolicy(QComboBox::NoInsert);  // Enter adds no item to the list
  for (const char* item : PlotLineLengthItems) PlotLineLength->addItem(item);
  lengthRow->addWidget(PlotLineLength);
  lengthRow->addWidget(new QLabel("#units per line", lineLength), 1);

  const QList<QRadioButton*> items = ResultsBox->findChildren<QRadioButton*>();
  for (int i = 0; i < int(items.size()) && i < 3; ++i) items[i]->setText(PlotResultsItems[i]);

  column->addWidget(symbols, 1);
  column->addWidget(lineLength);
  column->addWidget(ResultsBox);

  Picked = new TPickedCodes(this, Host.Dialogs(),
                            {CodesInFile, PickedCodes, MoveAllCodes, MoveSelCodes, OmitSelCodes, OmitAllCodes,
                             Markers, SaveButton, LoadButton});
  return options;
}

void TPlotMDS::Loaded() {
  PickedCodes->clear();
  Markers->clear();
  PlotLineLength->setCurrentIndex(DefaultLineLengthItem(Header.DataType));
}

void TPlotMDS::ResizePanels(int clientWidth) {
  PanelCodes->setFixedWidth(std::max(0, (clientWidth - OptionsPanelWidth) / 2));
}

bool TPlotMDS::RunAnalysis(const RunFrame& frame, RunOutput& output, UserDialogue& dialogue) {
  PlotChoices choices;
  choices.PickedCodes = Picked->PickedNames();
  choices.Markers = MemoLines(*Markers);
  choices.LineLength = PlotLineLength->currentText().toStdString();
  const int plotCharX = Host.Options().PlotCharX;
  const bool known = plotCharX >= 0 && plotCharX < int(PlotChars.size());
  choices.PlotChar = PlotChars[std::size_t(known ? plotCharX : 0)];
  const dynString shown = choices.Markers;
  // The normalized symbols are shown, also when the RUN ends in a fault.
  auto showMarkers = [&] {
    if (choices.Markers != shown) ShowMemoLines(*Markers, choices.Markers);
  };
  try {
    const bool ran = RunPlotMds(MdsLines, LinePos0, Header, frame, choices, dialogue, output);
    showMarkers();
    return ran;
  } catch (...) {
    showMarkers();
    throw;
  }
}

}  // namespace vork
