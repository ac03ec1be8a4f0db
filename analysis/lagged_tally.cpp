#include "analysis/lagged_tally.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "core/command_error.h"
#include "core/user_dialogue.h"

namespace vork {

std::vector<CategoryRun> CategorizeUnits(const dynChar2& segmentMatrix, int nTimeUnits,
                                         const dynInteger& idx) {
  std::vector<CategoryRun> runs;
  if (nTimeUnits <= 0) return runs;
  const int n = static_cast<int>(idx.size()) - 1;
  std::vector<std::int32_t> category(static_cast<std::size_t>(nTimeUnits), 0);
  // Later list positions first, so that earlier ones overwrite them and win.
  for (int i = n; i >= 1; --i) {
    const int code = idx[static_cast<std::size_t>(i)];
    if (code <= 0) continue;
    if (static_cast<std::size_t>(code) > segmentMatrix.size())
      throw CommandError("Code number " + std::to_string(code) +
                         " is beyond the codes of the segment.");
    const std::string& row = segmentMatrix[static_cast<std::size_t>(code - 1)];
    if (row.size() < static_cast<std::size_t>(nTimeUnits))
      throw CommandError("A segment row holds fewer time units than its segment line says.");
    for (int u = 0; u < nTimeUnits; ++u)
      if (row[static_cast<std::size_t>(u)] != '.') category[static_cast<std::size_t>(u)] = i;
  }
  if (n >= 1 && idx[static_cast<std::size_t>(n)] == 0)
    for (auto& c : category)
      if (c == 0) c = n;
  for (int u = 0; u < nTimeUnits; ++u) {
    const std::int32_t c = category[static_cast<std::size_t>(u)];
    if (runs.empty() || runs.back().Category != c) runs.push_back({u, c});
  }
  return runs;
}

namespace {

// The end (exclusive) of run k of a segment of nTimeUnits units.
std::int32_t RunEnd(const std::vector<CategoryRun>& runs, std::size_t k, std::int32_t nTimeUnits) {
  return k + 1 < runs.size() ? runs[k + 1].Start : nTimeUnits;
}

// The run that holds unit u (runs start at 0 and cover the segment).
std::size_t RunHolding(const std::vector<CategoryRun>& runs, std::int32_t u) {
  auto it = std::upper_bound(runs.begin(), runs.end(), u,
                             [](std::int32_t unit, const CategoryRun& r) { return unit < r.Start; });
  return static_cast<std::size_t>(it - runs.begin()) - 1;
}

}  // namespace

bool TallySegmentPairs(const CategorizedSegment& segment, int lag, dynInteger2& freqTable) {
  const std::int64_t units = segment.NTimeUnits;
  const std::int64_t first = std::max<std::int64_t>(0, -static_cast<std::int64_t>(lag));
  const std::int64_t last = std::min<std::int64_t>(units - 1, units - 1 - lag);
  if (first > last) return false;
  const auto& givens = segment.Givens;
  const auto& targets = segment.Targets;
  if (givens.empty() || targets.empty()) return true;
  std::size_t g = RunHolding(givens, static_cast<std::int32_t>(first));
  std::size_t t = RunHolding(targets, static_cast<std::int32_t>(first + lag));
  std::int64_t u = first;
  while (u <= last) {
    const std::int64_t givenEnd = RunEnd(givens, g, segment.NTimeUnits);
    const std::int64_t targetEnd = RunEnd(targets, t, segment.NTimeUnits) - lag;
    const std::int64_t end = std::min({givenEnd, targetEnd, last + 1});
    const std::int32_t row = givens[g].Category;
    const std::int32_t column = targets[t].Category;
    if (row > 0 && column > 0) {
      if (static_cast<std::size_t>(row) >= freqTable.size() ||
          static_cast<std::size_t>(column) >= freqTable[static_cast<std::size_t>(row)].size())
        throw CommandError("The table of lagged pairs is smaller than the code lists.");
      std::int32_t& cell = freqTable[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
      const std::int64_t count = static_cast<std::int64_t>(cell) + (end - u);
      if (count > std::numeric_limits<std::int32_t>::max())
        throw CommandError("More lagged pairs than a table cell can count.");
      cell = static_cast<std::int32_t>(count);
    }
    u = end;
    if (end == givenEnd) ++g;
    if (end == targetEnd) ++t;
  }
  return true;
}

void TallyLaggedPairs(const std::string& sessionLabel, std::span<const CategorizedSegment> segments,
                      int lag, dynInteger2& freqTable, UserDialogue& dialogue,
                      bool& suppressLagWarning) {
  for (const CategorizedSegment& segment : segments) {
    if (TallySegmentPairs(segment, lag, freqTable) || suppressLagWarning) continue;
    const Answer answer =
        dialogue.Ask(BoxStyle::Warning,
                     "<" + sessionLabel + "> insufficient data for lag " +
                         std::to_string(lag) + ". Select Ignore to suppress this warning.",
                     Buttons::OkIgnore);
    if (answer == Answer::Ignore) suppressLagWarning = true;
  }
}

}  // namespace vork
