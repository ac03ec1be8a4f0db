#include "analysis/table_stats_output.h"

#include <gtest/gtest.h>

#include "analysis/table_stats_run.h"
#include "core/command_error.h"
#include "core/mds_header.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::ScriptedDialogue;

// The code names of the file the tables below come from.
const dynString CodeNames = {"&", "Alpha", "Beta", "Gamma", "A", "B", "C", "X", "Y"};

struct TableSetup {
  dynString Givens = {"Alpha", "Beta", "Gamma"};
  dynString Targets = {"Alpha", "Beta", "Gamma"};
  std::vector<int> Stats = {JNTF, EXPF, CONP, RSDL, ADJR, PVAL, YULQ,
                            PHI,  ODDS, LNOR, XSQ,  GSQ,  KAPPA, KAPmax};
  int NDigits = 2;
  int DataType = Timed;
  int TimeUnitIndex = 0;
  TableStatsOptions Options;
  int ResultsBox = AppendResults;
  int ExportBox = DontExport;
};

TableSetup MakeSetup(dynString givens, dynString targets, std::vector<int> stats) {
  TableSetup setup;
  setup.Givens = std::move(givens);
  setup.Targets = std::move(targets);
  setup.Stats = std::move(stats);
  return setup;
}

TableStatsRun Prepare(const TableSetup& setup, const dynInteger2& counts) {
  TableStatsRequest request;
  request.GivenCodes = setup.Givens;
  request.TargetCodes = setup.Targets;
  for (int s : setup.Stats) request.StatChecked[static_cast<std::size_t>(s - 1)] = true;
  RunFrame frame;
  frame.NDigits = setup.NDigits;
  frame.ResultsBox = setup.ResultsBox;
  frame.ExportBox = setup.ExportBox;
  ScriptedDialogue dialogue;
  TableStatsRun run;
  EXPECT_TRUE(PrepareRun(request, setup.Options, frame, CodeNames, 8, setup.DataType,
                         setup.TimeUnitIndex, dialogue, nullptr, run));
  for (std::size_t i = 0; i < counts.size(); ++i)
    for (std::size_t j = 0; j < counts[i].size(); ++j) run.FreqTable[i + 1][j + 1] = counts[i][j];
  return run;
}

dynString Results(const TableSetup& setup, const dynInteger2& counts, int lag = 1) {
  TableStatsRun run = Prepare(setup, counts);
  dynString results, exportRows;
  ComputeGroupStats(run, "S1", lag, results, exportRows);
  return results;
}

// Expected values were worked out apart from this program (with a short
// script following the textbook formulas), then written here. Without any 0
// count no 0.1 is added, so the pair statistics take the counts as they are.
TEST(TableStatistics, PairStatisticsOfAThreeByThreeTableWithoutZeros) {
  TableSetup setup = MakeSetup(TableSetup{}.Givens, TableSetup{}.Targets,
                               {PHI, ODDS, LNOR, XSQ, GSQ, KAPPA, KAPmax});
  const dynString expected = {
      "PHI\tTarget:", "Given:\tAlpha\tBeta\tGamma\tSE\tAlpha\tBeta\tGamma",
      "Alpha\t.33\t-.21\t-.13\t\t.09\t.08\t.09", "Beta\t-.19\t.51\t-.30\t\t.08\t.08\t.08",
      "Gamma\t-.13\t-.29\t.40\t\t.09\t.08\t.08", "",
      "ODDS\tTarget:", "Given:\tAlpha\tBeta\tGamma\t95%CI\tAlpha\tBeta\tGamma",
      "Alpha\t4.53\t0.31\t0.55\t\t1.97-10.45\t0.11-0.87\t0.24-1.29",
      "Beta\t0.40\t10.91\t0.23\t\t0.16-0.97\t4.43-26.87\t0.09-0.57",
      "Gamma\t0.56\t0.21\t5.69\t\t0.25-1.25\t0.08-0.57\t2.57-12.61", "",
      "LNOR\tTarget:", "Given:\tAlpha\tBeta\tGamma\tSE\tAlpha\tBeta\tGamma",
      "Alpha\t1.51\t-1.18\t-0.60\t\t0.43\t0.53\t0.43",
      "Beta\t-0.92\t2.39\t-1.48\t\t0.46\t0.46\t0.47",
      "Gamma\t-0.58\t-1.54\t1.74\t\t0.41\t0.50\t0.41", "",
      "XSQ\t44.43\tdf=4\tp=<.01", "GSQ\t41.78\tdf=4\tp=<.01", "KAPPA\t.41", "KAPmax\t.94",
  };
  EXPECT_EQ(Results(setup, {{20, 5, 10}, {8, 25, 7}, {12, 6, 30}}), expected);
}

