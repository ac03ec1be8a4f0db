#pragma once

#include "core/dyn_arrays.h"

namespace vork {

// Cells of the expected table that cannot occur and stay zero.
enum StructuralZeros : int {
  NoStructuralZeros = 0,
  NoCodeAgainstNoCode = 1,  // the cell [0][0]
  ZeroDiagonal = 2,         // every cell [i][i] of first..last
};

// How the fitting ended.
struct ExpectedFit {
  int Passes = 0;
  bool Converged = false;  // false: stopped at the pass limit
};

// Fits expected counts to the margins of a square table by iterative
// proportional fitting: cells first..last in both directions start at 1 (0
// for structural zeros), then each pass scales the columns and then the rows
// to the margins that table holds at totalIndex (row i's total in
// table[i][totalIndex], column j's in table[totalIndex][j]). The fitting
// stops once no cell moved more than 0.01 in a pass, or after 26 passes.
// Without structural zeros the result is row total x column total / N.
// expected must have rows and columns 0..max(last, totalIndex); its row and
// column totalIndex are working space. Throws CommandError when the tables
// are too small, first is negative or totalIndex lies among the categories.
ExpectedFit FitExpectedIpf(const dynInteger2& table, int first, int last, int totalIndex,
                           dynReal2& expected, int zeroMode);

// Checks that first..last and totalIndex fit a table of counts: first not
// negative, totalIndex outside first..last, and every row and column up to
// max(last, totalIndex) there. Throws CommandError otherwise.
void CheckCategoryTable(const dynInteger2& table, int first, int last, int totalIndex);

}  // namespace vork
