#include "core/probabilities.h"

#include <cmath>

namespace vork {

// Sums run in long double, the extended precision the published figures
// were computed with; results are stored as double.
double NormalTwoTailProb(double z) {
  const long double x = std::fabs(static_cast<long double>(z) / 1.414213562L);
  const long double t = 1.0L / (1.0L + 0.5L * x);
  const long double series =
      -1.26551223L +
      t * (1.00002368L +
           t * (0.37409196L +
                t * (0.09678418L +
                     t * (-0.18628806L +
                          t * (0.27886807L +
                               t * (-1.13520398L +
                                    t * (1.48851587L +
                                         t * (-0.82215223L + t * 0.17087277L))))))));
  return static_cast<double>(t * std::exp(-x * x + series));
}

double ChiSquareProb(double chiSq, double df) {
  if (std::isnan(chiSq) || std::isnan(df) || df <= 0 || chiSq < 0 || std::isinf(df)) return 1.0;
  const long double h = 2.0L / (9.0L * df);
  if (!(h > 0)) return 1.0;  // df so large that h vanishes
  // The exponent is the decimal 0.33333333 the published figures use, not 1/3.
  const long double z =
      (std::pow(static_cast<long double>(chiSq) / df, 0.33333333L) - (1.0L - h)) / std::sqrt(h);
  const long double halfTail = NormalTwoTailProb(static_cast<double>(std::fabs(z))) / 2.0L;
  return static_cast<double>(z > 0 ? halfTail : 1.0L - halfTail);
}

}  // namespace vork
