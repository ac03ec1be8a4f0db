#include "modify/round_times.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/session_reader.h"
#include "core/results_format.h"
#include "core/segment_writer.h"

namespace vork {

namespace {

constexpr std::int64_t MaxInt32 = std::numeric_limits<std::int32_t>::max();

std::string NewTimeFormat(const MdsHeader& header, int newTimeUnitIndex) {
  if (newTimeUnitIndex == 0) return header.TimeFormat == 5 ? "2" : "1";
  return std::to_string(header.TimeFormat);
}

// The rounding maps a segment's times, so its units must be exactly the
// span from start to stop, as the compiler writes timed-event and state data.
void CheckUnitsMatchTimes(int nTimeUnits, std::uint32_t start, std::uint32_t stop, const std::string& where) {
  if (std::int64_t(nTimeUnits) == std::int64_t(stop) - std::int64_t(start)) return;
  throw CommandError(where + " has " + std::to_string(nTimeUnits) + " time units, but its start " +
                     std::to_string(start) + " and stop " + std::to_string(stop) +
                     " span a different number; its times cannot be rounded.");
}

// The segment's new start, stop and units: times round to the nearest new
// unit, halves up.
RoundedSegment RoundedTimes(std::uint32_t start, std::uint32_t stop, std::int64_t f, const std::string& where) {
  const std::int64_t h = f / 2;
  RoundedSegment seg;
  seg.NewStart = (std::int64_t(start) + h) / f;
  seg.NewStop = (std::int64_t(stop) + h) / f;
  if (seg.NewStop > MaxInt32) throw CommandError(where + ": the rounded stop time is too large.");
  seg.NewU = int(seg.NewStop - seg.NewStart);
  return seg;
}

}  // namespace

std::string RoundingRefusal(const MdsHeader& header) {
  if (header.DataType != Timed && header.DataType != State) return "Open a timed-event or state MDS file.";
  if (header.TimeUnitIndex == 0) return "File already rounded to integer times.";
  return "";
}

void WriteRoundedHeader(LinesView mdsLines, const MdsHeader& header, int newTimeUnitIndex,
                        const std::string& stamp, LineBuffer& out) {
  if (newTimeUnitIndex < 0 || newTimeUnitIndex >= int(RoundUnitNames.size()) ||
      newTimeUnitIndex >= header.TimeUnitIndex)
    throw CommandError("Times in " + std::string(TimeUnitPrefix[size_t(header.TimeUnitIndex & 3)]) +
                       "seconds cannot be rounded to that unit.");
  if (header.LineIndex < 1 || header.LineIndex >= int(mdsLines.size()))
    throw CommandError("The header of the compiled file is not complete.");
  out.push_back((header.Compressed ? "" : "\t") + std::string(RoundedStampMarker) + stamp);
  for (int i = 1; i < header.LineIndex; ++i) out.push_back(mdsLines[size_t(i)]);
  out.push_back(NewTimeFormat(header, newTimeUnitIndex) + "\t" + std::to_string(newTimeUnitIndex) + "\t" +
                std::string(RoundUnitNames[size_t(newTimeUnitIndex)]));
}

RoundedSegment WriteRoundedSegment(const SegmentColumns& columns, std::uint32_t start, std::uint32_t stop,
                                   int factor, RoundingTallies& tallies, const std::string& where,
                                   ColumnLineWriter& out) {
  const int nCodes = columns.NCodes;
  const std::int64_t u = columns.NTimeUnits;
  CheckUnitsMatchTimes(columns.NTimeUnits, start, stop, where);
  const std::int64_t f = factor;
  const std::int64_t h = f / 2;
  const RoundedSegment seg = RoundedTimes(start, stop, f, where);
  if (int(tallies.Merged.size()) < nCodes + 1) tallies.Merged.resize(size_t(nCodes) + 1, 0);
  if (int(tallies.Carry.size()) < nCodes + 1) tallies.Carry.resize(size_t(nCodes) + 1, 0);
  if (columns.size() == 0) return seg;

  // New unit k (0-based) takes the old units b0 + k F .. b0 + (k + 1) F - 1
  // that the segment has; the last, NewU, is tallied but not written.
  const std::int64_t b0 = seg.NewStart * f - std::int64_t(start) - h;
  const std::size_t words = columns.Words;
  std::vector<std::int64_t> onsets(size_t(nCodes) + 1, 0), on(size_t(nCodes) + 1, 0);
  std::vector<int> touched;
  std::vector<std::uint64_t> cells(2 * words, 0), counted(words, 0);
  auto eachCode = [&](const std::uint64_t* bits, auto visit) {
    for (std::size_t w = 0; w < words; ++w)
      for (std::uint64_t b = bits[w]; b != 0; b &= b - 1) visit(int(64 * w) + std::countr_zero(b) + 1);
  };
  std::size_t p = 0;
  for (std::int64_t k = 0; k <= seg.NewU;) {
    const std::int64_t lo = std::max<std::int64_t>(b0 + k * f, 0);
    const std::int64_t hi = std::min<std::int64_t>(b0 + (k + 1) * f, u);
    if (lo >= hi) break;
    while (p + 1 < columns.size() && columns.Starts[p + 1] <= lo) ++p;
    if (hi - lo == f && columns.End(p) >= hi) {
      // Whole new units inside one stretch: each holds the stretch's cells
      // F times, so a code with onsets is an onset merging F - 1 of them,
      // a code on throughout is on, and they are all alike.
      const std::int64_t m = std::min((columns.End(p) - lo) / f, seg.NewU + 1 - k);
      eachCode(columns.Onsets(p), [&](int c) {
        tallies.Merged[size_t(c)] = std::int32_t(tallies.Merged[size_t(c)] + m * (f - 1));
        tallies.Carry[size_t(c)] = 0;
      });
      out.Add(std::min(m, seg.NewU - k), columns.On(p), columns.Onsets(p));
      k += m;
      continue;
    }
    // Stretches meet in the new unit, or the segment's edge cuts it. In a
    // whole new unit a code alike in all its stretches is worked out as in
    // one stretch; the others' onset and on units are counted code by code.
    std::fill(cells.begin(), cells.end(), 0);
    std::size_t last = p;
    while (last + 1 < columns.size() && columns.Starts[last + 1] < hi) ++last;
    for (std::size_t w = 0; w < words; ++w) {
      std::uint64_t differ = 0;
      for (std::size_t q = p + 1; q <= last; ++q)
        differ |= (columns.On(q)[w] ^ columns.On(p)[w]) | (columns.Onsets(q)[w] ^ columns.Onsets(p)[w]);
      counted[w] = hi - lo == f ? differ : ~std::uint64_t{0};
      cells[w] = columns.On(p)[w] & ~counted[w];
      cells[words + w] = columns.Onsets(p)[w] & ~counted[w];
    }
    eachCode(cells.data() + words, [&](int c) {
      tallies.Merged[size_t(c)] = std::int32_t(tallies.Merged[size_t(c)] + (f - 1));
      tallies.Carry[size_t(c)] = 0;
    });
    for (std::size_t q = p; q <= last; ++q) {
      const std::int64_t length = std::min<std::int64_t>(columns.End(q), hi) - std::max<std::int64_t>(columns.Starts[q], lo);
      const std::uint64_t* onsetBits = columns.Onsets(q);
      for (std::size_t w = 0; w < words; ++w)
        for (std::uint64_t b = columns.On(q)[w] & counted[w]; b != 0; b &= b - 1) {
          const int bit = std::countr_zero(b);
          const int c = int(64 * w) + bit + 1;
          if (onsets[size_t(c)] == 0 && on[size_t(c)] == 0) touched.push_back(c);
          ((onsetBits[w] >> bit) & 1 ? onsets : on)[size_t(c)] += length;
        }
    }
    for (int c : touched) {
      std::int32_t& carry = tallies.Carry[size_t(c)];
      const std::uint64_t bit = std::uint64_t{1} << ((c - 1) % 64);
      if (onsets[size_t(c)] > 0) {
        cells[size_t(c - 1) / 64] |= bit;
        cells[words + size_t(c - 1) / 64] |= bit;
        tallies.Merged[size_t(c)] += std::int32_t(onsets[size_t(c)] - 1);
        carry = std::int32_t(on[size_t(c)]);
      } else if (on[size_t(c)] == f || on[size_t(c)] + carry > f + h) {
        cells[size_t(c - 1) / 64] |= bit;
      }
      onsets[size_t(c)] = on[size_t(c)] = 0;
    }
    touched.clear();
    if (k < seg.NewU) out.Add(1, cells.data(), cells.data() + words);
    ++k;
  }
  return seg;
}

void WriteMergeReport(const MdsHeader& header, const RoundingTallies& tallies, dynString& results) {
  bool any = false;
  for (int c = 1; c <= header.NCodes && c < int(tallies.Merged.size()); ++c) {
    if (tallies.Merged[size_t(c)] <= 0) continue;
    const std::string name = c < int(header.CodeNames.size()) ? header.CodeNames[size_t(c)] : std::string();
    results.push_back(std::to_string(tallies.Merged[size_t(c)]) + "\t" + name + " merged");
    any = true;
  }
  if (!any) results.push_back("No events merged.");
}

void RoundMdsTimes(LinesView mdsLines, const MdsHeader& header, const std::string& fileName,
                   int newTimeUnitIndex, const std::string& stamp, RoundingOutput& output,
                   UserDialogue& dialogue) {
  dialogue.Progress(0, 100);
  SummaryFiles files;
  files.Current = fileName;
  WriteFileSummary(output.ResultLines, 1, header.DataType, header.TimeUnitIndex, header.TimeUnitLabel,
                   mdsLines.empty() ? std::string() : std::string(mdsLines[0]), "", files);
  const std::string refusal = RoundingRefusal(header);
  if (!refusal.empty()) throw CommandError(refusal);

  LineBuffer& out = output.MdsLines;
  out.clear();
  // The rounded file is about as long as the old one, or shorter.
  out.Reserve(mdsLines.Bytes() + 4096, mdsLines.size() + 64);
  WriteRoundedHeader(mdsLines, header, newTimeUnitIndex, stamp, out);
  const int factor = int(PowersOfTen[size_t(header.TimeUnitIndex)] / PowersOfTen[size_t(newTimeUnitIndex)]);

  RoundingTallies tallies;
  tallies.Merged.assign(size_t(header.NCodes) + 1, 0);
  tallies.Carry.assign(size_t(header.NCodes) + 1, 0);
  int lineIndex = header.LineIndex;
  SessionValues session;
  SegmentValues segment;
  SegmentColumns columns;
  for (int s = 1; s <= header.NSessions; ++s) {
    const int sessionLine = lineIndex + 1;
    ReadSession(mdsLines, lineIndex, header, session);
    dialogue.Progress(int(std::lround(100.0 * s / header.NSessions)), 100);
    for (int i = sessionLine; i <= lineIndex; ++i) out.push_back(mdsLines[size_t(i)]);
    for (int g = 1; g <= session.NSegments; ++g) {
      const std::string where = "Session " + std::to_string(s) + ", segment " + std::to_string(g);
      ReadSegment(mdsLines, lineIndex, segment);
      CheckUnitsMatchTimes(segment.NTimeUnits, segment.StartTime, segment.StopTime, where);
      ReadSegmentColumns(mdsLines, lineIndex, header, segment, columns);
      const size_t segmentLine = out.size();
      ColumnLineWriter writer(out, header.NCodes, header.Compressed, true);
      const RoundedSegment seg =
          WriteRoundedSegment(columns, segment.StartTime, segment.StopTime, factor, tallies, where, writer);
      const int written = writer.Finish();
      out.InsertLine(segmentLine, std::to_string(session.NSegments) + "\t" + std::to_string(written) + "\t" +
                                      std::to_string(seg.NewU) + "\t" + std::to_string(seg.NewStart) + "\t" +
                                      std::to_string(seg.NewStop));
    }
  }
  WriteMergeReport(header, tallies, output.ResultLines);
  dialogue.Progress(0, 100);
}

}  // namespace vork
