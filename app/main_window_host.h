#pragma once

#include "widgets/window_host.h"

namespace vork {

class TMainForm;

// The main window as the host of the windows it opens: the current compiled
// file of its OpenMdsDialog and MdsLoadTime, its option store, results
// window, log lines, dialogs and Window menu.
class MainWindowHost : public WindowHost {
 public:
  explicit MainWindowHost(TMainForm& main) : Main(main) {}

  QString CurrentMdsFile() const override;
  QString CurrentLoadTime() const override;
  void SetCurrentMdsFile(const QString& fileName, bool newLoadStamp) override;
  bool OpenMdsFile(bool newLoadStamp) override;
  bool MdsFileOK() override;
  QString ObserverFile(int observer) const override;
  bool OpenObserverFiles() override;
  std::optional<QString> ChooseExportFile() override;
  const OptionStore& Options() const override;
  NumberFormat Numbers() const override;
  void AppendResults(const dynString& lines) override;
  void AppendResults(const QStringList& lines) override;
  void ClearResults() override;
  void AddLogLine(const QString& line) override;
  void AddFileSavedMsg(const QString& fileName, const QString& info,
                       const QString& loadTime) override;
  Platform& Dialogs() override;
  QFont MainFont() const override;
  QAction* RunOptionsAction() override;
  void WindowClosed(QWidget& window) override;

 private:
  TMainForm& Main;
};

}  // namespace vork
