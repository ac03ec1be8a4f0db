#include "analysis/table_stats_output.h"

#include <algorithm>
#include <cstddef>
#include <functional>

#include "analysis/code_name_cells.h"
#include "analysis/table_stats_compute.h"
#include "core/number_format.h"
#include "core/probabilities.h"
#include "core/results_format.h"

namespace vork {

namespace {

std::size_t Z(int i) { return static_cast<std::size_t>(i); }

// The extra columns a results table carries after its values.
enum class TableMode { Plain, Joint, StandardError, Interval };

// Code names are cut to 7 characters in the tables.
std::string ShortName(const std::string& name) { return FirstCharacters(name, 7); }

void WriteTableHeading(const TableStatsRun& run, TableMode mode, int stat, dynString& results) {
  results.push_back(std::string(StatNames[Z(stat)]) + "\tTarget:");
  std::string targets;
  for (int j = 1; j <= run.NTargets; ++j) targets += "\t" + ShortName(run.TargetNames[Z(j)]);
  std::string line = "Given:" + targets;
  if (mode == TableMode::Joint) line += "\tTotals";
  if (mode == TableMode::StandardError) line += "\tSE" + targets;
  if (mode == TableMode::Interval) line += "\t95%CI" + targets;
  if (run.CodesGT7C) line += "\tGiven:";
  results.push_back(line);
}

// One row per given: its short name, the field of each target, then what
// extra(i) adds, and the full name when some given's name is long.
void WriteRows(const TableStatsRun& run, const std::function<std::string(int, int)>& field,
               const std::function<std::string(int)>& extra, dynString& results) {
  for (int i = 1; i <= run.NGivens; ++i) {
    std::string line = ShortName(run.GivenNames[Z(i)]);
    for (int j = 1; j <= run.NTargets; ++j) line += "\t" + field(i, j);
    if (extra) line += extra(i);
    if (run.CodesGT7C) line += "\t" + run.GivenNames[Z(i)];
    results.push_back(line);
  }
}

void WriteJointFrequencies(const TableStatsRun& run, dynString& results) {
  const auto& f = run.FreqTable;
  WriteTableHeading(run, TableMode::Joint, JNTF, results);
  WriteRows(
      run, [&](int i, int j) { return std::to_string(f[Z(i)][Z(j)]); },
      [&](int i) { return "\t" + std::to_string(f[Z(i)][0]); }, results);
  std::string totals = "Totals";
  for (int j = 1; j <= run.NTargets; ++j) totals += "\t" + std::to_string(f[0][Z(j)]);
  results.push_back(totals + "\t" + std::to_string(f[0][0]));
  results.push_back("");
}

void WriteStatTable(const TableStatsRun& run, int stat, bool strip, dynString& results) {
  WriteTableHeading(run, TableMode::Plain, stat, results);
  WriteRows(
      run, [&](int i, int j) { return FormatStatValue(run, stat, strip, run.StatValues[Z(i)][Z(j)]); },
      nullptr, results);
  results.push_back("");
}

// The 2x2 tables: values, then the standard errors (or, for the odds
// ratio, the confidence intervals) of the same targets.
void WriteStatTableExtra(const TableStatsRun& run, int stat, TableMode mode, bool strip,
                         dynString& results) {
  WriteTableHeading(run, mode, stat, results);
  WriteRows(
      run, [&](int i, int j) { return FormatStatValue(run, stat, strip, run.StatValues[Z(i)][Z(j)]); },
      [&](int i) {
        std::string extra = "\t";
        for (int j = 1; j <= run.NTargets; ++j)
          extra += "\t" + (mode == TableMode::Interval
                               ? run.CIText[Z(i)][Z(j)]
                               : FormatStatValue(run, stat, strip, run.SEValues[Z(i)][Z(j)]));
        return extra;
      },
      results);
  results.push_back("");
}

// A p-value of an adjusted residual, marked "~" where the normal
// approximation is doubtful: fewer than 30 pairs in the row, or a target
// holding more than 90 or less than 10 percent of the pairs.
std::string PValueText(const TableStatsRun& run, int i, int j) {
  const auto& f = run.FreqTable;
  const int d = std::max(run.NDigits, 2);
  std::string text = FormatProbability(FormatFixed(run.StatValues[Z(i)][Z(j)], d, run.Format),
                                       run.NDigits, run.Format);
  bool doubtful = f[Z(i)][0] < 30;
  if (!doubtful) {
    const double share = static_cast<double>(f[0][Z(j)]) / f[0][0];
    doubtful = share > 0.9 || share < 0.1;
  }
  return doubtful ? "~" + text : text;
}

void StoreExportValues(TableStatsRun& run) {
  auto& plane = run.ExportCells[Z(run.ExportSlot)];
  for (int i = 1; i <= run.NGivens; ++i)
    for (int j = 1; j <= run.NTargets; ++j)
      plane[Z(i - 1)][Z(j - 1)] =
          FormatFixed(run.StatValues[Z(i)][Z(j)], run.NDigits, run.Format);
  ++run.ExportSlot;
}

void StoreExportCounts(TableStatsRun& run) {
  auto& plane = run.ExportCells[Z(run.ExportSlot)];
  for (int i = 1; i <= run.NGivens; ++i)
    for (int j = 1; j <= run.NTargets; ++j)
      plane[Z(i - 1)][Z(j - 1)] = std::to_string(run.FreqTable[Z(i)][Z(j)]);
  ++run.ExportSlot;
}

void DoCellStat(TableStatsRun& run, int stat, int lag, dynString& results) {
  if (stat == JNTF) {
    if (run.DisplayResults) WriteJointFrequencies(run, results);
    if (run.Exporting) StoreExportCounts(run);
    return;
  }
  ComputeCellStat(run, stat, lag);
  if (run.Exporting) StoreExportValues(run);
  if (!run.DisplayResults) return;
  if (stat == PVAL) {
    WriteTableHeading(run, TableMode::Plain, stat, results);
    WriteRows(run, [&](int i, int j) { return PValueText(run, i, j); }, nullptr, results);
    results.push_back("");
  } else {
    WriteStatTable(run, stat, stat == CONP, results);
  }
}

void Do2x2Stat(TableStatsRun& run, int stat, dynString& results) {
  Compute2x2Stat(run, stat);
  if (run.DisplayResults) {
    const TableMode mode = stat == ODDS ? TableMode::Interval : TableMode::StandardError;
    WriteStatTableExtra(run, stat, mode, stat == YULQ || stat == PHI, results);
    if (run.ZeroCellsAdjusted) results.push_back("0.1 added to all cells in tables with any 0 counts.");
  }
  if (run.Exporting) StoreExportValues(run);
}

void ChiSquareStat(TableStatsRun& run, int stat, int lag, dynString& results) {
  const double sum = ChiSquareSum(run, stat, lag);
  const std::string text = FormatFixed(sum, run.NDigits, run.Format);
  if (run.Exporting) run.TableStatText += "\t" + text;
  if (!run.DisplayResults) return;
  std::string line = std::string(StatNames[Z(stat)]) + "\t" + text;
  if (sum > 0) {
    const int df = ChiSquareDf(run);
    const std::string p =
        FormatProbability(FormatFixed(ChiSquareProb(sum, df), std::max(run.NDigits, 2),
                                      run.Format),
                          run.NDigits, run.Format);
    line += "\tdf=" + std::to_string(df) + "\tp=" + p;
  }
  results.push_back(line);
}

void KappaStat(TableStatsRun& run, int stat, dynString& results) {
  const double value = KappaValue(run, stat);
  std::string text = FormatFixed(value, run.NDigits, run.Format);
  if (!text.empty() && text[0] == '0') text.erase(0, 1);
  if (run.Exporting) run.TableStatText += "\t" + text;
  if (run.DisplayResults)
    results.push_back(std::string(StatNames[Z(stat)]) + "\t" +
                      (value == run.UndefValue ? std::string("undef") : text));
}

void WriteExportRows(const TableStatsRun& run, const std::string& label, dynString& exportLines) {
  const int planes = run.ExportSlot;
  if (planes == 0) {
    if (run.NTableStats > 0) exportLines.push_back(label + run.TableStatText);
    return;
  }
  if (!run.NeedFullTable) {
    std::string row = label;
    for (int p = 0; p < planes; ++p) row += "\t" + run.ExportCells[Z(p)][0][0];
    exportLines.push_back(row + run.TableStatText);
    return;
  }
  for (int i = 1; i <= run.NGivens; ++i) {
    for (int j = 1; j <= run.NTargets; ++j) {
      std::string row = label + "\t" + run.GivenNames[Z(i)] + "\t" + run.TargetNames[Z(j)];
      for (int p = 0; p < planes; ++p) row += "\t" + run.ExportCells[Z(p)][Z(i - 1)][Z(j - 1)];
      if (i == 1 && j == 1) row += run.TableStatText;
      exportLines.push_back(row);
    }
  }
}

}  // namespace

std::string FormatStatValue(const TableStatsRun& run, int stat, bool strip, double value) {
  if (value == run.InfinValue) return "infin";
  if (value == run.UndefValue) return "undef";
  int decimals = run.NDigits;
  if (stat == EXPF || stat == RSDL) decimals = std::max(0, run.NDigits - run.TimeUnitIndex + 1);
  std::string text = FormatFixed(value, decimals, run.Format);
  return strip ? StripLeadingZero(text, run.Format) : text;
}

void ComputeGroupStats(TableStatsRun& run, const std::string& exportRowLabel, int lag,
                       dynString& results, dynString& exportLines) {
  FillMargins(run);
  run.ExportSlot = 0;
  for (int s = JNTF; s <= PVAL; ++s)
    if (run.StatOn[Z(s)]) DoCellStat(run, s, lag, results);
  for (int s = YULQ; s <= LNOR; ++s)
    if (run.StatOn[Z(s)]) Do2x2Stat(run, s, results);
  run.TableStatText.clear();
  for (int s = XSQ; s <= GSQ; ++s)
    if (run.StatOn[Z(s)]) ChiSquareStat(run, s, lag, results);
  for (int s = KAPPA; s <= KAPmax; ++s)
    if (run.StatOn[Z(s)]) KappaStat(run, s, results);
  if (run.Exporting) WriteExportRows(run, exportRowLabel, exportLines);
}

std::string ExportHeaderRow(const TableStatsRun& run, const std::string& sessionColumnCell) {
  std::string row = sessionColumnCell;
  if (run.NeedFullTable) row += "\tGiven\tTarget";
  for (int s = 1; s <= NTableStatistics; ++s)
    if (run.StatOn[Z(s)]) row += "\t" + std::string(StatNames[Z(s)]);
  return row;
}

}  // namespace vork
