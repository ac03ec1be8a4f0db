#include <gtest/gtest.h>

#include "core/command_error.h"
#include "core/segment_writer.h"

#include <random>
#include "tests/modify/modify_fixture.h"

namespace vork::testing {
namespace {

// A command applied to a file compiled from KELP text, with the file it
// must leave from line 1 on (line 0 is the stamp).
struct CommandCase {
  const char* Name;
  std::string Kelp;
  ModifyCommand Command;
  std::vector<std::string> Expected;
};

ModifyCommand WithGap(ModifyCommand command, int gap) {
  command.BoutGap = gap;
  return command;
}

ModifyCommand WithWindow(ModifyCommand command, WindowParms parms, int maxUnits = 0) {
  command.Window = parms;
  command.MaxNTUs = maxUnits;
  return command;
}

// Timed: a on 0-2 and 7-8, b 2-4, c 4-5 of ten units.
const char* const ThreeTimed = "Timed a b c;\na,0-3 b,2-5 c,4-6 a,7-9 ,10/";

// Timed: a on at units 4-6 of ten, b at unit 1.
const char* const AtFourToSix = "Timed a b;\nb,0-1 a,3-6 ,10/";

// The lines of a WINDOW file of codes a, b and w with one segment.
std::vector<std::string> Window3(const std::vector<std::string>& data, int count = 0) {
  std::vector<std::string> lines = {"2|0|0", "3|0|0|0|1|1", "a|b|w", "1|0|seconds", "1|1|#1",
                                    "1|" + std::to_string(count ? count : data.size()) + "|10|0|10"};
  lines.insert(lines.end(), data.begin(), data.end());
  return lines;
}

const CommandCase Cases[] = {
    {"XorIsOnWhereExactlyOneIsOn", ThreeTimed, Command(CommandXor, "new", {"a", "b", "c"}),
     {"2|0|0", "4|0|0|0|1|1", "a|b|c|new", "1|0|seconds", "1|1|#1", "1|10|10|0|10", "1|2..2", "1|1..1", "1|12..",
      "1|.1.2", "1|.12.", "1|..12", "1|....", "1|2..2", "1|1..1", "1|...."}},
    {"NotIsOnWhereNotAllAreOn", "Timed a b;\na,0-3 b,2-4 ,5/", Command(CommandNot, "new", {"a", "b"}),
     {"2|0|0", "3|0|0|0|1|1", "a|b|new", "1|0|seconds", "1|1|#1", "1|5|5|0|5", "1|2.2", "1|1.1", "1|12.",
      "1|.12", "1|..1"}},
    {"AndKeepsOneOnsetWhenAnEventStartsInsideTheOverlap", "Timed a b;\na,0-6 b,2-4 b,4-6 ,8/",
     Command(CommandAnd, "both", {"a", "b"}),
     {"2|0|0", "3|0|0|0|1|1", "a|b|both", "1|0|seconds", "1|1|#1", "1|7|8|0|8", "1|2..", "1|1..", "1|122",
      "1|111", "1|121", "1|111", "2|..."}},
    {"OrNorOnStateData", "State a b;\na,0 b,3 ,5/", Command(CommandNor, "none", {"b"}),
     {"3|0|0", "3|0|0|0|1|1", "a|b|none", "1|0|seconds", "1|1|#1", "1|4|5|0|5", "1|2.2", "2|1.1", "1|.2.",
      "1|.1."}},
    {"RemoveOnEventDataDropsUnitsOfRemovedCodesOnly", "Event a b c d e;\na b c a d e b/",
     Command(CommandRemove, "", {"b", "c"}),
     {"1|0|0", "3|0|0|0|1|1", "a|d|e", "0|0|events", "1|1|#1", "1|4|4|1|0", "1|2..", "1|2..", "1|.2.",
      "1|..2"}},
    {"RemoveOnTimedDataKeepsTheUnits", "Timed a b;\na,0-2 b,2-4 ,5/", Command(CommandRemove, "", {"b"}),
     {"2|0|0", "1|0|0|0|1|1", "a", "1|0|seconds", "1|1|#1", "1|3|5|0|5", "1|2", "1|1", "3|."}},
    {"BoutBridgesAGapOfOneUnit", "Timed a b;\na,0-3 b,4-6 ,7/", WithGap(Command(CommandBout, "bt", {"a", "b"}), 1),
     {"2|0|0", "3|0|0|0|1|1", "a|b|bt", "1|0|seconds", "1|1|#1", "1|6|7|0|7", "1|2.2", "2|1.1", "1|..1",
      "1|.21", "1|.11", "1|..."}},
    {"BoutNeedsABridgedGap", "Timed a b;\na,0-3 b,5-6 ,7/", WithGap(Command(CommandBout, "bt", {"a", "b"}), 1),
     {"2|0|0", "3|0|0|0|1|1", "a|b|bt", "1|0|seconds", "1|1|#1", "1|5|7|0|7", "1|2..", "2|1..", "2|...",
      "1|.2.", "1|..."}},
    {"ChainOfTwoFoundTwice", "Event a b;\na b a b/", Command(CommandChain, "ab", {"a", "b"}),
     {"1|0|0", "3|0|0|0|1|1", "a|b|ab", "0|0|events", "1|1|#1", "1|2|2|1|0", "1|..2", "1|..2"}},
    {"ChainTriesAgainAtTheSecondA", "Event a b;\na a b/", Command(CommandChain, "ab", {"a", "b"}),
     {"1|0|0", "3|0|0|0|1|1", "a|b|ab", "0|0|events", "1|1|#1", "1|2|2|1|0", "1|2..", "1|..2"}},
    {"LumpJoinsSuccessivePickedEvents", "Event a b c;\na b c a b/", Command(CommandLump, "ab", {"a", "b"}),
     {"1|0|0", "2|0|0|0|1|1", "c|ab", "0|0|events", "1|1|#1", "1|3|3|1|0", "1|.2", "1|2.", "1|.2"}},
    {"RecodeJoinsPickedCodesIntoTheNewOne", ThreeTimed, Command(CommandRecode, "ac", {"a", "c"}),
     {"2|0|0", "2|0|0|0|1|1", "b|ac", "1|0|seconds", "1|1|#1", "1|10|10|0|10", "1|.2", "1|.1", "1|21", "1|1.",
      "1|12", "1|.1", "1|..", "1|.2", "1|.1", "1|.."}},
    {"RecodeWithoutNewCodeJoinsEveryCode", "Event a b;\na a b b a/", Command(CommandRecodeAll, "", {"a"}),
     {"1|0|0", "2|0|0|0|1|1", "a|b", "0|0|events", "1|1|#1", "1|5|5|1|0", "1|2.", "1|1.", "1|.2", "1|.1",
      "1|2."}},
    {"EventOfPickedCodes", "Timed a b c;\na,0-3 b,2-5 c,2-4 ,6/", Command(CommandEvent, "", {"b", "a"}),
     {"1|0|0", "2|0|0|0|1|1", "b|a", "1|0|events|events", "1|1|#1", "1|2|2|0|6", "1|.2", "1|2."}},
    {"EventOfAllCodesWithTwoOnsetsInAUnitIsMulti", "Timed a b c;\na,0-3 b,2-5 c,2-4 ,6/",
     Command(CommandEvent, "", {}),
     {"5|0|0", "3|0|0|0|1|1", "a|b|c", "1|0|events|events", "1|1|#1", "1|2|2|0|6", "1|2..", "1|.22"}},
    // Window on a, units 4-6 of ten (b marks the first unit).
    {"WindowOnsetOnly", AtFourToSix, WithWindow(Command(CommandWindow, "w", {"a"}), {0, 0, NullToPart, 0}),
     Window3({"1|.2.", "2|...", "1|2.2", "2|1..", "4|..."})},
    {"WindowLastUnitOnly", AtFourToSix, WithWindow(Command(CommandWindow, "w", {"a"}), {2, 0, NullToPart, 0}),
     Window3({"1|.2.", "2|...", "1|2..", "1|1..", "1|1.2", "4|..."})},
    {"WindowToTwoAfterTheLastUnit", AtFourToSix, WithWindow(Command(CommandWindow, "w", {"a"}), {1, 2, NullToPart, 0}),
     Window3({"1|.2.", "2|...", "1|2.2", "2|1.1", "2|..1", "2|..."})},
    {"WindowFromTwoBeforeTheOnset", AtFourToSix, WithWindow(Command(CommandWindow, "w", {"a"}), {1, -2, NullToPart, 0}),
     Window3({"1|.2.", "1|..2", "1|..1", "1|2.1", "2|1.1", "4|..."})},
    {"WindowPastTheEndIsDropped", AtFourToSix, WithWindow(Command(CommandWindow, "w", {"a"}), {0, 20, 0, 30}),
     Window3({"1|.2.", "2|...", "1|2..", "2|1..", "4|..."})},
    {"WindowTooLongIsLeftOut", AtFourToSix, WithWindow(Command(CommandWindow, "w", {"a"}), {1, 2, NullToPart, 0}, 4),
     Window3({"1|.2.", "2|...", "1|2..", "2|1..", "4|..."})},
    {"WindowCutAtTheSegmentStart", AtFourToSix, WithWindow(Command(CommandWindow, "w", {"a"}), {0, -5, NullToPart, 0}),
     Window3({"1|.22", "2|..1", "1|2.1", "2|1..", "4|..."})},
    {"TouchingWindowsStartAgain", "Timed a b;\nb,0-1 a,1-3 a,4-6 ,10/",
     WithWindow(Command(CommandWindow, "w", {"a"}), {1, 2, NullToPart, 0}),
     Window3({"1|.2.", "1|2.2", "1|1.1", "1|..1", "1|2.2", "1|1.1", "2|..1", "2|..."}, 8)},
    {"WindowFromTheLatestStartBeforeAnEnd", "Timed a b;\nb,0-1 a,1-2 a,3-4 b,6-8 ,10/",
     WithWindow(Command(CommandWindow, "w", {"a", "b"}), {0, 0, 2, 0}),
     Window3({"1|.2.", "1|2..", "1|...", "1|2.2", "2|..1", "1|.21", "1|.11", "2|..."}, 8)},
    {"WindowOnEventDataMakesMultiEventData", "Event a b;\na b a/",
     WithWindow(Command(CommandWindow, "w", {"a"}), {0, 0, NullToPart, 0}),
     {"5|0|0", "3|0|0|0|1|1", "a|b|w", "0|0|events", "1|1|#1", "1|3|3|1|0", "1|2.2", "1|.2.", "1|2.2"}},
};

class Commands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(Commands, LeaveTheFileWorkedOutByHand) {
  const CommandCase& c = GetParam();
  const ModifyFile file = CompiledFile(c.Kelp);
  SilentDialogue silent;
  const ModifyOutcome out = RunModifyCommand(file, c.Command, "NOW", silent);
  EXPECT_EQ(out.File.Lines[0], "\tMDS file modified by VORK Version 5.1 NOW");
  EXPECT_EQ(LinesAfterStamp(out.File.Lines), c.Expected);
  // What the window works on next is the file it shows.
  MdsHeader reread;
  ASSERT_TRUE(ReadMdsHeaderFromLines(out.File.Lines, "x.mds", reread, silent));
  EXPECT_EQ(reread.LineIndex, out.File.HeaderEnd);
  EXPECT_EQ(reread.NCodes, out.File.Header.NCodes);
  EXPECT_EQ(reread.DataType, out.File.Header.DataType);
  EXPECT_EQ(dynString(reread.CodeNames.begin() + 1, reread.CodeNames.end()),
            dynString(out.File.Header.CodeNames.begin() + 1, out.File.Header.CodeNames.end()));
}

INSTANTIATE_TEST_SUITE_P(Modify, Commands, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Modify, RenameTouchesOnlyTheStampAndTheNames) {
  const ModifyFile file = CompiledFile("Event a b * g(x y);\n(x) a b/ (y) b/", true);
  SilentDialogue silent;
  const ModifyOutcome out = RunModifyCommand(file, Command(CommandRename, "z", {"a"}), "NOW", silent);
  dynString expected = file.Lines.ToStrings();
  expected[0] = "MDS file modified by VORK Version 5.1 NOW";
  expected[3] = "z\tb";
  EXPECT_EQ(out.File.Lines, expected);
  EXPECT_EQ(out.File.Header.CodeNames[1], "z");
}

TEST(Modify, NewCodeGetsEmptyDualNameAndNoSetAndCompressedLines) {
  const ModifyFile file = CompiledFile("Event a=x (b c);\na b c a/", true);
  SilentDialogue silent;
  const ModifyOutcome out = RunModifyCommand(file, Command(CommandLump, "ab", {"a", "b"}), "NOW", silent);
  EXPECT_EQ(LinesAfterStamp(out.File.Lines),
            (std::vector<std::string>{"1|0|0", "2|1|1|0|1|1", "c|ab", "|", "1|0", "Set#1", "0|0|events", "1|1|#1",
                                      "1|3|3|1|0", "1|4*", "1|8*", "1|4*"}));
}

TEST(Modify, ADamagedSegmentLeavesTheFileAsItWas) {
  // The second session's only data line damaged.
  const ModifyFile file = WithLastLine(CompiledFile("Event a b;\na b/ a/"), "1\tx");
  const ModifyFile before = file;
  SilentDialogue silent;
  EXPECT_THROW(RunModifyCommand(file, Command(CommandOr, "n", {"a"}), "NOW", silent), CommandError);
  EXPECT_EQ(file.Lines, before.Lines);
  EXPECT_THROW(RunModifyCommand(file, Command(CommandOr, "n", {"q"}), "NOW", silent), CommandError);
}

}  // namespace
}  // namespace vork::testing

