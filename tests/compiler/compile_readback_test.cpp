#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/segment_writer.h"
#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// Generated texts of the data types with streams or replications, each
// written with the matrices its segments must give, worked out from the
// meaning of the text alone: one row per code, one cell per time unit. Six
// codes make two digits in a compressed line.
constexpr int NCodes = 6;
const std::string CodeNames = "abcdef";

struct ExpectedSegment {
  dynChar2 Matrix = dynChar2(NCodes);
  std::uint32_t Start = 1, Stop = 0;

  void Span(int first, int stop) {
    Matrix = dynChar2(NCodes, std::string(stop - first, '.'));
    Start = static_cast<std::uint32_t>(first);
    Stop = static_cast<std::uint32_t>(stop);
  }
  // Code on from onset up to end, in units counted from the segment start.
  void On(int code, int onset, int end) {
    Matrix[code][onset - Start] = '2';
    for (int u = onset + 1; u < end; ++u) Matrix[code][u - Start] = '1';
  }
};

struct ExpectedSession {
  int Level;
  std::vector<ExpectedSegment> Segments;
};

class Generator {
 public:
  // entries: the most entries of a Timed segment's stream, or units of
  // an Interval or Multi segment.
  explicit Generator(unsigned seed, int entries = 8) : Random(seed), Entries(entries) {}
  int Below(int n) { return static_cast<int>(Random() % static_cast<unsigned>(n)); }
  static std::string Code(int c) { return CodeNames.substr(c, 1); }
  static std::string Hundredths(int units) {
    return std::to_string(units / 100) + "." + (units % 100 < 10 ? "0" : "") + std::to_string(units % 100);
  }

