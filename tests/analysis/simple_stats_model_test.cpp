// The simple statistics compared with a small model of their definition on
// thousands of generated compiled files. The model writes the files itself
// (plain data lines) and counts the statistics its own way.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "analysis/simple_stats.h"
#include "core/mds_reader.h"
#include "tests/analysis/model_files.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::FileLines;
using testing::ModelFile;
using testing::ModelSegment;
using testing::RandomFile;

// Fixed notation: the value taken to 15 significant digits, then rounded
// with halves away from zero, as a reader of printed tables expects.
std::string Fixed(double v, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", std::fabs(v));
  const std::string mantissa = std::string(1, text[0]) + std::string(text + 2, 14);
  const int shift = std::atoi(std::strchr(text, 'e') + 1) - 14 + decimals;  // |v| * 10^decimals = mantissa * 10^shift
  unsigned long long n = std::stoull(mantissa);
  if (shift >= 0) {
    for (int i = 0; i < shift; ++i) n *= 10;
  } else if (shift < -16) {
    n = 0;
  } else {
    unsigned long long p = 1;
    for (int i = 0; i < -shift; ++i) p *= 10;
    n = n / p + (n % p >= (p + 1) / 2 ? 1 : 0);
  }
  std::string s = std::to_string(n);
  while (static_cast<int>(s.size()) <= decimals) s = "0" + s;
  if (decimals > 0) s.insert(s.size() - decimals, ".");
  return (v < 0 && n != 0 ? "-" : "") + s;
}

std::string NoLeadingZero(std::string s) { return s.rfind("0.", 0) == 0 ? s.substr(1) : s; }

// Whole time units as seconds with the file's decimals.
std::string Ticks(std::int64_t units, int decimals) {
  std::string s = std::to_string(units);
  if (decimals == 0) return s;
  while (static_cast<int>(s.size()) < decimals + 1) s = "0" + s;
  return s.insert(s.size() - decimals, ".");
}

// The result lines of one group after its title, and its export cells.
struct ModelGroup {
  dynString Lines;
  dynString ExportCells;
};

