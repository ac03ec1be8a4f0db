#include "modify/modify_mds_dialog.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "widgets/code_list_box.h"
#include "widgets/dialog_buttons.h"
#include "widgets/digit_edit.h"
#include "widgets/date_time_text.h"
#include "widgets/desktop_dialogue.h"
#include "widgets/memo_commands.h"
#include "widgets/memo_find_replace.h"
#include "widgets/number_up_down.h"
#include "widgets/radio_group_box.h"
#include "widgets/text_lines.h"
#include "core/mds_reader.h"
#include "core/results_format.h"
#include "core/text_file.h"
#include "modify/modify_engine.h"
#include "modify/validate_command.h"

namespace vork {
namespace {

const char* const ButtonCaptions[13] = {"and",    "or",    "not",    "nor",    "xor",   "window", "recode",
                                        "lump",   "chain", "remove", "rename", "event", "bout"};

// Which data types enable a command button; the others are always enabled.
bool ButtonEnabled(int number, const DataTypeFlags& flags) {
  if (number >= CommandAnd && number <= CommandXor) return !flags.IsEvent;
  if (number == CommandLump || number == CommandChain) return flags.IsEvent;
  if (number == CommandEvent || number == CommandBout) return flags.TimedOrState;
  return true;
}


}  // namespace

TModifyMDS::TModifyMDS(WindowHost& host, QWidget* parent) : QDialog(parent), Host(host) {
  setObjectName("ModifyMDS");
  setModal(true);
  setWindowTitle("Modify MDS File");
  move(230, 160);
  setFont(host.MainFont());
  setMinimumWidth(634);
  OpenMdsDialog = {"Open MDS File", "MDS file (*.mds)|*.mds", "mds", "", false, true};
  SaveMdsDialog = {"Save MDS File", "MDS file (*.mds)|*.mds", "mds", "", true, false};
  OpenTxtDialog = {"Open Syntax File", "Syntax file (*.txt)|*.txt", "txt", "", false, true};
  SaveTxtDialog = {"Save Syntax File", "Syntax file (*.txt)|*.txt", "txt", "", true, false};

  auto* layout = new QVBoxLayout(this);
  CreateActions();
  auto* menus = new QMenuBar(this);
  QMenu* file = menus->addMenu("&File");
  file->addActions({FileOpenMDS, FileSaveMDS, FileSaveMDSAs});
  SyntaxFileSeparator = file->addSeparator();
  file->addActions({FileOpenTXT, FileSaveTXT, FileSaveTXTAs});
  file->addSeparator();
  file->addAction(FileClose);
  Edit1 = menus->addMenu("&Edit");
  QMenu* run = menus->addMenu("&Run");
  run->addActions({RunCompute, RunUseSyntax, RunStopSyntax, Host.RunOptionsAction()});
  layout->setMenuBar(menus);

  auto* toolBar = new QToolBar(this);
  toolBar->addActions({ToolOpen, ToolSave, ToolSaveAs});
  toolBar->addSeparator();
  toolBar->addActions({ToolSyntax, RunCompute});
  ProgressBar1 = new QProgressBar(toolBar);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  toolBar->addWidget(ProgressBar1);
  layout->addWidget(toolBar);

  auto* body = new QHBoxLayout;
  body->addWidget(CreateCodePanels(), 1);
  body->addWidget(CreateCommandPanel());
  layout->addLayout(body, 1);
  LabelInstructions = new QLabel(
      "You can save modifications whenever you want.    If not already saved, you will be asked to save "
      "them when you close this window.",
      this);
  LabelInstructions->setWordWrap(true);
  layout->addWidget(LabelInstructions);

  Finder = new MemoFindReplace(this, Memo1, Host.Dialogs());
  struct EditRow {
    const char* Caption;
    QKeySequence Keys;
    std::function<void()> Work;
  };
  const EditRow editRows[] = {
      {"&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { Memo1->undo(); }},
      {"Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), [this] { Memo1->cut(); }},
      {"&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), [this] { Memo1->copy(); }},
      {"&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), [this] { Memo1->paste(); }},
      {"&Delete", QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { Memo1->textCursor().removeSelectedText(); }},
      {"&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), [this] { Finder->EditSearchExecute(); }},
      {"&Replace...", QKeySequence(Qt::CTRL | Qt::Key_R), [this] { Finder->EditReplaceExecute(); }},
      {"Select &All", QKeySequence(Qt::CTRL | Qt::Key_A), [this] { Memo1->selectAll(); }},
  };
  for (const EditRow& row : editRows) {
    QAction* action = Edit1->addAction(row.Caption);
    action->setShortcut(row.Keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, row.Work);
  }

  KeepEnterForTheDefaultButton(*this);
  // In a large font the list panels' buttons need more than the least width.
  const int listPanel = std::max(PanelCodes->minimumSizeHint().width(), PanelPickedCodes->minimumSizeHint().width());
  setMinimumWidth(std::max(634, 330 + 2 * listPanel));
  SetSyntaxMode(false);
  LoadMdsFile();
}

TModifyMDS::~TModifyMDS() = default;

void TModifyMDS::Guarded(void (TModifyMDS::*command)()) {
  RunCommand(Host.Dialogs(), [&] { (this->*command)(); });
}

void TModifyMDS::CreateActions() {
  auto action = [this](const char* caption, const char* hint) {
    auto* made = new QAction(caption, this);
    made->setToolTip(hint);
    made->setStatusTip(hint);
    return made;
  };
  auto make = [this, action](const char* caption, const char* hint, void (TModifyMDS::*command)()) {
    QAction* made = action(caption, hint);
    connect(made, &QAction::triggered, this, [this, command] { Guarded(command); });
    return made;
  };
  FileOpenMDS = make("&Open MDS file...", "Open MDS file", &TModifyMDS::FileOpenMDSExecute);
  FileSaveMDS = make("&Save MDS file", "Save MDS file", &TModifyMDS::FileSaveMDSExecute);
  FileSaveMDSAs = action("Save MDS file &As...", "Save MDS file as");
  connect(FileSaveMDSAs, &QAction::triggered, this,
          [this] { RunCommand(Host.Dialogs(), [this] { FileSaveMDSAsExecute(); }); });
  FileOpenTXT = make("Open s&yntax file...", "Open syntax file", &TModifyMDS::FileOpenTXTExecute);
  FileSaveTXT = make("Save sy&ntax file", "Save syntax file", &TModifyMDS::FileSaveTXTExecute);
  FileSaveTXTAs = action("Save syntax file As...", "Save syntax file as");
  connect(FileSaveTXTAs, &QAction::triggered, this,
          [this] { RunCommand(Host.Dialogs(), [this] { FileSaveTXTAsExecute(); }); });
  FileClose = action("&Close this window", "Close this window");
  connect(FileClose, &QAction::triggered, this, &QWidget::close);
  RunCompute = make("&Run", "Run selected command", &TModifyMDS::RunComnputeExecute);
  RunUseSyntax = make("Use &Syntax", "Use syntax for modifications", &TModifyMDS::RunUseSyntaxExecute);
  RunStopSyntax = make("Stop &Syntax", "Stop using syntax", &TModifyMDS::RunStopSyntaxExecute);
  // The tool bar's buttons do what the mode's menu items do.
  auto follow = [this](const char* caption, QAction* mds, QAction* txt) {
    auto* action = new QAction(caption, this);
    connect(action, &QAction::triggered, this, [this, mds, txt] {
      (Memo1->isVisibleTo(this) ? txt : mds)->trigger();
    });
    return action;
  };
  ToolOpen = follow("Open", FileOpenMDS, FileOpenTXT);
  ToolSave = follow("Save", FileSaveMDS, FileSaveTXT);
  ToolSaveAs = follow("Save As", FileSaveMDSAs, FileSaveTXTAs);
  ToolSyntax = follow("Syntax", RunUseSyntax, RunStopSyntax);
}

QWidget* TModifyMDS::CreateCodePanels() {
  auto* panels = new QWidget(this);
  auto* row = new QHBoxLayout(panels);
  row->setContentsMargins(0, 0, 0, 0);
  auto list = [&](QWidget* parent) {
    auto* box = new QListWidget(parent);
    box->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return box;
  };
  PanelCodes = new QWidget(panels);
  auto* left = new QVBoxLayout(PanelCodes);
  left->setContentsMargins(0, 0, 0, 0);
  // The list captions wrap rather than be cut when the panels are narrow.
  auto caption = [](const char* text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
  };
  left->addWidget(caption("Select codes in file...", PanelCodes));
  CodesInFile = list(PanelCodes);
  CodesInFile->setStyleSheet("QListWidget { background: #fffbf0; }");
  left->addWidget(CodesInFile, 1);
  auto* leftButtons = new QHBoxLayout;
  MoveAllCodes = new QPushButton("move all", PanelCodes);
  MoveSelCodes = new QPushButton("move sel.", PanelCodes);
  leftButtons->addWidget(MoveAllCodes);
  leftButtons->addWidget(MoveSelCodes);
  left->addLayout(leftButtons);

  PanelPickedCodes = new QWidget(panels);
  auto* right = new QVBoxLayout(PanelPickedCodes);
  right->setContentsMargins(0, 0, 0, 0);
  right->addWidget(caption("...for use in the command.", PanelPickedCodes));
  PickedCodes = list(PanelPickedCodes);
  right->addWidget(PickedCodes, 1);
  auto* rightButtons = new QHBoxLayout;
  OmitSelCodes = new QPushButton("omit sel.", PanelPickedCodes);
  OmitAllCodes = new QPushButton("omit all", PanelPickedCodes);
  rightButtons->addWidget(OmitSelCodes);
  rightButtons->addWidget(OmitAllCodes);
  right->addLayout(rightButtons);

  Memo1 = new QPlainTextEdit(panels);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Memo1->viewport()->installEventFilter(this);
  ListBox1 = new QListWidget(panels);
  ListBox1->setMaximumHeight(120);
  auto* syntax = new QVBoxLayout;
  syntax->addWidget(Memo1, 1);
  syntax->addWidget(ListBox1);

  row->addWidget(PanelCodes);
  row->addWidget(PanelPickedCodes, 1);
  row->addLayout(syntax, 1);
  connect(MoveSelCodes, &QPushButton::clicked, this, [this] { MoveSelCodesClick(); });
  connect(MoveAllCodes, &QPushButton::clicked, this, [this] { MoveAllCodesClick(); });
  connect(OmitSelCodes, &QPushButton::clicked, this, [this] { OmitSelCodesClick(); });
  connect(OmitAllCodes, &QPushButton::clicked, this, [this] { OmitAllCodesClick(); });
  connect(CodesInFile, &QListWidget::itemDoubleClicked, this, [this] { MoveSelCodesClick(); });
  connect(PickedCodes, &QListWidget::itemDoubleClicked, this, [this] { OmitSelCodesClick(); });
  return panels;
}

TNumberUpDown* TModifyMDS::CreateOffsetEdit(QWidget* parent, QLineEdit*& edit) {
  auto* offset = new TNumberUpDown("0", LagDigits.Least, LagDigits.Greatest,
                                   DigitEditFilter(LagDigits, Host.Dialogs()), parent);
  edit = offset->Edit();
  edit->setMaximumWidth(60);
  return offset;
}

QWidget* TModifyMDS::CreateCommandPanel() {
  auto* panel = new QWidget(this);
  panel->setFixedWidth(300);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);

  ModifyCommandsBox = new QGroupBox("Select command:", panel);
  auto* grid = new QGridLayout(ModifyCommandsBox);
  CommandButtons = new QButtonGroup(this);
  CommandButtons->setExclusive(true);
  for (int i = 0; i < 13; ++i) {
    auto* button = new QToolButton(ModifyCommandsBox);
    button->setText(ButtonCaptions[i]);
    button->setCheckable(true);
    button->setMinimumWidth(50);
    ModSBs[i] = button;
    CommandButtons->addButton(button, i + 1);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    grid->addWidget(button, i / 4, i % 4);  // four to a row: five do not fit the panel
    connect(button, &QToolButton::clicked, this, [this] { sbMODClick(); });
  }
  column->addWidget(ModifyCommandsBox);

  WindowParmsBox = new QGroupBox("WINDOW command:", panel);
  auto* window = new QGridLayout(WindowParmsBox);
  FromOptionsGroup = new TRadioGroup("from \u00b1 units (required)",
                                     {QString::fromUtf8(FromOptionItems[0].data(), FromOptionItems[0].size()),
                                      QString::fromUtf8(FromOptionItems[1].data(), FromOptionItems[1].size()),
                                      QString::fromUtf8(FromOptionItems[2].data(), FromOptionItems[2].size())},
                                     1, WindowParmsBox);
  QStringList toItems;
  for (std::string_view item : ToOptionItems) toItems << QString::fromUtf8(item.data(), int(item.size()));
  ToOptionsGroup = new TRadioGroup("to \u00b1 units (optional)", toItems, NullToPart, WindowParmsBox);
  FromN = CreateOffsetEdit(WindowParmsBox, EditFromN);
  ToN = CreateOffsetEdit(WindowParmsBox, EditToN);
  // The from part above the to part, each with its offset below it: side by
  // side their captions do not fit the panel.
  window->addWidget(FromOptionsGroup, 0, 0);
  window->addWidget(FromN, 1, 0, Qt::AlignLeft);
  window->addWidget(ToOptionsGroup, 2, 0);
  window->addWidget(ToN, 3, 0, Qt::AlignLeft);
  WindowParmsLabel = new QLabel("(code = onset time unit, code) = offset time unit.", WindowParmsBox);
  WindowParmsLabel->setWordWrap(true);
  WindowTULabel = new QLabel(WindowParmsBox);
  WindowTULabel->setWordWrap(true);
  window->addWidget(WindowParmsLabel, 4, 0);
  window->addWidget(WindowTULabel, 5, 0);
  WindowParmsLabel->installEventFilter(this);
  WindowTULabel->installEventFilter(this);
  // The offset follows the choice however it is made: a click or a typed command.
  connect(ToOptionsGroup, &TRadioGroup::ItemIndexChanged, this, [this] { GroupToOptionsClick(); });
  column->addWidget(WindowParmsBox);

  // The time unit's name goes below the gap: beside it a long name cuts the caption.
  EditBoutGap = new QWidget(panel);
  auto* bout = new QGridLayout(EditBoutGap);
  bout->setContentsMargins(0, 0, 0, 0);
  bout->addWidget(new QLabel("Gap length for bouts", EditBoutGap), 0, 0);
  BoutGap = new QSpinBox(EditBoutGap);
  BoutGap->setRange(1, 32767);
  BoutGap->setValue(1);
  bout->addWidget(BoutGap, 0, 1);
  BoutTULabel = new QLabel("units =", EditBoutGap);
  BoutTULabel->setWordWrap(true);
  bout->addWidget(BoutTULabel, 1, 0, 1, 3);
  bout->setColumnStretch(2, 1);
  column->addWidget(EditBoutGap);

  NewCodePanel = new QWidget(panel);
  auto* newCode = new QHBoxLayout(NewCodePanel);
  newCode->setContentsMargins(0, 0, 0, 0);
  newCode->addWidget(new QLabel("Give name for new code:", NewCodePanel));
  NewCode = new QLineEdit(NewCodePanel);
  newCode->addWidget(NewCode);
  column->addWidget(NewCodePanel);

  auto* maxRow = new QGridLayout;
  MaxNumTUs = new QLabel("Excluded if > this #TUs:", panel);
  MaxNTUs = new QSpinBox(panel);
  MaxNTUs->setRange(0, 32767);
  MaxNTUs->setValue(0);
  MaxNumLabel = new QLabel("(if 0, none excluded)", panel);
  maxRow->addWidget(MaxNumTUs, 0, 0);
  maxRow->addWidget(MaxNTUs, 0, 1);
  maxRow->addWidget(MaxNumLabel, 1, 0, 1, 3);
  maxRow->setColumnStretch(2, 1);
  column->addLayout(maxRow);

  LabelChainMore = new QLabel("To use a code more than once for CHAIN,    move back left, then reselect.", panel);
  LabelChainMore->setWordWrap(true);
  column->addWidget(LabelChainMore);
  column->addStretch(1);
  return panel;
}

// --- loading and saving ------------------------------------------------

void TModifyMDS::LoadMdsFile() {
  const QString fileName = Host.CurrentMdsFile();
  ModifyFile loaded;
  bool accepted = false;
  try {
    accepted = ReadMdsHeader(loaded.Lines, fileName.toStdString(), loaded.Header, Host.Dialogs());
  } catch (...) {
    Host.SetCurrentMdsFile(QString(), false);
    throw;
  }
  if (!accepted) {
    Host.SetCurrentMdsFile(QString(), false);
    return;
  }
  loaded.HeaderEnd = loaded.Header.LineIndex;
  Mds = std::move(loaded);
  MdsLinesModified = false;
  SaveMdsDialog.FileName = fileName;
  setWindowTitle("Modify MDS File - " + NameWithoutFolder(fileName));
  FirstRun = true;
  ShowCodesInFile();
  PickedCodes->clear();
  NewCode->clear();
  EnableCommandButtons();
  FromOptionsGroup->SetItemIndex(1);
  ToOptionsGroup->SetItemIndex(NullToPart);
  FromN->SetPosition(0);
  ToN->SetPosition(0);
  BoutGap->setValue(1);
  GroupToOptionsClick();
  ShowCommandControls();
}

void TModifyMDS::ShowCodesInFile() {
  CodesInFile->clear();
  for (int c = 1; c <= Mds.Header.NCodes && c < int(Mds.Header.CodeNames.size()); ++c)
    CodesInFile->addItem(QString::fromStdString(Mds.Header.CodeNames[c]));
}

void TModifyMDS::EnableCommandButtons() {
  Flags = SetDataTypeFlags(Mds.Header.DataType);
  for (int i = 0; i < 13; ++i) ModSBs[i]->setEnabled(ButtonEnabled(i + 1, Flags));
}

void TModifyMDS::FileOpenMDSExecute() {
  std::optional<QString> chosen = Host.Dialogs().OpenFileName(OpenMdsDialog);
  if (!chosen || !QuerySaveMds()) return;
  OpenMdsDialog.FileName = *chosen;
  Host.SetCurrentMdsFile(*chosen, false);
  LoadMdsFile();
}

void TModifyMDS::FileSaveMDSExecute() {
  if (MdsLinesModified) SaveMdsLines();
}

bool TModifyMDS::FileSaveMDSAsExecute() {
  std::optional<QString> chosen = Host.Dialogs().SaveFileName(SaveMdsDialog);
  if (!chosen) return false;
  const QString before = SaveMdsDialog.FileName;
  SaveMdsDialog.FileName = *chosen;
  try {
    return SaveMdsLines();
  } catch (...) {
    SaveMdsDialog.FileName = before;
    throw;
  }
}

bool TModifyMDS::SaveMdsLines() {
  if (Mds.Lines.empty()) {
    Host.Dialogs().Notice("MDS file empty");
    return false;
  }
  // Written beside the old file and renamed over it, so a failed save
  // leaves the old file whole and the changes unsaved.
  SaveLines(SaveMdsDialog.FileName.toStdString(), Mds.Lines);
  MdsLinesModified = false;
  Host.AddFileSavedMsg(SaveMdsDialog.FileName, " (modified), ", MdsLoadTime);
  Host.SetCurrentMdsFile(SaveMdsDialog.FileName, false);
  LinesWritten = true;
  return true;
}

void TModifyMDS::FileOpenTXTExecute() {
  std::optional<QString> chosen = Host.Dialogs().OpenFileName(OpenTxtDialog);
  if (!chosen || !QuerySaveSyntax()) return;
  OpenTxtDialog.FileName = *chosen;
  const dynString lines = LoadTextLines(chosen->toStdString());
  Memo1->setPlainText(FromLines(lines).join('\n'));
  SaveTxtDialog.FileName = *chosen;
  Host.AppendResult(NameWithoutFolder(*chosen) + " syntax file opened");
  LinesWritten = true;
  Memo1->document()->setModified(false);
}

void TModifyMDS::FileSaveTXTExecute() {
  if (!Memo1->document()->isModified()) return;
  if (SaveTxtDialog.FileName.isEmpty())
    FileSaveTXTAsExecute();
  else
    SaveSyntaxFile();
}

bool TModifyMDS::FileSaveTXTAsExecute() {
  std::optional<QString> chosen = Host.Dialogs().SaveFileName(SaveTxtDialog);
  if (!chosen) return false;
  SaveTxtDialog.FileName = *chosen;
  SaveSyntaxFile();
  return true;
}

void TModifyMDS::SaveSyntaxFile() {
  const QStringList lines = Memo1->toPlainText().split('\n');
  SaveTextLines(SaveTxtDialog.FileName.toStdString(), ToLines(lines));
  Memo1->document()->setModified(false);
  Host.AddFileSavedMsg(SaveTxtDialog.FileName, " (syntax), ", "");
  LinesWritten = true;
}

void TModifyMDS::MenuClearWindowExecute() {
  if (!QuerySaveSyntax()) return;
  Memo1->clear();
  Memo1->document()->setModified(false);
  SaveTxtDialog.FileName.clear();
}

bool TModifyMDS::QuerySaveMds() {
  if (!MdsLinesModified || Mds.Lines.empty()) return true;
  const Answer answer =
      Host.Dialogs().Message(BoxStyle::Question,
                           NameWithoutFolder(SaveMdsDialog.FileName) + " has been modified. Save (yes lets you rename)?",
                           Buttons::YesNoCancel);
  if (answer == Answer::Cancel) return false;
  if (answer == Answer::No) {
    MdsLinesModified = false;
    return true;
  }
  // A save that is cancelled or fails keeps the window, and the changes.
  bool saved = false;
  RunCommand(Host.Dialogs(), [&] { saved = FileSaveMDSAsExecute(); });
  return saved;
}

bool TModifyMDS::QuerySaveSyntax() {
  if (!Memo1->isVisibleTo(this) || Memo1->document()->isEmpty() || !Memo1->document()->isModified()) return true;
  const QString question = SaveTxtDialog.FileName.isEmpty()
                               ? QString("Do you want to save the syntax you entered?")
                               : NameWithoutFolder(SaveTxtDialog.FileName) +
                                     " has been modified.  Save (yes lets you rename)?";
  const Answer answer = Host.Dialogs().Message(BoxStyle::Question, question, Buttons::YesNoCancel);
  if (answer == Answer::Cancel) return false;
  if (answer == Answer::No) {
    Memo1->document()->setModified(false);
    return true;
  }
  bool saved = false;
  RunCommand(Host.Dialogs(), [&] { saved = FileSaveTXTAsExecute(); });
  return saved;
}

bool TModifyMDS::FormCloseQuery() { return QuerySaveSyntax() && QuerySaveMds(); }

void TModifyMDS::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  if (LinesWritten) {
    dynString separator;
    WriteSeparatorLine(separator);
    Host.AppendResults(separator);
    LinesWritten = false;
  }
  event->accept();
}

void TModifyMDS::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (PanelCodes) PanelCodes->setFixedWidth(std::max(PanelCodes->minimumSizeHint().width(), (width() - 330) / 2));
}

bool TModifyMDS::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == WindowParmsLabel || watched == WindowTULabel) {
      WindowParmsBoxDblClick();
      return true;
    }
    if (Memo1 && watched == Memo1->viewport()) Memo1DblClick();
  }
  return QDialog::eventFilter(watched, event);
}

