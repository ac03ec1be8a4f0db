#include "agreement/event_alignment.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/command_error.h"

namespace vork {

namespace {

enum Step : std::uint8_t { Pair = 0, Obs1Alone = 1, Obs2Alone = 2 };

// Steps packed four to a byte, row by row.
class StepTable {
 public:
  StepTable(std::int64_t rows, std::int64_t columns)
      : columns_(columns), bits_(static_cast<size_t>(AlignmentStepBytes(rows - 1, columns - 1)), 0) {}
  // Marks a cell not marked before (a Pair adds nothing).
  void Add(std::int64_t i, std::int64_t j, Step step) {
    const std::int64_t cell = i * columns_ + j;
    bits_[static_cast<size_t>(cell >> 2)] |= static_cast<std::uint8_t>(step << ((cell & 3) * 2));
  }
  Step Get(std::int64_t i, std::int64_t j) const {
    const std::int64_t cell = i * columns_ + j;
    return static_cast<Step>((bits_[static_cast<size_t>(cell >> 2)] >> ((cell & 3) * 2)) & 3);
  }

 private:
  std::int64_t columns_;
  std::vector<std::uint8_t> bits_;
};

// A pairing whose cost passes 2 is never taken: two lone events cost 2, and
// neighbouring distances differ by at most 1. So costs are kept no higher
// than 3, which keeps far-apart onsets from overflowing the sums.
constexpr std::int32_t NeverPaired = 3;

std::int32_t OnsetCost(std::int64_t t1, std::int64_t t2, int eventTol) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(2 * (std::llabs(t1 - t2) - eventTol), NeverPaired));
}

// The costs of pairing Obs1's event i with each of Obs2's events 1..n2.
// Timed and State data: the onsets at most EventTol apart are candidates; the
// best of them costs 0 and the others 2.
void RowCosts(const SegmentPair& pair, const EventAlignmentSettings& settings, int i, int others,
              std::vector<std::int32_t>& cost) {
  const ObserverTimeline& obs1 = pair.Obs[0];
  const ObserverTimeline& obs2 = pair.Obs[1];
  const int n2 = obs2.NEvents();
  const std::int32_t code1 = obs1.EventCode[i];
  if (!settings.TimedOrState) {
    for (int j = 1; j <= n2; ++j) cost[j] = obs2.EventCode[j] == code1 ? 0 : 1;
    return;
  }
  const std::int64_t t1 = obs1.EventTime[i];
  const std::int64_t tol = settings.EventTol;
  for (int j = 1; j <= n2; ++j) cost[j] = OnsetCost(t1, obs2.EventTime[j], settings.EventTol);
  // Obs2's onsets are in time order, so the candidates are one stretch.
  const auto times = obs2.EventTime.begin() + 1;
  const int first = 1 + static_cast<int>(std::lower_bound(times, times + n2, t1 - tol) - times);
  const int last = static_cast<int>(std::upper_bound(times, times + n2, t1 + tol) - times);
  std::int64_t bestValue = 0;
  int best = 0;
  for (int j = first; j <= last; ++j) {
    const std::int32_t code2 = obs2.EventCode[j];
    std::int64_t value = 2 * (std::llabs(t1 - obs2.EventTime[j]) - tol);
    if (code1 == code2) {
      value -= 4 * tol + 1;
    } else if (code1 != others && code2 != others) {
      value -= 2 * tol + 1;
    }
    // A best value of 0 counts as none chosen yet.
    if (bestValue == 0 || value < bestValue) {
      bestValue = value;
      best = j;
    }
  }
  for (int j = first; j <= last; ++j) cost[j] = j == best ? 0 : 2;
}

}  // namespace

std::int64_t AlignmentStepBytes(std::int64_t n1, std::int64_t n2) { return ((n1 + 1) * (n2 + 1) + 3) / 4; }

bool OverlapAgrees(const SegmentPair& pair, int a, int b, int n, const EventAlignmentSettings& settings) {
  if (!settings.TimedOrState) return false;
  const ObserverTimeline& side = pair.Obs[a];
  const auto& other = pair.Obs[b].Timeline;
  const int onset = side.EventTime[n];
  const int end = n < side.NEvents() ? side.EventTime[n + 1] - 1 : pair.Frame.SpanTo[a + 1];
  const std::int32_t code = side.EventCode[n];
  std::int64_t same = 0;
  for (int t = std::max(onset, 0); t <= end && t < static_cast<int>(other.size()); ++t) same += other[t] == code;
  const double length = static_cast<double>(end) - onset + 1;
  const double pct = std::trunc(static_cast<double>(same) / length * 100);
  return settings.Overlap <= pct;
}

