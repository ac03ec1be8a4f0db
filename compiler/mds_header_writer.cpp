#include "compiler/mds_header_writer.h"

#include <climits>
#include <ctime>
#include <string>
#include <unordered_map>
#include <utility>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"
#include "core/cell_index.h"
#include "core/command_error.h"

namespace vork {

namespace {

const char* const StampMarker = "MDS file saved by KELP compiler Version 5.1 ";

// The current date and time in the system's short date and long time form.
std::string SystemDateTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, "%x %X", &local);
  return std::string(text, length);
}

std::string JoinFields(const dynString& items, int first, int last) {
  std::string line;
  for (int k = first; k <= last; ++k) {
    if (k > first) line += '\t';
    if (k >= 0 && k < static_cast<int>(items.size())) line += items[k];
  }
  return line;
}

std::string JoinNumbers(const dynInteger& items, int first, int last) {
  std::string line;
  for (int k = first; k <= last; ++k) {
    if (k > first) line += '\t';
    line += std::to_string(k >= 0 && k < static_cast<int>(items.size()) ? items[k] : 0);
  }
  return line;
}

// Factors made from the level lists of sessions when none were declared:
// "Factor#" and their position, with the levels met there in sorted order.
void AdoptInferredFactors(CompileState& state) {
  if (state.NFactors != 0 || state.InferredLevels.empty()) return;
  state.NFactors = static_cast<int>(state.InferredLevels.size());
  state.FactorNames.assign(1, std::string());
  state.FactorLevels.assign(1, 0);
  state.FactorLevelNames.assign(1, dynString());
  for (int f = 1; f <= state.NFactors; ++f) {
    const auto& met = state.InferredLevels[f - 1];
    state.FactorNames.push_back("Factor#" + std::to_string(f));
    state.FactorLevels.push_back(static_cast<std::int32_t>(met.size()));
    dynString names{std::string()};
    names.insert(names.end(), met.begin(), met.end());
    state.FactorLevelNames.push_back(std::move(names));
  }
  state.InferredLevels.clear();
}

std::string CountsLine(const CompileState& state, int sessions, int maxSessionsPerCell) {
  return std::to_string(state.NCodes) + "\t" + std::to_string(state.Duals) + "\t" +
         std::to_string(state.NSets) + "\t" + std::to_string(state.NFactors) + "\t" +
         std::to_string(sessions) + "\t" + std::to_string(maxSessionsPerCell);
}

// The index (from 1) of a level among its factor's names, searched from the
// last backwards; 0 when it is not there.
int FactorLevelIndex(const std::string& level, const dynString& names, int count) {
  for (int k = std::min(count, static_cast<int>(names.size()) - 1); k >= 1; --k) {
    if (names[k] == level) return k;
  }
  return 0;
}

struct CompletedLevels {
  dynInteger2 LevelNumbers;  // [session - 1][factor 1..NFactors]
  dynInteger Replicates;     // [session - 1]
  int MaxSessionsPerCell = 0;
  bool LevelNotFound = false;
  bool LevelsVaried = false;
  bool LevelsLacked = false;
};

// Gives every session a level for every factor (a session without one
// takes the next session's) and numbers each session among those with the
// same levels.
CompletedLevels CompleteLevels(CompileState& state, int sessions) {
  const int nFactors = state.NFactors;
  CompletedLevels result;
  dynString2& names = state.SessionLevelNames;
  names.resize(static_cast<std::size_t>(sessions));
  for (dynString& session : names) session.resize(static_cast<std::size_t>(nFactors));

  for (int s = sessions - 1; s >= 1; --s) {
    int taken = 0;
    for (int f = 0; f < nFactors; ++f) {
      if (!names[s - 1][f].empty()) continue;
      names[s - 1][f] = names[s][f];
      ++taken;
    }
    if (taken > 0) result.LevelsLacked = true;
    if (taken > 0 && taken < nFactors) result.LevelsVaried = true;
  }

  dynInteger sizes(static_cast<std::size_t>(nFactors) + 1, 0);
  std::int64_t cells = 1;
  for (int f = 1; f <= nFactors; ++f) {
    sizes[f] = f < static_cast<int>(state.FactorLevels.size()) ? state.FactorLevels[f] : 0;
    if (sizes[f] > 1) cells *= sizes[f];
    if (cells > INT_MAX) {
      throw CommandError("The factors have more than " + std::to_string(INT_MAX) +
                         " combinations of levels.");
    }
  }
  std::unordered_map<int, int> cellCounts;
  result.LevelNumbers.resize(static_cast<std::size_t>(sessions));
  result.Replicates.resize(static_cast<std::size_t>(sessions));
  for (int s = 0; s < sessions; ++s) {
    dynInteger levels(static_cast<std::size_t>(nFactors) + 1, 0);
    for (int f = 1; f <= nFactors; ++f) {
      const dynString& levelNames =
          f < static_cast<int>(state.FactorLevelNames.size()) ? state.FactorLevelNames[f]
                                                                : dynString();
      levels[f] = FactorLevelIndex(names[s][f - 1], levelNames, sizes[f]);
      if (levels[f] == 0) {
        levels[f] = 1;
        result.LevelNotFound = true;
      }
    }
    const int count = ++cellCounts[CellIndex(sizes, levels, 1, nFactors)];
    result.MaxSessionsPerCell = std::max(result.MaxSessionsPerCell, count);
    result.Replicates[s] = count;
    result.LevelNumbers[s] = std::move(levels);
  }
  return result;
}

