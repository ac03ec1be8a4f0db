#include "widgets/picked_codes.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "widgets/code_list_box.h"
#include "widgets/platform.h"
#include "widgets/plot_symbol_dialogs.h"

namespace vork {

TPickedCodes::TPickedCodes(QObject* parent, Platform& dialogs, const Controls& controls)
    : QObject(parent), Dialogs(dialogs), Parts(controls) {
  connect(Parts.MoveAllCodes, &QPushButton::clicked, this, [this] { MoveAllCodes(); });
  connect(Parts.MoveSelCodes, &QPushButton::clicked, this, [this] { MoveSelCodes(); });
  connect(Parts.OmitSelCodes, &QPushButton::clicked, this, [this] { OmitSelCodes(); });
  connect(Parts.OmitAllCodes, &QPushButton::clicked, this, [this] { OmitAllCodes(); });
  connect(Parts.CodesInFile, &QListWidget::itemDoubleClicked, this, [this] { MoveSelCodes(); });
  connect(Parts.PickedCodes, &QListWidget::itemDoubleClicked, this, [this] { OmitSelCodes(); });
  if (Parts.SaveButton) connect(Parts.SaveButton, &QPushButton::clicked, this, [this] { SaveSymbols(); });
  if (Parts.LoadButton) connect(Parts.LoadButton, &QPushButton::clicked, this, [this] { LoadSymbols(); });
}

void TPickedCodes::MoveAllCodes() {
  MoveAllCodeItems(*Parts.CodesInFile, *Parts.PickedCodes);
  ResetMarkers();
}

void TPickedCodes::MoveSelCodes() {
  MoveSelectedCodes(*Parts.CodesInFile, *Parts.PickedCodes);
  ResetMarkers();
}

void TPickedCodes::OmitSelCodes() {
  MoveSelectedCodes(*Parts.PickedCodes, *Parts.CodesInFile);
  ResetMarkers();
}

void TPickedCodes::OmitAllCodes() {
  MoveAllCodeItems(*Parts.PickedCodes, *Parts.CodesInFile);
  ResetMarkers();
}

void TPickedCodes::ResetMarkers() {
  if (Parts.Markers) vork::ResetMarkers(*Parts.PickedCodes, *Parts.Markers);
}

void TPickedCodes::SaveSymbols() {
  if (!Parts.Markers) return;
  RunCommand(Dialogs, [this] {
    const int lines = static_cast<int>(MemoLines(*Parts.Markers).size());
    SaveSymbolList(Dialogs, *Parts.Markers, std::min(Parts.PickedCodes->count(), lines));
  });
}

void TPickedCodes::LoadSymbols() {
  if (!Parts.Markers) return;
  RunCommand(Dialogs, [this] { LoadSymbolList(Dialogs, *Parts.Markers, Parts.PickedCodes->count()); });
}

dynString TPickedCodes::PickedNames() const {
  dynString names;
  for (int i = 0; i < Parts.PickedCodes->count(); ++i)
    names.push_back(Parts.PickedCodes->item(i)->text().toStdString());
  return names;
}

}  // namespace vork
