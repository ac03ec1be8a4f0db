#include "widgets/action_shortcuts.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace vork {

ActionKeysFirst::ActionKeysFirst(QWidget* field, QList<QAction*> actions)
    : QObject(field), Actions(std::move(actions)) {
  field->installEventFilter(this);
}

bool ActionKeysFirst::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (QAction* action : Actions) {
      if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed) {
        // Not taken by the field: the key goes on to the command.
        event->ignore();
        return true;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vork
