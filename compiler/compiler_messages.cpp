#include "compiler/compiler_messages.h"

#include <string>

#include "compiler/compile_state.h"
#include "core/command_error.h"

namespace vork {

// Numbers 55 to 69 are the declaration grammar's syntax errors by state
// (54 + state); 70 to 107 those of the data-part parser (69 + state).
const std::array<CompilerMessage, CompilerMessageCount + 1> CompilerMessages = {{
    {MessageKind::Error, ""},  // 0: unused
    {MessageKind::Fatal, "No terminating character found for multiline comment."},  // 1
    {MessageKind::Error, "Unrecognized syntax or character."},  // 2
    {MessageKind::Warning, "Only one <time-unit label> can be declared."},  // 3
    {MessageKind::Fatal, "No semicolon found after header."},  // 4
    {MessageKind::Error, "Code name already defined."},  // 5
    {MessageKind::Error, "Dual name already defined."},  // 6
    {MessageKind::Error, "The number of one-character codes and duals must be the same."},  // 7
    {MessageKind::Fatal, "Unknown data type. Event, Timed, State, Interval, or Multi-Event expected"},  // 8
    {MessageKind::Error, "Interval duration ,ust be integer."},  // 9
    {MessageKind::Error, "Set name already defined."},  // 10
    {MessageKind::Error, "Factor already defined."},  // 11
    {MessageKind::Error, "Factor level already defined."},  // 12
    {MessageKind::Error, "Unrecognized syntax."},  // 13
    {MessageKind::Error, "Misplaced right parenthesis. Inclusive offset time expected"},  // 14
    {MessageKind::Error, "Time cannot end with a period or colon."},  // 15
    {MessageKind::Error, "Too many colons or decimal separators for time."},  // 16
    {MessageKind::Error, "Only three decimal digits allowed for time."},  // 17
    {MessageKind::Error, "Value after : cannot exceed 59."},  // 18
    {MessageKind::Error, "Number of decimal digits must agree with first time in file."},  // 19
    {MessageKind::Warning, "Time format must agree with first time in file."},  // 20
    {MessageKind::Error, "Something wrong with time format."},  // 21
    {MessageKind::Warning, "Only one <session label> allowed per session."},  // 22
    {MessageKind::Error, "This code was not declared."},  // 23
    {MessageKind::Warning, "No explicit stop given. Stop time = last code onset+1 time-unit. OK?"},  // 24
    {MessageKind::Error, "Time can't be before session/segment begins."},  // 25
    {MessageKind::Error, "Time can't be after session/segment ends."},  // 26
    {MessageKind::Error, "Code can't be both regular code and context code."},  // 27
    {MessageKind::Error, "Context code can't end at the same time the session/segment begins."},  // 28
    {MessageKind::Warning, "Context code had no start.  One was added for the session/segment. OK?"},  // 29
    {MessageKind::Error, "A context code and *N can't be in same interval or multi-event."},  // 30
    {MessageKind::Error, "Code must begin after previous code."},  // 31
    {MessageKind::Warning, "Code ignored; overlaps self in this or earlier stream. OK?"},  // 32
    {MessageKind::Error, "Code offset must be after its onset time."},  // 33
    {MessageKind::Warning, "Duration is zero. Code treated as momentary. OK?"},  // 34
    {MessageKind::Warning, "Context code onset times conflict in different steams. OK?"},  // 35
    {MessageKind::Error, "Context code can't begin before previous code."},  // 36
    {MessageKind::Warning, "Context code offset times conflict in different steams. OK?"},  // 37
    {MessageKind::Error, "For state data, code,time and code=time can't be mixed."},  // 38
    {MessageKind::Warning, "No codes found for this session (segment,stream). OK?"},  // 39
    {MessageKind::Error, "Only one list of (factor level names) allowed per session."},  // 40
    {MessageKind::Error, "Opening and closing parentheses don't match."},  // 41
    {MessageKind::Error, "Too many factor levels given."},  // 42
    {MessageKind::Error, "This factor level was not declared."},  // 43
    {MessageKind::Warning, "Code onset = previous onset. Previous duration = 1 time-unit. OK?"},  // 44
    {MessageKind::Warning, "Stop time = code onset time. Stop time increased by 1 time-unit. OK?"},  // 45
    {MessageKind::Warning, "Just a start, or just a stop, time given for session. Ignored, OK?"},  // 46
    {MessageKind::Error, "No terminating slash found for last session."},  // 47
    {MessageKind::Error, "Levels must be given for all factors for the last session."},  // 48
    {MessageKind::Warning, "Duplicate session labels found.  OK?"},  // 49
    {MessageKind::Warning, "Code repeated."},  // 50
    {MessageKind::Warning, "Code overlaps another in its ME&E set."},  // 51
    {MessageKind::Warning, "The option, all codes are a single character, is checked. OK?"},  // 52
    {MessageKind::Warning, "Session start time not < session stop time. Ignored, OK?"},  // 53
    {MessageKind::Warning, "The option, repeated code check, is only used for event data, OK?"},  // 54
    {MessageKind::Error, "codes, sets, factors, or closing semicolon expected"},  // 55
    {MessageKind::Error, "codes, dual codes, sets, factors, or closing semicolon expected"},  // 56
    {MessageKind::Error, "dual code expected after ="},  // 57
    {MessageKind::Error, "codes or $setname  expected after opening ("},  // 58
    {MessageKind::Error, "set name expected after $"},  // 59
    {MessageKind::Error, "= expected after $setname"},  // 60
    {MessageKind::Error, "codes expected after setname= "},  // 61
    {MessageKind::Error, "more codes or closing ) expected"},  // 62
    {MessageKind::Error, "more codes or closing ) expected"},  // 63
    {MessageKind::Error, "dual code expected after ="},  // 64
    {MessageKind::Error, "factor name expected after *"},  // 65
    {MessageKind::Error, "opening ( expected after factor name"},  // 66
    {MessageKind::Error, "factor level expected after opening ("},  // 67
    {MessageKind::Error, "another factor level or closing ) expected after factor level"},  // 68
    {MessageKind::Error, "another factor name or  semicolon expected after closing )"},  // 69
    {MessageKind::Error, "event code or session-segment start time expected"},  // 70
    {MessageKind::Error, "timed-event code or session-segment start time expected"},  // 71
    {MessageKind::Error, "state code or session-segment start time expected"},  // 72
    {MessageKind::Error, "interval code, interval end, or session/segment end expected"},  // 73
    {MessageKind::Error, "multi-event code or session/segment start time expected"},  // 74
    {MessageKind::Error, "session/segment start time expected after comma"},  // 75
    {MessageKind::Error, "session/segment start time expected after comma"},  // 76
    {MessageKind::Error, "session/segment start time expected after comma"},  // 77
    {MessageKind::Error, "session/segment start time expected after comma"},  // 78
    {MessageKind::Error, "event code or end of session-segment, or its stop time, expected"},  // 79
    {MessageKind::Error, "multi-event code or end, or end of session/segment or its stop time expected"},  // 80
    {MessageKind::Error, "state code or end of stream of session-segment, or its stop time, expected"},  // 81
    {MessageKind::Error, "timed-event code or end of stream or session-segment, or its stop time, expected"},  // 82
    {MessageKind::Error, "session/segment stop time expected after comma"},  // 83
    {MessageKind::Error, "end of session/segment, or factor levels, expected"},  // 84
    {MessageKind::Error, "interval code or end, or session/segment end expected"},  // 85
    {MessageKind::Error, "multi-event code or end, or end of session/segment or its stop time expected"},  // 86
    {MessageKind::Error, "interval replication number expected after *"},  // 87
    {MessageKind::Error, "multi-event replication number expected after *"},  // 88
    {MessageKind::Error, "end of interval or segment/session expected"},  // 89
    {MessageKind::Error, "multi-event end, or end of session/segment or its stop time expected"},  // 90
    {MessageKind::Error, "comma, = (or combo-code +) expected after state code"},  // 91
    {MessageKind::Error, "comma (or combo-code +) expected after timed-event code"},  // 92
    {MessageKind::Error, "state code expected after + or &"},  // 93
    {MessageKind::Error, "timed-event code expected after + or &"},  // 94
    {MessageKind::Error, "state time expected after comma, or its duration after =,"},  // 95
    {MessageKind::Error, "time (or context ±) expected after comma"},  // 96
    {MessageKind::Error, "context time expected after +"},  // 97
    {MessageKind::Error, "context time expected after -"},  // 98
    {MessageKind::Error, "new code, -, or end of stream or session-segment expected after code onset time"},  // 99
    {MessageKind::Error, "new code, code offset time, or stream or session-segment end expected after -"},  // 100
    {MessageKind::Error, "factor level expected after opening left parenthesis"},  // 101
    {MessageKind::Error, "another factor level or closing right parentheis expected"},  // 102
    {MessageKind::Error, "after error, looking for next event code or end of segment"},  // 103
    {MessageKind::Error, "after error, looking for next timed-event code or end of segment/stream"},  // 104
    {MessageKind::Error, "after error, looking for next state code or end of segment/stream"},  // 105
    {MessageKind::Error, "after error, looking for next interval code or end of segment"},  // 106
    {MessageKind::Error, "after error, looking for next multi-event or end of segment"},  // 107
    {MessageKind::Error, "Incorrect # of factor levels for last session."},  // 108
    {MessageKind::Warning, "# of factor levels per session varies. OK?"},  // 109
    {MessageKind::Warning, "Some sessions lacked factor levels. Later ones used. OK?"},  // 110
    {MessageKind::Error, "Add a previous positive context code for this negative context code."},  // 111
}};

std::string MessageSuffix(MessageKind kind) {
  return kind == MessageKind::Warning ? " (warning)" : "";
}

std::string CompilerMessageLine(int msgNo) {
  if (msgNo < 1 || msgNo > CompilerMessageCount) {
    throw CommandError("Compiler message " + std::to_string(msgNo) + " does not exist.");
  }
  const CompilerMessage& message = CompilerMessages[msgNo];
  return message.Text + MessageSuffix(message.Kind);
}

namespace {

void Record(CompileState& state, int msgNo, MessageKind kind, const std::string& line, std::int64_t pos) {
  if (pos < 0) {
    const std::int64_t token = -pos;
    pos = token < static_cast<std::int64_t>(state.TokPos.size()) ? state.TokPos[token] : 0;
  }
  state.ReportedNumbers.push_back(msgNo);
  state.ReportedKinds.push_back(kind);
  if (state.ErrorList) state.ErrorList->Append(line);
  if (state.NavPts) {
    state.NavPts->push_back(pos < 0 ? 0u
                            : pos > 0xFFFFFFFFLL ? 0xFFFFFFFFu
                                                 : static_cast<std::uint32_t>(pos));
  }
  const int maxErrors = state.MaxErrors < 1 ? 1 : state.MaxErrors;
  switch (kind) {
    case MessageKind::Fatal:
      if (state.Dialogue) state.Dialogue->Ask(BoxStyle::Error, " Fatal error", Buttons::Ok);
      state.Stopped = true;
      ++state.ErrorCount;
      break;
    case MessageKind::Error:
      ++state.ErrorCount;
      state.SegmentHasError = true;
      if (state.ErrorCount % maxErrors == 0 && state.Dialogue &&
          state.Dialogue->Ask(BoxStyle::Error,
                              std::to_string(state.ErrorCount) + " errors found. Stop?",
                              Buttons::YesNo) == Answer::Yes) {
        state.Stopped = true;
      }
      break;
    case MessageKind::Warning:
      ++state.WarningCount;
      if (state.WarningCount % maxErrors == 0 && state.Dialogue &&
          state.Dialogue->Ask(BoxStyle::Error,
                              std::to_string(state.WarningCount) + " warnings found. Stop?",
                              Buttons::YesNo) == Answer::Yes) {
        state.Stopped = true;
      }
      break;
  }
}

}  // namespace

void ReportCompileMessage(CompileState& state, int msgNo, MessageKind kind, std::int64_t pos) {
  if (state.Stopped) return;
  if (!state.Reporting) {
    // The code-collecting pass reports nothing, but a segment with an error
    // is worked on no further there either: its times are not used.
    if (kind != MessageKind::Warning) state.SegmentHasError = true;
    return;
  }
  if (msgNo < 1 || msgNo > CompilerMessageCount) {
    throw CommandError("Compiler message " + std::to_string(msgNo) + " does not exist.");
  }
  Record(state, msgNo, kind, CompilerMessages[msgNo].Text + MessageSuffix(kind), pos);
}

void ReportCompileError(CompileState& state, const std::string& text, std::int64_t pos) {
  if (state.Stopped) return;
  if (!state.Reporting) {
    state.SegmentHasError = true;
    return;
  }
  Record(state, 0, MessageKind::Error, text, pos);
}

void ReportCompileMessage(CompileState& state, int msgNo, std::int64_t pos) {
  const MessageKind kind =
      msgNo >= 1 && msgNo <= CompilerMessageCount ? CompilerMessages[msgNo].Kind : MessageKind::Error;
  ReportCompileMessage(state, msgNo, kind, pos);
}

}  // namespace vork