// --- modes and controls ------------------------------------------------

void TModifyMDS::RunUseSyntaxExecute() {
  SetSyntaxMode(true);
  for (QWidget* w : std::initializer_list<QWidget*>{WindowParmsBox, FromOptionsGroup, ToOptionsGroup, EditFromN, FromN,
                                                    EditToN, ToN, WindowParmsLabel})
    w->setVisible(false);
}

void TModifyMDS::RunStopSyntaxExecute() { SetSyntaxMode(false); }

void TModifyMDS::SetSyntaxMode(bool on) {
  for (QAction* a : {SyntaxFileSeparator, FileOpenTXT, FileSaveTXT, FileSaveTXTAs}) a->setVisible(on);
  Edit1->menuAction()->setVisible(on);
  for (QAction* a : Edit1->actions()) a->setEnabled(on);
  RunUseSyntax->setVisible(!on);
  RunStopSyntax->setVisible(on);
  ToolSyntax->setText(on ? "Stop Syntax" : "Syntax");
  ToolSyntax->setToolTip(on ? RunStopSyntax->toolTip() : RunUseSyntax->toolTip());
  for (QWidget* w : std::initializer_list<QWidget*>{PanelCodes, PanelPickedCodes, PickedCodes, ModifyCommandsBox,
                                                    NewCodePanel, MaxNumTUs, MaxNTUs, MaxNumLabel})
    w->setVisible(!on);
  Memo1->setVisible(on);
  ListBox1->setVisible(on);
  if (on) {
    EditBoutGap->setVisible(false);
    LabelChainMore->setVisible(false);
    Memo1->setFocus();
  } else {
    ShowCommandControls();
  }
}

