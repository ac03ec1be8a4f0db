#include "app/platform/platform.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "app/platform/scripted_platform.h"

namespace vork {
namespace {

TEST(Platform, FiltersBecomeQtFilters) {
  const std::pair<const char*, const char*> cases[] = {
      {"text files (*.txt)|*.txt", "text files (*.txt)"},
      {"Raw or compiled (*.sds;*.mds)|*.sds;*.mds|All files (*.*)|*.*",
       "Raw or compiled (*.sds *.mds);;All files (*)"},
      {"*.txt (results files)|*.txt|*.* (all files)|*.*",
       "*.txt (results files) (*.txt);;*.* (all files) (*)"},
      {"", ""},
  };
  for (const auto& [written, qt] : cases) EXPECT_EQ(QtFileFilter(written).toStdString(), qt);
}

TEST(Platform, TheHostDecimalSeparatorIsOneThatResultsCanHold) {
  const std::pair<const char*, char> cases[] = {
      {"C", '.'}, {"de_DE", ','}, {"fr_FR", ','},
      {"ar_EG", '.'},  // the Arabic decimal separator is no single byte
  };
  for (const auto& [locale, separator] : cases) {
    EXPECT_EQ(HostDecimalSeparator(QLocale(locale)), separator) << locale;
  }
}

TEST(Platform, ScriptedAnswersComeInOrderAndTheUnscriptedAreNoted) {
  ScriptedPlatform platform;
  platform.Then(Answer::No).ThenFile("/tmp/x.txt").ThenFile(std::nullopt);
  Platform& desk = platform;
  EXPECT_EQ(desk.Message(BoxStyle::Question, "Save?", Buttons::YesNoCancel), Answer::No);
  EXPECT_EQ(desk.SaveFileName({"Save", "", "txt", "", true, false}), QString("/tmp/x.txt"));
  EXPECT_EQ(desk.OpenFileName({"Open", "", "txt", "", false, true}), std::nullopt);
  EXPECT_TRUE(platform.Unexpected.isEmpty());
  desk.Notice("Done.");
  EXPECT_EQ(desk.ChooseFont(QFont("Courier New", 10)), std::nullopt);
  EXPECT_EQ(platform.BoxTexts(), QStringList({"Save?", "Done."}));
  EXPECT_EQ(platform.Unexpected, QStringList({"message box: Done.", "font dialog"}));
}

}  // namespace
}  // namespace vork
