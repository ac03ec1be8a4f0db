#include "widgets/text_lines.h"

#include "core/file_names.h"


namespace vork {

dynString ToLines(const QStringList& lines) {
  dynString result;
  result.reserve(lines.size());
  for (const QString& line : lines) result.push_back(line.toStdString());
  return result;
}

QStringList FromLines(const dynString& lines) {
  QStringList result;
  result.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) result.push_back(QString::fromStdString(line));
  return result;
}

QString NameWithoutFolder(const QString& fileName) {
  return QString::fromStdString(FileNameWithoutFolder(fileName.toStdString()));
}

QFont TextWindowFont(const QString& family, int pointSize) {
  QFont font(family, pointSize);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

}  // namespace vork
