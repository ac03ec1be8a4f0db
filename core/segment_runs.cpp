#include "core/segment_runs.h"

#include <array>
#include <bit>
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

// The field of a data line up to the next TAB, and the rest after it.
inline std::string_view TakeField(const char*& p, const char* end) {
  const char* start = p;
  while (p < end && *p != '\t') ++p;
  std::string_view field(start, static_cast<std::size_t>(p - start));
  if (p < end) ++p;
  return field;
}

// Reads a line's count in place: an optional minus and at most nine digits,
// then a TAB or the line's end. Any other count is read by ToInteger, which
// takes what this does not and names the fault.
inline bool FastCount(const char*& p, const char* end, int& count) {
  const char* q = p;
  const bool negative = q < end && *q == '-';
  if (negative) ++q;
  const char* digits = q;
  int value = 0;
  while (q < end && static_cast<unsigned>(*q - '0') < 10 && q - digits < 9) value = value * 10 + (*q++ - '0');
  if (q == digits || (q < end && *q != '\t')) return false;
  count = negative ? -value : value;
  p = q < end ? q + 1 : q;
  return true;
}

// The code sets of a compressed data line, read in place: the codes on and
// the codes with an onset ("*" after the first set: the same codes). Only a
// positive count carries onsets.
inline CompressedSets CodeSetsOf(std::string_view fields, int count, std::int64_t lineIndex) {
  const char* p = fields.data();
  const char* const end = p + fields.size();
  CompressedSets sets;
  sets.OnSet = TakeField(p, end);
  if (!sets.OnSet.empty() && sets.OnSet.back() == '*') {
    sets.OnSet.remove_suffix(1);
    sets.OnsetSet = sets.OnSet;
  } else {
    sets.OnsetSet = TakeField(p, end);
  }
  if (sets.OnSet.empty()) SplitCompressedSets(fields, lineIndex);  // fails, naming the fault
  if (count <= 0) sets.OnsetSet = {};
  return sets;
}

// The cells of a plain data line: cell(index from 0, onset) for each code
// on, failing on a short line or a cell other than ".", "1" or "2".
template <class Cell>
inline void ReadPlainCells(std::string_view fields, int nCodes, std::int64_t lineIndex, Cell&& cell) {
  const std::string_view cells = NextTabField(fields);
  const std::size_t codes = static_cast<std::size_t>(nCodes);
  if (cells.size() < codes) FailPlainCells(cells, codes, lineIndex);
  for (std::size_t r = 0; r < codes; ++r) {
    const char c = cells[r];
    if (c == '.') continue;
    if (c != '1' && c != '2') FailPlainCells(cells, codes, lineIndex);
    cell(static_cast<int>(r), c == '2');
  }
}

void ReadCompressedColumn(std::string_view fields, int count, std::int64_t lineIndex, int nCodes,
                          RunBuilder& builder) {
  const auto [onSet, onsetSet] = CodeSetsOf(fields, count, lineIndex);
  const std::size_t digits = std::max(onSet.size(), onsetSet.size());
  for (std::size_t d = 0; d < digits; ++d) {
    const int onset = d < onsetSet.size() ? HexDigitValue(onsetSet[d]) : 0;
    const int on = (d < onSet.size() ? HexDigitValue(onSet[d]) : 0) | onset;
    if (on == 0) continue;
    const int code = static_cast<int>(4 * d) + 1;
    if (code + 3 > nCodes && code + (on & 1 ? 3 : on & 2 ? 2 : on & 4 ? 1 : 0) > nCodes) {
      CheckedHexDigits(onSet, static_cast<std::size_t>(nCodes), lineIndex);  // fails, naming the set
      CheckedHexDigits(onsetSet, static_cast<std::size_t>(nCodes), lineIndex);
    }
    if (on & 8) builder.On(code, (onset & 8) != 0);
    if (on & 4) builder.On(code + 1, (onset & 4) != 0);
    if (on & 2) builder.On(code + 2, (onset & 2) != 0);
    if (on & 1) builder.On(code + 3, (onset & 1) != 0);
  }
}

// The same for a file of at most 64 codes, the usual case: each column is
// two words of bits (codes on, codes with an onset), and only the codes
// whose cell differs from the column before close or open a run, so a line
// costs its parsing and the changes it holds.
class MaskRunBuilder {
 public:
  MaskRunBuilder(SegmentRuns& runs, const CodeSelection& keep, int nCodes) : Runs(runs) {
    for (int code = 1; code <= nCodes; ++code)
      if (keep.empty() || keep[static_cast<std::size_t>(code)] != 0) Kept |= std::uint64_t{1} << (code - 1);
  }

