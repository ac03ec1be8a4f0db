#include "core/probabilities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vork {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

TEST(Probabilities, NormalTwoTailMatchesTheComplementaryErrorFunction) {
  // erfc(|z| / sqrt 2), worked out elsewhere to double precision.
  const std::pair<double, double> cases[] = {
      {0.5, 0.6170750774519738},      {1.0, 0.31731050786291415},    {1.96, 0.04999579029644087},
      {-1.96, 0.04999579029644087},   {2.5758, 0.010000847475557371}, {3.29, 0.0010018738275714442},
      {5.0, 5.733031437583892e-07},   {8.0, 1.2441921148543639e-15},
  };
  for (const auto& [z, erfc] : cases) EXPECT_NEAR(NormalTwoTailProb(z), erfc, 1.2e-7 * erfc) << z;
  // The published approximation, not the exact function, at zero.
  EXPECT_NEAR(NormalTwoTailProb(0.0), 1.00000003, 5e-9);
  EXPECT_EQ(NormalTwoTailProb(Infinity), 0.0);
  EXPECT_EQ(NormalTwoTailProb(-Infinity), 0.0);
  EXPECT_TRUE(std::isnan(NormalTwoTailProb(std::nan(""))));
}

TEST(Probabilities, ChiSquareTailByTheCubeRootTransformation) {
  // The cube-root transformation worked out elsewhere with an exact complementary error function.
  const struct {
    double ChiSq, Df, Expected;
  } cases[] = {
      {0.0, 1, 0.9505199229902971},      {3.841, 1, 0.047237729979332205}, {18.307, 10, 0.04976585974454588},
      {5.991, 2, 0.048667052493975585},  {1.0, 1, 0.31867594411696853},    {10.0, 3, 0.018466298876843475},
      {100.0, 50, 3.6623833007103005e-05}, {0.5, 4, 0.9703267796126085},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(ChiSquareProb(c.ChiSq, c.Df), c.Expected, 2e-7 * c.Expected) << c.ChiSq << " with " << c.Df;
  }
  // Meaningless arguments give one.
  const double nan = std::nan("");
  const std::pair<double, double> meaningless[] = {{3.0, 0},   {3.0, -2}, {-0.5, 1},       {nan, 1},
                                                   {3.0, nan}, {0, 0},    {3.0, Infinity}};
  for (const auto& [chiSq, df] : meaningless) EXPECT_EQ(ChiSquareProb(chiSq, df), 1.0) << chiSq << " " << df;
  EXPECT_EQ(ChiSquareProb(Infinity, 1), 0.0);
}

}  // namespace
}  // namespace vork
