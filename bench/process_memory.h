#pragma once

// The memory the whole process holds, as the system counts it (Linux; 0
// elsewhere): what it holds now (VmRSS), and the most it held since the
// last ResetPeakMemory (VmHWM).

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

namespace vork::bench {

inline std::int64_t StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::strlen(field))) * 1024;
  }
  return 0;
}

inline void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace vork::bench
