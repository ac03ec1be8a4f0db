#include "widgets/plot_symbol_dialogs.h"

#include <QListWidget>
#include <QPlainTextEdit>

#include "core/plot_symbols.h"
#include "widgets/platform.h"

namespace vork {
namespace {

const FileDialogSpec OpenSymbolsDialog = {"Open plot symbols", "text files (*.txt)|*.txt", "txt",
                                          QString(), false, true};
const FileDialogSpec SaveSymbolsDialog = {"Save plot symbols", "text files (*.txt)|*.txt", "txt",
                                          QString(), true, false};

}  // namespace

dynString MemoLines(const QPlainTextEdit& memo) {
  QStringList lines = memo.toPlainText().split('\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
  dynString out;
  for (const QString& line : lines) out.push_back(line.toStdString());
  return out;
}

void ShowMemoLines(QPlainTextEdit& memo, const dynString& lines) {
  QStringList text;
  for (const std::string& line : lines) text.push_back(QString::fromStdString(line));
  memo.setPlainText(text.join('\n'));
}

void SaveSymbolList(Platform& platform, const QPlainTextEdit& memo, int n) {
  if (n < 1) {
    platform.Beep();
    return;
  }
  const std::optional<QString> file = platform.SaveFileName(SaveSymbolsDialog);
  if (file) SavePlotSymbolFile(file->toStdString(), MemoLines(memo), n);
}

void LoadSymbolList(Platform& platform, QPlainTextEdit& memo, int n) {
  if (n < 1) {
    platform.Beep();
    return;
  }
  const std::optional<QString> file = platform.OpenFileName(OpenSymbolsDialog);
  if (!file) return;
  const dynString symbols = LoadPlotSymbolFile(file->toStdString(), n);
  if (symbols.empty()) {
    platform.Beep();
    return;
  }
  ShowMemoLines(memo, symbols);
}

void ResetMarkers(const QListWidget& picked, QPlainTextEdit& memo) {
  dynString lines;
  for (int i = 0; i < picked.count(); ++i) lines.push_back(FirstCharacter(picked.item(i)->text().toStdString()));
  ShowMemoLines(memo, lines);
}

}  // namespace vork