// A table of more targets than givens, with the residual code on both
// sides, an empty cell and a thin row; the values come from a separate
// script that follows the textbook formulas.
TEST(TableStatistics, EveryStatisticOfAThreeByFourTableWithTheResidualCode) {
  TableSetup setup = MakeSetup({"A", "B", "&"}, {"X", "Y", "C", "&"}, TableSetup{}.Stats);
  const dynString expected = {
      "JNTF\tTarget:", "Given:\tX\tY\tC\t&\tTotals", "A\t14\t0\t6\t3\t23", "B\t2\t18\t4\t9\t33",
      "&\t5\t7\t1\t22\t35", "Totals\t21\t25\t11\t34\t91", "",
      "EXPF\tTarget:", "Given:\tX\tY\tC\t&", "A\t5.308\t6.319\t2.780\t8.593",
      "B\t7.615\t9.066\t3.989\t12.330", "&\t8.077\t9.615\t4.231\t13.077", "",
      "CONP\tTarget:", "Given:\tX\tY\tC\t&", "A\t.61\t.00\t.26\t.13", "B\t.06\t.55\t.12\t.27",
      "&\t.14\t.20\t.03\t.63", "",
      "RSDL\tTarget:", "Given:\tX\tY\tC\t&", "A\t8.692\t-6.319\t3.220\t-5.593",
      "B\t-5.615\t8.934\t0.011\t-3.330", "&\t-3.077\t-2.615\t-3.231\t8.923", "",
      "ADJR\tTarget:", "Given:\tX\tY\tC\t&", "A\t4.98\t-3.41\t2.38\t-2.79",
      "B\t-2.91\t4.36\t0.01\t-1.50", "&\t-1.57\t-1.26\t-2.14\t3.97", "",
      "PVAL\tTarget:", "Given:\tX\tY\tC\t&", "A\t~<.01\t~<.01\t~.02\t~.01",
      "B\t<.01\t<.01\t.99\t.13", "&\t.12\t.21\t.03\t<.01", "",
      "YULQ\tTarget:", "Given:\tX\tY\tC\t&\tSE\tX\tY\tC\t&",
      "A\t.86\t-1.00\t.63\t-.70\t\t.07\t.00\t.19\t.16",
      "B\t-.77\t.79\t.00\t-.34\t\t.15\t.10\t.32\t.21",
      "&\t-.41\t-.31\t-.76\t.72\t\t.23\t.23\t.19\t.11", "",
      "PHI\tTarget:", "Given:\tX\tY\tC\t&\tSE\tX\tY\tC\t&",
      "A\t.52\t-.36\t.25\t-.29\t\t.10\t.05\t.12\t.08",
      "B\t-.30\t.46\t.00\t-.16\t\t.08\t.10\t.10\t.10",
      "&\t-.16\t-.13\t-.22\t.42\t\t.10\t.10\t.07\t.10", "",
      "ODDS\tTarget:", "Given:\tX\tY\tC\t&\t95%CI\tX\tY\tC\t&",
      "A\t13.56\t0.00\t4.45\t0.18\t\t4.31-42.63\t88.88\t1.21-16.35\t0.05-0.66",
      "B\t0.13\t8.74\t1.00\t0.50\t\t0.03-0.61\t3.07-24.88\t0.27-3.73\t0.20-1.25",
      "&\t0.42\t0.53\t0.14\t6.21\t\t0.14-1.26\t0.19-1.44\t0.02-1.11\t2.43-15.83", "",
      "LNOR\tTarget:", "Given:\tX\tY\tC\t&\tSE\tX\tY\tC\t&",
      "A\t2.61\t-4.90\t1.49\t-1.72\t\t0.58\t3.18\t0.66\t0.67",
      "B\t-2.02\t2.17\t0.00\t-0.70\t\t0.78\t0.53\t0.67\t0.47",
      "&\t-0.88\t-0.64\t-2.00\t1.83\t\t0.57\t0.51\t1.07\t0.48", "",
      "0.1 added to all cells in tables with any 0 counts.", "XSQ\t52.21\tdf=6\tp=<.01",
      "GSQ\t54.54\tdf=6\tp=<.01", "KAPPA\t.20", "KAPmax\t.53",
  };
  EXPECT_EQ(Results(setup, {{14, 0, 6, 3}, {2, 18, 4, 9}, {5, 7, 1, 22}}), expected);
}

