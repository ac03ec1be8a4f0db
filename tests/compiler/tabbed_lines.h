#pragma once

#include <string>
#include <vector>

#include "compiler/compile_options.h"
#include "core/dyn_arrays.h"

namespace vork::testing {

// Compiled lines as tests write them: "|" stands for each TAB.
inline dynString Tabbed(const std::vector<std::string>& lines) {
  dynString out;
  for (std::string line : lines) {
    for (char& c : line) {
      if (c == '|') c = '\t';
    }
    out.push_back(line);
  }
  return out;
}

// Compile options whose stamp line carries a fixed date and time.
inline CompileOptions StampedOptions(bool compressed, const std::string& stamp) {
  CompileOptions options;
  options.CompressMDS = compressed;
  options.CurrentDateTime = [stamp] { return stamp; };
  return options;
}

}  // namespace vork::testing
