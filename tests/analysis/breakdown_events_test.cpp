#include "analysis/breakdown_events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/results_format.h"
#include "tests/analysis/compiled_kelp.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::CompileKelp;
using testing::CompiledKelp;
using testing::ScriptedDialogue;

// A, X, Y of one segment at 100, units 0..5: A 2 1 1 . 2 1, X . 2 1 . . 2,
// Y 2 1 1 1 1 1.
const char* const ExampleText =
    "Timed A X Y;\n<S1> A,100-103 Y,100-106 X,101-103 A,104-106 X,105-106 ,106/";

// Segment 1 at 1:00, units 0..4: A 2 1 1 1 ., B 2 1 . . ., X1 . . 2 1 1,
// X2 . 2 1 . .; segment 2 at 2:00: only B; segment 3 at 3:00: A 2 .
const char* const KidText =
    "Timed A B X1 X2 * sex(m f);\n"
    "<kid> (f) A,1:00-1:04 & B,1:00-1:02 & X2,1:01-1:03 & X1,1:02-1:05 ; B,2:00-2:01 ,2:02 ;"
    " A,3:00-3:01 ,3:02/";

RunOutput Breakdown(const CompiledKelp& file, const BreakdownChoices& choices, RunFrame frame,
                    ScriptedDialogue& dialogue) {
  RunOutput output;
  EXPECT_TRUE(RunBreakdown(file.Lines, file.Header.LineIndex, file.Header, frame, choices,
                           dialogue, output));
  return output;
}

// The rows of a RUN that shows results and exports; both get the same rows.
dynString Rows(const std::string& text, const BreakdownChoices& choices) {
  RunFrame frame;
  frame.ExportBox = ExportEachRun;
  ScriptedDialogue dialogue;
  RunOutput output = Breakdown(CompileKelp(text), choices, frame, dialogue);
  EXPECT_EQ(output.ExportRows, output.ResultLines);
  return output.ResultLines;
}

