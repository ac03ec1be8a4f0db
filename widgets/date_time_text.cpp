#include "widgets/date_time_text.h"

#include <QLocale>

namespace vork {

QString DateTimeText(const QDateTime& moment) {
  QLocale locale = QLocale::system();
  // The long time form without its time-zone name.
  QString timeFormat = locale.timeFormat(QLocale::LongFormat);
  timeFormat.remove('t');
  return locale.toString(moment.date(), QLocale::ShortFormat) + " " +
         locale.toString(moment.time(), timeFormat.trimmed());
}

}  // namespace vork
