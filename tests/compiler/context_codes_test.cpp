#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/mds_reader.h"
#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// Context codes: a code followed by "+" or "-" in an interval or
// multi-event, and "code , + time" / "code , - time" in Timed streams, is
// on from its start up to its end. The generated texts below are checked
// against a model of the segment that works on the codes and marks as the
// generator writes them, token by token, and knows nothing of how the
// compiler holds a segment.

constexpr int NCodes = 7;
const std::string CodeLetters = "abcdefg";
// a, b and c form one set of mutually exclusive codes, d and e another.
const int SetOf[NCodes] = {1, 1, 1, 2, 2, 0, 0};

// What a segment must give: its matrix over all its time units (one row a
// code), or nothing when an error keeps it unwritten.
struct SegmentOutcome {
  bool Written = false;
  dynChar2 Matrix;
  std::uint32_t Start = 1, Stop = 0;
  int DataLines = 0;
};

// The raw text being written. Positions are those the compiler reports,
// in which a line end counts two characters.
class RawText {
 public:
  std::string Text;

  // Appends token after gap and gives its position.
  std::uint32_t Put(const std::string& token, const char* gap = " ") {
    Text += gap;
    const auto position = static_cast<std::uint32_t>(Text.size() + LineEnds);
    Text += token;
    return position;
  }
  void EndLine() {
    Text += "\n";
    ++LineEnds;
  }

 private:
  std::size_t LineEnds = 0;
};

enum class Mark { None, Start, End, EndAfter };  // nothing, "+", "-", "-)"

// One segment worked out from the meaning of its codes, marks and times.
// Cells hold '.', '2', and while the segment is read '+' (a context code
// begins here) and '-' (it is off from here on).
class SegmentModel {
 public:
  SegmentModel(bool sets, bool exclusivity, std::vector<Reported>& messages, std::uint32_t firstToken)
      : Sets(sets), Exclusivity(exclusivity), Messages(messages), FirstToken(firstToken) {}

  // ---- Interval and Multi data: units grow one at a time.
  void NewUnit() {
    for (std::string& row : Cells) {
      if (static_cast<int>(row.size()) == Columns)
        row += '.';
      else if (row[Columns] != '-')
        row[Columns] = '.';
    }
    Runs.push_back(1);
    ++Columns;
    UnitHasContext = false;
  }

  void UnitCode(int code, Mark mark, std::uint32_t at) {
    const int current = Columns - 1;
    if (mark != Mark::None) {
      if (Use[code] != 1) {
        Use[code] = 2;
        UnitHasContext = HasContext = true;
        ++Entries;
      } else {
        Report(27, at);
      }
    } else if (Use[code] != 2) {
      Cell(code, current) = '2';
      Use[code] = 1;
      ++Entries;
      CheckExclusive(code, current, at);
    } else {
      Report(27, at);
    }
    if (mark == Mark::Start) Cell(code, current) = '+';
    if (mark == Mark::End || mark == Mark::EndAfter) {
      int end = current;
      if (mark == Mark::EndAfter) {
        for (std::string& row : Cells) row.resize(Columns + 1, '.');
        end = Columns;
      }
      if (end < 1) {
        Report(28, at);
      } else {
        Cell(code, end) = '-';
        FindStart(code, end - 1, at, at);
      }
    }
  }

  void Repeat(int times, std::uint32_t at) {
    if (UnitHasContext) {
      Report(30, at);
      return;
    }
    if (times >= 2) CopyUnit();
    if (times >= 3) {
      CopyUnit();
      Runs[Columns - 2] = times - 2;
    }
  }

  // ---- Timed data: the segment's columns are known at once.
  void Span(int columns) {
    Columns = columns;
    Cells.assign(NCodes, std::string(columns, '.'));
    Runs.assign(columns, 1);
  }

  struct Entry {
    std::vector<int> Codes;
    std::uint32_t CodeAt = 0, TimeAt = 0, DashAt = 0, OffsetAt = 0;
  };

