#pragma once

#include <QObject>

#include "widgets/memo_search.h"

namespace vork {

class TFindReplaceDialog;
class UserDialogue;

// The find and replace dialogs of one text window, working on its memo.
// Each window that offers "Find..." and "Replace..." holds one.
class MemoFindReplace : public QObject {
  Q_OBJECT

 public:
  MemoFindReplace(QWidget* owner, MemoRef memo, UserDialogue& dialogue);

  // "Find..." and "Replace...": show the dialog, which stays open beside
  // the window.
  void EditSearchExecute();
  void EditReplaceExecute();

  // The dialogs' buttons.
  void FindDialog1Find();
  void ReplaceDialog1Find();
  void ReplaceDialog1Replace(bool replaceAll);

  TFindReplaceDialog* FindDialog1() const { return FindDialog; }
  TFindReplaceDialog* ReplaceDialog1() const { return ReplaceDialog; }

 private:
  MemoRef Memo;
  UserDialogue& Dialogue;
  TFindReplaceDialog* FindDialog = nullptr;
  TFindReplaceDialog* ReplaceDialog = nullptr;
};

}  // namespace vork
