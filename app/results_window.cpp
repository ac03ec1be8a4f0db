#include "app/results_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>
#include <QToolBar>

#include "widgets/action_shortcuts.h"
#include "widgets/date_time_text.h"
#include "widgets/memo_commands.h"
#include "widgets/memo_find_replace.h"
#include "app/program_title.h"
#include "widgets/text_lines.h"
#include "core/text_file.h"

namespace vork {
namespace {

const FileDialogSpec OpenResultsSpec{"Open results text file",
                                     "*.txt (result files)|*.txt|*.* (all files)|*.*", "txt",
                                     QString(), false, true};
const FileDialogSpec SaveResultsSpec{"Save results text file",
                                     "*.txt (results files)|*.txt|*.* (all files)|*.*", "txt",
                                     QString(), true, false};

struct CommandRow {
  QAction* TResults::*Field;
  const char* Caption;
  const char* Hint;
  const char* Key;
};

const CommandRow CommandTable[] = {
    {&TResults::FileOpen1, "Open...", "Open an existing Results file...", "Ctrl+O"},
    {&TResults::FileSave1, "Save", "Save these results", "Ctrl+S"},
    {&TResults::FileSaveAs1, "Save as...", "Save these results as...", "Ctrl+A"},
    {&TResults::FileClose, "Exit VORK", "Exit VORK", "Ctrl+Alt+X"},
    {&TResults::EditUndo, "Undo", "Undo", "Ctrl+Z"},
    {&TResults::EditCut, "Cut", "Cut", "Ctrl+X"},
    {&TResults::EditCopy, "Copy", "Copy", "Ctrl+C"},
    {&TResults::EditPaste, "Paste", "Paste", "Ctrl+V"},
    {&TResults::EditDelete, "Delete", "Delete", "Ctrl+Del"},
    {&TResults::EditSearch, "Find...", "Find...", "Ctrl+F"},
    {&TResults::EditReplace, "Replace...", "Replace...", "Ctrl+R"},
    // Ctrl+A belongs to "Save as...", which comes first in the menus.
    {&TResults::EditSelectAll, "Select all", "Select all", ""},
    {&TResults::ChangeFont, "Change the font...", "Change the font...", ""},
    {&TResults::ClearWindow, "Clear this window", "Clear this window", ""},
};

}  // namespace

TResults::TResults(Platform& platform, std::function<void()> exitProgram, QWidget* parent)
    : QMainWindow(parent), Dialogs(platform), ExitProgram(std::move(exitProgram)) {
  setObjectName("Results");
  setProperty("Tag", Tag);
  setWindowTitle("VORK Results");
  Memo1 = new QPlainTextEdit(this);
  Memo1->setFont(TextWindowFont("Courier New", 10));
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  OnMemoDoubleClick(*Memo1, [this] { Memo1DblClick(); });
  setCentralWidget(Memo1);
  CreateActions();
  CreateMenus();
  new ActionKeysFirst(Memo1, actions());

  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                  : QRect(0, 0, 1280, 1024);
  move(screen.width() - 625, 30);
  resize(600, 500 + menuBar()->sizeHint().height());

  Memo1->setPlainText(QString("VORK 5, ") + ProgramFullTitle + ", " + NowText());
  SetModified(false);
}

void TResults::CreateActions() {
  for (const CommandRow& row : CommandTable) {
    auto* action = new QAction(row.Caption, this);
    action->setToolTip(row.Hint);
    action->setStatusTip(row.Hint);
    if (row.Key[0] != '\0') action->setShortcut(QKeySequence(row.Key));
    addAction(action);
    this->*row.Field = action;
  }
  FileOpen1->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  FileSave1->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  FileSaveAs1->setIcon(style()->standardIcon(QStyle::SP_DriveFDIcon));

  connect(FileOpen1, &QAction::triggered, this, [this] { FileOpen1Execute(); });
  connect(FileSave1, &QAction::triggered, this, [this] { FileSave1Execute(); });
  connect(FileSaveAs1, &QAction::triggered, this, [this] { FileSaveAs1Execute(); });
  connect(FileClose, &QAction::triggered, this, [this] { close(); });
  FindReplace = new MemoFindReplace(this, Memo1, Dialogs);
  ConnectEditActions(EditActions(), *Memo1, *FindReplace);
  connect(ChangeFont, &QAction::triggered, this, [this] { ChangeFontExecute(); });
  connect(ClearWindow, &QAction::triggered, this, [this] { ClearWindowExecute(); });
}

void TResults::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addActions({FileOpen1, FileSave1, FileSaveAs1});
  file->addSeparator();
  file->addAction(FileClose);
  FillEditMenu(*menuBar()->addMenu("&Edit"), EditActions());
  QMenu* window = menuBar()->addMenu("&Window");
  window->addActions({ChangeFont, ClearWindow});

