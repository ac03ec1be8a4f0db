#pragma once

#include <string>

#include "core/dyn_arrays.h"

namespace vork {

// Data types of a compiled file.
enum DataTypeCode : int { Event = 1, Timed = 2, State = 3, Interval = 4, Multi = 5 };

// The header of a compiled data file, as the reader returns it. Every
// analysis keeps its own copy.
struct MdsHeader {
  int LineIndex = 0;  // the units line; the first session line is the next
  int DataType = 0;
  int IntervalDuration = 0;
  int IntervalUnitMark = 0;
  int NCodes = 0;
  int NDual = 0;
  int NSets = 0;
  int NFactors = 0;
  int NSessions = 0;
  int MaxSessionsPerCell = 0;
  dynString CodeNames;         // [1..NCodes]
  dynString DualNames;         // [1..NCodes], when NDual > 0
  dynInteger CodeSet;          // [1..NCodes], when NSets > 0
  dynString SetNames;          // [1..NSets], element 0 empty
  dynString FactorNames;       // [1..NFactors]
  dynInteger FactorLevels;     // [1..NFactors]
  dynString2 FactorLevelNames; // [factor][1..levels]
  int TimeFormat = 0;
  int TimeUnitIndex = 0;
  bool Compressed = false;
  std::string TimeUnitLabel;
};

}  // namespace vork
