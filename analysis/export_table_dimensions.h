#pragma once

// The rules of the n-way export's dimension controls that do not depend on
// widgets: the default names of the code dimensions and how many code
// dimensions the factors left unpooled allow.

#include <array>
#include <string_view>

namespace vork {

// The default names of code dimensions 1..7, [not lagged / lagged][k - 1].
inline constexpr std::array<std::array<std::string_view, 7>, 2> DimNameTable{{
    {"dmsA", "dmsB", "dmsC", "dmsD", "dmsE", "dmsF", "dmsG"},
    {"lag0", "lag1", "lag2", "lag3", "lag4", "lag5", "lag6"},
}};

// The fewest and the most code dimensions a table has.
inline constexpr int MinCodeDims = 2;
inline constexpr int MaxCodeDims = 7;

// Below this many unpooled factors the code dimensions may be edited.
inline constexpr int MaxUnpooledFactors = 6;

// What the pooling of factors allows the "# dimensions" control.
struct PoolingLimits {
  bool DimensionsOK = true;  // few enough factors are left unpooled
  int NumDms = MinCodeDims;  // the number of code dimensions, lowered when needed
  int Lowerings = 0;         // how many steps down that took (each narrows the window)
  int NumDmsMax = MaxCodeDims;
};

// Factor dimensions and code dimensions together never pass seven: with
// unpooledFactors left, numDms is lowered to fit (only when the code
// dimensions may be edited at all).
PoolingLimits CheckPooling(int unpooledFactors, int numDms);

}  // namespace vork