void AlignSessionEvents(const SegmentPair& pair, const EventAlignmentSettings& settings,
                        const dynString& symbols, dynInteger2& matrix, AlignmentPlot* plot) {
  const ObserverTimeline& obs1 = pair.Obs[0];
  const ObserverTimeline& obs2 = pair.Obs[1];
  const int n1 = obs1.NEvents();
  const int n2 = obs2.NEvents();
  if (AlignmentStepBytes(n1, n2) > MaxAlignmentStepBytes) {
    throw CommandError("The event alignment of " + std::to_string(n1) + " by " + std::to_string(n2) +
                       " events needs more than " + std::to_string(MaxAlignmentStepBytes >> 20) + " MB");
  }
  const int size = static_cast<int>(matrix.size());
  const int others = size - 2;
  for (const ObserverTimeline* side : {&obs1, &obs2}) {
    for (int n = 1; n <= side->NEvents(); ++n) {
      if (side->EventCode[n] < 1 || side->EventCode[n] > others)
        throw CommandError("An event code lies outside the agreement matrix.");
    }
  }

  StepTable steps(std::int64_t{n1} + 1, std::int64_t{n2} + 1);
  std::vector<std::int32_t> cost(static_cast<size_t>(n2) + 1);
  std::vector<std::int32_t> previous(static_cast<size_t>(n2) + 1);
  std::vector<std::int32_t> current(static_cast<size_t>(n2) + 1);
  for (int j = 0; j <= n2; ++j) {
    previous[j] = j;
    if (j > 0) steps.Add(0, j, Obs2Alone);
  }
  for (int i = 1; i <= n1; ++i) {
    RowCosts(pair, settings, i, others, cost);
    current[0] = i;
    steps.Add(i, 0, Obs1Alone);
    // Ties go to the pair, then to Obs1's lone event; written without
    // branches, as the choice is unpredictable cell by cell.
    for (int j = 1; j <= n2; ++j) {
      const std::int32_t diag = previous[j - 1] + cost[j];
      const std::int32_t up = previous[j] + 1;
      const std::int32_t left = current[j - 1] + 1;
      const bool takeUp = up < diag;
      std::int32_t best = takeUp ? up : diag;
      const bool takeLeft = left < best;
      best = takeLeft ? left : best;
      current[j] = best;
      steps.Add(i, j, static_cast<Step>(takeLeft ? Obs2Alone : takeUp ? Obs1Alone : Pair));
    }
    std::swap(previous, current);
  }

  // From the last events back to the first.
  const auto symbol = [&symbols](std::int32_t code) -> const std::string& {
    static const std::string none = "?";
    return static_cast<size_t>(code) < symbols.size() ? symbols[code] : none;
  };
  int i = n1;
  int j = n2;
  while (i > 0 || j > 0) {
    const Step step = steps.Get(i, j);
    std::string nil = "-";
    std::string line1, line3;
    char mark = ' ';
    if (step == Pair) {
      const std::int32_t c1 = obs1.EventCode[i];
      const std::int32_t c2 = obs2.EventCode[j];
      ++matrix[c1][c2];
      line1 = symbol(c1);
      line3 = symbol(c2);
      mark = c1 == c2 ? '|' : ':';
      --i;
      --j;
    } else if (step == Obs1Alone) {
      const std::int32_t c1 = obs1.EventCode[i];
      const bool agrees = OverlapAgrees(pair, 0, 1, i, settings);
      ++matrix[c1][agrees ? c1 : 0];
      if (agrees) nil = "+";
      line1 = symbol(c1);
      line3 = nil;
      mark = agrees ? '|' : ' ';
      --i;
    } else {
      const std::int32_t c2 = obs2.EventCode[j];
      const bool agrees = OverlapAgrees(pair, 1, 0, j, settings);
      ++matrix[agrees ? c2 : 0][c2];
      if (agrees) nil = "+";
      line1 = nil;
      line3 = symbol(c2);
      mark = agrees ? '|' : ' ';
      --j;
    }
    if (plot) {
      plot->Obs1.push_back(std::move(line1));
      plot->Marks.push_back(std::string(1, mark));
      plot->Obs2.push_back(std::move(line3));
    }
  }
  if (plot) {
    std::reverse(plot->Obs1.begin(), plot->Obs1.end());
    std::reverse(plot->Marks.begin(), plot->Marks.end());
    std::reverse(plot->Obs2.begin(), plot->Obs2.end());
  }
}

}  // namespace vork