void TModifyMDS::MoveSelCodesClick() {
  if (!ModSBs[CommandChain - 1]->isChecked()) {
    MoveSelectedCodes(*CodesInFile, *PickedCodes);
  } else {
    // A chain may use a code more than once: the codes are copied.
    for (int i = 0; i < CodesInFile->count(); ++i)
      if (CodesInFile->item(i)->isSelected()) PickedCodes->addItem(CodesInFile->item(i)->text());
  }
  ShowCommandControls();
}

void TModifyMDS::MoveAllCodesClick() {
  if (ModSBs[CommandChain - 1]->isChecked()) return;
  MoveAllCodeItems(*CodesInFile, *PickedCodes);
  ShowCommandControls();
}

void TModifyMDS::OmitSelCodesClick() {
  MoveSelectedCodes(*PickedCodes, *CodesInFile);
  ShowCommandControls();
}

void TModifyMDS::OmitAllCodesClick() {
  MoveAllCodeItems(*PickedCodes, *CodesInFile);
  ShowCommandControls();
}

QString TModifyMDS::TimeUnitText() const {
  const int index = std::clamp(Mds.Header.TimeUnitIndex, 0, 3);
  const std::string prefix = Flags.TimedOrState ? std::string(TimeUnitPrefix[index]) : "";
  return QString::fromStdString(prefix + Mds.Header.TimeUnitLabel);
}

