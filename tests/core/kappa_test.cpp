#include "core/kappa.h"

#include <gtest/gtest.h>

#include "core/command_error.h"
#include "core/expected_fit.h"

namespace vork {
namespace {

// The agreement window's layout: codes from 1, the margins after the last.
dynInteger2 AgreementTable(const dynInteger2& cells) {
  dynInteger2 table(cells.size() + 2, dynInteger(cells.size() + 2, 0));
  for (size_t i = 0; i < cells.size(); ++i) {
    for (size_t j = 0; j < cells.size(); ++j) table[i + 1][j + 1] = cells[i][j];
  }
  return table;
}

void ExpectKappa(const KappaResult& r, const dynReal& codeKappas, double kappa, double agreementPct,
                 double kappaMax, const dynReal& expectedCodeKappas, int firstCode, double tolerance) {
  EXPECT_NEAR(r.Kappa, kappa, tolerance);
  EXPECT_NEAR(r.AgreementPct, agreementPct, 1e-10);
  EXPECT_NEAR(r.KappaMax, kappaMax, 1e-12);
  ASSERT_GE(codeKappas.size(), firstCode + expectedCodeKappas.size());
  for (size_t k = 0; k < expectedCodeKappas.size(); ++k)
    EXPECT_NEAR(codeKappas[firstCode + k], expectedCodeKappas[k], tolerance) << "code " << firstCode + k;
}

TEST(Kappa, FromAgreementTables) {
  const struct {
    const char* Name;
    dynInteger2 Cells;
    double Kappa;
    dynReal CodeKappas;  // codes 1..n
    double AgreementPct, KappaMax;
  } cases[] = {
      {"two codes", {{20, 5}, {10, 15}}, 0.4, {0.4, 0.4}, 70, 0.8},
      {"identical margins", {{10, 2, 3}, {1, 12, 2}, {4, 1, 15}}, 20.0 / 33.0,
       {11.0 / 21.0, 0.7142857142857143, 0.5833333333333333}, 74, 1},
      {"a code nobody used", {{5, 0, 1}, {0, 0, 0}, {2, 0, 6}}, 0.5714285714285714,
       {0.5714285714285714, 0, 0.5714285714285714}, 78.57142857142857, 0.8571428571428572},
      {"four codes", {{7, 1, 0, 2}, {0, 9, 3, 1}, {2, 0, 6, 0}, {1, 1, 0, 12}}, 0.67,
       {0.6142857142857143, 0.6599496221662469, 0.6376811594202898, 0.7457627118644068}, 75.55555555555556,
       0.94},
      {"perfect agreement", {{5, 0}, {0, 7}}, 1, {1, 1}, 100, 1},
      {"no counts", {{0, 0}, {0, 0}}, 0, {0, 0}, 0, 0},
      {"one code", {{9}}, 0, {0}, 100, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    dynInteger2 table = AgreementTable(c.Cells);
    const int last = static_cast<int>(c.Cells.size());
    dynReal codeKappas{99.0};
    const KappaResult r = KappaFromTable(table, codeKappas, 1, last, last + 1, true, 0);
    ExpectKappa(r, codeKappas, c.Kappa, c.AgreementPct, c.KappaMax, c.CodeKappas, 1, 1e-12);
    EXPECT_EQ(codeKappas.size(), static_cast<size_t>(last + 2));
    EXPECT_EQ(codeKappas[0], 0.0);
  }
  // The margins are added into the table, replacing stale totals.
  dynInteger2 table = AgreementTable({{20, 5}, {10, 15}});
  table[3][3] = 1234;
  dynReal codeKappas;
  KappaFromTable(table, codeKappas, 1, 2, 3, true, 0);
  EXPECT_EQ(table, (dynInteger2{{0, 0, 0, 0}, {0, 20, 5, 25}, {0, 10, 15, 25}, {0, 30, 20, 50}}));
}

TEST(Kappa, FromLaggedTablesAndStructuralZeros) {
  // Lagged tables carry their margins in row and column 0.
  dynInteger2 table{{40, 15, 14, 11}, {20, 10, 5, 5}, {10, 2, 8, 0}, {10, 3, 1, 6}};
  dynReal codeKappas;
  KappaResult r = KappaFromTable(table, codeKappas, 1, 3, 0, false, 0);
  ExpectKappa(r, codeKappas, 0.3904761904761904, 60, 0.8095238095238095,
              {0.25, 0.5294117647058824, 0.4193548387096774}, 1, 1e-12);
  EXPECT_EQ(codeKappas.size(), 4u);

  // Lag 1 of event data with an empty diagonal.
  dynInteger2 lagged{{14, 6, 6, 2}, {3, 0, 1, 2}, {1, 1, 0, 0}, {10, 5, 5, 0}};
  r = KappaFromTable(lagged, codeKappas, 1, 3, 0, false, ZeroDiagonal);
  ExpectKappa(r, codeKappas, 0, 0, 0.26315789473684215,
              {0.000991823309490214, 0.00012140861252385449, -0.0008161017687489114}, 1, 1e-9);

  // Event alignment: category 0 is "no code", which never meets itself.
  dynInteger2 aligned{{0, 4, 2, 0}, {3, 10, 1, 0}, {1, 2, 8, 0}, {0, 0, 0, 0}};
  r = KappaFromTable(aligned, codeKappas, 0, 2, 3, true, NoCodeAgainstNoCode);
  ExpectKappa(r, codeKappas, 0.35855303877509714, 58.06451612903225, 0.8952702702702704,
              {2.517148397163105e-06, 0.3774212093913514, 0.5853808001220286}, 0, 1e-9);
}

TEST(Kappa, EmptyAndUnfitTables) {
  dynInteger2 empty(2, dynInteger(2, 0));
  dynReal codeKappas;
  const KappaResult r = KappaFromTable(empty, codeKappas, 1, 0, 1, true, 0);
  EXPECT_EQ((dynReal{r.Kappa, r.AgreementPct, r.KappaMax}), (dynReal{0, 0, 0}));
  EXPECT_EQ(codeKappas, (dynReal{0, 0}));

  dynInteger2 small(3, dynInteger(3, 1));
  EXPECT_THROW(KappaFromTable(small, codeKappas, 1, 2, 3, true, 0), CommandError);
  EXPECT_THROW(KappaFromTable(small, codeKappas, 0, 2, 1, true, 0), CommandError);
  dynInteger2 huge = AgreementTable({{2000000000, 2000000000}, {0, 0}});
  EXPECT_THROW(KappaFromTable(huge, codeKappas, 1, 2, 3, true, 0), CommandError);
}

}  // namespace
}  // namespace vork
