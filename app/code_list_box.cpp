#include "app/code_list_box.h"

#include <QListWidget>

namespace vork {

CodeList ReadCodeList(const QListWidget& box) {
  CodeList list;
  for (int i = 0; i < box.count(); ++i) {
    const QListWidgetItem* item = box.item(i);
    list.Items.push_back(item->text().toStdString());
    list.Selected.push_back(item->isSelected());
  }
  return list;
}

void ShowCodeList(QListWidget& box, const CodeList& list) {
  box.clear();
  for (size_t i = 0; i < list.Items.size(); ++i) {
    box.addItem(QString::fromStdString(list.Items[i]));
    if (list.IsSelected(i)) box.item(box.count() - 1)->setSelected(true);
  }
}

void MoveSelectedCodes(QListWidget& source, QListWidget& target) {
  CodeList from = ReadCodeList(source);
  CodeList to = ReadCodeList(target);
  MoveSelectedCodes(from, to);
  ShowCodeList(source, from);
  ShowCodeList(target, to);
}

void MoveAllCodeItems(QListWidget& source, QListWidget& target) {
  CodeList from = ReadCodeList(source);
  CodeList to = ReadCodeList(target);
  MoveAllCodeItems(from, to);
  ShowCodeList(source, from);
  ShowCodeList(target, to);
}

}  // namespace vork
