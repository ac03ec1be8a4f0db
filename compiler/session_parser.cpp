#include "compiler/session_parser.h"

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"
#include "compiler/level_list.h"
#include "compiler/segment_builder.h"
#include "compiler/session_parse_table.h"

namespace vork {

void ParseSession(CompileState& state) {
  if (state.DataType < 1 || state.DataType > 5) return;
  state.LevelListOpen = false;
  state.SeparatorCount = 0;
  SegmentBuilder segment(state);
  const int dataType = state.DataType;
  int current = StateMap2[dataType];

  for (int i = 1; i <= state.NTokens; ++i) {
    const int action = SessionAction(current, state.TokKind[i]);
    int next = StateMap2[action];
    segment.SetToken(i);
    switch (action) {
      case 10: case 11: case 12: case 13:
        segment.SetStartTime(i);
        break;
      case 15:
        segment.SetStopTime(i);
        break;
      case 16:
        segment.AddEventCode(i);
        break;
      case 17: case 18:
        segment.AddUnitCode(i);
        break;
      case 21: case 22:
        segment.RepeatUnit(i);
        break;
      case 23: case 24:
        segment.MarkContextStart(i);
        break;
      case 25: case 26:
        if (segment.MarkContextEnd(i)) ++i;  // the ")" after "-" is used up
        break;
      case 27: case 28:
        segment.NewTimeUnit();
        break;
      case 29: case 30:
        segment.SetComboCode(i);
        break;
      case 31: case 32:
        segment.AddComboCode();
        break;
      case 33:
        segment.StateComma(i);
        break;
      case 35:
        segment.AddStateTime(i);
        break;
      case 39:
        segment.AddContextOnset(i);
        break;
      case 40:
        segment.AddContextOffset(i);
        break;
      case 41:
        segment.TimedOnsetTime(i);
        break;
      case 42:
        segment.TimedOnsetDash(i);
        break;
      case 43:
        segment.AddTimedOffset(i);
        break;
      case 44: case 45:
        segment.EndStream();
        break;
      case 46:
        OpenLevelList(state, i);
        break;
      case 47:
        AddLevelName(state, i);
        break;
      case 48:
        LevelSeparator(state);
        break;
      case 49:
        CloseLevelList(state, i);
        next = StateMap2[dataType];
        break;
      case 50: case 51:
        segment.EndTokens();
        break;
      case ActionSyntaxError:
        ReportCompileMessage(state, 69 + current, i == 1 ? 0 : -static_cast<std::int64_t>(i - 1));
        next = ErrRecovery[dataType];
        break;
      case ActionSkipToken:
        next = ErrRecovery[dataType];
        break;
      default:  // the state change only
        break;
    }
    if (state.Stopped) return;
    current = next;
  }
  segment.Finish();
}

}  // namespace vork
