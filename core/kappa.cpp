#include "core/kappa.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/command_error.h"
#include "core/expected_fit.h"

namespace vork {
namespace {

void AddTotals(dynInteger2& table, int first, int last, int totalIndex) {
  const auto t = static_cast<size_t>(totalIndex);
  std::vector<std::int64_t> rowTotals(table.size(), 0);
  std::vector<std::int64_t> columnTotals(table.size(), 0);
  std::int64_t grandTotal = 0;
  for (int i = first; i <= last; ++i) {
    for (int j = first; j <= last; ++j) {
      const std::int64_t count = table[static_cast<size_t>(i)][static_cast<size_t>(j)];
      rowTotals[static_cast<size_t>(i)] += count;
      columnTotals[static_cast<size_t>(j)] += count;
      grandTotal += count;
    }
  }
  auto store = [](std::int32_t& margin, std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
      throw CommandError("The agreement table holds more counts than can be added up.");
    }
    margin = static_cast<std::int32_t>(value);
  };
  for (int i = first; i <= last; ++i) {
    store(table[static_cast<size_t>(i)][t], rowTotals[static_cast<size_t>(i)]);
    store(table[t][static_cast<size_t>(i)], columnTotals[static_cast<size_t>(i)]);
  }
  store(table[t][t], grandTotal);
}

}  // namespace

KappaResult KappaFromTable(dynInteger2& table, dynReal& codeKappas, int first, int last,
                           int totalIndex, bool addTotals, int zeroMode) {
  CheckCategoryTable(table, first, last, totalIndex);
  if (addTotals) AddTotals(table, first, last, totalIndex);

  const auto size = static_cast<size_t>(std::max(last, totalIndex) + 1);
  dynReal2 expected(size, dynReal(size, 0.0));
  FitExpectedIpf(table, first, last, totalIndex, expected, zeroMode);

  // Disagreement off the diagonal, row by row and column by column: a code's
  // own disagreement is its row and column without their shared cell.
  std::vector<std::int64_t> observedRow(size, 0), observedColumn(size, 0);
  std::vector<long double> expectedRow(size, 0), expectedColumn(size, 0);
  std::int64_t observed = 0;
  long double expectedAll = 0;
  for (int i = first; i <= last; ++i) {
    for (int j = first; j <= last; ++j) {
      if (i == j) continue;
      const auto r = static_cast<size_t>(i);
      const auto c = static_cast<size_t>(j);
      observedRow[r] += table[r][c];
      observedColumn[c] += table[r][c];
      expectedRow[r] += expected[r][c];
      expectedColumn[c] += expected[r][c];
      observed += table[r][c];
      expectedAll += expected[r][c];
    }
  }

  KappaResult result;
  if (expectedAll > 0) result.Kappa = static_cast<double>(1.0L - observed / expectedAll);
  codeKappas.assign(size, 0.0);
  for (int k = first; k <= last; ++k) {
    const auto c = static_cast<size_t>(k);
    const long double expectedCode = expectedRow[c] + expectedColumn[c];
    if (expectedCode > 0) {
      codeKappas[c] =
          static_cast<double>(1.0L - (observedRow[c] + observedColumn[c]) / expectedCode);
    }
  }

  const auto t = static_cast<size_t>(totalIndex);
  const long double n = table[t][t];
  long double agreement = 0, chance = 0, best = 0;
  if (n > 0) {
    for (int i = first; i <= last; ++i) {
      const auto c = static_cast<size_t>(i);
      const long double rowShare = table[c][t] / n;
      const long double columnShare = table[t][c] / n;
      agreement += table[c][c] / n;
      chance += rowShare * columnShare;
      best += std::min(rowShare, columnShare);
    }
  }
  result.AgreementPct = static_cast<double>(100.0L * agreement);
  if (chance > 0 && chance < 1) result.KappaMax = static_cast<double>((best - chance) / (1.0L - chance));
  return result;
}

}  // namespace vork
