#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vork {

struct CompileState;

enum class MessageKind { Fatal = 1, Error = 2, Warning = 3 };

struct CompilerMessage {
  MessageKind Kind;
  const char* Text;
};

constexpr int CompilerMessageCount = 111;

// The compiler's messages by number; element 0 is unused.
extern const std::array<CompilerMessage, CompilerMessageCount + 1> CompilerMessages;

// What follows a message's text in the message list, by kind.
std::string MessageSuffix(MessageKind kind);

// The message list's line for message msgNo: its text and the suffix of its kind.
std::string CompilerMessageLine(int msgNo);

// Reports message msgNo (1..111) of the given kind. pos >= 0 is a text
// position; pos < 0 stands for the position of token number -pos. Nothing
// happens while reporting is off or after the compile was stopped. A fatal
// error shows " Fatal error" and stops the compile; at every multiple of
// MaxErrors errors, or warnings, the user is asked whether to stop.
void ReportCompileMessage(CompileState& state, int msgNo, MessageKind kind, std::int64_t pos);

// Reports message msgNo with the kind the message table gives it.
void ReportCompileMessage(CompileState& state, int msgNo, std::int64_t pos);

// Reports an error whose text is not one of the numbered messages (a
// segment refused by the memory budget) as number 0, in the message list at
// its place like every other error.
void ReportCompileError(CompileState& state, const std::string& text, std::int64_t pos);

}  // namespace vork
