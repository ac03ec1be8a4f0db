#pragma once

// The entry points of the fuzz targets. libFuzzer feeds them generated
// inputs (tests/fuzz/*_fuzzer.cpp, built by scripts/fuzz with clang); the
// normal test run feeds them the saved corpus and every input that once
// failed (fuzz_replay_test.cpp). Each takes any bytes: a CommandError for a
// damaged input is the program's answer and passes; any other exception, a
// sanitizer report or a FuzzFault is a fault.

#include <stdexcept>
#include <string>
#include <string_view>

namespace vork::fuzz {

// A property the program breaks on this input (a round trip that does not
// agree, a compile that cannot be read back).
class FuzzFault : public std::logic_error {
 public:
  explicit FuzzFault(const std::string& what) : std::logic_error(what) {}
};

// The compiled-file reader: every segment read is written back in both
// forms, merged and not, and read again; it must come back cell for cell.
void ReadCompiledFile(std::string_view bytes);

// The compiler: a clean compile must read back whole, and its plain and
// compressed forms must give the same header, messages and matrices.
// The input's length picks the compile options, so the options vary with
// the inputs and every input replays the same way.
void CompileText(std::string_view bytes);

// The analyses (structure report, simple and table statistics, all codes
// and statistics picked) over a compiled file, or over the compile of a
// KELP text when the input is not a compiled file.
void AnalyseCompiledFile(std::string_view bytes);

// The modification: every command the file's data type offers, applied to
// a compiled file the reader reads whole (or to the compile of a KELP text),
// must give a file that reads back whole; on a damaged file it must not
// crash.
void ModifyCompiledFile(std::string_view bytes);

// The rounding: a timed-event or state file read whole and rounded to each
// coarser time unit must give a file that reads back whole.
void RoundCompiledFile(std::string_view bytes);

// Runs one entry point the way a libFuzzer target does: a FuzzFault is
// printed and aborts, so the fuzzer keeps the input.
int RunFuzzTarget(void (*entry)(std::string_view), const unsigned char* data, std::size_t size);

}  // namespace vork::fuzz