  // "code , onset" (open: followed by "-" and no offset).
  void Onset(const Entry& e, int t, bool open) {
    if (PrevOnset > t) {
      Report(31, e.CodeAt);
    } else {
      if (FillPending) FillPrevious(t, e.CodeAt);
      Enter(e, t, 1, [&](int code) {
        if (MarkOnset(code, t, open ? e.DashAt : e.TimeAt)) Report(32, e.CodeAt);
      });
      FillPending = open;  // a dropped entry leaves nothing to fill
    }
    ++Entries;
  }

  // "code , onset - offset", offset not included.
  void OnsetOffset(const Entry& e, int on, int off) {
    if (on < PrevOnset) {
      Report(31, e.CodeAt);
    } else if (on > off) {
      Report(33, e.OffsetAt);
    } else {
      if (FillPending) FillPrevious(on, e.CodeAt);
      if (on == off) Report(34, e.TimeAt);
      Enter(e, on, 1, [&](int code) {
        bool overlap = MarkOnset(code, on, e.OffsetAt);
        for (int u = on + 1; u < off; ++u) overlap = FillCell(code, u) || overlap;
        if (overlap) Report(32, e.CodeAt);
      });
    }
    ++Entries;
  }

  // "code , + time".
  void ContextOnset(const Entry& e, int t) {
    if (PrevOnset > t) {
      Report(31, e.CodeAt);
    } else {
      if (FillPending) FillPrevious(t, e.CodeAt);
      Enter(e, t, 2, [&](int code) {
        if (Cell(code, t) == '1' || Cell(code, t) == '2') Report(35, e.TimeAt);
        Cell(code, t) = '+';
      });
    }
    ++Entries;
  }

  // "code , - time": off from time on.
  void ContextOffset(const Entry& e, int t) {
    if (t < 1) {
      Report(28, e.TimeAt);
    } else if (PrevOnset > t) {
      Report(36, e.TimeAt);
    } else {
      if (FillPending) FillPrevious(t, e.CodeAt);
      Enter(e, t, 2, [&](int code) {
        if (t < Columns && Cell(code, t) != '.') {
          Report(37, e.TimeAt);
          return;
        }
        if (t < Columns) Cell(code, t) = '-';
        // An end one unit after the segment's start looks at the first
        // column as every other end does.
        FindStart(code, t - 1, e.DashAt, e.TimeAt);
      });
    }
    ++Entries;
  }

  // "&", ";" or "/" after a stream.
  void EndStream(std::uint32_t lastCodeAt) {
    if (Entries == 0)
      Report(39, FirstToken);
    else if (FillPending)
      FillPrevious(Columns, lastCodeAt);
    PrevOnset = -1;
    Entries = 0;
    FillPending = false;
  }

  // After the segment's last token. Units: Interval and Multi data, whose
  // successive units holding a code are one occurrence.
  SegmentOutcome Finish(bool units) {
    if (units && Entries == 0) Report(39, FirstToken);
    SegmentOutcome out;
    if (HasError) return out;
    if (HasContext) ResolveContext();
    out.Written = true;
    out.Matrix.assign(NCodes, "");
    for (int code = 0; code < NCodes; ++code) {
      for (int u = 0; u < Columns; ++u) {
        char cell = Cell(code, u);
        if (units && cell == '2' && u > 0 && Cell(code, u - 1) != '.') cell = '1';
        out.Matrix[code].append(Runs[u], cell);
      }
    }
    return out;
  }

  void Report(int number, std::uint32_t at) {
    static const std::vector<int> errors = {27, 28, 30, 31, 33, 36, 111};
    const bool error = std::find(errors.begin(), errors.end(), number) != errors.end();
    HasError = HasError || error;
    Messages.push_back({number, error ? Error : Warning, at});
  }

 private:
  char& Cell(int code, int column) { return Cells[code][column]; }

