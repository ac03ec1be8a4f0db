#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace vork {

// A captioned group of radio buttons, one item chosen, read and set by its
// index as the windows' option boxes are.
class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGroup(const QString& caption, const QStringList& items, int itemIndex,
              QWidget* parent = nullptr);

  int ItemIndex() const { return Buttons->checkedId(); }
  void SetItemIndex(int index);
  QStringList Items() const;

 signals:
  // The user clicked an item.
  void Clicked(int index);
  // Another item is chosen, by a click or by SetItemIndex.
  void ItemIndexChanged(int index);

 private:
  QButtonGroup* Buttons;
};

}  // namespace vork
