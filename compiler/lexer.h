#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "compiler/compile_state.h"
#include "core/raw_data_file.h"

namespace vork {

// The characters that may be chosen as comment characters, by option
// index 1..14; index 0 is "none".
extern const std::array<char, 15> CommentChars;

// What the tokenizers do with a character, by its class 1..16.
extern const std::array<int, 17> HeaderAction;
extern const std::array<int, 17> DataTokAction;

// Rows of the class overrides for the characters 32..61.
constexpr int LevelListRow = 6;

// The character a code is read as: a character of the Windows code page
// beyond 255 as its byte there, 150 (the en dash) as "-", anything else
// below 32 or above 255 as an invalid character.
int NormalizeSourceChar(int code);

// Sets up the character classes for this compile's comment characters and
// clears the declaration counters.
void InitCharClasses(CompileState& state);

// Makes line lineIndex (0-based, below the text's size) the current line.
void UseLine(CompileState& state, int lineIndex);

// Copies row 1..6 of the class overrides into the active classes 32..61.
void UseClassRow(CompileState& state, int row);

// Makes room for token NTokens in every token array.
void GrowTokenArrays(CompileState& state);

// Adds an empty token (kind 0, no text, position 0).
inline void AddTokenSlot(CompileState& state) {
  state.NTokens += 1;
  const auto n = static_cast<std::size_t>(state.NTokens);
  if (state.TokKind.size() <= n) GrowTokenArrays(state);
  state.TokKind[n] = 0;
  state.TokText[n].clear();
  state.TokPos[n] = 0;
}

// Records the pending identifier as a token of the given kind and empties it.
inline void RecordPendingToken(CompileState& state, int kind) {
  AddTokenSlot(state);
  const auto n = static_cast<std::size_t>(state.NTokens);
  state.TokKind[n] = kind;
  state.TokenKindsSeen |= KindBit(kind);
  // The slot's emptied text becomes the next pending identifier, so that
  // neither string gives up the room it has.
  state.TokText[n].swap(state.PendingText);
  state.TokPos[n] = state.PendingPos;
}

// The pending identifier is recorded as a token of the given kind when the
// character of class cls just read ends it (mode 1 or 2: a class that ends
// tokens; any mode: one-character mode). Gives cls.
inline int EndPendingWord(CompileState& state, int kind, int mode, int cls) {
  if (!state.PendingText.empty() &&
      (((mode == 1 || mode == 2) && cls >= 1 && cls <= 16 && state.EndsToken[cls]) || state.OneCharMode)) {
    RecordPendingToken(state, kind);
  }
  return cls;
}

// ReadNextChar for any character: line ends, characters beyond ASCII and
// those of the text's last line.
int ReadAnyNextChar(CompileState& state, int kind, int mode);

// Reads the next character and gives its class. The pending identifier is
// first recorded as a token of the given kind when the character ends it
// (mode 1 or 2: a class that ends tokens; any mode: one-character mode).
inline int ReadNextChar(CompileState& state, int kind, int mode) {
  const auto at = static_cast<std::size_t>(state.CharIndex);
  if (state.LineIndex < state.LastLine && state.LineIndex == state.CurLineIndex && state.CharIndex >= 0 &&
      at < state.CurLine.size() && state.CurLine[at] >= 32 && state.CurLine[at] < 127) {
    // A printable ASCII character inside the current line, before the last
    // line: none of the rules for line ends and other characters applies.
    const char16_t c = state.CurLine[at];
    state.CharColumns = 1;
    state.CharIndex += 1;
    state.CurChar = c;
    state.CurCharText = c;
    return EndPendingWord(state, kind, mode, state.ActiveClass[c]);
  }
  return ReadAnyNextChar(state, kind, mode);
}

// The text position of the character just read.
inline std::int64_t CharPos(const CompileState& state) {
  return state.TextPos + state.CharIndex - state.CharColumns;
}

// Adds a character to the pending identifier, remembering where it began.
inline void AppendPendingChar(CompileState& state) {
  if (state.PendingText.empty()) state.PendingPos = CharPos(state);
  if (state.CurChar < 0x80) {
    state.PendingText += static_cast<char>(state.CurChar);
  } else {
    AppendUtf8(state.PendingText, static_cast<char32_t>(state.CurCharText));
  }
}

// The token kind of each character as a one-character token; 0 for a
// character without one.
extern const std::array<int, 256> SingleCharKinds;

// Records the character just read as a one-character token.
inline void AddSingleCharToken(CompileState& state) {
  AddTokenSlot(state);
  const auto n = static_cast<std::size_t>(state.NTokens);
  const int c = state.CurChar;
  const int kind = c >= 0 && c < 256 ? SingleCharKinds[static_cast<std::size_t>(c)] : 0;
  state.TokKind[n] = kind;
  state.TokenKindsSeen |= KindBit(kind);
  if (c >= 0 && c < 0x80) {
    state.TokText[n].assign(1, static_cast<char>(c));
  } else {
    AppendUtf8(state.TokText[n], static_cast<char32_t>(c));
  }
  state.TokPos[n] = CharPos(state);
}

// Moves to the next ch on the current raw line (true), or past the line's end.
bool SkipToChar(CompileState& state, char16_t ch);

// Skips to the character closing a multi-line comment, on this or a later line.
void SkipMultiLineComment(CompileState& state);

// Reads the text of a label in angle brackets and moves past its ">".
std::string ReadAngleLabel(CompileState& state);

}  // namespace vork