TEST(TableStatistics, PerfectAssociationGivesOnesInfinityAndTheZeroCellNote) {
  TableSetup setup = MakeSetup({"A", "B"}, {"A", "B"}, {YULQ, PHI, ODDS, LNOR, KAPPA});
  const dynString expected = {
      "YULQ\tTarget:", "Given:\tA\tB\tSE\tA\tB", "A\t1.00\t-1.00\t\t.00\t.00",
      "B\t-1.00\t1.00\t\t.00\t.00", "",
      "PHI\tTarget:", "Given:\tA\tB\tSE\tA\tB", "A\t1.00\t-1.00\t\t.00\t.00",
      "B\t-1.00\t1.00\t\t.00\t.00", "",
      "ODDS\tTarget:", "Given:\tA\tB\t95%CI\tA\tB", "A\tinfin\t0.00\t\t99.99\t88.88",
      "B\t0.00\tinfin\t\t88.88\t99.99", "",
      "LNOR\tTarget:", "Given:\tA\tB\tSE\tA\tB", "A\t9.41\t-9.41\t\t4.49\t4.49",
      "B\t-9.41\t9.41\t\t4.49\t4.49", "",
      "0.1 added to all cells in tables with any 0 counts.", "KAPPA\t1.00",
  };
  EXPECT_EQ(Results(setup, {{10, 0}, {0, 12}}), expected);
}

TEST(TableStatistics, MarginsBelowTheMinimumLeaveThePairStatisticsUndefined) {
  TableSetup setup =
      MakeSetup({"A", "B"}, {"A", "B"}, {YULQ, PHI, ODDS, LNOR, XSQ, GSQ, KAPPA, KAPmax});
  const dynString expected = {
      "YULQ\tTarget:", "Given:\tA\tB\tSE\tA\tB", "A\tundef\tundef\t\tundef\tundef",
      "B\tundef\tundef\t\tundef\tundef", "",
      "PHI\tTarget:", "Given:\tA\tB\tSE\tA\tB", "A\tundef\tundef\t\tundef\tundef",
      "B\tundef\tundef\t\tundef\tundef", "",
      "ODDS\tTarget:", "Given:\tA\tB\t95%CI\tA\tB", "A\tundef\tundef\t\t88.88\t88.88",
      "B\tundef\tundef\t\t88.88\t88.88", "",
      "LNOR\tTarget:", "Given:\tA\tB\tSE\tA\tB", "A\tundef\tundef\t\tundef\tundef",
      "B\tundef\tundef\t\tundef\tundef", "",
      "XSQ\t1.82\tdf=1\tp=.17", "GSQ\t1.86\tdf=1\tp=.17", "KAPPA\t.26", "KAPmax\t.47",
  };
  // Row A holds 4 pairs, one short of the least margin 5.
  EXPECT_EQ(Results(setup, {{3, 1}, {6, 10}}), expected);
  // With a least margin of 4 the same table has values.
  setup.Options.N2x2Min = 4;
  EXPECT_EQ(Results(setup, {{3, 1}, {6, 10}})[2], "A\t.67\t-.67\t\t.30\t.30");
}

TEST(TableStatistics, PValuesAreMarkedWhereTheRowIsThinOrTheColumnShareExtreme) {
  TableSetup setup = MakeSetup({"A", "B"}, {"X", "Y"}, {ADJR, PVAL});
  // Row A holds 29 pairs; column X holds exactly 0.1 and Y 0.9 of the 100.
  const dynString expected = {
      "ADJR\tTarget:", "Given:\tX\tY", "A\t1.54\t-1.54", "B\t-1.54\t1.54", "",
      "PVAL\tTarget:", "Given:\tX\tY", "A\t~.12\t~.12", "B\t.12\t.12", "",
  };
  EXPECT_EQ(Results(setup, {{5, 24}, {5, 66}}), expected);
  // A share just below 0.1 (and so one above 0.9) is marked even in full rows.
  const dynString marked = Results(setup, {{5, 25}, {4, 66}});
  EXPECT_EQ(marked[7], "A\t~.08\t~.08");
  EXPECT_EQ(marked[8], "B\t~.08\t~.08");
}

