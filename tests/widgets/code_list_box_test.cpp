#include "widgets/code_list_box.h"

#include <QListWidget>

#include <gtest/gtest.h>

namespace vork {
namespace {

QStringList Texts(const QListWidget& box) {
  QStringList texts;
  for (int i = 0; i < box.count(); ++i) texts << box.item(i)->text();
  return texts;
}

TEST(CodeListBox, MoveButtonsFollowTheCodeListRules) {
  QListWidget available, picked;
  available.setSelectionMode(QAbstractItemView::MultiSelection);
  available.addItems({"cry", "&", "fuss", "play"});
  picked.addItems({"look"});
  for (int row : {0, 1, 3}) available.item(row)->setSelected(true);

  MoveSelectedCodes(available, picked);
  EXPECT_EQ(Texts(available), QStringList{"fuss"});
  EXPECT_EQ(Texts(picked), (QStringList{"look", "cry", "play"}));
  EXPECT_TRUE(picked.selectedItems().isEmpty());

  picked.addItem("&");
  MoveAllCodeItems(picked, available);
  EXPECT_EQ(picked.count(), 0);
  EXPECT_EQ(Texts(available), (QStringList{"fuss", "look", "cry", "play"}));
}

TEST(CodeListBox, RowsThatStayKeepTheirPlaceInTheBox) {
  QListWidget available, picked;
  available.setSelectionMode(QAbstractItemView::MultiSelection);
  available.addItems({"alert", "cry", "fuss", "look", "play"});
  picked.addItems({"sleep", "wake"});
  picked.setCurrentRow(1, QItemSelectionModel::NoUpdate);
  QListWidgetItem* look = available.item(3);
  available.setCurrentRow(3, QItemSelectionModel::NoUpdate);

  // Nothing selected: the button changes nothing, not even the current row.
  MoveSelectedCodes(available, picked);
  EXPECT_EQ(available.item(3), look);
  EXPECT_EQ(available.currentRow(), 3);
  EXPECT_EQ(picked.currentRow(), 1);

  available.item(1)->setSelected(true);
  MoveSelectedCodes(available, picked);
  EXPECT_EQ(Texts(available), (QStringList{"alert", "fuss", "look", "play"}));
  EXPECT_EQ(Texts(picked), (QStringList{"sleep", "wake", "cry"}));
  EXPECT_EQ(available.item(2), look);
  EXPECT_EQ(available.currentItem(), look);
  EXPECT_EQ(picked.currentRow(), 1);

  // An empty source: "move all" leaves the target as it was.
  QListWidget empty;
  MoveAllCodeItems(empty, picked);
  EXPECT_EQ(picked.currentRow(), 1);
}

}  // namespace
}  // namespace vork
