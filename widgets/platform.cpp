#include "widgets/platform.h"

#include <QLocale>
#include <QStringList>

namespace vork {

QString QtFileFilter(const QString& pipeFilter) {
  QStringList parts = pipeFilter.split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const QString& patterns = parts[i + 1];
    // A description that already shows its patterns in parentheses keeps
    // its wording; Qt only needs them separated by blanks.
    QString shown = "(" + patterns + ")";
    if (description.endsWith(shown)) description.chop(shown.size());
    description = description.trimmed();
    QStringList shownPatterns;
    for (const QString& pattern : patterns.split(';')) {
      // "*.*" means every file, also one whose name has no dot.
      shownPatterns.push_back(pattern == "*.*" ? QString("*") : pattern);
    }
    entries.push_back(description + " (" + shownPatterns.join(' ') + ")");
  }
  return entries.join(";;");
}

char HostDecimalSeparator(const QLocale& locale) {
  QString point = locale.decimalPoint();
  if (point.size() != 1 || point[0].unicode() < 0x20 || point[0].unicode() > 0x7e) return '.';
  return static_cast<char>(point[0].unicode());
}

}  // namespace vork
