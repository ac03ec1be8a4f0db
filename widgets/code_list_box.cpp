#include "widgets/code_list_box.h"

#include <QListWidget>

namespace vork {
namespace {

// Moves codes between two list boxes by a rule of the code lists.
template <class Move>
void MoveBetweenBoxes(QListWidget& source, QListWidget& target, Move move) {
  CodeList from = ReadCodeList(source);
  CodeList to = ReadCodeList(target);
  move(from, to);
  ShowCodeList(source, from);
  ShowCodeList(target, to);
}

}  // namespace

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
  // Rows that stay are kept, not made anew, so the box keeps its scroll
  // position and current row when codes leave it or join at its end.
  size_t next = 0;
  for (int row = 0; row < box.count();) {
    QListWidgetItem* item = box.item(row);
    if (next < list.Items.size() && item->text().toStdString() == list.Items[next]) {
      if (item->isSelected() != list.IsSelected(next)) item->setSelected(list.IsSelected(next));
      ++next;
      ++row;
    } else {
      delete box.takeItem(row);
    }
  }
  for (; next < list.Items.size(); ++next) {
    box.addItem(QString::fromStdString(list.Items[next]));
    if (list.IsSelected(next)) box.item(box.count() - 1)->setSelected(true);
  }
}

void MoveSelectedCodes(QListWidget& source, QListWidget& target) {
  MoveBetweenBoxes(source, target, [](CodeList& from, CodeList& to) { MoveSelectedCodes(from, to); });
}

void MoveAllCodeItems(QListWidget& source, QListWidget& target) {
  MoveBetweenBoxes(source, target, [](CodeList& from, CodeList& to) { MoveAllCodeItems(from, to); });
}

}  // namespace vork
