#pragma once

#include "core/dyn_arrays.h"

namespace vork {

// Cohen's kappa of a square agreement table and what goes with it.
struct KappaResult {
  double Kappa = 0;
  double AgreementPct = 0;  // the share of counts on the diagonal, in percent
  double KappaMax = 0;      // the largest kappa the margins allow
};

// Kappa of the table's categories first..last, with the margins at
// totalIndex (row i's total in table[i][totalIndex], column j's in
// table[totalIndex][j], N in table[totalIndex][totalIndex]). With addTotals
// the margins are first computed into the table; otherwise the table must
// hold them. Kappa is 1 - observed / expected disagreement, the expected
// counts fitted to the margins with the structural zeros of zeroMode (see
// FitExpectedIpf); without structural zeros this is (Po - Pe) / (1 - Pe).
// codeKappas gets max(last, totalIndex) + 1 elements: at first..last the
// kappa of each code against all others, 0 elsewhere. A kappa whose expected
// disagreement is 0 is 0, as are all three figures for an empty table.
// Throws CommandError when the table does not fit its categories or a margin
// passes the 32-bit range.
KappaResult KappaFromTable(dynInteger2& table, dynReal& codeKappas, int first, int last,
                           int totalIndex, bool addTotals, int zeroMode);

}  // namespace vork
