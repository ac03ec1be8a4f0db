#include "widgets/platform.h"

#include <gtest/gtest.h>

#include <QLocale>

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

}  // namespace
}  // namespace vork
