#pragma once

#include <string>

#include "compiler/compile_options.h"
#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/user_dialogue.h"

namespace vork {

// The caller's message list: one line per reported message, in the order
// reported. The main window shows it under the editor; tests keep it in
// memory (CompilerMessageLines).
class CompilerMessageList {
 public:
  virtual ~CompilerMessageList() = default;
  virtual void Clear() = 0;
  // Appends one message line. A list shown less than 100 pixels high grows
  // to 100 here; a taller one keeps its height.
  virtual void Append(const std::string& line) = 0;
};

// A message list held in memory.
class CompilerMessageLines : public CompilerMessageList {
 public:
  void Clear() override { Lines.clear(); }
  void Append(const std::string& line) override { Lines.push_back(line); }
  dynString Lines;
};

// Compiles the lines of a raw KELP data text into the lines of a compiled
// data file, or with syntaxOnly only checks them.
//
// sdsLines: the raw lines, UTF-8 (a text that is not valid UTF-8 is read in
//   the Windows code page); trailing blank lines are deleted from it.
// mdsLines: receives the compiled file; complete only when errorCount is 0
//   and syntaxOnly is false.
// errorList, navPts: one message line and one text position per message.
//   A text position counts UTF-16 code units from the start of the text,
//   every line counting its length plus 2 for its line break.
// dialogue: the progress bar (0 to 100), the " Fatal error" box and the
//   stop questions (" errors found. Stop?", " warnings found. Stop?").
// maxErrors: the stop question comes at every multiple of this many errors,
//   and of this many warnings.
// errorCount: errors and fatal errors reported (warnings not counted); a
//   compile stopped at a warnings question counts 1, as it was not finished.
// savedAt: the date and time written into the stamp line; unchanged when
//   no header was written.
// An empty sdsLines returns at once and touches nothing.
void CompileSds(dynString& sdsLines, dynString& mdsLines, CompilerMessageList& errorList,
                dynCardinal& navPts, UserDialogue& dialogue, bool syntaxOnly, int maxErrors,
                int& errorCount, std::string& savedAt, const CompileOptions& options);

// The same compile over lines seen without a copy (a loaded text file's
// buffer) into one buffer: the compiled lines are written into mdsLines as
// they are made, never held as a string each. sdsLines is not changed.
void CompileSds(LinesView sdsLines, LineBuffer& mdsLines, CompilerMessageList& errorList,
                dynCardinal& navPts, UserDialogue& dialogue, bool syntaxOnly, int maxErrors,
                int& errorCount, std::string& savedAt, const CompileOptions& options);

}  // namespace vork
