#include "compiler/session_tokenizer.h"

#include <algorithm>
#include <cstdint>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"
#include "compiler/lexer.h"
#include "compiler/time_values.h"

namespace vork {
namespace {

// How a code character, digit or time separator joins the identifier being
// built, by the class of the character before it (rows) and its own class
// (columns 1 code character, 2 digit, 3 time separator).
enum class Join { Start, Append, AppendAsCode, AppendAsTime, Error };
constexpr Join JoinTable[5][3] = {
    // code character      digit             time separator
    {Join::Start, Join::Start, Join::Error},              // nothing pending
    {Join::Append, Join::Append, Join::Error},            // after a code character
    {Join::AppendAsCode, Join::Append, Join::AppendAsTime},  // after a digit
    {Join::Error, Join::Append, Join::Error},             // after a time separator
    {Join::Error, Join::Error, Join::Error},              // after a ")" was appended
};

void AddTokenChar(CompileState& state, int cls) {
  const int prev = state.PendingText.empty() ? 0 : state.PrevClass;
  const int row = prev >= 0 && prev <= 3 ? prev : 4;
  switch (JoinTable[row][cls - 1]) {
    case Join::Start:
      state.PendingKind = cls == ClassDigit ? TokenNumber : TokenCode;
      AppendPendingChar(state);
      break;
    case Join::Append: AppendPendingChar(state); break;
    case Join::AppendAsCode:
      AppendPendingChar(state);
      state.PendingKind = TokenCode;
      break;
    case Join::AppendAsTime:
      AppendPendingChar(state);
      state.PendingKind = TokenTime;
      break;
    case Join::Error: ReportCompileMessage(state, 13, CharPos(state)); break;
  }
}

// ")" after a time makes it inclusive; after a code it is misplaced.
void CloseInclusiveTime(CompileState& state) {
  if (state.PendingKind == TokenCode) {
    ReportCompileMessage(state, 14, CharPos(state));
  } else {
    state.PendingText += ')';
    state.PendingKind = TokenTime;
  }
}

// While a time is read after ",", the blank and the line end end it.
void BeginTimeReading(CompileState& state) {
  state.OneCharMode = false;
  state.ActiveClass[' '] = ClassTimeEnd;
  state.ActiveClass[EndOfLineChar] = ClassTimeEnd;
  if (state.DataType == DataTypeMulti) state.ActiveClass['.'] = ClassTimeSeparator;
}

void EndTimeReading(CompileState& state) {
  state.OneCharMode = state.OneCharCodesOn;
  state.ActiveClass[' '] = ClassSeparator;
  state.ActiveClass[EndOfLineChar] = ClassSeparator;
  if (state.DataType == DataTypeMulti) state.ActiveClass['.'] = ClassSingleChar;
}

// The rest of a word after its character of class cls was added: the code
// characters, digits and time separators that follow on the line are added
// in one go, with the kinds the reading loop would give them one by one,
// up to the first character that would not join (left to that loop). Only
// printable ASCII characters before the text's last line are taken here;
// every other character is left to the loop. Returns the class of the last
// character added.
int ContinueWord(CompileState& state, int cls) {
  if (state.OneCharMode || state.Stopped || state.PendingText.empty() || state.LineIndex >= state.LastLine ||
      state.LineIndex != state.CurLineIndex || state.CharIndex < 0 || cls < ClassCodeChar ||
      cls > ClassTimeSeparator) {
    return cls;
  }
  const std::u16string_view line = state.CurLine;
  const auto from = static_cast<std::size_t>(state.CharIndex);
  std::size_t at = from;
  int kind = state.PendingKind;
  for (; at < line.size(); ++at) {
    const char16_t c = line[at];
    if (c < 32 || c >= 127) break;
    const int next = state.ActiveClass[c];
    if (next < ClassCodeChar || next > ClassTimeSeparator) break;
    const Join join = JoinTable[cls][next - 1];
    if (join == Join::Error) break;
    if (join == Join::AppendAsCode) kind = TokenCode;
    if (join == Join::AppendAsTime) kind = TokenTime;
    cls = next;
  }
  if (at == from) return cls;
  const std::size_t pending = state.PendingText.size();
  state.PendingText.resize(pending + (at - from));
  for (std::size_t k = from; k < at; ++k) state.PendingText[pending + (k - from)] = static_cast<char>(line[k]);
  state.PendingKind = kind;
  state.CharIndex = static_cast<int>(at);
  state.CharColumns = 1;
  state.CurChar = line[at - 1];
  state.CurCharText = line[at - 1];
  return cls;
}

void ReadSegmentTokens(CompileState& state) {
  const char16_t lineComment =
      static_cast<unsigned char>(CommentChars[static_cast<std::size_t>(
          state.Options.SingLineComX >= 0 && state.Options.SingLineComX < 15 ? state.Options.SingLineComX : 0)]);
  while (!state.SegmentEnd && !state.SessionEnd && !state.EndOfText && !state.Stopped) {
    int cls = ReadNextChar(state, state.PendingKind, 2);
    switch (DataTokAction[cls]) {
      case 1:
      case 12:
      case 13:
        AddTokenChar(state, cls);
        cls = ContinueWord(state, cls);
        break;
      case 2: AddSingleCharToken(state); break;
      case 3: SkipToChar(state, lineComment); break;
      case 4: SkipMultiLineComment(state); break;
      case 6: ReportCompileMessage(state, 2, CharPos(state)); break;
      case 5: {
        const std::int64_t at = CharPos(state);
        std::string label = ReadAngleLabel(state);
        if (!state.LabelSeen) {
          state.SessionLabel = std::move(label);
        } else {
          ReportCompileMessage(state, 22, at);
        }
        state.LabelSeen = true;
        break;
      }
      case 9:
        AddSingleCharToken(state);
        state.SegmentEnd = true;
        break;
      case 14:
        AddSingleCharToken(state);
        state.SessionEnd = true;
        break;
      case 11:
        AddSingleCharToken(state);
        state.OneCharMode = false;
        UseClassRow(state, LevelListRow);
        state.EndsToken[ClassClose] = true;
        state.InLevelList = true;
        break;
      case 10:
        if (state.InLevelList) {
          AddSingleCharToken(state);
          state.OneCharMode = state.OneCharCodesOn;
          UseClassRow(state, state.DataType);
          state.EndsToken[ClassClose] = false;
          state.InLevelList = false;
        } else if (!state.PendingText.empty()) {
          CloseInclusiveTime(state);
        } else if (state.DataType == DataTypeInterval || state.DataType == DataTypeMulti) {
          AddSingleCharToken(state);
        } else {
          ReportCompileMessage(state, 2, CharPos(state));
        }
        break;
      case 15:
        AddSingleCharToken(state);
        BeginTimeReading(state);
        break;
      case 16: EndTimeReading(state); break;
      default: break;  // 7: separators
    }
    state.PrevClass = cls;
  }
}

bool KindIs(const CompileState& state, int k, int kind) {
  return k >= 1 && k <= state.NTokens && state.TokKind[k] == kind;
}

// A Timed entry that ends with an offset and an explicit stop (code, onset,
// "-", offset, ",", stop) keeps its offset a time rather than a code.
void FinalOffsetRule(CompileState& state) {
  const int n = state.NTokens;
  if (n < 8) return;
  int from = n - 1;
  if (KindIs(state, n - 1, TokenClose)) {
    int open = n - 2;
    while (open >= 8 && !KindIs(state, open, TokenOpen)) --open;
    if (open < 8) return;
    from = open - 1;
  }
  int found = 0;
  for (int j = from; j >= 7; --j) {
    if (KindIs(state, j, TokenNumber) || KindIs(state, j, TokenTime)) {
      found = j;
      break;
    }
  }
  if (found == 0) return;
  if (KindIs(state, found - 1, TokenComma) && KindIs(state, found - 2, TokenNumber) &&
      KindIs(state, found - 3, TokenMinus)) {
    state.TokKind[found - 2] = TokenTime;
    state.TokKind[found] = TokenTime;
  }
}

int TimedNumberKind(const CompileState& state, int k) {
  const int n = state.NTokens;
  if (KindIs(state, k - 1, TokenComma)) return TokenTime;
  if (k >= 4 && (KindIs(state, k - 1, TokenPlus) || KindIs(state, k - 1, TokenMinus)) &&
      KindIs(state, k - 2, TokenComma)) {
    return TokenTime;
  }
  if (k <= n - 2 && KindIs(state, k + 1, TokenComma)) return TokenCode;
  if (k <= n - 4 && KindIs(state, k + 1, TokenPlus)) return TokenCode;
  if (k >= 5 && KindIs(state, k - 1, TokenMinus)) return TokenTime;
  return TokenNumber;
}

// Numbers become codes or times by what stands around them.
void RekindNumbers(CompileState& state) {
  if (state.DataType == DataTypeTimed) FinalOffsetRule(state);
  for (int k = 1; k <= state.NTokens; ++k) {
    if (state.TokKind[k] != TokenNumber) continue;
    if (k == 1) {
      state.TokKind[k] = TokenCode;
      continue;
    }
    const bool afterComma = KindIs(state, k - 1, TokenComma);
    const bool afterStar = KindIs(state, k - 1, TokenStar);
    switch (state.DataType) {
      case DataTypeEvent: state.TokKind[k] = afterComma ? TokenTime : TokenCode; break;
      case DataTypeInterval:
        if (!afterStar) state.TokKind[k] = TokenCode;
        break;
      case DataTypeMulti:
        if (afterComma) {
          state.TokKind[k] = TokenTime;
        } else if (!afterStar) {
          state.TokKind[k] = TokenCode;
        }
        break;
      case DataTypeState:
        state.TokKind[k] = afterComma || KindIs(state, k - 1, TokenEquals) ? TokenTime : TokenCode;
        break;
      case DataTypeTimed: state.TokKind[k] = TimedNumberKind(state, k); break;
      default: break;
    }
  }
}

// In Interval data "," and in Multi data "." end a unit.
void RekindUnitEnds(CompileState& state) {
  const int unitEnd = state.DataType == DataTypeInterval ? TokenComma
                      : state.DataType == DataTypeMulti  ? TokenPeriod
                                                         : 0;
  if (unitEnd == 0) return;
  for (int k = 1; k < state.NTokens; ++k) {
    if (state.TokKind[k] == unitEnd) state.TokKind[k] = TokenUnitEnd;
  }
}

void RekindLevelNames(CompileState& state) {
  bool inList = false;
  for (int k = 1; k <= state.NTokens; ++k) {
    if (state.TokKind[k] == TokenOpen) inList = true;
    else if (state.TokKind[k] == TokenClose) inList = false;
    else if (inList && state.TokKind[k] == TokenCode) state.TokKind[k] = TokenLevel;
  }
}

void LookUpCodes(CompileState& state) {
  for (int k = 1; k <= state.NTokens; ++k) {
    if (state.TokKind[k] != TokenCode) continue;
    const std::string& name = state.TokText[k];
    if (state.NCodes == 0) {
      state.CollectedCodes.insert(name);
      continue;
    }
    int index = state.CodeIndexByName.Find(name);
    if (index == 0) index = state.DualIndexByName.Find(name);
    if (index == 0) {
      ReportCompileMessage(state, 23, -k);
    } else {
      state.TokKind[k] = -index;
    }
  }
}

// The times of one stream, taken in token order: the first, and the
// largest inclusive one with the token that first reached it.
struct StreamTimes {
  bool HasTime = false;
  std::uint32_t First = 0;
  std::uint32_t Max = 0;
  int MaxToken = 0;

