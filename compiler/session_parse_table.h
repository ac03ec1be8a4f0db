#pragma once

#include <array>

namespace vork {

// The data part's state machine: one start state per data type (1 Event,
// 2 Timed, 3 State, 4 Interval, 5 Multi), the states in between, and one
// recovery state per data type (34 to 38) that skips tokens after a syntax
// error up to a safe point.
constexpr int SessionStateCount = 38;
constexpr int SessionColumnCount = 14;
constexpr int SessionActionCount = 53;

// Actions with a meaning of their own beyond the next state.
constexpr int ActionSyntaxError = 52;
constexpr int ActionSkipToken = 53;

// DataTrans[state][column]: the action for a token of that column (its kind,
// a declared code being column 1) in that state. Row and column 0 unused.
extern const std::array<std::array<int, SessionColumnCount + 1>, SessionStateCount + 1> DataTrans;

// StateMap2[action]: the state after the action; StateMap2[data type] is
// the data type's start state. Element 0 unused.
extern const std::array<int, SessionActionCount + 1> StateMap2;

// ErrRecovery[data type]: the state that skips tokens after a syntax error.
extern const std::array<int, 6> ErrRecovery;

// The table column of a token kind: a declared code (negative kind) is
// column 1; a kind outside the table's columns gives 0.
constexpr int KindColumn(int kind) {
  if (kind < 0) return 1;
  if (kind >= 1 && kind <= SessionColumnCount) return kind;
  return 0;
}

// The action for a token kind in a state: a kind without a column is a
// syntax error, or a skipped token in a recovery state.
inline int SessionAction(int state, int kind) {
  if (state < 1 || state > SessionStateCount) return ActionSyntaxError;
  const int column = KindColumn(kind);
  if (column == 0) return state >= ErrRecovery[1] ? ActionSkipToken : ActionSyntaxError;
  return DataTrans[static_cast<std::size_t>(state)][static_cast<std::size_t>(column)];
}

}  // namespace vork
