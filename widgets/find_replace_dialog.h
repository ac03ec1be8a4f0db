#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vork {

// The non-modal find dialog, or with ReplaceMode the replace dialog, of a
// text window. The search always runs forward and matches case, so only
// the whole-word option is offered.
class TFindReplaceDialog : public QDialog {
  Q_OBJECT

 public:
  TFindReplaceDialog(bool replaceMode, QWidget* parent);

  QString FindText() const;
  void SetFindText(const QString& text);
  QString ReplaceText() const;
  void SetReplaceText(const QString& text);
  bool WholeWord() const;
  void SetWholeWord(bool on);

  QPushButton* FindNextButton() const { return FindNext; }
  QPushButton* ReplaceButton() const { return ReplaceOne; }
  QPushButton* ReplaceAllButton() const { return ReplaceAll; }

 signals:
  void FindRequested();
  // All is true for the replace-all button.
  void ReplaceRequested(bool all);

 private:
  QLineEdit* FindEdit = nullptr;
  QLineEdit* ReplaceEdit = nullptr;
  QCheckBox* WholeWordBox = nullptr;
  QPushButton* FindNext = nullptr;
  QPushButton* ReplaceOne = nullptr;
  QPushButton* ReplaceAll = nullptr;
};

}  // namespace vork
