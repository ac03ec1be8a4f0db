#include "analysis/export_table.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>

#include "analysis/analysis_run.h"
#include "analysis/session_pooling.h"
#include "core/code_lists.h"
#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/session_reader.h"
#include "core/segment_budget.h"

namespace vork {

namespace {

constexpr const char* PoolingNotice = "You will need to select some factors for pooling";

// Steps the label numbers like an odometer: the last dimension advances,
// wrapping to 1 and carrying to the left.
void NextCell(const NWayTable& table, std::vector<int>& idx) {
  for (int d = int(idx.size()) - 1; d >= 0; --d) {
    if (++idx[d] <= table.Dims[d].DimSize()) return;
    idx[d] = 1;
  }
}

bool WrittenAt(const NWayTable& table, std::int64_t cell, const std::vector<int>& idx) {
  if (table.Counts[cell - 1] > 0) return true;
  for (size_t d = 0; d < idx.size(); ++d)
    if (idx[d] == table.Dims[d].DimSize()) return false;
  return true;
}

TableDimension CodeDimension(const MdsHeader& header, const std::string& name, const dynString& codes) {
  TableDimension dim;
  dim.DimName = name;
  dim.DimLabels.push_back("");
  dim.CodeIdx.push_back(0);
  for (const std::string& code : codes) {
    dim.DimLabels.push_back(code);
    dim.CodeIdx.push_back(FindCodeIndex(code, header.CodeNames, header.NCodes));
  }
  dim.DimLabels.push_back(EtcLabel);
  dim.CodeIdx.push_back(0);
  return dim;
}

}  // namespace

bool SetUpTable(const MdsHeader& header, const ExportTableChoices& choices, NWayTable& table,
                UserDialogue& dialogue) {
  table = NWayTable();
  const int codeDims = int(choices.CodeDims.size());
  if (codeDims < 2 || int(choices.FactorsInFile.size()) + codeDims > MaxTableDims) {
    // More dimensions than a cell's label numbers can hold.
    dialogue.Notify(PoolingNotice);
    return false;
  }
  for (const dynString& codes : choices.CodeDims) {
    if (codes.empty()) {
      dialogue.Notify("Make sure some codes selected for each dimension.");
      return false;
    }
  }

  bool ok = true;
  for (const std::string& factor : choices.FactorsInFile) {
    const int f = FindCodeIndex(factor, header.FactorNames, header.NFactors);
    if (f == 0) {
      dialogue.Notify("Factor name not found in MDS file.");
      ok = false;
      continue;
    }
    TableDimension dim;
    dim.DimName = factor;
    dim.DimFactorIdx = f;
    const int levels = f < int(header.FactorLevels.size()) ? header.FactorLevels[f] : 0;
    dim.DimLabels.push_back("");
    for (int level = 1; level <= levels; ++level)
      dim.DimLabels.push_back(f < int(header.FactorLevelNames.size()) &&
                                      level < int(header.FactorLevelNames[f].size())
                                  ? header.FactorLevelNames[f][level]
                                  : std::string());
    dim.DimLabels.push_back(EtcLabel);
    table.Dims.push_back(std::move(dim));
  }
  table.NFactorDims = int(table.Dims.size());
  for (int k = 0; k < codeDims; ++k) {
    const std::string name = k < int(choices.DimNames.size()) ? choices.DimNames[k] : std::string();
    table.Dims.push_back(CodeDimension(header, name, choices.CodeDims[k]));
  }
  if (!ok) return false;

  // The size is checked before anything is allocated: a few long code lists
  // multiply into more cells than any memory holds.
  constexpr std::uint64_t maxCount = std::numeric_limits<std::uint64_t>::max();
  const std::uint64_t cellLimit = std::uint64_t(SegmentMemoryBudget) / sizeof(std::int64_t);
  std::uint64_t cells = 1;
  bool overflow = false;
  for (const TableDimension& dim : table.Dims) {
    const std::uint64_t size = std::uint64_t(dim.DimSize());
    if (cells > maxCount / size) {
      overflow = true;
      break;
    }
    cells *= size;
  }
  if (overflow || cells > cellLimit) {
    dialogue.Notify("The table would have " + std::string(overflow ? "more than " : "") +
                    std::to_string(overflow ? maxCount : cells) +
                    " cells, more than fit in memory. Pick fewer codes or pool more factors.");
    table.Dims.clear();
    return false;
  }
  table.NCells = std::int64_t(cells);
  table.Stride.assign(table.Dims.size(), 1);
  for (int d = int(table.Dims.size()) - 2; d >= 0; --d)
    table.Stride[d] = table.Stride[d + 1] * table.Dims[d + 1].DimSize();
  table.Counts.assign(size_t(cells), 0);
  return true;
}

void TallySegment(const ExportTableChoices& choices, NWayTable& table, const SegmentRuns& runs,
                  std::int64_t factorCell, std::vector<std::int32_t>& labels) {
  const int nTimeUnits = runs.NTimeUnits;
  const int codeDims = int(table.Dims.size()) - table.NFactorDims;
  const int lag = choices.LaggedUnits ? 1 : 0;
  const std::int64_t units = std::int64_t(nTimeUnits) - std::int64_t(lag) * (codeDims - 1);
  if (nTimeUnits <= 0 || units <= 0) return;

  // Each code dimension's label in every unit: the first listed code that is
  // on, else "etc". The codes' stretches are laid down from the last item to
  // the first, so the first item on is the one left standing.
  const size_t n = size_t(nTimeUnits);
  labels.resize(size_t(codeDims) * n);
  for (int k = 0; k < codeDims; ++k) {
    const TableDimension& dim = table.Dims[size_t(table.NFactorDims + k)];
    std::int32_t* label = labels.data() + size_t(k) * n;
    std::fill(label, label + n, dim.DimSize());
    for (int i = dim.DimSize() - 1; i >= 1; --i) {
      const int code = dim.CodeIdx[size_t(i)];
      if (code < 1 || code >= int(runs.Runs.size())) continue;
      for (const CodeRun& run : runs.Runs[size_t(code)])
        std::fill(label + std::clamp(run.Start, 0, nTimeUnits), label + std::clamp(run.End, 0, nTimeUnits), i);
    }
  }

  for (std::int64_t u = 0; u < units; ++u) {
    std::int64_t cell = factorCell;
    bool valid = true;
    for (int k = 0; k < codeDims && valid; ++k) {
      const size_t d = size_t(table.NFactorDims + k);
      const size_t t = size_t(u + lag * k);
      const int label = labels[size_t(k) * n + t];
      if (label == table.Dims[d].DimSize() && !choices.AddEtcCode) valid = false;
      cell += std::int64_t(label - 1) * table.Stride[d];
    }
    if (valid) ++table.Counts[size_t(cell)];
  }
}

void TallyFile(LinesView mdsLines, const MdsHeader& header, const ExportTableChoices& choices,
               NWayTable& table, UserDialogue& dialogue) {
  int lineIndex = header.LineIndex;
  SessionValues session;
  SegmentValues segment;
  SegmentRuns runs;
  std::vector<std::int32_t> labels;
  const int codeDims = int(table.Dims.size()) - table.NFactorDims;
  // Only the listed codes are read into runs.
  CodeSelection keep(size_t(std::max(header.NCodes, 0)) + 1, 0);
  for (int k = 0; k < codeDims; ++k)
    for (int code : table.Dims[size_t(table.NFactorDims + k)].CodeIdx)
      if (code > 0 && code < int(keep.size())) keep[size_t(code)] = 1;
  for (int s = 1; s <= header.NSessions; ++s) {
    ReadSession(mdsLines, lineIndex, header, session);
    ShowSessionProgress(s, header.NSessions, dialogue);
    std::int64_t factorCell = 0;
    for (int d = 0; d < table.NFactorDims; ++d) {
      const int factor = table.Dims[size_t(d)].DimFactorIdx;
      const int level = factor < int(session.SessionLevels.size()) ? session.SessionLevels[factor] : 0;
      if (level < 1 || level >= table.Dims[size_t(d)].DimSize())
        throw CommandError("Session " + session.SessionLabel + " has no level of factor " +
                           table.Dims[size_t(d)].DimName + ".");
      factorCell += std::int64_t(level - 1) * table.Stride[size_t(d)];
    }
    for (int g = 1; g <= session.NSegments; ++g) {
      ReadSegment(mdsLines, lineIndex, segment);
      CheckSegmentBudget(0, segment.NTimeUnits, std::int64_t(codeDims) * 4,
                         "Session " + std::to_string(s) + ", segment " + std::to_string(g));
      ReadSegmentRuns(mdsLines, lineIndex, header, segment, runs, keep);
      TallySegment(choices, table, runs, factorCell, labels);
    }
  }
}

std::vector<int> CellLabels(const NWayTable& table, std::int64_t cell) {
  std::vector<int> idx(table.Dims.size());
  std::int64_t rest = cell - 1;
  for (size_t d = 0; d < idx.size(); ++d) {
    idx[d] = int(rest / table.Stride[d]) + 1;
    rest %= table.Stride[d];
  }
  return idx;
}

bool CellIsWritten(const NWayTable& table, std::int64_t cell) {
  if (cell < 1 || cell > table.NCells) return false;
  return WrittenAt(table, cell, CellLabels(table, cell));
}

void CheckStructuralZeros(NWayTable& table, UserDialogue& dialogue) {
  if (table.NCells == 0) return;
  const int codeDims = int(table.Dims.size()) - table.NFactorDims;
  std::int64_t errors = 0;
  std::vector<int> idx(table.Dims.size(), 1);
  for (std::int64_t cell = 1; cell <= table.NCells; ++cell, NextCell(table, idx)) {
    if (!WrittenAt(table, cell, idx)) continue;
    for (int j = 0; j + 1 < codeDims; ++j) {
      const TableDimension& a = table.Dims[size_t(table.NFactorDims + j)];
      const TableDimension& b = table.Dims[size_t(table.NFactorDims + j + 1)];
      const int codeA = a.CodeIdx[size_t(idx[size_t(table.NFactorDims + j)])];
      const int codeB = b.CodeIdx[size_t(idx[size_t(table.NFactorDims + j + 1)])];
      if (codeA == 0 || codeB == 0 || codeA != codeB) continue;
      std::int64_t& count = table.Counts[size_t(cell - 1)];
      if (count == 0)
        count = -1;
      else
        ++errors;
      break;
    }
  }
  if (errors > 0) dialogue.Notify(std::to_string(errors) + " count(s) not zero but should be; check export file.");
}

void WriteExportTable(const NWayTable& table, const std::function<void(const std::string&)>& sink) {
  std::string row = "ID";
  for (const TableDimension& dim : table.Dims) (row += '\t') += dim.DimName;
  sink(row + "\tCount");
  if (table.NCells == 0) return;
  std::int64_t rowNumber = 0;
  std::vector<int> idx(table.Dims.size(), 1);
  for (std::int64_t cell = 1; cell <= table.NCells; ++cell, NextCell(table, idx)) {
    if (!WrittenAt(table, cell, idx)) continue;
    row = std::to_string(++rowNumber);
    for (size_t d = 0; d < idx.size(); ++d) (row += '\t') += table.Dims[d].DimLabels[size_t(idx[d])];
    (row += '\t') += std::to_string(table.Counts[size_t(cell - 1)]);
    sink(row);
  }
}

namespace {

int DecimalDigits(std::int64_t value) {
  int digits = value < 0 ? 2 : 1;  // -1 marks a structural zero
  for (; value >= 10; value /= 10) ++digits;
  return digits;
}

// The digits of the row numbers 1..rows together.
std::int64_t RowNumberDigits(std::int64_t rows) {
  std::int64_t digits = 0;
  for (std::int64_t power = 1; power <= rows; power *= 10) {
    digits += rows - power + 1;
    if (power > std::numeric_limits<std::int64_t>::max() / 10) break;
  }
  return digits;
}

std::int64_t SaturatingProduct(std::int64_t a, std::int64_t b) {
  constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
  return a != 0 && b > most / a ? most : a * b;
}

std::int64_t SaturatingSum(std::int64_t a, std::int64_t b) {
  constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
  return b > most - a ? most : a + b;
}

}  // namespace

TableText ExportTableText(const NWayTable& table) {
  TableText text;
  text.Rows = 1;
  text.Characters = std::int64_t(std::string_view("ID\tCount").size());
  for (const TableDimension& dim : table.Dims) text.Characters += 1 + std::int64_t(dim.DimName.size());
  if (table.NCells == 0) return text;

  // Every cell without an "etc" label is written: their rows and labels are
  // counted from the dimensions alone, each of a dimension's items standing
  // in as many rows as the other dimensions' items make. A cell with an
  // "etc" label is written only when counted, and a count of more than one
  // digit widens its row: those few cells are found among the counted ones.
  std::int64_t plainRows = 1;
  for (const TableDimension& dim : table.Dims) plainRows = SaturatingProduct(plainRows, dim.DimSize() - 1);
  std::int64_t characters = 0;
  if (plainRows > 0) {
    for (const TableDimension& dim : table.Dims) {
      std::int64_t itemChars = 0;
      for (int i = 1; i < dim.DimSize(); ++i) itemChars += 1 + std::int64_t(dim.DimLabels[size_t(i)].size());
      characters = SaturatingSum(characters, SaturatingProduct(itemChars, plainRows / (dim.DimSize() - 1)));
    }
    characters = SaturatingSum(characters, SaturatingProduct(plainRows, 2));  // the TAB and digit of a count
  }
  std::int64_t rows = plainRows;
  for (std::int64_t cell = 1; cell <= table.NCells; ++cell) {
    const std::int64_t count = table.Counts[size_t(cell - 1)];
    if (count == 0) continue;
    const std::vector<int> idx = CellLabels(table, cell);
    bool etc = false;
    std::int64_t labelChars = 0;
    for (size_t d = 0; d < idx.size(); ++d) {
      etc = etc || idx[d] == table.Dims[d].DimSize();
      labelChars += 1 + std::int64_t(table.Dims[d].DimLabels[size_t(idx[d])].size());
    }
    if (!etc) {
      characters = SaturatingSum(characters, DecimalDigits(count) - 1);
    } else if (count > 0) {
      ++rows;
      characters = SaturatingSum(characters, labelChars + 1 + DecimalDigits(count));
    }
  }
  text.Rows += rows;
  text.Characters = SaturatingSum(text.Characters, SaturatingSum(characters, RowNumberDigits(rows)));
  return text;
}

std::string ExportDisplayRefusal(const NWayTable& table) {
  const TableText text = ExportTableText(table);
  const std::int64_t tableBytes = table.NCells * std::int64_t(sizeof(std::int64_t));
  if (ResultsTextBytes(text.Rows, text.Characters) <= SegmentMemoryBudget - tableBytes) return "";
  return "The " + std::to_string(text.Rows - 1) +
         " rows of the table are not shown in the results window: beside the table they would need more than the " +
         std::to_string(SegmentMemoryBudget >> 20) + " MB a RUN may take in memory. Only the count file gets them.";
}

void SaveExportTable(const std::string& fileName, const NWayTable& table) {
  const std::string temporary = fileName + ".~tmp";
  auto fail = [&](const std::string& what) {
    const std::string reason = errno != 0 ? std::string(": ") + std::strerror(errno) : std::string();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw CommandError(what + " \"" + fileName + "\"" + reason + ".");
  };
  errno = 0;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) fail("Cannot create file");
    WriteExportTable(table, [&](const std::string& row) { out << row << "\r\n"; });
    out.close();
    if (out.fail()) fail("Cannot write file");
  }
  std::error_code error;
  std::filesystem::rename(temporary, fileName, error);
  if (error) {
    errno = error.value();
    fail("Cannot replace file");
  }
}

}  // namespace vork
