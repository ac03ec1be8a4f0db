#include "app/run_options_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using RunOptions = testing::ShellFixture;

QStringList Items(QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i));
  return items;
}

QStringList LabelTexts(QWidget* dialog) {
  QStringList texts;
  for (QLabel* label : dialog->findChildren<QLabel*>()) texts.push_back(label->text());
  return texts;
}

TEST_F(RunOptions, ShowsTheStoreAndItsChoices) {
  OptionStore store;
  store.NDigits = 4;
  store.N2x2Min = 12000;
  store.DecSepX = 2;
  store.PlotCharX = 3;
  store.ELag1SZ = false;
  store.WriteLog = true;
  TRunOptions dialog(store, QFont("Arial", 12));
  EXPECT_EQ(dialog.windowTitle(), "VORK run options");
  EXPECT_EQ(dialog.pos(), QPoint(230, 160));
  EXPECT_EQ(dialog.font().family(), "Arial");
  EXPECT_EQ(dialog.NDigits->value(), 4);
  EXPECT_EQ(dialog.NDigits->minimum(), 0);
  EXPECT_EQ(dialog.NDigits->maximum(), 5);
  EXPECT_EQ(dialog.N2x2Min->text(), "12,000");
  EXPECT_EQ(dialog.N2x2Min->minimum(), 1);
  EXPECT_EQ(dialog.N2x2Min->maximum(), 32767);
  EXPECT_EQ(Items(dialog.DecSepBox), QStringList({"host", ".period", ",comma"}));
  EXPECT_EQ(dialog.DecSepBox->currentIndex(), 2);
  EXPECT_EQ(Items(dialog.PlotCharBox), QStringList({"+", "-", "=", "*", ">"}));
  EXPECT_EQ(dialog.PlotCharBox->currentIndex(), 3);
  EXPECT_FALSE(dialog.ELag1SZBox->isChecked());
  EXPECT_EQ(dialog.ELag1SZBox->text(),
            QString::fromUtf8("For event data, lag \u00b11 tables: if all diagonals = 0, treat "
                              "as structural 0."));
  EXPECT_TRUE(dialog.CBWriteLog->isChecked());
  EXPECT_EQ(dialog.CBWriteLog->text(), "Write log file?");
  EXPECT_EQ(dialog.ButtonOK->text(), "OK");
  EXPECT_EQ(dialog.ButtonCancel->text(), "Cancel");
  EXPECT_TRUE(LabelTexts(&dialog).contains("number of decimal digits for stats"));
  EXPECT_TRUE(LabelTexts(&dialog).contains(
      "2x2 table stats are defined only when all row && column sums are at least this value."));
  EXPECT_TRUE(LabelTexts(&dialog).contains("decimal separator character"));
  EXPECT_TRUE(LabelTexts(&dialog).contains("plot character"));
}

TEST_F(RunOptions, OkStoresAndCancelOrEscStoresNothing) {
  for (const char* closing : {"OK", "Cancel", "Esc"}) {
    SCOPED_TRACE(closing);
    OptionStore store;
    TRunOptions dialog(store, QFont());
    dialog.NDigits->setValue(5);
    dialog.N2x2Min->setValue(1);
    dialog.DecSepBox->setCurrentIndex(1);
    dialog.PlotCharBox->setCurrentIndex(4);
    dialog.ELag1SZBox->setChecked(false);
    dialog.CBWriteLog->setChecked(true);
    dialog.show();
    if (QString(closing) == "OK") dialog.ButtonOK->click();
    else if (QString(closing) == "Cancel") dialog.ButtonCancel->click();
    else testing::PressKey(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    bool stored = QString(closing) == "OK";
    EXPECT_EQ(store.NDigits, stored ? 5 : 2);
    EXPECT_EQ(store.N2x2Min, stored ? 1 : 5);
    EXPECT_EQ(store.DecSepX, stored ? 1 : 0);
    EXPECT_EQ(store.PlotCharX, stored ? 4 : 0);
    EXPECT_EQ(store.ELag1SZ, !stored);
    EXPECT_EQ(store.WriteLog, stored);
  }
}

TEST_F(RunOptions, TheDecimalSeparatorChoiceAppliesAtOnceAndHostRestoresTheStartOne) {
  TMainForm& form = Start();
  form.Options.HostDecSep = ';';  // as if the system wrote numbers with ";"
  const struct {
    int Index;
    char Separator;
  } choices[] = {{2, ','}, {1, '.'}, {0, ';'}};
  for (const auto& choice : choices) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TRunOptions*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->DecSepBox->setCurrentIndex(choice.Index);
      dialog->ButtonOK->click();
    });
    form.RunChangeOptions->trigger();
    EXPECT_EQ(form.Options.DecSepX, choice.Index);
    EXPECT_EQ(form.Numbers.DecimalSeparator, choice.Separator);
  }
}

}  // namespace
}  // namespace vork