  // The nearest start of code before an end, searched back from column
  // from: an earlier end comes first (111), or none is found and the first
  // column gets one (29).
  void FindStart(int code, int from, std::uint32_t endAt, std::uint32_t missingAt) {
    for (int u = from; u >= 0; --u) {
      if (Cell(code, u) == '+') return;
      if (Cell(code, u) == '-') {
        Report(111, endAt);
        return;
      }
    }
    Cell(code, 0) = '+';
    Report(29, missingAt);
  }

  void CopyUnit() {
    NewUnit();
    for (std::string& row : Cells) {
      const char previous = row[Columns - 2];
      row[Columns - 1] = previous == '-' ? '.' : previous;
    }
  }

  void CheckExclusive(int code, int column, std::uint32_t at) {
    if (!Exclusivity || !Sets || SetOf[code] == 0) return;
    for (int other = 0; other < NCodes; ++other) {
      if (other != code && SetOf[other] == SetOf[code] && Cell(other, column) != '.') {
        Report(51, at);
        return;
      }
    }
  }

  // Gives whether the cell was taken already.
  bool MarkOnset(int code, int column, std::uint32_t at) {
    const bool overlap = Cell(code, column) != '.';
    Cell(code, column) = '2';
    CheckExclusive(code, column, at);
    return overlap;
  }
  bool FillCell(int code, int column) {
    if (Cell(code, column) != '.') return true;
    Cell(code, column) = '1';
    return false;
  }

  // An accepted Timed entry beginning at column t: each of its codes that
  // is not used the other way (use 1 regular, 2 context) is coded.
  template <typename CodeOne>
  void Enter(const Entry& e, int t, int use, CodeOne codeOne) {
    PrevCombo.clear();
    for (int code : e.Codes) {
      if (Use[code] == 3 - use) {
        Report(27, e.CodeAt);
        continue;
      }
      Use[code] = use;
      HasContext = HasContext || use == 2;
      codeOne(code);
      PrevCombo.push_back(code);
    }
    PrevOnset = t;
  }

  // The last open entry of the stream stays on up to column (excluded).
  void FillPrevious(int column, std::uint32_t at) {
    if (column == PrevOnset) Report(44, at);
    if (column - PrevOnset >= 2) {
      bool overlap = false;
      for (int code : PrevCombo) {
        for (int u = PrevOnset + 1; u < column; ++u) overlap = FillCell(code, u) || overlap;
      }
      if (overlap) Report(32, at);
    }
    FillPending = false;
  }

  // Starts and ends become onsets and runs; a context code that begins
  // switches off the codes of its set that are on (except in the first
  // column, where every code that begins there is on).
  void ResolveContext() {
    std::vector<bool> on(NCodes, false);
    for (int code = 0; code < NCodes; ++code) {
      if (Cell(code, 0) == '+') {
        Cell(code, 0) = '2';
        on[code] = true;
      }
    }
    for (int u = 1; u < Columns; ++u) {
      std::vector<bool> began(NCodes, false);
      for (int code = 0; code < NCodes; ++code) {
        char& cell = Cell(code, u);
        if (cell == '+') {
          cell = '2';
          on[code] = began[code] = true;
        } else if (cell == '-') {
          cell = '.';
          on[code] = false;
        }
      }
      for (int code = 0; Sets && code < NCodes; ++code) {
        for (int other = 0; other < NCodes; ++other) {
          if (on[code] && !began[code] && began[other] && SetOf[code] > 0 && SetOf[other] == SetOf[code]) {
            on[code] = false;
          }
        }
      }
      for (int code = 0; code < NCodes; ++code) {
        if (on[code] && Cell(code, u) == '.') Cell(code, u) = '1';
      }
    }
  }

