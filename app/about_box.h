#pragma once

#include <QDialog>

#include "widgets/platform.h"

class QLabel;
class QPushButton;

namespace vork {

// "About VORK5": the program's title and notices, two addresses that start
// a mail and two web addresses that open in the browser.
class TAboutVORK : public QDialog {
  Q_OBJECT

 public:
  TAboutVORK(Platform& platform, const QFont& mainFont, QWidget* parent = nullptr);

  void AuthorMailClick(QLabel* label);
  void WebSiteClick(QLabel* label);

  QLabel* ProgramTitle = nullptr;
  QLabel* AuthorMail1 = nullptr;
  QLabel* AuthorMail2 = nullptr;
  QLabel* WebSite1 = nullptr;
  QLabel* WebSite2 = nullptr;
  QPushButton* OKButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Platform& Dialogs;
};

}  // namespace vork
