#include "app/compile_options_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using CompileOptions = testing::ShellFixture;

QStringList Items(QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i));
  return items;
}

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
  EXPECT_EQ(dialog.pos(), QPoint(230, 160));
  EXPECT_FALSE(dialog.CaseSenBox->isChecked());
  EXPECT_EQ(dialog.CaseSenBox->text(), "Case sensitive codes");
  EXPECT_FALSE(dialog.ExclusiveBox->isChecked());
  EXPECT_EQ(dialog.ExclusiveBox->text(), "Exclusivity check");
  EXPECT_TRUE(dialog.RepeatBox->isChecked());
  EXPECT_EQ(dialog.RepeatBox->text(), "Repeated code check");
  EXPECT_EQ(dialog.OneCharBox->text(),
            "All codes are a single character (event, interval, multi-event).");
  const QStringList comments = {"none", "!", "#", "%", "?", "[", "\\", "]",
                                "^",    "_", "`", "{", "|", "}", "~"};
  EXPECT_EQ(Items(dialog.SingLCCombo), comments);
  EXPECT_EQ(Items(dialog.MultLCCombo), comments);
  EXPECT_EQ(dialog.SingLCCombo->currentText(), "none");
  EXPECT_EQ(dialog.MultLCCombo->currentText(), "~");
  EXPECT_EQ(Items(dialog.NErrorsCombo), QStringList({"25", "50", "100", "500"}));
  EXPECT_EQ(dialog.NErrorsCombo->currentText(), "77");
  EXPECT_TRUE(dialog.CompressMDSBox->isChecked());
  EXPECT_EQ(dialog.CompressMDSBox->text(), "Write compressed MDS files.");
  EXPECT_TRUE(dialog.MakeBackupBox->isChecked());
  EXPECT_EQ(dialog.MakeBackupBox->text(), "Backup last SDS file.");
  EXPECT_EQ(dialog.CBWriteLog->text(), "Write log file?");
  QStringList labels;
  for (QLabel* label : dialog.findChildren<QLabel*>()) labels.push_back(label->text());
  EXPECT_TRUE(labels.contains("for single line comment"));
  EXPECT_TRUE(labels.contains("for multi-line comment"));
  EXPECT_TRUE(labels.contains("After this number of errors, ask to continue"));
}

TEST_F(CompileOptions, TheErrorLimitKeepsOnlyDigitsUpTo32767) {
  struct Case {
    const char* Typed;  // typed key by key over the selected text
    const char* Shown;
    int Beeps;
    int Stored;
  };
  const Case cases[] = {
      {"1a2", "12", 1, 12},
      {"40000", "32767", 1, 32767},
      {"x", "1", 1, 1},
      {"250", "250", 0, 250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Typed);
    OptionStore store;
    ScriptedPlatform platform;
    TCompileOptions dialog(store, platform, QFont());
    dialog.NErrorsCombo->lineEdit()->selectAll();
    testing::TypeKeys(dialog.NErrorsCombo->lineEdit(), c.Typed);
    EXPECT_EQ(dialog.NErrorsCombo->currentText(), c.Shown);
    EXPECT_EQ(platform.Beeps, c.Beeps);
    dialog.ButtonOK->click();
    EXPECT_EQ(store.MaxErrors, c.Stored);
    EXPECT_TRUE(platform.Unexpected.isEmpty());
  }
}

TEST_F(CompileOptions, DeletingTheWholeErrorLimitBeepsAndLeavesOne) {
  OptionStore store;
  TCompileOptions dialog(store, Platform, QFont());
  dialog.NErrorsCombo->lineEdit()->selectAll();
  testing::PressKey(dialog.NErrorsCombo->lineEdit(), Qt::Key_Delete);
  EXPECT_EQ(dialog.NErrorsCombo->currentText(), "1");
  EXPECT_EQ(Platform.Beeps, 1);
  dialog.NErrorsCombo->setCurrentIndex(3);  // picking an item counts as an edit
  EXPECT_EQ(dialog.NErrorsCombo->currentText(), "500");
  dialog.ButtonOK->click();
  EXPECT_EQ(store.MaxErrors, 500);
}

