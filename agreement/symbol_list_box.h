#pragma once

// The memo of plot symbols beside a picked-codes list: kept in shape, saved
// to and loaded from plot-symbol files through the program's file dialogs.
// Shared by the plot window and the agreement window.

class QListWidget;
class QPlainTextEdit;

namespace vork {

class Platform;
struct FileDialogSpec;

// The dialogs of plot-symbol files ("Open plot symbols", "Save plot
// symbols"); a window keeps its own copies, which remember the name chosen.
FileDialogSpec OpenSymbolsDialogSpec();
FileDialogSpec SaveSymbolsDialogSpec();

// Every memo line one character ("?" for an empty one), and as many lines
// as picked has items.
void NormalizeSymbolList(const QListWidget& picked, QPlainTextEdit& memo);

// Asks for a file and writes the symbols of the memo's first n lines; with
// n below 1 only beeps. Throws CommandError when the file cannot be written.
void SaveSymbolList(QPlainTextEdit& memo, int n, FileDialogSpec& dialog, Platform& platform);

// Asks for a file and replaces the memo's lines with the symbols of its first
// n lines; with n below 1, or a file without lines, only beeps.
void LoadSymbolList(QPlainTextEdit& memo, int n, FileDialogSpec& dialog, Platform& platform);

}  // namespace vork