  const bool Sets, Exclusivity;
  std::vector<Reported>& Messages;
  const std::uint32_t FirstToken;
  std::vector<std::string> Cells = std::vector<std::string>(NCodes);
  std::vector<int> Runs;
  int Columns = 0;
  std::vector<int> Use = std::vector<int>(NCodes, 0);  // 1 regular, 2 context
  bool UnitHasContext = false, HasContext = false, HasError = false, FillPending = false;
  int Entries = 0, PrevOnset = -1;
  std::vector<int> PrevCombo;
};

// A generated text and what its compile must give.
struct GeneratedText {
  RawText Raw;
  CompileOptions Options;
  std::vector<Reported> Messages;
  std::vector<std::vector<SegmentOutcome>> Sessions;
};

class Generator {
 public:
  explicit Generator(unsigned seed) : Random(seed) {}

  GeneratedText Make(int dataType) {
    GeneratedText g;
    Sets = Below(4) != 0;
    Faulty = Below(3) == 0;
    g.Options.CompressMDS = Below(2) == 0;
    g.Options.ExclusivityCheck = Below(3) == 0;
    static const char* const words[] = {"", "", "Timed", "", "Interval", "Multi"};
    g.Raw.Text = std::string(words[dataType]) + (Sets ? " (a b c) (d e) f g;" : " a b c d e f g;");
    g.Raw.EndLine();
    g.Sessions.resize(1 + Below(3));
    for (auto& session : g.Sessions) {
      const int segments = 1 + Below(3);
      for (int k = 0; k < segments; ++k) {
        for (int code = 0; code < NCodes; ++code) Context[code] = Below(2) == 0;
        On.assign(NCodes, false);
        Ended.assign(NCodes, false);
        session.push_back(dataType == 2 ? Timed(g) : Units(g, dataType == 5));
        g.Raw.Put(k + 1 < segments ? ";" : "/");
        g.Raw.EndLine();
      }
    }
    return g;
  }

 private:
  int Below(int n) { return static_cast<int>(Random() % static_cast<unsigned>(n)); }
  bool Sometimes(int n) { return Faulty && Below(n) == 0; }
  static std::string Code(int code) { return CodeLetters.substr(code, 1); }
  // A code of the role the segment gives it (in a faulty text now and then
  // of the other).
  int PickCode(bool context) {
    for (int tries = 0; tries < 50; ++tries) {
      const int code = Below(NCodes);
      if (Context[code] == context || Sometimes(15)) return code;
    }
    // No code has the role: the segment gives the first one it.
    Context[0] = context;
    return 0;
  }
  // Whether a context code that is off may be ended: in a sound text only
  // when no earlier end of it can come before its start.
  bool MayEndUnstarted(int code) { return Faulty || !Ended[code]; }

