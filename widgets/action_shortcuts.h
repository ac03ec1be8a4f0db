#pragma once

#include <QList>
#include <QObject>

class QAction;
class QWidget;

namespace vork {

// Lets the keys of a window's commands reach the commands while a text
// field has the focus, instead of the field's own meaning of the same key
// (Ctrl+A saves as, it does not select all).
class ActionKeysFirst : public QObject {
  Q_OBJECT

 public:
  // Watches field for the keys of actions; the filter belongs to field.
  ActionKeysFirst(QWidget* field, QList<QAction*> actions);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QList<QAction*> Actions;
};

}  // namespace vork