void TModifyMDS::sbMODClick() {
  if (ModSBs[CommandWindow - 1]->isChecked()) {
    ToOptionsGroup->SetItemIndex(NullToPart);
    GroupToOptionsClick();
  }
  ShowCommandControls();
}

void TModifyMDS::ShowCommandControls() {
  if (Memo1->isVisibleTo(this)) return;
  const bool w = ModSBs[CommandWindow - 1]->isChecked();
  for (QWidget* widget : std::initializer_list<QWidget*>{WindowParmsBox, FromOptionsGroup, ToOptionsGroup, EditFromN,
                                                         FromN, EditToN, ToN, WindowParmsLabel})
    widget->setVisible(w);
  const bool twoPicked = PickedCodes->count() == 2;
  for (QWidget* widget : std::initializer_list<QWidget*>{MaxNumTUs, MaxNTUs, MaxNumLabel})
    widget->setVisible(w && twoPicked);
  if (w) WindowTULabel->setText("\u00b1 units = " + TimeUnitText());
  WindowTULabel->setVisible(w);
  const bool b = ModSBs[CommandBout - 1]->isChecked();
  EditBoutGap->setVisible(b);
  BoutTULabel->setText("units = " + TimeUnitText());
  LabelChainMore->setVisible(ModSBs[CommandChain - 1]->isChecked() && PickedCodes->count() > 0);
}

