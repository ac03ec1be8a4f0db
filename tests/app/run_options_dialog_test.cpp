#include "app/run_options_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using RunOptions = testing::ShellFixture;

TEST_F(RunOptions, ShowsTheStoreAndItsChoices) {
  OptionStore store;
  store.NDigits = 4;
  store.N2x2Min = 12000;
  store.DecSepX = 2;
  store.PlotCharX = 3;
  store.ELag1SZ = false;
  store.WriteLog = true;
  TRunOptions dialog(store, QFont("Arial", 12), Platform);
  EXPECT_EQ(dialog.windowTitle(), "VORK run options");
  EXPECT_EQ(QString("%1 %2-%3, %4 %5-%6")
                .arg(dialog.NDigits->value()).arg(dialog.NDigits->minimum())
                .arg(dialog.NDigits->maximum()).arg(dialog.N2x2Min->text())
                .arg(dialog.N2x2Min->minimum()).arg(dialog.N2x2Min->maximum()),
            "4 0-5, 12,000 1-32767");
  EXPECT_EQ(testing::ComboItems(dialog.DecSepBox), "host|.period|,comma");
  EXPECT_EQ(dialog.DecSepBox->currentIndex(), 2);
  EXPECT_EQ(testing::ComboItems(dialog.PlotCharBox), "+|-|=|*|>");
  EXPECT_EQ(dialog.PlotCharBox->currentIndex(), 3);
  EXPECT_FALSE(dialog.ELag1SZBox->isChecked());
  EXPECT_EQ(dialog.ELag1SZBox->text(),
            QString::fromUtf8("For event data, lag \u00b11 tables: if all diagonals = 0, treat "
                              "as structural 0."));
  EXPECT_TRUE(dialog.CBWriteLog->isChecked());
}

TEST_F(RunOptions, SpinBoxesBeepAtLettersAsOtherNumberFieldsDo) {
  OptionStore store;
  TRunOptions dialog(store, QFont(), Platform);
  dialog.N2x2Min->selectAll();
  testing::TypeKeys(dialog.N2x2Min->findChild<QLineEdit*>(), "4x2");
  EXPECT_EQ(dialog.N2x2Min->text(), "42");
  EXPECT_EQ(Platform.Beeps, 1);
}

TEST_F(RunOptions, OkStoresAndCancelStoresNothing) {
  for (bool ok : {true, false}) {
    SCOPED_TRACE(ok);
    OptionStore store;
    TRunOptions dialog(store, QFont(), Platform);
    dialog.NDigits->setValue(5);
    dialog.N2x2Min->setValue(1);
    dialog.DecSepBox->setCurrentIndex(1);
    dialog.PlotCharBox->setCurrentIndex(4);
    dialog.ELag1SZBox->setChecked(false);
    dialog.CBWriteLog->setChecked(true);
    dialog.show();
    if (ok) dialog.ButtonOK->click();
    else dialog.ButtonCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(QString("%1 %2 %3 %4 %5%6")
                  .arg(store.NDigits).arg(store.N2x2Min).arg(store.DecSepX).arg(store.PlotCharX)
                  .arg(int(store.ELag1SZ)).arg(int(store.WriteLog)),
              ok ? "5 1 1 4 01" : "2 5 0 0 10");
  }
}

TEST_F(RunOptions, TheDecimalSeparatorChoiceAppliesAtOnceAndHostRestoresTheStartOne) {
  TMainForm& form = Start();
  form.Options.HostDecSep = ';';  // as if the system wrote numbers with ";"
  const std::pair<int, char> choices[] = {{2, ','}, {1, '.'}, {0, ';'}};
  for (const auto& [index, separator] : choices) {
    QTimer::singleShot(0, [index = index] {
      auto* dialog = qobject_cast<TRunOptions*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->DecSepBox->setCurrentIndex(index);
      dialog->ButtonOK->click();
    });
    form.RunChangeOptions->trigger();
    EXPECT_EQ(form.Options.DecSepX, index);
    EXPECT_EQ(form.Numbers.DecimalSeparator, separator);
  }
}

}  // namespace
}  // namespace vork
