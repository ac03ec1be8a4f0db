#pragma once

#include <stdexcept>
#include <string>

namespace vork {

// Ends the command that is running. The text is what the user sees in the
// standard error box; nothing done before the throw is undone.
class CommandError : public std::runtime_error {
 public:
  explicit CommandError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace vork
