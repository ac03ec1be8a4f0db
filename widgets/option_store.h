#pragma once

#include <array>

namespace vork {

// The program's options, as the two options dialogs edit them and the
// compiler and the analyses read them. The defaults are those of a first start.
struct OptionStore {
  // Compile options.
  bool CaseSensitive = true;      // when off the compiler lower-cases source lines
  bool ExclusivityCheck = false;
  bool RepeatCheck = false;
  bool OneCharCodes = false;      // every code is one character
  bool BackupSDS = false;         // keep the previous raw file as name.~sds
  bool CompressMDS = true;
  int SingLineComX = 3;           // index into CommentChars, 0 none
  int MultLineComX = 1;           // index into CommentChars, 0 none
  int MaxErrors = 25;             // 1..32767: ask whether to stop at each multiple

  // Run options.
  int NDigits = 2;                // 0..5 decimals of statistics
  int N2x2Min = 5;                // least row and column sum of 2x2 statistics
  int DecSepX = 0;                // 0 the host's, 1 ".", 2 ","
  int PlotCharX = 0;              // index into PlotChars
  bool ELag1SZ = true;            // lag +-1 event tables: zero diagonal is structural
  bool WriteLog = false;          // write the log file at exit

  // The process decimal separator found at start-up.
  char HostDecSep = '.';
};

// The comment characters the compile options offer (index 0 none) are the
// compiler's CommentChars (compiler/lexer.h).

// The plot characters the run options offer.
inline constexpr std::array<char, 5> PlotChars = {'+', '-', '=', '*', '>'};

// The characters the compiler's time-value reading treats as the decimal
// point and as the separator of time fields.
inline constexpr char DecSignalChar = '.';
inline constexpr char TimeSignalChar = ',';

}  // namespace vork
