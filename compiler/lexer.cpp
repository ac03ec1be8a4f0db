#include "compiler/lexer.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"
#include "compiler/source_text.h"
#include "core/raw_data_file.h"

namespace vork {

const std::array<char, 15> CommentChars = {'\0', '!', '#', '%', '?', '[', '\\', ']',
                                           '^',  '_', '`', '{', '|', '}', '~'};

//                                      class: 1  2   3  4  5  6  7  8  9   10 11 12 13 14  15  16
const std::array<int, 17> HeaderAction = {0, 1, 7, 7, 2, 7, 6, 3, 4, 2, 2, 5, 2, 9, 7, 7, 7};
const std::array<int, 17> DataTokAction = {0, 1, 12, 13, 2, 7, 6, 3, 4, 11, 10, 5, 2, 9, 14, 15, 16};

namespace {

// The base classes of the characters 32..127; every code from 128 to 255
// but 129 is a code character.
struct BaseClassRow {
  int Class;
  std::string_view Characters;
};
constexpr BaseClassRow BaseClasses[] = {
    {ClassCodeChar,
     "!#%0123456789?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"},
    {ClassSingleChar, "\"$'()*="},
    {ClassSeparator, " ,\x7F"},
    {ClassInvalid, "&+-./:>"},
    {ClassLabel, "<"},
    {ClassSemicolon, ";"},
};

// The classes of the characters 32..61 by data type and inside a level
// list. Columns: base (for comparison only), Event, Timed, State,
// Interval, Multi, level list.
constexpr int OverrideRows[30][7] = {
    {5, 5, 5, 5, 5, 5, 5},        // blank
    {1, 1, 1, 1, 1, 1, 1},        // !
    {4, 6, 6, 6, 6, 6, 6},        // "
    {1, 1, 1, 1, 1, 1, 1},        // #
    {4, 6, 6, 6, 6, 6, 6},        // $
    {1, 1, 1, 1, 1, 1, 1},        // %
    {6, 6, 4, 4, 6, 6, 6},        // &
    {4, 6, 6, 6, 6, 6, 6},        // '
    {4, 9, 9, 9, 9, 9, 6},        // (
    {4, 10, 10, 10, 10, 10, 10},  // )
    {4, 6, 6, 6, 4, 4, 6},        // *
    {6, 6, 4, 4, 4, 4, 6},        // +
    {5, 15, 4, 4, 4, 15, 4},      // ,
    {6, 6, 4, 6, 4, 4, 6},        // -
    {6, 3, 3, 3, 6, 4, 3},        // .
    {6, 14, 14, 14, 14, 14, 14},  // /
    {1, 2, 2, 2, 2, 2, 1},        // 0
    {1, 2, 2, 2, 2, 2, 1},        // 1
    {1, 2, 2, 2, 2, 2, 1},        // 2
    {1, 2, 2, 2, 2, 2, 1},        // 3
    {1, 2, 2, 2, 2, 2, 1},        // 4
    {1, 2, 2, 2, 2, 2, 1},        // 5
    {1, 2, 2, 2, 2, 2, 1},        // 6
    {1, 2, 2, 2, 2, 2, 1},        // 7
    {1, 2, 2, 2, 2, 2, 1},        // 8
    {1, 2, 2, 2, 2, 2, 1},        // 9
    {6, 3, 3, 3, 6, 3, 6},        // :
    {13, 13, 13, 13, 13, 13, 6},  // ;
    {11, 11, 11, 11, 11, 11, 6},  // <
    {4, 6, 6, 4, 6, 6, 6},        // =
};

// Token kinds of one-character tokens; every other character has kind 0.
struct SingleCharKindRow {
  char Character;
  int Kind;
};
constexpr SingleCharKindRow SingleCharTokenKind[] = {
    {',', TokenComma}, {'(', TokenOpen},  {')', TokenClose}, {';', TokenSemicolon},
    {'/', TokenSlash}, {'&', TokenUnitEnd}, {'=', TokenEquals}, {'+', TokenPlus},
    {'-', TokenMinus}, {'*', TokenStar},  {'$', TokenDollar}, {'.', TokenPeriod},
};

}  // namespace

// The table above by character, for the reading loop.
constexpr std::array<int, 256> SingleCharKinds = [] {
  std::array<int, 256> kinds{};
  for (const SingleCharKindRow& row : SingleCharTokenKind) {
    kinds[static_cast<unsigned char>(row.Character)] = row.Kind;
  }
  return kinds;
}();

namespace {

int RawLineLength(const CompileState& state, int line) {
  if (line < 0 || line >= static_cast<int>(state.SdsText.size())) return 0;
  return static_cast<int>(state.SdsText.Length(static_cast<std::size_t>(line)));
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

void UseLine(CompileState& state, int lineIndex) {
  if (state.CurLineIndex != lineIndex) {
    state.SdsText.Prepare(static_cast<std::size_t>(lineIndex), state.CurLineChars);
    state.CurLineIndex = lineIndex;
  }
  state.CurLine = state.CurLineChars;
}

int NormalizeSourceChar(int code) {
  // A character of the Windows code page is read as its byte there, so that
  // the en dash is a dash and the code page's letters are code characters
  // whether the text came as UTF-8 or in that code page.
  if (code > 255) {
    const int byte = Windows1252Byte(static_cast<char32_t>(code));
    code = byte >= 128 ? byte : InvalidChar;
  }
  if (code == 150) return '-';
  if (code < 32 || code > 255) return InvalidChar;
  return code;
}

void InitCharClasses(CompileState& state) {
  state.CharClass.fill(ClassCodeChar);
  state.CharClass[InvalidChar] = ClassInvalid;
  for (const BaseClassRow& row : BaseClasses) {
    for (char c : row.Characters) state.CharClass[static_cast<unsigned char>(c)] = row.Class;
  }
  for (int c = 32; c <= 61; ++c) {
    for (int row = 0; row <= 6; ++row) state.ClassOverride[row][c - 32] = OverrideRows[c - 32][row];
  }
  const auto chooseComment = [&state](int index, int commentClass) {
    if (index < 1 || index >= static_cast<int>(CommentChars.size())) return;
    const auto c = static_cast<unsigned char>(CommentChars[index]);
    state.CharClass[c] = commentClass;
    if (c < 62) {
      for (int row = 1; row <= 6; ++row) state.ClassOverride[row][c - 32] = commentClass;
    }
  };
  chooseComment(state.Options.SingLineComX, ClassLineComment);
  chooseComment(state.Options.MultLineComX, ClassBlockComment);
  for (int c = 62; c <= 255; ++c) state.ActiveClass[c] = state.CharClass[c];
  for (int cls = 1; cls <= 16; ++cls) state.EndsToken[cls] = cls >= 4;

  state.IntervalDuration = 0;
  state.IntervalUnitMark = 0;
  state.NCodes = 0;
  state.Duals = 0;
  state.NSets = 0;
  state.NFactors = 0;
  state.InferredLevels.clear();
}

void UseClassRow(CompileState& state, int row) {
  if (row < 1 || row > 6) return;
  for (int c = 32; c <= 61; ++c) state.ActiveClass[c] = state.ClassOverride[row][c - 32];
}

int ReadAnyNextChar(CompileState& state, int kind, int mode) {
  const int lineCount = static_cast<int>(state.SdsText.size());
  state.CharColumns = 1;
  if (state.LineIndex >= lineCount) {
    state.EndOfText = true;
    state.CurChar = EndOfLineChar;
  } else {
    state.CharIndex += 1;
    if (state.CharIndex > RawLineLength(state, state.LineIndex)) {
      state.CurChar = EndOfLineChar;
      if (state.LineIndex + 1 < lineCount) {
        do {
          state.TextPos += RawLineLength(state, state.LineIndex) + 2;
          state.LineIndex += 1;
        } while (state.SdsText.Length(state.LineIndex) == 0 && state.LineIndex + 1 < lineCount);
        if (state.SdsText.Length(state.LineIndex) != 0) {
          UseLine(state, state.LineIndex);
          state.CharIndex = 0;
        } else {
          state.EndOfText = true;
        }
      } else {
        state.EndOfText = true;
      }
    } else {
      const std::size_t at = static_cast<std::size_t>(state.CharIndex - 1);
      const char16_t c = at < state.CurLine.size() ? state.CurLine[at] : u' ';
      // A character outside the basic plane is one invalid character,
      // though it takes two columns.
      if (IsHighSurrogate(c) && at + 1 < state.CurLine.size() &&
          IsLowSurrogate(state.CurLine[at + 1])) {
        state.CharIndex += 1;
        state.CharColumns = 2;
      }
      state.CurChar = NormalizeSourceChar(c);
      state.CurCharText = c;
      if (state.LineIndex >= state.LastLine && state.CharIndex >= state.LastLineLen) {
        state.EndOfText = true;
      }
    }
  }
  return EndPendingWord(state, kind, mode, state.ActiveClass[state.CurChar]);
}

void GrowTokenArrays(CompileState& state) {
  const auto size = static_cast<std::size_t>(state.NTokens) + 1;
  if (state.TokKind.size() < size) {
    state.TokKind.resize(size, 0);
    state.TokText.resize(size);
    state.TokPos.resize(size, 0);
  }
}

bool SkipToChar(CompileState& state, char16_t ch) {
  const int length = RawLineLength(state, state.LineIndex);
  if (state.LineIndex < static_cast<int>(state.SdsText.size())) {
    const std::size_t from = state.CharIndex < 0 ? 0 : static_cast<std::size_t>(state.CharIndex);
    const std::size_t found =
        state.LineIndex == state.CurLineIndex
            ? (from < state.CurLine.size() ? state.CurLine.find(ch, from) : std::u16string_view::npos)
            : state.SdsText.Find(static_cast<std::size_t>(state.LineIndex), ch, from);
    if (found != std::u16string_view::npos) {
      state.CharIndex = static_cast<int>(found) + 1;
      return true;
    }
  }
  state.CharIndex = length + 1;
  return false;
}

void SkipMultiLineComment(CompileState& state) {
  const std::int64_t start = CharPos(state);
  const int index = state.Options.MultLineComX;
  if (index < 1 || index >= static_cast<int>(CommentChars.size())) return;
  const auto closing = static_cast<char16_t>(static_cast<unsigned char>(CommentChars[index]));
  if (SkipToChar(state, closing)) return;
  const int lineCount = static_cast<int>(state.SdsText.size());
  while (true) {
    if (state.LineIndex + 1 >= lineCount) {
      ReportCompileMessage(state, 1, MessageKind::Fatal, start);
      // The text ends inside the comment.
      state.CharIndex = RawLineLength(state, state.LineIndex) + 1;
      state.EndOfText = true;
      return;
    }
    state.TextPos += RawLineLength(state, state.LineIndex) + 2;
    state.LineIndex += 1;
    const std::size_t found = state.SdsText.Find(static_cast<std::size_t>(state.LineIndex), closing);
    if (found != std::u16string_view::npos) {
      state.CharIndex = static_cast<int>(found) + 1;
      UseLine(state, state.LineIndex);
      return;
    }
  }
}

std::string ReadAngleLabel(CompileState& state) {
  const int start = state.CharIndex;
  SkipToChar(state, u'>');
  if (state.LineIndex >= static_cast<int>(state.SdsText.size())) return "";
  UseLine(state, state.LineIndex);
  const std::u16string_view raw = state.CurLine;
  const std::size_t from = static_cast<std::size_t>(start);
  const std::size_t to = std::min(static_cast<std::size_t>(state.CharIndex - 1), raw.size());
  if (from >= to) return "";
  return Utf16ToUtf8(raw.substr(from, to - from));
}

}  // namespace vork
