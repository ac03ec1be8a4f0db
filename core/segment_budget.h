#pragma once

#include <cstdint>
#include <string>

namespace vork {

// One memory budget for a segment, shared by the compiler, the reader and
// every analysis: what a step keeps for one segment (one byte per cell of
// its codes x time-units grid, when it builds one, plus whatever it keeps
// per time unit) may not pass it. A compiled file is refused before anything
// is allocated, so no file, however small, can make a step ask for more.
// The compiler also holds the compiled lines it writes to the budget.
constexpr std::int64_t SegmentMemoryBudget = std::int64_t{1} << 31;  // bytes, 2 GiB

// The bytes a step keeps for a segment: cellBytesPerUnit (the codes, when
// the step holds the grid; 0 when it does not) plus bytesPerUnit, for each
// of nTimeUnits units. Saturates instead of overflowing.
std::int64_t SegmentBytes(std::int64_t cellBytesPerUnit, std::int64_t nTimeUnits,
                          std::int64_t bytesPerUnit = 0);

// True when those bytes fit the budget (negative sizes never fit).
bool SegmentFitsBudget(std::int64_t cellBytesPerUnit, std::int64_t nTimeUnits,
                       std::int64_t bytesPerUnit = 0);

// Throws CommandError when they do not fit; where names the segment for the
// user (as "Session 3, segment 2" or "Compiled file line 17").
void CheckSegmentBudget(std::int64_t cellBytesPerUnit, std::int64_t nTimeUnits,
                        std::int64_t bytesPerUnit, const std::string& where);

// The bytes that lines of text take from the moment a step makes them until
// the results window shows them: each character in the copies made on the
// way (the step's lines, the window's list, the text appended, the window's
// own) and the window's bookkeeping for each line. Saturates instead of
// overflowing.
std::int64_t ResultsTextBytes(std::int64_t lines, std::int64_t characters);

// The text of that refusal, for callers that report it their own way (the
// compiler lists it as an error message at the token where the segment
// passes the budget).
std::string SegmentBudgetText(std::int64_t cellBytesPerUnit, std::int64_t nTimeUnits,
                              std::int64_t bytesPerUnit);

// The text of the compiler's refusal of a segment whose compiled lines
// (lineBytes) would, with what it holds already (heldBytes), pass the budget.
std::string CompiledLinesBudgetText(std::int64_t lineBytes, std::int64_t heldBytes);

}  // namespace vork
