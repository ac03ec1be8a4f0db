#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_entry_points.h"

namespace vork::fuzz {
namespace {

namespace fs = std::filesystem;

// Every saved input of a folder under tests/fuzz, in name order.
std::vector<fs::path> SavedInputs(const std::string& folder) {
  std::vector<fs::path> files;
  const fs::path root = fs::path(VORK_FUZZ_INPUTS) / folder;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each saved input goes through every entry point: each takes any bytes,
// and an input found by one target often reaches another.
void Replay(const std::string& folder) {
  const std::vector<fs::path> files = SavedInputs(folder);
  for (const fs::path& file : files) {
    const std::string bytes = Bytes(file);
    for (auto entry : {ReadCompiledFile, CompileText, AnalyseCompiledFile, ModifyCompiledFile, RoundCompiledFile}) {
      try {
        entry(bytes);
      } catch (const std::exception& fault) {
        ADD_FAILURE() << file.lexically_relative(VORK_FUZZ_INPUTS).string() << ": " << fault.what();
      }
    }
  }
}

TEST(FuzzReplay, Corpus) {
  EXPECT_GE(SavedInputs("corpus").size(), 10u);
  Replay("corpus");
}

TEST(FuzzReplay, InputsThatOnceFailed) { Replay("crashes"); }

}  // namespace
}  // namespace vork::fuzz
