#include "app/code_list_box.h"

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
  QListWidget available;
  QListWidget picked;
  available.setSelectionMode(QAbstractItemView::MultiSelection);
  available.addItems({"cry", "&", "fuss", "play"});
  picked.addItems({"look"});
  available.item(0)->setSelected(true);
  available.item(1)->setSelected(true);
  available.item(3)->setSelected(true);

  MoveSelectedCodes(available, picked);
  EXPECT_EQ(Texts(available), QStringList{"fuss"});
  EXPECT_EQ(Texts(picked), (QStringList{"look", "cry", "play"}));
  EXPECT_TRUE(picked.selectedItems().isEmpty());

  picked.addItem("&");
  MoveAllCodeItems(picked, available);
  EXPECT_EQ(picked.count(), 0);
  EXPECT_EQ(Texts(available), (QStringList{"fuss", "look", "cry", "play"}));
}

}  // namespace
}  // namespace vork
