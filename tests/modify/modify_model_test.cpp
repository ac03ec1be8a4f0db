#include <gtest/gtest.h>

#include <random>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/segment_writer.h"
#include "modify/modify_engine.h"
#include "tests/modify/grid_modify_model.h"
#include "tests/support/scripted_dialogue.h"

namespace vork::testing {
namespace {

// A random compiled file of one data type: a few sessions of a few
// segments, each code's row a mix of single onsets, onsets in successive
// units, continuing units and gaps; plain or compressed, its data lines
// merged or one a unit, sometimes more than 64 codes.
dynString RandomFile(std::mt19937& random, int dataType, bool compressed) {
  const int nCodes = random() % 8 == 0 ? 65 + int(random() % 6) : 1 + int(random() % 5);
  const int nSessions = 1 + int(random() % 3);
  dynString lines = {std::string(compressed ? "" : "\t") + "MDS file saved by KELP compiler Version 5.1 THEN",
                     std::to_string(dataType) + "\t0\t0",
                     std::to_string(nCodes) + "\t0\t0\t0\t" + std::to_string(nSessions) + "\t" + std::to_string(nSessions)};
  std::string names;
  for (int c = 1; c <= nCodes; ++c) names += (c > 1 ? "\tc" : "c") + std::to_string(c);
  lines.push_back(names);
  lines.push_back("1\t0\tseconds");
  for (int s = 1; s <= nSessions; ++s) {
    const int segments = 1 + int(random() % 2);
    lines.push_back(std::to_string(s) + "\t" + std::to_string(segments) + "\t#" + std::to_string(s));
    for (int g = 0; g < segments; ++g) {
      const int u = random() % 10 == 0 ? 0 : 1 + int(random() % 40);
      dynChar2 grid(std::size_t(nCodes), std::string(std::size_t(u), '.'));
      const int density = 2 + int(random() % 4);
      for (std::string& row : grid)
        for (int t = 0; t < u; ++t) {
          if (random() % density != 0) continue;
          const bool continues = t > 0 && row[std::size_t(t - 1)] != '.' && random() % 3 != 0;
          row[std::size_t(t)] = continues ? '1' : '2';
        }
      dynString data;
      dynInteger runs(std::size_t(u), 1);
      const int count = WriteSegmentData(data, grid, runs, nCodes, u, compressed, random() % 4 != 0);
      lines.push_back(std::to_string(g + 1) + "\t" + std::to_string(count) + "\t" + std::to_string(u) + "\t" +
                      std::to_string(random() % 50) + "\t0");
      lines.insert(lines.end(), data.begin(), data.end());
    }
  }
  return lines;
}

// A random command of the given number on codes of the file.
ModifyCommand RandomCommand(std::mt19937& random, int number, int nCodes) {
  ModifyCommand command;
  command.Number = number;
  command.NewCode = number == CommandRemove || number == CommandEvent || number == CommandRecodeAll ? "" : "new";
  const bool repeats = number == CommandChain || number == CommandWindow;
  const int picks = number == CommandWindow ? 1 + int(random() % 2)
                    : number == CommandRename ? 1
                    : number == CommandEvent && random() % 4 == 0 ? 0
                                                                   : 1 + int(random() % std::min(3, nCodes));
  for (int i = 0; i < picks; ++i) {
    std::string code = "c" + std::to_string(1 + int(random() % std::min(nCodes, 6)));
    if (!repeats)
      while (std::find(command.PickedCodes.begin(), command.PickedCodes.end(), code) != command.PickedCodes.end())
        code = "c" + std::to_string(1 + int(random() % nCodes));
    command.PickedCodes.push_back(code);
  }
  if (number == CommandRename) command.NewCode = "renamed";
  command.BoutGap = 1 + int(random() % 5);
  command.Window = {int(random() % 3), int(random() % 9) - 4, command.PickedCodes.size() > 1 ? int(random() % 3) : int(random() % 4),
                    int(random() % 9) - 4};
  command.MaxNTUs = random() % 3 == 0 ? int(random() % 6) : 0;
  return command;
}

// Every command, on random files of every data type, leaves through the
// column engine the very file, header and counts the grid engine leaves,
// and fails where it fails.
TEST(ModifyModel, EveryCommandLeavesWhatTheGridEngineLeavesOnRandomFiles) {
  std::mt19937 random(2026);
  int compared = 0;
  for (int round = 0; round < 300; ++round) {
    for (int dataType : {Event, Timed, State, Interval, Multi}) {
      const dynString lines = RandomFile(random, dataType, round % 2 == 1);
      SilentDialogue silent;
      model::GridFile grid;
      grid.Lines = lines;
      ASSERT_TRUE(ReadMdsHeaderFromLines(lines, "random.mds", grid.Header, silent));
      grid.HeaderEnd = grid.Header.LineIndex;
      ModifyFile file;
      file.Lines = LineBuffer(lines);
      file.Header = grid.Header;
      file.HeaderEnd = grid.HeaderEnd;
      for (int number = CommandAnd; number <= CommandRecodeAll; ++number) {
        const ModifyCommand command = RandomCommand(random, number, grid.Header.NCodes);
        std::string expectedError, error;
        model::GridOutcome expected;
        ModifyOutcome got;
        try {
          expected = model::RunModifyCommand(grid, command, "NOW", silent);
        } catch (const CommandError& e) {
          expectedError = e.what();
        }
        try {
          got = RunModifyCommand(file, command, "NOW", silent);
        } catch (const CommandError& e) {
          error = e.what();
        }
        const std::string what = std::string(ModifyCommandNames[std::size_t(number)]) + " round " +
                                 std::to_string(round) + " type " + std::to_string(dataType);
        ASSERT_EQ(error, expectedError) << what;
        if (!error.empty()) continue;
        ASSERT_EQ(got.File.Lines, expected.File.Lines) << what;
        EXPECT_EQ(got.File.HeaderEnd, expected.File.HeaderEnd) << what;
        EXPECT_EQ(got.File.Header.DataType, expected.File.Header.DataType) << what;
        EXPECT_EQ(got.File.Header.NCodes, expected.File.Header.NCodes) << what;
        EXPECT_EQ(got.File.Header.CodeNames, expected.File.Header.CodeNames) << what;
        EXPECT_EQ(got.Counts.Null, expected.Counts.Null) << what;
        EXPECT_EQ(got.Counts.Truncated, expected.Counts.Truncated) << what;
        EXPECT_EQ(got.Counts.Overlapped, expected.Counts.Overlapped) << what;
        EXPECT_EQ(got.AllCodes, expected.AllCodes) << what;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 15000);
}

}  // namespace
}  // namespace vork::testing
