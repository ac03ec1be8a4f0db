#include "widgets/radio_group_box.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vork {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int itemIndex,
                         QWidget* parent)
    : QGroupBox(caption, parent), Buttons(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 2, 6, 2);
  layout->setSpacing(0);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    Buttons->addButton(button, i);
    layout->addWidget(button);
  }
  SetItemIndex(itemIndex);
  connect(Buttons, &QButtonGroup::idClicked, this, &TRadioGroup::Clicked);
  connect(Buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) emit ItemIndexChanged(id);
  });
}

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = Buttons->button(index)) button->setChecked(true);
}

QStringList TRadioGroup::Items() const {
  QStringList items;
  for (QAbstractButton* button : Buttons->buttons()) items.push_back(button->text());
  return items;
}

}  // namespace vork
