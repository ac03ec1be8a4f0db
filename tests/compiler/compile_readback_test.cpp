#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/mds_reader.h"
#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// Generated KELP texts of every data type, each written together with the
// matrices its segments must give, worked out here from the meaning of the
// text alone: one code row per code, one cell per time unit.

constexpr int NCodes = 6;
const char* const CodeNames[NCodes] = {"a", "b", "c", "d", "e", "f"};

struct ExpectedSegment {
  dynChar2 Matrix;  // NCodes rows
  std::uint32_t Start = 1;
  std::uint32_t Stop = 0;
};

struct ExpectedSession {
  int Level = 1;  // of the one factor
  std::vector<ExpectedSegment> Segments;
};

struct Generated {
  std::string Text;
  std::vector<ExpectedSession> Sessions;
};

class Generator {
 public:
  explicit Generator(unsigned seed) : Random(seed) {}

  int Below(int n) { return static_cast<int>(Random() % static_cast<unsigned>(n)); }

  static std::string Hundredths(int units) {
    std::string cents = std::to_string(units % 100);
    if (cents.size() < 2) cents = "0" + cents;
    return std::to_string(units / 100) + "." + cents;
  }

  static dynChar2 EmptyMatrix(int columns) { return dynChar2(NCodes, std::string(columns, '.')); }

  // Event: one time unit per code.
  ExpectedSegment Event(std::string& text) {
    const int n = 1 + Below(12);
    ExpectedSegment segment;
    segment.Matrix = EmptyMatrix(n);
    for (int u = 0; u < n; ++u) {
      const int code = Below(NCodes);
      text += std::string(CodeNames[code]) + " ";
      segment.Matrix[code][u] = '2';
    }
    return segment;
  }

  // Timed: two streams over disjoint codes; entries of a code never overlap.
  ExpectedSegment Timed(std::string& text) {
    struct Entry {
      int Code, On, Off;
    };
    std::vector<std::vector<Entry>> streams(2);
    const int origin = 100 * Below(50);
    int first = INT32_MAX, last = 0;
    for (int s = 0; s < 2; ++s) {
      int onset = origin + Below(30);
      std::vector<int> free(NCodes, 0);
      const int entries = 1 + Below(8);
      for (int k = 0; k < entries; ++k) {
        const int code = s * 3 + Below(3);
        onset = std::max(onset, free[code]);
        const int off = onset + 1 + Below(40);
        streams[s].push_back({code, onset, off});
        free[code] = off;
        first = std::min(first, onset);
        last = std::max(last, off);
        onset += Below(25);
      }
    }
    const int stop = last + Below(5);
    ExpectedSegment segment;
    segment.Matrix = EmptyMatrix(stop - first);
    segment.Start = static_cast<std::uint32_t>(first);
    segment.Stop = static_cast<std::uint32_t>(stop);
    for (int s = 0; s < 2; ++s) {
      if (s == 1) text += "& ";
      for (const Entry& e : streams[s]) {
        text += std::string(CodeNames[e.Code]) + "," + Hundredths(e.On) + "-" + Hundredths(e.Off) + " ";
        std::string& row = segment.Matrix[e.Code];
        row[e.On - first] = '2';
        for (int u = e.On + 1; u < e.Off; ++u) row[u - first] = '1';
      }
    }
    text += "," + Hundredths(stop) + " ";
    return segment;
  }

  // State: each entry (one code or two joined by "+") lasts up to the next.
  ExpectedSegment State(std::string& text) {
    std::vector<std::vector<int>> combos;
    std::vector<int> times;
    int t = Below(20);
    const int entries = 1 + Below(8);
    for (int k = 0; k < entries; ++k) {
      std::vector<int> combo{Below(NCodes)};
      if (Below(3) == 0) combo.push_back((combo[0] + 1 + Below(NCodes - 1)) % NCodes);
      combos.push_back(combo);
      times.push_back(t);
      t += 1 + Below(15);
    }
    const int stop = t;
    ExpectedSegment segment;
    segment.Matrix = EmptyMatrix(stop - times[0]);
    segment.Start = static_cast<std::uint32_t>(times[0]);
    segment.Stop = static_cast<std::uint32_t>(stop);
    for (int k = 0; k < entries; ++k) {
      const int end = k + 1 < entries ? times[k + 1] : stop;
      for (std::size_t c = 0; c < combos[k].size(); ++c) {
        if (c > 0) text += "+";
        text += CodeNames[combos[k][c]];
        std::string& row = segment.Matrix[combos[k][c]];
        row[times[k] - times[0]] = '2';
        for (int u = times[k] + 1; u < end; ++u) row[u - times[0]] = '1';
      }
      text += "," + std::to_string(times[k]) + " ";
    }
    text += "," + std::to_string(stop) + " ";
    return segment;
  }

