#pragma once

#include <string>

#include "core/dyn_arrays.h"
#include "core/mds_header.h"
#include "core/user_dialogue.h"
#include "modify/modify_command.h"

namespace vork {

// What typed commands need of the modification window: the file's current
// header (a statement sees the codes earlier ones made), which command
// buttons its data type enables, the controls as they stand, the error
// list and the message boxes.
class StatementHost {
 public:
  virtual ~StatementHost() = default;
  virtual const MdsHeader& Header() const = 0;
  virtual bool CommandEnabled(int number) const = 0;
  // The command the controls hold now; a statement changes only what it
  // names (command, new code, codes, WINDOW parts, bout gap).
  virtual ModifyCommand Controls() const = 0;
  // Puts a good statement into the controls and runs it as Run does; a
  // failure part way throws CommandError.
  virtual void Apply(const ModifyCommand& command) = 0;
  virtual void ListError(const std::string& line) = 0;
  virtual UserDialogue& Dialogue() = 0;
};

// Every TAB becomes a blank.
std::string TabsToSpaces(std::string text);

// The statements of a text: each line (cut at CR, LF or both), trimmed and
// cut at ";" by SplitStatements.
dynString CollectStatements(const std::string& text);

// Appends the statements of one line: the trimmed pieces between ";"s that
// are not empty. A final ";" is optional.
void SplitStatements(const std::string& line, dynString& statements);

// The words of a text cut at blanks.
dynString SplitWords(const std::string& text);

// Runs statements in order until one fails and the user stops; a good one
// goes to host.Apply. Lists "No errors." when none was bad. A statement that
// fails while applied is listed and ends the run with its CommandError.
void RunStatements(const dynString& statements, StatementHost& host);

// The statements of text (the memo's selection, or all its lines) run.
void RunSyntax(const std::string& text, StatementHost& host);

}  // namespace vork
