#pragma once

#include <cstdint>
#include <string>

namespace vork {

// How numbers in results and export files are written. The run option
// DecSepX picks the decimal separator for the whole program: the host's,
// "." or ",". The application makes one NumberFormat from that option (with
// MakeNumberFormat) when it starts and again whenever the run options change,
// and every window hands its copy to the engine routines it calls; the
// engine keeps no separator of its own. Times (FormatTime) always use ".".
struct NumberFormat {
  char DecimalSeparator = '.';
};

// DecSepX 1 gives ".", 2 gives ","; 0 (and any other value) the host's
// separator, which the application reads from the system at start-up.
NumberFormat MakeNumberFormat(int decSepX, char hostSeparator);

// Fixed notation with exactly `decimals` digits after the separator. The
// value is first rounded to 7 significant digits, so places past the 7th
// significant digit read 0; a value that has more than 7 digits before the
// separator is written in exponent form instead: 7 significant digits, "E",
// the sign and at least two exponent digits (12345678 -> "1.234568E+07").
// Halves round away from zero, as a reader of printed tables expects, after
// the value is taken to the 15 significant digits a double holds reliably
// (so 2.675 with 2 decimals reads 2.68). A zero result carries no sign.
// Not-a-number reads "NAN", infinities "INF" and "-INF".
std::string FormatFixed(double value, int decimals, const NumberFormat& format);

// General notation with 5 significant digits: trailing zeros and a bare
// separator dropped; plain when the rounded value has at most 5 digits before
// the separator and is at least 0.00001 in magnitude, exponent form otherwise
// with the same exponent text as FormatFixed (120, 3.3333, 0.012346,
// 1.2346E+05, 1E-06). Zero reads "0".
std::string FormatGeneral5(double value, const NumberFormat& format);

// The nearest integer, a half going to the even neighbour (2.5 -> 2,
// 3.5 -> 4). Not-a-number gives 0; values beyond the 64-bit range give its
// nearest end.
std::int64_t RoundHalfEven(double value);

}  // namespace vork