  // Interval and Multi: units of code sets, some replicated; a code in
  // successive units is one occurrence.
  ExpectedSegment Units(std::string& text, const std::string& separator, bool multi) {
    std::vector<std::vector<bool>> units;
    const int n = 1 + Below(10);
    bool times = multi && Below(2) == 0;
    int start = 1 + Below(20);
    if (times) text += "," + std::to_string(start) + " ";
    for (int k = 0; k < n; ++k) {
      if (k > 0) text += separator;
      std::vector<bool> present(NCodes, false);
      if (k == 0) present[Below(NCodes)] = true;  // a segment without codes is warned about
      for (int c = 0; c < NCodes; ++c) {
        if (present[c]) {
          text += std::string(CodeNames[c]) + " ";
          continue;
        }
        if (Below(3) == 0) {
          present[c] = true;
          text += std::string(CodeNames[c]) + " ";
        }
      }
      int copies = 1;
      if (Below(4) == 0) {
        copies = 2 + Below(4);
        text += "*" + std::to_string(copies) + " ";
      }
      for (int r = 0; r < copies; ++r) units.push_back(present);
    }
    ExpectedSegment segment;
    segment.Matrix = EmptyMatrix(static_cast<int>(units.size()));
    for (std::size_t u = 0; u < units.size(); ++u) {
      for (int c = 0; c < NCodes; ++c) {
        if (!units[u][c]) continue;
        segment.Matrix[c][u] = u > 0 && units[u - 1][c] ? '1' : '2';
      }
    }
    if (times) {
      const int stop = start + 1 + Below(20);
      text += "," + std::to_string(stop) + " ";
      segment.Start = static_cast<std::uint32_t>(start);
      segment.Stop = static_cast<std::uint32_t>(stop);
    }
    return segment;
  }

  Generated Make(int dataType) {
    static const char* const words[] = {"", "Event", "Timed", "State", "Interval", "Multi"};
    Generated g;
    g.Text = std::string(words[dataType]) + " a b c d e f * grp(x y z);\n";
    const int sessions = 2 + Below(4);
    for (int s = 0; s < sessions; ++s) {
      ExpectedSession session;
      session.Level = 1 + Below(3);
      g.Text += std::string("(") + "xyz"[session.Level - 1] + ") ";
      const int segments = 1 + Below(3);
      for (int k = 0; k < segments; ++k) {
        switch (dataType) {
          case 1: session.Segments.push_back(Event(g.Text)); break;
          case 2: session.Segments.push_back(Timed(g.Text)); break;
          case 3: session.Segments.push_back(State(g.Text)); break;
          case 4: session.Segments.push_back(Units(g.Text, ", ", false)); break;
          default: session.Segments.push_back(Units(g.Text, ". ", true)); break;
        }
        g.Text += k + 1 < segments ? ";\n" : "/\n";
      }
      g.Sessions.push_back(std::move(session));
    }
    return g;
  }

 private:
  std::mt19937 Random;
};

TEST(CompileReadBack, GeneratedTextsOfEveryTypeReadBackSegmentBySegment) {
  for (int dataType = 1; dataType <= 5; ++dataType) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
      Generator generator(seed * 7919u + static_cast<unsigned>(dataType));
      const Generated g = generator.Make(dataType);
      CompileOptions options;
      options.CompressMDS = seed % 2 == 0;
      auto run = Compile(g.Text, options, false);
      ASSERT_EQ(run->State.ErrorCount, 0) << g.Text;
      ASSERT_EQ(run->Messages(), std::vector<Reported>{}) << g.Text;

      MdsHeader header;
      ScriptedDialogue dialogue;
      ASSERT_TRUE(ReadMdsHeaderFromLines(run->MdsLines, "generated.mds", header, dialogue));
      EXPECT_EQ(header.DataType, dataType);
      EXPECT_EQ(header.Compressed, options.CompressMDS);
      ASSERT_EQ(header.NCodes, NCodes);
      ASSERT_EQ(header.NFactors, 1);
      ASSERT_EQ(header.NSessions, static_cast<int>(g.Sessions.size())) << g.Text;

      int lineIndex = header.LineIndex;
      std::vector<int> replicates(4, 0);
      for (std::size_t s = 0; s < g.Sessions.size(); ++s) {
        const ExpectedSession& expected = g.Sessions[s];
        int replicate = 0, nSegments = 0;
        std::string label;
        dynInteger levels;
        ReadSessionHeader(run->MdsLines, lineIndex, replicate, nSegments, label, 1, levels);
        EXPECT_EQ(label, "#" + std::to_string(s + 1));
        EXPECT_EQ(levels.at(1), expected.Level);
        EXPECT_EQ(replicate, ++replicates[expected.Level]);
        ASSERT_EQ(nSegments, static_cast<int>(expected.Segments.size()));
        for (const ExpectedSegment& segment : expected.Segments) {
          int nDataLines = 0, nTimeUnits = 0;
          std::uint32_t start = 0, stop = 0;
          ReadSegmentHeader(run->MdsLines, lineIndex, nDataLines, nTimeUnits, start, stop);
          dynChar2 matrix;
          ReadSegmentData(run->MdsLines, lineIndex, NCodes, nDataLines, nTimeUnits,
                          header.Compressed, matrix);
          EXPECT_EQ(matrix, segment.Matrix) << "session " << s + 1 << " of\n" << g.Text;
          EXPECT_EQ(start, segment.Start);
          EXPECT_EQ(stop, segment.Stop);
        }
      }
      EXPECT_EQ(lineIndex + 1, static_cast<int>(run->MdsLines.size()));
    }
  }
}

}  // namespace
}  // namespace vork::testing
