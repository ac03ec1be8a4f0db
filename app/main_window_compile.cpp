// The compile driver and the compiler message list of the main window.
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <algorithm>

#include "widgets/date_time_text.h"
#include "widgets/desktop_dialogue.h"
#include "app/main_window.h"
#include "app/results_window.h"
#include "widgets/text_lines.h"
#include "compiler/compile_sds.h"
#include "core/file_names.h"
#include "core/text_file.h"

namespace vork {
namespace {

constexpr int ShownMessageListHeight = 100;
constexpr int MessageSelectionLength = 3;

// The message list under the editor as the compiler fills it: it shows at
// least 100 pixels high once there is a message.
class MessageListBox : public CompilerMessageList {
 public:
  explicit MessageListBox(TMainForm& form) : Form(form) {}
  void Clear() override { Form.ListBox1->clear(); }
  void Append(const std::string& line) override {
    if (Form.MessageListHeight() < ShownMessageListHeight) {
      Form.SetMessageListHeight(ShownMessageListHeight);
    }
    Form.ListBox1->addItem(QString::fromStdString(line));
  }

 private:
  TMainForm& Form;
};

CompileOptions CompileOptionsOf(const OptionStore& options) {
  CompileOptions compile;
  compile.CaseSensitive = options.CaseSensitive;
  compile.OneCharCodes = options.OneCharCodes;
  compile.RepeatCheck = options.RepeatCheck;
  compile.ExclusivityCheck = options.ExclusivityCheck;
  compile.SingLineComX = options.SingLineComX;
  compile.MultLineComX = options.MultLineComX;
  compile.CompressMDS = options.CompressMDS;
  compile.CurrentDateTime = [] { return NowText().toStdString(); };
  return compile;
}

}  // namespace

void TMainForm::ConnectCompileActions() {
  SaveMdsDialog = {"Save MDS file", "MDS data file (*.mds)|*.mds", "mds", "", true, false};
  connect(CompileToMDS, &QAction::triggered, this, Guarded(&TMainForm::CompileToMDSExecute));
  connect(CompileCheckSyntax, &QAction::triggered, this,
          Guarded(&TMainForm::CompileCheckSyntaxExecute));
  connect(ListBox1, &QListWidget::itemClicked, this, Guarded(&TMainForm::ListBox1Click));
  CopySelected1 = new QAction("Copy selected", ListBox1);
  CopyAll1 = new QAction("Copy all to Results", ListBox1);
  connect(CopySelected1, &QAction::triggered, this, Guarded(&TMainForm::CopySelected1Click));
  connect(CopyAll1, &QAction::triggered, this, Guarded(&TMainForm::CopyAll1Click));
  ListBox1->addAction(CopySelected1);
  ListBox1->addAction(CopyAll1);
  ListBox1->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TMainForm::CompileToMDSExecute() {
  if (Memo1->document()->isEmpty()) {
    Dialogs.Beep();
    return;
  }
  RunCompiler(false);
}

void TMainForm::CompileCheckSyntaxExecute() {
  if (Memo1->document()->isEmpty()) {
    Dialogs.Beep();
    return;
  }
  RunCompiler(true);
}

void TMainForm::RunCompiler(bool syntaxOnly) {
  CompiledLines = EditorLineList();
  dynString sdsLines;
  sdsLines.reserve(CompiledLines.size());
  for (const EditorLine& line : CompiledLines) sdsLines.push_back(line.Text.toStdString());
  dynString mdsLines;
  ListBox1->clear();
  NavPts.clear();
  SetMessageListHeight(0);

  MessageListBox messages(*this);
  // The compiler's progress moves the main window's bar, once per session.
  DesktopDialogue dialogue(Dialogs, *ProgressBar1);
  int errorCount = 0;
  std::string savedAt;
  CompileSds(sdsLines, mdsLines, messages, NavPts, dialogue, syntaxOnly, Options.MaxErrors,
             errorCount, savedAt, CompileOptionsOf(Options));
  if (errorCount > 0) {
    StatusPanel0->clear();
    return;
  }
  if (syntaxOnly) {
    StatusPanel0->setText("No errors (syntax check)");
    return;
  }
  StatusPanel0->setText("No errors");

  if (SaveSdsDialog.FileName.isEmpty()) {
    std::optional<QString> chosen = Dialogs.SaveFileName(SaveSdsDialog);
    if (!chosen) {
      Dialogs.Notice("MDS file not saved.");
      return;
    }
    SaveSdsDialog.FileName = *chosen;
  }
  FileSaveSDSExecute();

  SaveMdsDialog.FileName =
      QString::fromStdString(RemoveFileExt(SaveSdsDialog.FileName.toStdString())) + ".mds";
  if (QFileInfo::exists(SaveMdsDialog.FileName)) {
    const Answer answer =
        Dialogs.Message(BoxStyle::Question,
                        "OK to overwrite " + NameWithoutFolder(SaveMdsDialog.FileName) +
                            "? (No lets you give new name)",
                        Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return;
    if (answer == Answer::No) {
      std::optional<QString> chosen = Dialogs.SaveFileName(SaveMdsDialog);
      if (!chosen) return;
      SaveMdsDialog.FileName = *chosen;
    }
  }
  const QString mdsFile = SaveMdsDialog.FileName;
  SaveTextLines(mdsFile.toStdString(), mdsLines);
  OpenMdsDialog.FileName = mdsFile;
  AddFileSavedMsg(mdsFile, ", ", QString::fromStdString(savedAt));
}

void TMainForm::ListBox1Click() {
  const int row = ListBox1->currentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= NavPts.size() || CompiledLines.empty()) return;
  // The compiler counts every line it was given as its length plus 2; find
  // the line holding the position and the place in it.
  std::size_t position = NavPts[static_cast<std::size_t>(row)];
  std::size_t line = 0;
  while (line + 1 < CompiledLines.size()) {
    const std::size_t span = static_cast<std::size_t>(CompiledLines[line].Text.size()) + 2;
    if (position < span) break;
    position -= span;
    ++line;
  }
  const EditorLine& at = CompiledLines[line];
  const int documentEnd = std::max(Memo1->document()->characterCount() - 1, 0);
  const int start =
      std::min(at.DocumentStart + static_cast<int>(std::min<std::size_t>(position, at.Text.size())),
               documentEnd);
  QTextCursor cursor(Memo1->document());
  cursor.setPosition(start);
  cursor.setPosition(std::min(start + MessageSelectionLength, documentEnd),
                     QTextCursor::KeepAnchor);
  Memo1->setFocus();
  Memo1->setTextCursor(cursor);
}

void TMainForm::CopySelected1Click() {
  const QListWidgetItem* item = ListBox1->currentItem();
  if (!item) return;
  Results->AppendLines({QString(), item->text(), QString()});
}

void TMainForm::CopyAll1Click() {
  QStringList lines{QString()};
  for (int i = 0; i < ListBox1->count(); ++i) lines << ListBox1->item(i)->text();
  lines << QString();
  Results->AppendLines(lines);
}

}  // namespace vork
