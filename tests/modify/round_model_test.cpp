#include <gtest/gtest.h>

#include <random>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/results_format.h"
#include "core/segment_writer.h"
#include "core/session_reader.h"
#include "modify/round_times.h"
#include "tests/modify/grid_round_model.h"
#include "tests/support/scripted_dialogue.h"

namespace vork::testing {
namespace {

// The rounding as it was before it read column stretches: each segment's
// runs rounded into a grid, the grid written through the core writer.
dynString GridRounding(const dynString& mds, const MdsHeader& header, int newUnit, const std::string& stamp,
                       dynString& report) {
  LineBuffer head;
  WriteRoundedHeader(mds, header, newUnit, stamp, head);
  dynString out = head.ToStrings();
  const int factor = int(PowersOfTen[size_t(header.TimeUnitIndex)] / PowersOfTen[size_t(newUnit)]);
  RoundingTallies tallies{dynInteger(size_t(header.NCodes) + 1, 0), dynInteger(size_t(header.NCodes) + 1, 0)};
  int lineIndex = header.LineIndex;
  SessionValues session;
  SegmentValues segment;
  SegmentRuns runs;
  for (int s = 1; s <= header.NSessions; ++s) {
    const int sessionLine = lineIndex + 1;
    ReadSession(mds, lineIndex, header, session);
    out.insert(out.end(), mds.begin() + sessionLine, mds.begin() + lineIndex + 1);
    for (int g = 1; g <= session.NSegments; ++g) {
      ReadSegment(mds, lineIndex, segment);
      ReadSegmentRuns(mds, lineIndex, header, segment, runs);
      model::GridRoundedSegment seg = model::RoundSegment(runs, segment.StartTime, segment.StopTime, factor, tallies, "here");
      dynString data;
      dynInteger columns(size_t(seg.NewU), 1);
      const int written = WriteSegmentData(data, seg.Matrix, columns, header.NCodes, seg.NewU, header.Compressed, true);
      out.push_back(std::to_string(session.NSegments) + "\t" + std::to_string(written) + "\t" +
                    std::to_string(seg.NewU) + "\t" + std::to_string(seg.NewStart) + "\t" + std::to_string(seg.NewStop));
      out.insert(out.end(), data.begin(), data.end());
    }
  }
  WriteMergeReport(header, tallies, report);
  return out;
}

// Random Timed and State files in tenths, hundredths or thousandths, rounded
// to every coarser unit, give the grid rounding's file and merge report.
TEST(RoundModel, RoundingLeavesWhatTheGridRoundingLeavesOnRandomFiles) {
  std::mt19937 random(26);
  for (int round = 0; round < 600; ++round) {
    const int unitIndex = 1 + round % 3;
    const bool compressed = round % 2 == 1;
    const int nCodes = random() % 10 == 0 ? 65 + int(random() % 4) : 1 + int(random() % 4);
    const int nSessions = 1 + int(random() % 3);
    dynString mds = {std::string(compressed ? "" : "\t") + "MDS file saved by KELP compiler Version 5.1 THEN",
                     round % 4 < 2 ? "2\t0\t0" : "3\t0\t0",
                     std::to_string(nCodes) + "\t0\t0\t0\t" + std::to_string(nSessions) + "\t" +
                         std::to_string(nSessions)};
    std::string names;
    for (int c = 1; c <= nCodes; ++c) names += (c > 1 ? "\tc" : "c") + std::to_string(c);
    mds.push_back(names);
    mds.push_back("4\t" + std::to_string(unitIndex) + "\tseconds");
    const int scale = int(PowersOfTen[size_t(unitIndex)]);
    for (int s = 1; s <= nSessions; ++s) {
      mds.push_back(std::to_string(s) + "\t1\t#" + std::to_string(s));
      const int u = int(random() % (3 * scale));
      const std::uint32_t start = random() % (2 * scale);
      dynChar2 grid(size_t(nCodes), std::string(size_t(u), '.'));
      const int stretch = 1 + int(random() % scale);
      for (std::string& row : grid)
        for (int t = 0; t < u;) {
          const int length = 1 + int(random() % stretch);
          const char cell = ".12"[random() % 3];
          const bool onsetsOnly = random() % 2 == 0;  // events in successive units
          for (int k = 0; k < length && t < u; ++k, ++t)
            row[size_t(t)] = cell == '2' && k > 0 && !onsetsOnly && random() % 4 != 0 ? '1' : cell;
        }
      dynString data;
      dynInteger runs(size_t(u), 1);
      const int count = WriteSegmentData(data, grid, runs, nCodes, u, compressed, true);
      mds.push_back("1\t" + std::to_string(count) + "\t" + std::to_string(u) + "\t" + std::to_string(start) + "\t" +
                    std::to_string(start + std::uint32_t(u)));
      mds.insert(mds.end(), data.begin(), data.end());
    }
    MdsHeader header;
    ScriptedDialogue dialogue;
    ASSERT_TRUE(ReadMdsHeaderFromLines(mds, "r.mds", header, dialogue));
    for (int newUnit = 0; newUnit < unitIndex; ++newUnit) {
      dynString report;
      const dynString expected = GridRounding(mds, header, newUnit, "NOW", report);
      RoundingOutput output;
      RoundMdsTimes(mds, header, "r.mds", newUnit, "NOW", output, dialogue);
      ASSERT_EQ(output.MdsLines, expected) << "round " << round << " to unit " << newUnit;
      ASSERT_GE(output.ResultLines.size(), report.size());
      EXPECT_EQ(dynString(output.ResultLines.end() - long(report.size()), output.ResultLines.end()), report)
          << "round " << round;
    }
  }
}

}  // namespace
}  // namespace vork::testing