  // Interval and Multi: units of regular codes and context starts and ends,
  // some repeated; a Multi segment may carry a start and a stop time.
  SegmentOutcome Units(GeneratedText& g, bool multi) {
    const int times = multi ? Below(8) : 0;  // 1, 2: start and stop; 3: start only; 4: stop only
    const int start = 1 + Below(30);
    const int stop = times == 2 && Below(3) == 0 ? std::max(0, start - Below(3)) : start + 1 + Below(20);
    std::uint32_t first = 0;
    if (times == 1 || times == 2 || times == 3) {
      first = g.Raw.Put(",");
      g.Raw.Put(std::to_string(start), "");
    }
    // The segment is written first: the model needs its first token.
    struct Item {
      int Code;
      Mark Kind;
      std::uint32_t At;
    };
    std::vector<std::vector<Item>> units(1 + Below(9));
    std::vector<std::pair<int, std::uint32_t>> repeats(units.size(), {-1, 0});
    std::vector<int> startedIn(NCodes, -1);
    for (std::size_t k = 0; k < units.size(); ++k) {
      if (k > 0) g.Raw.Put(multi ? "." : ",");
      bool hasContext = false;
      for (int n = Below(4) + (k == 0 ? 1 : 0); n > 0; --n) {
        const bool context = Below(2) == 0;
        const int code = PickCode(context);
        Mark mark = Mark::None;
        if (context) {
          const int r = Below(10);
          const bool endHere = k > 0 && startedIn[code] < static_cast<int>(k);
          if (On[code])
            mark = r < 5 && (endHere || Faulty) ? Mark::End : r < 8 ? Mark::EndAfter : Mark::Start;
          else if (r < 2 && MayEndUnstarted(code))
            mark = r == 0 && (k > 0 || Faulty) ? Mark::End : Mark::EndAfter;
          else
            mark = Mark::Start;
          On[code] = mark == Mark::Start;
          if (mark == Mark::Start)
            startedIn[code] = static_cast<int>(k);
          else
            Ended[code] = true;
          hasContext = true;
        }
        static const char* const marks[] = {"", "+", "-", "-)"};
        const std::uint32_t at = g.Raw.Put(Code(code));
        g.Raw.Put(marks[static_cast<int>(mark)], "");
        units[k].push_back({code, mark, at});
        if (first == 0) first = at;
      }
      if (hasContext ? Sometimes(10) : Below(4) == 0) {
        const int n = Below(10) == 0 ? 7 + Below(2000) : Below(7);
        repeats[k] = {n, g.Raw.Put("*") + 1};
        g.Raw.Put(std::to_string(n), "");
      }
    }
    if (times == 1 || times == 2 || times == 4) {
      g.Raw.Put(",");
      g.Raw.Put(std::to_string(stop), "");
    }

    SegmentModel model(Sets, g.Options.ExclusivityCheck, g.Messages, first);
    for (std::size_t k = 0; k < units.size(); ++k) {
      model.NewUnit();
      for (const Item& item : units[k]) model.UnitCode(item.Code, item.Kind, item.At);
      if (repeats[k].first >= 0) model.Repeat(repeats[k].first, repeats[k].second);
    }
    SegmentOutcome out = model.Finish(true);
    if (out.Written && (times == 3 || times == 4)) model.Report(46, first);
    if (out.Written && (times == 1 || times == 2)) {
      if (start < stop) {
        out.Start = static_cast<std::uint32_t>(start);
        out.Stop = static_cast<std::uint32_t>(stop);
      } else {
        model.Report(53, first);
      }
    }
    return out;
  }

