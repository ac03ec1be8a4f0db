#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "compiler/compile_options.h"
#include "compiler/compile_sds.h"
#include "compiler/compiler_messages.h"
#include "compiler/name_index.h"
#include "compiler/source_text.h"
#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/user_dialogue.h"

namespace vork {

// Data types of a KELP text.
constexpr int DataTypeEvent = 1;
constexpr int DataTypeTimed = 2;
constexpr int DataTypeState = 3;
constexpr int DataTypeInterval = 4;
constexpr int DataTypeMulti = 5;

// Token kinds. The declaration part gives identifiers kind 1. In the data
// part a declared code has kind minus its code index after the lookup; the
// kinds are also the columns of the session parser's transition table.
constexpr int TokenOther = 0;  // quote marks, ":" and other characters without a kind
constexpr int TokenCode = 1;
constexpr int TokenTime = 2;
constexpr int TokenLevel = 3;
constexpr int TokenComma = 4;
constexpr int TokenOpen = 5;   // "("
constexpr int TokenClose = 6;  // ")"
constexpr int TokenSemicolon = 7;
constexpr int TokenSlash = 8;
constexpr int TokenUnitEnd = 9;  // "&", or "," of Interval and "." of Multi data after re-kinding
constexpr int TokenEquals = 10;
constexpr int TokenPlus = 11;
constexpr int TokenMinus = 12;
constexpr int TokenStar = 13;
constexpr int TokenNumber = 14;
constexpr int TokenDollar = 15;
constexpr int TokenPeriod = 16;

// A token kind's bit in a set of kinds (0 for a declared code's kind).
constexpr std::uint32_t KindBit(int kind) { return kind >= 0 && kind < 32 ? 1u << kind : 0u; }

// Character classes (indexes 1..16 of the action tables).
constexpr int ClassCodeChar = 1;
constexpr int ClassDigit = 2;
constexpr int ClassTimeSeparator = 3;
constexpr int ClassSingleChar = 4;
constexpr int ClassSeparator = 5;
constexpr int ClassInvalid = 6;
constexpr int ClassLineComment = 7;
constexpr int ClassBlockComment = 8;
constexpr int ClassOpenLevels = 9;
constexpr int ClassClose = 10;
constexpr int ClassLabel = 11;
constexpr int ClassSemicolon = 13;
constexpr int ClassSlash = 14;
constexpr int ClassTimeComma = 15;
constexpr int ClassTimeEnd = 16;

// The character read past the end of a line (a separator outside a time).
constexpr int EndOfLineChar = 127;
// What any character below 32 or above 255 is read as.
constexpr int InvalidChar = 129;

// Orders names by a collation; names it holds equal are ordered by their
// bytes, so that distinct names never merge.
struct CollatedLess {
  std::function<int(const std::string&, const std::string&)> Compare;
  bool operator()(const std::string& a, const std::string& b) const {
    const int order = Compare ? Compare(a, b) : 0;
    return order != 0 ? order < 0 : a < b;
  }
};

// The collation of the locale the environment names (the C locale when it
// names none or one that is not installed).
std::function<int(const std::string&, const std::string&)> SystemCollation();

// A time token's value without and with the unit a ")" adds.
struct TokenUnits {
  std::uint32_t Exclusive = 0;
  std::uint32_t Inclusive = 0;
};

// The one record of a compile: everything the compiler's routines read and
// write during one call of CompileSds. Nothing of it outlives the call.
// Numbered items (codes, sets, factors, levels, tokens) are stored from
// index 1; element 0 stays empty.
struct CompileState {
  // --- What the caller handed in ---
  CompileOptions Options;
  LineBuffer* MdsLines = nullptr;
  CompilerMessageList* ErrorList = nullptr;
  dynCardinal* NavPts = nullptr;
  UserDialogue* Dialogue = nullptr;
  bool SyntaxOnly = false;
  int MaxErrors = 25;

  // --- Messages ---
  int ErrorCount = 0;
  int WarningCount = 0;
  // Number and kind of every message in the message list, in order.
  dynInteger ReportedNumbers;
  std::vector<MessageKind> ReportedKinds;
  std::string SavedAt;
  // Messages are recorded only while true (false in the code-collecting pass).
  bool Reporting = true;
  // A fatal error or a Yes to a stop question: nothing more is reported.
  bool Stopped = false;
  // An error was reported since the data-part driver began this segment.
  bool SegmentHasError = false;

