#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_sds.h"
#include "core/mds_reader.h"
#include "modify/modify_engine.h"
#include "modify/validate_command.h"
#include "tests/support/compiled_text.h"
#include "tests/support/scripted_dialogue.h"

namespace vork::testing {

// The file with its last line replaced.
inline ModifyFile WithLastLine(ModifyFile file, const std::string& line) {
  dynString lines = file.Lines.ToStrings();
  lines.back() = line;
  file.Lines = LineBuffer(lines);
  return file;
}

// A compiled file made from KELP text given with "\n" between lines, held
// as the modification window holds it.
inline ModifyFile CompiledFile(const std::string& kelp, bool compressed = false) {
  dynString sds;
  std::size_t from = 0;
  while (from <= kelp.size()) {
    const std::size_t to = std::min(kelp.find('\n', from), kelp.size());
    sds.push_back(kelp.substr(from, to - from));
    from = to + 1;
  }
  CompileOptions options;
  options.CompressMDS = compressed;
  options.CurrentDateTime = [] { return std::string("THEN"); };
  CompilerMessageLines messages;
  dynCardinal positions;
  SilentDialogue silent;
  int errors = 0;
  std::string savedAt;
  ModifyFile file;
  dynString mds;
  CompileSds(sds, mds, messages, positions, silent, false, 25, errors, savedAt, options);
  file.Lines = LineBuffer(mds);
  EXPECT_EQ(errors, 0) << kelp;
  EXPECT_TRUE(ReadMdsHeaderFromLines(file.Lines, "test.mds", file.Header, silent)) << kelp;
  file.HeaderEnd = file.Header.LineIndex;
  return file;
}

// A command as the window's controls give it.
inline ModifyCommand Command(int number, const std::string& newCode, const dynString& picked) {
  ModifyCommand command;
  command.Number = number;
  command.NewCode = newCode;
  command.PickedCodes = picked;
  return command;
}

// The lines from line 1 on ("|" for TAB), as the expected files are written.
inline std::vector<std::string> LinesAfterStamp(LinesView lines) {
  std::vector<std::string> out;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string line(lines[i]);
    for (char& c : line) c = c == '\t' ? '|' : c;
    out.push_back(line);
  }
  return out;
}

}  // namespace vork::testing
