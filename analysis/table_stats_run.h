#pragma once

#include <array>
#include <functional>
#include <string>

#include "analysis/analysis_run.h"
#include "core/dyn_arrays.h"
#include "core/number_format.h"

namespace vork {

class UserDialogue;

// The statistics of the table statistics window, in statistic order:
// 1..6 cell statistics, 7..10 pair-wise 2x2 statistics, 11..14 whole-table
// statistics.
inline constexpr int NTableStatistics = 14;
inline constexpr std::array<const char*, NTableStatistics + 1> StatNames = {
    "",     "JNTF", "EXPF", "CONP", "RSDL", "ADJR",  "PVAL",  "YULQ",
    "PHI",  "ODDS", "LNOR", "XSQ",  "GSQ",  "KAPPA", "KAPmax"};
inline constexpr std::array<const char*, NTableStatistics> StatCaptions = {
    "joint frequency",   "expected frequency", "conditional probability",
    "residual (obs - exp)", "adjusted residual (z)", "p-value for adj residual",
    "Yule's Q",          "phi coefficient",    "odds ratio",
    "log odds",          "chi-squared",        "G-squared",
    "kappa",             "kappa maximum"};
enum TableStat : int {
  JNTF = 1, EXPF, CONP, RSDL, ADJR, PVAL, YULQ, PHI, ODDS, LNOR, XSQ, GSQ, KAPPA, KAPmax
};

// What the window's controls say when RUN is chosen.
struct TableStatsRequest {
  dynString GivenCodes;   // items of the givens list, "&" last when present
  dynString TargetCodes;  // items of the targets list
  int LagFrom = 0;        // positions of the two lag up-downs
  int LagTo = 0;
  std::array<bool, NTableStatistics> StatChecked{};  // element k is statistic k+1
};

// The run options only the table statistics read.
struct TableStatsOptions {
  int N2x2Min = 5;      // least row and column sum for the 2x2 statistics
  bool ELag1SZ = true;  // lag +-1 event tables with an empty diagonal: structural zeros
};

// Everything one RUN works on: built by PrepareRun, filled lag by lag and
// group by group.
struct TableStatsRun {
  TableStatsOptions Options;
  int NDigits = 2;
  NumberFormat Format;
  int DataType = 0;
  int TimeUnitIndex = 0;
  bool DisplayResults = true;
  bool Exporting = false;

  std::array<bool, NTableStatistics + 1> StatOn{};  // [1..14]
  int NCellStats = 0;
  int N2x2Stats = 0;
  int NTableStats = 0;
  bool NeedFullTable = false;

  int NGivens = 0;
  int NTargets = 0;
  dynString GivenNames;   // [1..NGivens], "&" for the residual code
  dynString TargetNames;  // [1..NTargets]
  dynInteger GivenIdx;    // [1..NGivens] code numbers, 0 for "&"
  dynInteger TargetIdx;   // [1..NTargets]
  bool CodesGT7C = false;
  bool TargsGT7C = false;
  int FirstLag = 0;
  int LastLag = 0;

  dynInteger2 FreqTable;  // [0..NGivens][0..NTargets], row and column 0 the margins
  dynReal2 StatValues;
  dynReal2 ExpValues;
  dynReal2 SEValues;
  dynString2 CIText;

  std::string UndefText;
  std::string InfinText;
  double UndefValue = 0;
  double InfinValue = 0;
  bool SuppressLagWarning = false;

  // Per group.
  dynString3 ExportCells;  // [plane][given-1][target-1]
  int ExportSlot = 0;
  std::string TableStatText;
  bool ZeroCellsAdjusted = false;
  bool Lag1StructuralZeros = false;
};

// Checks the request and builds the RUN data, in the order the user meets
// the checks; a failed check shows its notice and gives false. The frame's
// pooling question is asked by askPoolOverSessions after the code check.
// codeNames[1..nCodes] are the file's codes.
bool PrepareRun(const TableStatsRequest& request, const TableStatsOptions& options,
                const RunFrame& frame, const dynString& codeNames, int nCodes, int dataType, int timeUnitIndex,
                UserDialogue& dialogue, const std::function<void()>& askPoolOverSessions,
                TableStatsRun& run);

// The text of a lag in a "Lag:" line: +1, 0, -2.
std::string SignedIntToStr(int n);

// Clears the lag tally and the margins before each group.
void ClearFreqTable(TableStatsRun& run);

}  // namespace vork
