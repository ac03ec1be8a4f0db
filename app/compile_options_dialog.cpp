#include "app/compile_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/digit_edit.h"
#include "widgets/options_dialog_frame.h"
#include "compiler/lexer.h"

namespace vork {
namespace {

const char* const ErrorLimitItems[] = {"25", "50", "100", "500"};

void FillCommentList(QComboBox* combo, int index) {
  combo->addItem("none");
  for (std::size_t i = 1; i < CommentChars.size(); ++i) combo->addItem(QString(QChar(CommentChars[i])));
  combo->setCurrentIndex(index);
}

}  // namespace

TCompileOptions::TCompileOptions(OptionStore& store, Platform& platform, const QFont& mainFont,
                                 QWidget* parent)
    : QDialog(parent), Store(store), Dialogs(platform) {
  setObjectName("CompileOptions");
  CaseSenBox = new QCheckBox("Case sensitive codes", this);
  CaseSenBox->setChecked(store.CaseSensitive);
  ExclusiveBox = new QCheckBox("Exclusivity check", this);
  ExclusiveBox->setChecked(store.ExclusivityCheck);
  RepeatBox = new QCheckBox("Repeated code check", this);
  RepeatBox->setChecked(store.RepeatCheck);
  OneCharBox =
      new QCheckBox("All codes are a single character (event, interval, multi-event).", this);
  OneCharBox->setChecked(store.OneCharCodes);
  SingLCCombo = new QComboBox(this);
  FillCommentList(SingLCCombo, store.SingLineComX);
  MultLCCombo = new QComboBox(this);
  FillCommentList(MultLCCombo, store.MultLineComX);
  NErrorsCombo = new QComboBox(this);
  NErrorsCombo->setEditable(true);
  NErrorsCombo->setInsertPolicy(QComboBox::NoInsert);
  for (const char* item : ErrorLimitItems) NErrorsCombo->addItem(item);
  NErrorsCombo->setEditText(QString::number(store.MaxErrors));
  CompressMDSBox = new QCheckBox("Write compressed MDS files.", this);
  CompressMDSBox->setChecked(store.CompressMDS);
  MakeBackupBox = new QCheckBox("Backup last SDS file.", this);
  MakeBackupBox->setChecked(store.BackupSDS);
  CBWriteLog = new QCheckBox("Write log file?", this);
  CBWriteLog->setChecked(store.WriteLog);
  ButtonOK = new QPushButton("OK", this);
  ButtonCancel = new QPushButton("Cancel", this);

  auto* grid = new QGridLayout;
  grid->addWidget(SingLCCombo, 0, 0);
  grid->addWidget(new QLabel("for single line comment", this), 0, 1);
  grid->addWidget(MultLCCombo, 1, 0);
  grid->addWidget(new QLabel("for multi-line comment", this), 1, 1);
  grid->addWidget(NErrorsCombo, 2, 0);
  grid->addWidget(new QLabel("After this number of errors, ask to continue", this), 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  auto* layout = new QVBoxLayout(this);
  for (QCheckBox* box : {CaseSenBox, ExclusiveBox, RepeatBox, OneCharBox}) layout->addWidget(box);
  layout->addLayout(grid);
  for (QCheckBox* box : {CompressMDSBox, MakeBackupBox, CBWriteLog}) layout->addWidget(box);
  layout->addLayout(buttons);

  connect(NErrorsCombo, &QComboBox::editTextChanged, this, [this] { NErrorsComboChange(); });
  connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  SetUpOptionsDialog(*this, mainFont, "KELP compile options");
}

void TCompileOptions::NErrorsComboChange() {
  const DigitEdit edit = FilterDigitEdit(*NErrorsCombo->lineEdit(), ErrorLimitDigits, Dialogs);
  if (edit.NotANumber) {
    Dialogs.ShowError("'" + QString::fromStdString(edit.Text) + "' is not a valid integer value");
    return;
  }
  NErrors = edit.Value;
}

void TCompileOptions::ButtonOKClick() {
  int single = SingLCCombo->currentIndex();
  int multi = MultLCCombo->currentIndex();
  if (single > 0 && multi > 0 && SingLCCombo->currentText() == MultLCCombo->currentText()) {
    Dialogs.Message(BoxStyle::Error, "Single-line and multi-line comment character can't be same.",
                    Buttons::Ok);
    return;
  }
  Store.CaseSensitive = CaseSenBox->isChecked();
  Store.ExclusivityCheck = ExclusiveBox->isChecked();
  Store.RepeatCheck = RepeatBox->isChecked();
  Store.OneCharCodes = OneCharBox->isChecked();
  Store.SingLineComX = single;
  Store.MultLineComX = multi;
  if (NErrors > 0) Store.MaxErrors = NErrors;
  Store.CompressMDS = CompressMDSBox->isChecked();
  Store.BackupSDS = MakeBackupBox->isChecked();
  Store.WriteLog = CBWriteLog->isChecked();
  accept();
}

}  // namespace vork
