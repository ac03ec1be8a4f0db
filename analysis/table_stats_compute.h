#pragma once

#include "analysis/table_stats_run.h"

namespace vork {

// The 2x2 table of one given against one target, all other givens and
// targets collapsed: a the pair's own count, b the rest of its row, c the
// rest of its column, d everything else.
struct Collapsed2x2 {
  double A = 0, B = 0, C = 0, D = 0;
};

// Row totals into column 0, column totals into row 0, N into [0][0].
void FillMargins(TableStatsRun& run);

Collapsed2x2 Collapse(const TableStatsRun& run, int i, int j);

// Expected counts of the tally into exp[1..NGivens][1..NTargets]. Event and
// multi-event tables at lag +1 or -1 whose diagonal is empty (with as many
// givens as targets and the option on) treat that diagonal as structural
// zeros and fit the rest to the margins; every other table uses
// independence. Returns whether the structural-zero model was used.
bool ComputeExpected(const TableStatsRun& run, int lag, dynReal2& exp);

// Fills StatValues for a cell statistic (EXPF, CONP, RSDL, ADJR or PVAL);
// EXPF, RSDL, ADJR and PVAL leave the expected counts in ExpValues.
void ComputeCellStat(TableStatsRun& run, int stat, int lag);

// The four pair-wise statistics: each writes StatValues[i][j] and
// SEValues[i][j] (the odds ratio CIText[i][j]), with the sentinels where
// the margins fall below N2x2Min or the formula has no value.
bool Margins2x2OK(const TableStatsRun& run, const Collapsed2x2& t);
void YulesQ(TableStatsRun& run, int i, int j, const Collapsed2x2& t);
void PhiCoefficient(TableStatsRun& run, int i, int j, const Collapsed2x2& t);
void OddsRatio(TableStatsRun& run, int i, int j, const Collapsed2x2& t);
void LogOdds(TableStatsRun& run, int i, int j, Collapsed2x2 t);

// The pair-wise statistic stat for every given and target.
void Compute2x2Stat(TableStatsRun& run, int stat);

// Chi-squared (XSQ) or G-squared (GSQ) of the tally; 0 when N is 0.
// Sets Lag1StructuralZeros from the expected counts used.
double ChiSquareSum(TableStatsRun& run, int stat, int lag);

// Degrees of freedom of the chi-squared statistics of the current table.
int ChiSquareDf(const TableStatsRun& run);

// Kappa (KAPPA) or its maximum (KAPmax) of the givens against the first
// NGivens targets; pairs whose target is a later one count as
// disagreements. UndefValue when there are fewer targets than givens.
double KappaValue(TableStatsRun& run, int stat);

}  // namespace vork
