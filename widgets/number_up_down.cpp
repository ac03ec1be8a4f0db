#include "widgets/number_up_down.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

namespace vork {

TNumberUpDown::TNumberUpDown(const QString& text, int least, int greatest, Filter filter, QWidget* parent)
    : QWidget(parent), Least(least), Greatest(greatest), Filtered(std::move(filter)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  LineEdit = new QLineEdit(text, this);
  Down = new QToolButton(this);
  Down->setArrowType(Qt::DownArrow);
  Up = new QToolButton(this);
  Up->setArrowType(Qt::UpArrow);
  row->addWidget(LineEdit);
  row->addWidget(Down);
  row->addWidget(Up);
  Value = Filtered(*LineEdit);
  connect(LineEdit, &QLineEdit::textChanged, this, [this] { Value = Filtered(*LineEdit); });
  connect(Up, &QToolButton::clicked, this, [this] { SetPosition(Value < Greatest ? Value + 1 : Greatest); });
  connect(Down, &QToolButton::clicked, this, [this] { SetPosition(Value > Least ? Value - 1 : Least); });
}

void TNumberUpDown::SetPosition(int value) {
  Value = std::clamp(value, Least, Greatest);
  const QSignalBlocker quiet(LineEdit);
  LineEdit->setText(QString::number(Value));
}

}  // namespace vork
