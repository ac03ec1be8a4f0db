#include "app/run_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "widgets/beeping_spin_box.h"
#include <QVBoxLayout>

#include "widgets/options_dialog_frame.h"

namespace vork {
namespace {

const char* const DecSepItems[] = {"host", ".period", ",comma"};
const char* const PlotCharItems[] = {"+", "-", "=", "*", ">"};

}  // namespace

TRunOptions::TRunOptions(OptionStore& store, const QFont& mainFont, UserDialogue& dialogue,
                         QWidget* parent)
    : QDialog(parent), Store(store) {
  setObjectName("RunOptions");
  NDigits = new TBeepingSpinBox(dialogue, this);
  NDigits->setRange(0, 5);
  NDigits->setValue(store.NDigits);
  N2x2Min = new TBeepingSpinBox(dialogue, this);
  N2x2Min->setRange(1, 32767);
  N2x2Min->setGroupSeparatorShown(true);
  N2x2Min->setValue(store.N2x2Min);
  DecSepBox = new QComboBox(this);
  for (const char* item : DecSepItems) DecSepBox->addItem(item);
  DecSepBox->setCurrentIndex(store.DecSepX);
  PlotCharBox = new QComboBox(this);
  for (const char* item : PlotCharItems) PlotCharBox->addItem(item);
  PlotCharBox->setCurrentIndex(store.PlotCharX);
  ELag1SZBox = new QCheckBox(
      QString::fromUtf8("For event data, lag \u00b11 tables: if all diagonals = 0, treat as "
                        "structural 0."),
      this);
  ELag1SZBox->setChecked(store.ELag1SZ);
  CBWriteLog = new QCheckBox("Write log file?", this);
  CBWriteLog->setChecked(store.WriteLog);
  ButtonOK = new QPushButton("OK", this);
  ButtonCancel = new QPushButton("Cancel", this);

  auto* grid = new QGridLayout;
  grid->addWidget(NDigits, 0, 0);
  grid->addWidget(new QLabel("number of decimal digits for stats", this), 0, 1);
  grid->addWidget(N2x2Min, 1, 0);
  auto* minLabel = new QLabel(
      "2x2 table stats are defined only when all row && column sums are at least this value.",
      this);
  // As the label of the number field "&&" shows one "&".
  minLabel->setBuddy(N2x2Min);
  minLabel->setWordWrap(true);
  grid->addWidget(minLabel, 1, 1);
  grid->addWidget(DecSepBox, 2, 0);
  grid->addWidget(new QLabel("decimal separator character", this), 2, 1);
  grid->addWidget(PlotCharBox, 3, 0);
  grid->addWidget(new QLabel("plot character", this), 3, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(ELag1SZBox);
  layout->addWidget(CBWriteLog);
  layout->addLayout(buttons);

  connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  SetUpOptionsDialog(*this, mainFont, "VORK run options");
}

void TRunOptions::ButtonOKClick() {
  Store.NDigits = NDigits->value();
  Store.N2x2Min = N2x2Min->value();
  Store.DecSepX = DecSepBox->currentIndex();
  Store.PlotCharX = PlotCharBox->currentIndex();
  Store.ELag1SZ = ELag1SZBox->isChecked();
  Store.WriteLog = CBWriteLog->isChecked();
  accept();
}

}  // namespace vork
