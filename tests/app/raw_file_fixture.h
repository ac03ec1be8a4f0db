#pragma once

#include <QFile>
#include <QStringList>

#include "app/results_window.h"
#include "tests/app/shell_fixture.h"

namespace vork::testing {

// The shell fixture with raw and compiled files in its folder.
class RawFileFixture : public ShellFixture {
 protected:
  void Write(const QString& name, const QByteArray& content) {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  // A file's bytes, or "(missing)".
  QByteArray Read(const QString& name) {
    QFile file(Path(name));
    if (!file.open(QIODevice::ReadOnly)) return "(missing)";
    return file.readAll();
  }

  QStringList ResultLines(const TMainForm& form) const {
    return form.Results->Memo1->toPlainText().split('\n');
  }
};

}  // namespace vork::testing