TEST(TableStatistics, NoDecimalsShortenSentinelsButNotProbabilities) {
  TableSetup setup = MakeSetup({"A", "B"}, {"A", "B"}, {EXPF, PVAL, ODDS, XSQ, KAPPA});
  setup.NDigits = 0;
  const dynString perfect = {
      "EXPF\tTarget:", "Given:\tA\tB", "A\t4.5\t5.5", "B\t5.5\t6.5", "",
      "PVAL\tTarget:", "Given:\tA\tB", "A\t~<.01\t~<.01", "B\t~<.01\t~<.01", "",
      "ODDS\tTarget:", "Given:\tA\tB\t95%CI\tA\tB", "A\tinfin\t0\t\t99.\t88.",
      "B\t0\tinfin\t\t88.\t99.", "",
      "XSQ\t22\tdf=1\tp=<.01", "KAPPA\t1",
  };
  EXPECT_EQ(Results(setup, {{10, 0}, {0, 12}}), perfect);
  const dynString weak = {
      "EXPF\tTarget:", "Given:\tA\tB", "A\t7.1\t4.9", "B\t5.9\t4.1", "",
      "PVAL\tTarget:", "Given:\tA\tB", "A\t~.94\t~.94", "B\t~.94\t~.94", "",
      "ODDS\tTarget:", "Given:\tA\tB\t95%CI\tA\tB", "A\t1\t1\t\t0-5\t0-6", "B\t1\t1\t\t0-6\t0-5",
      "",
      "XSQ\t0\tdf=1\tp=.90",
      "KAPPA\t",  // -0.03 rounds to "0", whose zero is dropped
  };
  EXPECT_EQ(Results(setup, {{7, 5}, {6, 4}}), weak);
}

TEST(TableStatistics, EventLagOneWithAnEmptyDiagonalFitsStructuralZeros) {
  TableSetup setup = MakeSetup({"A", "B", "C"}, {"A", "B", "C"}, {EXPF, XSQ, GSQ});
  setup.DataType = Event;
  const dynInteger2 counts = {{0, 12, 5}, {9, 0, 14}, {7, 11, 0}};
  const dynString fitted = {
      "EXPF\tTarget:", "Given:\tA\tB\tC", "A\t0.000\t10.740\t6.260", "B\t10.256\t0.000\t12.744",
      "C\t5.747\t12.253\t0.000", "",
      "XSQ\t1.08\tdf=1\tp=.30", "GSQ\t1.08\tdf=1\tp=.30",
  };
  const dynString independent = {
      "EXPF\tTarget:", "Given:\tA\tB\tC", "A\t4.690\t6.741\t5.569", "B\t6.345\t9.121\t7.534",
      "C\t4.966\t7.138\t5.897", "",
      "XSQ\t33.45\tdf=4\tp=<.01", "GSQ\t50.72\tdf=4\tp=<.01",
  };
  EXPECT_EQ(Results(setup, counts, 1), fitted);
  EXPECT_EQ(Results(setup, counts, -1), fitted);
  EXPECT_EQ(Results(setup, counts, 2), independent);
  setup.DataType = Multi;
  EXPECT_EQ(Results(setup, counts, 1), fitted);
  setup.DataType = Timed;
  EXPECT_EQ(Results(setup, counts, 1), independent);
  setup.DataType = Event;
  setup.Options.ELag1SZ = false;
  EXPECT_EQ(Results(setup, counts, 1), independent);
  // One diagonal count is enough to fall back on independence.
  setup.Options.ELag1SZ = true;
  EXPECT_EQ(Results(setup, {{1, 12, 5}, {9, 0, 14}, {7, 11, 0}}, 1)[6].substr(0, 15),
            "XSQ\t31.40\tdf=4\t");
}

TEST(TableStatistics, ExpectedCountsAndResidualsShowDecimalsByTheTimeUnit) {
  TableSetup setup = MakeSetup({"A", "B", "C"}, {"A", "B", "C"}, {EXPF, RSDL});
  setup.TimeUnitIndex = 1;
  setup.ExportBox = ExportEachRun;
  const dynString expected = {
      "EXPF\tTarget:", "Given:\tA\tB\tC", "A\t11.38\t10.24\t13.37", "B\t13.01\t11.71\t15.28",
      "C\t15.61\t14.05\t18.34", "",
      "RSDL\tTarget:", "Given:\tA\tB\tC", "A\t8.62\t-5.24\t-3.37", "B\t-5.01\t13.29\t-8.28",
      "C\t-3.61\t-8.05\t11.66", "",
  };
  TableStatsRun run = Prepare(setup, {{20, 5, 10}, {8, 25, 7}, {12, 6, 30}});
  dynString results, exportRows;
  ComputeGroupStats(run, "S1", 1, results, exportRows);
  EXPECT_EQ(results, expected);
  ASSERT_EQ(exportRows.size(), 9u);
  EXPECT_EQ(exportRows[0], "S1\tA\tA\t11.38\t8.62");
  EXPECT_EQ(exportRows[8], "S1\tC\tC\t18.34\t11.66");
}