  // Timed: an explicit start and stop around streams of regular entries
  // (momentary, open, with an offset) and context starts and ends.
  SegmentOutcome Timed(GeneratedText& g) {
    // Now and then a long segment whose entries lie far apart.
    const int start = Below(30), columns = 3 + (Below(8) == 0 ? Below(600) : Below(25)), stop = start + columns;
    const int step = std::max(4, columns / 8);
    const std::uint32_t first = g.Raw.Put(",");
    g.Raw.Put(std::to_string(start), "");
    SegmentModel model(Sets, g.Options.ExclusivityCheck, g.Messages, first);
    model.Span(columns);
    std::uint32_t lastCodeAt = 0;
    for (int s = 0, streams = Below(3) == 0 ? 2 + Below(2) : 1; s < streams; ++s) {
      if (s > 0) {
        g.Raw.Put("&");
        model.EndStream(lastCodeAt);
      }
      int t = start + Below(3);
      for (int n = 1 + Below(6); n > 0; --n) {
        t = std::min(stop - 1, t + Below(step));
        if (Sometimes(15)) t = std::max(start, t - 1 - Below(3));  // before the previous onset
        const bool context = Below(2) == 0;
        SegmentModel::Entry e;
        e.Codes.push_back(PickCode(context));
        const int lead = e.Codes[0];
        const bool end = context && (On[lead] ? Below(3) != 0 : Below(6) == 0 && MayEndUnstarted(lead));
        if (!end && Below(6) == 0) {
          const int second = PickCode(context);
          if (second != e.Codes[0]) e.Codes.push_back(second);
        }
        for (std::size_t k = 0; k < e.Codes.size(); ++k) {
          e.CodeAt = k == 0 ? g.Raw.Put(Code(e.Codes[k])) : g.Raw.Put("+" + Code(e.Codes[k]), "") + 1;
        }
        lastCodeAt = e.CodeAt;
        g.Raw.Put(",", "");
        if (context) {
          int time = t;
          if (end && Below(8) == 0) time = stop;
          if (end && Below(8) == 0 && (t <= start + 1 || Faulty)) time = start + 1;  // one unit after the start
          if (end && Sometimes(8)) time = start;
          for (int code : e.Codes) On[code] = !end;
          Ended[lead] = Ended[lead] || end;
          e.DashAt = g.Raw.Put(end ? "-" : "+", "");
          e.TimeAt = g.Raw.Put(std::to_string(time), "");
          if (end)
            model.ContextOffset(e, time - start);
          else
            model.ContextOnset(e, time - start);
          t = std::max(t, std::min(time, stop - 1));
          continue;
        }
        e.TimeAt = g.Raw.Put(std::to_string(t), "");
        const int kind = Below(3);
        if (kind < 2) {
          if (kind == 1) e.DashAt = g.Raw.Put("-", "");
          model.Onset(e, t - start, kind == 1);
          continue;
        }
        const bool inclusive = Below(3) == 0;
        int offset = std::min(t + Below(step + 2), inclusive ? stop - 1 : stop);
        if (Sometimes(10) && t > start) offset = t - 1;  // before its onset
        e.DashAt = g.Raw.Put("-", "");
        e.OffsetAt = g.Raw.Put(std::to_string(offset) + (inclusive ? ")" : ""), "");
        model.OnsetOffset(e, t - start, offset - start + (inclusive ? 1 : 0));
      }
    }
    g.Raw.Put(",");
    g.Raw.Put(std::to_string(stop), "");
    model.EndStream(lastCodeAt);
    SegmentOutcome out = model.Finish(false);
    out.Start = static_cast<std::uint32_t>(start);
    out.Stop = static_cast<std::uint32_t>(stop);
    return out;
  }

  std::mt19937 Random;
  bool Sets = true, Faulty = false;
  // Per segment: the role of each code, and whether the generator takes a
  // context code to be on and to have been ended before.
  std::vector<bool> Context = std::vector<bool>(NCodes), On, Ended;
};

std::string Rows(const dynChar2& matrix) {
  std::string out;
  for (const std::string& row : matrix) out += "\n  " + row;
  return out;
}

// The segments of a compiled file read back: one outcome a segment, in
// session order.
std::vector<std::vector<SegmentOutcome>> ReadBack(const dynString& lines, bool compressed) {
  MdsHeader header;
  ScriptedDialogue dialogue;
  std::vector<std::vector<SegmentOutcome>> sessions;
  if (!ReadMdsHeaderFromLines(lines, "context.mds", header, dialogue)) return sessions;
  EXPECT_EQ(header.Compressed, compressed);
  int lineIndex = header.LineIndex;
  for (int s = 0; s < header.NSessions; ++s) {
    int replicate = 0, nSegments = 0;
    std::string label;
    dynInteger levels;
    ReadSessionHeader(lines, lineIndex, replicate, nSegments, label, 0, levels);
    sessions.emplace_back();
    for (int k = 0; k < nSegments; ++k) {
      int nDataLines = 0, nTimeUnits = 0;
      SegmentOutcome segment;
      ReadSegmentHeader(lines, lineIndex, nDataLines, nTimeUnits, segment.Start, segment.Stop);
      ReadSegmentData(lines, lineIndex, header.NCodes, nDataLines, nTimeUnits, header.Compressed, segment.Matrix);
      segment.Written = nDataLines > 0;
      segment.DataLines = nDataLines;
      sessions.back().push_back(segment);
    }
  }
  EXPECT_EQ(lineIndex + 1, static_cast<int>(lines.size()));
  return sessions;
}

