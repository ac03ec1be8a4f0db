// libFuzzer target: RoundCompiledFile (see fuzz_entry_points.h); built by scripts/fuzz.
#include "tests/fuzz/fuzz_entry_points.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  return vork::fuzz::RunFuzzTarget(vork::fuzz::RoundCompiledFile, data, size);
}