  void Column(std::int32_t at, std::uint64_t on, std::uint64_t onsets) {
    on &= Kept;
    onsets &= Kept;
    const std::uint64_t changed = (on ^ On) | (onsets ^ Onsets);
    if (changed != 0 || at == 0) Runs.ChangeUnits.push_back(at);
    Close(changed & On, at);
    for (std::uint64_t open = changed & on; open != 0; open &= open - 1)
      OpenStart[static_cast<std::size_t>(std::countr_zero(open))] = at;
    On = on;
    Onsets = onsets;
  }

  void Finish(std::int32_t end) { Close(On, end); }

 private:
  void Close(std::uint64_t codes, std::int32_t end) {
    for (; codes != 0; codes &= codes - 1) {
      const int bit = std::countr_zero(codes);
      std::vector<CodeRun>& runs = Runs.Runs[static_cast<std::size_t>(bit) + 1];
      if (runs.empty()) Runs.CodesWithRuns.push_back(bit + 1);
      runs.push_back({OpenStart[static_cast<std::size_t>(bit)], end, ((Onsets >> bit) & 1) != 0});
    }
  }

  SegmentRuns& Runs;
  std::uint64_t Kept = 0;
  std::uint64_t On = 0;
  std::uint64_t Onsets = 0;
  std::array<std::int32_t, 64> OpenStart{};
};

// A hexadecimal digit's four codes as bits in code order (mask 8 is the
// first code, the lowest bit).
constexpr std::array<std::uint8_t, 16> DigitCodeBits = [] {
  std::array<std::uint8_t, 16> bits{};
  for (int v = 0; v < 16; ++v)
    bits[static_cast<std::size_t>(v)] =
        static_cast<std::uint8_t>(((v >> 3) & 1) | ((v >> 1) & 2) | ((v << 1) & 4) | ((v << 3) & 8));
  return bits;
}();

// The codes of a compressed code set as bits into words (code c is bit
// (c - 1) % 64 of word (c - 1) / 64), failing on a code beyond nCodes.
void CodeSetBits(std::string_view hex, int nCodes, std::int64_t lineIndex, std::uint64_t* words) {
  // Digits wholly within the codes need no check.
  const std::size_t whole = std::min(hex.size(), static_cast<std::size_t>(nCodes) / 4);
  for (std::size_t d = 0; d < whole; ++d)
    words[d / 16] |= std::uint64_t{DigitCodeBits[static_cast<std::size_t>(HexDigitValue(hex[d]))]} << (4 * (d % 16));
  for (std::size_t d = whole; d < hex.size(); ++d) {
    const std::uint64_t digit = DigitCodeBits[static_cast<std::size_t>(HexDigitValue(hex[d]))];
    if (digit == 0) continue;
    if (4 * d + static_cast<std::size_t>(std::bit_width(digit)) > static_cast<std::size_t>(nCodes))
      CheckedHexDigits(hex, static_cast<std::size_t>(nCodes), lineIndex);  // fails, naming the set
    words[d / 16] |= digit << (4 * (d % 16));
  }
}

// A data line's count; p is left at its fields.
int ReadLineCount(std::string_view line, std::int64_t lineIndex, const char*& p) {
  p = line.data();
  const char* const lineEnd = p + line.size();
  int count = 0;
  if (!FastCount(p, lineEnd, count)) {
    std::string_view rest = line;
    count = ToInteger(NextTabField(rest), lineIndex, "the data line's count");
    p = lineEnd - rest.size();
  }
  return count;
}

// The cells of a data line (its fields after the count) as bits: on[] and
// onsets[], words words each, are set, not cleared, and every onset is on.
void ReadLineCells(std::string_view fields, int count, std::int64_t lineIndex, int nCodes, bool compressed,
                   std::size_t words, std::uint64_t* on, std::uint64_t* onsets) {
  if (compressed) {
    const CompressedSets sets = CodeSetsOf(fields, count, lineIndex);
    CodeSetBits(sets.OnSet, nCodes, lineIndex, on);
    CodeSetBits(sets.OnsetSet, nCodes, lineIndex, onsets);
    for (std::size_t w = 0; w < words; ++w) on[w] |= onsets[w];
  } else {
    ReadPlainCells(fields, nCodes, lineIndex, [&](int r, bool onset) {
      const std::uint64_t bit = std::uint64_t{1} << (r % 64);
      on[r / 64] |= bit;
      if (onset) onsets[r / 64] |= bit;
    });
  }
}