// The number of data lines of a matrix: one for each stretch of equal
// columns.
int Runs(const dynChar2& matrix) {
  int runs = 0;
  for (std::size_t u = 0; u < matrix[0].size(); ++u) {
    bool same = u > 0;
    for (const std::string& row : matrix) same = same && row[u] == row[u - 1];
    runs += same ? 0 : 1;
  }
  return runs;
}

// Gives a description of the first difference, empty when none.
std::string Compare(const std::vector<std::vector<SegmentOutcome>>& expected,
                    const std::vector<std::vector<SegmentOutcome>>& actual) {
  if (expected.size() != actual.size()) return "session count";
  for (std::size_t s = 0; s < expected.size(); ++s) {
    if (expected[s].size() != actual[s].size()) return "segment count of session " + std::to_string(s + 1);
    for (std::size_t k = 0; k < expected[s].size(); ++k) {
      const SegmentOutcome& e = expected[s][k];
      const SegmentOutcome& a = actual[s][k];
      const std::string where = "session " + std::to_string(s + 1) + " segment " + std::to_string(k + 1) + ": ";
      if (e.Written != a.Written) return where + (e.Written ? "not written" : "written");
      if (!e.Written) continue;
      if (e.Matrix != a.Matrix) return where + "expected" + Rows(e.Matrix) + "\ngot" + Rows(a.Matrix);
      if (e.Start != a.Start || e.Stop != a.Stop) return where + "start or stop";
      if (a.DataLines != Runs(e.Matrix)) return where + "data lines not merged";
    }
  }
  return "";
}

std::string Describe(const std::vector<Reported>& messages) {
  std::string out;
  for (const Reported& m : messages) {
    out += " {" + std::to_string(m.Number) + (m.Kind == Error ? " E " : " W ") + std::to_string(m.Pos) + "}";
  }
  return out;
}

// A text whose compile fails is compared by its messages alone (its lines
// are never saved); a sound one by its messages and every segment.
TEST(ContextCodes, GeneratedTextsGiveTheSegmentsAndMessagesOfTheModel) {
  int failures = 0, texts = 0, compared = 0;
  for (int dataType : {2, 4, 5}) {
    for (unsigned seed = 1; seed <= 400 && failures < 5; ++seed, ++texts) {
      Generator generator(seed * 40503u + static_cast<unsigned>(dataType));
      GeneratedText g = generator.Make(dataType);
      auto run = Compile(g.Raw.Text, g.Options, false, 1 << 30);
      const bool sound =
          std::none_of(g.Messages.begin(), g.Messages.end(), [](const Reported& m) { return m.Kind == Error; });
      std::string difference;
      if (sound && run->State.ErrorCount == 0) {
        ++compared;
        difference = Compare(g.Sessions, ReadBack(run->MdsLines, g.Options.CompressMDS));
      }
      if (difference.empty() && run->Messages() == g.Messages) continue;
      ++failures;
      ADD_FAILURE() << g.Raw.Text << "\n(compressed " << g.Options.CompressMDS << ", exclusivity "
                    << g.Options.ExclusivityCheck << ")\n"
                    << difference << "\nmessages expected" << Describe(g.Messages) << "\ngot"
                    << Describe(run->Messages());
    }
  }
  // Most texts are sound, so that their segments are compared.
  EXPECT_GT(compared, texts / 2);
}

// One-segment texts with the matrix they must give (one row a code, one
// cell a time unit), or no rows when an error keeps the segment unwritten.
struct LiteralCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Rows;
  std::vector<Reported> Expected = {};
  std::uint32_t Start = 1, Stop = 0;
};

