#include "core/data_type_flags.h"

namespace vork {

DataTypeFlags SetDataTypeFlags(int dataType) {
  DataTypeFlags flags;
  flags.IsEvent = dataType == 1;
  flags.IsTimed = dataType == 2;
  flags.IsState = dataType == 3;
  flags.IsIntvl = dataType == 4;
  flags.IsMulti = dataType == 5;
  flags.TimedOrState = flags.IsTimed || flags.IsState;
  flags.EventTimedOrState = flags.IsEvent || flags.TimedOrState;
  flags.EventOrMulti = flags.IsEvent || flags.IsMulti;
  return flags;
}

}  // namespace vork
