#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/compile_state.h"

namespace vork {

// The largest time and the largest number a KELP text may write: what a
// 32-bit signed integer holds.
constexpr std::int64_t MaxTimeValue = 0x7FFFFFFF;

// Reads a text of digits only as a number; false when it is empty, holds
// anything but digits, or passes most.
bool ReadDigits(std::string_view text, std::int64_t& value, std::int64_t most = MaxTimeValue);

// Checks the time token tokenIndex and, when its segment has no error,
// rewrites it as whole seconds, "." and the decimal digits when it has
// some, and ")" when it was written inclusive, and keeps its units as
// ConvertSegmentTimes would. The first time of the compile fixes the time
// format and the time unit.
void CheckTimeString(CompileState& state, int tokenIndex);

// A time as CheckTimeString rewrote it, in time units. With inclusive, a
// time written with ")" counts one unit more. A time that does not convert
// or does not fit 31 bits is error 21 at tokenIndex and counts as 0.
std::uint32_t TimeToUnits(CompileState& state, const std::string& time, bool inclusive,
                          int tokenIndex);

// Converts every time token of the segment once, as TimeToUnits would
// with inclusive set (reporting error 21 for a time that does not fit), and
// keeps both of its values for TokenTimeUnits. Where CheckTimeString kept
// the units of every time already, nothing is left to do.
void ConvertSegmentTimes(CompileState& state);

// The value TimeToUnits gives for time token tokenIndex, as
// ConvertSegmentTimes kept it; 0 for an index beyond the tokens.
inline std::uint32_t TokenTimeUnits(const CompileState& state, int tokenIndex, bool inclusive) {
  if (tokenIndex < 1 || tokenIndex > state.NTokens ||
      tokenIndex >= static_cast<int>(state.TokUnits.size())) {
    return 0;
  }
  const TokenUnits& units = state.TokUnits[static_cast<std::size_t>(tokenIndex)];
  return inclusive ? units.Inclusive : units.Exclusive;
}

}  // namespace vork
