#include "analysis/export_table_dimensions.h"

#include <algorithm>

namespace vork {

PoolingLimits CheckPooling(int unpooledFactors, int numDms) {
  PoolingLimits limits;
  limits.DimensionsOK = unpooledFactors < MaxUnpooledFactors;
  limits.NumDms = numDms;
  const int most = MaxCodeDims - unpooledFactors;
  if (limits.DimensionsOK) {
    while (limits.NumDms > most && limits.NumDms > MinCodeDims) {
      --limits.NumDms;
      ++limits.Lowerings;
    }
  }
  limits.NumDmsMax = std::max(MinCodeDims, most);
  return limits;
}

}  // namespace vork
