// The main window's command table, menus and tool bar.
#include <QAction>
#include <QFont>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "app/main_window.h"
#include "widgets/memo_commands.h"

namespace vork {
namespace {

struct CommandRow {
  QAction* TMainForm::*Field;
  const char* Caption;
  const char* Hint;  // nullptr: the caption; "": no hint
  const char* Key;
  const char* IconText;  // letters drawn on the tool-bar image
};

// Every command of the main window, as the menus list them.
const CommandRow CommandTable[] = {
    {&TMainForm::FileNewSds, "New SDS file", nullptr, "Ctrl+N", "New"},
    {&TMainForm::FileOpenSdsMds, "Open SDS or MDS file...", nullptr, "Ctrl+O", "Open"},
    {&TMainForm::FileSaveSDS, "Save SDS file", nullptr, "Ctrl+S", "Save"},
    {&TMainForm::FileSaveSDSAs, "Save SDS file as...", nullptr, "Ctrl+A", "As"},
    {&TMainForm::FileExit, "Exit VORK", nullptr, "Ctrl+Alt+X", "Exit"},
    {&TMainForm::EditUndo, "EditUndo", "", "Ctrl+Z", "Un"},
    {&TMainForm::EditCut, "Cut", nullptr, "Ctrl+X", "Cut"},
    {&TMainForm::EditCopy, "Copy", nullptr, "Ctrl+C", "Cpy"},
    {&TMainForm::EditPaste, "Paste", nullptr, "Ctrl+V", "Pst"},
    {&TMainForm::EditDelete, "Delete", nullptr, "Ctrl+Del", "Del"},
    {&TMainForm::EditSearch, "Find...", nullptr, "Ctrl+F", "Fnd"},
    {&TMainForm::EditReplace, "Replace...", nullptr, "Ctrl+R", "Rpl"},
    // Ctrl+A belongs to "Save SDS file as...", which comes first in the menus.
    {&TMainForm::EditSelectAll, "Select all", nullptr, "", "All"},
    {&TMainForm::CompileToMDS, "Compile to  MDS file", nullptr, "", "KELP"},
    {&TMainForm::CompileCheckSyntax, "Check syntax", nullptr, "", "Syn"},
    {&TMainForm::CompileChangeOptions, "Change compile options", nullptr, "", "Opt"},
    {&TMainForm::RunSimpleStats, "Compute simple stats", nullptr, "", "Sim"},
    {&TMainForm::RunTableStats, "Compute table stats", nullptr, "", "Tab"},
    {&TMainForm::RunPlotMDS, "Plot MDS file", nullptr, "", "Plot"},
    {&TMainForm::RunBreakdown, "Breakdown events", nullptr, "", "Brk"},
    {&TMainForm::RunExportTable, "Export N-way table", nullptr, "", "N-w"},
    {&TMainForm::RunComputeKappa, "Compute Kappa", "Compute kappa for 2 observers", "", "Kap"},
    {&TMainForm::RunModifyMDS, "Modify MDS file", nullptr, "", "Mod"},
    {&TMainForm::RunRound, "Round times in MDS file", nullptr, "", "Rnd"},
    {&TMainForm::RunShowStucture, "Show MDS stucture", nullptr, "", "Str"},
    {&TMainForm::RunChangeVorkFont, "Change VORK font...", nullptr, "", "Fnt"},
    {&TMainForm::RunChangeOptions, "Change run options", nullptr, "", "Opt"},
    {&TMainForm::ChangeFont, "Change the font...", nullptr, "", "Fnt"},
    {&TMainForm::ClearWindow, "Clear this window", nullptr, "", "Clr"},
    {&TMainForm::GoToResults, "VORK Results", nullptr, "", "Res"},
    {&TMainForm::HelpShow, "Show VORK Help", "Show VORK help", "", "?"},
    {&TMainForm::HelpAbout, "About VORK", nullptr, "", "i"},
};

// A 32-pixel tool-bar image showing a few letters.
QIcon LetterIcon(const QString& letters) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QColor(30, 60, 120));
  painter.drawRoundedRect(1, 1, 30, 30, 4, 4);
  QFont font = painter.font();
  font.setPixelSize(letters.size() > 3 ? 9 : 11);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, letters);
  return QIcon(pixmap);
}

}  // namespace

