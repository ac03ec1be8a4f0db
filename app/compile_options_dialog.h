#pragma once

#include <QDialog>

#include "widgets/option_store.h"
#include "widgets/platform.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vork {

// "KELP compile options": the compiler's checks, the comment characters,
// the error limit, compressed output, the raw-file backup and the log file.
// OK stores them unless both comment characters are the same; Cancel and
// Esc store nothing.
class TCompileOptions : public QDialog {
  Q_OBJECT

 public:
  TCompileOptions(OptionStore& store, Platform& platform, const QFont& mainFont,
                  QWidget* parent = nullptr);

  // Every change of the error limit's text: only digits stay (a beep for
  // each one dropped), empty becomes "1", above 32767 becomes "32767".
  void NErrorsComboChange();
  void ButtonOKClick();

  QCheckBox* CaseSenBox = nullptr;
  QCheckBox* ExclusiveBox = nullptr;
  QCheckBox* RepeatBox = nullptr;
  QCheckBox* OneCharBox = nullptr;
  QComboBox* SingLCCombo = nullptr;
  QComboBox* MultLCCombo = nullptr;
  QComboBox* NErrorsCombo = nullptr;
  QCheckBox* CompressMDSBox = nullptr;
  QCheckBox* MakeBackupBox = nullptr;
  QCheckBox* CBWriteLog = nullptr;
  QPushButton* ButtonOK = nullptr;
  QPushButton* ButtonCancel = nullptr;

 private:
  OptionStore& Store;
  Platform& Dialogs;
  int NErrors = 0;  // 0: the error limit was not edited
};

}  // namespace vork
