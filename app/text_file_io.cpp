#include "app/text_file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/command_error.h"

namespace vork {
namespace {

[[noreturn]] void Fail(const QString& what, const QString& fileName, const QString& reason) {
  throw CommandError((what + " " + QFileInfo(fileName).fileName() + ": " + reason).toStdString());
}

}  // namespace

QString LoadTextFile(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) Fail("Cannot open file", fileName, file.errorString());
  QString text = QString::fromUtf8(file.readAll());
  text.replace("\r\n", "\n");
  return text;
}

void SaveTextFile(const QString& fileName, const QString& text) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) Fail("Cannot create file", fileName, file.errorString());
  QByteArray bytes = text.toUtf8();
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    Fail("Cannot write file", fileName, file.errorString());
  }
}

void AppendLinesToFile(const QString& fileName, const QStringList& lines) {
  QString text;
  if (QFileInfo::exists(fileName)) text = LoadTextFile(fileName);
  if (!text.isEmpty() && !text.endsWith('\n')) text += '\n';
  for (const QString& line : lines) text += line + '\n';
  SaveTextFile(fileName, text);
}

}  // namespace vork
