#pragma once

// The n-way table export: the time units of a compiled file counted into a
// multi-way contingency table whose dimensions are the factors left
// unpooled (the session's levels) and two to seven code dimensions (the
// first listed code that is on), written as one count row per cell. All
// sessions and segments of the file go into one table.
//
// Typical RUN:
//   if (!SetUpTable(header, choices, table, dialogue)) return;
//   TallyFile(lines, header, choices, table, dialogue);
//   if (choices.CodesCantRepeat) CheckStructuralZeros(table, dialogue);
//   if (ExportDisplayRefusal(table).empty()) WriteExportTable(table, sink);  // the results
//   SaveExportTable(fileName, table);                                       // the count file

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/line_buffer.h"
#include "core/dyn_arrays.h"
#include "core/mds_header.h"
#include "core/segment_runs.h"
#include "core/user_dialogue.h"

namespace vork {

// Factor dimensions and code dimensions together never pass this.
inline constexpr int MaxTableDims = 7;

// The window's choices, as a RUN reads them.
struct ExportTableChoices {
  dynString FactorsInFile;  // the factors not pooled, in list order
  dynString2 CodeDims;      // the codes of code dimensions 1..CurDms, in list order
  dynString DimNames;       // the DmsNames text of each code dimension
  bool LaggedUnits = false;
  bool CodesCantRepeat = false;
  bool AddEtcCode = false;  // units where no listed code is on count under "etc"
};

// The label that follows the listed items of every dimension.
inline constexpr const char* EtcLabel = "etc";

struct TableDimension {
  std::string DimName;
  dynString DimLabels;   // [1..DimSize]: level names or codes, then "etc"; [0] empty
  int DimFactorIdx = 0;  // factor dimensions: the factor's number
  dynInteger CodeIdx;    // code dimensions: [1..DimSize] code numbers, 0 for "etc"

  int DimSize() const { return int(DimLabels.size()) - 1; }
};

struct NWayTable {
  std::vector<TableDimension> Dims;  // factor dimensions first, then the code dimensions
  int NFactorDims = 0;
  std::int64_t NCells = 0;
  // Counts[cell - 1] for cells numbered from 1, the last dimension varying
  // fastest; -1 marks a structural zero.
  std::vector<std::int64_t> Counts;
  std::vector<std::int64_t> Stride;  // cells between neighbouring labels of each dimension
};

// Builds the dimensions and an all-zero table. False, after telling the
// user why, when a code dimension is empty, a factor is not in the file,
// too many factors are left unpooled or the table would not fit in memory
// (refused before anything is allocated).
bool SetUpTable(const MdsHeader& header, const ExportTableChoices& choices, NWayTable& table,
                UserDialogue& dialogue);

// Adds one segment's units, read as the runs of its codes; factorCell is
// the first cell of the session's factor levels (0 without factor
// dimensions). labels is working space kept between segments.
void TallySegment(const ExportTableChoices& choices, NWayTable& table, const SegmentRuns& runs,
                  std::int64_t factorCell, std::vector<std::int32_t>& labels);

// Tallies every session and segment of the file, with progress by sessions.
// Throws CommandError on a damaged file.
void TallyFile(LinesView mdsLines, const MdsHeader& header, const ExportTableChoices& choices,
               NWayTable& table, UserDialogue& dialogue);

// The label numbers (1..DimSize) of a cell numbered from 1.
std::vector<int> CellLabels(const NWayTable& table, std::int64_t cell);

// Written cells: counted ones, and every cell without an "etc" label.
bool CellIsWritten(const NWayTable& table, std::int64_t cell);

// Codes that cannot follow themselves in lagged units: an empty written
// cell where a code is followed by itself becomes -1; the non-empty ones
// are counted in a notice.
void CheckStructuralZeros(NWayTable& table, UserDialogue& dialogue);

// The header row of the count file, then one row per written cell, each
// handed to sink as it is made.
void WriteExportTable(const NWayTable& table, const std::function<void(const std::string&)>& sink);

// The rows WriteExportTable makes (the header row included) and their
// characters (TABs included, line ends not), counted without making them.
struct TableText {
  std::int64_t Rows = 0;
  std::int64_t Characters = 0;
};
TableText ExportTableText(const NWayTable& table);

// Why the rows cannot be shown in the results window: beside the table they
// would take more than the memory budget. "" when they can be. The count
// file is written either way.
std::string ExportDisplayRefusal(const NWayTable& table);

// Writes the count file row by row, beside the file it replaces, which is
// replaced only once the new file is complete. Throws CommandError naming
// the file when it cannot be written.
void SaveExportTable(const std::string& fileName, const NWayTable& table);

}  // namespace vork