ModelGroup ModelResults(const ModelFile& f, const std::vector<const ModelSegment*>& segments,
                        const std::vector<int>& picked, const std::array<bool, 19>& on, int rateFactor,
                        int nDigits) {
  const int np = static_cast<int>(picked.size()), d = f.TimeUnitIndex;
  const bool estimate = f.IntervalUnitMark > 0 && f.IntervalUnitMark + f.IntervalDuration > 2;
  std::vector<std::int64_t> freq(np + 1), dur(np + 1);
  // Per kind (0 durations, 1 gaps, 2 between onsets, 3 latencies) and code.
  std::vector<std::array<std::int64_t, 4>> count(np), sum(np), low(np), high(np);
  for (auto& a : low) a.fill(INT32_MAX);
  for (auto& a : high) a.fill(-INT32_MAX);
  std::int64_t totalUnits = 0, totalTime = 0;
  for (const ModelSegment* seg : segments) {
    const int units = static_cast<int>(seg->Rows[0].size());
    const std::uint32_t stop = seg->Stop == 0 ? units + 1 : seg->Stop;
    totalUnits += units;
    totalTime += stop - seg->Start;
    for (int i = 0; i < np; ++i) {
      const std::string& row = seg->Rows[picked[i]];
      const auto add = [&](int kind, std::int64_t v) {
        ++count[i][kind];
        sum[i][kind] += v;
        low[i][kind] = std::min(low[i][kind], v);
        high[i][kind] = std::max(high[i][kind], v);
      };
      int lastOnset = -1, lastEnd = 0;
      for (int t = 0; t < units; ++t) {
        freq[i + 1] += row[t] == '2';
        dur[i + 1] += row[t] != '.';
        if (t > 0 && row[t - 1] != '.' && row[t] != '1') {
          add(0, t - lastOnset);
          lastEnd = t;
        }
        if (row[t] == '2') {
          if (lastOnset < 0) {
            add(3, t);
          } else {
            add(1, t - lastEnd);
            add(2, t - lastOnset);
          }
          lastOnset = t;
        }
        if (t == units - 1 && row[t] != '.') add(0, units - lastOnset);
      }
    }
  }
  for (int i = 1; i <= np; ++i) {
    freq[0] += freq[i];
    dur[0] += dur[i];
  }
  const auto ratio = [&](std::int64_t a, std::int64_t b) {
    return b > 0 ? NoLeadingZero(Fixed(double(a) / double(b), nDigits)) : std::string("0");
  };
  const auto rate = [&](std::int64_t fr, std::int64_t time) {
    if (time <= 0) return std::string("0");
    const double seconds = f.IntervalUnitMark > 0 ? double(time) * f.IntervalDuration : time / std::pow(10.0, d);
    // Five significant digits, trailing zeros and a bare point dropped.
    const double value = fr / seconds * rateFactor;
    // Beyond five digits before the point: exponent form (E, sign, two digits).
    if (value == 0) return std::string("0");
    const int e = static_cast<int>(std::floor(std::log10(value)));
    std::string text = e < 5 ? Fixed(value, std::max(0, 4 - e)) : Fixed(value / std::pow(10.0, e), 4);
    if (text.find('.') != std::string::npos) {
      while (text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
    }
    return e < 5 ? text : text + "E+" + (e < 10 ? "0" : "") + std::to_string(e);
  };
  ModelGroup g;
  bool longNames = false;
  for (int c : picked) longNames |= f.Codes[c].size() > 7;
  if (on[3])
    g.Lines.push_back("Rate: #/" + std::to_string(rateFactor) + " " +
                      (f.DataType == Timed || f.DataType == State ? f.TimeUnitLabel : "seconds"));
  std::string header = "Codes:";
  for (int k = 1; k <= 18; ++k)
    if (on[k]) header += std::string("\t") + (k == 4 && estimate ? "dura\testD" : StatLabels[k]);
  g.Lines.push_back(header + (longNames ? "\tCodes" : ""));
  double relf = 0, reld = 0, prob = 0;
  for (int i = 0; i < np; ++i) {
    std::vector<std::string> cells;
    const auto put = [&](int k, std::string cell) {
      if (on[k]) cells.push_back(std::move(cell));
    };
    put(1, std::to_string(freq[i + 1]));
    put(2, ratio(freq[i + 1], freq[0]));
    put(3, rate(freq[i + 1], totalTime));
    put(4, Ticks(dur[i + 1], d));
    if (on[4] && estimate) {
      const std::int64_t n = f.IntervalDuration, fr = freq[i + 1], du = dur[i + 1];
      cells.push_back(Ticks(f.IntervalUnitMark == 1 ? du * n : f.IntervalUnitMark == 2 ? (du - fr) * n : (du + fr) * n, d));
    }
    put(5, ratio(dur[i + 1], dur[0]));
    put(6, ratio(dur[i + 1], totalUnits));
    for (int kind = 0; kind < 4; ++kind) {
      const int n = static_cast<int>(count[i][kind]);
      put(7 + 3 * kind, n > 0 ? Fixed(double(sum[i][kind]) / n / std::pow(10.0, d), d + 2) : "0");
      put(8 + 3 * kind, n > 0 ? Ticks(low[i][kind], d) : "0");
      put(9 + 3 * kind, n > 0 ? Ticks(high[i][kind], d) : "0");
    }
    if (freq[0] > 0) relf += double(freq[i + 1]) / freq[0];
    if (dur[0] > 0) reld += double(dur[i + 1]) / dur[0];
    if (totalUnits > 0) prob += double(dur[i + 1]) / totalUnits;
    std::string row = f.Codes[picked[i]].substr(0, 7);
    for (const auto& cell : cells) row += "\t" + cell;
    g.Lines.push_back(row + (longNames ? "\t" + f.Codes[picked[i]] : ""));
    g.ExportCells.insert(g.ExportCells.end(), cells.begin(), cells.end());
  }
  std::string totals = "Totals";
  const std::string totalCells[] = {"",
                                    std::to_string(freq[0]),
                                    Fixed(relf, nDigits),
                                    rate(freq[0], totalTime),
                                    Ticks(dur[0], d) + (estimate ? "\t" : ""),
                                    Fixed(reld, nDigits),
                                    NoLeadingZero(Fixed(prob, nDigits))};
  for (int k = 1; k <= 6; ++k)
    if (on[k]) totals += "\t" + totalCells[k];
  if (totals != "Totals") g.Lines.push_back(totals);
  g.Lines.push_back("#Units:\t" +
                    (f.DataType == Timed || f.DataType == State ? Ticks(totalUnits, d) : std::to_string(totalUnits)) +
                    "\t" + f.TimeUnitLabel);
  if (totalTime != totalUnits) g.Lines.push_back("Length:\t" + Ticks(totalTime, d) + "\tseconds");
  g.Lines.push_back("");
  return g;
}

TEST(SimpleStatsModel, AgreesOnGeneratedFiles) {
  std::mt19937 random(20261207);
  int compared = 0;
  for (int run = 0; run < 1000; ++run) {
    const ModelFile f = RandomFile(random);
    SimpleStatsChoices choices;
    std::vector<int> picked;
    for (int c = 0; c < static_cast<int>(f.Codes.size()); ++c)
      if (random() % 3 != 0) picked.insert(picked.begin() + random() % (picked.size() + 1), c);
    if (picked.empty()) picked.push_back(0);
    for (int c : picked) choices.PickedCodes.push_back(f.Codes[c]);
    for (int box = 1; box <= NStatBoxes; ++box) choices.StatCB[box] = random() % 2 == 0;
    if ((choices.StatCB[CBavg] || choices.StatCB[CBmin] || choices.StatCB[CBmax]) &&
        !(choices.StatCB[CBepso] || choices.StatCB[CBgaps] || choices.StatCB[CBonst] || choices.StatCB[CBL10C]))
      choices.StatCB[CBgaps] = true;
    choices.StatCB[CBfreq] = true;
    choices.RateFactor = f.TimeUnitIndex == 3 ? 60 : std::array{1, 60, 600}[random() % 3];
    choices.Pooling.PoolOverSessions = random() % 2 == 0;
    std::array<bool, 19> on{};
    for (int k = 1; k <= 6; ++k) on[k] = choices.StatCB[k];
    for (int kind = 0; kind < 4; ++kind)
      for (int m = 0; m < 3; ++m) on[7 + 3 * kind + m] = choices.StatCB[CBepso + kind] && choices.StatCB[CBavg + m];
    const int nDigits = 2 + static_cast<int>(random() % 2);

    std::vector<std::vector<const ModelSegment*>> groups;
    for (const auto& session : f.Sessions) {
      if (groups.empty() || !choices.Pooling.PoolOverSessions) groups.emplace_back();
      for (const auto& seg : session) groups.back().push_back(&seg);
    }
    dynString expected, expectedCells;
    for (const auto& group : groups) {
      ModelGroup g = ModelResults(f, group, picked, on, choices.RateFactor, nDigits);
      expected.insert(expected.end(), g.Lines.begin(), g.Lines.end());
      expectedCells.insert(expectedCells.end(), g.ExportCells.begin(), g.ExportCells.end());
    }

    const dynString lines = FileLines(f, random);
    testing::ScriptedDialogue dialogue;
    MdsHeader header;
    ASSERT_TRUE(ReadMdsHeaderFromLines(lines, "model.mds", header, dialogue));
    RunFrame frame;
    frame.ExportBox = ExportEachRun;
    frame.NDigits = nDigits;
    PoolingGroups pooling;
    RunOutput output;
    ASSERT_TRUE(RunSimpleStats(lines, header.LineIndex, header, frame, choices, pooling, dialogue, output));
    // Each group's table: from its rate or header line through its empty line.
    dynString actual;
    bool inTable = false;
    for (const std::string& line : output.ResultLines) {
      inTable = inTable || line.rfind("Rate: #/", 0) == 0 || line.rfind("Codes:", 0) == 0;
      if (inTable) actual.push_back(line);
      if (line.empty()) inTable = false;
    }
    // Each export row ends with the cells of the results rows.
    dynString actualCells;
    const std::size_t perRow = expectedCells.size() / groups.size();
    for (std::size_t r = 1; r < output.ExportRows.size(); ++r) {
      dynString cells;
      std::string_view rest = output.ExportRows[r];
      while (!rest.empty()) cells.emplace_back(NextTabField(rest));
      if (output.ExportRows[r].back() == '\t') cells.emplace_back();
      actualCells.insert(actualCells.end(), cells.end() - std::min(perRow, cells.size()), cells.end());
    }
    std::string file;
    for (const auto& line : lines) file += line + "\n";
    ASSERT_EQ(actual, expected) << file;
    ASSERT_EQ(actualCells, expectedCells) << file;
    ++compared;
  }
  EXPECT_EQ(compared, 1000);
}

}  // namespace
}  // namespace vork
