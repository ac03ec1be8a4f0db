#include "analysis/lagged_tally.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "core/command_error.h"
#include "core/user_dialogue.h"

namespace vork {

std::vector<CategoryRun> CategorizeUnits(const SegmentRuns& runs, const dynInteger& idx) {
  std::vector<CategoryRun> categories;
  if (runs.NTimeUnits <= 0) return categories;
  const int n = static_cast<int>(idx.size()) - 1;
  const bool residualLast = n >= 1 && idx[static_cast<std::size_t>(n)] == 0;
  // One cursor per list position into its code's runs.
  std::vector<const CodeRun*> next(static_cast<std::size_t>(std::max(n, 0)) + 1, nullptr);
  std::vector<const CodeRun*> last(next.size(), nullptr);
  for (int i = 1; i <= n; ++i) {
    const int code = idx[static_cast<std::size_t>(i)];
    if (code <= 0) continue;
    if (static_cast<std::size_t>(code) >= runs.Runs.size())
      throw CommandError("Code number " + std::to_string(code) + " is beyond the codes of the segment.");
    const std::vector<CodeRun>& codeRuns = runs.Runs[static_cast<std::size_t>(code)];
    next[static_cast<std::size_t>(i)] = codeRuns.data();
    last[static_cast<std::size_t>(i)] = codeRuns.data() + codeRuns.size();
  }
  for (const std::int32_t u : runs.ChangeUnits) {
    std::int32_t category = residualLast ? n : 0;
    for (int i = 1; i <= n; ++i) {
      const CodeRun*& run = next[static_cast<std::size_t>(i)];
      if (run == nullptr) continue;
      while (run != last[static_cast<std::size_t>(i)] && run->End <= u) ++run;
      if (run != last[static_cast<std::size_t>(i)] && run->Start <= u) {
        category = i;
        break;
      }
    }
    if (categories.empty() || categories.back().Category != category) categories.push_back({u, category});
  }
  return categories;
}

std::int64_t LagRangeTallyBytes(int nLags, int nGivens, int nTargets) {
  return 2 * static_cast<std::int64_t>(sizeof(std::int64_t)) * (std::int64_t{nLags} + 1) *
         (std::int64_t{nGivens} + 1) * (std::int64_t{nTargets} + 1);
}

LagRangeTally::LagRangeTally(int firstLag, int lastLag, int nGivens, int nTargets)
    : FirstLag(firstLag), NLags(lastLag - firstLag + 1), NGivens(nGivens), NTargets(nTargets) {
  const std::size_t size = At(NGivens + 1, 0, 0);
  Constant.assign(size, 0);
  Slope.assign(size, 0);
}

void LagRangeTally::Clear() {
  std::fill(Constant.begin(), Constant.end(), 0);
  std::fill(Slope.begin(), Slope.end(), 0);
}

// The units u of given stretch [a, b) and u + L of target stretch [c, d)
// number max(0, min(b, d - L) - max(a, c - L)), which is
// ramp(d - a - L) - ramp(c - a - L) - ramp(d - b - L) + ramp(c - b - L) with
// ramp(x) = max(x, 0). Each ramp(K - L) is K - L up to L = K and 0 after:
// over the relative lags l = 0.. it adds K' - l (K' = K - FirstLag) to the
// lags below K', kept as differences that Finish sums.
void LagRangeTally::AddSegment(const CategorizedSegment& segment) {
  const std::vector<CategoryRun>& givens = segment.Givens;
  const std::vector<CategoryRun>& targets = segment.Targets;
  const std::int64_t units = segment.NTimeUnits;
  const std::int64_t firstLag = FirstLag;
  const std::int64_t lastLag = firstLag + NLags - 1;
  auto end = [units](const std::vector<CategoryRun>& runs, std::size_t k) -> std::int64_t {
    return k + 1 < runs.size() ? runs[k + 1].Start : units;
  };
  std::size_t low = 0;
  for (std::size_t g = 0; g < givens.size(); ++g) {
    const int row = givens[g].Category;
    if (row <= 0) continue;
    if (row > NGivens) throw CommandError("The table of lagged pairs is smaller than the code lists.");
    const std::int64_t a = givens[g].Start, b = end(givens, g);
    // Target stretches [c, d) meet [a, b) at some lag of the range when
    // d > a + firstLag and c < b + lastLag.
    while (low < targets.size() && end(targets, low) <= a + firstLag) ++low;
    for (std::size_t t = low; t < targets.size() && targets[t].Start < b + lastLag; ++t) {
      const int column = targets[t].Category;
      if (column <= 0) continue;
      if (column > NTargets) throw CommandError("The table of lagged pairs is smaller than the code lists.");
      const std::int64_t c = targets[t].Start, d = end(targets, t);
      const std::size_t cell = At(row, column, 0);
      const std::int64_t corners[4][2] = {{d - a, 1}, {c - a, -1}, {d - b, -1}, {c - b, 1}};
      for (const auto& [k, sign] : corners) {
        const std::int64_t kRelative = k - firstLag;
        if (kRelative <= 0) continue;
        const std::int64_t stop = std::min<std::int64_t>(kRelative, NLags);
        Constant[cell] += sign * kRelative;
        Slope[cell] += sign;
        Constant[cell + static_cast<std::size_t>(stop)] -= sign * kRelative;
        Slope[cell + static_cast<std::size_t>(stop)] -= sign;
      }
    }
  }
}

void LagRangeTally::Finish() {
  for (int row = 1; row <= NGivens; ++row) {
    for (int column = 1; column <= NTargets; ++column) {
      const std::size_t cell = At(row, column, 0);
      std::int64_t constant = 0, slope = 0;
      for (int l = 0; l < NLags; ++l) {
        constant += Constant[cell + static_cast<std::size_t>(l)];
        slope += Slope[cell + static_cast<std::size_t>(l)];
        Constant[cell + static_cast<std::size_t>(l)] = constant - slope * l;
      }
    }
  }
}

void LagRangeTally::TableOfLag(int lag, dynInteger2& freqTable) const {
  const int l = lag - FirstLag;
  if (l < 0 || l >= NLags || freqTable.size() < static_cast<std::size_t>(NGivens) + 1)
    throw CommandError("The lag " + std::to_string(lag) + " is outside the lags tallied.");
  for (int row = 1; row <= NGivens; ++row) {
    dynInteger& cells = freqTable[static_cast<std::size_t>(row)];
    if (cells.size() < static_cast<std::size_t>(NTargets) + 1)
      throw CommandError("The table of lagged pairs is smaller than the code lists.");
    for (int column = 1; column <= NTargets; ++column) {
      const std::int64_t count = Constant[At(row, column, l)];
      if (count > std::numeric_limits<std::int32_t>::max())
        throw CommandError("More lagged pairs than a table cell can count.");
      cells[static_cast<std::size_t>(column)] = static_cast<std::int32_t>(count);
    }
  }
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

void WarnShortSegment(const std::string& sessionLabel, int lag, UserDialogue& dialogue,
                      bool& suppressLagWarning) {
  if (suppressLagWarning) return;
  const Answer answer = dialogue.Ask(BoxStyle::Warning,
                                     "<" + sessionLabel + "> insufficient data for lag " + std::to_string(lag) +
                                         ". Select Ignore to suppress this warning.",
                                     Buttons::OkIgnore);
  if (answer == Answer::Ignore) suppressLagWarning = true;
}

void TallyLaggedPairs(const std::string& sessionLabel, std::span<const CategorizedSegment> segments,
                      int lag, dynInteger2& freqTable, UserDialogue& dialogue,
                      bool& suppressLagWarning) {
  for (const CategorizedSegment& segment : segments)
    if (!TallySegmentPairs(segment, lag, freqTable)) WarnShortSegment(sessionLabel, lag, dialogue, suppressLagWarning);
}

}  // namespace vork
