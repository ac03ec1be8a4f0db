// The joint frequencies of the table statistics compared with a small model
// of the lagged tally on thousands of generated compiled files.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/table_stats.h"
#include "core/mds_reader.h"
#include "tests/analysis/model_files.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::ModelFile;
using testing::ModelSegment;

// Codes are given by their index into the file's codes; -1 is "&".
using CodeList = std::vector<int>;

// The list item on at unit u: the first listed code on there, else "&"
// when it ends the list; -1 when the unit counts nowhere.
int ItemAt(const ModelSegment& seg, const CodeList& list, int u) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] >= 0 && seg.Rows[list[i]][u] != '.') return static_cast<int>(i);
  return !list.empty() && list.back() < 0 ? static_cast<int>(list.size()) - 1 : -1;
}

std::string Short(const ModelFile& f, int code) { return code < 0 ? "&" : f.Codes[code].substr(0, 7); }

// The JNTF table of one group at one lag, with its empty line.
dynString JointTable(const ModelFile& f, const std::vector<const ModelSegment*>& segments, const CodeList& givens,
                     const CodeList& targets, int lag) {
  std::vector<std::vector<long>> n(givens.size(), std::vector<long>(targets.size()));
  for (const ModelSegment* seg : segments) {
    const int units = static_cast<int>(seg->Rows[0].size());
    for (int u = std::max(0, -lag); u <= std::min(units - 1, units - 1 - lag); ++u) {
      const int row = ItemAt(*seg, givens, u), column = ItemAt(*seg, targets, u + lag);
      if (row >= 0 && column >= 0) ++n[row][column];
    }
  }
  bool longGivens = false;
  for (int g : givens) longGivens |= g >= 0 && f.Codes[g].size() > 7;
  dynString lines{"JNTF\tTarget:", "Given:"};
  for (int t : targets) lines.back() += "\t" + Short(f, t);
  lines.back() += std::string("\tTotals") + (longGivens ? "\tGiven:" : "");
  std::vector<long> columnTotals(targets.size());
  long total = 0;
  for (std::size_t i = 0; i < givens.size(); ++i) {
    std::string line = Short(f, givens[i]);
    long rowTotal = 0;
    for (std::size_t j = 0; j < targets.size(); ++j) {
      line += "\t" + std::to_string(n[i][j]);
      rowTotal += n[i][j];
      columnTotals[j] += n[i][j];
    }
    total += rowTotal;
    line += "\t" + std::to_string(rowTotal);
    if (longGivens) line += "\t" + (givens[i] < 0 ? std::string("&") : f.Codes[givens[i]]);
    lines.push_back(line);
  }
  lines.push_back("Totals");
  for (long c : columnTotals) lines.back() += "\t" + std::to_string(c);
  lines.back() += "\t" + std::to_string(total);
  lines.push_back("");
  return lines;
}

CodeList RandomList(const ModelFile& f, std::mt19937& random) {
  CodeList list;
  for (int c = 0; c < static_cast<int>(f.Codes.size()); ++c)
    if (random() % 2 == 0) list.insert(list.begin() + random() % (list.size() + 1), c);
  if (list.empty() || random() % 2 == 0) list.push_back(-1);
  return list;
}

TEST(TableStatsModel, JointFrequenciesAgreeOnGeneratedFiles) {
  std::mt19937 random(12072026);
  for (int run = 0; run < 500; ++run) {
    const ModelFile f = testing::RandomFile(random);
    const CodeList givens = RandomList(f, random), targets = RandomList(f, random);
    int lag = static_cast<int>(random() % 7) - 3;
    if (lag == 0 && f.DataType == Event) lag = 1;
    const bool pool = random() % 2 == 0;

    std::vector<std::vector<const ModelSegment*>> groups;
    for (const auto& session : f.Sessions) {
      if (groups.empty() || !pool) groups.emplace_back();
      for (const auto& seg : session) groups.back().push_back(&seg);
    }
    dynString expected;
    for (const auto& group : groups) {
      const dynString table = JointTable(f, group, givens, targets, lag);
      expected.insert(expected.end(), table.begin(), table.end());
    }

    const dynString lines = testing::FileLines(f, random);
    vork::testing::ScriptedDialogue dialogue;
    dialogue.AnswerOkWhenUnscripted = true;  // segments too short for the lag
    MdsHeader header;
    ASSERT_TRUE(ReadMdsHeaderFromLines(lines, "model.mds", header, dialogue));
    TableStatsRequest request;
    for (int g : givens) request.GivenCodes.push_back(g < 0 ? "&" : f.Codes[g]);
    for (int t : targets) request.TargetCodes.push_back(t < 0 ? "&" : f.Codes[t]);
    request.LagFrom = request.LagTo = lag;
    request.StatChecked[JNTF - 1] = true;
    PoolingChoices pooling;
    pooling.PoolOverSessions = pool;
    PoolingGroups groupsState;
    RunOutput output;
    ASSERT_TRUE(RunTableStats(request, TableStatsOptions{}, RunFrame{}, header, lines, header.LineIndex, pooling,
                              groupsState, output, dialogue));
    // Each JNTF table: from its heading through its empty line.
    dynString actual;
    bool inTable = false;
    for (const std::string& line : output.ResultLines) {
      inTable = inTable || line == "JNTF\tTarget:";
      if (inTable) actual.push_back(line);
      if (line.empty()) inTable = false;
    }
    std::string file;
    for (const auto& line : lines) file += line + "\n";
    ASSERT_EQ(actual, expected) << "lag " << lag << "\n" << file;
  }
}

}  // namespace
}  // namespace vork
