#pragma once

// Compiled files generated for the models of the analyses: a model file
// holds its matrices, and is written as plain data lines by the test itself.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/dyn_arrays.h"
#include "core/mds_header.h"

namespace vork::testing {

struct ModelSegment {
  std::uint32_t Start = 1, Stop = 0;
  std::vector<std::string> Rows;  // one row per code, one cell per unit
};

struct ModelFile {
  int DataType = Timed, IntervalDuration = 0, IntervalUnitMark = 0, TimeUnitIndex = 0;
  std::string TimeUnitLabel = "seconds";
  std::vector<std::string> Codes;
  std::vector<std::vector<ModelSegment>> Sessions;
};

// A compiled file with plain data lines; equal neighbouring columns are
// joined into one line at random.
inline dynString FileLines(const ModelFile& f, std::mt19937& random) {
  const auto n = [](auto v) { return std::to_string(v); };
  dynString lines{"\tMDS file saved by KELP compiler Version 5.1 now",
                  n(f.DataType) + "\t" + n(f.IntervalDuration) + "\t" + n(f.IntervalUnitMark),
                  n(f.Codes.size()) + "\t0\t0\t0\t" + n(f.Sessions.size()) + "\t" + n(f.Sessions.size())};
  std::string names;
  for (const auto& code : f.Codes) names += (names.empty() ? "" : "\t") + code;
  lines.push_back(names);
  lines.push_back("4\t" + n(f.TimeUnitIndex) + "\t" + f.TimeUnitLabel);
  for (std::size_t s = 0; s < f.Sessions.size(); ++s) {
    lines.push_back(n(s + 1) + "\t" + n(f.Sessions[s].size()) + "\t#" + n(s + 1));
    for (std::size_t g = 0; g < f.Sessions[s].size(); ++g) {
      const ModelSegment& seg = f.Sessions[s][g];
      const std::size_t units = seg.Rows[0].size();
      dynString data;
      for (std::size_t t = 0; t < units; ++t) {
        std::string column;
        for (const auto& row : seg.Rows) column += row[t];
        const std::string last = data.empty() ? "" : data.back().substr(data.back().find('\t') + 1);
        if (column == last && random() % 2 == 0) {
          const int count = std::stoi(data.back());
          data.back() = n(count + 1) + "\t" + column;
        } else {
          data.push_back("1\t" + column);
        }
      }
      lines.push_back(n(g + 1) + "\t" + n(data.size()) + "\t" + n(units) + "\t" + n(seg.Start) + "\t" + n(seg.Stop));
      lines.insert(lines.end(), data.begin(), data.end());
    }
  }
  return lines;
}

// A file of any data type with up to four codes, three sessions of up to
// three segments; mostly episodes that begin with an onset.
inline ModelFile RandomFile(std::mt19937& random) {
  const auto pick = [&](int n) { return static_cast<int>(random() % n); };
  static const char* const names[] = {"Alert", "Cry", "a", "Fussiness", "sleep", "LookAway1", "b2"};
  ModelFile f;
  f.DataType = 1 + pick(5);
  f.TimeUnitIndex = pick(4);
  f.TimeUnitLabel = f.DataType == Event ? "events" : "seconds";
  if (f.DataType == Interval) {
    f.IntervalDuration = 1 + pick(6);
    f.IntervalUnitMark = 1 + pick(3);
  }
  const int nCodes = 1 + pick(4);
  const int first = pick(7);
  for (int c = 0; c < nCodes; ++c) f.Codes.push_back(names[(first + c) % 7]);
  f.Sessions.resize(1 + pick(3));
  for (auto& session : f.Sessions) {
    session.resize(1 + pick(3));
    for (ModelSegment& seg : session) {
      const int units = pick(5) == 0 ? pick(3) : pick(25);
      // Mostly episodes that begin with an onset; sometimes any cells.
      const bool anyCells = pick(8) == 0;
      for (int c = 0; c < nCodes; ++c) {
        std::string row;
        for (int t = 0; t < units; ++t) {
          const int r = pick(6);
          const bool on = !row.empty() && row.back() != '.';
          row += anyCells ? ".12"[pick(3)] : r < 2 ? '.' : r == 2 || !on ? (r < 4 ? '2' : '.') : '1';
        }
        seg.Rows.push_back(row);
      }
      if (pick(3) == 0) {
        seg.Start = pick(2);  // no stop time: the length is units + 1 - start
      } else {
        seg.Start = pick(1000);
        seg.Stop = seg.Start + units + (pick(2) ? 0 : pick(7));
      }
    }
  }
  return f;
}

}  // namespace vork::testing
