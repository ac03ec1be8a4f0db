#include "analysis/plot_mds.h"

#include <gtest/gtest.h>

#include <random>

#include "core/command_error.h"
#include "core/results_format.h"
#include "tests/analysis/compiled_kelp.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::CompileKelp;
using testing::CompiledKelp;
using testing::ScriptedDialogue;

RunOutput Plot(const CompiledKelp& file, PlotChoices& choices, const RunFrame& frame,
               ScriptedDialogue& dialogue) {
  RunOutput output;
  EXPECT_TRUE(RunPlotMds(file.Lines, file.Header.LineIndex, file.Header, frame, choices,
                         dialogue, output));
  return output;
}

dynString Plot(const std::string& text, PlotChoices choices) {
  ScriptedDialogue dialogue;
  return Plot(CompileKelp(text), choices, RunFrame(), dialogue).ResultLines;
}

// A label line of groups of ten units from time `from` (plain units), after
// an indent of two blanks.
std::string Labels(int from, int groups) {
  std::string line = "  ";
  for (int k = 0; k < groups; ++k) {
    std::string label = std::to_string(from + 10 * k);
    line += label + std::string(10 - label.size(), ' ');
  }
  return line;
}

std::string Ruler(int groups) {
  std::string line = "  ";
  for (int k = 0; k < groups; ++k) line += "|----+----";
  return line;
}

std::string Repeat(int n, char c) { return std::string(std::size_t(n), c); }

