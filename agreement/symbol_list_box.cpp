#include "agreement/symbol_list_box.h"

#include <QListWidget>
#include <QPlainTextEdit>

#include "core/plot_symbols.h"
#include "widgets/platform.h"
#include "widgets/text_lines.h"

namespace vork {

namespace {

dynString MemoLines(const QPlainTextEdit& memo) {
  const QString text = memo.toPlainText();
  if (text.isEmpty()) return {};
  return ToLines(text.split('\n'));
}

void ShowMemoLines(QPlainTextEdit& memo, const dynString& lines) {
  memo.setPlainText(FromLines(lines).join('\n'));
}

}  // namespace

FileDialogSpec OpenSymbolsDialogSpec() {
  return {"Open plot symbols", "text files (*.txt)|*.txt", "txt", "", false, true};
}

FileDialogSpec SaveSymbolsDialogSpec() {
  return {"Save plot symbols", "text files (*.txt)|*.txt", "txt", "", true, false};
}

void NormalizeSymbolList(const QListWidget& picked, QPlainTextEdit& memo) {
  dynString lines = MemoLines(memo);
  const dynString before = lines;
  vork::NormalizeSymbolList(lines, picked.count());
  if (lines != before) ShowMemoLines(memo, lines);
}

void SaveSymbolList(QPlainTextEdit& memo, int n, FileDialogSpec& dialog, Platform& platform) {
  if (n < 1) {
    platform.Beep();
    return;
  }
  const std::optional<QString> file = platform.SaveFileName(dialog);
  if (!file) return;
  dialog.FileName = *file;
  SavePlotSymbolFile(file->toStdString(), MemoLines(memo), n);
}

void LoadSymbolList(QPlainTextEdit& memo, int n, FileDialogSpec& dialog, Platform& platform) {
  if (n < 1) {
    platform.Beep();
    return;
  }
  const std::optional<QString> file = platform.OpenFileName(dialog);
  if (!file) return;
  dialog.FileName = *file;
  const dynString symbols = LoadPlotSymbolFile(file->toStdString(), n);
  if (symbols.empty()) {
    platform.Beep();
    return;
  }
  ShowMemoLines(memo, symbols);
}

}  // namespace vork
