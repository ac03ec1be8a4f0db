#include "analysis/export_table.h"

#include <algorithm>
#include <map>
#include <random>

#include <gtest/gtest.h>

#include "analysis/export_table_dimensions.h"
#include "core/command_error.h"
#include "core/mds_reader.h"
#include "core/text_file.h"
#include "tests/support/compiled_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::CompiledText;
using testing::ScriptedDialogue;

// Multi data; units: a+c, a+d, b+c, a+c, d, b.
const std::string SixUnits = "Multi a b c d;\na c. a d. b c. a c. d. b/";
// Two sessions of three units: x: a+c, a+d, none; y: b+c, d, none.
const std::string TwoLevels = "Multi a b c d * g(x y);\n<s1> (x) a c. a d./ <s2> (y) b c. d./";
// One session of two segments: a b; a b c a b.
const std::string TwoAndFive = "Multi a b c;\na. b ; a. b. c. a. b/";
// a, a (going on), b, a.
const std::string Repeats = "Multi a b;\na. a. b. a/";

ExportTableChoices Choose(dynString2 dims, bool lagged = false, bool etc = false, dynString factors = {},
                          bool cantRepeat = false) {
  ExportTableChoices choices;
  choices.CodeDims = std::move(dims);
  for (size_t k = 0; k < choices.CodeDims.size(); ++k)
    choices.DimNames.push_back(std::string(DimNameTable[lagged][k]));
  choices.LaggedUnits = lagged;
  choices.AddEtcCode = etc;
  choices.FactorsInFile = std::move(factors);
  choices.CodesCantRepeat = cantRepeat;
  return choices;
}

// The rows a RUN writes ("|" for each TAB) and the notices it shows.
std::pair<std::vector<std::string>, std::vector<std::string>> Export(const dynString& mds,
                                                                     const ExportTableChoices& choices) {
  MdsHeader header;
  ScriptedDialogue dialogue;
  dialogue.AnswerOkWhenUnscripted = true;
  EXPECT_TRUE(ReadMdsHeaderFromLines(mds, "x.mds", header, dialogue));
  NWayTable table;
  std::vector<std::string> rows, notices;
  if (SetUpTable(header, choices, table, dialogue)) {
    TallyFile(mds, header, choices, table, dialogue);
    if (choices.CodesCantRepeat) CheckStructuralZeros(table, dialogue);
    WriteExportTable(table, [&](std::string row) {
      std::replace(row.begin(), row.end(), '\t', '|');
      rows.push_back(row);
    });
  }
  for (const auto& box : dialogue.Shown) notices.push_back(box.Text);
  return {rows, notices};
}

TEST(ExportTable, WritesTheCountRows) {
  struct Case {
    std::string Text;
    ExportTableChoices Choices;
    std::vector<std::string> Rows, Notices;
  };
  const std::vector<Case> cases{
      // Zeros are written; units without a listed code in each dimension
      // are not counted.
      {SixUnits, Choose({{"a", "b"}, {"c", "d"}}), {"ID|dmsA|dmsB|Count", "1|a|c|2", "2|a|d|1", "3|b|c|1", "4|b|d|0"}, {}},
      // "etc" cells only when counted.
      {SixUnits, Choose({{"a", "b"}, {"c", "d"}}, false, true),
       {"ID|dmsA|dmsB|Count", "1|a|c|2", "2|a|d|1", "3|b|c|1", "4|b|d|0", "5|b|etc|1", "6|etc|d|1"}, {}},
      // Factor dimensions come first; the etc level is never counted.
      {TwoLevels, Choose({{"a", "b"}, {"c", "d"}}, false, true, {"g"}),
       {"ID|g|dmsA|dmsB|Count", "1|x|a|c|1", "2|x|a|d|1", "3|x|b|c|0", "4|x|b|d|0", "5|x|etc|etc|1", "6|y|a|c|0",
        "7|y|a|d|0", "8|y|b|c|1", "9|y|b|d|0", "10|y|etc|d|1", "11|y|etc|etc|1"},
       {}},
      // The 2-unit segment adds nothing; the 5-unit one starts triples at
      // units 1 to 3 (a b c, b c a, c a b).
      {TwoAndFive, Choose({{"a", "b"}, {"b", "c"}, {"a", "c"}}, true),
       {"ID|lag0|lag1|lag2|Count", "1|a|b|a|0", "2|a|b|c|1", "3|a|c|a|0", "4|a|c|c|0", "5|b|b|a|0", "6|b|b|c|0",
        "7|b|c|a|1", "8|b|c|c|0"},
       {}},
      // a after a is a count where none should be; b after b an empty
      // structural zero.
      {Repeats, Choose({{"a", "b"}, {"a", "b"}}, true, false, {}, true),
       {"ID|lag0|lag1|Count", "1|a|a|1", "2|a|b|1", "3|b|a|1", "4|b|b|-1"},
       {"1 count(s) not zero but should be; check export file."}},
      {SixUnits, Choose({{"a"}, {}}), {}, {"Make sure some codes selected for each dimension."}},
      {TwoLevels, Choose({{"a"}, {"b"}}, false, false, {"h"}), {}, {"Factor name not found in MDS file."}},
      {SixUnits, Choose({{"a"}, {"b"}}, false, false, {"f", "g", "h", "i", "j", "k"}), {},
       {"You will need to select some factors for pooling"}},
  };
  for (const Case& c : cases) {
    const auto [rows, notices] = Export(CompiledText(c.Text), c.Choices);
    EXPECT_EQ(rows, c.Rows) << c.Text;
    EXPECT_EQ(notices, c.Notices) << c.Text;
  }
}

