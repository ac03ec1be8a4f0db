// Raw data files, the editor and the recent files of the main window.
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include "widgets/date_time_text.h"
#include "app/main_window.h"
#include "widgets/memo_commands.h"
#include "widgets/memo_find_replace.h"
#include "widgets/text_lines.h"
#include "core/file_names.h"
#include "core/raw_data_file.h"

namespace vork {
namespace {

constexpr int EditorClientHeight = 466;

// Loads a raw file's text into the editor piece by piece, so that the text
// is never held whole beside the editor's own copy. Nothing of the load can
// be undone, and the editor learns of the new text once, at the end.
// A read that fails halfway leaves the editor empty.
void LoadRawText(QPlainTextEdit& editor, RawDataText& text) {
  editor.clear();
  QTextDocument& document = *editor.document();
  const bool undo = document.isUndoRedoEnabled();
  document.setUndoRedoEnabled(false);
  QTextCursor end(&document);
  end.beginEditBlock();
  try {
    text.ReadPieces([&end](std::string_view piece) {
      end.insertText(QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size())));
    });
  } catch (...) {
    end.endEditBlock();
    editor.clear();
    document.setUndoRedoEnabled(undo);
    throw;
  }
  end.endEditBlock();
  document.setUndoRedoEnabled(undo);
  editor.moveCursor(QTextCursor::Start);
}

// The editor's lines as the file holds them: one per real line, a last
// empty line not counted.
dynString RawFileLines(const QTextDocument& document) {
  dynString lines;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    lines.push_back(block.text().toStdString());
  }
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace

std::function<void()> TMainForm::Guarded(void (TMainForm::*command)()) {
  return [this, command] { RunCommand(Dialogs, [this, command] { (this->*command)(); }); };
}

void TMainForm::ConnectFileActions() {
  SaveSdsDialog = {"Save SDS file", "Raw KELP Data File (*.sds)|*.sds", "sds", "", true, false};
  EditorFinder = new MemoFindReplace(this, Memo1, Dialogs);

  connect(FileNewSds, &QAction::triggered, this, Guarded(&TMainForm::FileNewSdsExecute));
  connect(FileOpenSdsMds, &QAction::triggered, this, Guarded(&TMainForm::FileOpenSdsMdsExecute));
  connect(FileSaveSDS, &QAction::triggered, this, Guarded(&TMainForm::FileSaveSDSExecute));
  connect(FileSaveSDSAs, &QAction::triggered, this, Guarded(&TMainForm::FileSaveSDSAsExecute));
  connect(ClearWindow, &QAction::triggered, this, Guarded(&TMainForm::ClearWindowExecute));
  for (int tag = 1; tag <= 5; ++tag) {
    connect(LastMenus[tag - 1], &QAction::triggered, this,
            [this, tag] { RunCommand(Dialogs, [this, tag] { LastFileClick(tag); }); });
  }
  ConnectEditActions(EditActions(), *Memo1, *EditorFinder);
  // The first change of the text makes the Edit menu usable for good.
  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Edit1->setEnabled(true); });
  OnMemoDoubleClick(*Memo1, [this] { Memo1DblClick(); });
}

void TMainForm::FileNewSdsExecute() {
  ClearWindowExecute();
  SetClientHeight(EditorClientHeight);
  Memo1->setFocus();
}

void TMainForm::FileOpenSdsMdsExecute() {
  const FileDialogSpec spec = {"Open SDS or MDS file",
                               "Raw or compiled (*.sds;*.mds)|*.sds;*.mds|All files (*.*)|*.*",
                               "sds",
                               "",
                               false,
                               true};
  if (std::optional<QString> chosen = Dialogs.OpenFileName(spec)) OpenDataFile(*chosen);
}

void TMainForm::OpenDataFile(const QString& fileName) {
  const QString ext = QFileInfo(fileName).suffix().toLower();
  bool asSds = ext == "sds";
  if (ext == "mds") {
    OpenMdsDialog.FileName = fileName;
    MdsLoadTime = NowText();
    AddRecentFile(fileName);
  } else if (!asSds) {
    asSds = Dialogs.Message(BoxStyle::Question, "Not an SDS file.  Proceed anyway?",
                            Buttons::YesNo) == Answer::Yes;
  }
  if (!asSds || !SaveModifiedSdsOK()) return;

  RawDataText text(fileName.toStdString());
  SetClientHeight(EditorClientHeight);
  try {
    LoadRawText(*Memo1, text);
  } catch (...) {
    // The editor no longer holds the old file's text: it must not be saved
    // under the old name.
    SaveSdsDialog.FileName.clear();
    setWindowTitle("VORK5");
    StatusPanel0->clear();
    throw;
  }
  Memo1->document()->setModified(false);
  SaveSdsDialog.FileName = fileName;
  setWindowTitle("VORK5 - " + NameWithoutFolder(fileName));
  ShowLineCount();
  SetMessageListHeight(0);

  const QString mds = QString::fromStdString(RemoveFileExt(fileName.toStdString())) + ".mds";
  if (QFileInfo::exists(mds) && FileNotNewer(fileName.toStdString(), mds.toStdString()) &&
      Dialogs.Message(BoxStyle::Question, "Use " + NameWithoutFolder(mds) + " for analysis?",
                      Buttons::YesNo) == Answer::Yes) {
    // The sibling becomes current without a new stamp: open analysis
    // windows do not offer to switch to it.
    OpenMdsDialog.FileName = mds;
    AddRecentFile(mds);
  } else {
    AddRecentFile(fileName);
  }
}

