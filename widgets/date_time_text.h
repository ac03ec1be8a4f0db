#pragma once

#include <QDateTime>
#include <QString>

namespace vork {

// A date and time as the program stamps results and saved files: the
// system's short date and its time of day with seconds.
QString DateTimeText(const QDateTime& moment);

// The current date and time as DateTimeText writes it.
inline QString NowText() { return DateTimeText(QDateTime::currentDateTime()); }

}  // namespace vork
