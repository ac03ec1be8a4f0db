// The Run menu's dispatch of analysis windows and the Window menu.
#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "analysis/mds_structure.h"
#include "analysis/simple_stats_window.h"
#include "analysis/table_stats_window.h"
#include "app/date_time_text.h"
#include "app/main_window.h"
#include "app/results_window.h"
#include "app/text_lines.h"
#include "core/command_error.h"
#include "core/mds_reader.h"
#include "modify/modify_mds_dialog.h"

namespace vork {
namespace {

template <class Window>
QWidget* CreateWindow(TMainForm& main) {
  return new Window(main);
}

// The single-file analyses: their Run command, the name by which an open
// window of the kind is found, and how the window is made (nullptr: not
// part of this program yet).
struct AnalysisWindowRow {
  QAction* TMainForm::*Action;
  const char* Name;
  QWidget* (*Create)(TMainForm&);
};

const AnalysisWindowRow AnalysisWindows[] = {
    {&TMainForm::RunSimpleStats, "SimpleStats", &CreateWindow<TSimpleStats>},
    {&TMainForm::RunTableStats, "TableStats", &CreateWindow<TTableStats>},
    {&TMainForm::RunPlotMDS, "PlotMDS", nullptr},
    {&TMainForm::RunBreakdown, "BreakdownEvents", nullptr},
    {&TMainForm::RunExportTable, "ExportTable", nullptr},
};

// The agreement window, made from the two observers' files.
QWidget* (*const CreateComputeKappa)(TMainForm&) = nullptr;

// The modal dialogs on the current compiled file: each is shown and freed
// by its function (nullptr: not part of this program yet).
struct ModalCommandRow {
  QAction* TMainForm::*Action;
  void (*Show)(TMainForm&);
};

const ModalCommandRow ModalCommands[] = {
    {&TMainForm::RunModifyMDS, &ShowModifyMds},
    {&TMainForm::RunRound, nullptr},
};

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
  for (int kind = 0; kind < int(std::size(AnalysisWindows)); ++kind) {
    connect(this->*AnalysisWindows[kind].Action, &QAction::triggered, this,
            [this, kind] { RunAnalysisWindow(kind); });
    (this->*AnalysisWindows[kind].Action)->setEnabled(AnalysisWindows[kind].Create != nullptr);
  }
  for (int kind = 0; kind < int(std::size(ModalCommands)); ++kind) {
    connect(this->*ModalCommands[kind].Action, &QAction::triggered, this,
            [this, kind] { RunModalCommand(kind); });
    (this->*ModalCommands[kind].Action)->setEnabled(ModalCommands[kind].Show != nullptr);
  }
  connect(RunComputeKappa, &QAction::triggered, this, [this] { RunComputeKappaExecute(); });
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

void TMainForm::RunAnalysisWindow(int kind) {
  const AnalysisWindowRow& row = AnalysisWindows[kind];
  RunCommand(Dialogs, [&] {
    if (ShowFormByName(row.Name)) return;
    if (!row.Create || !MdsFileOK()) return;
    // The window loads the current compiled file while it is made; its
    // number follows once its Window-menu entry exists.
    QWidget* window = row.Create(*this);
    window->show();
    AddWindowMenuItem(this->*row.Action);
    window->setProperty("Tag", int(WindowTagCounter));
  });
}

void TMainForm::RunComputeKappaExecute() {
  RunCommand(Dialogs, [&] {
    if (ShowFormByName("ComputeKappa")) return;
    struct Observer {
      FileDialogSpec& Dialog;
      const char* Which;
    };
    for (Observer observer : {Observer{OpenObsDialog1, "1st"}, Observer{OpenObsDialog2, "2nd"}}) {
      if (!observer.Dialog.FileName.isEmpty()) {
        Answer answer = Dialogs.Message(
            BoxStyle::Question,
            "Use " + QFileInfo(observer.Dialog.FileName).fileName() + " for " + observer.Which +
                " observer?",
            Buttons::YesNo);
        if (answer == Answer::No) observer.Dialog.FileName.clear();
      }
      if (!ChooseObsFile(observer.Dialog)) return;
    }
    if (!CreateComputeKappa) return;
    QWidget* window = CreateComputeKappa(*this);
    window->show();
    AddWindowMenuItem(RunComputeKappa);
    window->setProperty("Tag", int(WindowTagCounter));
  });
}

void TMainForm::RunModalCommand(int kind) {
  const ModalCommandRow& row = ModalCommands[kind];
  if (!row.Show) return;
  RunCommand(Dialogs, [&] {
    if (MdsFileOK()) row.Show(*this);
  });
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
