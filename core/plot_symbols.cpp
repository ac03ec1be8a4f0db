#include "core/plot_symbols.h"

#include <algorithm>

#include "core/text_file.h"

namespace vork {

namespace {

// The length of the UTF-8 sequence that a lead byte opens; a stray
// continuation byte or a sequence cut short counts as one byte.
size_t CharacterLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  size_t length = 1;
  if (lead >= 0xF0 && lead < 0xF8) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = lead < 0xF0 ? 3 : 1;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  if (length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

std::string FirstCharacter(std::string_view text) {
  if (text.empty()) return {};
  return std::string(text.substr(0, CharacterLength(text)));
}

void NormalizeSymbolList(dynString& lines, int pickedCount) {
  for (auto& line : lines) {
    line = line.empty() ? std::string(NoPlotSymbol) : FirstCharacter(line);
  }
  while (static_cast<int>(lines.size()) < pickedCount) lines.emplace_back(NoPlotSymbol);
}

dynString SymbolsOfLines(const dynString& lines, int n) {
  const auto count = static_cast<size_t>(std::clamp<std::int64_t>(n, 0, lines.size()));
  dynString symbols(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count));
  NormalizeSymbolList(symbols, 0);
  return symbols;
}

void SavePlotSymbolFile(const std::string& fileName, const dynString& lines, int n) {
  SaveTextLines(fileName, SymbolsOfLines(lines, n));
}

dynString LoadPlotSymbolFile(const std::string& fileName, int n) {
  return SymbolsOfLines(LoadTextLines(fileName), n);
}

}  // namespace vork