TEST(TableStatistics, AnEmptyTableGivesZerosAndNoDegreesOfFreedom) {
  TableSetup setup = MakeSetup({"A", "B"}, {"A", "B"},
                           {EXPF, CONP, ADJR, PVAL, YULQ, XSQ, GSQ, KAPPA, KAPmax});
  const dynString expected = {
      "EXPF\tTarget:", "Given:\tA\tB", "A\t0.000\t0.000", "B\t0.000\t0.000", "",
      "CONP\tTarget:", "Given:\tA\tB", "A\t.00\t.00", "B\t.00\t.00", "",
      "ADJR\tTarget:", "Given:\tA\tB", "A\t0.00\t0.00", "B\t0.00\t0.00", "",
      "PVAL\tTarget:", "Given:\tA\tB", "A\t~1.00\t~1.00", "B\t~1.00\t~1.00", "",
      "YULQ\tTarget:", "Given:\tA\tB\tSE\tA\tB", "A\tundef\tundef\t\tundef\tundef",
      "B\tundef\tundef\t\tundef\tundef", "",
      "XSQ\t0.00", "GSQ\t0.00", "KAPPA\t.00", "KAPmax\t.00",
  };
  EXPECT_EQ(Results(setup, {{0, 0}, {0, 0}}), expected);
}

TEST(TableStatistics, KappaNeedsATargetColumnForEveryGiven) {
  TableSetup setup = MakeSetup({"A", "B", "C"}, {"A", "B"}, {KAPPA});
  EXPECT_EQ(Results(setup, {{5, 1}, {2, 6}, {3, 3}}), (dynString{"KAPPA\tundef"}));
  // More targets than givens: pairs with target C disagree. Of N = 30
  // pairs 11 agree (Po = 11/30); row totals 10, 20 and column totals 7, 7
  // give Pe = (10 x 7 + 20 x 7) / 900 = 7/30, so kappa = (11 - 7) / (30 - 7)
  // = .174; the largest agreement the margins allow is 14/30, so KAPmax =
  // (14 - 7) / 23 = .304, and kappa never exceeds it.
  setup.Givens = {"A", "B"};
  setup.Targets = {"A", "B", "C"};
  setup.Stats = {KAPPA, KAPmax};
  EXPECT_EQ(Results(setup, {{5, 1, 4}, {2, 6, 12}}), (dynString{"KAPPA\t.17", "KAPmax\t.30"}));
  // No pair with an extra target: the plain kappa of the square, 1 - 3/7.
  EXPECT_EQ(Results(setup, {{5, 1, 0}, {2, 6, 0}}), (dynString{"KAPPA\t.57", "KAPmax\t.86"}));
}

TEST(TableStatistics, MarginsBeyondTheCountRangeEndTheCommand) {
  TableSetup setup = MakeSetup({"A", "B"}, {"A", "B"}, {JNTF});
  EXPECT_THROW(Results(setup, {{2'000'000'000, 0}, {2'000'000'000, 0}}), CommandError);
  EXPECT_THROW(Results(setup, {{2'000'000'000, 2'000'000'000}, {0, 0}}), CommandError);
}

TEST(TableStatistics, LongNamesAreCutAndRepeatedInFull) {
  TableSetup setup = MakeSetup({"Alpha", "&"}, {"Beta", "&"}, {JNTF});
  TableStatsRun run = Prepare(setup, {{1, 2}, {3, 4}});
  run.GivenNames[1] = "Alphabetic";  // as if the code had a long name
  run.TargetNames[1] = "Betamaxes";
  run.CodesGT7C = true;
  dynString results, exportRows;
  ComputeGroupStats(run, "S1", 1, results, exportRows);
  const dynString expected = {
      "JNTF\tTarget:", "Given:\tBetamax\t&\tTotals\tGiven:", "Alphabe\t1\t2\t3\tAlphabetic",
      "&\t3\t4\t7\t&", "Totals\t4\t6\t10", "",
  };
  EXPECT_EQ(results, expected);
}

struct ExportCase {
  const char* Name;
  dynString Givens, Targets;
  std::vector<int> Stats;
  const char* Header;
  dynString Rows;
};

