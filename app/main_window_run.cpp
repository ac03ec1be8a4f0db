// The Run menu's dispatch of analysis windows and the Window menu.
#include <QAction>
#include <QDialog>
#include <QFileInfo>
#include <QMenu>

#include "analysis/mds_structure.h"
#include "widgets/date_time_text.h"
#include "app/main_window.h"
#include "app/main_window_host.h"
#include "app/window_kinds.h"
#include "app/results_window.h"
#include "widgets/text_lines.h"
#include "core/command_error.h"
#include "core/mds_reader.h"

namespace vork {
namespace {

void Focus(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

void TMainForm::ConnectRunActions() {
  OpenMdsDialog = {"Open MDS file", "Compiled MDS file (*.mds)|*.mds", "mds", "", false, true};
  OpenObsDialog1 = {"Open MDS file 1st observer", "Compiled SDS file (*.mds)|*.mds", "mds", "",
                    false, true};
  OpenObsDialog2 = {"Open MDS file 2nd observer", "Compiled SDS file (*.mds)|*.mds", "mds", "",
                    false, true};
  SaveExportDialog = {"Save export text file",
                      "Export text file (*.txt)|*.txt|All files (*.*)|*.*", "txt", "", true,
                      false};
  // A command whose window this program does not have stays in its menu,
  // greyed, rather than doing nothing when chosen.
  for (const WindowKind& kind : WindowKinds()) {
    QAction* action = this->*kind.Action;
    action->setEnabled(kind.Create != nullptr);
    connect(action, &QAction::triggered, this, [this, &kind] { RunWindowKind(kind); });
  }
  connect(RunShowStucture, &QAction::triggered, this, [this] {
    if (MdsFileOK()) ShowMdsStructure();
  });
  connect(GoToResults, &QAction::triggered, this, [this] { ShowFormByTag(TResults::Tag); });
}

bool TMainForm::MdsFileOK() {
  if (!OpenMdsDialog.FileName.isEmpty()) return true;
  std::optional<QString> chosen = Dialogs.OpenFileName(OpenMdsDialog);
  if (!chosen) return false;
  OpenMdsDialog.FileName = *chosen;
  MdsLoadTime = NowText();
  return true;
}

bool TMainForm::ChooseObsFile(FileDialogSpec& dialog) {
  if (!dialog.FileName.isEmpty()) return true;
  std::optional<QString> chosen = Dialogs.OpenFileName(dialog);
  if (!chosen) return false;
  dialog.FileName = *chosen;
  return true;
}

void TMainForm::AddWindowMenuItem(QAction* action) {
  if (WindowTagCounter == 65535) {
    throw CommandError("No more windows can be numbered in this run of the program.");
  }
  ++WindowTagCounter;
  const int tag = WindowTagCounter;
  NewItem = new QAction(action->icon(), action->text(), Window1);
  NewItem->setData(tag);
  connect(NewItem, &QAction::triggered, this, [this, tag] { ShowFormByTag(tag); });
  Window1->addAction(NewItem);
}

void TMainForm::DeleteMenuItem(quint16 tag) {
  QList<QAction*> items = Window1->actions();
  for (int i = 3; i < items.size(); ++i) {
    if (items[i]->data().toInt() == tag) {
      Window1->removeAction(items[i]);
      items[i]->deleteLater();
      return;
    }
  }
}

void TMainForm::ShowFormByTag(int tag) {
  if (tag == TResults::Tag && Results) {
    Focus(Results.get());
    return;
  }
  for (QWidget* window : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (window->isWindow() && window->property("Tag").toInt() == tag) {
      Focus(window);
      return;
    }
  }
}

bool TMainForm::ShowFormByName(const QString& name) {
  for (QWidget* window : findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly)) {
    if (window->isWindow()) {
      Focus(window);
      return true;
    }
  }
  return false;
}

void TMainForm::RunWindowKind(const WindowKind& kind) {
  if (!kind.Create) return;
  RunCommand(Dialogs, [&] {
    switch (kind.Kind) {
      case WindowKind::SingleFile:
        if (ShowFormByName(kind.Name) || !MdsFileOK()) return;
        break;
      case WindowKind::Agreement:
        if (ShowFormByName(kind.Name) || !ChooseObsFiles()) return;
        break;
      case WindowKind::Modal: {
        if (!MdsFileOK()) return;
        std::unique_ptr<QWidget> window(kind.Create(*Host, this));
        if (auto* dialog = qobject_cast<QDialog*>(window.get())) dialog->exec();
        return;
      }
    }
    // The window loads its file while it is made; its number follows once
    // its Window-menu entry exists.
    QWidget* window = kind.Create(*Host, this);
    window->setObjectName(kind.Name);
    window->show();
    AddWindowMenuItem(this->*kind.Action);
    window->setProperty("Tag", int(WindowTagCounter));
  });
}

bool TMainForm::ChooseObsFiles() {
  struct Observer {
    FileDialogSpec& Dialog;
    const char* Which;
  };
  for (Observer observer : {Observer{OpenObsDialog1, "1st"}, Observer{OpenObsDialog2, "2nd"}}) {
    if (!observer.Dialog.FileName.isEmpty()) {
      Answer answer = Dialogs.Message(BoxStyle::Question,
                                      "Use " + NameWithoutFolder(observer.Dialog.FileName) +
                                          " for " + observer.Which + " observer?",
                                      Buttons::YesNo);
      if (answer == Answer::No) observer.Dialog.FileName.clear();
    }
    if (!ChooseObsFile(observer.Dialog)) return false;
  }
  return true;
}

void TMainForm::ShowMdsStructure() {
  // The lines made before a damaged session line stay in the results.
  dynString report;
  RunCommand(Dialogs, [&] {
    LineBuffer lines;
    MdsHeader header;
    const std::string fileName = OpenMdsDialog.FileName.toStdString();
    if (!ReadMdsHeader(lines, fileName, header, Dialogs)) return;
    vork::ShowMdsStructure(lines, header, fileName, report);
  });
  Results->AppendLines(FromLines(report));
}

}  // namespace vork
