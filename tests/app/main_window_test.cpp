#include "app/main_window.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(MainWindow, IsCaptionedWithTheProgramName) {
  TMainForm form;
  EXPECT_EQ(form.windowTitle().toStdString(), "VORK5");
}

}  // namespace
}  // namespace vork