  // Two streams over disjoint codes; entries of a code never overlap.
  ExpectedSegment Timed(std::string& text) {
    struct Entry {
      int Code, On, Off;
    };
    std::vector<Entry> streams[2];
    const int origin = 100 * Below(50);
    int first = INT32_MAX, last = 0;
    for (int s = 0; s < 2; ++s) {
      int onset = origin + Below(30);
      std::vector<int> free(NCodes, 0);
      for (int k = 0, entries = 1 + Below(Entries); k < entries; ++k) {
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
    segment.Span(first, stop);
    for (int s = 0; s < 2; ++s) {
      if (s == 1) text += "& ";
      for (const Entry& e : streams[s]) {
        text += Code(e.Code) + "," + Hundredths(e.On) + "-" + Hundredths(e.Off) + " ";
        segment.On(e.Code, e.On, e.Off);
      }
    }
    text += "," + Hundredths(stop) + " ";
    return segment;
  }

  // Interval and Multi: units of code sets, some replicated; a code in
  // successive units is one occurrence.
  ExpectedSegment Units(std::string& text, const std::string& separator, bool multi) {
    std::vector<std::vector<bool>> units;
    const bool times = multi && Below(2) == 0;
    const int start = 1 + Below(20);
    if (times) text += "," + std::to_string(start) + " ";
    for (int k = 0, n = 1 + Below(Entries + 2); k < n; ++k) {
      if (k > 0) text += separator;
      std::vector<bool> present(NCodes, false);
      if (k == 0) present[Below(NCodes)] = true;  // a segment without codes is warned about
      for (int c = 0; c < NCodes; ++c) {
        if (present[c] || Below(3) == 0) {
          present[c] = true;
          text += Code(c) + " ";
        }
      }
      const int copies = Below(4) == 0 ? 2 + Below(4) : 1;
      if (copies > 1) text += "*" + std::to_string(copies) + " ";
      units.insert(units.end(), copies, present);
    }
    ExpectedSegment segment;
    segment.Matrix = dynChar2(NCodes, std::string(units.size(), '.'));
    for (std::size_t u = 0; u < units.size(); ++u) {
      for (int c = 0; c < NCodes; ++c) {
        if (units[u][c]) segment.Matrix[c][u] = u > 0 && units[u - 1][c] ? '1' : '2';
      }
    }
    if (times) {
      segment.Start = static_cast<std::uint32_t>(start);
      segment.Stop = static_cast<std::uint32_t>(start + 1 + Below(20));
      text += "," + std::to_string(segment.Stop) + " ";
    }
    return segment;
  }

  std::vector<ExpectedSession> Make(int dataType, std::string& text) {
    static const char* const words[] = {"", "", "Timed", "", "Interval", "Multi"};
    text = std::string(words[dataType]) + " a b c d e f * grp(x y z);\n";
    std::vector<ExpectedSession> sessions(2 + Below(4));
    for (ExpectedSession& session : sessions) {
      session.Level = 1 + Below(3);
      text += std::string("(") + "xyz"[session.Level - 1] + ") ";
      for (int k = 0, segments = 1 + Below(3); k < segments; ++k) {
        switch (dataType) {
          case 2: session.Segments.push_back(Timed(text)); break;
          case 4: session.Segments.push_back(Units(text, ", ", false)); break;
          default: session.Segments.push_back(Units(text, ". ", true)); break;
        }
        text += k + 1 < segments ? ";\n" : "/\n";
      }
    }
    return sessions;
  }

 private:
  std::mt19937 Random;
  const int Entries;
};

// Compiles the text a generator makes and reads every segment back
// against the matrix worked out from the text.
void ExpectReadBack(int dataType, unsigned seed, int entries) {
  Generator generator(seed * 7919u + static_cast<unsigned>(dataType), entries);
  std::string text;
  const std::vector<ExpectedSession> sessions = generator.Make(dataType, text);
  CompileOptions options;
  options.CompressMDS = seed % 2 == 0;
  auto run = Compile(text, options, false);
  ASSERT_EQ(run->State.ErrorCount, 0) << text;
  ASSERT_EQ(run->Messages(), std::vector<Reported>{}) << text;

  MdsHeader header;
  ScriptedDialogue dialogue;
  ASSERT_TRUE(ReadMdsHeaderFromLines(run->MdsLines, "generated.mds", header, dialogue));
  EXPECT_EQ(header.DataType, dataType);
  EXPECT_EQ(header.Compressed, options.CompressMDS);
  ASSERT_EQ(header.NCodes, NCodes);
  ASSERT_EQ(header.NFactors, 1);
  ASSERT_EQ(header.NSessions, static_cast<int>(sessions.size())) << text;
  int lineIndex = header.LineIndex;
  std::vector<int> replicates(4, 0);
  for (std::size_t s = 0; s < sessions.size(); ++s) {
    int replicate = 0, nSegments = 0;
    std::string label;
    dynInteger levels;
    ReadSessionHeader(run->MdsLines, lineIndex, replicate, nSegments, label, 1, levels);
    EXPECT_EQ(label, "#" + std::to_string(s + 1));
    EXPECT_EQ(levels.at(1), sessions[s].Level);
    EXPECT_EQ(replicate, ++replicates[sessions[s].Level]);
    ASSERT_EQ(nSegments, static_cast<int>(sessions[s].Segments.size()));
    for (const ExpectedSegment& segment : sessions[s].Segments) {
      const ReadBackSegment read = ReadNextSegment(run->MdsLines, lineIndex, NCodes, header.Compressed);
      EXPECT_EQ(read.Matrix, segment.Matrix) << "session " << s + 1 << " of\n" << text;
      EXPECT_EQ(read.Start, segment.Start);
      EXPECT_EQ(read.Stop, segment.Stop);
    }
  }
  EXPECT_EQ(lineIndex + 1, static_cast<int>(run->MdsLines.size()));
}

TEST(CompileReadBack, GeneratedTextsReadBackSegmentBySegment) {
  for (int dataType : {2, 4, 5}) {
    for (unsigned seed = 1; seed <= 12; ++seed) ExpectReadBack(dataType, seed, 8);
  }
}

// Segments of hundreds of entries over thousands of time units, whose
// cell changes are put in unit order by other means than short ones.
TEST(CompileReadBack, LongSegmentsReadBackSegmentBySegment) {
  for (int dataType : {2, 4, 5}) {
    for (unsigned seed = 1; seed <= 4; ++seed) ExpectReadBack(dataType, seed, 400);
  }
}

// Compiles text without a message; its compiled file must end with the
// expected lines.
void ExpectLastLines(const std::string& text, bool compressed, const dynString& expected) {
  CompileOptions options;
  options.CompressMDS = compressed;
  auto run = Compile(text, options, false);
  ASSERT_EQ(run->Messages(), std::vector<Reported>{}) << text;
  ASSERT_GE(run->MdsLines.size(), expected.size() + 1);
  EXPECT_EQ(dynString(run->MdsLines.end() - static_cast<std::ptrdiff_t>(expected.size()), run->MdsLines.end()),
            expected)
      << text;
}

// Event segments are written from the code of each unit, without a grid:
// their lines must be those the grid writer gives for the grid of the same
// events (an onset in the event's unit, nothing else on), in both forms,
// over many sessions and segments, successive repeats of a code included.
TEST(CompileReadBack, EventSegmentsWriteTheLinesOfTheirGrid) {
  std::mt19937 random(2027);
  for (int round = 0; round < 40; ++round) {
    const bool compressed = round % 2 == 1;
    std::string text = "Event a b c d e f g h i;\n";
    dynString expected;
    const int sessions = 1 + static_cast<int>(random() % 4);
    for (int session = 1; session <= sessions; ++session) {
      const int segments = 1 + static_cast<int>(random() % 3);
      expected.push_back(std::to_string(session) + "\t" + std::to_string(segments) + "\t#" +
                         std::to_string(session));
      for (int segment = 1; segment <= segments; ++segment) {
        const int events = 1 + static_cast<int>(random() % 30);
        dynChar2 grid(9, std::string(static_cast<std::size_t>(events), '.'));
        for (int unit = 0; unit < events; ++unit) {
          const int code = static_cast<int>(random() % (random() % 2 == 0 ? 3 : 9));
          grid[static_cast<std::size_t>(code)][static_cast<std::size_t>(unit)] = '2';
          text += std::string(1, static_cast<char>('a' + code)) + " ";
        }
        text += segment < segments ? ";\n" : "/\n";
        dynString data;
        dynInteger runs(static_cast<std::size_t>(events), 1);
        const int lines = WriteSegmentData(data, grid, runs, 9, events, compressed, true);
        expected.push_back(std::to_string(segment) + "\t" + std::to_string(lines) + "\t" +
                           std::to_string(events) + "\t1\t0");
        expected.insert(expected.end(), data.begin(), data.end());
      }
    }
    ExpectLastLines(text, compressed, expected);
  }
}

// Interval and Multi segments are written from the columns each code was
// coded in, without a grid: their lines must be those the grid writer
// gives for the grid of the same units (a code's onset in the first of
// successive units that hold it, on in the rest), in both forms, with
// repeated units, codes given twice in a unit and empty units.
TEST(CompileReadBack, IntervalAndMultiSegmentsWriteTheLinesOfTheirGrid) {
  std::mt19937 random(2031);
  for (int round = 0; round < 1000; ++round) {
    const bool compressed = round % 2 == 1;
    const bool multi = round % 4 >= 2;
    const std::string separator = multi ? " ." : " ,";
    const int nCodes = 1 + static_cast<int>(random() % 9);
    std::string text = multi ? "Multi" : "Interval";
    for (int code = 0; code < nCodes; ++code) text += " " + std::string(1, static_cast<char>('a' + code));
    text += ";\n";
    dynString expected;
    const int sessions = 1 + static_cast<int>(random() % 3);
    for (int session = 1; session <= sessions; ++session) {
      const int segments = 1 + static_cast<int>(random() % 3);
      expected.push_back(std::to_string(session) + "\t" + std::to_string(segments) + "\t#" +
                         std::to_string(session));
      for (int segment = 1; segment <= segments; ++segment) {
        const int units = 1 + static_cast<int>(random() % 12);
        dynChar2 grid(static_cast<std::size_t>(nCodes));
        std::vector<char> previous(static_cast<std::size_t>(nCodes), 0);
        for (int unit = 0; unit < units; ++unit) {
          std::vector<char> held(static_cast<std::size_t>(nCodes), 0);
          // A segment without codes is warned about: its first unit has one.
          const int codes = static_cast<int>(random() % 4) + (unit == 0 ? 1 : 0);
          for (int k = 0; k < codes; ++k) {
            const int code = static_cast<int>(random() % static_cast<unsigned>(random() % 2 == 0 ? std::min(nCodes, 3) : nCodes));
            held[static_cast<std::size_t>(code)] = 1;
            text += std::string(1, static_cast<char>('a' + code)) + " ";
          }
          int repeat = 1;
          if (codes > 0 && random() % 3 == 0) {
            repeat = 2 + static_cast<int>(random() % 6);
            text += "*" + std::to_string(repeat) + " ";
          }
          for (int r = 0; r < repeat; ++r) {
            for (int code = 0; code < nCodes; ++code) {
              const auto c = static_cast<std::size_t>(code);
              grid[c] += held[c] == 0 ? '.' : previous[c] != 0 ? '1' : '2';
              previous[c] = held[c];
            }
          }
          if (unit + 1 < units) text += separator + " ";
        }
        text += segment < segments ? ";\n" : "/\n";
        const int timeUnits = static_cast<int>(grid[0].size());
        dynString data;
        dynInteger runs(static_cast<std::size_t>(timeUnits), 1);
        const int lines = WriteSegmentData(data, grid, runs, nCodes, timeUnits, compressed, true);
        expected.push_back(std::to_string(segment) + "\t" + std::to_string(lines) + "\t" +
                           std::to_string(timeUnits) + "\t1\t0");
        expected.insert(expected.end(), data.begin(), data.end());
      }
    }
    ExpectLastLines(text, compressed, expected);
  }
}

}  // namespace
}  // namespace vork::testing