namespace vork::testing {
namespace {

// Random Timed files of three codes, several sessions and segments, plain
// or compressed, written through the core writer.
struct RandomFile {
  ModifyFile File;
  std::vector<dynChar2> Grids;  // every segment's cells, in file order
};

RandomFile MakeRandomFile(std::mt19937& random, bool compressed) {
  RandomFile made;
  dynString lines = {std::string(compressed ? "" : "\t") + "MDS file saved by KELP compiler Version 5.1 THEN", "2\t0\t0",
           "3\t0\t0\t0\t2\t2", "a\tb\tc", "1\t0\tseconds"};
  for (int s = 1; s <= 2; ++s) {
    const int segments = 1 + static_cast<int>(random() % 2);
    lines.push_back(std::to_string(s) + "\t" + std::to_string(segments) + "\t#" + std::to_string(s));
    for (int g = 0; g < segments; ++g) {
      const int u = 1 + static_cast<int>(random() % 25);
      dynChar2 grid(3, std::string(static_cast<std::size_t>(u), '.'));
      for (std::string& row : grid)
        for (int t = 0; t < u; ++t)
          if (random() % 2) row[t] = t > 0 && row[t - 1] != '.' && random() % 3 ? '1' : '2';
      dynString data;
      dynInteger runs(static_cast<std::size_t>(u), 1);
      const int count = WriteSegmentData(data, grid, runs, 3, u, compressed, true);
      lines.push_back(std::to_string(g + 1) + "\t" + std::to_string(count) + "\t" + std::to_string(u) + "\t0\t0");
      lines.insert(lines.end(), data.begin(), data.end());
      made.Grids.push_back(grid);
    }
  }
  made.File.Lines = LineBuffer(lines);
  SilentDialogue silent;
  EXPECT_TRUE(ReadMdsHeaderFromLines(lines, "random.mds", made.File.Header, silent));
  made.File.HeaderEnd = made.File.Header.LineIndex;
  return made;
}

// And, Or, Not, Nor and Xor of a and c, and Remove b, as a model works them
// out on each segment's cells and the core writer writes them.
TEST(Modify, CountRulesAndRemoveAgreeWithAModelOnRandomFiles) {
  std::mt19937 random(3);
  for (int round = 0; round < 60; ++round) {
    const bool compressed = round % 2;
    const RandomFile made = MakeRandomFile(random, compressed);
    for (int number : {CommandAnd, CommandOr, CommandNot, CommandNor, CommandXor, CommandRemove}) {
      const bool remove = number == CommandRemove;
      SilentDialogue silent;
      const ModifyOutcome out = RunModifyCommand(
          made.File, remove ? Command(number, "", {"b"}) : Command(number, "n", {"a", "c"}), "NOW", silent);
      dynString expected;
      std::size_t segment = 0;
      for (std::size_t i = made.File.HeaderEnd + 1; i < made.File.Lines.size(); ++i) {
        const std::string line(made.File.Lines[i]);
        if (line.find('#') != std::string::npos) {
          expected.push_back(line);
          continue;
        }
        dynChar2 grid = made.Grids[segment++];
        const int u = static_cast<int>(grid[0].size());
        if (remove) {
          grid.erase(grid.begin() + 1);
        } else {
          std::string row(static_cast<std::size_t>(u), '.');
          for (int t = 0; t < u; ++t) {
            const int on = (grid[0][t] != '.') + (grid[2][t] != '.');
            const bool mark = number == CommandAnd ? on == 2 : number == CommandOr ? on > 0
                              : number == CommandNot ? on != 2 : number == CommandNor ? on == 0 : on == 1;
            if (mark) row[t] = t > 0 && row[t - 1] != '.' ? '1' : '2';
          }
          grid.push_back(row);
        }
        dynString data;
        dynInteger runs(static_cast<std::size_t>(u), 1);
        const int count = WriteSegmentData(data, grid, runs, static_cast<int>(grid.size()), u, compressed, true);
        // The segment line names the session's number of segments.
        std::size_t sessionLine = expected.size();
        while (expected[sessionLine - 1].find('#') == std::string::npos) --sessionLine;
        const std::string& session = expected[sessionLine - 1];
        const std::string segments = session.substr(session.find('\t') + 1, 1);
        expected.push_back(segments + "\t" + std::to_string(count) + "\t" + std::to_string(u) + "\t0\t0");
        expected.insert(expected.end(), data.begin(), data.end());
        const int nDataLines = std::stoi(line.substr(line.find('\t') + 1));
        i += static_cast<std::size_t>(nDataLines);
      }
      EXPECT_EQ(dynString(out.File.Lines.begin() + out.File.HeaderEnd + 1, out.File.Lines.end()), expected)
          << ModifyCommandNames[number] << " round " << round;
    }
  }
}

}  // namespace
}  // namespace vork::testing
