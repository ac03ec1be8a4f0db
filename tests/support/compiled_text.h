#pragma once

#include <string>

#include <gtest/gtest.h>

#include "compiler/compile_sds.h"
#include "core/text_file.h"

namespace vork::testing {

// The compiled file of a KELP text (lines separated by "\n"), plain or
// compressed, stamped "07.12.2026 01:00:00". The compile must be clean.
// Tests that use it link the compiler.
inline dynString CompiledText(const std::string& text, bool compressed = false) {
  dynString sds = SplitTextLines(text);
  dynString mds;
  CompilerMessageLines messages;
  dynCardinal positions;
  SilentDialogue dialogue;
  int errors = 0;
  std::string savedAt;
  CompileOptions options;
  options.CompressMDS = compressed;
  options.CurrentDateTime = [] { return std::string("07.12.2026 01:00:00"); };
  CompileSds(sds, mds, messages, positions, dialogue, false, 1000, errors, savedAt, options);
  EXPECT_EQ(errors, 0) << text << "\n" << (messages.Lines.empty() ? "" : messages.Lines[0]);
  return mds;
}

}  // namespace vork::testing
