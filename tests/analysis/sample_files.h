#pragma once

#include <initializer_list>

#include "core/dyn_arrays.h"

namespace vork::testing {

// Timed data in tenths; one session of one segment of 10 units. Alert reads
// . 2 1 1 . . 2 1 . . and Cry is never on.
inline const dynString BabyFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "2\t0\t0", "2\t0\t0\t0\t1\t1", "Alert\tCry", "4\t1\tseconds", "1\t1\tbaby", "1\t7\t10\t0\t10",
    "1\t..", "1\t2.", "2\t1.", "2\t..", "1\t2.", "1\t1.", "2\t..",
};

// Event data, codes A, B, C and LengthyName. S1: one segment A B C A B A C B.
// S2: a segment of one event (B), then a segment C A A.
inline const dynString EventFile = {
    "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
    "1\t0\t0", "4\t0\t0\t0\t2\t2", "A\tB\tC\tLengthyName", "0\t0\tevents", "1\t1\tS1",
    "1\t8\t8\t1\t0", "1\t2...", "1\t.2..", "1\t..2.", "1\t2...", "1\t.2..", "1\t2...", "1\t..2.",
    "1\t.2..", "2\t2\tS2", "1\t1\t1\t1\t0", "1\t.2..", "2\t2\t3\t1\t0", "1\t..2.", "2\t2...",
};

inline dynString Concat(std::initializer_list<dynString> parts) {
  dynString all;
  for (const dynString& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace vork::testing
