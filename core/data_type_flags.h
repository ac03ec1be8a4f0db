#pragma once

namespace vork {

// What a window asks of the data type of its file when it enables its
// controls.
struct DataTypeFlags {
  bool IsEvent = false;
  bool IsTimed = false;
  bool IsState = false;
  bool IsIntvl = false;
  bool IsMulti = false;
  bool TimedOrState = false;
  bool EventTimedOrState = false;
  bool EventOrMulti = false;
};

// The flags of DataType 1..5; any other value sets none.
DataTypeFlags SetDataTypeFlags(int dataType);

}  // namespace vork