void TMainForm::CreateActions() {
  for (const CommandRow& row : CommandTable) {
    auto* action = new QAction(row.Caption, this);
    QString hint = row.Hint == nullptr ? QString(row.Caption) : QString(row.Hint);
    action->setToolTip(hint.isEmpty() ? QString(row.Caption) : hint);
    action->setStatusTip(hint);
    if (row.Key[0] != '\0') action->setShortcut(QKeySequence(row.Key));
    action->setIcon(LetterIcon(row.IconText));
    action->setIconVisibleInMenu(false);
    this->*row.Field = action;
  }
  GoToResults->setData(1);  // the results window's Tag
  for (int i = 0; i < 5; ++i) {
    LastMenus[i] = new QAction(this);
    LastMenus[i]->setData(i + 1);
    LastMenus[i]->setVisible(false);
  }
}

MemoEditActions TMainForm::EditActions() const {
  return {EditUndo, EditCut, EditCopy, EditPaste, EditDelete, EditSearch, EditReplace, EditSelectAll};
}

void TMainForm::CreateMenus() {
  File1 = menuBar()->addMenu("&File");
  File1->addActions({FileNewSds, FileOpenSdsMds});
  File1->addSeparator();
  File1->addActions({FileSaveSDS, FileSaveSDSAs});
  File1->addSeparator();
  for (QAction* item : LastMenus) File1->addAction(item);
  File1->addSeparator();
  File1->addAction(FileExit);

  Edit1 = menuBar()->addMenu("&Edit");
  FillEditMenu(*Edit1, EditActions());
  // The first change of the editor text enables it.
  Edit1->setEnabled(false);

  Compile1 = menuBar()->addMenu("&Compile");
  Compile1->addActions({CompileToMDS, CompileCheckSyntax});
  Compile1->addSeparator();
  Compile1->addAction(CompileChangeOptions);

  Run1 = menuBar()->addMenu("&Run");
  Run1->addActions({RunSimpleStats, RunTableStats, RunPlotMDS, RunBreakdown, RunExportTable});
  Run1->addSeparator();
  Run1->addAction(RunComputeKappa);
  Run1->addSeparator();
  Run1->addActions({RunModifyMDS, RunRound});
  Run1->addSeparator();
  Run1->addActions({RunShowStucture, RunChangeVorkFont, RunChangeOptions});

  Window1 = menuBar()->addMenu("&Window");
  Window1->addActions({ChangeFont, ClearWindow});
  Window1->addSeparator();
  Window1->addAction(GoToResults);

  Help1 = menuBar()->addMenu("&Help");
  Help1->addActions({HelpShow, HelpAbout});
}

void TMainForm::CreateToolBar() {
  ToolBar1 = addToolBar("Tools");
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(32, 32));
  ToolBar1->setFixedHeight(40);
  // Buttons of their own, so that hiding one leaves its menu item alone.
  auto addButton = [this](QAction* action) {
    auto* button = new QToolButton(ToolBar1);
    button->setDefaultAction(action);
    button->setFixedSize(39, 38);
    return ToolBar1->addWidget(button);
  };
  addButton(FileOpenSdsMds);
  addButton(CompileToMDS);
  ToolBar1->addSeparator();
  addButton(RunSimpleStats);
  addButton(RunTableStats);
  addButton(RunPlotMDS);
  ToolBreakdown = addButton(RunBreakdown);
  ToolExportTable = addButton(RunExportTable);
  addButton(RunComputeKappa);
  ToolBar1->addSeparator();
  addButton(RunModifyMDS);
  ToolRound = addButton(RunRound);
  ToolBar1->addSeparator();
  addButton(HelpShow);
  addButton(HelpAbout);
  for (QAction* hidden : {ToolBreakdown, ToolExportTable, ToolRound}) hidden->setVisible(false);

  auto* spacer = new QWidget(ToolBar1);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  ToolBar1->addWidget(spacer);

  auto* panel = new QWidget(ToolBar1);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(2, 0, 2, 0);
  PanelExpand = new QPushButton(">>", panel);
  QFont bold = PanelExpand->font();
  bold.setBold(true);
  PanelExpand->setFont(bold);
  PanelExpand->setFlat(true);
  PanelExpand->setFixedWidth(28);
  ProgressBar1 = new QProgressBar(panel);
  ProgressBar1->setFixedSize(210, 16);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setValue(0);
  layout->addWidget(PanelExpand);
  layout->addWidget(ProgressBar1);
  ToolBar1->addWidget(panel);
}

}  // namespace vork