TEST(ExportTable, RefusesATableTooLargeForMemoryBeforeMakingIt) {
  // Three factors of 1000 levels and two codes: 1001^3 x 2 x 2 cells.
  dynString mds = {"\tMDS file saved by KELP compiler Version 5.1 x", "1\t0\t0", "2\t0\t0\t3\t0\t0", "a\tb"};
  for (const char* factor : {"f", "g", "h"}) {
    std::string line = std::string(factor) + "\t1000";
    for (int level = 1; level <= 1000; ++level) line += "\tl" + std::to_string(level);
    mds.push_back(line);
  }
  mds.push_back("0\t0\tevents");
  const auto [rows, notices] = Export(mds, Choose({{"a"}, {"b"}}, false, false, {"f", "g", "h"}));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(notices, std::vector<std::string>{"The table would have 4012012004 cells, more than fit in memory. "
                                              "Pick fewer codes or pool more factors."});
}

// The count file replaces an old one whole; a file that cannot be made
// leaves nothing behind.
TEST(ExportTable, SavesTheCountFileOverAnOldOne) {
  const dynString mds = CompiledText(SixUnits);
  MdsHeader header;
  SilentDialogue dialogue;
  ASSERT_TRUE(ReadMdsHeaderFromLines(mds, "x.mds", header, dialogue));
  NWayTable table;
  ASSERT_TRUE(SetUpTable(header, Choose({{"a"}, {"c", "d"}}), table, dialogue));
  testing::ScratchFolder folder;
  SaveTextLines(folder.Path("counts.txt"), {"old", "rows", "here", "and", "more"});
  SaveExportTable(folder.Path("counts.txt"), table);
  EXPECT_EQ(JoinTextLines(LoadTextLines(folder.Path("counts.txt"))),
            "ID\tdmsA\tdmsB\tCount\r\n1\ta\tc\t0\r\n2\ta\td\t0\r\n");
  EXPECT_THROW(SaveExportTable(folder.Path("none/counts.txt"), table), CommandError);
  EXPECT_FALSE(std::filesystem::exists(folder.Path("none")));
}

// The tally stated directly, unit by unit, on random segments.
TEST(ExportTable, AgreesWithTheRuleOnRandomSegments) {
  std::mt19937 random(4140);
  MdsHeader header;
  header.NCodes = 5;
  header.CodeNames = {"", "a", "b", "c", "d", "e"};
  for (int trial = 0; trial < 300; ++trial) {
    const int dims = 2 + int(random() % 3);
    dynString2 lists = dynString2(size_t(dims));
    for (dynString& list : lists) {
      for (int c = 1; c <= 5; ++c)
        if (random() % 2) list.push_back(header.CodeNames[size_t(c)]);
      if (list.empty()) list.push_back("c");
      std::shuffle(list.begin(), list.end(), random);
    }
    const ExportTableChoices choices = Choose(lists, trial % 2 == 1, trial % 3 == 0);
    NWayTable table;
    SilentDialogue dialogue;
    ASSERT_TRUE(SetUpTable(header, choices, table, dialogue));
    std::map<std::vector<int>, std::int64_t> model;
    std::vector<std::int32_t> labels;
    for (int segment = 0; segment < 3; ++segment) {
      const int units = int(random() % 12);
      dynChar2 matrix(5, std::string(size_t(units), '.'));
      for (std::string& row : matrix)
        for (char& cell : row) cell = "..12"[random() % 4];
      TallySegment(choices, table, testing::RunsOf(matrix), 0, labels);
      for (int u = 0; u + (choices.LaggedUnits ? dims - 1 : 0) < units; ++u) {
        std::vector<int> cell;
        for (int k = 0; k < dims; ++k) {
          const int t = choices.LaggedUnits ? u + k : u;
          int label = int(lists[size_t(k)].size()) + 1;
          for (int i = int(lists[size_t(k)].size()); i >= 1; --i)
            if (matrix[size_t(lists[size_t(k)][size_t(i - 1)][0] - 'a')][size_t(t)] != '.') label = i;
          cell.push_back(label);
        }
        bool counted = true;
        for (int k = 0; k < dims; ++k)
          if (cell[size_t(k)] == int(lists[size_t(k)].size()) + 1 && !choices.AddEtcCode) counted = false;
        if (counted) ++model[cell];
      }
    }
    for (std::int64_t cell = 1; cell <= table.NCells; ++cell) {
      const auto found = model.find(CellLabels(table, cell));
      EXPECT_EQ(table.Counts[size_t(cell - 1)], found == model.end() ? 0 : found->second) << trial;
    }
    // The rows the results window would show, counted before they are made.
    if (choices.LaggedUnits && trial % 4 == 1) CheckStructuralZeros(table, dialogue);
    TableText written;
    WriteExportTable(table, [&](const std::string& row) {
      ++written.Rows;
      written.Characters += std::int64_t(row.size());
    });
    const TableText counted = ExportTableText(table);
    EXPECT_EQ(counted.Rows, written.Rows) << trial;
    EXPECT_EQ(counted.Characters, written.Characters) << trial;
  }
}

}  // namespace
}  // namespace vork
