#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "compiler/compile_sds.h"
#include "core/dyn_arrays.h"
#include "core/mds_header.h"
#include "core/mds_reader.h"
#include "tests/support/scripted_dialogue.h"

namespace vork::testing {

// A compiled file made from KELP text in a test, with its header read as a
// window reads it at load.
struct CompiledKelp {
  dynString Lines;
  MdsHeader Header;
};

// Compiles text (lines split at "\n"; names keep their case) into plain data
// lines stamped "NOW". A text with errors fails the test.
inline CompiledKelp CompileKelp(const std::string& text) {
  dynString sds;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    sds.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  CompileOptions options;
  options.CaseSensitive = true;
  options.CompressMDS = false;
  options.CurrentDateTime = [] { return std::string("NOW"); };
  CompiledKelp file;
  CompilerMessageLines messages;
  dynCardinal positions;
  ScriptedDialogue dialogue;
  dialogue.AnswerOkWhenUnscripted = true;
  int errors = 0;
  std::string savedAt;
  CompileSds(sds, file.Lines, messages, positions, dialogue, false, 25, errors, savedAt, options);
  EXPECT_EQ(errors, 0) << text << "\n" << (messages.Lines.empty() ? "" : messages.Lines[0]);
  EXPECT_TRUE(ReadMdsHeaderFromLines(file.Lines, "C:/data/obs.mds", file.Header, dialogue)) << text;
  return file;
}

// Cells of nCodes codes over the units, one string per code: each unit at
// random off, an onset or, after a unit the code is on, on.
inline std::vector<std::string> RandomCells(std::mt19937& random, int nCodes, int units) {
  std::vector<std::string> cells(std::size_t(nCodes), std::string(std::size_t(units), '.'));
  for (std::string& row : cells) {
    for (int t = 0; t < units; ++t) {
      const bool on = t > 0 && row[std::size_t(t - 1)] != '.';
      const int pick = int(random() % 4);
      row[std::size_t(t)] = pick == 0 ? '.' : pick == 1 ? '2' : on ? '1' : '.';
    }
  }
  return cells;
}

// A compiled file of one session "s" of one segment holding the cells (one
// plain data line per unit), for codes named by names.
inline CompiledKelp OneSegmentFile(int dataType, const std::string& unitsLine, std::uint32_t start,
                                   std::uint32_t stop, const dynString& names,
                                   const std::vector<std::string>& cells) {
  const std::string units = std::to_string(cells.empty() ? 0 : cells[0].size());
  CompiledKelp file;
  file.Lines = {"\tMDS file saved by KELP compiler Version 5.1 NOW", std::to_string(dataType) + "\t0\t0",
                std::to_string(names.size()) + "\t0\t0\t0\t1\t1"};
  std::string line;
  for (const std::string& name : names) line += (line.empty() ? "" : "\t") + name;
  file.Lines.push_back(line);
  file.Lines.push_back(unitsLine);
  file.Lines.push_back("1\t1\ts");
  file.Lines.push_back("1\t" + units + "\t" + units + "\t" + std::to_string(start) + "\t" +
                       std::to_string(stop));
  for (std::size_t t = 0; !cells.empty() && t < cells[0].size(); ++t) {
    line = "1\t";
    for (const std::string& row : cells) line += row[t];
    file.Lines.push_back(line);
  }
  ScriptedDialogue dialogue;
  EXPECT_TRUE(ReadMdsHeaderFromLines(file.Lines, "r.mds", file.Header, dialogue));
  return file;
}

}  // namespace vork::testing
