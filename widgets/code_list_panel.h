#pragma once

class QListWidget;
class QPushButton;
class QString;
class QWidget;

namespace vork {

// A list panel of the windows that pick codes: its caption above the list
// and two buttons side by side below it ("move all", "move sel." and the
// like). The list and the buttons become the panel's children.
QWidget* CodeListPanel(QWidget* parent, const QString& caption, QListWidget* list,
                       QPushButton* first, QPushButton* second);

}  // namespace vork
