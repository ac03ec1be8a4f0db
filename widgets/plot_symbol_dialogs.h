#pragma once

// The plot-symbol memo of the plot window and the agreement window: one
// symbol per picked code, one line each, saved to and loaded from
// plot-symbol files through the program's file dialogs.

#include "core/dyn_arrays.h"

class QListWidget;
class QPlainTextEdit;

namespace vork {

class Platform;

// The memo's lines as the symbol lists take them: none for an empty memo,
// and a line break at the end begins no line of its own.
dynString MemoLines(const QPlainTextEdit& memo);
void ShowMemoLines(QPlainTextEdit& memo, const dynString& lines);

// Gives every picked code its first character as its symbol, in list order:
// what the memo shows whenever the picked codes change.
void ResetMarkers(const QListWidget& picked, QPlainTextEdit& memo);

// Saves the symbols of the memo's first n lines to a file chosen in the
// "Save plot symbols" dialog; n < 1 only beeps. Throws CommandError when the
// file cannot be written.
void SaveSymbolList(Platform& platform, const QPlainTextEdit& memo, int n);

// Replaces the memo's lines with the symbols of the first n lines of a file
// chosen in the "Open plot symbols" dialog; n < 1, or a file without lines,
// only beeps. Throws CommandError when the file cannot be read.
void LoadSymbolList(Platform& platform, QPlainTextEdit& memo, int n);

}  // namespace vork
