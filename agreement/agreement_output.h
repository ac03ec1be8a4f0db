#pragma once

// What "Compute kappa" writes: the heading and plots of each pair of
// segments, and after the last pair the kappa lines and agreement matrices.

#include <cstdint>
#include <string>

#include "agreement/event_alignment.h"
#include "agreement/segment_pairing.h"
#include "core/dyn_arrays.h"
#include "core/number_format.h"

namespace vork {

// The picked codes as tables and plots show them, indexed 0..K+2: nil, the
// picked codes, "& (all others)", "Totals".
struct PickedCodeTables {
  int K = 0;
  dynString Names;    // "nil", the codes, "& (all others)", "Totals"
  dynString Symbols;  // "-", one plot symbol per code, "&", "Totals"

  int OthersIndex() const { return K + 1; }
  int TotalsIndex() const { return K + 2; }
};

// Symbol i is the first character of markers line i-1, or, when that line is
// missing or empty, the letter 'A' + (i - 1) mod 26.
PickedCodeTables MakePickedCodeTables(const dynString& picked, const dynString& markers);

// Everything the writers need besides the counts.
struct AgreementWriter {
  PickedCodeTables Codes;
  int LineLength = 100;  // characters per plot line; sets the matrix blocks
  int NDigits = 2;
  NumberFormat Format;
  int TimeFormat = 1;  // of the plot's time labels: the file's for Timed and State data, else 1
  int TimeUnitIndex = 0;
  std::string TimeUnitLabel;
};

// The line length shown in the window: below 10 it becomes 60, above 200 it
// becomes 120; text that is not a number reads as 0.
int AgreementLineLength(const std::string& text);

// Fixed notation with NDigits decimals, a leading '0' dropped (.85, -0.10, 1.00).
std::string FormatKappaValue(double value, int nDigits, const NumberFormat& format);

// The heading of a pair's plot, then an empty line.
void WriteAgreementHeading(dynString& lines, const ObserverReader& obs1, const ObserverReader& obs2);

// Appends the time label of plotStart to line, as wide as the groups of ten
// positions it covers, and moves plotStart on by 10. A label of 10 or more
// characters takes two groups, so every second one is left out.
void AppendTimeLabel(std::string& line, std::uint32_t& plotStart, bool& longLabel, const AgreementWriter& writer);

// The time-unit agreement plot of a pair: both observers' timelines and the
// marks of the tally, in chunks of the line length.
void PlotTimeUnitAgreement(dynString& lines, const AgreementWriter& writer, const ObserverPairing& pairing,
                           const SegmentPair& pair, const std::string& marks);

// The event alignment plot of a pair, in chunks of the line length.
void PlotEventAlignment(dynString& lines, const AgreementWriter& writer, const ObserverPairing& pairing,
                        const AlignmentPlot& plot);

// Kappa, agreement and maximum kappa of the time-unit tally (one matrix, or
// two when timeTol is on), then the first matrix. unitByUnit: Intvl and
// Multi data, whose lines say "Kappa". The matrices get their totals.
void WriteTimeUnitKappa(dynString& lines, const AgreementWriter& writer, dynInteger2& matrix1,
                        dynInteger2* matrix2, int timeTol, bool unitByUnit);

// Kappa, maximum kappa and agreement of the event alignment, then its matrix
// with the nil row and column. For Timed and State data the label names the
// tolerance and overlap as the window shows them. The matrix gets its totals.
void WriteEventAlignmentKappa(dynString& lines, const AgreementWriter& writer, dynInteger2& matrix,
                              bool timedOrState, const std::string& eventTolText, const std::string& overlapText);

// A matrix with its totals in row and column K+2, in blocks of columns as
// wide as the line length allows; first is 1 (time units) or 0 (events, with
// nil). The "&" row and column show only when a total of them is not zero.
void WriteAgreementMatrix(dynString& lines, const AgreementWriter& writer, const dynInteger2& matrix,
                          const dynReal& indKappa, int first);

}  // namespace vork