TEST(PlotMds, WholeBlocks) {
  struct Case {
    const char* What;
    const char* Text;
    PlotChoices Choices;
    dynString Expected;
  };
  // A 25-character code name.
  const std::string longName = "AbcdefghijKlmnopqrstUvwxy";
  const std::string indent(21, ' ');
  const std::string longText = "Event " + longName + " B * grp(x y);\n<s1> (y) " + longName +
                               " ; " + longName + " B/ <s2> (x) B/";
  // Code A on from 0 to 150 of 250 units.
  const char* const longTimed = "Timed A;\n<long> A,0-150 ,250/";
  const Case cases[] = {
      {"Event data: a lead '.', labels from 0; an empty symbol shows '?'", "Event A B;\nA B A/",
       {{"A", "B"}, {"a", ""}, "100", '+'},
       {"#1\t<#1>", "1st=1\tlast=3\t#units=3", "", "  0         ", "  |----+----", "A .a a......",
        "B . ? ......", ""}},
      {"line length 5 plots 10 units per block; the label time carries on",
       "Event A;\nA A A A A A A A A A A A/", {{"A"}, {"A"}, "5", '+'},
       {"#1\t<#1>", "1st=1\tlast=12\t#units=12", "", "  0         ", "  |----+----", "A .AAAAAAAAA",
        "", "  10        ", "  |----+----", "A AAA.......", ""}},
      {"Timed data from 20:34: labels from 20:30, four leading '.', '=' continues (the run options' third plot character)",
       "Timed A;\n<s> A,20:34-20:36 ,20:40/", {{"A"}, {"A"}, "120", '='},
       {"#1\t<s>", "1st=20:34\tlast=20:40\t#units=6", "", "  20:30     ", "  |----+----",
        "A ....A=    ", ""}},
      {"a label of ten characters takes 20 columns and the next group's place",
       "Timed A;\nA,100000.000-100000.005 ,100000.025/", {{"A"}, {"A"}, "100", '+'},
       {"#1\t<#1>", "1st=100000.000\tlast=100000.025\t#units=25", "",
        "  100000.000          100000.020          ", "  |----+----|----+----|----+----",
        "A A++++" + Repeat(20, ' ') + ".....", ""}},
      {"line length 95 plots 100 units per block", longTimed, {{"A"}, {"A"}, "95", '+'},
       {"#1\t<long>", "1st=0\tlast=250\t#units=250", "",
        Labels(0, 10), Ruler(10), "A A" + Repeat(99, '+'), "",
        Labels(100, 10), Ruler(10), "A " + Repeat(50, '+') + Repeat(50, ' '), "",
        Labels(200, 5), Ruler(5), "A " + Repeat(50, ' '), ""}},
      {"line length 500 plots 200 units per block", longTimed, {{"A"}, {"A"}, "500", '+'},
       {"#1\t<long>", "1st=0\tlast=250\t#units=250", "",
        Labels(0, 20), Ruler(20), "A A" + Repeat(149, '+') + Repeat(50, ' '), "",
        Labels(200, 5), Ruler(5), "A " + Repeat(50, ' '), ""}},
      {"a 25-character name cut to 20; level and segment lines", longText.c_str(),
       {{longName, "B"}, {"L", "B"}, "100", '+'},
       {"#1\t<s1>", "Levls=\ty", "Sgmt#1\t1st=1\tlast=1\t#units=1", "",
        indent + "0         ", indent + "|----+----",
        "AbcdefghijKlmnopqrst .L........", "B                    . ........", "",
        "Sgmt#2\t1st=1\tlast=2\t#units=2", "",
        indent + "0         ", indent + "|----+----",
        "AbcdefghijKlmnopqrst .L .......", "B                    . B.......", "",
        "#2\t<s2>", "Levls=\tx", "1st=1\tlast=1\t#units=1", "",
        indent + "0         ", indent + "|----+----",
        "AbcdefghijKlmnopqrst . ........", "B                    .B........", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(Plot(c.Text, c.Choices), c.Expected) << c.What;
}

TEST(PlotMds, LineLengthIsHeldAndRoundedUp) {
  const std::pair<const char*, int> cases[] = {
      {"95", 100}, {"5", 10}, {"500", 200}, {" 120 ", 120}, {"101", 110}, {"-30", 10},
      {"99999999999", 200}};
  for (const auto& [text, units] : cases) EXPECT_EQ(UnitsPerLine(text), units) << text;
  for (const char* text : {"abc", "", "9.5", "1 2"}) {
    try {
      UnitsPerLine(text);
      ADD_FAILURE() << text;
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), "The line length \"" + std::string(text) + "\" is not a whole number.");
    }
  }
}

TEST(PlotMds, WrittenWhateverTheResultsBoxSays) {
  CompiledKelp file = CompileKelp("Event A;\nA/");
  PlotChoices choices{{"A"}, {"Ax", "q"}, "100", '+'};
  RunFrame frame;
  frame.ResultsBox = DontDisplayResults;
  frame.FirstRun = true;
  frame.FileName = "C:/data/obs.mds";
  ScriptedDialogue dialogue;
  RunOutput output = Plot(file, choices, frame, dialogue);
  EXPECT_EQ(output.ResultLines,
            (dynString{"", "File:\tobs.mds", "Made:\t\tMDS file saved by KELP compiler Version 5.1 NOW",
                       "Type:\tEvent", "Units:\tevents", "", "#1\t<#1>", "1st=1\tlast=1\t#units=1", "",
                       "  0         ", "  |----+----", "A .A........", ""}));
  EXPECT_FALSE(output.ClearResults);
  EXPECT_EQ(choices.Markers, (dynString{"A", "q"}));  // normalized, as the window then shows them
  // By session: the share of the file's lines read (the last read is line 7 of 8: 87.5 rounds to even).
  EXPECT_EQ(dialogue.ProgressCalls, (std::vector<std::pair<int, int>>{{0, 100}, {88, 100}}));

  frame.ResultsBox = OverwriteResults;
  EXPECT_TRUE(Plot(file, choices, frame, dialogue).ClearResults);
}

TEST(PlotMds, RefusedRunsWriteNothing) {
  CompiledKelp file = CompileKelp("Event A;\nA/");
  ScriptedDialogue dialogue;
  dialogue.Then(Answer::Ok);
  RunOutput output;
  PlotChoices none{{}, {}, "100", '+'};
  PlotChoices wide{{"A"}, {"A"}, "wide", '+'};
  EXPECT_FALSE(RunPlotMds(file.Lines, file.Header.LineIndex, file.Header, RunFrame(), none,
                          dialogue, output));
  ASSERT_EQ(dialogue.Shown.size(), 1u);
  EXPECT_EQ(dialogue.Shown[0].Text, "Select one or more codes to plot.");
  EXPECT_THROW(RunPlotMds(file.Lines, file.Header.LineIndex, file.Header, RunFrame(), wide,
                          dialogue, output),
               CommandError);
  EXPECT_FALSE(output.Started);
  EXPECT_TRUE(output.ResultLines.empty());
}

// The plot of one segment as the rules read, one unit at a time; rows hold
// one cell per picked code and unit ('.', '1', '2').
dynString ModelPlot(const std::vector<std::string>& rows, const dynString& names, const std::string& symbols,
                    std::uint32_t base, int units, int perLine, int labelFormat, int timeUnitIndex) {
  dynString out;
  std::vector<std::string> text(rows.size());
  std::uint32_t labelTime = base / 10 * 10;
  const int lead = int(base - labelTime);
  for (std::string& row : text) row = std::string(std::size_t(lead), '.');
  int column = lead - 1;
  bool skip = false;
  auto writeBlock = [&] {
    const int groups = (column + 10) / 10;
    std::string labels = "  ", ruler = "  ";
    for (int k = 0; k < groups; ++k, labelTime += 10) {
      ruler += "|----+----";
      if (skip) {
        skip = false;
        continue;
      }
      std::string label = FormatTime(labelTime, labelFormat, timeUnitIndex);
      skip = label.size() >= 10;
      labels += label + std::string((skip ? 20 : 10) - label.size(), ' ');
    }
    out.push_back(labels);
    out.push_back(ruler);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      while (column < perLine - 1 && int(text[i].size()) <= column / 10 * 10 + 9) text[i] += '.';
      out.push_back(names[i] + " " + text[i]);
      text[i].clear();
    }
    out.push_back("");
    column = -1;
  };
  for (int t = 0; t < units; ++t) {
    ++column;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const char cell = rows[i][std::size_t(t)];
      text[i] += cell == '2' ? symbols[i] : cell == '1' ? '*' : ' ';
    }
    if (column == perLine - 1) writeBlock();
  }
  if (column > -1) writeBlock();
  return out;
}

