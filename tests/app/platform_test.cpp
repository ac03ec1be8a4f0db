#include "app/platform/platform.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "app/platform/scripted_platform.h"

namespace vork {
namespace {

TEST(Platform, FiltersBecomeQtFilters) {
  struct Case {
    const char* Written;
    const char* Qt;
  };
  const Case cases[] = {
      {"text files (*.txt)|*.txt", "text files (*.txt)"},
      {"Raw or compiled (*.sds;*.mds)|*.sds;*.mds|All files (*.*)|*.*",
       "Raw or compiled (*.sds *.mds);;All files (*)"},
      {"*.txt (results files)|*.txt|*.* (all files)|*.*",
       "*.txt (results files) (*.txt);;*.* (all files) (*)"},
      {"MDS data file (*.mds)|*.mds", "MDS data file (*.mds)"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(QtFileFilter(c.Written).toStdString(), c.Qt) << c.Written;
}

TEST(Platform, TheHostDecimalSeparatorIsOneThatResultsCanHold) {
  struct Case {
    const char* Locale;
    char Separator;
  };
  const Case cases[] = {
      {"C", '.'}, {"en_US", '.'}, {"de_DE", ','}, {"fr_FR", ','},
      {"ar_EG", '.'},  // the Arabic decimal separator is no single byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HostDecimalSeparator(QLocale(c.Locale)), c.Separator) << c.Locale;
  }
}

TEST(Platform, ScriptedAnswersComeInOrderAndTheUnscriptedAreNoted) {
  ScriptedPlatform platform;
  platform.Then(Answer::No).Then(Answer::Cancel).ThenFile("/tmp/x.txt").ThenFile(std::nullopt);
  Platform& desk = platform;
  EXPECT_EQ(desk.Message(BoxStyle::Question, "Save?", Buttons::YesNoCancel), Answer::No);
  EXPECT_EQ(desk.Ask(BoxStyle::Warning, "Go on?", Buttons::OkCancel), Answer::Cancel);
  EXPECT_EQ(desk.SaveFileName({"Save", "", "txt", "", true, false}), QString("/tmp/x.txt"));
  EXPECT_EQ(desk.OpenFileName({"Open", "", "txt", "", false, true}), std::nullopt);
  EXPECT_TRUE(platform.Unexpected.isEmpty());
  desk.Notice("Done.");
  EXPECT_EQ(desk.ChooseFont(QFont("Courier New", 10)), std::nullopt);
  EXPECT_EQ(platform.BoxTexts(), QStringList({"Save?", "Go on?", "Done."}));
  EXPECT_EQ(platform.Unexpected, QStringList({"message box: Done.", "font dialog"}));
}

}  // namespace
}  // namespace vork
