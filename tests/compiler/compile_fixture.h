#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compile_state.h"
#include "core/mds_reader.h"
#include <gtest/gtest.h>

#include "tests/support/compiled_text.h"
#include "tests/support/scripted_dialogue.h"

namespace vork::testing {

// One message as the compiler reported it.
struct Reported {
  int Number;
  MessageKind Kind;
  std::uint32_t Pos;
  bool operator==(const Reported&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Reported& r) {
  static const char* const kinds[] = {"", "fatal", "error", "warning"};
  return out << "{" << r.Number << ", " << kinds[static_cast<int>(r.Kind)] << ", " << r.Pos << "}";
}

constexpr MessageKind Fatal = MessageKind::Fatal;
constexpr MessageKind Error = MessageKind::Error;
constexpr MessageKind Warning = MessageKind::Warning;

// A text with the messages its compile must report, for table-driven tests.
struct MessageCase {
  const char* Name;
  std::string Text;
  std::vector<Reported> Expected;
  CompileOptions Options = {};
};

inline std::string CaseName(const ::testing::TestParamInfo<MessageCase>& info) { return info.param.Name; }

// Compile options with one switch turned on, e.g. With(&CompileOptions::RepeatCheck).
inline CompileOptions With(bool CompileOptions::*flag) {
  CompileOptions options;
  options.*flag = true;
  return options;
}

// Compile options with one switch turned off, e.g. Without(&CompileOptions::CaseSensitive).
inline CompileOptions Without(bool CompileOptions::*flag) {
  CompileOptions options;
  options.*flag = false;
  return options;
}

// Compile options whose stamp line carries a fixed date and time.
inline CompileOptions StampedOptions(bool compressed, const std::string& stamp) {
  CompileOptions options;
  options.CompressMDS = compressed;
  options.CurrentDateTime = [stamp] { return stamp; };
  return options;
}

// A compile of a text given as one string with "\n" between lines, kept
// whole so that tests can look at what it worked out.
struct CompileRun {
  dynString SdsLines, MdsLines;
  LineBuffer Compiled;  // the compiled lines as the compiler writes them; MdsLines holds a copy
  CompilerMessageLines List;
  dynCardinal NavPts;
  ScriptedDialogue Dialogue;
  CompileState State;
  std::vector<std::string> Segments;  // every segment's tokens as "kind:text" words
  std::vector<std::string> Spans;     // every segment's "start-stop"

  std::vector<Reported> Messages() const {
    std::vector<Reported> out;
    for (std::size_t i = 0; i < State.ReportedNumbers.size(); ++i) {
      out.push_back({State.ReportedNumbers[i], State.ReportedKinds[i], NavPts.at(i)});
    }
    return out;
  }
};

inline dynString SplitLines(const std::string& text) {
  dynString lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) lines.push_back(line);
  if (!text.empty() && text.back() == '\n') lines.push_back("");
  return lines;
}

inline std::unique_ptr<CompileRun> Compile(const std::string& text, CompileOptions options = {},
                                           bool syntaxOnly = true, int maxErrors = 25) {
  auto run = std::make_unique<CompileRun>();
  run->SdsLines = SplitLines(text);
  run->Dialogue.AnswerOkWhenUnscripted = true;
  CompileState& state = run->State;
  state.Options = options;
  state.MdsLines = &run->Compiled;
  state.ErrorList = &run->List;
  state.NavPts = &run->NavPts;
  state.Dialogue = &run->Dialogue;
  state.SyntaxOnly = syntaxOnly;
  state.MaxErrors = maxErrors;
  CompileRun* raw = run.get();
  state.SegmentTokenized = [raw](const CompileState& s) {
    std::string words;
    for (int k = 1; k <= s.NTokens; ++k) {
      words += (words.empty() ? "" : " ") + std::to_string(s.TokKind[k]) + ":" + s.TokText[k];
    }
    raw->Segments.push_back(words);
    raw->Spans.push_back(std::to_string(s.SegStart) + "-" + std::to_string(s.SegStop));
  };
  RunCompile(state, run->SdsLines);
  run->MdsLines = run->Compiled.ToStrings();
  return run;
}

// One segment of a compiled file as read back: its cells, one row per code,
// and its start and stop.
struct ReadBackSegment {
  dynChar2 Matrix;
  std::uint32_t Start = 0, Stop = 0;
};

// Reads the segment whose line is at lineIndex and moves lineIndex past it.
inline ReadBackSegment ReadNextSegment(const dynString& lines, int& lineIndex, int nCodes, bool compressed) {
  ReadBackSegment segment;
  int nDataLines = 0, nTimeUnits = 0;
  ReadSegmentHeader(lines, lineIndex, nDataLines, nTimeUnits, segment.Start, segment.Stop);
  ReadSegmentData(lines, lineIndex, nCodes, nDataLines, nTimeUnits, compressed, segment.Matrix);
  return segment;
}

}  // namespace vork::testing
