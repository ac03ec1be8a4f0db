#include "core/data_type_flags.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(DataTypeFlags, FollowTheDataType) {
  // Columns: event, timed, state, intvl, multi, timed or state,
  // event/timed/state, event or multi.
  const struct {
    int DataType;
    bool Flags[8];
  } rows[] = {
      {0, {0, 0, 0, 0, 0, 0, 0, 0}}, {1, {1, 0, 0, 0, 0, 0, 1, 1}},
      {2, {0, 1, 0, 0, 0, 1, 1, 0}}, {3, {0, 0, 1, 0, 0, 1, 1, 0}},
      {4, {0, 0, 0, 1, 0, 0, 0, 0}}, {5, {0, 0, 0, 0, 1, 0, 0, 1}},
      {6, {0, 0, 0, 0, 0, 0, 0, 0}}, {-1, {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& row : rows) {
    const DataTypeFlags f = SetDataTypeFlags(row.DataType);
    const bool got[8] = {f.IsEvent,      f.IsTimed,           f.IsState,     f.IsIntvl,
                         f.IsMulti,      f.TimedOrState,      f.EventTimedOrState,
                         f.EventOrMulti};
    for (int k = 0; k < 8; ++k) {
      EXPECT_EQ(got[k], row.Flags[k]) << "data type " << row.DataType << " flag " << k;
    }
  }
}

}  // namespace
}  // namespace vork