TEST(BoutBreakdown, RowsPerBout) {
  struct Case {
    const char* What;
    const char* Text;
    BreakdownChoices Choices;
    dynString Expected;
  };
  const Case cases[] = {
      {"the example", ExampleText, {{"A"}, {"X"}, true, false},
       {"sesn\tEvent\tonset\tdura\tXD\tetcD\tXF\tetcF", "S1\tA\t100\t3\t2\t3\t1\t1",
        "S1\tA\t104\t2\t1\t2\t1\t1"}},
      {"the example, tallied hierarchically", ExampleText, {{"A"}, {"X"}, true, true},
       {"sesn\tEvent\tonset\tdura\tXD\tetcD\tXF\tetcF", "S1\tA\t100\t3\t2\t1\t1\t1",
        "S1\tA\t104\t2\t1\t1\t1\t1"}},
      {"a bout ended by a new onset of its code", "State A X;\nA,0 A,2 X,4 ,5/",
       {{"A"}, {"X"}, false, false},
       {"sesn\tEvent\tdura\tXD\tetcD\tXF\tetcF", "#1\tA\t2\t0\t0\t0\t0", "#1\tA\t2\t0\t0\t0\t0"}},
      {"an onset in the last unit, under a code on from before", "Timed A X;\nX,0-3 A,2-3 ,3/",
       {{"A"}, {"X"}, true, false},
       {"sesn\tEvent\tonset\tdura\tXD\tetcD\tXF\tetcF", "#1\tA\t2\t1\t1\t0\t1\t0"}},
      {"two onsets in one unit follow the 1st-level list", "Timed A B X;\nA,0-2 & B,0-3 & X,1-2 ,4/",
       {{"B", "A"}, {"X"}, false, false},
       {"sesn\tEvent\tdura\tXD\tetcD\tXF\tetcF", "#1\tB\t3\t1\t2\t1\t1", "#1\tA\t2\t1\t2\t1\t1"}},
      {"two onsets in one unit, hierarchically", "Timed A B X;\nA,0-2 & B,0-3 & X,1-2 ,4/",
       {{"B", "A"}, {"X"}, false, true},
       {"sesn\tEvent\tdura\tXD\tetcD\tXF\tetcF", "#1\tB\t3\t1\t1\t1\t1", "#1\tA\t2\t1\t1\t1\t1"}},
      {"2nd-level columns in list order, factors, a segment without bouts", KidText,
       {{"A"}, {"X2", "X1"}, true, false},
       {"sesn\tsex\tEvent\tonset\tdura\tX2D\tX1D\tetcD\tX2F\tX1F\tetcF",
        "kid\tf\tA\t1:00\t4\t2\t2\t2\t1\t1\t1", "kid\tf\tA\t3:00\t1\t0\t0\t0\t0\t0\t0"}},
      {"the first 2nd-level code in list order takes a shared unit", KidText,
       {{"A"}, {"X2", "X1"}, false, true},
       {"sesn\tsex\tEvent\tdura\tX2D\tX1D\tetcD\tX2F\tX1F\tetcF",
        "kid\tf\tA\t4\t2\t1\t1\t1\t1\t1", "kid\tf\tA\t1\t0\t0\t0\t0\t0\t0"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Rows(c.Text, c.Choices), c.Expected) << c.What;
}

TEST(BoutBreakdown, BoxesSteerResultsAndExportRows) {
  CompiledKelp file = CompileKelp(ExampleText);
  BreakdownChoices choices{{"A"}, {"X"}, false, false};
  const dynString rows = {"sesn\tEvent\tdura\tXD\tetcD\tXF\tetcF", "S1\tA\t3\t2\t3\t1\t1",
                          "S1\tA\t2\t1\t2\t1\t1"};
  RunFrame frame;
  frame.FirstRun = true;  // the window makes the summary due at every RUN
  frame.FileName = "/data/obs.mds";
  frame.ResultsBox = DontDisplayResults;
  frame.ExportBox = ExportAfterClosing;
  ScriptedDialogue dialogue;
  RunOutput output = Breakdown(file, choices, frame, dialogue);
  EXPECT_EQ(output.ResultLines,
            (dynString{"", "File:\tobs.mds", "Made:\t\tMDS file saved by KELP compiler Version 5.1 NOW",
                       "Type:\tTimed", "Units:\tseconds", ""}));
  EXPECT_EQ(output.ExportRows, rows);
  EXPECT_FALSE(output.ClearResults);
  EXPECT_EQ(dialogue.ProgressCalls, (std::vector<std::pair<int, int>>{{0, 100}, {100, 100}}));

  frame.FirstRun = false;
  frame.ResultsBox = OverwriteResults;
  frame.ExportBox = DontExport;
  output = Breakdown(file, choices, frame, dialogue);
  EXPECT_EQ(output.ResultLines, rows);
  EXPECT_TRUE(output.ExportRows.empty());
  EXPECT_TRUE(output.ClearResults);
}

TEST(BoutBreakdown, RefusedRunsWriteNothing) {
  struct Case {
    const char* Text;
    BreakdownChoices Choices;
    const char* Notice;
  };
  const Case cases[] = {
      {"Event A X;\nA X/", {{"A"}, {"X"}, false, false}, "Open a timed-event or state MDS file."},
      {ExampleText, {{"A"}, {}, false, false}, "Select 1st level event and breakdown codes."},
      {ExampleText, {{}, {"X"}, false, false}, "Select 1st level event and breakdown codes."},
  };
  for (const Case& c : cases) {
    CompiledKelp file = CompileKelp(c.Text);
    ScriptedDialogue dialogue;
    dialogue.Then(Answer::Ok);
    RunOutput output;
    EXPECT_FALSE(RunBreakdown(file.Lines, file.Header.LineIndex, file.Header, RunFrame(), c.Choices,
                              dialogue, output));
    ASSERT_EQ(dialogue.Shown.size(), 1u);
    EXPECT_EQ(dialogue.Shown[0].Text, c.Notice);
    EXPECT_FALSE(output.Started);
    EXPECT_TRUE(output.ResultLines.empty());
  }
}

// The rows as the rules read, unit by unit and code by code, over a matrix
// given as one string of cells per code.
dynString ModelRows(const std::vector<std::string>& cells, const std::vector<int>& givens,
                    const std::vector<int>& targets, bool hierarch) {
  const int nCodes = int(cells.size());
  const int units = int(cells[0].size());
  const int etc = int(targets.size()) + 1;
  auto column = [&](int c) {
    for (std::size_t j = 0; j < targets.size(); ++j) {
      if (targets[j] == c) return int(j) + 1;
    }
    return etc;
  };
  dynString rows;
  for (int u = 0; u < units; ++u) {
    for (int G : givens) {
      if (cells[G][u] != '2') continue;
      int e = u + 1;
      while (e < units && cells[G][e] == '1') ++e;
      std::vector<int> d(etc + 1), f(etc + 1);
      for (int c = 0; c < nCodes; ++c) {
        if (c == G) continue;
        for (int v = u; v < e; ++v) {
          d[column(c)] += cells[c][v] != '.';
          f[column(c)] += cells[c][v] == '2' || (v == u && cells[c][v] != '.');
        }
      }
      if (hierarch) {
        d.assign(etc + 1, 0);
        for (int v = u; v < e; ++v) {
          int k = 0;
          for (std::size_t j = 0; j < targets.size() && k == 0; ++j) {
            if (cells[targets[j]][v] != '.') k = int(j) + 1;
          }
          for (int c = 0; c < nCodes && k == 0; ++c) {
            if (c != G && column(c) == etc && cells[c][v] != '.') k = etc;
          }
          if (k > 0) ++d[k];
        }
      }
      std::string row = "s\tC" + std::to_string(G) + "\t" + std::to_string(e - u);
      for (int k = 1; k <= etc; ++k) row += "\t" + std::to_string(d[k]);
      for (int k = 1; k <= etc; ++k) row += "\t" + std::to_string(f[k]);
      rows.push_back(row);
    }
  }
  return rows;
}

TEST(BoutBreakdown, AgreesWithTheRulesOnRandomSegments) {
  std::mt19937 random(20);
  for (int trial = 0; trial < 300; ++trial) {
    const int nCodes = 1 + int(random() % 5);
    const int units = 1 + int(random() % 40);
    const std::vector<std::string> cells = testing::RandomCells(random, nCodes, units);
    dynString names;
    for (int c = 0; c < nCodes; ++c) names.push_back("C" + std::to_string(c));
    CompiledKelp file = testing::OneSegmentFile(Timed, "1\t0\tseconds", 0, std::uint32_t(units), names, cells);
    ScriptedDialogue dialogue;

    // Some codes at random in each list, in random order; a code may be in none.
    std::vector<int> order(static_cast<std::size_t>(nCodes));
    for (int c = 0; c < nCodes; ++c) order[std::size_t(c)] = c;
    std::shuffle(order.begin(), order.end(), random);
    std::vector<int> givens, targets;
    BreakdownChoices choices;
    for (int c : order) {
      const int list = int(random() % 3);
      if (list == 0 || givens.empty()) {
        givens.push_back(c);
        choices.GivenCodes.push_back("C" + std::to_string(c));
      } else if (list == 1) {
        targets.push_back(c);
        choices.TargetCodes.push_back("C" + std::to_string(c));
      }
    }
    if (targets.empty()) continue;
    for (bool hierarch : {false, true}) {
      choices.TallyHierarch = hierarch;
      RunOutput output = Breakdown(file, choices, RunFrame(), dialogue);
      dynString rows(output.ResultLines.begin() + 1, output.ResultLines.end());
      ASSERT_EQ(rows, ModelRows(cells, givens, targets, hierarch))
          << "trial " << trial << (hierarch ? " hierarchical" : "");
    }
  }
}

}  // namespace
}  // namespace vork
