#include "compiler/time_values.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"

namespace vork {
namespace {

// Times are kept to what a 32-bit signed integer holds.
constexpr std::int64_t MaxTimeValue = 0x7FFFFFFF;

// Reads a decimal number of digits only; false when empty, not digits, or
// beyond the largest time.
bool ReadNumber(std::string_view text, std::int64_t& value) {
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > MaxTimeValue) return false;
  }
  return true;
}

}  // namespace

void CheckTimeString(CompileState& state, int tokenIndex) {
  if (tokenIndex < 1 || tokenIndex > state.NTokens) return;
  std::string s = state.TokText[tokenIndex];
  bool inclusive = false;
  if (!s.empty() && s.back() == ')') {
    inclusive = true;
    s.pop_back();
  }
  if (!s.empty() && s.front() == ',') s.erase(0, 1);
  if (s.empty()) {
    ReportCompileMessage(state, 21, -tokenIndex);
    return;
  }
  const char last = s.back();
  if (last == ',' || last == '.' || last == ':') {
    ReportCompileMessage(state, 15, -tokenIndex);
    return;
  }

  // Pieces of digits and the separator written before each piece.
  std::vector<std::string> pieces;
  std::vector<char> separators;  // separators[k] stands before pieces[k + 1]
  int dots = 0;
  std::string_view rest = s;
  while (!rest.empty() && pieces.size() < 4) {
    const std::size_t at = rest.find_first_of(".:");
    if (at == std::string_view::npos) {
      pieces.emplace_back(rest);
      rest = {};
    } else {
      pieces.emplace_back(rest.substr(0, at));
      separators.push_back(rest[at]);
      if (rest[at] == '.') ++dots;
      rest.remove_prefix(at + 1);
    }
  }
  if (!rest.empty()) {
    ReportCompileMessage(state, 16, -tokenIndex);
    return;
  }
  const int pieceCount = static_cast<int>(pieces.size());
  int code = 2 * dots + pieceCount;
  if (pieceCount == 4) code = 8;
  if (code == 7) code = 6;
  if (code == 5 && separators.size() >= 2 && separators[1] == ':') code = 7;
  int decimalPiece = 0;  // 1-based; 0 none
  if (code == 4) decimalPiece = 2;
  if (code == 5 || code == 6) decimalPiece = 3;
  if (code == 8) decimalPiece = 4;
  const std::string decimals =
      decimalPiece >= 1 && decimalPiece <= pieceCount ? pieces[decimalPiece - 1] : "";

  if (decimals.size() > 3) ReportCompileMessage(state, 17, -tokenIndex);
  for (int k = 1; k < pieceCount; ++k) {
    std::int64_t value = 0;
    if (separators[k - 1] == ':' && ReadNumber(pieces[k], value) && value > 59) {
      ReportCompileMessage(state, 18, -tokenIndex);
      break;
    }
  }
  if (pieceCount == 4 && !(separators[0] == ':' && separators[1] == ':' && separators[2] == '.')) {
    ReportCompileMessage(state, 16, -tokenIndex);
  }
  if (state.SegmentHasError) return;

  std::int64_t p[4] = {0, 0, 0, 0};
  bool readable = true;
  for (int k = 0; k < pieceCount && k < 4; ++k) {
    if (k + 1 == decimalPiece) continue;
    readable = ReadNumber(pieces[k], p[k]) && readable;
  }
  std::int64_t joined = 0;
  if ((code == 6 || code == 7) && readable) readable = ReadNumber(pieces[0] + pieces[1], joined);
  std::int64_t value = 0;
  switch (code) {
    case 1:
    case 4: value = p[0]; break;
    case 2:
    case 5: value = p[0] * 60 + p[1]; break;
    case 3:
    case 8: value = p[0] * 3600 + p[1] * 60 + p[2]; break;
    case 6: value = joined; break;
    case 7: value = joined * 60 + p[2]; break;
    default: readable = false; break;
  }
  if (!readable || value > MaxTimeValue) {
    ReportCompileMessage(state, 21, -tokenIndex);
    return;
  }
  if (code == 8) code = 5;

  const int decimalCount = static_cast<int>(decimals.size());
  if (!state.FirstTimeSeen) {
    state.TimeFormat = code;
    state.TimeUnitIndex = decimalCount;
    state.FirstTimeSeen = true;
  } else if (decimalCount != state.TimeUnitIndex) {
    ReportCompileMessage(state, 19, -tokenIndex);
  } else if (code != state.TimeFormat) {
    ReportCompileMessage(state, 20, -tokenIndex);
  }
  std::string text = std::to_string(value);
  if (decimalCount > 0) text += "." + decimals;
  if (inclusive) text += ")";
  state.TokText[tokenIndex] = text;
}

std::uint32_t TimeToUnits(CompileState& state, const std::string& time, bool inclusive,
                          int tokenIndex) {
  std::string_view s = time;
  bool closed = false;
  if (!s.empty() && s.back() == ')') {
    closed = true;
    s.remove_suffix(1);
  }
  std::int64_t scale = 1;
  for (int k = 0; k < state.TimeUnitIndex; ++k) scale *= 10;
  std::int64_t value = 0;
  bool readable = true;
  const std::size_t dot = s.find('.');
  if (dot == std::string_view::npos) {
    readable = ReadNumber(s, value);
  } else {
    std::int64_t whole = 0;
    std::int64_t fraction = 0;
    const std::string_view decimals =
        s.substr(dot + 1, static_cast<std::size_t>(state.TimeUnitIndex < 0 ? 0 : state.TimeUnitIndex));
    readable = ReadNumber(s.substr(0, dot), whole) && ReadNumber(decimals, fraction);
    value = whole * scale + fraction;
  }
  if (readable && inclusive && closed) value += 1;
  if (!readable || value > MaxTimeValue) {
    ReportCompileMessage(state, 21, -tokenIndex);
    return 0;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace vork
