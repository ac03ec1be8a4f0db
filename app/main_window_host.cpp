#include "app/main_window_host.h"

#include <QWidget>

#include "app/main_window.h"
#include "app/results_window.h"
#include "widgets/date_time_text.h"

namespace vork {

QString MainWindowHost::CurrentMdsFile() const { return Main.OpenMdsDialog.FileName; }

QString MainWindowHost::CurrentLoadTime() const { return Main.MdsLoadTime; }

void MainWindowHost::SetCurrentMdsFile(const QString& fileName, bool newLoadStamp) {
  Main.OpenMdsDialog.FileName = fileName;
  if (newLoadStamp) Main.MdsLoadTime = NowText();
}

bool MainWindowHost::OpenMdsFile(bool newLoadStamp) {
  std::optional<QString> chosen = Main.Dialogs.OpenFileName(Main.OpenMdsDialog);
  if (!chosen) return false;
  SetCurrentMdsFile(*chosen, newLoadStamp);
  return true;
}

bool MainWindowHost::MdsFileOK() { return Main.MdsFileOK(); }

QString MainWindowHost::ObserverFile(int observer) const {
  return (observer == 2 ? Main.OpenObsDialog2 : Main.OpenObsDialog1).FileName;
}

bool MainWindowHost::OpenObserverFiles() {
  for (FileDialogSpec* dialog : {&Main.OpenObsDialog1, &Main.OpenObsDialog2}) {
    std::optional<QString> chosen = Main.Dialogs.OpenFileName(*dialog);
    if (!chosen) return false;
    dialog->FileName = *chosen;
  }
  return true;
}

std::optional<QString> MainWindowHost::ChooseExportFile() {
  std::optional<QString> chosen = Main.Dialogs.SaveFileName(Main.SaveExportDialog);
  if (chosen) Main.SaveExportDialog.FileName = *chosen;
  return chosen;
}

const OptionStore& MainWindowHost::Options() const { return Main.Options; }

NumberFormat MainWindowHost::Numbers() const { return Main.Numbers; }

void MainWindowHost::AppendResults(const dynString& lines) { Main.Results->AppendTextLines(lines); }

void MainWindowHost::AppendResults(const QStringList& lines) { Main.Results->AppendLines(lines); }

void MainWindowHost::ClearResults() { Main.Results->ClearText(); }

void MainWindowHost::AddLogLine(const QString& line) { Main.VORKLogLines.push_back(line); }

void MainWindowHost::AddFileSavedMsg(const QString& fileName, const QString& info,
                                     const QString& loadTime) {
  Main.AddFileSavedMsg(fileName, info, loadTime);
}

Platform& MainWindowHost::Dialogs() { return Main.Dialogs; }

QFont MainWindowHost::MainFont() const { return Main.font(); }

QAction* MainWindowHost::RunOptionsAction() { return Main.RunChangeOptions; }

void MainWindowHost::WindowClosed(QWidget& window) {
  // The window is freed once closed: it is no longer found by name or number.
  const int tag = window.property("Tag").toInt();
  window.setObjectName(QString());
  window.setProperty("Tag", 0);
  if (tag > 0) Main.DeleteMenuItem(quint16(tag));
}

}  // namespace vork
