#include "compiler/data_part.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"
#include "compiler/lexer.h"
#include "compiler/session_parser.h"
#include "compiler/session_tokenizer.h"

namespace vork {
namespace {

// The time-unit word of the units line when the declarations give none.
const char* const DefaultUnitLabels[] = {"", "events", "seconds", "seconds", "intervals", "events"};

std::string UnitsLine(const CompileState& state) {
  std::string label = state.TimeUnitLabel;
  if (label.empty() && state.DataType >= 1 && state.DataType <= 5) {
    label = DefaultUnitLabels[state.DataType];
  }
  if (state.DataType == DataTypeInterval && state.IntervalDuration > 1) {
    label = std::to_string(state.IntervalDuration) + "sInts";
  }
  return std::to_string(state.TimeFormat) + "\t" + std::to_string(state.TimeUnitIndex) + "\t" + label;
}

std::string SessionLine(int session, int segments, const std::string& label) {
  return std::to_string(session) + "\t" + std::to_string(segments) + "\t" + label;
}

void AppendLine(CompileState& state, std::string_view line) {
  if (state.MdsLines) state.MdsLines->push_back(line);
}

// Rewrites a line written before its values were known; only a line that
// changes is rewritten, as the lines behind it move.
void RewriteLine(CompileState& state, int index, std::string_view line) {
  if (!state.MdsLines || index < 0 || static_cast<std::size_t>(index) >= state.MdsLines->size()) return;
  if ((*state.MdsLines)[static_cast<std::size_t>(index)] != line)
    state.MdsLines->ReplaceLine(static_cast<std::size_t>(index), line);
}

int LineCount(const CompileState& state) {
  return state.MdsLines ? static_cast<int>(state.MdsLines->size()) : 0;
}

void BeginSegment(CompileState& state) {
  state.SegmentNo += 1;
  state.SegmentEnd = false;
  state.NTokens = 0;
  state.PendingText.clear();
  state.PendingKind = TokenCode;
  state.PrevClass = 0;
  state.SegmentHasError = false;
  state.OneCharMode = state.OneCharCodesOn;
  state.SegStart = 1;
  state.SegStop = 0;
  state.NoDurations = true;
  state.LevelListOpen = false;
  state.SeparatorCount = 0;
}

void BeginSession(CompileState& state) {
  state.SessionNo += 1;
  state.SessionLabel = "#" + std::to_string(state.SessionNo);
  state.SessionEnd = false;
  state.LabelSeen = false;
  state.LevelsGiven = false;
  state.LevelCount = 0;
  state.LevelList.clear();
  state.SegmentNo = 0;
  UseClassRow(state, state.DataType);
  state.EndsToken[ClassClose] = false;
}

// The progress bar's position after a session: how far through the lines
// reading has come, in percent, halves rounded to even.
int ProgressPercent(const CompileState& state) {
  const double lines = static_cast<double>(state.SdsText.size());
  if (lines <= 0) return 0;
  return static_cast<int>(std::nearbyint(state.LineIndex * 100.0 / lines));
}

}  // namespace

void ParseData(CompileState& state) {
  state.SessionNo = 0;
  if (state.Dialogue) state.Dialogue->Progress(0, 100);
  state.TimeFormat = 0;
  state.TimeUnitIndex = 0;
  state.FirstTimeSeen = false;
  state.LevelList.clear();
  if (state.NCodes < 1) {
    state.CollectedCodes = std::set<std::string, CollatedLess>(state.NameOrder);
  }
  state.LabelList.clear();
  state.LevelsGivenCount = 0;
  state.SessionLineIndex.clear();
  state.SessionLevelNames.clear();
  state.CodeIndexByName = LastIndexesOfNames(state.CodeNames, state.NCodes);
  state.DualIndexByName = LastIndexesOfNames(state.DualNames, state.NCodes);
  int unitsLineIndex = -1;

  do {
    BeginSession(state);
    int sessionLineIndex = -1;
    bool lastSegmentHadTokens = false;
    std::int64_t lastTokenPos = -1;  // the session's last token so far
    do {
      BeginSegment(state);
      TokenizeSession(state);
      lastSegmentHadTokens = state.NTokens > 0;
      if (state.NTokens > 0) lastTokenPos = state.TokPos[state.NTokens];
      if (state.UnfinishedWordPos >= 0) lastTokenPos = state.UnfinishedWordPos;
      if (!state.SessionEnd && state.EndOfText) {
        if (lastTokenPos < 0) {
          // Comments or blanks after the last session make no session.
          state.SessionNo -= 1;
        } else {
          // Also when only comments follow the session's last ";".
          ReportCompileMessage(state, 47, lastTokenPos);
        }
      }
      if (state.Stopped) return;
      // A session cut off in its first word still counts its label.
      if (state.Reporting && state.SegmentNo == 1 && state.NTokens == 0 && state.UnfinishedWordPos >= 0) {
        state.LabelList.insert(state.SessionLabel);
      }
      if (state.Reporting && state.NTokens > 0) {
        if (state.SegmentTokenized) state.SegmentTokenized(state);
        if (state.SegmentNo == 1) state.LabelList.insert(state.SessionLabel);
        if (!state.SegmentHasError) {
          if (state.SessionNo == 1 && state.SegmentNo == 1) {
            unitsLineIndex = LineCount(state);
            AppendLine(state, UnitsLine(state));
          }
          if (state.SegmentNo == 1) {
            sessionLineIndex = LineCount(state);
            AppendLine(state, SessionLine(state.SessionNo, 1, state.SessionLabel));
          }
          ParseSession(state);
          if (state.Stopped) return;
        }
      }
    } while (!state.SessionEnd && !state.EndOfText);

    if (state.ErrorCount == 0 && state.Reporting && state.SessionEnd && lastSegmentHadTokens) {
      if (state.SegmentNo > 1) {
        RewriteLine(state, sessionLineIndex, SessionLine(state.SessionNo, state.SegmentNo, state.SessionLabel));
      }
      state.SessionLineIndex.resize(state.SessionNo, -1);
      state.SessionLineIndex.back() = sessionLineIndex;
      if (state.NFactors > 0 || !state.InferredLevels.empty()) {
        state.SessionLevelNames.resize(state.SessionNo);
        if (!state.LevelList.empty()) {
          state.SessionLevelNames.back() = state.LevelList;
          state.LevelsGivenCount = 0;
          for (const std::string& level : state.LevelList) state.LevelsGivenCount += level.empty() ? 0 : 1;
        }
      }
    }
    if (state.Dialogue) state.Dialogue->Progress(ProgressPercent(state), 100);
  } while (!state.EndOfText);

  if (state.ErrorCount == 0 && state.NFactors > 0 && state.LevelsGivenCount < state.NFactors) {
    const std::int64_t at = state.TextPos + state.CharIndex - 4;
    ReportCompileMessage(state, 48, at < 0 ? 0 : at);
  }
  state.LevelList.clear();
  if (static_cast<int>(state.LabelList.size()) != state.SessionNo) ReportCompileMessage(state, 49, 0);
  state.LabelList.clear();
  // The units line was written with the time format and unit known after
  // the first segment; data whose first time comes later gets them here.
  if (state.Reporting) RewriteLine(state, unitsLineIndex, UnitsLine(state));
  // A text without sessions still gets the units line that every compiled
  // file has after its header; without it the file could not be read.
  if (state.Reporting && unitsLineIndex < 0 && state.SessionNo == 0) AppendLine(state, UnitsLine(state));
}

}  // namespace vork
