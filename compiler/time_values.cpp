#include "compiler/time_values.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"

namespace vork {

bool ReadDigits(std::string_view text, std::int64_t& value, std::int64_t most) {
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > most) return false;
  }
  return true;
}

namespace {

// Keeps a checked time's units, without and with the unit a ")" adds; a
// time that would not fit is left to ConvertSegmentTimes, which reports it.
void StoreTimeUnits(CompileState& state, int tokenIndex, std::int64_t exclusive, bool inclusive) {
  const std::int64_t closed = exclusive + (inclusive ? 1 : 0);
  if (closed > MaxTimeValue || static_cast<std::size_t>(tokenIndex) >= state.TokKind.size()) {
    state.TimesToConvert = true;
    return;
  }
  if (state.TokUnits.size() < state.TokKind.size()) state.TokUnits.resize(state.TokKind.size());
  TokenUnits& units = state.TokUnits[static_cast<std::size_t>(tokenIndex)];
  units.Exclusive = static_cast<std::uint32_t>(exclusive);
  units.Inclusive = static_cast<std::uint32_t>(closed);
}

// Keeps a checked time's units as ConvertSegmentTimes would work them out
// from the rewritten text: the whole seconds and the decimals, in units of
// the compile's time unit. A time written in another unit is left to
// ConvertSegmentTimes.
void KeepTimeUnits(CompileState& state, int tokenIndex, std::int64_t seconds, std::string_view decimals,
                   bool inclusive) {
  constexpr std::int64_t Scales[] = {1, 10, 100, 1000};
  std::int64_t fraction = 0;
  const auto count = static_cast<int>(decimals.size());
  if (count != state.TimeUnitIndex || count > 3 || (count > 0 && !ReadDigits(decimals, fraction))) {
    state.TimesToConvert = true;
    return;
  }
  StoreTimeUnits(state, tokenIndex, seconds * Scales[count] + fraction, inclusive);
}

// A time written as whole seconds without a leading zero, perhaps "." and
// one to three decimals: the form nearly every time is written in, and
// already as CheckTimeString rewrites it.
struct PlainTime {
  int Decimals = 0;
  // All its digits read as one number: its units when the time unit has
  // as many decimals as it.
  std::int64_t Units = 0;
};

// Reads a plain time whose whole seconds fit 31 bits; false for any other
// form.
bool ReadPlainTime(std::string_view s, PlainTime& time) {
  std::size_t at = 0;
  std::int64_t value = 0;
  for (; at < s.size() && s[at] >= '0' && s[at] <= '9'; ++at) {
    value = value * 10 + (s[at] - '0');
    if (value > MaxTimeValue) return false;
  }
  if (at == 0 || (at > 1 && s[0] == '0')) return false;
  time.Decimals = 0;
  if (at < s.size()) {
    if (s[at] != '.' || s.size() - at - 1 < 1 || s.size() - at - 1 > 3) return false;
    for (++at; at < s.size(); ++at) {
      if (s[at] < '0' || s[at] > '9') return false;
      value = value * 10 + (s[at] - '0');
      time.Decimals += 1;
    }
  }
  time.Units = value;
  return true;
}

// The first time of the compile fixes the time format and the time unit;
// every later one must agree with them.
void AgreeWithFirstTime(CompileState& state, int tokenIndex, int code, int decimalCount) {
  if (!state.FirstTimeSeen) {
    state.TimeFormat = code;
    state.TimeUnitIndex = decimalCount;
    state.FirstTimeSeen = true;
  } else if (decimalCount != state.TimeUnitIndex) {
    ReportCompileMessage(state, 19, -tokenIndex);
  } else if (code != state.TimeFormat) {
    ReportCompileMessage(state, 20, -tokenIndex);
  }
}

// Reads two pieces of digits written one after the other as one number.
bool ReadJoinedNumber(std::string_view first, std::string_view second, std::int64_t& value) {
  std::string joined(first);
  joined += second;
  return ReadDigits(joined, value);
}

}  // namespace

