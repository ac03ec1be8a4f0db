#pragma once

// The most heap memory a piece of work holds at once: the global allocation
// functions of the benchmark program count the bytes in use, and a
// HeapPeak taken before the work gives the peak above that starting point.
// Include from exactly one source file of a benchmark program.

#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vork::bench {

inline std::atomic<std::int64_t> HeapInUse{0};
inline std::atomic<std::int64_t> HeapHighWater{0};

class HeapPeak {
 public:
  HeapPeak() : Start(HeapInUse.load()) { HeapHighWater.store(Start); }
  std::int64_t Bytes() const { return HeapHighWater.load() - Start; }

 private:
  std::int64_t Start;
};

// The most resident memory a piece of work adds, as the kernel counts it
// (what malloc holds too, such as a line buffer's text): the process's peak
// resident size is reset when it is taken, and read against the resident
// size at that moment.
class RssPeak {
 public:
  RssPeak() {
    if (std::FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
      std::fputs("5", clear);
      std::fclose(clear);
    }
    Start = Status("VmRSS:");
  }
  std::int64_t Bytes() const { return Status("VmHWM:") - Start; }

 private:
  static std::int64_t Status(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return 0;
    char line[256];
    long long kilobytes = 0;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status))
      if (std::strncmp(line, field, length) == 0) kilobytes = std::atoll(line + length);
    std::fclose(status);
    return kilobytes * 1024;
  }
  std::int64_t Start = 0;
};

inline void* CountedAllocation(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const std::int64_t now = HeapInUse += static_cast<std::int64_t>(malloc_usable_size(p));
  std::int64_t high = HeapHighWater.load();
  while (now > high && !HeapHighWater.compare_exchange_weak(high, now)) {
  }
  return p;
}

inline void CountedRelease(void* p) {
  if (p == nullptr) return;
  HeapInUse -= static_cast<std::int64_t>(malloc_usable_size(p));
  std::free(p);
}

}  // namespace vork::bench

void* operator new(std::size_t size) { return vork::bench::CountedAllocation(size); }
void* operator new[](std::size_t size) { return vork::bench::CountedAllocation(size); }
void operator delete(void* p) noexcept { vork::bench::CountedRelease(p); }
void operator delete[](void* p) noexcept { vork::bench::CountedRelease(p); }
void operator delete(void* p, std::size_t) noexcept { vork::bench::CountedRelease(p); }
void operator delete[](void* p, std::size_t) noexcept { vork::bench::CountedRelease(p); }