class ContextCodeCases : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(ContextCodeCases, GiveTheirMatrix) {
  const LiteralCase& c = GetParam();
  for (bool compressed : {false, true}) {
    CompileOptions options;
    options.CompressMDS = compressed;
    auto run = Compile(c.Text, options, false);
    EXPECT_EQ(run->Messages(), c.Expected);
    if (c.Rows.empty()) continue;
    const auto sessions = ReadBack(run->MdsLines, compressed);
    ASSERT_EQ(sessions.size(), 1u);
    ASSERT_EQ(sessions[0].size(), 1u);
    EXPECT_EQ(sessions[0][0].Matrix, dynChar2(c.Rows));
    EXPECT_EQ(sessions[0][0].Start, c.Start);
    EXPECT_EQ(sessions[0][0].Stop, c.Stop);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Literal, ContextCodeCases,
    ::testing::Values(
        LiteralCase{"OnUntilTheUnitOfItsEnd", "Interval a b;\na+ , b , a- , /", {"21..", ".2.."}},
        LiteralCase{"EndAfterKeepsTheCurrentUnit", "Interval a b;\na+ , b a-) , b , /", {"21..", ".21."}},
        LiteralCase{
            "EndWithoutStartStartsAtTheFirstUnit", "Interval a b;\nb , a- , /", {"2..", "2.."}, {{29, Warning, 19}}},
        LiteralCase{"StartAfterEndAfterIsOneOccurrence", "Interval a b;\na+ , a-) , a+ b , /", {"2111", "..2."}},
        LiteralCase{"StartAfterEndIsANewOccurrence", "Interval a;\na+ , a- , a+ , /", {"2.21"}},
        LiteralCase{
            "StartInASetSwitchesTheOtherOff", "Interval (a b) c;\na+ , b+ c , a- , /", {"2...", ".211", ".2.."}},
        LiteralCase{"WithoutSetsBothStayOn", "Interval a b c;\na+ , b+ c , a- , /", {"21..", ".211", ".2.."}},
        LiteralCase{"CodesOfASetStartingTogetherStayOn", "Interval (a b) c;\nc , a+ b+ , /", {".21", ".21", "2.."}},
        LiteralCase{"RepeatedUnitBetweenStartAndEnd", "Interval a b;\na+ , b *4 , a- , /", {"21111..", ".2111.."}},
        LiteralCase{"MultiEndAfterInTheLastUnit", "Multi a b;\n,10 a+ . b . a-) ,20 /", {"211", ".2."}, {}, 10, 20},
        LiteralCase{
            "TimedOnFromStartUpToEnd", "Timed a b;\n,0 a,+2 b,4-6 a,-7 ,10 /", {"..21111...", "....21...."}, {}, 0, 10},
        LiteralCase{"TimedEndWithoutStart",
                    "Timed a b;\n,0 b,1 a,-4 ,8 /",
                    {"2111....", ".2......"},
                    {{29, Warning, 22}},
                    0,
                    8},
        LiteralCase{"TimedEndOneUnitAfterTheStart",
                    "Timed a b;\n,0 b,0 a,-1 ,4 /",
                    {"2...", "2..."},
                    {{29, Warning, 22}},
                    0,
                    4},
        LiteralCase{"TimedStartInASetSwitchesTheOtherOff",
                    "Timed (a b) c;\n,0 a,+1 & b,+3 ,6 /",
                    {".21...", "...211", "......"},
                    {},
                    0,
                    6},
        LiteralCase{"OpenOnsetLastsUpToTheNextStart", "Timed a b;\n,0 a,1- b,+3 ,6 /", {".21...", "...211"}, {}, 0, 6},
        LiteralCase{"TimedEndAtItsStartIsIgnored", "Timed a;\n,0 a,+2 a,-2 ,5 /", {"..211"}, {{37, Warning, 21}}, 0, 5},
        LiteralCase{"TimedEndIsNeverInclusive", "Timed a;\n,0 a,+1 a,-3) ,6 /", {".21..."}, {}, 0, 6},
        LiteralCase{"StateDataHaveNoContextCodes", "State a b;\na,+5 b,7 ,9 /", {}, {{23, Error, 15}}}),
    [](const ::testing::TestParamInfo<LiteralCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace vork::testing
