#include "widgets/memo_commands.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "widgets/memo_find_replace.h"
#include "widgets/platform.h"
#include "widgets/text_lines.h"

namespace vork {
namespace {

// Calls its handler on a double click in the widget it watches.
class DoubleClickFilter : public QObject {
 public:
  DoubleClickFilter(QObject* parent, std::function<void()> handler)
      : QObject(parent), Handler(std::move(handler)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) Handler();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> Handler;
};

}  // namespace

void FillEditMenu(QMenu& menu, const MemoEditActions& actions) {
  menu.addAction(actions.Undo);
  menu.addSeparator();
  menu.addActions({actions.Cut, actions.Copy, actions.Paste, actions.Delete});
  menu.addSeparator();
  menu.addActions({actions.Search, actions.Replace});
  menu.addSeparator();
  menu.addAction(actions.SelectAll);
}

void ConnectEditActions(const MemoEditActions& actions, QPlainTextEdit& memo, MemoFindReplace& finder) {
  QPlainTextEdit* text = &memo;
  QObject::connect(actions.Undo, &QAction::triggered, text, &QPlainTextEdit::undo);
  QObject::connect(actions.Cut, &QAction::triggered, text, &QPlainTextEdit::cut);
  QObject::connect(actions.Copy, &QAction::triggered, text, &QPlainTextEdit::copy);
  QObject::connect(actions.Paste, &QAction::triggered, text, &QPlainTextEdit::paste);
  QObject::connect(actions.Delete, &QAction::triggered, text, [text] { text->textCursor().removeSelectedText(); });
  QObject::connect(actions.SelectAll, &QAction::triggered, text, &QPlainTextEdit::selectAll);
  QObject::connect(actions.Search, &QAction::triggered, &finder, &MemoFindReplace::EditSearchExecute);
  QObject::connect(actions.Replace, &QAction::triggered, &finder, &MemoFindReplace::EditReplaceExecute);
}

void ToggleWordWrap(QPlainTextEdit& memo) {
  const bool wrap = memo.lineWrapMode() == QPlainTextEdit::NoWrap;
  memo.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  memo.setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void OnMemoDoubleClick(QPlainTextEdit& memo, std::function<void()> handler) {
  memo.viewport()->installEventFilter(new DoubleClickFilter(&memo, std::move(handler)));
}

bool SaveModifiedTextOK(Platform& dialogs, QTextDocument& document, const SaveQuestion& question,
                        const QString& fileName, const std::function<void()>& saveAs, bool forgetOnNo) {
  if (document.isEmpty() || !document.isModified()) return true;
  const QString text =
      fileName.isEmpty() ? QString(question.Unnamed) : NameWithoutFolder(fileName) + question.AfterName;
  switch (dialogs.Message(BoxStyle::Question, text, Buttons::YesNoCancel)) {
    case Answer::Yes:
      RunCommand(dialogs, saveAs);
      return !document.isModified();
    case Answer::No:
      if (forgetOnNo) document.setModified(false);
      return true;
    default:
      return false;
  }
}

}  // namespace vork
