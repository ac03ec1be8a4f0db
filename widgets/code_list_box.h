#pragma once

#include "core/code_lists.h"

class QListWidget;

namespace vork {

// A code list box's items and selection as the engine's code list.
CodeList ReadCodeList(const QListWidget& box);

// Makes a code list box show the items of a code list, selected as the list
// marks them. Rows already there in the same order stay as they are (with
// their scroll position and current row); the others go or are appended.
void ShowCodeList(QListWidget& box, const CodeList& list);

// The "move sel." and "move all" buttons of every window that picks codes:
// the engine's move rules applied to two list boxes.
void MoveSelectedCodes(QListWidget& source, QListWidget& target);
void MoveAllCodeItems(QListWidget& source, QListWidget& target);

}  // namespace vork
