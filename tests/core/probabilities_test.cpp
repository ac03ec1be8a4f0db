#include "core/probabilities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vork {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

TEST(Probabilities, NormalTwoTailMatchesTheComplementaryErrorFunction) {
  // erfc(|z| / sqrt 2), worked out elsewhere to double precision.
  const struct {
    double Z;
    double Erfc;
  } cases[] = {
      {0.5, 0.6170750774519738},     {1.0, 0.31731050786291415},
      {1.96, 0.04999579029644087},   {-1.96, 0.04999579029644087},
      {2.5758, 0.010000847475557371}, {3.29, 0.0010018738275714442},
      {5.0, 5.733031437583892e-07},  {8.0, 1.2441921148543639e-15},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(NormalTwoTailProb(c.Z), c.Erfc, 1.2e-7 * c.Erfc) << c.Z;
  }
}

TEST(Probabilities, NormalTwoTailKeepsThePublishedApproximation) {
  EXPECT_NEAR(NormalTwoTailProb(1.96), 0.049996, 5e-7);
  EXPECT_NEAR(NormalTwoTailProb(0.0), 1.00000003, 5e-9);
  EXPECT_EQ(NormalTwoTailProb(Infinity), 0.0);
  EXPECT_EQ(NormalTwoTailProb(-Infinity), 0.0);
  EXPECT_TRUE(std::isnan(NormalTwoTailProb(std::nan(""))));
}

TEST(Probabilities, ChiSquareTailByTheCubeRootTransformation) {
  // The cube-root transformation worked out elsewhere with an exact
  // complementary error function.
  const struct {
    double ChiSq;
    double Df;
    double Expected;
  } cases[] = {
      {0.0, 1, 0.9505199229902971},    {3.841, 1, 0.047237729979332205},
      {18.307, 10, 0.04976585974454588}, {5.991, 2, 0.048667052493975585},
      {1.0, 1, 0.31867594411696853},   {10.0, 3, 0.018466298876843475},
      {100.0, 50, 3.6623833007103005e-05}, {0.5, 4, 0.9703267796126085},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(ChiSquareProb(c.ChiSq, c.Df), c.Expected, 2e-7 * c.Expected)
        << c.ChiSq << " with " << c.Df;
  }
  // The figures as printed to four places.
  EXPECT_NEAR(ChiSquareProb(0.0, 1), 0.9505, 5e-5);
  EXPECT_NEAR(ChiSquareProb(3.841, 1), 0.0472, 5e-5);
  EXPECT_NEAR(ChiSquareProb(18.307, 10), 0.0498, 5e-5);
}

TEST(Probabilities, ChiSquareOfMeaninglessArgumentsIsOne) {
  const double nan = std::nan("");
  const struct {
    double ChiSq;
    double Df;
  } cases[] = {{3.0, 0}, {3.0, -2}, {-0.5, 1}, {nan, 1}, {3.0, nan}, {3.0, Infinity}, {0, 0}};
  for (const auto& c : cases) EXPECT_EQ(ChiSquareProb(c.ChiSq, c.Df), 1.0) << c.ChiSq << " " << c.Df;
  EXPECT_EQ(ChiSquareProb(Infinity, 1), 0.0);
}

}  // namespace
}  // namespace vork
