#pragma once

namespace vork {

// The probability that a standard normal deviate lies at least |z| away from
// 0, erfc(|z| / sqrt 2), by a Chebyshev-fitted approximation whose fractional
// error stays below 1.2e-7. Not-a-number gives not-a-number.
double NormalTwoTailProb(double z);

// The upper-tail probability of chiSq with df degrees of freedom, by the
// Wilson-Hilferty cube-root transformation to a normal deviate. A df not
// above 0, a negative chiSq, a value that is not a number or an infinite df
// give 1.0.
double ChiSquareProb(double chiSq, double df);

}  // namespace vork