void TModifyMDS::GroupToOptionsClick() {
  const bool given = ToOptionsGroup->ItemIndex() < NullToPart;
  EditToN->setEnabled(given);
  ToN->setEnabled(given);
  if (!given) ToN->SetPosition(0);
}

void TModifyMDS::WindowParmsBoxDblClick() {
  for (QWidget* widget : std::initializer_list<QWidget*>{MaxNumTUs, MaxNTUs, MaxNumLabel})
    widget->setVisible(!widget->isVisibleTo(this));
  Host.AppendResult(" reset ");
}

void TModifyMDS::Memo1DblClick() { ToggleWordWrap(*Memo1); }

// --- running commands --------------------------------------------------

ModifyCommand TModifyMDS::CommandFromControls() const {
  ModifyCommand command;
  for (int i = 0; i < 13 && command.Number == NoCommand; ++i)
    if (ModSBs[i]->isChecked()) command.Number = i + 1;
  command.NewCode = NewCode->text().toStdString();
  for (int i = 0; i < PickedCodes->count(); ++i) command.PickedCodes.push_back(PickedCodes->item(i)->text().toStdString());
  command.Window = {FromOptionsGroup->ItemIndex(), FromN->Position(), ToOptionsGroup->ItemIndex(), ToN->Position()};
  command.BoutGap = BoutGap->value();
  command.MaxNTUs = MaxNTUs->value();
  return command;
}

