#include "core/segment_runs.h"

#include <cstring>
#include <new>

#include "core/command_error.h"
#include "core/mds_fields.h"
#include "core/mds_reader.h"
#include "core/segment_budget.h"

namespace vork {

using namespace mds_fields;

namespace {

// Builds the runs column by column: each data line is one column repeated
// over its count, and a code whose cell is the same as in the column before
// extends its open run instead of starting one.
class RunBuilder {
 public:
  RunBuilder(SegmentRuns& runs, const CodeSelection& keep) : Runs(runs), Keep(keep) {}

  void StartColumn(std::int32_t at, std::int32_t end) {
    At = at;
    End = end;
    OnNow = 0;
    Extended = 0;
    Started = false;
  }

  void On(int code, bool onset) {
    if (!Keep.empty() && Keep[static_cast<std::size_t>(code)] == 0) return;
    ++OnNow;
    std::vector<CodeRun>& runs = Runs.Runs[static_cast<std::size_t>(code)];
    if (!runs.empty() && runs.back().End == At && runs.back().Onset == onset) {
      runs.back().End = End;
      ++Extended;
      return;
    }
    if (runs.empty()) Runs.CodesWithRuns.push_back(code);
    runs.push_back({At, End, onset});
    Started = true;
  }

  // A kept code changed here when one started a run or fewer went on than
  // were on in the column before.
  void FinishColumn() {
    if (At == 0 || Started || Extended < OnBefore) Runs.ChangeUnits.push_back(At);
    OnBefore = OnNow;
  }

 private:
  SegmentRuns& Runs;
  const CodeSelection& Keep;
  std::int32_t At = 0;
  std::int32_t End = 0;
  int OnNow = 0;
  int OnBefore = 0;
  int Extended = 0;
  bool Started = false;
};

void ReadCompressedColumn(std::string_view fields, int count, std::int64_t lineIndex, int nCodes,
                          RunBuilder& builder) {
  const CompressedSets sets = SplitCompressedSets(fields, lineIndex);
  const std::size_t onDigits = CheckedHexDigits(sets.OnSet, static_cast<std::size_t>(nCodes), lineIndex);
  // Only a positive count carries onsets.
  const std::size_t onsetDigits =
      count > 0 ? CheckedHexDigits(sets.OnsetSet, static_cast<std::size_t>(nCodes), lineIndex) : 0;
  const std::size_t digits = std::max(onDigits, onsetDigits);
  for (std::size_t p = 0; p < digits; ++p) {
    const int onset = p < onsetDigits ? HexDigitValue(sets.OnsetSet[p]) : 0;
    const int on = (p < onDigits ? HexDigitValue(sets.OnSet[p]) : 0) | onset;
    if (on == 0) continue;
    for (int b = 0; b < 4; ++b)
      if (on & (8 >> b)) builder.On(static_cast<int>(4 * p) + b + 1, (onset & (8 >> b)) != 0);
  }
}

void ReadPlainColumn(std::string_view fields, std::int64_t lineIndex, int nCodes, RunBuilder& builder) {
  const std::string_view cells = NextTabField(fields);
  const std::size_t codes = static_cast<std::size_t>(nCodes);
  if (cells.size() < codes) FailPlainCells(cells, codes, lineIndex);
  for (std::size_t r = 0; r < codes; ++r) {
    const char cell = cells[r];
    if (cell == '.') continue;
    if (cell != '1' && cell != '2') FailPlainCells(cells, codes, lineIndex);
    builder.On(static_cast<int>(r) + 1, cell == '2');
  }
}

}  // namespace

void ReadSegmentRuns(LinesView lines, int& lineIndex, const MdsHeader& header,
                     const SegmentValues& segment, SegmentRuns& runs, const CodeSelection& keep) {
  const int nCodes = header.NCodes;
  const int nDataLines = segment.NDataLines;
  const int nTimeUnits = segment.NTimeUnits;
  CheckSegmentShape(lines, lineIndex, nCodes, nDataLines, nTimeUnits);
  if (!keep.empty() && keep.size() < static_cast<std::size_t>(nCodes) + 1)
    throw CommandError("The codes to read are fewer than the codes of the file.");

  for (int code : runs.CodesWithRuns) runs.Runs[static_cast<std::size_t>(code)].clear();
  runs.CodesWithRuns.clear();
  runs.ChangeUnits.clear();
  runs.Runs.resize(static_cast<std::size_t>(nCodes) + 1);
  runs.NCodes = nCodes;
  runs.NTimeUnits = nTimeUnits;

  RunBuilder builder(runs, keep);
  const std::int64_t first = std::int64_t{lineIndex} + 1;
  std::int64_t at = 0;
  for (std::int64_t i = first; i < first + nDataLines; ++i) {
    std::string_view fields = lines[static_cast<std::size_t>(i)];
    const int count = ToInteger(NextTabField(fields), i, "the data line's count");
    const std::int64_t end = at + ColumnsOfCount(count, header.Compressed);
    if (end > nTimeUnits) FailCoverTooMuch(i, nTimeUnits);
    builder.StartColumn(static_cast<std::int32_t>(at), static_cast<std::int32_t>(end));
    if (header.Compressed)
      ReadCompressedColumn(fields, count, i, nCodes, builder);
    else
      ReadPlainColumn(fields, i, nCodes, builder);
    builder.FinishColumn();
    at = end;
  }
  // A segment without codes is written without data lines.
  if (at < nTimeUnits && nCodes > 0) FailCoverTooLittle(lineIndex, at, nTimeUnits);
  CheckSegmentFits(lineIndex, nCodes, nTimeUnits);
  if (nTimeUnits > 0 && runs.ChangeUnits.empty()) runs.ChangeUnits.push_back(0);
  lineIndex = static_cast<int>(first + nDataLines - 1);
}

void SegmentMatrixFromRuns(const SegmentRuns& runs, dynChar2& segmentMatrix) {
  CheckSegmentBudget(runs.NCodes, runs.NTimeUnits, 0, "Segment");
  try {
    segmentMatrix.resize(static_cast<std::size_t>(runs.NCodes));
    for (std::string& row : segmentMatrix) row.assign(static_cast<std::size_t>(runs.NTimeUnits), '.');
  } catch (const std::bad_alloc&) {
    throw CommandError("There is not enough memory for a segment of " + std::to_string(runs.NCodes) +
                       " codes by " + std::to_string(runs.NTimeUnits) + " time units.");
  }
  for (int code = 1; code <= runs.NCodes && static_cast<std::size_t>(code) < runs.Runs.size(); ++code) {
    std::string& row = segmentMatrix[static_cast<std::size_t>(code - 1)];
    for (const CodeRun& run : runs.Runs[static_cast<std::size_t>(code)]) {
      if (run.Start < 0 || run.End > runs.NTimeUnits || run.Start > run.End)
        throw CommandError("A run of code " + std::to_string(code) + " lies outside its segment.");
      std::memset(row.data() + run.Start, run.Onset ? '2' : '1', static_cast<std::size_t>(run.End - run.Start));
    }
  }
}

}  // namespace vork
