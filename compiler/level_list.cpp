#include "compiler/level_list.h"

#include <string>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"

namespace vork {

namespace {

void ReportAt(CompileState& state, int msgNo, int token) {
  ReportCompileMessage(state, msgNo, -static_cast<std::int64_t>(token));
}

bool IsDeclaredLevel(const CompileState& state, int factor, const std::string& name) {
  if (factor < 1 || factor >= static_cast<int>(state.FactorLevelNames.size())) return false;
  const dynString& names = state.FactorLevelNames[factor];
  const int count = factor < static_cast<int>(state.FactorLevels.size())
                        ? state.FactorLevels[factor]
                        : 0;
  for (int level = 1; level <= count && level < static_cast<int>(names.size()); ++level) {
    if (names[level] == name) return true;
  }
  return false;
}

bool ListIsOpen(const CompileState& state) { return state.LevelListOpen && !state.LevelsGiven; }

}  // namespace

void OpenLevelList(CompileState& state, int i) {
  if (state.LevelsGiven) {
    ReportAt(state, 40, i);
  } else if (!state.LevelListOpen) {
    state.LevelListOpen = true;
  } else {
    ReportAt(state, 41, i);
  }
  state.LevelCount = 0;
  state.SeparatorCount = 0;
}

void AddLevelName(CompileState& state, int i) {
  if (!ListIsOpen(state)) return;
  const std::string& name = state.TokText[i];
  state.SeparatorCount = state.LevelCount;
  ++state.LevelCount;
  if (state.NFactors > 0) {
    if (state.LevelCount > state.NFactors) return ReportAt(state, 42, i);
    if (!IsDeclaredLevel(state, state.LevelCount, name)) return ReportAt(state, 43, i);
    state.LevelList.push_back(name);
    return;
  }
  if (static_cast<int>(state.InferredLevels.size()) < state.LevelCount) {
    state.InferredLevels.resize(static_cast<std::size_t>(state.LevelCount),
                                std::set<std::string, CollatedLess>(state.NameOrder));
  }
  state.InferredLevels[state.LevelCount - 1].insert(name);
  state.LevelList.push_back(name);
}

// Two separators with no level between them, or one before the closing
// ")", stand for a level left empty.
void LevelSeparator(CompileState& state) {
  if (!ListIsOpen(state)) return;
  ++state.SeparatorCount;
  if (state.SeparatorCount > state.LevelCount) {
    ++state.LevelCount;
    state.LevelList.push_back(std::string());
  }
}

void CloseLevelList(CompileState& state, int i) {
  if (state.LevelsGiven) return;
  if (!state.LevelListOpen) return ReportAt(state, 41, i);
  LevelSeparator(state);
  state.LevelListOpen = false;
  state.LevelsGiven = true;
}

}  // namespace vork