TEST(PlotMds, AgreesWithTheRulesOnRandomSegments) {
  std::mt19937 random(21);
  for (int trial = 0; trial < 300; ++trial) {
    const bool timed = random() % 2 == 0;
    const int nCodes = 1 + int(random() % 4);
    const int units = int(random() % 260);
    const int timeUnitIndex = timed ? int(random() % 4) : 0;
    const int timeFormat = timed ? (timeUnitIndex > 0 ? 4 : 1 + int(random() % 3)) : 0;
    const std::uint32_t start = timed ? std::uint32_t(random() % 2000000000u) : 1;
    const std::vector<std::string> cells = testing::RandomCells(random, nCodes, units);
    dynString names;
    for (int c = 0; c < nCodes; ++c) names.push_back(std::string(1, char('a' + c)));
    CompiledKelp file = testing::OneSegmentFile(
        timed ? Timed : Event, std::to_string(timeFormat) + "\t" + std::to_string(timeUnitIndex) + "\tseconds",
        start, timed ? start + std::uint32_t(units) : 0, names, cells);
    ScriptedDialogue dialogue;

    PlotChoices choices;
    choices.PlotChar = '*';
    std::vector<std::string> picked;
    std::string symbols;
    for (int c = nCodes - 1; c >= 0; --c) {  // picked against code order
      if (random() % 3 == 0 && !picked.empty()) continue;
      choices.PickedCodes.push_back(std::string(1, char('a' + c)));
      choices.Markers.push_back(std::string(1, char('P' + picked.size())) + "x");
      symbols += char('P' + picked.size());
      picked.push_back(cells[std::size_t(c)]);
    }
    const int perLine = 10 * (1 + int(random() % 20));
    choices.LineLength = std::to_string(perLine);

    dynString expected = {"#1\t<s>",
                          "1st=" + FormatTime(start, timeFormat == 0 ? 1 : timeFormat, timeUnitIndex) +
                              "\tlast=" +
                              FormatTime(timed ? start + units : units, timeFormat == 0 ? 1 : timeFormat,
                                         timeUnitIndex) +
                              "\t#units=" + std::to_string(units),
                          ""};
    for (const std::string& line : ModelPlot(picked, choices.PickedCodes, symbols, start, units, perLine,
                                             timed ? timeFormat : 1, timeUnitIndex)) {
      expected.push_back(line);
    }
    dynString plotted = Plot(file, choices, RunFrame(), dialogue).ResultLines;
    ASSERT_EQ(plotted, expected) << "trial " << trial;
  }
}

}  // namespace
}  // namespace vork
