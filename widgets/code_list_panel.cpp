#include "widgets/code_list_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vork {

QWidget* CodeListPanel(QWidget* parent, const QString& caption, QListWidget* list,
                       QPushButton* first, QPushButton* second) {
  auto* panel = new QWidget(parent);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 4, 0, 4);
  grid->addWidget(new QLabel(caption, panel), 0, 0, 1, 2);
  list->setParent(panel);
  first->setParent(panel);
  second->setParent(panel);
  grid->addWidget(list, 1, 0, 1, 2);
  grid->addWidget(first, 2, 0);
  grid->addWidget(second, 2, 1);
  return panel;
}

}  // namespace vork