  // --- Reader ---
  // The raw lines read as UTF-16, trailing blank lines removed; a column is
  // one UTF-16 code unit, as the editor counts.
  SourceText SdsText;
  int LineIndex = 0;               // 0-based line being read
  int CharIndex = 0;               // 1-based column of the character just read
  std::u16string_view CurLine;     // the current line, prepared (a view of CurLineChars)
  std::u16string CurLineChars;
  int CurLineIndex = -1;           // the line CurLine holds
  std::int64_t TextPos = 0;        // position of column 1 of the current line
  int LastLine = 0;                // last non-blank line
  int LastLineLen = 0;             // its raw length
  bool EndOfText = false;
  int CurChar = 0;                 // the character just read, normalized
  char16_t CurCharText = 0;        // the same character as the text holds it
  int CharColumns = 1;             // its columns: 2 for a character beyond the basic plane
  std::string PendingText;         // identifier being built (UTF-8)
  std::int64_t PendingPos = 0;     // text position of its first character
  std::int64_t UnfinishedWordPos = -1;  // a word cut off by the text's end, or -1

  // --- Character classes (set up at every compile) ---
  std::array<int, 256> CharClass{};
  std::array<std::array<int, 30>, 7> ClassOverride{};  // [row 1..6][character - 32]
  std::array<int, 256> ActiveClass{};
  std::array<bool, 17> EndsToken{};  // [class 1..16]
  bool OneCharMode = false;

  // --- Tokens (1-based; element 0 unused) ---
  int NTokens = 0;
  dynInteger TokKind{0};
  dynString TokText{""};
  std::vector<std::int64_t> TokPos{0};
  // The kinds the segment's tokens were recorded with, one bit each
  // (KindBit): passes over the tokens for kinds not among them are skipped.
  std::uint32_t TokenKindsSeen = 0;
  // Time tokens in time units, worked out once per segment: times are
  // looked at many times over while a segment is checked and filled.
  std::vector<TokenUnits> TokUnits{TokenUnits{}};
  // A time of the segment was not kept in units when it was checked (it is
  // written in another unit or does not fit): ConvertSegmentTimes reads them.
  bool TimesToConvert = false;

  // --- Declarations ---
  int DataType = 0;
  int IntervalDuration = 0;
  int IntervalUnitMark = 0;
  int NCodes = 0;
  dynString CodeNames{""};
  dynString DualNames{""};
  dynInteger CodeSet{0};
  int Duals = 0;                   // 1 once a dual name was declared
  int NSets = 0;
  dynString SetNames{""};
  int NFactors = 0;
  dynString FactorNames{""};
  dynInteger FactorLevels{0};
  dynString2 FactorLevelNames{dynString{}};
  std::string TimeUnitLabel;
  bool OneCharCodesOn = false;     // one-character codes in force for this data type


  // --- Data part: whole compile ---
  int TimeFormat = 0;
  int TimeUnitIndex = 0;
  bool FirstTimeSeen = false;
  int SessionNo = 0;
  std::string SessionLabel;
  dynInteger SessionLineIndex;     // [session - 1]: index in MdsLines of its session line
  dynString2 SessionLevelNames;    // [session - 1]: its level names as written
  dynString LevelList;             // the current session's level names
  std::set<std::string> LabelList; // every session label met
  // Codes met in the data part while no code is declared, in the order of
  // the system's collation.
  std::set<std::string, CollatedLess> CollectedCodes;
  // Factors made from level lists when none are declared: per level
  // position, the distinct names met there, in the order of the collected
  // codes.
  std::vector<std::set<std::string, CollatedLess>> InferredLevels;
  // The one order of collected codes and inferred levels: the system's
  // collation, or the options' comparison when they give one.
  CollatedLess NameOrder;
  int LevelsGivenCount = 0;        // non-empty names of the latest level list
  // The last code index of each code name and each dual name.
  NameIndex CodeIndexByName;
  NameIndex DualIndexByName;

  // --- Data part: one session ---
  int SegmentNo = 0;
  bool SessionEnd = false;
  bool LabelSeen = false;
  bool LevelsGiven = false;        // a level list was closed in this session
  int LevelCount = 0;

  // --- Data part: one segment (tokenizer to parser) ---
  bool SegmentEnd = false;
  int PendingKind = TokenCode;
  int PrevClass = 0;
  bool InLevelList = false;
  // Start and stop in time units. Event, Interval and Multi data: 1 and 0.
  // Timed and State data: worked out from the times; 0 and 0 when the
  // segment holds no time.
  std::uint32_t SegStart = 1;
  std::uint32_t SegStop = 0;
  bool NoDurations = true;         // State data: the segment holds no "="
  bool LevelListOpen = false;
  int SeparatorCount = 0;

  // Called after each segment is tokenized while reporting is on, before
  // it is parsed: lets a caller watch the tokens, their kinds and times.
  std::function<void(const CompileState&)> SegmentTokenized;

  // --- Session parser and matrix (owned by the session parser) ---
  // Fields of the segment parser and matrix filling go here.
};

// CompileSds on a state whose caller fields (options, output lists,
// dialogue, syntax-only flag, error limit) are already set; the state keeps
// everything the compile worked out for the caller to inspect.
void RunCompile(CompileState& state, LinesView sdsLines);

}  // namespace vork
