#include "app/about_box.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/program_title.h"
#include "widgets/dialog_buttons.h"

namespace vork {
namespace {

const char* const NoticeLines[] = {
    "Copyright (c) the VORK authors.",
    "For the sequential analysis of events, timed events, states, intervals and multiple events.",
    "Provided as is, without warranty of any kind.",
};
const char* const MailAddresses[] = {"vork-support@example.org", "vork-authors@example.org"};
const char* const WebAddresses[] = {"https://example.org/vork", "https://example.org/vork/updates"};

QLabel* LinkLabel(const QString& text, const QString& hint, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setCursor(Qt::PointingHandCursor);
  label->setToolTip(hint);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(palette);
  QFont underlined = label->font();
  underlined.setUnderline(true);
  label->setFont(underlined);
  return label;
}

}  // namespace

TAboutVORK::TAboutVORK(Platform& platform, const QFont& mainFont, QWidget* parent)
    : QDialog(parent), Dialogs(platform) {
  setObjectName("AboutVORK");
  setWindowTitle("About VORK5");
  setFont(mainFont);

  auto* upper = new QFrame(this);
  upper->setFrameShape(QFrame::StyledPanel);
  auto* upperLayout = new QHBoxLayout(upper);
  auto* icon = new QLabel(upper);
  icon->setPixmap(QApplication::windowIcon().isNull()
                      ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32)
                      : QApplication::windowIcon().pixmap(32, 32));
  upperLayout->addWidget(icon, 0, Qt::AlignTop);
  auto* texts = new QVBoxLayout;
  ProgramTitle = new QLabel(QString("VORK 5, ") + ProgramFullTitle, upper);
  QFont bold = ProgramTitle->font();
  bold.setBold(true);
  ProgramTitle->setFont(bold);
  texts->addWidget(ProgramTitle);
  for (const char* line : NoticeLines) texts->addWidget(new QLabel(line, upper));
  upperLayout->addLayout(texts);

  OKButton = new QPushButton("OK", this);
  OKButton->setDefault(true);

  auto* lower = new QFrame(this);
  lower->setFrameShape(QFrame::StyledPanel);
  auto* lowerLayout = new QVBoxLayout(lower);
  lowerLayout->addWidget(new QLabel("Your feedback, comments, and suggestions", lower));
  lowerLayout->addWidget(new QLabel("will be highly appreciated.", lower));
  AuthorMail1 = LinkLabel(MailAddresses[0], "Click here to send mail", lower);
  AuthorMail2 = LinkLabel(MailAddresses[1], "Click here to send mail", lower);
  lowerLayout->addWidget(AuthorMail1);
  lowerLayout->addWidget(AuthorMail2);
  lowerLayout->addWidget(new QLabel("For updates, please visit our web pages:", lower));
  WebSite1 = LinkLabel(WebAddresses[0], "Click here to open this web site", lower);
  WebSite2 = LinkLabel(WebAddresses[1], "Click here to open this web site", lower);
  lowerLayout->addWidget(WebSite1);
  lowerLayout->addWidget(WebSite2);
  for (QLabel* link : {AuthorMail1, AuthorMail2, WebSite1, WebSite2}) link->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(upper);
  layout->addWidget(OKButton, 0, Qt::AlignHCenter);
  layout->addWidget(lower);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setModal(true);
  KeepEnterForTheDefaultButton(*this);
  adjustSize();
  move(230, 160);
}

void TAboutVORK::AuthorMailClick(QLabel* label) {
  Dialogs.OpenUrl(QUrl("mailto:" + label->text()));
}

void TAboutVORK::WebSiteClick(QLabel* label) { Dialogs.OpenUrl(QUrl(label->text())); }

bool TAboutVORK::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == AuthorMail1 || watched == AuthorMail2) {
      AuthorMailClick(static_cast<QLabel*>(watched));
      return true;
    }
    if (watched == WebSite1 || watched == WebSite2) {
      WebSiteClick(static_cast<QLabel*>(watched));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vork
