#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// Generated texts with context codes, each written with the matrices its
// segments must give, worked out from the meaning of the text alone. Codes
// a and b are context codes of one set (one begun gives the other way), e
// a context code of no set, c d f regular codes.
const std::string Declaration = " ($s = a b) c d e f;\n";
constexpr int NCodes = 6;
constexpr int A = 0, B = 1, E = 4;
const int ContextCodes[] = {A, B, E};
const int RegularCodes[] = {2, 3, 5};

std::string Name(int code) { return std::string(1, static_cast<char>('a' + code)); }

struct Segment {
  dynChar2 Matrix;
  std::uint32_t Start = 1, Stop = 0;
};

class Generator {
 public:
  explicit Generator(unsigned seed) : Random(seed) {}

  // Interval and Multi: per unit the regular codes coded in it and context
  // marks ("x+" begins in the unit, "x-" is off in the unit, "x-)" is off
  // after it); a unit without marks may be repeated. A code on in
  // successive units is one occurrence.
  Segment Units(std::string& text, bool multi) {
    std::vector<std::vector<bool>> units;
    std::vector<bool> on(NCodes, false);
    for (int u = 0, n = 1 + Below(12); u < n; ++u) {
      if (u > 0) text += multi ? ". " : ", ";
      std::vector<bool> present(NCodes, false), offAfter(NCodes, false);
      for (int code : RegularCodes) {
        if (Below(3) == 0 || (u == 0 && code == 2)) {
          present[code] = true;
          text += Name(code) + " ";
        }
      }
      bool marked = false, setMarked = false;
      for (int code : ContextCodes) {
        const bool inSet = code != E;
        if (Below(2) == 0 || (inSet && setMarked)) continue;
        setMarked = setMarked || inSet;
        marked = true;
        if (!on[code]) {
          text += Name(code) + (Below(2) == 0 ? "+ " : " + ");
          on[code] = true;
          if (inSet) on[code == A ? B : A] = false;  // gives way
        } else if (Below(2) == 0) {
          text += Name(code) + "- ";
          on[code] = false;
        } else {
          text += Name(code) + (Below(2) == 0 ? "-) " : " - ) ");
          offAfter[code] = true;
        }
      }
      for (int code : ContextCodes) present[code] = on[code];
      const int copies = !marked && Below(4) == 0 ? 2 + Below(4) : 1;
      if (copies > 1) text += "*" + std::to_string(copies) + " ";
      units.insert(units.end(), copies, present);
      for (int code : ContextCodes) on[code] = on[code] && !offAfter[code];
    }
    Segment segment;
    segment.Matrix = dynChar2(NCodes, std::string(units.size(), '.'));
    for (std::size_t u = 0; u < units.size(); ++u) {
      for (int c = 0; c < NCodes; ++c) {
        if (units[u][c]) segment.Matrix[c][u] = u > 0 && units[u - 1][c] ? '1' : '2';
      }
    }
    return segment;
  }

