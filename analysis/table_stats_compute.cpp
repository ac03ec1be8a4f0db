#include "analysis/table_stats_compute.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/command_error.h"
#include "core/number_format.h"
#include "core/expected_fit.h"
#include "core/kappa.h"
#include "core/probabilities.h"

namespace vork {

namespace {

std::size_t Z(int i) { return static_cast<std::size_t>(i); }

void SetUndefined(TableStatsRun& run, int i, int j) {
  run.StatValues[Z(i)][Z(j)] = run.UndefValue;
  run.SEValues[Z(i)][Z(j)] = run.UndefValue;
  run.CIText[Z(i)][Z(j)] = run.UndefText;
}

// A margin of the table of counts, which holds 32-bit counts.
std::int32_t CheckedTotal(std::int64_t total) {
  if (total > std::numeric_limits<std::int32_t>::max())
    throw CommandError("More lagged pairs than the table of counts can add up.");
  return static_cast<std::int32_t>(total);
}

}  // namespace

void FillMargins(TableStatsRun& run) {
  auto& f = run.FreqTable;
  std::vector<std::int64_t> columnTotals(Z(run.NTargets) + 1, 0);
  for (int i = 1; i <= run.NGivens; ++i) {
    std::int64_t rowTotal = 0;
    for (int j = 1; j <= run.NTargets; ++j) {
      rowTotal += f[Z(i)][Z(j)];
      columnTotals[Z(j)] += f[Z(i)][Z(j)];
    }
    f[Z(i)][0] = CheckedTotal(rowTotal);
    columnTotals[0] += rowTotal;
  }
  for (int j = 0; j <= run.NTargets; ++j) f[0][Z(j)] = CheckedTotal(columnTotals[Z(j)]);
}

Collapsed2x2 Collapse(const TableStatsRun& run, int i, int j) {
  const auto& f = run.FreqTable;
  Collapsed2x2 t;
  t.A = f[Z(i)][Z(j)];
  t.B = static_cast<double>(f[Z(i)][0]) - t.A;
  t.C = static_cast<double>(f[0][Z(j)]) - t.A;
  t.D = static_cast<double>(f[0][0]) - t.A - t.B - t.C;
  return t;
}

bool ComputeExpected(const TableStatsRun& run, int lag, dynReal2& exp) {
  const auto& f = run.FreqTable;
  bool structural = run.Options.ELag1SZ && (run.DataType == 1 || run.DataType == 5) &&
                    (lag == 1 || lag == -1) && run.NGivens == run.NTargets;
  for (int i = 1; structural && i <= run.NGivens; ++i) structural = f[Z(i)][Z(i)] == 0;
  if (structural) {
    FitExpectedIpf(run.FreqTable, 1, run.NGivens, 0, exp, ZeroDiagonal);
    return true;
  }
  // Row total times column total, a whole number, divided once by N: a cell
  // whose count equals its expected count in whole numbers then meets it
  // exactly, so a table without association gives chi-squared 0.
  const std::int64_t n = f[0][0];
  for (int i = 1; i <= run.NGivens; ++i)
    for (int j = 1; j <= run.NTargets; ++j)
      exp[Z(i)][Z(j)] =
          n > 0 ? static_cast<double>(std::int64_t{f[0][Z(j)]} * f[Z(i)][0]) / static_cast<double>(n) : 0.0;
  return false;
}

void ComputeCellStat(TableStatsRun& run, int stat, int lag) {
  const auto& f = run.FreqTable;
  if (stat != CONP) run.Lag1StructuralZeros = ComputeExpected(run, lag, run.ExpValues);
  const double total = f[0][0];
  for (int i = 1; i <= run.NGivens; ++i) {
    for (int j = 1; j <= run.NTargets; ++j) {
      const double n = f[Z(i)][Z(j)];
      const double rowTotal = f[Z(i)][0];
      const double columnTotal = f[0][Z(j)];
      const double e = run.ExpValues[Z(i)][Z(j)];
      double value = 0;
      switch (stat) {
        case EXPF: value = e; break;
        case CONP: value = rowTotal > 0 ? n / rowTotal : 0.0; break;
        case RSDL: value = n - e; break;
        case ADJR:
        case PVAL: {
          double z = 0;
          if (total > 0) {
            const double v = e * (1 - rowTotal / total) * (1 - columnTotal / total);
            if (v > 0) z = (n - e) / std::sqrt(v);
          }
          value = stat == ADJR ? z : NormalTwoTailProb(z);
          break;
        }
        default: break;
      }
      run.StatValues[Z(i)][Z(j)] = value;
    }
  }
}

bool Margins2x2OK(const TableStatsRun& run, const Collapsed2x2& t) {
  const double least = run.Options.N2x2Min;
  return t.A + t.B >= least && t.C + t.D >= least && t.A + t.C >= least && t.B + t.D >= least;
}

void YulesQ(TableStatsRun& run, int i, int j, const Collapsed2x2& t) {
  const double ad = t.A * t.D, bc = t.B * t.C, sum = ad + bc;
  if (!Margins2x2OK(run, t) || sum <= 0) return SetUndefined(run, i, j);
  const double q = (ad - bc) / sum;
  run.StatValues[Z(i)][Z(j)] = q;
  run.SEValues[Z(i)][Z(j)] = (1 - q * q) / 2 *
                             std::sqrt(1 / (t.A + 0.5) + 1 / (t.B + 0.5) + 1 / (t.C + 0.5) +
                                       1 / (t.D + 0.5));
}

void PhiCoefficient(TableStatsRun& run, int i, int j, const Collapsed2x2& t) {
  const double r1 = t.A + t.B, r2 = t.C + t.D, c1 = t.A + t.C, c2 = t.B + t.D;
  if (!Margins2x2OK(run, t) || r1 * r2 <= 0 || c1 * c2 <= 0) return SetUndefined(run, i, j);
  const double n = r1 + r2;
  const double p1 = r1 / n, p2 = r2 / n, q1 = c1 / n, q2 = c2 / n;
  const double root = std::sqrt(p1 * p2 * q1 * q2);
  const double phi = ((t.A / n) * (t.D / n) - (t.B / n) * (t.C / n)) / root;
  const double phi2 = phi * phi;
  double v = 1 - phi2 + phi * (1 + phi2 / 2) * (p1 - p2) * (q1 - q2) / root -
             0.75 * phi2 * ((p1 - p2) * (p1 - p2) / (p1 * p2) + (q1 - q2) * (q1 - q2) / (q1 * q2));
  // At phi = 1 or -1 the variance is 0 and rounding can take it just below.
  if (v < 0) v = 0;
  run.StatValues[Z(i)][Z(j)] = phi;
  run.SEValues[Z(i)][Z(j)] = std::sqrt(v / n);
}

void OddsRatio(TableStatsRun& run, int i, int j, const Collapsed2x2& t) {
  if (!Margins2x2OK(run, t)) return SetUndefined(run, i, j);
  const double ad = t.A * t.D, bc = t.B * t.C;
  if (bc > 0) {
    const double ratio = ad / bc;
    run.StatValues[Z(i)][Z(j)] = ratio;
    if (ad > 0) {
      const double s = std::sqrt(1 / t.A + 1 / t.B + 1 / t.C + 1 / t.D);
      const double ln = std::log(ratio);
      const int d = run.NDigits;
      run.CIText[Z(i)][Z(j)] = FormatFixed(std::exp(ln - 1.96 * s), d, run.Format) + "-" +
                               FormatFixed(std::exp(ln + 1.96 * s), d, run.Format);
    } else {
      run.CIText[Z(i)][Z(j)] = run.UndefText;
    }
  } else if (ad > 0) {
    run.StatValues[Z(i)][Z(j)] = run.InfinValue;
    run.CIText[Z(i)][Z(j)] = run.InfinText;
  } else {
    SetUndefined(run, i, j);
  }
}

void LogOdds(TableStatsRun& run, int i, int j, Collapsed2x2 t) {
  if (!Margins2x2OK(run, t)) return SetUndefined(run, i, j);
  if (t.A == 0 || t.B == 0 || t.C == 0 || t.D == 0) {
    t.A += 0.1;
    t.B += 0.1;
    t.C += 0.1;
    t.D += 0.1;
    run.ZeroCellsAdjusted = true;
  }
  run.StatValues[Z(i)][Z(j)] = std::log((t.A * t.D) / (t.B * t.C));
  run.SEValues[Z(i)][Z(j)] = std::sqrt(1 / t.A + 1 / t.B + 1 / t.C + 1 / t.D);
}

void Compute2x2Stat(TableStatsRun& run, int stat) {
  run.ZeroCellsAdjusted = false;
  for (int i = 1; i <= run.NGivens; ++i) {
    for (int j = 1; j <= run.NTargets; ++j) {
      const Collapsed2x2 t = Collapse(run, i, j);
      switch (stat) {
        case YULQ: YulesQ(run, i, j, t); break;
        case PHI: PhiCoefficient(run, i, j, t); break;
        case ODDS: OddsRatio(run, i, j, t); break;
        case LNOR: LogOdds(run, i, j, t); break;
        default: break;
      }
    }
  }
}

double ChiSquareSum(TableStatsRun& run, int stat, int lag) {
  const auto& f = run.FreqTable;
  double sum = 0;
  if (f[0][0] <= 0) return sum;
  run.Lag1StructuralZeros = ComputeExpected(run, lag, run.ExpValues);
  for (int i = 1; i <= run.NGivens; ++i) {
    for (int j = 1; j <= run.NTargets; ++j) {
      const double n = f[Z(i)][Z(j)];
      const double e = run.ExpValues[Z(i)][Z(j)];
      if (e <= 0) continue;
      if (stat == XSQ)
        sum += (n - e) * (n - e) / e;
      else if (n > 0)
        sum += n * std::log(n / e);
    }
  }
  return stat == XSQ ? sum : 2 * sum;
}

int ChiSquareDf(const TableStatsRun& run) {
  const int df = (run.NGivens - 1) * (run.NTargets - 1);
  return run.Lag1StructuralZeros ? df - run.NGivens : df;
}

double KappaValue(TableStatsRun& run, int stat) {
  // The square of givens by targets needs a target column for every given.
  if (run.NTargets < run.NGivens) return run.UndefValue;
  dynReal codeKappas;
  const KappaResult result =
      KappaFromTable(run.FreqTable, codeKappas, 1, run.NGivens, 0, false, NoStructuralZeros);
  if (stat == KAPmax) return result.KappaMax;
  if (run.NTargets == run.NGivens) return result.Kappa;
  // With more targets than givens the square's margins do not add up to N,
  // and expected counts fitted to them say nothing about agreement. A pair
  // whose target is one of the extra codes is a disagreement: Cohen's kappa
  // over all N pairs, with the extra columns in the row totals, as the
  // maximum kappa is.
  const auto& f = run.FreqTable;
  const double n = f[0][0];
  if (n <= 0) return 0.0;
  double agreement = 0, chance = 0;
  for (int i = 1; i <= run.NGivens; ++i) {
    agreement += f[Z(i)][Z(i)] / n;
    chance += (f[Z(i)][0] / n) * (f[0][Z(i)] / n);
  }
  return chance < 1 ? (agreement - chance) / (1 - chance) : 0.0;
}

}  // namespace vork
