#include "app/compile_options_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using CompileOptions = testing::ShellFixture;
using testing::ComboItems;

TEST_F(CompileOptions, ShowsTheStoreAndItsChoices) {
  OptionStore store;
  store.CaseSensitive = false;
  store.RepeatCheck = true;
  store.SingLineComX = 0;
  store.MultLineComX = 14;
  store.MaxErrors = 77;
  store.BackupSDS = true;
  TCompileOptions dialog(store, Platform, QFont());
  EXPECT_EQ(dialog.windowTitle(), "KELP compile options");
  QString boxes;
  for (QCheckBox* box : {dialog.CaseSenBox, dialog.ExclusiveBox, dialog.RepeatBox,
                         dialog.OneCharBox, dialog.CompressMDSBox, dialog.MakeBackupBox,
                         dialog.CBWriteLog}) {
    boxes += (box->isChecked() ? "[x] " : "[ ] ") + box->text() + "\n";
  }
  EXPECT_EQ(boxes,
            "[ ] Case sensitive codes\n[ ] Exclusivity check\n[x] Repeated code check\n"
            "[ ] All codes are a single character (event, interval, multi-event).\n"
            "[x] Write compressed MDS files.\n[x] Backup last SDS file.\n[ ] Write log file?\n");
  EXPECT_EQ(ComboItems(dialog.SingLCCombo), "none|!|#|%|?|[|\\|]|^|_|`|{|||}|~");
  EXPECT_EQ(ComboItems(dialog.MultLCCombo), ComboItems(dialog.SingLCCombo));
  EXPECT_EQ(ComboItems(dialog.NErrorsCombo), "25|50|100|500");
  EXPECT_EQ(dialog.SingLCCombo->currentText() + " " + dialog.MultLCCombo->currentText() + " " +
                dialog.NErrorsCombo->currentText(),
            "none ~ 77");
}

TEST_F(CompileOptions, TheErrorLimitKeepsOnlyDigitsUpTo32767) {
  struct Case {
    const char* Typed;  // typed key by key over the selected text; "" presses Delete
    const char* Shown;
    int Beeps;
    int Stored;
  };
  const Case cases[] = {
      {"1a2", "12", 1, 12}, {"40000", "32767", 1, 32767}, {"x", "1", 1, 1},
      {"250", "250", 0, 250}, {"", "1", 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Typed);
    OptionStore store;
    ScriptedPlatform platform;
    TCompileOptions dialog(store, platform, QFont());
    dialog.NErrorsCombo->lineEdit()->selectAll();
    if (*c.Typed) testing::TypeKeys(dialog.NErrorsCombo->lineEdit(), c.Typed);
    else testing::PressKey(dialog.NErrorsCombo->lineEdit(), Qt::Key_Delete);
    EXPECT_EQ(dialog.NErrorsCombo->currentText(), c.Shown);
    EXPECT_EQ(platform.Beeps, c.Beeps);
    dialog.ButtonOK->click();
    EXPECT_EQ(store.MaxErrors, c.Stored);
    EXPECT_TRUE(platform.Unexpected.isEmpty());
  }
}

TEST_F(CompileOptions, TheErrorLimitChangesOnlyWhenEditedAndConfirmed) {
  OptionStore store;
  store.MaxErrors = 77;
  {
    TCompileOptions dialog(store, Platform, QFont());
    dialog.NErrorsCombo->setEditText("99999999999999");
    ASSERT_EQ(Platform.Errors.size(), 1);
    EXPECT_EQ(Platform.Errors[0], "'99999999999999' is not a valid integer value");
    dialog.ButtonOK->click();
  }
  EXPECT_EQ(store.MaxErrors, 77);
  {
    TCompileOptions dialog(store, Platform, QFont());
    dialog.NErrorsCombo->setCurrentIndex(3);  // picking an item counts as an edit
    dialog.ButtonOK->click();
  }
  EXPECT_EQ(store.MaxErrors, 500);
}

TEST_F(CompileOptions, TheSameCommentCharacterTwiceIsRefused) {
  OptionStore store;
  TCompileOptions dialog(store, Platform, QFont());
  dialog.show();
  dialog.SingLCCombo->setCurrentIndex(3);
  dialog.MultLCCombo->setCurrentIndex(3);
  dialog.RepeatBox->setChecked(true);
  Platform.Then(Answer::Ok);
  dialog.ButtonOK->click();
  ASSERT_EQ(Platform.Shown.size(), 1u);
  EXPECT_EQ(Platform.Shown[0].Style, BoxStyle::Error);
  EXPECT_EQ(Platform.Shown[0].Text, "Single-line and multi-line comment character can't be same.");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(store.RepeatCheck);

  // Both "none" is no clash: the compiler then knows no comment characters.
  dialog.SingLCCombo->setCurrentIndex(0);
  dialog.MultLCCombo->setCurrentIndex(0);
  dialog.ButtonOK->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(store.SingLineComX + store.MultLineComX, 0);
  EXPECT_TRUE(store.RepeatCheck);
}

TEST_F(CompileOptions, OkStoresEveryOptionAndEscStoresNothing) {
  for (bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Esc");
    OptionStore store;
    ScriptedPlatform platform;
    TCompileOptions dialog(store, platform, QFont());
    dialog.show();
    for (QCheckBox* box : {dialog.CaseSenBox, dialog.ExclusiveBox, dialog.RepeatBox,
                           dialog.OneCharBox, dialog.CompressMDSBox, dialog.MakeBackupBox,
                           dialog.CBWriteLog}) {
      box->toggle();
    }
    dialog.SingLCCombo->setCurrentIndex(2);
    dialog.MultLCCombo->setCurrentIndex(13);
    dialog.NErrorsCombo->setEditText("100");
    if (ok) dialog.ButtonOK->click();
    else testing::PressKey(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    QString stored;
    for (bool flag : {store.CaseSensitive, store.ExclusivityCheck, store.RepeatCheck,
                      store.OneCharCodes, store.CompressMDS, store.BackupSDS, store.WriteLog}) {
      stored += flag ? "1" : "0";
    }
    stored += QString(" %1 %2 %3").arg(store.SingLineComX).arg(store.MultLineComX)
                  .arg(store.MaxErrors);
    EXPECT_EQ(stored, ok ? "0111011 2 13 100" : "1000100 3 1 25");
  }
}

}  // namespace
}  // namespace vork
