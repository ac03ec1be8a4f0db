#include "core/expected_fit.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/command_error.h"

namespace vork {
namespace {

constexpr int MaxPasses = 26;
constexpr double Tolerance = 0.01;

template <typename Rows>
bool HasRowsAndColumns(const Rows& rows, int size) {
  if (rows.size() < static_cast<size_t>(size)) return false;
  for (int i = 0; i < size; ++i) {
    if (rows[static_cast<size_t>(i)].size() < static_cast<size_t>(size)) return false;
  }
  return true;
}

}  // namespace

void CheckCategoryTable(const dynInteger2& table, int first, int last, int totalIndex) {
  if (first < 0 || totalIndex < 0 || (totalIndex >= first && totalIndex <= last)) {
    throw CommandError("Table categories " + std::to_string(first) + ".." +
                       std::to_string(last) + " with totals at " + std::to_string(totalIndex) +
                       " do not fit.");
  }
  if (!HasRowsAndColumns(table, std::max(last, totalIndex) + 1)) {
    throw CommandError("The table of counts is smaller than its categories.");
  }
}

ExpectedFit FitExpectedIpf(const dynInteger2& table, int first, int last, int totalIndex,
                           dynReal2& expected, int zeroMode) {
  CheckCategoryTable(table, first, last, totalIndex);
  const int size = std::max(last, totalIndex) + 1;
  if (!HasRowsAndColumns(expected, size)) {
    throw CommandError("The table of expected counts is smaller than its categories.");
  }
  auto cell = [&expected](int i, int j) -> double& {
    return expected[static_cast<size_t>(i)][static_cast<size_t>(j)];
  };
  auto count = [&table](int i, int j) {
    return static_cast<long double>(table[static_cast<size_t>(i)][static_cast<size_t>(j)]);
  };

  for (int i = first; i <= last; ++i) {
    for (int j = first; j <= last; ++j) cell(i, j) = 1.0;
  }
  if (zeroMode == NoCodeAgainstNoCode) cell(0, 0) = 0.0;
  if (zeroMode == ZeroDiagonal) {
    for (int i = first; i <= last; ++i) cell(i, i) = 0.0;
  }

  // Cells only ever get multiplied, so the structural zeros stay zero.
  const int width = std::max(last - first + 1, 0);
  std::vector<double> previous(static_cast<size_t>(width) * static_cast<size_t>(width));
  ExpectedFit fit;
  while (true) {
    ++fit.Passes;
    for (int i = first; i <= last; ++i) {
      for (int j = first; j <= last; ++j) {
        previous[static_cast<size_t>((i - first) * width + (j - first))] = cell(i, j);
      }
    }
    for (int j = first; j <= last; ++j) {
      long double sum = 0;
      for (int i = first; i <= last; ++i) sum += cell(i, j);
      cell(totalIndex, j) = static_cast<double>(sum);
      const long double factor = sum > 0 ? count(totalIndex, j) / sum : 1.0L;
      for (int i = first; i <= last; ++i) cell(i, j) = static_cast<double>(cell(i, j) * factor);
    }
    for (int i = first; i <= last; ++i) {
      long double sum = 0;
      for (int j = first; j <= last; ++j) sum += cell(i, j);
      cell(i, totalIndex) = static_cast<double>(sum);
      const long double factor = sum > 0 ? count(i, totalIndex) / sum : 1.0L;
      for (int j = first; j <= last; ++j) cell(i, j) = static_cast<double>(cell(i, j) * factor);
    }
    fit.Converged = true;
    for (int i = first; i <= last && fit.Converged; ++i) {
      for (int j = first; j <= last; ++j) {
        const double before = previous[static_cast<size_t>((i - first) * width + (j - first))];
        if (!(std::fabs(cell(i, j) - before) <= Tolerance)) {
          fit.Converged = false;
          break;
        }
      }
    }
    if (fit.Converged || fit.Passes >= MaxPasses) return fit;
  }
}

}  // namespace vork
