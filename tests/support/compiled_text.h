#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "compiler/compile_sds.h"
#include "core/segment_runs.h"
#include "core/segment_writer.h"
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

// Compiled lines as tests write them: "|" stands for each TAB.
inline dynString Tabbed(const std::vector<std::string>& lines) {
  dynString out;
  for (std::string line : lines) {
    for (char& c : line) c = c == '|' ? '\t' : c;
    out.push_back(line);
  }
  return out;
}

// The runs of a segment matrix (rows of '.', '1', '2'), as the run reader
// reads them from the segment's data lines.
inline SegmentRuns RunsOf(const dynChar2& matrix) {
  MdsHeader header;
  header.NCodes = int(matrix.size());
  SegmentValues segment;
  segment.NTimeUnits = matrix.empty() ? 0 : int(matrix[0].size());
  dynString lines = {""};
  dynInteger columns(size_t(segment.NTimeUnits), 1);
  segment.NDataLines = WriteSegmentData(lines, matrix, columns, header.NCodes, segment.NTimeUnits, false, true);
  SegmentRuns runs;
  int lineIndex = 0;
  ReadSegmentRuns(lines, lineIndex, header, segment, runs);
  return runs;
}

}  // namespace vork::testing
