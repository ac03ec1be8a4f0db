#include "widgets/find_replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/dialog_buttons.h"

namespace vork {

TFindReplaceDialog::TFindReplaceDialog(bool replaceMode, QWidget* parent) : QDialog(parent) {
  setWindowTitle(replaceMode ? "Replace" : "Find");
  setModal(false);
  auto* fields = new QGridLayout;
  FindEdit = new QLineEdit(this);
  fields->addWidget(new QLabel("Find what:", this), 0, 0);
  fields->addWidget(FindEdit, 0, 1);
  if (replaceMode) {
    ReplaceEdit = new QLineEdit(this);
    fields->addWidget(new QLabel("Replace with:", this), 1, 0);
    fields->addWidget(ReplaceEdit, 1, 1);
  }
  WholeWordBox = new QCheckBox("Match whole word only", this);
  fields->addWidget(WholeWordBox, 2, 0, 1, 2);

  auto* buttons = new QVBoxLayout;
  FindNext = new QPushButton("Find Next", this);
  FindNext->setDefault(true);
  buttons->addWidget(FindNext);
  connect(FindNext, &QPushButton::clicked, this, &TFindReplaceDialog::FindRequested);
  if (replaceMode) {
    ReplaceOne = new QPushButton("Replace", this);
    ReplaceAll = new QPushButton("Replace All", this);
    buttons->addWidget(ReplaceOne);
    buttons->addWidget(ReplaceAll);
    connect(ReplaceOne, &QPushButton::clicked, this, [this] { emit ReplaceRequested(false); });
    connect(ReplaceAll, &QPushButton::clicked, this, [this] { emit ReplaceRequested(true); });
  }
  auto* cancel = new QPushButton("Cancel", this);
  buttons->addWidget(cancel);
  buttons->addStretch();
  connect(cancel, &QPushButton::clicked, this, &QDialog::hide);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  KeepEnterForTheDefaultButton(*this);
}

QString TFindReplaceDialog::FindText() const { return FindEdit->text(); }
void TFindReplaceDialog::SetFindText(const QString& text) { FindEdit->setText(text); }
QString TFindReplaceDialog::ReplaceText() const {
  return ReplaceEdit ? ReplaceEdit->text() : QString();
}
void TFindReplaceDialog::SetReplaceText(const QString& text) {
  if (ReplaceEdit) ReplaceEdit->setText(text);
}
bool TFindReplaceDialog::WholeWord() const { return WholeWordBox->isChecked(); }
void TFindReplaceDialog::SetWholeWord(bool on) { WholeWordBox->setChecked(on); }

}  // namespace vork
