#include "app/about_box.h"

#include <QMouseEvent>
#include <QPushButton>

#include "tests/app/shell_fixture.h"

namespace vork {
namespace {

using AboutBox = testing::ShellFixture;

void Click(QWidget* widget) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
}

TEST_F(AboutBox, ShowsItsTextsAndHandsAddressesToTheSystem) {
  TAboutVORK about(Platform, QFont("Arial", 11));
  EXPECT_EQ(about.windowTitle(), "About VORK5");
  EXPECT_EQ(about.font().family(), "Arial");
  EXPECT_EQ(about.AuthorMail1->toolTip(), "Click here to send mail");
  EXPECT_EQ(about.WebSite2->toolTip(), "Click here to open this web site");

  Click(about.AuthorMail2);
  Click(about.WebSite1);
  ASSERT_EQ(Platform.OpenedUrls.size(), 2u);
  EXPECT_EQ(Platform.OpenedUrls[0], QUrl("mailto:" + about.AuthorMail2->text()));
  EXPECT_EQ(Platform.OpenedUrls[1], QUrl(about.WebSite1->text()));
}

}  // namespace
}  // namespace vork
