#pragma once

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
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

// A compiled Timed file (compressed, hundredths) of about targetBytes with
// sessions as a user records them: each session two streams of 1,000
// entries over nCodes codes (half the codes each), every entry 1..150 units
// long and starting 0..99 units after the one before; a code's entries do
// not overlap. Written straight to path; the same seed gives the same file.
// The shape can ask for other sessions: a given number of them (instead of
// the bytes), longer streams, or a second observer's file, each onset of
// the same entries moved 0..OnsetJitter units later (its offset stays).
// Returns the number of sessions written.
struct ManySessionShape {
  int EntriesPerStream = 1000;
  int Sessions = 0;  // 0: as many as targetBytes takes
  int OnsetJitter = 0;
};

inline int WriteManySessionTimedFile(const std::string& path, std::size_t targetBytes, int nCodes = 10,
                                      const ManySessionShape& shape = {}) {
  std::mt19937 random(2026);
  std::mt19937 jitter(2027);
  std::string body;
  body.reserve(targetBytes + (1u << 20));
  int sessions = 0;
  dynString data;
  while (shape.Sessions > 0 ? sessions < shape.Sessions : body.size() < targetBytes) {
    ++sessions;
    struct Entry { int Code, Onset, Offset; };
    std::vector<Entry> entries;
    int units = 0;
    for (int stream = 0; stream < 2; ++stream) {
      std::vector<int> free(static_cast<std::size_t>(nCodes), 0);
      int onset = int(random() % 100);
      for (int k = 0; k < shape.EntriesPerStream; ++k) {
        const int code = stream * (nCodes / 2) + int(random() % unsigned(nCodes / 2));
        onset = std::max(onset, free[std::size_t(code)]);
        const int offset = onset + 1 + int(random() % 150);
        free[std::size_t(code)] = offset;
        units = std::max(units, offset);
        const int moved = shape.OnsetJitter > 0 ? int(jitter() % unsigned(shape.OnsetJitter + 1)) : 0;
        entries.push_back({code, std::min(onset + moved, offset - 1), offset});
        onset += int(random() % 100);
      }
    }
    dynChar2 matrix(static_cast<std::size_t>(nCodes), std::string(static_cast<std::size_t>(units), '.'));
    for (const Entry& e : entries) {
      std::string& row = matrix[std::size_t(e.Code)];
      row[std::size_t(e.Onset)] = '2';
      std::fill(row.begin() + e.Onset + 1, row.begin() + e.Offset, '1');
    }
    data.clear();
    dynInteger runs(static_cast<std::size_t>(units), 1);
    const int count = WriteSegmentData(data, matrix, runs, nCodes, units, true, true);
    body += std::to_string(sessions) + "\t1\ts" + std::to_string(sessions) + "\r\n";
    body += "1\t" + std::to_string(count) + "\t" + std::to_string(units) + "\t0\t" + std::to_string(units) + "\r\n";
    for (const std::string& line : data) (body += line) += "\r\n";
  }
  std::string names;
  for (int c = 0; c < nCodes; ++c) names += (c > 0 ? "\tc" : "c") + std::to_string(c);
  std::ofstream out(path, std::ios::binary);
  out << "MDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00\r\n2\t0\t0\r\n" << nCodes
      << "\t0\t0\t0\t" << sessions << "\t" << sessions << "\r\n" << names << "\r\n4\t2\tseconds\r\n" << body;
  return sessions;
}

// The many-session file of the analysis benchmarks (about 100 MB), made once
// per run of a benchmark program and removed at its end.
inline const std::string& ManySessionFilePath() {
  struct File {
    std::string Path = (std::filesystem::temp_directory_path() /
                        ("vork_many_sessions_" + std::to_string(::getpid()) + ".mds")).string();
    File() { WriteManySessionTimedFile(Path, 100u * 1000u * 1000u); }
    ~File() { std::error_code ignored; std::filesystem::remove(Path, ignored); }
  };
  static const File file;
  return file.Path;
}

// Reads a file's bytes with read() into size bytes at buffer.
inline std::size_t ReadFileInto(const std::string& path, char* buffer, std::size_t size) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, buffer + done, size - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return done;
}

inline std::size_t ReadWholeFile(const std::string& path, std::vector<char>& buffer) {
  buffer.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
  return ReadFileInto(path, buffer.data(), buffer.size());
}

// A time in hundredths as a raw file writes it: "12.05".
inline std::string Hundredths(int units) {
  std::string cents = std::to_string(units % 100);
  if (cents.size() < 2) cents = "0" + cents;
  return std::to_string(units / 100) + "." + cents;
}

// A raw Timed file of about targetBytes over nCodes codes (c0, c1, ...):
// sessions of 2,000 entries in two streams, each code's entries in a stream
// following each other without overlapping, eight entries to a line. The
// same arguments give the same file.
inline dynString MakeTimedRawFile(std::size_t targetBytes, int nCodes) {
  std::mt19937 random(2026);
  dynString lines{"Timed"};
  for (int c = 0; c < nCodes; ++c) lines[0] += " c" + std::to_string(c);
  lines[0] += ";";
  std::size_t bytes = lines[0].size() + 2;
  for (int session = 1; bytes < targetBytes; ++session) {
    int last = 0;
    for (int stream = 0; stream < 2; ++stream) {
      std::string line = stream == 0 ? "<s" + std::to_string(session) + "> " : "& ";
      std::vector<int> free(nCodes, 0);
      int onset = int(random() % 100);
      for (int k = 0; k < 1000; ++k) {
        const int code = stream * (nCodes / 2) + int(random() % (nCodes / 2));
        onset = std::max(onset, free[code]);
        const int offset = onset + 1 + int(random() % 150);
        free[code] = offset;
        last = std::max(last, offset);
        line += "c" + std::to_string(code) + "," + Hundredths(onset) + "-" + Hundredths(offset) + " ";
        onset += int(random() % 100);
        if (k % 8 == 7) {
          bytes += line.size() + 2;
          lines.push_back(std::move(line));
          line.clear();
        }
      }
      if (!line.empty()) {
        bytes += line.size() + 2;
        lines.push_back(std::move(line));
      }
    }
    lines.push_back("," + Hundredths(last) + " /");
    bytes += lines.back().size() + 2;
  }
  return lines;
}

// The yardstick of the benchmarks: reading a file's bytes with read() into
// one buffer, nothing more, as a process that loads the file does it: the
// buffer is new each time, so its pages are met by the read as the loads
// measured against it meet theirs (a buffer kept from the last read would
// time only the copy from the page cache).
inline void ReadFileBytes(benchmark::State& state, const std::string& path) {
  const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    const std::unique_ptr<char[]> buffer(new char[size]);
    benchmark::DoNotOptimize(ReadFileInto(path, buffer.get(), size));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(size));
}

}  // namespace vork