// The position 3 characters before the end of the raw text.
std::int64_t NearEndOfText(const CompileState& state) {
  std::int64_t length = 0;
  for (std::size_t line = 0; line < state.SdsText.size(); ++line) {
    length += static_cast<std::int64_t>(state.SdsText.Length(line)) + 2;
  }
  return std::max<std::int64_t>(length - 3, 0);
}

}  // namespace

void WriteMdsHeader(CompileState& state) {
  AdoptInferredFactors(state);
  const int sessions = std::max(state.SessionNo, 0);
  const int nFactors = state.NFactors;

  state.SavedAt = state.Options.CurrentDateTime ? state.Options.CurrentDateTime()
                                                : SystemDateTimeText();
  dynString header;
  header.push_back((state.Options.CompressMDS ? "" : "\t") + std::string(StampMarker) +
                   state.SavedAt);
  header.push_back(std::to_string(state.DataType) + "\t" + std::to_string(state.IntervalDuration) +
                   "\t" + std::to_string(state.IntervalUnitMark));
  const std::size_t countsLine = header.size();
  header.push_back(CountsLine(state, sessions, sessions));
  // The format has no line of code names when there is no code.
  if (state.NCodes > 0) header.push_back(JoinFields(state.CodeNames, 1, state.NCodes));
  if (state.Duals == 1) header.push_back(JoinFields(state.DualNames, 1, state.NCodes));
  if (state.NSets > 0) {
    header.push_back(JoinNumbers(state.CodeSet, 1, state.NCodes));
    header.push_back(JoinFields(state.SetNames, 1, state.NSets));
  }
  for (int f = 1; f <= nFactors; ++f) {
    const int levels = f < static_cast<int>(state.FactorLevels.size()) ? state.FactorLevels[f] : 0;
    std::string line = (f < static_cast<int>(state.FactorNames.size()) ? state.FactorNames[f]
                                                                        : std::string()) +
                       "\t" + std::to_string(levels);
    if (levels > 0 && f < static_cast<int>(state.FactorLevelNames.size())) {
      line += "\t" + JoinFields(state.FactorLevelNames[f], 1, levels);
    }
    header.push_back(std::move(line));
  }

  LineBuffer& data = *state.MdsLines;
  if (nFactors == 0) {
    // The data part moves once behind the header.
    data.InsertFront(LineBuffer(header));
    return;
  }

  const CompletedLevels levels = CompleteLevels(state, sessions);
  header[countsLine] = CountsLine(state, sessions, levels.MaxSessionsPerCell);
  // Where each session's line stands, so the copy can put its level line
  // after it and its replicate number in front.
  std::unordered_map<std::size_t, int> sessionAt;
  for (int s = 0; s < sessions && s < static_cast<int>(state.SessionLineIndex.size()); ++s) {
    const int at = state.SessionLineIndex[s];
    if (at >= 0 && static_cast<std::size_t>(at) < data.size()) sessionAt[static_cast<std::size_t>(at)] = s;
  }
  LineBuffer file(header);
  for (std::size_t k = 0; k < data.size(); ++k) {
    const std::string_view line = data[k];
    const auto found = sessionAt.find(k);
    if (found == sessionAt.end()) {
      file.push_back(line);
      continue;
    }
    const int s = found->second;
    const std::size_t tab = line.find('\t');
    file.push_back(std::to_string(levels.Replicates[s]) +
                   (tab == std::string::npos ? std::string() : std::string(line.substr(tab))));
    file.push_back(JoinNumbers(levels.LevelNumbers[s], 1, nFactors));
  }
  data = std::move(file);

  const std::int64_t pos = NearEndOfText(state);
  if (levels.LevelNotFound) ReportCompileMessage(state, 108, pos);
  if (levels.LevelsVaried) ReportCompileMessage(state, 109, pos);
  if (levels.LevelsLacked) ReportCompileMessage(state, 110, pos);
}

}  // namespace vork