  QToolBar* tools = addToolBar("Results");
  tools->setMovable(false);
  tools->addActions({FileOpen1, FileSave1, FileSaveAs1});
}

MemoEditActions TResults::EditActions() const {
  return {EditUndo, EditCut, EditCopy, EditPaste, EditDelete, EditSearch, EditReplace, EditSelectAll};
}

void TResults::AppendLine(const QString& line) {
  Memo1->appendPlainText(line);
  SetModified(true);
}

void TResults::AppendLines(const QStringList& lines) {
  if (lines.isEmpty()) return;
  Memo1->appendPlainText(lines.join('\n'));
  SetModified(true);
}

void TResults::AppendTextLines(const dynString& lines) { AppendLines(FromLines(lines)); }

void TResults::ClearText() { Memo1->clear(); }

QStringList TResults::Lines() const {
  QString text = Memo1->toPlainText();
  if (text.isEmpty()) return {};
  return text.split('\n');
}

bool TResults::IsModified() const { return Memo1->document()->isModified(); }

void TResults::SetModified(bool modified) { Memo1->document()->setModified(modified); }

bool TResults::WordWrap() const { return Memo1->lineWrapMode() != QPlainTextEdit::NoWrap; }

bool TResults::SaveModifiedMemoOK() {
  static constexpr SaveQuestion Question{"Save results to a text file?",
                                         " has been modified. Save? (yes lets you rename)"};
  return SaveModifiedTextOK(Dialogs, *Memo1->document(), Question, FileName, [this] { FileSaveAs1Execute(); },
                            true);
}

bool TResults::SaveTo(const QString& fileName) {
  bool saved = false;
  RunCommand(Dialogs, [&] {
    SaveTextLines(fileName.toStdString(), ToLines(Lines()));
    saved = true;
  });
  return saved;
}

void TResults::FileOpen1Execute() {
  FileDialogSpec spec = OpenResultsSpec;
  spec.FileName = FileName;
  std::optional<QString> chosen = Dialogs.OpenFileName(spec);
  if (!chosen || !SaveModifiedMemoOK()) return;
  bool loaded = false;
  RunCommand(Dialogs, [&] {
    QString text = FromLines(LoadTextLines(chosen->toStdString())).join('\n');
    Memo1->setPlainText(text);
    loaded = true;
  });
  if (!loaded) return;
  FileName = *chosen;
  setWindowTitle("VORK results - " + NameWithoutFolder(FileName));
  SetModified(false);
}

void TResults::FileSave1Execute() {
  if (!IsModified()) return;
  if (FileName.isEmpty()) {
    FileSaveAs1Execute();
    return;
  }
  if (SaveTo(FileName)) SetModified(false);
}

bool TResults::FileSaveAs1Execute() {
  FileDialogSpec spec = SaveResultsSpec;
  spec.FileName = FileName;
  std::optional<QString> chosen = Dialogs.SaveFileName(spec);
  if (!chosen) return true;
  if (!SaveTo(*chosen)) return false;
  FileName = *chosen;
  setWindowTitle("VORK results - " + NameWithoutFolder(FileName));
  SetModified(false);
  return true;
}

void TResults::ClearWindowExecute() {
  if (!SaveModifiedMemoOK()) return;
  Memo1->clear();
  SetModified(false);
  FileName.clear();
  setWindowTitle("VORK5 results");
}

void TResults::ChangeFontExecute() {
  if (std::optional<QFont> font = Dialogs.ChooseFont(Memo1->font())) Memo1->setFont(*font);
}

void TResults::Memo1DblClick() { ToggleWordWrap(*Memo1); }

void TResults::closeEvent(QCloseEvent* event) {
  // The results window stays as long as the program: closing it offers to
  // end the program instead.
  event->ignore();
  if (!SaveModifiedMemoOK()) return;
  if (Dialogs.Message(BoxStyle::Question, "Exit VORK?", Buttons::YesNo) == Answer::Yes &&
      ExitProgram) {
    ExitProgram();
  }
}

}  // namespace vork
