#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "core/dyn_arrays.h"
#include "core/text_file.h"

namespace vork::testing {

// A segment of a compiled file: its start time and one column of cells per
// time unit ('.' off, '1' on, '2' onset), one cell per code.
struct PlainSegment {
  std::uint32_t Start;
  std::vector<std::string> Columns;
};

struct PlainSession {
  std::string Label;
  std::vector<PlainSegment> Segments;
};

// The lines of a compiled file with plain data lines, one line per unit.
inline dynString PlainFile(int dataType, const std::string& codes, int nCodes, const std::string& unitsLine,
                           const std::vector<PlainSession>& sessions) {
  dynString lines = {"\tMDS file saved by KELP compiler Version 5.1 07.12.2026 01:00:00",
                     std::to_string(dataType) + "\t0\t0",
                     std::to_string(nCodes) + "\t0\t0\t0\t" + std::to_string(sessions.size()) + "\t" +
                         std::to_string(sessions.size()),
                     codes,
                     unitsLine};
  for (const PlainSession& session : sessions) {
    lines.push_back("1\t" + std::to_string(session.Segments.size()) + "\t" + session.Label);
    for (const PlainSegment& segment : session.Segments) {
      const auto n = std::to_string(segment.Columns.size());
      lines.push_back("1\t" + n + "\t" + n + "\t" + std::to_string(segment.Start) + "\t" +
                      std::to_string(segment.Start + segment.Columns.size()));
      for (const std::string& column : segment.Columns) lines.push_back("1\t" + column);
    }
  }
  return lines;
}

}  // namespace vork::testing