  // Timed: regular entries with offsets in one stream, context starts and
  // ends in another, times in hundredths. A context code is on from its
  // start up to its end, a start being an onset even while it is on.
  Segment Timed(std::string& text) {
    const int origin = 100 * Below(30);
    int time = origin;
    std::string regular, context;
    struct Cell {
      int Code, Time;
      char Value;
    };
    std::vector<Cell> cells;
    std::vector<int> entries;
    for (int k = 0, n = 1 + Below(6); k < n; ++k) {
      const int code = RegularCodes[Below(3)];
      const int off = time + 1 + Below(30);
      regular += Name(code) + "," + Hundredths(time) + "-" + Hundredths(off) + " ";
      cells.push_back({code, time, '2'});
      for (int t = time + 1; t < off; ++t) cells.push_back({code, t, '1'});
      time = off + Below(10);
    }
    int last = time;
    // Context marks: one code per time, times rising; on[] tells where each
    // context code is on, as a cell per time from origin.
    std::vector<std::string> contextRow(NCodes);
    time = origin + Below(5);
    std::vector<bool> on(NCodes, false);
    for (int k = 0, n = 1 + Below(8); k < n; ++k) {
      const int code = ContextCodes[Below(3)];
      const bool begins = !on[code] || Below(3) == 0;
      context += Name(code) + (begins ? " , + " : ",-") + Hundredths(time) + " ";
      for (int c : ContextCodes) contextRow[c].resize(static_cast<std::size_t>(time - origin), on[c] ? '1' : '.');
      if (begins && code != E) on[code == A ? B : A] = false;  // gives way
      on[code] = begins;
      if (begins) contextRow[code] += '2';
      time += 1 + Below(15);
    }
    last = std::max(last, time);
    const int stop = last + 1 + Below(5);
    text += regular + "& " + context + "," + Hundredths(stop) + " ";
    Segment segment;
    segment.Start = static_cast<std::uint32_t>(origin);
    segment.Stop = static_cast<std::uint32_t>(stop);
    segment.Matrix = dynChar2(NCodes, std::string(static_cast<std::size_t>(stop - origin), '.'));
    for (const Cell& cell : cells) segment.Matrix[cell.Code][cell.Time - origin] = cell.Value;
    for (int c : ContextCodes) {
      contextRow[c].resize(static_cast<std::size_t>(stop - origin), on[c] ? '1' : '.');
      segment.Matrix[c] = contextRow[c];
    }
    return segment;
  }

  std::vector<std::vector<Segment>> Make(int dataType, std::string& text) {
    text = std::string(dataType == 2 ? "Timed" : dataType == 4 ? "Interval" : "Multi") + Declaration;
    std::vector<std::vector<Segment>> sessions(1 + Below(3));
    for (std::vector<Segment>& session : sessions) {
      for (int k = 0, segments = 1 + Below(3); k < segments; ++k) {
        session.push_back(dataType == 2 ? Timed(text) : Units(text, dataType == 5));
        text += k + 1 < segments ? ";\n" : "/\n";
      }
    }
    return sessions;
  }

 private:
  int Below(int n) { return static_cast<int>(Random() % static_cast<unsigned>(n)); }
  static std::string Hundredths(int units) {
    return std::to_string(units / 100) + "." + (units % 100 < 10 ? "0" : "") + std::to_string(units % 100);
  }
  std::mt19937 Random;
};

TEST(ContextCodeReadBack, GeneratedTextsReadBackSegmentBySegment) {
  for (int dataType : {2, 4, 5}) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
      Generator generator(seed * 104729u + static_cast<unsigned>(dataType));
      std::string text;
      const std::vector<std::vector<Segment>> sessions = generator.Make(dataType, text);
      CompileOptions options;
      options.CompressMDS = seed % 2 == 0;
      auto run = Compile(text, options, false);
      ASSERT_EQ(run->Messages(), std::vector<Reported>{}) << text;

      MdsHeader header;
      ScriptedDialogue dialogue;
      ASSERT_TRUE(ReadMdsHeaderFromLines(run->MdsLines, "generated.mds", header, dialogue));
      ASSERT_EQ(header.NSessions, static_cast<int>(sessions.size())) << text;
      int lineIndex = header.LineIndex;
      for (std::size_t s = 0; s < sessions.size(); ++s) {
        int replicate = 0, nSegments = 0;
        std::string label;
        dynInteger levels;
        ReadSessionHeader(run->MdsLines, lineIndex, replicate, nSegments, label, 0, levels);
        ASSERT_EQ(nSegments, static_cast<int>(sessions[s].size()));
        for (const Segment& segment : sessions[s]) {
          const ReadBackSegment read = ReadNextSegment(run->MdsLines, lineIndex, NCodes, header.Compressed);
          EXPECT_EQ(read.Matrix, segment.Matrix) << "session " << s + 1 << " of\n" << text;
          EXPECT_EQ(read.Start, segment.Start);
          EXPECT_EQ(read.Stop, segment.Stop);
        }
      }
      EXPECT_EQ(lineIndex + 1, static_cast<int>(run->MdsLines.size()));
    }
  }
}

}  // namespace
}  // namespace vork::testing