TEST_F(CompileOptions, ADigitStringTooLongForANumberShowsTheErrorBox) {
  OptionStore store;
  TCompileOptions dialog(store, Platform, QFont());
  dialog.NErrorsCombo->setEditText("99999999999999");
  ASSERT_EQ(Platform.Errors.size(), 1);
  EXPECT_EQ(Platform.Errors[0], "'99999999999999' is not a valid integer value");
  dialog.ButtonOK->click();
  EXPECT_EQ(store.MaxErrors, 25);
}

TEST_F(CompileOptions, TheErrorLimitChangesOnlyWhenEditedAndConfirmed) {
  OptionStore store;
  store.MaxErrors = 77;
  {
    TCompileOptions dialog(store, Platform, QFont());
    dialog.NErrorsCombo->setEditText("50");
    dialog.ButtonCancel->click();
  }
  EXPECT_EQ(store.MaxErrors, 77);
  {
    TCompileOptions dialog(store, Platform, QFont());
    dialog.CaseSenBox->setChecked(false);
    dialog.ButtonOK->click();
  }
  EXPECT_EQ(store.MaxErrors, 77);
  EXPECT_FALSE(store.CaseSensitive);
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
  EXPECT_EQ(Platform.Shown[0].ButtonSet, Buttons::Ok);
  EXPECT_EQ(Platform.Shown[0].Text, "Single-line and multi-line comment character can't be same.");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(store.RepeatCheck);

  // Both "none" is no clash: the compiler then knows no comment characters.
  dialog.SingLCCombo->setCurrentIndex(0);
  dialog.MultLCCombo->setCurrentIndex(0);
  dialog.ButtonOK->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(store.SingLineComX, 0);
  EXPECT_EQ(store.MultLineComX, 0);
  EXPECT_TRUE(store.RepeatCheck);
}

TEST_F(CompileOptions, OkStoresEveryOptionAndEscStoresNothing) {
  for (bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Esc");
    OptionStore store;
    ScriptedPlatform platform;
    TCompileOptions dialog(store, platform, QFont());
    dialog.show();
    dialog.CaseSenBox->setChecked(false);
    dialog.ExclusiveBox->setChecked(true);
    dialog.RepeatBox->setChecked(true);
    dialog.OneCharBox->setChecked(true);
    dialog.SingLCCombo->setCurrentIndex(2);
    dialog.MultLCCombo->setCurrentIndex(13);
    dialog.NErrorsCombo->setEditText("100");
    dialog.CompressMDSBox->setChecked(false);
    dialog.MakeBackupBox->setChecked(true);
    dialog.CBWriteLog->setChecked(true);
    if (ok) dialog.ButtonOK->click();
    else testing::PressKey(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(store.CaseSensitive, !ok);
    EXPECT_EQ(store.ExclusivityCheck, ok);
    EXPECT_EQ(store.RepeatCheck, ok);
    EXPECT_EQ(store.OneCharCodes, ok);
    EXPECT_EQ(store.SingLineComX, ok ? 2 : 3);
    EXPECT_EQ(store.MultLineComX, ok ? 13 : 1);
    EXPECT_EQ(store.MaxErrors, ok ? 100 : 25);
    EXPECT_EQ(store.CompressMDS, !ok);
    EXPECT_EQ(store.BackupSDS, ok);
    EXPECT_EQ(store.WriteLog, ok);
  }
}

TEST_F(CompileOptions, TheMainWindowCommandEditsItsOwnStore) {
  TMainForm& form = Start();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TCompileOptions*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->OneCharBox->setChecked(true);
    dialog->ButtonOK->click();
  });
  form.CompileChangeOptions->trigger();
  EXPECT_TRUE(form.Options.OneCharCodes);
}

}  // namespace
}  // namespace vork
