#include "agreement/time_unit_tally.h"

#include <algorithm>

#include "core/command_error.h"

namespace vork {

void TallyTimeUnits(const SegmentPair& pair, int a, int b, int timeTol, dynInteger2& matrix,
                    std::string* marks) {
  const auto& lineA = pair.Obs[a].Timeline;
  const auto& lineB = pair.Obs[b].Timeline;
  const int from = pair.Frame.SpanFrom[0];
  const int to = pair.Frame.SpanTo[0];
  if (from > to) return;
  if (std::min(lineA.size(), lineB.size()) <= static_cast<size_t>(to))
    throw CommandError("The timelines of this pair of segments are shorter than their overlap.");
  const size_t size = matrix.size();
  for (const dynInteger& row : matrix) {
    if (row.size() != size) throw CommandError("The agreement matrix is not square.");
  }
  const auto index = [size](std::int32_t code) {
    if (code < 0 || static_cast<size_t>(code) >= size)
      throw CommandError("A timeline code lies outside the agreement matrix.");
    return static_cast<size_t>(code);
  };
  const auto cell = [&](std::int32_t row, std::int32_t column) -> std::int32_t& {
    return matrix[index(row)][index(column)];
  };

  // How often each code occurs in B's window [low, high] around t; the
  // window slides along with t, so every unit enters and leaves it once.
  std::vector<std::int64_t> inWindow(timeTol > 0 ? size : 0, 0);
  int low = from;
  int high = from - 1;
  for (int t = from; t <= to; ++t) {
    const std::int32_t codeA = lineA[t];
    const std::int32_t codeB = lineB[t];
    if (codeA == codeB) {
      ++cell(codeA, codeB);
      continue;
    }
    bool nearby = false;
    if (timeTol > 0) {
      const int newHigh = static_cast<int>(std::min<std::int64_t>(std::int64_t{t} + timeTol, to));
      const int newLow = static_cast<int>(std::max<std::int64_t>(std::int64_t{t} - timeTol, from));
      for (; high < newHigh; ++high) ++inWindow[index(lineB[high + 1])];
      for (; low < newLow; ++low) --inWindow[index(lineB[low])];
      nearby = inWindow[index(codeA)] > 0;
    }
    if (nearby) {
      ++cell(codeA, codeA);
      if (marks) (*marks)[t] = '.';
    } else {
      ++cell(codeA, codeB);
      if (marks) (*marks)[t] = '-';
    }
  }
}

std::string TallySessionTimeUnits(const SegmentPair& pair, int timeTol, dynInteger2& matrix1,
                                  dynInteger2& matrix2) {
  const PlotFrame& frame = pair.Frame;
  std::string marks(static_cast<size_t>(frame.PlotEnd) + 1, ' ');
  std::fill(marks.begin() + frame.SpanFrom[3], marks.begin() + frame.SpanFrom[0], '#');
  std::fill(marks.begin() + frame.SpanTo[0] + 1, marks.begin() + frame.SpanTo[3] + 1, '#');
  TallyTimeUnits(pair, 0, 1, timeTol, matrix1, &marks);
  if (timeTol > 0) TallyTimeUnits(pair, 1, 0, timeTol, matrix2, nullptr);
  return marks;
}

}  // namespace vork
