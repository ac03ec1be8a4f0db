#include "compiler/declarations.h"

#include <cctype>
#include <charconv>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"
#include "compiler/lexer.h"
#include "compiler/time_values.h"

namespace vork {
namespace {

// The declaration grammar: for each state 1..15 and token column, the
// action and the next state. Action 18 is a syntax error (message 54 plus
// the state, then state 1); action 17 ends the declaration part.
constexpr int SyntaxError = 18;
struct Step {
  int Action;
  int Next;
};
constexpr Step E = {SyntaxError, 1};
constexpr int ColumnCount = 7;
//                                         identifier  "("      ")"      ";"      "="      "*"      "$"
constexpr Step DeclarationTable[16][ColumnCount] = {
    {E, E, E, E, E, E, E},                                   // (no state 0)
    {{1, 2}, {4, 4}, E, {17, 0}, E, {12, 11}, E},            // 1 start
    {{1, 2}, {4, 4}, E, {17, 0}, {2, 3}, {12, 11}, E},       // 2 after a code
    {{3, 1}, E, E, E, E, E, E},                              // 3 after "=" of a code
    {{5, 8}, E, E, E, E, E, {8, 5}},                         // 4 after "("
    {{9, 6}, E, E, E, E, E, E},                              // 5 after "$"
    {{5, 8}, E, E, E, {10, 7}, E, E},                        // 6 after a set name
    {{5, 8}, E, E, E, E, E, E},                              // 7 after "=" of a set name
    {{5, 8}, E, {11, 1}, E, {6, 10}, E, E},                  // 8 after a code in a set
    {{5, 8}, E, {11, 1}, E, E, E, E},                        // 9 after a dual in a set
    {{7, 9}, E, E, E, E, E, E},                              // 10 after "=" in a set
    {{13, 12}, E, E, E, E, E, E},                            // 11 after "*"
    {E, {14, 13}, E, E, E, E, E},                            // 12 after a factor name
    {{15, 14}, E, E, E, E, E, E},                            // 13 after "(" of a level list
    {{15, 14}, E, {16, 15}, E, E, E, E},                     // 14 after a level
    {{13, 12}, E, E, {17, 0}, E, E, E},                      // 15 after ")" of a level list
};

// The table column of a token kind; -1 for a kind without a column.
int DeclarationColumn(int kind) {
  switch (kind) {
    case TokenCode: return 0;
    case TokenOpen: return 1;
    case TokenClose: return 2;
    case TokenSemicolon: return 3;
    case TokenEquals: return 4;
    case TokenStar: return 5;
    case TokenDollar: return 6;
    default: return -1;
  }
}

// The characters of a UTF-8 text, one string each.
dynString SplitCharacters(const std::string& text) {
  dynString characters;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (i + length > text.size()) length = text.size() - i;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

bool IsInteger(const std::string& text, int& value) {
  std::int64_t number = 0;
  if (!ReadDigits(text, number)) return false;
  value = static_cast<int>(number);
  return true;
}

// The declaration grammar's working state.
class DeclarationParser {
 public:
  explicit DeclarationParser(CompileState& state) : State(state) {}

  void Run(int firstToken) {
    int grammarState = 1;
    for (int k = firstToken; k <= State.NTokens && !State.Stopped; ++k) {
      Token = k;
      const int column = DeclarationColumn(State.TokKind[k]);
      const Step step =
          grammarState >= 1 && grammarState <= 15 && column >= 0 ? DeclarationTable[grammarState][column] : E;
      if (step.Action == SyntaxError) {
        ReportCompileMessage(State, 54 + grammarState, -k);
        grammarState = 1;
        continue;
      }
      Perform(step.Action);
      grammarState = step.Next;
      if (grammarState == 0) break;
    }
  }

 private:
  const std::string& Text() const { return State.TokText[Token]; }

  void Perform(int action) {
    switch (action) {
      case 1:
      case 5: DeclareCodeToken(); break;
      case 3:
      case 7: DeclareDualToken(); break;
      case 4: NewAnonymousSet(); break;
      case 9:
        if (SetsBefore.count(Text())) {
          ReportCompileMessage(State, 10, -Token);
        } else {
          State.SetNames[State.NSets] = Text();
        }
        break;
      case 11: CurrentSet = 0; break;
      case 13:
        State.NFactors += 1;
        State.FactorNames.resize(State.NFactors + 1);
        State.FactorLevels.resize(State.NFactors + 1, 0);
        State.FactorLevelNames.resize(State.NFactors + 1, dynString{""});
        LevelsOf.resize(State.NFactors + 1);
        if (!Factors.insert(Text()).second) {
          ReportCompileMessage(State, 11, -Token);
        } else {
          State.FactorNames[State.NFactors] = Text();
          State.FactorLevels[State.NFactors] = 0;
        }
        break;
      case 15: {
        const int f = State.NFactors;
        if (f < 1) break;
        const int count = ++State.FactorLevels[f];
        dynString& levels = State.FactorLevelNames[f];
        levels.resize(count + 1);
        if (!LevelsOf[f].insert(Text()).second) {
          ReportCompileMessage(State, 12, -Token);
        } else {
          levels[count] = Text();
        }
        break;
      }
      default: break;
    }
  }

  void DeclareCodeToken() {
    if (!State.OneCharCodesOn) {
      AddCodeName(Text());
      return;
    }
    const dynString characters = SplitCharacters(Text());
    for (const std::string& c : characters) AddCodeName(c);
    LastCodeLength = static_cast<int>(characters.size());
  }

  void AddCodeName(const std::string& name) {
    State.NCodes += 1;
    State.CodeNames.resize(State.NCodes + 1);
    State.DualNames.resize(State.NCodes + 1);
    State.CodeSet.resize(State.NCodes + 1, 0);
    if (!Codes.insert(name).second) {
      ReportCompileMessage(State, 5, -Token);
      return;
    }
    State.CodeNames[State.NCodes] = name;
    State.DualNames[State.NCodes].clear();
    State.CodeSet[State.NCodes] = State.NSets >= 1 ? CurrentSet : 0;
  }

  void DeclareDualToken() {
    if (!State.OneCharCodesOn) {
      AddDualName(Text(), State.NCodes);
    } else {
      const dynString characters = SplitCharacters(Text());
      const int n = LastCodeLength;
      if (static_cast<int>(characters.size()) == n) {
        for (int j = 1; j <= n; ++j) AddDualName(characters[j - 1], State.NCodes - n + j);
      } else {
        ReportCompileMessage(State, 7, -Token);
      }
    }
    State.Duals = 1;
  }

  void AddDualName(const std::string& name, int index) {
    if (index < 1 || index > State.NCodes) return;
    // Duals are given in code order, so those met so far are the duals of
    // the earlier codes.
    if (!Duals.insert(name).second) {
      ReportCompileMessage(State, 6, -Token);
    } else {
      State.DualNames[index] = name;
    }
  }

  void NewAnonymousSet() {
    if (State.NSets >= 1) SetsBefore.insert(State.SetNames[State.NSets]);
    State.NSets += 1;
    CurrentSet = State.NSets;
    State.SetNames.resize(State.NSets + 1);
    State.SetNames[State.NSets] = "Set#" + std::to_string(State.NSets);
  }

  CompileState& State;
  // Names declared so far, so that a long declaration part is checked for
  // duplicates in linear time.
  std::unordered_set<std::string> Codes;
  std::unordered_set<std::string> Duals;
  std::unordered_set<std::string> SetsBefore;  // names of the sets before the newest
  std::unordered_set<std::string> Factors;
  std::vector<std::unordered_set<std::string>> LevelsOf;
  int Token = 0;
  int CurrentSet = 0;
  int LastCodeLength = 0;
};

}  // namespace

bool NameInList(const std::string& name, const dynString& names, int count) {
  for (int i = 1; i < count && i < static_cast<int>(names.size()); ++i) {
    if (names[i] == name) return true;
  }
  return false;
}

void ParseHeader(CompileState& state) {
  if (!state.SdsText.empty()) UseLine(state, 0);
  TokenizeHeader(state);
  if (!state.Stopped) ParseDeclarations(state);
}

void TokenizeHeader(CompileState& state) {
  state.NTokens = 0;
  state.PendingText.clear();
  for (int c = 32; c <= 255; ++c) state.ActiveClass[c] = state.CharClass[c];
  bool ended = false;
  bool labelRead = false;
  while (!ended && !state.EndOfText && !state.Stopped) {
    const int cls = ReadNextChar(state, TokenCode, 1);
    switch (HeaderAction[cls]) {
      case 1: AppendPendingChar(state); break;
      case 2: AddSingleCharToken(state); break;
      case 3:
        SkipToChar(state, static_cast<unsigned char>(CommentChars[state.Options.SingLineComX]));
        break;
      case 4: SkipMultiLineComment(state); break;
      case 5: {
        const std::int64_t at = CharPos(state);
        std::string label = ReadAngleLabel(state);
        if (!labelRead) {
          state.TimeUnitLabel = std::move(label);
          labelRead = true;
        } else {
          ReportCompileMessage(state, 3, at);
        }
        break;
      }
      case 6: ReportCompileMessage(state, 2, CharPos(state)); break;
      case 9:
        AddSingleCharToken(state);
        ended = true;
        break;
      default: break;
    }
  }
  if (!ended) ReportCompileMessage(state, 4, 0);
}

void ParseDeclarations(CompileState& state) {
  static constexpr std::string_view TypeLetters = "ETSIM";
  const std::string first = state.NTokens >= 1 ? state.TokText[1] : "";
  const std::size_t type =
      first.empty() ? std::string_view::npos
                    : TypeLetters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(first[0]))));
  if (type == std::string_view::npos) {
    ReportCompileMessage(state, 8, -1);
    return;
  }
  state.DataType = static_cast<int>(type) + 1;
  state.OneCharCodesOn = state.Options.OneCharCodes && state.DataType != DataTypeTimed &&
                         state.DataType != DataTypeState;
  state.OneCharMode = state.OneCharCodesOn;

  int i = 1;
  if (state.DataType == DataTypeInterval) {
    state.IntervalDuration = 1;
    state.IntervalUnitMark = 1;
    if (state.NTokens >= 2 && state.TokText[2] == "=") {
      i = 3;
      int length = 0;
      if (state.NTokens >= 3 && IsInteger(state.TokText[3], length)) {
        state.IntervalDuration = length;
      } else {
        ReportCompileMessage(state, 9, state.NTokens >= 3 ? -3 : 0);
      }
      if (state.NTokens >= 4 && (state.TokText[4] == "'" || state.TokText[4] == "\"")) {
        state.IntervalUnitMark = state.TokText[4] == "'" ? 2 : 3;
        i = 4;
      }
    }
  } else {
    state.IntervalDuration = 0;
    state.IntervalUnitMark = 0;
  }
  DeclarationParser(state).Run(i + 1);
}

}  // namespace vork