void TModifyMDS::RunComnputeExecute() {
  if (!Memo1->isVisibleTo(this)) {
    RunModifyCommand();
    return;
  }
  QString text = Memo1->textCursor().hasSelection() ? Memo1->textCursor().selectedText() : Memo1->toPlainText();
  text.replace(QChar::ParagraphSeparator, '\n');
  ListBox1->clear();
  RunSyntax(text.toStdString(), *this);
}

void TModifyMDS::RunModifyCommand() {
  ModifyCommand command = CommandFromControls();
  if (command.Number == NoCommand) {
    Host.Dialogs().Notice("No command selected");
    return;
  }
  if (FirstRun) {
    dynString summary;
    SummaryFiles files;
    files.Current = Host.CurrentMdsFile().toStdString();
    WriteFileSummary(summary, 1, Mds.Header.DataType, Mds.Header.TimeUnitIndex, Mds.Header.TimeUnitLabel,
                     Mds.Lines.empty() ? std::string() : std::string(Mds.Lines[0]), "", files);
    Host.AppendResults(summary);
    LinesWritten = true;
    FirstRun = false;
  }
  if (!ValidateCommand(command, Mds.Header, Host.Dialogs())) return;
  DesktopDialogue progress(Host.Dialogs(), *ProgressBar1);
  ModifyOutcome outcome;
  try {
    outcome = vork::RunModifyCommand(Mds, command, NowText().toStdString(), progress);
  } catch (...) {
    ProgressBar1->setValue(0);
    throw;
  }
  const ModifyEcho echo = EchoModifyCommand(command, outcome.Counts, outcome.AllCodes);
  Host.AppendResults(echo.CountLines);
  Host.AppendResult(QString::fromStdString(echo.Text));
  Host.AddLogLine(QString::fromStdString(echo.Text));
  LinesWritten = true;

  Mds = std::move(outcome.File);
  MdsLoadTime = QString::fromStdString(outcome.LoadTime);
  MdsLinesModified = true;
  if (command.Number == CommandEvent) {
    EnableCommandButtons();
    if (!outcome.AllCodes) PickedCodes->clear();
    setWindowTitle("Modify MDS File - " + NameWithoutFolder(SaveMdsDialog.FileName) + " (event)");
  } else {
    NewCode->clear();
    PickedCodes->clear();
  }
  ShowCodesInFile();
  ProgressBar1->setValue(0);
  ShowCommandControls();
}

bool TModifyMDS::CommandEnabled(int number) const {
  return number >= 1 && number <= 13 && ModSBs[number - 1]->isEnabled();
}

void TModifyMDS::Apply(const ModifyCommand& command) {
  ModSBs[command.Number - 1]->setChecked(true);
  NewCode->setText(QString::fromStdString(command.NewCode));
  PickedCodes->clear();
  for (const std::string& code : command.PickedCodes) PickedCodes->addItem(QString::fromStdString(code));
  if (command.Number == CommandWindow) {
    FromOptionsGroup->SetItemIndex(command.Window.FromOption);
    FromN->SetPosition(command.Window.FromN);
    ToOptionsGroup->SetItemIndex(command.Window.ToOption);
    ToN->SetPosition(command.Window.ToN);
  }
  if (command.Number == CommandBout) BoutGap->setValue(command.BoutGap);
  RunModifyCommand();
}

void TModifyMDS::ListError(const std::string& line) { ListBox1->addItem(QString::fromStdString(line)); }

UserDialogue& TModifyMDS::Dialogue() { return Host.Dialogs(); }

}  // namespace vork
