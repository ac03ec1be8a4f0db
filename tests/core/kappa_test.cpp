#include "core/kappa.h"

#include <gtest/gtest.h>

#include "core/command_error.h"
#include "core/expected_fit.h"

namespace vork {
namespace {

// The agreement window's layout: codes from 1, the margins after the last.
dynInteger2 AgreementTable(const dynInteger2& cells) {
  const size_t size = cells.size() + 2;
  dynInteger2 table(size, dynInteger(size, 0));
  for (size_t i = 0; i < cells.size(); ++i) {
    for (size_t j = 0; j < cells.size(); ++j) table[i + 1][j + 1] = cells[i][j];
  }
  return table;
}

struct KappaCase {
  const char* Name;
  dynInteger2 Cells;
  double Kappa;
  dynReal CodeKappas;  // codes 1..n
  double AgreementPct;
  double KappaMax;
};

TEST(Kappa, FromAgreementTables) {
  const KappaCase cases[] = {
      {"two codes", {{20, 5}, {10, 15}}, 0.4, {0.4, 0.4}, 70, 0.8},
      {"identical margins",
       {{10, 2, 3}, {1, 12, 2}, {4, 1, 15}},
       20.0 / 33.0,
       {11.0 / 21.0, 0.7142857142857143, 0.5833333333333333},
       74,
       1},
      {"a code nobody used",
       {{5, 0, 1}, {0, 0, 0}, {2, 0, 6}},
       0.5714285714285714,
       {0.5714285714285714, 0, 0.5714285714285714},
       78.57142857142857,
       0.8571428571428572},
      {"four codes",
       {{7, 1, 0, 2}, {0, 9, 3, 1}, {2, 0, 6, 0}, {1, 1, 0, 12}},
       0.67,
       {0.6142857142857143, 0.6599496221662469, 0.6376811594202898, 0.7457627118644068},
       75.55555555555556,
       0.94},
      {"perfect agreement", {{5, 0}, {0, 7}}, 1, {1, 1}, 100, 1},
      {"no counts", {{0, 0}, {0, 0}}, 0, {0, 0}, 0, 0},
      {"one code", {{9}}, 0, {0}, 100, 0},
  };
  for (const KappaCase& c : cases) {
    dynInteger2 table = AgreementTable(c.Cells);
    const int last = static_cast<int>(c.Cells.size());
    dynReal codeKappas{99.0};
    const KappaResult r = KappaFromTable(table, codeKappas, 1, last, last + 1, true, 0);
    EXPECT_NEAR(r.Kappa, c.Kappa, 1e-12) << c.Name;
    EXPECT_NEAR(r.AgreementPct, c.AgreementPct, 1e-10) << c.Name;
    EXPECT_NEAR(r.KappaMax, c.KappaMax, 1e-12) << c.Name;
    ASSERT_EQ(codeKappas.size(), static_cast<size_t>(last + 2)) << c.Name;
    EXPECT_EQ(codeKappas[0], 0.0) << c.Name;
    for (int k = 1; k <= last; ++k) {
      EXPECT_NEAR(codeKappas[k], c.CodeKappas[k - 1], 1e-12) << c.Name << " code " << k;
    }
  }
}

TEST(Kappa, AddsTheMarginsIntoTheTable) {
  dynInteger2 table = AgreementTable({{20, 5}, {10, 15}});
  table[3][3] = 1234;  // stale totals are replaced
  dynReal codeKappas;
  KappaFromTable(table, codeKappas, 1, 2, 3, true, 0);
  const dynInteger2 expected{{0, 0, 0, 0}, {0, 20, 5, 25}, {0, 10, 15, 25}, {0, 30, 20, 50}};
  EXPECT_EQ(table, expected);
}

TEST(Kappa, FromLaggedTablesWithTheirMargins) {
  dynInteger2 table{{40, 15, 14, 11}, {20, 10, 5, 5}, {10, 2, 8, 0}, {10, 3, 1, 6}};
  dynReal codeKappas;
  const KappaResult r = KappaFromTable(table, codeKappas, 1, 3, 0, false, 0);
  EXPECT_NEAR(r.Kappa, 0.3904761904761904, 1e-12);
  EXPECT_NEAR(r.AgreementPct, 60, 1e-10);
  EXPECT_NEAR(r.KappaMax, 0.8095238095238095, 1e-12);
  ASSERT_EQ(codeKappas.size(), 4u);
  EXPECT_NEAR(codeKappas[1], 0.25, 1e-12);
  EXPECT_NEAR(codeKappas[2], 0.5294117647058824, 1e-12);
  EXPECT_NEAR(codeKappas[3], 0.4193548387096774, 1e-12);
}

TEST(Kappa, WithStructuralZeros) {
  // Lag 1 of event data with an empty diagonal.
  dynInteger2 lagged{{14, 6, 6, 2}, {3, 0, 1, 2}, {1, 1, 0, 0}, {10, 5, 5, 0}};
  dynReal codeKappas;
  KappaResult r = KappaFromTable(lagged, codeKappas, 1, 3, 0, false, ZeroDiagonal);
  EXPECT_NEAR(r.Kappa, 0, 1e-12);
  EXPECT_NEAR(codeKappas[1], 0.000991823309490214, 1e-9);
  EXPECT_NEAR(codeKappas[2], 0.00012140861252385449, 1e-9);
  EXPECT_NEAR(codeKappas[3], -0.0008161017687489114, 1e-9);
  EXPECT_NEAR(r.AgreementPct, 0, 1e-12);
  EXPECT_NEAR(r.KappaMax, 0.26315789473684215, 1e-12);

  // Event alignment: category 0 is "no code", which never meets itself.
  dynInteger2 aligned(4, dynInteger(4, 0));
  const int cells[3][3] = {{0, 4, 2}, {3, 10, 1}, {1, 2, 8}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) aligned[i][j] = cells[i][j];
  }
  r = KappaFromTable(aligned, codeKappas, 0, 2, 3, true, NoCodeAgainstNoCode);
  EXPECT_NEAR(r.Kappa, 0.35855303877509714, 1e-9);
  EXPECT_NEAR(codeKappas[0], 2.517148397163105e-06, 1e-9);
  EXPECT_NEAR(codeKappas[1], 0.3774212093913514, 1e-9);
  EXPECT_NEAR(codeKappas[2], 0.5853808001220286, 1e-9);
  EXPECT_NEAR(r.AgreementPct, 58.06451612903225, 1e-10);
  EXPECT_NEAR(r.KappaMax, 0.8952702702702704, 1e-12);
}

TEST(Kappa, EmptyAndUnfitTables) {
  dynInteger2 empty(2, dynInteger(2, 0));
  dynReal codeKappas;
  const KappaResult r = KappaFromTable(empty, codeKappas, 1, 0, 1, true, 0);
  EXPECT_EQ(r.Kappa, 0);
  EXPECT_EQ(r.AgreementPct, 0);
  EXPECT_EQ(r.KappaMax, 0);
  EXPECT_EQ(codeKappas, (dynReal{0, 0}));

  dynInteger2 small(3, dynInteger(3, 1));
  EXPECT_THROW(KappaFromTable(small, codeKappas, 1, 2, 3, true, 0), CommandError);
  EXPECT_THROW(KappaFromTable(small, codeKappas, 0, 2, 1, true, 0), CommandError);
  dynInteger2 huge = AgreementTable({{2000000000, 2000000000}, {0, 0}});
  EXPECT_THROW(KappaFromTable(huge, codeKappas, 1, 2, 3, true, 0), CommandError);
}

}  // namespace
}  // namespace vork