  void Add(const CompileState& state, int k) {
    const std::uint32_t inclusive = TokenTimeUnits(state, k, true);
    if (!HasTime) {
      HasTime = true;
      First = TokenTimeUnits(state, k, false);
    }
    if (MaxToken == 0 || inclusive > Max) {
      Max = inclusive;
      MaxToken = k;
    }
  }
};

// Start and stop of a Timed or State segment written with times.
void SessionTimes(CompileState& state) {
  // The last token is the segment's terminator.
  const int end = state.NTokens - 1;
  bool anyTime = false;
  std::uint32_t start = 0;
  std::uint32_t stop = 0;
  std::uint32_t derived = 0;
  std::uint32_t onsetStop = 0;
  int remembered = 0;
  int from = 1;
  StreamTimes stream;
  for (int k = 1; k <= end + 1; ++k) {
    if (k <= end && !KindIs(state, k, TokenUnitEnd)) {
      if (state.TokKind[k] == TokenTime) stream.Add(state, k);
      continue;
    }
    // The stream that began at token `from` ends before token k.
    if (stream.HasTime) {
      if (!anyTime || stream.First < start) start = stream.First;
      if (!anyTime || stream.Max > stop) stop = stream.Max;
      anyTime = true;
      // A stream whose largest time is not its first token has a stop: that
      // time when it is a stop or an offset, else the unit after it.
      if (stream.MaxToken > from + 1) {
        if (IsStopOrOffsetTime(state, stream.MaxToken)) {
          derived = std::max(derived, stream.Max);
        } else {
          derived = std::max(derived, stream.Max + 1);
          if (stream.Max + 1 > onsetStop) {
            onsetStop = stream.Max + 1;
            remembered = k - 1;
          }
        }
      }
    }
    stream = StreamTimes{};
    from = k + 1;
  }
  if (!anyTime) {
    state.SegStart = 0;
    state.SegStop = 0;
    return;
  }
  state.SegStart = start;
  state.SegStop = stop;
  if (derived > state.SegStop) {
    state.SegStop = derived;
    ReportCompileMessage(state, 24, -(remembered > 0 ? remembered : std::max(end, 1)));
  }
  for (int t = 1; t <= state.NTokens; ++t) {
    if (state.TokKind[t] != TokenTime) continue;
    if (TokenTimeUnits(state, t, false) < state.SegStart) {
      ReportCompileMessage(state, 25, -t);
    } else {
      const std::uint32_t inclusive = TokenTimeUnits(state, t, true);
      if (inclusive > state.SegStop) {
        ReportCompileMessage(state, 26, -t);
      } else if (inclusive == state.SegStop && !IsStopOrOffsetTime(state, t)) {
        state.SegStop += 1;
        ReportCompileMessage(state, 45, -t);
      }
    }
  }
}

// A State segment with "=": each stream lasts the sum of its durations, and
// one whose last entry has a zero duration also holds that entry's onset
// unit, so the entry is never lost past the segment's end. A sum that
// passes the largest time is error 21 at the duration that passes it.
void DurationTimes(CompileState& state) {
  std::int64_t longest = 0;
  std::int64_t sum = 0;
  bool endsInZero = false;
  for (int k = 1; k <= state.NTokens + 1; ++k) {
    if (k > state.NTokens || KindIs(state, k, TokenUnitEnd)) {
      longest = std::max(longest, sum + (endsInZero ? 1 : 0));
      sum = 0;
      endsInZero = false;
      continue;
    }
    if (state.TokKind[k] == TokenTime && KindIs(state, k - 1, TokenEquals)) {
      const std::int64_t duration = TokenTimeUnits(state, k, false);
      sum += duration;
      endsInZero = duration == 0;
      if (sum > MaxTimeValue) {
        ReportCompileMessage(state, 21, -k);
        return;
      }
    }
  }
  state.SegStart = 1;
  state.SegStop = static_cast<std::uint32_t>(longest + 1);
}

}  // namespace

NameIndex LastIndexesOfNames(const dynString& names, int count) {
  NameIndex indexes;
  for (int i = 1; i <= count && i < static_cast<int>(names.size()); ++i) indexes.Set(names[i], i);
  return indexes;
}

bool IsStopOrOffsetTime(const CompileState& state, int t) {
  if (KindIs(state, t - 1, TokenComma) && t + 1 <= state.NTokens) {
    const std::string& next = state.TokText[t + 1];
    const char c = next.empty() ? '\0' : next[0];
    if (c == '&' || c == '(' || c == '/' || c == ';') {
      return t - 2 >= 1 && state.TokKind[t - 2] >= 1;
    }
  }
  return state.DataType == DataTypeTimed && KindIs(state, t - 1, TokenMinus);
}

namespace {

// Numbers that stay numbers (replication counts) must fit 31 bits.
void CheckNumbers(CompileState& state) {
  for (int k = 1; k <= state.NTokens; ++k) {
    std::int64_t value = 0;
    if (state.TokKind[k] == TokenNumber && !ReadDigits(state.TokText[k], value)) {
      ReportCompileMessage(state, 21, -k);
    }
  }
}

}  // namespace

void TokenizeSession(CompileState& state) {
  state.InLevelList = false;
  state.TokenKindsSeen = 0;
  ReadSegmentTokens(state);
  // A word still being built when the text ends is no token: the session
  // is unfinished and only that is reported, at this last word.
  state.UnfinishedWordPos = -1;
  if (state.EndOfText && !state.PendingText.empty() && !state.Stopped) {
    state.UnfinishedWordPos = state.PendingPos;
    state.PendingText.clear();
  }
  // These two passes look at tokens recorded as numbers only; a segment
  // without one skips them.
  if ((state.TokenKindsSeen & KindBit(TokenNumber)) != 0) {
    RekindNumbers(state);
    CheckNumbers(state);
  }
  RekindUnitEnds(state);
  if ((state.TokenKindsSeen & KindBit(TokenOpen)) != 0) RekindLevelNames(state);
  state.TimesToConvert = false;
  for (int k = 1; k <= state.NTokens; ++k) {
    if (state.TokKind[k] == TokenTime) CheckTimeString(state, k);
  }
  LookUpCodes(state);
  if (state.SegmentHasError) return;
  state.SegStart = 1;
  state.SegStop = 0;
  state.NoDurations = true;
  if (state.DataType == DataTypeState) {
    for (int k = 1; k <= state.NTokens; ++k) {
      if (state.TokKind[k] == TokenEquals) state.NoDurations = false;
    }
  }
  // Every time is converted once here, so that one that does not fit is
  // reported once and the segment's start and stop are not worked out.
  ConvertSegmentTimes(state);
  if (state.SegmentHasError) return;
  if (state.DataType == DataTypeTimed || (state.DataType == DataTypeState && state.NoDurations)) {
    SessionTimes(state);
  } else if (state.DataType == DataTypeState) {
    DurationTimes(state);
  }
}

}  // namespace vork
