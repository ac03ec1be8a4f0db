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

// The bytes the chains of Timed and State data keep per event of Obs1: its
// best candidate, its chain length, its place among the chains, a chain's
// start, end and pointer.
constexpr std::int64_t ChainBytesPerEvent = 6 * sizeof(std::int32_t);

// Event data: the full table of steps, every cell computed. Pairing equal
// codes costs 0 and different codes 1.
StepTable EventDataSteps(const SegmentPair& pair) {
  const ObserverTimeline& obs1 = pair.Obs[0];
  const ObserverTimeline& obs2 = pair.Obs[1];
  const int n1 = obs1.NEvents();
  const int n2 = obs2.NEvents();
  StepTable steps(std::int64_t{n1} + 1, std::int64_t{n2} + 1);
  std::vector<std::int32_t> previous(static_cast<size_t>(n2) + 1);
  std::vector<std::int32_t> current(static_cast<size_t>(n2) + 1);
  for (int j = 0; j <= n2; ++j) {
    previous[j] = j;
    if (j > 0) steps.Add(0, j, Obs2Alone);
  }
  for (int i = 1; i <= n1; ++i) {
    const std::int32_t code1 = obs1.EventCode[i];
    current[0] = i;
    steps.Add(i, 0, Obs1Alone);
    // Ties go to the pair, then to Obs1's lone event; written without
    // branches, as the choice is unpredictable cell by cell.
    for (int j = 1; j <= n2; ++j) {
      const std::int32_t diag = previous[j - 1] + (obs2.EventCode[j] == code1 ? 0 : 1);
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
  return steps;
}

// Timed and State data: the candidate of Obs1's event i that pairing costs
// 0 (0 when it has none). The candidates are Obs2's events whose onsets lie
// at most EventTol from its onset; each is valued by its distance and codes,
// and the lowest value wins, the earlier event among equals. A value of 0
// counts as none chosen yet, so among candidates that all value 0 the last
// one wins. Every other candidate costs 2.
int BestCandidate(const SegmentPair& pair, std::int64_t tol, int i, int others) {
  const ObserverTimeline& obs1 = pair.Obs[0];
  const ObserverTimeline& obs2 = pair.Obs[1];
  const int n2 = obs2.NEvents();
  const std::int32_t code1 = obs1.EventCode[i];
  const std::int64_t t1 = obs1.EventTime[i];
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
    if (bestValue == 0 || value < bestValue) {
      bestValue = value;
      best = j;
    }
  }
  return best;
}

// Timed and State data without the table. A pairing costs 0 (each event of
// Obs1 has at most one such candidate), 2 (as much as leaving both events
// alone) or more (never taken). So the distance of cell (i, j) is
// i + j - 2 M(i, j), M(i, j) being the most pairings of cost 0 among Obs1's
// first i and Obs2's first j events that can be made without crossing: the
// longest chain of rows whose candidates strictly rise. Chains are sorted
// by their length at each row (patience sorting); the rows whose chain
// ends at length k have falling candidates, so whether some of them lies
// within (i, j) is decided by the last of them up to row i. The traceback
// walks from (n1, n2) to (0, 0) with M known at its cell; M of the three
// cells before it is M or M - 1, and the step of the full table follows
// from those three values and the cell's cost. Memory and time follow the
// events times their candidates.
class ChainSteps {
 public:
  ChainSteps(const SegmentPair& pair, const EventAlignmentSettings& settings, int others)
      : pair_(pair), tol_(settings.EventTol) {
    const int n1 = pair.Obs[0].NEvents();
    best_.assign(static_cast<size_t>(n1) + 1, 0);
    std::vector<std::int32_t> length(static_cast<size_t>(n1) + 1, 0);
    std::vector<std::int32_t> lowestEnd;  // by chain length - 1: the lowest candidate ending one
    for (int i = 1; i <= n1; ++i) {
      const int j = BestCandidate(pair, tol_, i, others);
      best_[i] = j;
      if (j == 0) continue;
      const auto at = std::lower_bound(lowestEnd.begin(), lowestEnd.end(), j);
      length[i] = static_cast<std::int32_t>(at - lowestEnd.begin()) + 1;
      if (at == lowestEnd.end()) {
        lowestEnd.push_back(j);
      } else {
        *at = j;
      }
    }
    const int chains = static_cast<int>(lowestEnd.size());
    chainStart_.assign(static_cast<size_t>(chains) + 2, 0);
    for (int i = 1; i <= n1; ++i) ++chainStart_[length[i] + 1];
    chainStart_[1] = 0;
    for (int k = 1; k <= chains; ++k) chainStart_[k + 1] += chainStart_[k];
    rows_.assign(static_cast<size_t>(chainStart_[chains + 1]), 0);
    last_.assign(static_cast<size_t>(chains) + 1, 0);
    for (int k = 1; k <= chains; ++k) last_[k] = chainStart_[k];
    for (int i = 1; i <= n1; ++i) {
      if (length[i] > 0) rows_[last_[length[i]]++] = i;
    }
    for (int k = 1; k <= chains; ++k) --last_[k];  // the last row of each, now
    m_ = chains;
  }

  // The step at (i, j); called along the traceback only, from (n1, n2).
  Step Next(int i, int j) {
    if (i == 0) return Obs2Alone;
    if (j == 0) {
      m_ = 0;
      return Obs1Alone;
    }
    if (best_[i] == j) {
      m_ = Before(i - 1, i, j - 1);
      return Pair;
    }
    const int up = Before(i - 1, i, j);
    const int left = Before(i, i, j - 1);
    const std::int64_t apart = std::llabs(std::int64_t{pair_.Obs[0].EventTime[i]} - pair_.Obs[1].EventTime[j]);
    if (apart <= tol_ + 1) {
      // A pairing of cost 2 ties with both lone events and wins the tie
      // only when neither lone step gains a pairing of cost 0.
      const int diag = Before(i - 1, i, j - 1);
      if (up == diag && left == diag) {
        m_ = diag;
        return Pair;
      }
    }
    if (up >= left) {
      m_ = up;
      return Obs1Alone;
    }
    m_ = left;
    return Obs2Alone;
  }

 private:
  // M at (row, column), row being i or i - 1 of the traceback's cell (i, j)
  // and column j or j - 1: M at (i, j) or one less.
  int Before(int row, int i, int column) {
    if (m_ == 0) return 0;
    std::int32_t& at = last_[m_];
    const std::int32_t start = chainStart_[m_];
    while (at >= start && rows_[at] > i) --at;
    std::int32_t p = at;
    if (p >= start && rows_[p] > row) --p;
    return p >= start && best_[rows_[p]] <= column ? m_ : m_ - 1;
  }

  const SegmentPair& pair_;
  std::int64_t tol_;
  std::vector<std::int32_t> best_;        // by Obs1's event: its candidate of cost 0, or 0
  std::vector<std::int32_t> chainStart_;  // by chain length: where its rows begin in rows_
  std::vector<std::int32_t> rows_;        // Obs1's events by chain length, each length in row order
  std::vector<std::int32_t> last_;        // by chain length: the last of its rows up to the traceback's row
  int m_ = 0;                             // M at the traceback's cell
};

// Counts the steps from (n1, n2) back to (0, 0) into matrix and the plot.
template <class NextStep>
void Traceback(const SegmentPair& pair, const EventAlignmentSettings& settings, const dynString& symbols,
               dynInteger2& matrix, AlignmentPlot* plot, NextStep&& next) {
  const ObserverTimeline& obs1 = pair.Obs[0];
  const ObserverTimeline& obs2 = pair.Obs[1];
  const auto symbol = [&symbols](std::int32_t code) -> const std::string& {
    static const std::string none = "?";
    return static_cast<size_t>(code) < symbols.size() ? symbols[code] : none;
  };
  int i = obs1.NEvents();
  int j = obs2.NEvents();
  while (i > 0 || j > 0) {
    const Step step = next(i, j);
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

}  // namespace

std::int64_t AlignmentStepBytes(std::int64_t n1, std::int64_t n2) { return ((n1 + 1) * (n2 + 1) + 3) / 4; }

std::int64_t AlignmentBytes(std::int64_t n1, std::int64_t n2, bool timedOrState) {
  return timedOrState ? (n1 + 2) * ChainBytesPerEvent : AlignmentStepBytes(n1, n2);
}

bool OverlapAgrees(const SegmentPair& pair, int a, int b, int n, const EventAlignmentSettings& settings) {
  if (!settings.TimedOrState) return false;
  const ObserverTimeline& side = pair.Obs[a];
  const auto& other = pair.Obs[b].Stretches;
  const int onset = side.EventTime[n];
  const int end = n < side.NEvents() ? side.EventTime[n + 1] - 1 : pair.Frame.SpanTo[a + 1];
  const std::int32_t code = side.EventCode[n];
  // The other observer's stretches from the one holding the onset on.
  auto s = std::upper_bound(other.begin(), other.end(), std::max(onset, 0),
                            [](int unit, const CodeStretch& stretch) { return unit < stretch.Start; });
  if (s != other.begin()) --s;
  std::int64_t same = 0;
  for (; s + 1 < other.end() && s->Start <= end; ++s) {
    if (s->Code != code) continue;
    const std::int64_t low = std::max({onset, s->Start, 0});
    const std::int64_t high = std::min(end, (s + 1)->Start - 1);
    if (low <= high) same += high - low + 1;
  }
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
  if (AlignmentBytes(n1, n2, settings.TimedOrState) > MaxAlignmentStepBytes) {
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
  if (settings.TimedOrState) {
    ChainSteps steps(pair, settings, others);
    Traceback(pair, settings, symbols, matrix, plot, [&steps](int i, int j) { return steps.Next(i, j); });
  } else {
    const StepTable steps = EventDataSteps(pair);
    Traceback(pair, settings, symbols, matrix, plot, [&steps](int i, int j) { return steps.Get(i, j); });
  }
}

}  // namespace vork
