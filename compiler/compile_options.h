#pragma once

#include <functional>
#include <string>

namespace vork {

// The compile options of the option store that the compiler reads. The
// window layer fills this from its settings; the defaults are the store's.
struct CompileOptions {
  // Off: the letters A to Z of every line are read as lower case.
  bool CaseSensitive = true;
  // Every character of a code is a code of its own (Event, Interval, Multi).
  bool OneCharCodes = false;
  // The same code in two successive events is warned about (Event data).
  bool RepeatCheck = false;
  // Codes of one set that are on at the same time are warned about.
  bool ExclusivityCheck = false;
  // Comment characters by index into the comment-character list; 0 none.
  int SingLineComX = 3;
  int MultLineComX = 1;
  // Data lines of the compiled file in compressed form.
  bool CompressMDS = true;
  // The date and time text written into the stamp line. Empty: the
  // system's current date and time.
  std::function<std::string()> CurrentDateTime;
  // How the system's language orders two names (below 0, 0, above 0), for
  // the codes collected from a text that declares none. Empty: the
  // collation of the locale the environment names.
  std::function<int(const std::string&, const std::string&)> CompareNames;
};

}  // namespace vork
