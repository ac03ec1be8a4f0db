#include "core/segment_budget.h"

#include <limits>

#include "core/command_error.h"

namespace vork {

std::int64_t SegmentBytes(std::int64_t cellBytesPerUnit, std::int64_t nTimeUnits, std::int64_t bytesPerUnit) {
  constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
  if (cellBytesPerUnit < 0 || nTimeUnits < 0 || bytesPerUnit < 0) return most;
  if (cellBytesPerUnit > most - bytesPerUnit) return most;
  const std::int64_t perUnit = cellBytesPerUnit + bytesPerUnit;
  if (perUnit != 0 && nTimeUnits > most / perUnit) return most;
  return perUnit * nTimeUnits;
}

bool SegmentFitsBudget(std::int64_t cellBytesPerUnit, std::int64_t nTimeUnits, std::int64_t bytesPerUnit) {
  if (cellBytesPerUnit < 0 || nTimeUnits < 0 || bytesPerUnit < 0) return false;
  return SegmentBytes(cellBytesPerUnit, nTimeUnits, bytesPerUnit) <= SegmentMemoryBudget;
}

std::int64_t ResultsTextBytes(std::int64_t lines, std::int64_t characters) {
  constexpr std::int64_t bytesPerCharacter = 6;
  constexpr std::int64_t bytesPerLine = 128;
  constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
  if (lines < 0 || characters < 0 || lines > most / (2 * bytesPerLine) ||
      characters > most / (2 * bytesPerCharacter))
    return most;
  return lines * bytesPerLine + characters * bytesPerCharacter;
}

std::string SegmentBudgetText(std::int64_t cellBytesPerUnit, std::int64_t nTimeUnits, std::int64_t bytesPerUnit) {
  std::string text = "a segment of " + std::to_string(nTimeUnits) + " time units";
  if (cellBytesPerUnit > 0) text += " and " + std::to_string(cellBytesPerUnit) + " codes";
  text += " needs more than the " + std::to_string(SegmentMemoryBudget >> 20) +
          " MB a segment may take in memory; write it as several segments";
  (void)bytesPerUnit;
  return text;
}

std::string CompiledLinesBudgetText(std::int64_t lineBytes, std::int64_t heldBytes) {
  const auto megabytes = [](std::int64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20); };
  std::string text = "its compiled lines would take " + megabytes(lineBytes) + " MB";
  text += heldBytes >= (1 << 20) ? ", which with the " + megabytes(heldBytes) + " MB held before them passes"
                                 : ", more than";
  return text + " the " + std::to_string(SegmentMemoryBudget >> 20) +
         " MB a compile may hold in memory; write fewer codes or time units to a segment";
}

void CheckSegmentBudget(std::int64_t cellBytesPerUnit, std::int64_t nTimeUnits, std::int64_t bytesPerUnit,
                        const std::string& where) {
  if (SegmentFitsBudget(cellBytesPerUnit, nTimeUnits, bytesPerUnit)) return;
  throw CommandError(where + ": " + SegmentBudgetText(cellBytesPerUnit, nTimeUnits, bytesPerUnit) + ".");
}

}  // namespace vork
