#pragma once

#include <QDialog>

#include "core/user_dialogue.h"
#include "widgets/option_store.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace vork {

// "VORK run options": decimals, the 2x2 minimum, the decimal separator, the
// plot character, the structural-zero rule and the log file. OK stores
// them in the option store; Cancel and Esc store nothing.
class TRunOptions : public QDialog {
  Q_OBJECT

 public:
  TRunOptions(OptionStore& store, const QFont& mainFont, UserDialogue& dialogue,
              QWidget* parent = nullptr);

  void ButtonOKClick();

  QSpinBox* NDigits = nullptr;
  QSpinBox* N2x2Min = nullptr;
  QComboBox* DecSepBox = nullptr;
  QComboBox* PlotCharBox = nullptr;
  QCheckBox* ELag1SZBox = nullptr;
  QCheckBox* CBWriteLog = nullptr;
  QPushButton* ButtonOK = nullptr;
  QPushButton* ButtonCancel = nullptr;

 private:
  OptionStore& Store;
};

}  // namespace vork
