#include "core/expected_fit.h"

#include <gtest/gtest.h>

#include "core/command_error.h"

namespace vork {
namespace {

TEST(ExpectedFit, FitsTheMarginsPassByPass) {
  const struct {
    const char* Name;
    dynInteger2 Table;  // lagged counts of categories 1..3 with the margins in row and column 0
    int ZeroMode;
    dynReal2 Expected;  // [1..3][1..3]
    int Passes;
    bool Converged;
  } cases[] = {
      {"no structural zeros: row x column / N after one pass",
       {{40, 15, 14, 11}, {20, 10, 5, 5}, {10, 2, 8, 0}, {10, 3, 1, 6}}, NoStructuralZeros,
       {{7.5, 7, 5.5}, {3.75, 3.5, 2.75}, {3.75, 3.5, 2.75}}, 2, true},
      {"zero diagonal, several passes", {{14, 6, 6, 2}, {3, 0, 1, 2}, {1, 1, 0, 0}, {10, 5, 5, 0}},
       ZeroDiagonal,
       {{0, 1.47195599536, 1.52804400464}, {0.537829240116, 0, 0.462170759884},
        {5.47110603188, 4.52889396812, 0}}, 6, true},
      {"zero diagonal, stopped at the pass limit",
       {{69, 7, 30, 32}, {30, 0, 0, 30}, {4, 2, 0, 2}, {35, 5, 30, 0}}, ZeroDiagonal,
       {{0, 2.03553302839, 27.9644669716}, {0.0708804336431, 0, 3.92911956636},
        {6.95137976506, 28.0486202349, 0}}, 26, false},
      {"all counts zero", dynInteger2(4, dynInteger(4, 0)), ZeroDiagonal, dynReal2(3, dynReal(3, 0)), 2,
       true},
  };
  for (const auto& c : cases) {
    dynReal2 expected(4, dynReal(4, -1.0));
    const ExpectedFit fit = FitExpectedIpf(c.Table, 1, 3, 0, expected, c.ZeroMode);
    EXPECT_EQ(fit.Passes, c.Passes) << c.Name;
    EXPECT_EQ(fit.Converged, c.Converged) << c.Name;
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j) EXPECT_NEAR(expected[i][j], c.Expected[i - 1][j - 1], 1e-9) << c.Name << j;
    }
  }
}

TEST(ExpectedFit, NoCodeAgainstNoCodeStaysEmpty) {
  // Event alignment: category 0 is "no code", margins after the last code.
  const dynInteger2 table{{0, 4, 2, 6}, {3, 10, 1, 14}, {1, 2, 8, 11}, {4, 16, 11, 31}};
  dynReal2 expected(4, dynReal(4, 0.0));
  const ExpectedFit fit = FitExpectedIpf(table, 0, 2, 3, expected, NoCodeAgainstNoCode);
  const double want[3][3] = {{0, 3.55555555556, 2.44444444444},
                             {2.24001409607, 6.96888053566, 4.79110536827},
                             {1.76001107548, 5.47554899231, 3.76443993221}};
  EXPECT_EQ(fit.Passes, 4);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(expected[i][j], want[i][j], 1e-9) << i << "," << j;
  }
}

TEST(ExpectedFit, RefusesTablesThatDoNotFitTheirCategories) {
  const dynInteger2 table(3, dynInteger(3, 1)), ragged{{1, 1, 1}, {1, 1}, {1, 1, 1}};
  dynReal2 expected(3, dynReal(3, 0.0)), small(2, dynReal(2, 0.0));
  EXPECT_THROW(FitExpectedIpf(table, 1, 3, 0, expected, 0), CommandError);
  EXPECT_THROW(FitExpectedIpf(table, 1, 2, 0, small, 0), CommandError);
  EXPECT_THROW(FitExpectedIpf(table, 0, 2, 1, expected, 0), CommandError);
  EXPECT_THROW(FitExpectedIpf(table, -1, 1, 2, expected, 0), CommandError);
  EXPECT_THROW(FitExpectedIpf(ragged, 1, 2, 0, expected, 0), CommandError);
}

}  // namespace
}  // namespace vork