// Walks the segment's data lines after lineIndex: visit(i, at, end, count,
// fields) for data line i, which covers units at..end - 1, with its count
// and its fields after the count. A line that covers units past the
// segment is refused. Returns the units the lines cover.
template <class Visit>
std::int64_t ForEachDataLine(LinesView lines, int lineIndex, int nDataLines, int nTimeUnits, bool compressed,
                             Visit visit) {
  const std::int64_t first = std::int64_t{lineIndex} + 1;
  std::int64_t at = 0;
  for (std::int64_t i = first; i < first + nDataLines; ++i) {
    const std::string_view line = lines[static_cast<std::size_t>(i)];
    const char* p = nullptr;
    const int count = ReadLineCount(line, i, p);
    const std::string_view fields(p, static_cast<std::size_t>(line.data() + line.size() - p));
    const std::int64_t end = at + ColumnsOfCount(count, compressed);
    if (end > nTimeUnits) FailCoverTooMuch(i, nTimeUnits);
    visit(i, at, end, count, fields);
    at = end;
  }
  return at;
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
  const bool byMasks = nCodes <= 64;
  MaskRunBuilder maskBuilder(runs, keep, byMasks ? nCodes : 0);
  const std::int64_t covered = ForEachDataLine(
      lines, lineIndex, nDataLines, nTimeUnits, header.Compressed,
      [&](std::int64_t i, std::int64_t at, std::int64_t end, int count, std::string_view fields) {
        if (byMasks) {
          std::uint64_t on = 0, onsets = 0;
          ReadLineCells(fields, count, i, nCodes, header.Compressed, 1, &on, &onsets);
          maskBuilder.Column(static_cast<std::int32_t>(at), on, onsets);
        } else {
          builder.StartColumn(static_cast<std::int32_t>(at), static_cast<std::int32_t>(end));
          if (header.Compressed)
            ReadCompressedColumn(fields, count, i, nCodes, builder);
          else
            ReadPlainCells(fields, nCodes, i, [&](int r, bool onset) { builder.On(r + 1, onset); });
          builder.FinishColumn();
        }
      });
  if (byMasks) maskBuilder.Finish(static_cast<std::int32_t>(covered));
  // A segment without codes is written without data lines.
  if (covered < nTimeUnits && nCodes > 0) FailCoverTooLittle(lineIndex, covered, nTimeUnits);
  CheckSegmentFits(lineIndex, nCodes, nTimeUnits);
  if (nTimeUnits > 0 && runs.ChangeUnits.empty()) runs.ChangeUnits.push_back(0);
  lineIndex = static_cast<int>(std::int64_t{lineIndex} + nDataLines);
}

void ReadSegmentColumns(LinesView lines, int& lineIndex, const MdsHeader& header, const SegmentValues& segment,
                        SegmentColumns& columns) {
  const int nCodes = header.NCodes;
  const int nDataLines = segment.NDataLines;
  const int nTimeUnits = segment.NTimeUnits;
  CheckSegmentShape(lines, lineIndex, nCodes, nDataLines, nTimeUnits);
  // The budget is checked and the stretches are counted before any is made:
  // each data line covers at least one unit, so a segment holds no more
  // stretches than units, however many data lines a damaged one claims.
  CheckSegmentFits(lineIndex, nCodes, nTimeUnits);
  const std::size_t words = (static_cast<std::size_t>(nCodes) + 63) / 64;
  const std::size_t stretches = static_cast<std::size_t>(std::min(nDataLines, nTimeUnits));
  columns.NCodes = nCodes;
  columns.NTimeUnits = nTimeUnits;
  columns.Words = words;
  columns.Starts.resize(stretches);
  columns.Cells.assign(stretches * 2 * words, 0);
  const std::int64_t first = std::int64_t{lineIndex} + 1;
  const std::int64_t covered = ForEachDataLine(
      lines, lineIndex, nDataLines, nTimeUnits, header.Compressed,
      [&](std::int64_t i, std::int64_t at, std::int64_t, int count, std::string_view fields) {
        const std::size_t k = static_cast<std::size_t>(i - first);
        columns.Starts[k] = static_cast<std::int32_t>(at);
        std::uint64_t* on = columns.Cells.data() + 2 * words * k;
        ReadLineCells(fields, count, i, nCodes, header.Compressed, words, on, on + words);
      });
  if (covered < nTimeUnits && nCodes > 0) FailCoverTooLittle(lineIndex, covered, nTimeUnits);
  lineIndex = static_cast<int>(std::int64_t{lineIndex} + nDataLines);
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
