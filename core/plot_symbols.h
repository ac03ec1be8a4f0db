#pragma once

#include <string>
#include <string_view>

#include "core/dyn_arrays.h"

namespace vork {

// Plot symbols: the plot and the agreement plots mark each picked code with
// one character that the user types, one line per picked code in the order of
// the picked-codes list. "?" stands for a code without a symbol. A symbol is
// one character, which in UTF-8 text may take several bytes.

inline constexpr std::string_view NoPlotSymbol = "?";

// The first character of text (all of its UTF-8 bytes); "" for empty text.
std::string FirstCharacter(std::string_view text);

// Makes every line exactly one character: an empty line becomes "?", a longer
// line keeps its first character. Then pads with "?" lines up to pickedCount
// lines; lines beyond that stay.
void NormalizeSymbolList(dynString& lines, int pickedCount);

// The symbols of the first n lines (fewer when there are fewer lines), each
// its first character or "?" for an empty line. This is what a plot-symbol
// file holds, and what a memo gets back from one.
dynString SymbolsOfLines(const dynString& lines, int n);

// Writes the symbols of the first n lines as a plot-symbol file, replacing
// it. Throws CommandError when the file cannot be written.
void SavePlotSymbolFile(const std::string& fileName, const dynString& lines, int n);

// Reads a plot-symbol file: the symbols of its first n lines. Empty when the
// file has no line. Throws CommandError when the file cannot be read.
dynString LoadPlotSymbolFile(const std::string& fileName, int n);

}  // namespace vork