void CheckTimeString(CompileState& state, int tokenIndex) {
  if (tokenIndex < 1 || tokenIndex > state.NTokens) return;
  std::string_view s = state.TokText[tokenIndex];
  bool inclusive = false;
  if (!s.empty() && s.back() == ')') {
    inclusive = true;
    s.remove_suffix(1);
  }
  if (!s.empty() && s.front() == ',') s.remove_prefix(1);
  PlainTime plain;
  if (s.data() == state.TokText[tokenIndex].data() && ReadPlainTime(s, plain)) {
    // Nothing but the format and the unit to check, and nothing to rewrite.
    if (state.SegmentHasError) return;
    AgreeWithFirstTime(state, tokenIndex, plain.Decimals == 0 ? 1 : 4, plain.Decimals);
    if (plain.Decimals == state.TimeUnitIndex) {
      StoreTimeUnits(state, tokenIndex, plain.Units, inclusive);
    } else {
      state.TimesToConvert = true;
    }
    return;
  }
  if (s.empty()) {
    ReportCompileMessage(state, 21, -tokenIndex);
    return;
  }
  const char last = s.back();
  if (last == ',' || last == '.' || last == ':') {
    ReportCompileMessage(state, 15, -tokenIndex);
    return;
  }

  // Pieces of digits and the separator written before each piece; they
  // look into the token's text, which is rewritten only at the end.
  std::string_view pieces[4];
  char separators[3] = {};  // separators[k] stands before pieces[k + 1]
  int pieceCount = 0;
  int dots = 0;
  std::string_view rest = s;
  while (!rest.empty() && pieceCount < 4) {
    std::size_t at = 0;
    while (at < rest.size() && rest[at] != '.' && rest[at] != ':') ++at;
    if (at == rest.size()) {
      pieces[pieceCount++] = rest;
      rest = {};
    } else {
      if (pieceCount < 3) separators[pieceCount] = rest[at];
      pieces[pieceCount++] = rest.substr(0, at);
      if (rest[at] == '.') ++dots;
      rest.remove_prefix(at + 1);
    }
  }
  if (!rest.empty()) {
    ReportCompileMessage(state, 16, -tokenIndex);
    return;
  }
  int code = 2 * dots + pieceCount;
  if (pieceCount == 4) code = 8;
  if (code == 7) code = 6;
  if (code == 5 && pieceCount >= 3 && separators[1] == ':') code = 7;
  int decimalPiece = 0;  // 1-based; 0 none
  if (code == 4) decimalPiece = 2;
  if (code == 5 || code == 6) decimalPiece = 3;
  if (code == 8) decimalPiece = 4;
  const std::string_view decimals =
      decimalPiece >= 1 && decimalPiece <= pieceCount ? pieces[decimalPiece - 1] : std::string_view();

  if (decimals.size() > 3) ReportCompileMessage(state, 17, -tokenIndex);
  for (int k = 1; k < pieceCount; ++k) {
    std::int64_t value = 0;
    if (separators[k - 1] == ':' && ReadDigits(pieces[k], value) && value > 59) {
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
    readable = ReadDigits(pieces[k], p[k]) && readable;
  }
  std::int64_t joined = 0;
  if ((code == 6 || code == 7) && readable) readable = ReadJoinedNumber(pieces[0], pieces[1], joined);
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
  AgreeWithFirstTime(state, tokenIndex, code, decimalCount);
  // (More than three decimals were reported above and end the compile.)
  if (decimals.size() > 3) return;
  // The pieces look into the token's text: its units are kept before it is
  // rewritten.
  KeepTimeUnits(state, tokenIndex, value, decimals, inclusive);
  char text[24 + 8];
  char* end = std::to_chars(text, text + 24, value).ptr;
  if (decimalCount > 0) {
    *end++ = '.';
    end = std::copy(decimals.begin(), decimals.end(), end);
  }
  if (inclusive) *end++ = ')';
  const std::string_view rewritten(text, static_cast<std::size_t>(end - text));
  std::string& written = state.TokText[tokenIndex];
  if (written.size() != rewritten.size() || std::string_view(written) != rewritten) written = rewritten;
}

namespace {

// A time as CheckTimeString rewrote it, in units of timeUnitIndex decimals;
// false, and units 0, when it does not convert or does not fit 31 bits.
bool ConvertTime(std::string_view time, int timeUnitIndex, bool inclusive, std::uint32_t& units) {
  bool closed = false;
  if (!time.empty() && time.back() == ')') {
    closed = true;
    time.remove_suffix(1);
  }
  std::int64_t value = 0;
  bool readable = true;
  const std::size_t dot = time.find('.');
  if (dot == std::string_view::npos) {
    readable = ReadDigits(time, value);
  } else {
    std::int64_t scale = 1;
    for (int k = 0; k < timeUnitIndex && k < 3; ++k) scale *= 10;
    std::int64_t whole = 0;
    std::int64_t fraction = 0;
    const std::string_view decimals =
        time.substr(dot + 1, static_cast<std::size_t>(timeUnitIndex < 0 ? 0 : timeUnitIndex));
    // Times of more than three decimals are refused before they get here;
    // a unit beyond them would not fit the arithmetic.
    readable = timeUnitIndex >= 0 && timeUnitIndex <= 3 &&
               ReadDigits(time.substr(0, dot), whole) && ReadDigits(decimals, fraction);
    value = readable ? whole * scale + fraction : 0;
  }
  if (readable && inclusive && closed) value += 1;
  if (!readable || value > MaxTimeValue) {
    units = 0;
    return false;
  }
  units = static_cast<std::uint32_t>(value);
  return true;
}

}  // namespace

std::uint32_t TimeToUnits(CompileState& state, const std::string& time, bool inclusive,
                          int tokenIndex) {
  std::uint32_t units = 0;
  if (!ConvertTime(time, state.TimeUnitIndex, inclusive, units)) {
    ReportCompileMessage(state, 21, -tokenIndex);
  }
  return units;
}

void ConvertSegmentTimes(CompileState& state) {
  // Times checked into units already need no second reading.
  if (!state.TimesToConvert) return;
  state.TimesToConvert = false;
  if (state.TokUnits.size() < state.TokKind.size()) state.TokUnits.resize(state.TokKind.size());
  for (int k = 1; k <= state.NTokens; ++k) {
    if (state.TokKind[k] != TokenTime) continue;
    TokenUnits& units = state.TokUnits[k];
    const std::string& text = state.TokText[k];
    const bool converts = ConvertTime(text, state.TimeUnitIndex, false, units.Exclusive);
    const bool closed = !text.empty() && text.back() == ')';
    const std::int64_t inclusive = std::int64_t{units.Exclusive} + (closed ? 1 : 0);
    if (!converts || inclusive > MaxTimeValue) {
      ReportCompileMessage(state, 21, -k);
      units.Inclusive = 0;
    } else {
      units.Inclusive = static_cast<std::uint32_t>(inclusive);
    }
  }
}

}  // namespace vork
