#include "tests/support/qt/test_host.h"

#include <QDir>
#include <QFile>
#include <QWidget>

#include "core/text_file.h"

namespace vork::testing {

const FileDialogSpec TestHost::OpenMdsSpec = {"Open MDS file", "Compiled MDS file (*.mds)|*.mds",
                                              "mds", "", false, true};
const FileDialogSpec TestHost::ObserverSpec[2] = {
    {"Open MDS file 1st observer", "Compiled SDS file (*.mds)|*.mds", "mds", "", false, true},
    {"Open MDS file 2nd observer", "Compiled SDS file (*.mds)|*.mds", "mds", "", false, true}};
const FileDialogSpec TestHost::SaveExportSpec = {
    "Save export text file", "Export text file (*.txt)|*.txt|All files (*.*)|*.*", "txt", "",
    true, false};

TestHost::TestHost() { RunOptions.setObjectName("RunChangeOptions"); }

void TestHost::NewStamp() { LoadTime = "new stamp " + QString::number(++NewStamps); }

void TestHost::SetCurrentMdsFile(const QString& fileName, bool newLoadStamp) {
  Current = fileName;
  if (newLoadStamp) NewStamp();
}

bool TestHost::OpenMdsFile(bool newLoadStamp) {
  FileDialogSpec spec = OpenMdsSpec;
  spec.FileName = Current;
  std::optional<QString> chosen = Platform.OpenFileName(spec);
  if (!chosen) return false;
  SetCurrentMdsFile(*chosen, newLoadStamp);
  return true;
}

bool TestHost::MdsFileOK() { return !Current.isEmpty() || OpenMdsFile(true); }

QString TestHost::ObserverFile(int observer) const {
  return observer == 1 || observer == 2 ? Observer[observer - 1] : QString();
}

bool TestHost::OpenObserverFiles() {
  for (int i = 0; i < 2; ++i) {
    FileDialogSpec spec = ObserverSpec[i];
    spec.FileName = Observer[i];
    std::optional<QString> chosen = Platform.OpenFileName(spec);
    if (!chosen) return false;
    Observer[i] = *chosen;
  }
  return true;
}

std::optional<QString> TestHost::ChooseExportFile() {
  FileDialogSpec spec = SaveExportSpec;
  spec.FileName = ExportFile;
  std::optional<QString> chosen = Platform.SaveFileName(spec);
  if (chosen) ExportFile = *chosen;
  return chosen;
}

void TestHost::AppendResults(const dynString& lines) {
  ++ResultsAppends;
  for (const std::string& line : lines) Results.push_back(QString::fromStdString(line));
}

void TestHost::AppendResults(const QStringList& lines) {
  ++ResultsAppends;
  Results += lines;
}

void TestHost::ClearResults() {
  ++ResultsClears;
  Results.clear();
}

void TestHost::AddFileSavedMsg(const QString& fileName, const QString& info,
                               const QString& loadTime) {
  SavedMsgs.push_back(fileName + "|" + info + "|" + loadTime);
  if (!loadTime.isEmpty()) LoadTime = loadTime;
}

void TestHost::WindowClosed(QWidget& window) { ClosedWindows.push_back(window.objectName()); }

void WindowFixture::SetUp() {
  ASSERT_TRUE(Folder.isValid());
  OldCurrent = QDir::currentPath();
  QDir::setCurrent(Folder.path());
}

void WindowFixture::TearDown() {
  for (QPointer<QWidget>& window : Windows) delete window.data();
  QDir::setCurrent(OldCurrent);
  EXPECT_TRUE(Host.Platform.Unexpected.isEmpty())
      << Host.Platform.Unexpected.join("\n").toStdString();
}

QString WindowFixture::WriteFile(const QString& name, const dynString& lines) {
  SaveTextLines(Path(name).toStdString(), lines);
  return Path(name);
}

QString WindowFixture::FileText(const QString& name) const {
  QFile file(Path(name));
  if (!file.open(QIODevice::ReadOnly)) return "(missing)";
  return QString::fromUtf8(file.readAll());
}

}  // namespace vork::testing
