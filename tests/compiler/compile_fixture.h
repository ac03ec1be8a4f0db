#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compile_state.h"
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

// A compile of a text given as one string with "\n" between lines, kept
// whole so that tests can look at what it worked out.
struct CompileRun {
  dynString SdsLines;
  dynString MdsLines;
  CompilerMessageLines List;
  dynCardinal NavPts;
  ScriptedDialogue Dialogue;
  CompileState State;
  // Every segment's tokens as "kind:text" words, one string per segment.
  std::vector<std::string> Segments;
  // Every segment's start and stop as "start-stop".
  std::vector<std::string> Spans;

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

inline std::string DescribeTokens(const CompileState& state) {
  std::string words;
  for (int k = 1; k <= state.NTokens; ++k) {
    if (!words.empty()) words += ' ';
    words += std::to_string(state.TokKind[k]) + ":" + state.TokText[k];
  }
  return words;
}

inline std::unique_ptr<CompileRun> Compile(const std::string& text, CompileOptions options = {},
                                           bool syntaxOnly = true, int maxErrors = 25) {
  auto run = std::make_unique<CompileRun>();
  run->SdsLines = SplitLines(text);
  run->Dialogue.AnswerOkWhenUnscripted = true;
  CompileState& state = run->State;
  state.Options = options;
  state.MdsLines = &run->MdsLines;
  state.ErrorList = &run->List;
  state.NavPts = &run->NavPts;
  state.Dialogue = &run->Dialogue;
  state.SyntaxOnly = syntaxOnly;
  state.MaxErrors = maxErrors;
  CompileRun* raw = run.get();
  state.SegmentTokenized = [raw](const CompileState& s) {
    raw->Segments.push_back(DescribeTokens(s));
    raw->Spans.push_back(std::to_string(s.SegStart) + "-" + std::to_string(s.SegStop));
  };
  RunCompile(state, run->SdsLines);
  return run;
}

}  // namespace vork::testing
