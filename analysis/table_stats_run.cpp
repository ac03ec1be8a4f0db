#include "analysis/table_stats_run.h"

#include <algorithm>
#include <cstddef>

#include "core/code_lists.h"
#include "core/user_dialogue.h"

namespace vork {

namespace {

// "88." or "99." followed by nDigits copies of the digit, and the number it
// reads (88.88 and 99.99 for two digits).
void BuildSentinel(char digit, int nDigits, std::string& text, double& value) {
  const int d = digit - '0';
  text = std::string(2, digit) + "." + std::string(static_cast<std::size_t>(std::max(0, nDigits)), digit);
  value = 11.0 * d;
  double scale = 1.0;
  for (int k = 1; k <= nDigits; ++k) {
    scale /= 10.0;
    value += d * scale;
  }
}

// A code list's count, names [1..] and code numbers [1..]; "&" is not a
// code of the file and has number 0, the residual.
void BuildCodeIndexList(const dynString& items, const dynString& codeNames, int nCodes,
                        int& count, dynString& names, dynInteger& indices) {
  count = static_cast<int>(items.size());
  names.assign(1, "");
  names.insert(names.end(), items.begin(), items.end());
  indices = CodeIndexList(items, codeNames, nCodes);
}

}  // namespace

std::string SignedIntToStr(int n) { return n <= 0 ? std::to_string(n) : "+" + std::to_string(n); }

bool PrepareRun(const TableStatsRequest& request, const TableStatsOptions& options,
                const RunFrame& frame, const dynString& codeNames, int nCodes, int dataType, int timeUnitIndex,
                UserDialogue& dialogue, const std::function<void()>& askPoolOverSessions,
                TableStatsRun& run) {
  run = TableStatsRun{};
  run.Options = options;
  run.NDigits = frame.NDigits;
  run.Format = frame.Format;
  run.DataType = dataType;
  run.TimeUnitIndex = timeUnitIndex;
  run.DisplayResults = frame.ShowResults();
  run.Exporting = frame.Exporting();

  if (request.GivenCodes.empty() || request.TargetCodes.empty()) {
    dialogue.Notify("Select given and target codes.");
    return false;
  }
  if (askPoolOverSessions) askPoolOverSessions();
  if (request.LagTo - request.LagFrom < 0) {
    dialogue.Notify("Make 1st lag less or equal 2nd lag");
    return false;
  }
  run.FirstLag = request.LagFrom;
  run.LastLag = request.LagTo;

  BuildSentinel('8', run.NDigits, run.UndefText, run.UndefValue);
  BuildSentinel('9', run.NDigits, run.InfinText, run.InfinValue);

  bool any = false;
  for (int k = 1; k <= NTableStatistics; ++k) {
    run.StatOn[static_cast<std::size_t>(k)] = request.StatChecked[static_cast<std::size_t>(k - 1)];
    any = any || run.StatOn[static_cast<std::size_t>(k)];
  }
  if (!any) {
    dialogue.Notify("Check some statistics.");
    return false;
  }
  for (int k = 1; k <= NTableStatistics; ++k) {
    if (!run.StatOn[static_cast<std::size_t>(k)]) continue;
    if (k <= PVAL)
      ++run.NCellStats;
    else if (k <= LNOR)
      ++run.N2x2Stats;
    else
      ++run.NTableStats;
  }

  BuildCodeIndexList(request.GivenCodes, codeNames, nCodes, run.NGivens, run.GivenNames,
                     run.GivenIdx);
  BuildCodeIndexList(request.TargetCodes, codeNames, nCodes, run.NTargets, run.TargetNames,
                     run.TargetIdx);

  run.NeedFullTable = run.NCellStats > 0 || (run.N2x2Stats > 0 && (run.NGivens > 2 || run.NTargets > 2));
  const auto rows = static_cast<std::size_t>(run.NGivens) + 1;
  const auto columns = static_cast<std::size_t>(run.NTargets) + 1;
  run.FreqTable.assign(rows, dynInteger(columns, 0));
  run.StatValues.assign(rows, dynReal(columns, 0.0));
  run.ExpValues.assign(rows, dynReal(columns, 0.0));
  run.SEValues.assign(rows, dynReal(columns, 0.0));
  run.CIText.assign(rows, dynString(columns));
  if (run.Exporting)
    run.ExportCells.assign(static_cast<std::size_t>(run.NCellStats + run.N2x2Stats),
                           dynString2(rows - 1, dynString(columns - 1)));
  return true;
}

void ClearFreqTable(TableStatsRun& run) {
  for (auto& row : run.FreqTable) std::fill(row.begin(), row.end(), 0);
}

}  // namespace vork
