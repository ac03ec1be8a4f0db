#pragma once

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <random>
#include <string>
#include <vector>

#include "core/dyn_arrays.h"
#include "core/segment_writer.h"

namespace vork {

// A compiled Timed file of one session and one segment in thousandths: each
// code alternates episodes of 1..50 units (onset in the first) with pauses
// of 1..200 units. The same seed gives the same file.
inline dynString MakeTimedCompiledFile(int nCodes, int nUnits) {
  std::mt19937 random(12345);
  dynChar2 matrix(nCodes, std::string(nUnits, '.'));
  for (int c = 0; c < nCodes; ++c) {
    int t = int(random() % 200);
    while (t < nUnits) {
      const int length = 1 + int(random() % 50);
      for (int u = t; u < std::min(nUnits, t + length); ++u) matrix[c][u] = u == t ? '2' : '1';
      t += length + 1 + int(random() % 200);
    }
  }
  dynString lines = {"\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
                     "2\t0\t0", std::to_string(nCodes) + "\t0\t0\t0\t1\t1"};
  std::string names;
  for (int c = 1; c <= nCodes; ++c) names += (c > 1 ? "\tC" : "C") + std::to_string(c);
  lines.push_back(names);
  lines.push_back("4\t3\tseconds");
  lines.push_back("1\t1\tlong");
  dynString data;
  dynInteger runs(nUnits, 1);
  const int count = WriteSegmentData(data, matrix, runs, nCodes, nUnits, false, true);
  lines.push_back("1\t" + std::to_string(count) + "\t" + std::to_string(nUnits) + "\t0\t" +
                  std::to_string(nUnits));
  lines.insert(lines.end(), data.begin(), data.end());
  return lines;
}

// The yardstick of the benchmarks: reading a file's bytes with read() into
// one buffer, nothing more.
inline std::size_t ReadWholeFile(const std::string& path, std::vector<char>& buffer) {
  buffer.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return done;
}

inline void ReadFileBytes(benchmark::State& state, const std::string& path) {
  std::vector<char> buffer;
  for (auto _ : state) benchmark::DoNotOptimize(ReadWholeFile(path, buffer));
  state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(path)));
}

}  // namespace vork
