#include "widgets/memo_find_replace.h"

#include "widgets/find_replace_dialog.h"

namespace vork {

MemoFindReplace::MemoFindReplace(QWidget* owner, MemoRef memo, UserDialogue& dialogue)
    : QObject(owner), Memo(memo), Dialogue(dialogue) {
  FindDialog = new TFindReplaceDialog(false, owner);
  ReplaceDialog = new TFindReplaceDialog(true, owner);
  connect(FindDialog, &TFindReplaceDialog::FindRequested, this, &MemoFindReplace::FindDialog1Find);
  connect(ReplaceDialog, &TFindReplaceDialog::FindRequested, this,
          &MemoFindReplace::ReplaceDialog1Find);
  connect(ReplaceDialog, &TFindReplaceDialog::ReplaceRequested, this,
          &MemoFindReplace::ReplaceDialog1Replace);
}

namespace {

void ShowBeside(TFindReplaceDialog* dialog) {
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

}  // namespace

void MemoFindReplace::EditSearchExecute() { ShowBeside(FindDialog); }

void MemoFindReplace::EditReplaceExecute() { ShowBeside(ReplaceDialog); }

void MemoFindReplace::FindDialog1Find() {
  FindNextInMemo(Memo, FindDialog->FindText(), FindDialog->WholeWord(), Dialogue);
}

void MemoFindReplace::ReplaceDialog1Find() {
  FindNextInMemo(Memo, ReplaceDialog->FindText(), ReplaceDialog->WholeWord(), Dialogue);
}

void MemoFindReplace::ReplaceDialog1Replace(bool replaceAll) {
  ReplaceInMemo(Memo, ReplaceDialog->FindText(), ReplaceDialog->ReplaceText(),
                ReplaceDialog->WholeWord(), replaceAll, Dialogue);
}

}  // namespace vork