void TMainForm::LastFileClick(int tag) {
  if (tag < 1 || tag > 5) return;
  const QString fileName = LastFiles[tag - 1];
  if (QFileInfo::exists(fileName)) {
    OpenDataFile(fileName);
  } else {
    Dialogs.Notice(NameWithoutFolder(fileName) + " not found.");
  }
}

void TMainForm::FileSaveSDSExecute() {
  if (!Memo1->document()->isModified()) return;
  if (SaveSdsDialog.FileName.isEmpty()) {
    FileSaveSDSAsExecute();
  } else {
    WriteSdsFile();
  }
}

void TMainForm::FileSaveSDSAsExecute() {
  std::optional<QString> chosen = Dialogs.SaveFileName(SaveSdsDialog);
  if (!chosen) return;
  SaveSdsDialog.FileName = *chosen;
  WriteSdsFile();
}

void TMainForm::WriteSdsFile() {
  const QString fileName = SaveSdsDialog.FileName;
  WriteRawDataFile(fileName.toStdString(), RawFileLines(*Memo1->document()), Options.BackupSDS);
  Memo1->document()->setModified(false);
  AddFileSavedMsg(fileName, ",", QString());
  setWindowTitle("VORK5 - " + NameWithoutFolder(fileName));
}

void TMainForm::ClearWindowExecute() {
  if (!SaveModifiedSdsOK()) return;
  Memo1->clear();
  Memo1->document()->setModified(false);
  SaveSdsDialog.FileName.clear();
  ListBox1->clear();
  NavPts.clear();
  CompiledLines.clear();
  SetMessageListHeight(0);
  setWindowTitle("VORK5");
  StatusPanel0->clear();
}

void TMainForm::Memo1DblClick() { ToggleWordWrap(*Memo1); }

void TMainForm::ShowLineCount() {
  // Counted as EditorLineList counts, without copying the text.
  const QTextDocument& document = *Memo1->document();
  int count = document.blockCount();
  if (document.lastBlock().length() <= 1) --count;
  StatusPanel0->setText(QString::number(count) + " lines");
}

bool TMainForm::SaveModifiedSdsOK() {
  static constexpr SaveQuestion Question{
      "Do you want to save to an SDS file?",
      " has been modified. Do you want to save it (yes lets you rename)?"};
  return SaveModifiedTextOK(Dialogs, *Memo1->document(), Question, SaveSdsDialog.FileName,
                            [this] { FileSaveSDSAsExecute(); });
}

void TMainForm::AddRecentFile(const QString& fileName) {
  // An equal name further down stays: a name can stand twice.
  if (fileName != LastFiles[0]) {
    for (int i = 4; i > 0; --i) LastFiles[i] = LastFiles[i - 1];
    LastFiles[0] = fileName;
  }
  UpdateLastFileMenus();
  if (QFileInfo(fileName).suffix() == "mds") {
    StatusPanel1->setText("Active - " + NameWithoutFolder(fileName));
  }
}

void TMainForm::UpdateLastFileMenus() {
  for (int i = 0; i < 5; ++i) {
    LastMenus[i]->setVisible(!LastFiles[i].isEmpty());
    LastMenus[i]->setText(NameWithoutFolder(LastFiles[i]));
  }
}

std::vector<TMainForm::EditorLine> TMainForm::EditorLineList() const {
  // The text's own lines: wrapping changes only what the editor shows.
  std::vector<EditorLine> lines;
  const QTextDocument& document = *Memo1->document();
  lines.reserve(std::size_t(document.blockCount()));
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    lines.push_back({block.position(), block.text()});
  }
  // An empty last line does not count, and an empty text has no line.
  if (!lines.empty() && lines.back().Text.isEmpty()) lines.pop_back();
  return lines;
}

}  // namespace vork
