#include "compiler/compile_sds.h"

#include <algorithm>
#include <locale>
#include <stdexcept>
#include <utility>

#include "compiler/compile_state.h"
#include "compiler/compiler_messages.h"
#include "compiler/data_part.h"
#include "compiler/declarations.h"
#include "compiler/lexer.h"
#include "compiler/mds_header_writer.h"
#include "compiler/source_text.h"

namespace vork {

std::function<int(const std::string&, const std::string&)> SystemCollation() {
  std::locale locale = std::locale::classic();
  try {
    locale = std::locale("");
  } catch (const std::runtime_error&) {
    // An environment naming a locale that is not installed sorts by bytes.
  }
  return [locale](const std::string& a, const std::string& b) {
    return std::use_facet<std::collate<char>>(locale).compare(a.data(), a.data() + a.size(), b.data(),
                                                             b.data() + b.size());
  };
}

namespace {

// Deletes the trailing blank lines and finds the last line's raw length,
// so that reading ends with the last non-blank character.
void PrepareSourceText(CompileState& state, LinesView sdsLines) {
  state.ErrorCount = 0;
  state.WarningCount = 0;
  state.Stopped = false;
  state.Reporting = true;
  if (state.ErrorList) state.ErrorList->Clear();
  if (state.NavPts) state.NavPts->clear();
  state.EndOfText = false;
  state.SdsText = SourceText(sdsLines, state.Options.CaseSensitive);
  state.CurLineIndex = -1;
  if (!state.SdsText.empty()) {
    state.LastLine = static_cast<int>(state.SdsText.size()) - 1;
    state.LastLineLen = static_cast<int>(state.SdsText.Length(state.SdsText.size() - 1));
  }
}

// Without declared codes, the codes are those the data part uses: a silent
// first pass collects them, sorted, before the real pass.
void CollectCodes(CompileState& state) {
  state.Reporting = false;
  const std::u16string curLine = state.CurLineChars;
  const int curLineIndex = state.CurLineIndex;
  const int lineIndex = state.LineIndex;
  const int charIndex = state.CharIndex;
  const std::int64_t textPos = state.TextPos;
  const std::int64_t pendingPos = state.PendingPos;
  state.CollectedCodes.clear();
  ParseData(state);
  state.NCodes = static_cast<int>(state.CollectedCodes.size());
  state.CodeNames.assign(1, "");
  state.CodeNames.insert(state.CodeNames.end(), state.CollectedCodes.begin(),
                         state.CollectedCodes.end());
  state.DualNames.assign(state.NCodes + 1, "");
  state.CodeSet.assign(state.NCodes + 1, 0);
  state.CollectedCodes.clear();
  state.Reporting = true;
  state.CurLineChars = curLine;
  state.CurLineIndex = curLineIndex;
  state.CurLine = state.CurLineChars;
  state.LineIndex = lineIndex;
  state.CharIndex = charIndex;
  state.TextPos = textPos;
  state.PendingPos = pendingPos;
  state.EndOfText = false;
}

}  // namespace

void RunCompile(CompileState& state, LinesView sdsLines) {
  if (sdsLines.empty()) return;
  state.NameOrder =
      CollatedLess{state.Options.CompareNames ? state.Options.CompareNames : SystemCollation()};
  PrepareSourceText(state, sdsLines);
  if (state.SdsText.empty()) state.EndOfText = true;
  if (state.Options.OneCharCodes) ReportCompileMessage(state, 52, 1);
  InitCharClasses(state);
  state.LineIndex = 0;
  state.CharIndex = 0;
  ParseHeader(state);
  if (state.Options.RepeatCheck && state.DataType != DataTypeEvent) {
    ReportCompileMessage(state, 54, 1);
  }
  if (state.ErrorCount == 0) {
    if (state.NCodes == 0) CollectCodes(state);
    ParseData(state);
  }
  // A compile stopped at a warning question ended in the middle of its
  // data: it counts as failed, so that its lines are never saved.
  if (state.Stopped && state.ErrorCount == 0) state.ErrorCount = 1;
  // A failed compile leaves only what its data part wrote.
  if (state.ErrorCount == 0 && !state.SyntaxOnly) WriteMdsHeader(state);
  if (state.Dialogue) state.Dialogue->Progress(0, 100);
}

void CompileSds(LinesView sdsLines, LineBuffer& mdsLines, CompilerMessageList& errorList,
                dynCardinal& navPts, UserDialogue& dialogue, bool syntaxOnly, int maxErrors,
                int& errorCount, std::string& savedAt, const CompileOptions& options) {
  if (sdsLines.empty()) return;
  CompileState state;
  state.Options = options;
  state.MdsLines = &mdsLines;
  state.ErrorList = &errorList;
  state.NavPts = &navPts;
  state.Dialogue = &dialogue;
  state.SyntaxOnly = syntaxOnly;
  state.MaxErrors = maxErrors;
  state.SavedAt = savedAt;
  RunCompile(state, sdsLines);
  errorCount = state.ErrorCount;
  savedAt = state.SavedAt;
}

void CompileSds(dynString& sdsLines, dynString& mdsLines, CompilerMessageList& errorList,
                dynCardinal& navPts, UserDialogue& dialogue, bool syntaxOnly, int maxErrors,
                int& errorCount, std::string& savedAt, const CompileOptions& options) {
  if (sdsLines.empty()) return;
  LineBuffer compiled(mdsLines);
  CompileSds(LinesView(sdsLines), compiled, errorList, navPts, dialogue, syntaxOnly, maxErrors, errorCount,
             savedAt, options);
  mdsLines = compiled.ToStrings();
  // A line of blanks and control characters only is blank in either reading.
  while (!sdsLines.empty() && std::all_of(sdsLines.back().begin(), sdsLines.back().end(),
                                          [](char c) { return static_cast<unsigned char>(c) <= ' '; })) {
    sdsLines.pop_back();
  }
}

}  // namespace vork