TEST(TableStatistics, ExportRowsForTheThreeShapesOfTable) {
  const dynInteger2 counts = {{10, 0, 0}, {0, 12, 3}, {2, 2, 9}};
  const ExportCase cases[] = {
      {"table statistics only", {"A", "B"}, {"A", "B"}, {XSQ, KAPPA},
       "session\tXSQ\tKAPPA", {"S1\t22.00\t1.00"}},
      {"2x2 statistics of a 2x2 table", {"A", "B"}, {"A", "B"}, {YULQ, ODDS, GSQ},
       "session\tYULQ\tODDS\tGSQ", {"S1\t1.00\t99.99\t30.32"}},
      {"cell statistics", {"A", "B"}, {"A", "B"}, {JNTF, CONP, XSQ},
       "session\tGiven\tTarget\tJNTF\tCONP\tXSQ",
       {"S1\tA\tA\t10\t1.00\t22.00", "S1\tA\tB\t0\t0.00", "S1\tB\tA\t0\t0.00",
        "S1\tB\tB\t12\t1.00"}},
      {"2x2 statistics of a larger table", {"A", "B", "C"}, {"A", "B"}, {PHI},
       "session\tGiven\tTarget\tPHI",
       {"S1\tA\tA\t0.85", "S1\tA\tB\t-0.85", "S1\tB\tA\t-0.86", "S1\tB\tB\t0.86",
        "S1\tC\tA\t88.88", "S1\tC\tB\t88.88"}},
  };
  for (const ExportCase& c : cases) {
    TableSetup setup = MakeSetup(c.Givens, c.Targets, c.Stats);
    setup.ExportBox = ExportAfterClosing;
    setup.ResultsBox = DontDisplayResults;
    dynInteger2 table;
    for (std::size_t i = 0; i < c.Givens.size(); ++i)
      table.emplace_back(counts[i].begin(), counts[i].begin() + long(c.Targets.size()));
    TableStatsRun run = Prepare(setup, table);
    dynString results, exportRows;
    ComputeGroupStats(run, "S1", 1, results, exportRows);
    EXPECT_TRUE(results.empty()) << c.Name;
    EXPECT_EQ(ExportHeaderRow(run, "session"), c.Header) << c.Name;
    EXPECT_EQ(exportRows, c.Rows) << c.Name;
  }
}

TEST(PrepareRun, ChecksTheSelectionInTheOrderTheUserMeetsIt) {
  struct Case {
    const char* Name;
    dynString Givens, Targets;
    int LagFrom, LagTo;
    bool AnyStat;
    const char* Notice;  // nullptr: the RUN goes on
    bool PoolAsked;
  };
  const Case cases[] = {
      {"no givens", {}, {"A"}, 0, 0, true, "Select given and target codes.", false},
      {"no targets", {"A"}, {}, 0, 0, true, "Select given and target codes.", false},
      {"lags reversed", {"A"}, {"B"}, 2, 1, true, "Make 1st lag less or equal 2nd lag", true},
      {"no statistic", {"A"}, {"B"}, -1, 1, false, "Check some statistics.", true},
      {"ready", {"A", "&"}, {"B"}, -1, 1, true, nullptr, true},
  };
  for (const Case& c : cases) {
    TableStatsRequest request;
    request.GivenCodes = c.Givens;
    request.TargetCodes = c.Targets;
    request.LagFrom = c.LagFrom;
    request.LagTo = c.LagTo;
    request.StatChecked[GSQ - 1] = c.AnyStat;
    ScriptedDialogue dialogue;
    if (c.Notice) dialogue.Then(Answer::Ok);
    bool poolAsked = false;
    TableStatsRun run;
    const bool ok = PrepareRun(request, {}, RunFrame{}, CodeNames, 8, Timed, 0, dialogue,
                               [&] { poolAsked = true; }, run);
    EXPECT_EQ(ok, c.Notice == nullptr) << c.Name;
    EXPECT_EQ(poolAsked, c.PoolAsked) << c.Name;
    if (c.Notice) {
      ASSERT_EQ(dialogue.Shown.size(), 1u) << c.Name;
      EXPECT_EQ(dialogue.Shown[0].Text, c.Notice);
    } else {
      EXPECT_EQ(run.GivenIdx, (dynInteger{0, 4, 0}));
      EXPECT_EQ(run.TargetIdx, (dynInteger{0, 5}));
      EXPECT_EQ(run.FreqTable.size(), 3u);
      EXPECT_EQ(run.FreqTable[0].size(), 2u);
    }
  }
}

}  // namespace
}  // namespace vork
