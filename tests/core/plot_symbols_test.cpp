#include "core/plot_symbols.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/command_error.h"
#include "tests/support/scratch_folder.h"

namespace vork {
namespace {

TEST(PlotSymbolsTest, NormalizingCutsLinesToOneCharacterAndPadsWithQuestionMarks) {
  const struct {
    dynString Lines;
    int Picked;
    dynString Expected;
  } cases[] = {
      {{"ab", "", "c"}, 4, {"a", "?", "c", "?"}},
      {{"x", "yz", "w"}, 1, {"x", "y", "w"}},  // lines beyond the picked codes stay
      {{}, 2, {"?", "?"}},
      {{"\xC3\xA9t\xC3\xA9", "\xE2\x98\x85!", "\xC3"}, 0, {"\xC3\xA9", "\xE2\x98\x85", "\xC3"}},
  };
  for (const auto& c : cases) {
    dynString lines = c.Lines;
    NormalizeSymbolList(lines, c.Picked);
    EXPECT_EQ(lines, c.Expected);
  }
}

TEST(PlotSymbolsTest, FilesHoldOneSymbolPerLineAndLoadAsManyAsThereArePickedCodes) {
  testing::ScratchFolder scratch;
  const std::string file = scratch.Path("symbols.txt");
  SavePlotSymbolFile(file, {"Apple", "", "b", "unsaved"}, 3);
  std::ostringstream bytes;
  bytes << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(bytes.str(), "A\r\n?\r\nb\r\n");

  std::ofstream(scratch.Path("ten.txt"), std::ios::binary) << "a1\n\nc\nd\ne\nf\ng\nh\ni\nj\n";
  EXPECT_EQ(LoadPlotSymbolFile(scratch.Path("ten.txt"), 3), (dynString{"a", "?", "c"}));
  EXPECT_EQ(LoadPlotSymbolFile(file, 5), (dynString{"A", "?", "b"}));  // short: padded on the next normalisation
  std::ofstream(scratch.Path("empty.txt"), std::ios::binary) << "";
  EXPECT_TRUE(LoadPlotSymbolFile(scratch.Path("empty.txt"), 3).empty());
  EXPECT_THROW(LoadPlotSymbolFile(scratch.Path("missing.txt"), 3), CommandError);
}

}  // namespace
}  // namespace vork
