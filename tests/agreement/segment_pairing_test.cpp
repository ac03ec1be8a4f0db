#include "agreement/segment_pairing.h"

#include <gtest/gtest.h>

#include <random>

#include "core/mds_reader.h"
#include "tests/agreement/agreement_files_fixture.h"

namespace vork {
namespace {

// One observer's segment of random episodes: each code off, or on with an
// onset in its first unit and now and then in a later one.
std::vector<std::string> RandomColumns(std::mt19937& random, int nCodes, int units) {
  std::vector<std::string> columns(units, std::string(nCodes, '.'));
  for (int c = 0; c < nCodes; ++c) {
    for (int u = static_cast<int>(random() % 4); u < units;) {
      const int length = 1 + static_cast<int>(random() % 5);
      for (int v = 0; v < length && u < units; ++v, ++u) columns[u][c] = v == 0 || random() % 4 == 0 ? '2' : '1';
      u += static_cast<int>(random() % 4);
    }
  }
  return columns;
}

// The side as the rule paints it, unit by unit: the first picked code on
// holds the unit (K + 1 when none is), an event where the holder's cell is
// an onset and where a stretch of none begins.
struct ModelSide {
  std::vector<std::int32_t> Timeline;
  dynInteger EventCode{0}, EventTime{0};
};

ModelSide PaintSide(const std::vector<std::string>& columns, const dynInteger& pickedColumn, int from, int plotEnd) {
  const int k = static_cast<int>(pickedColumn.size()) - 1;
  ModelSide side;
  side.Timeline.assign(plotEnd + 1, 0);
  std::int32_t before = 0;
  for (size_t u = 0; u < columns.size(); ++u) {
    std::int32_t holder = k + 1;
    char cell = '.';
    for (int j = 1; j <= k && holder == k + 1; ++j) {
      if (columns[u][pickedColumn[j]] != '.') holder = j, cell = columns[u][pickedColumn[j]];
    }
    const int t = from + static_cast<int>(u);
    side.Timeline[t] = holder;
    if (cell == '2' || (holder == k + 1 && before != k + 1)) {
      side.EventCode.push_back(holder);
      side.EventTime.push_back(t);
    }
    before = holder;
  }
  side.EventCode[0] = side.EventTime[0] = static_cast<std::int32_t>(side.EventCode.size()) - 1;
  return side;
}

std::vector<std::int32_t> Expanded(const std::vector<CodeStretch>& stretches) {
  std::vector<std::int32_t> timeline;
  for (size_t n = 0; n + 1 < stretches.size(); ++n) timeline.resize(stretches[n + 1].Start, stretches[n].Code);
  return timeline;
}

TEST(SegmentPairingTest, SidesAgreeWithTheTimelinePaintedUnitByUnit) {
  std::mt19937 random(27);
  const dynString names = {"", "A", "B", "C", "D"};
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> columns[2];
    std::uint32_t starts[2];
    for (int obs = 0; obs < 2; ++obs) {
      starts[obs] = 100 + random() % 40;
      columns[obs] = RandomColumns(random, 4, 40 + static_cast<int>(random() % 60));
    }
    dynInteger pickedColumn = {0};  // picked in priority order, by column
    dynString picked;
    for (int c = 0; c < 4; ++c) {
      if (random() % 3 == 0) continue;
      pickedColumn.push_back(c);
      picked.push_back(names[c + 1]);
    }
    if (picked.empty()) continue;
    std::shuffle(pickedColumn.begin() + 1, pickedColumn.end(), random);
    for (size_t j = 1; j < pickedColumn.size(); ++j) picked[j - 1] = names[pickedColumn[j] + 1];

    AgreementFiles files;
    SilentDialogue dialogue;
    for (int obs = 0; obs < 2; ++obs) {
      files.Obs[obs].Lines = LineBuffer(testing::PlainFile(2, "A\tB\tC\tD", 4, "1\t1\tseconds",
                                                           {{"s", {{starts[obs], columns[obs]}}}}));
      ASSERT_TRUE(ReadMdsHeaderFromLines(files.Obs[obs].Lines, "obs", files.Obs[obs].Header, dialogue));
    }
    ObserverPairing pairing = StartPairing(files, picked);
    SegmentPair pair;
    ASSERT_TRUE(AlignSessionTimelines(files, pairing, pair, dialogue, round % 2 == 0)) << round;
    for (int obs = 0; obs < 2; ++obs) {
      const ModelSide model = PaintSide(columns[obs], pickedColumn, pair.Frame.SpanFrom[obs + 1], pair.Frame.PlotEnd);
      const ObserverTimeline& side = pair.Obs[obs];
      EXPECT_EQ(side.EventCode, model.EventCode) << "round " << round << " obs " << obs;
      EXPECT_EQ(side.EventTime, model.EventTime) << "round " << round << " obs " << obs;
      EXPECT_EQ(Expanded(side.Stretches), model.Timeline) << "round " << round << " obs " << obs;
      EXPECT_EQ(side.Timeline, round % 2 == 0 ? model.Timeline : std::vector<std::int32_t>()) << "round " << round;
      for (size_t n = 1; n + 1 < side.Stretches.size(); ++n)
        EXPECT_NE(side.Stretches[n].Code, side.Stretches[n - 1].Code) << "round " << round << ": neighbours merged";
    }
  }
}

}  // namespace
}  // namespace vork
