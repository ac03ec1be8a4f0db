#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/command_error.h"
#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// Texts a user may well write, with the compiled lines from the session
// line on and the messages they must give.
struct InputCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Header;  // lines 2 to the units line; empty: not compared
  std::vector<std::string> Data;    // session, segment and data lines
  std::vector<Reported> Messages = {};
  CompileOptions Options = {};
};

CompileOptions ReverseOrder() {
  CompileOptions options;
  options.CompareNames = [](const std::string& a, const std::string& b) { return b.compare(a); };
  return options;
}

class OutsideInput : public ::testing::TestWithParam<InputCase> {};

TEST_P(OutsideInput, CompilesAsWritten) {
  const InputCase& c = GetParam();
  CompileOptions options = c.Options;
  options.CompressMDS = false;
  auto run = Compile(c.Text, options, false);
  EXPECT_EQ(run->Messages(), c.Messages) << c.Text;
  if (!c.Messages.empty() && c.Data.empty()) return;
  const std::size_t headerEnd = run->MdsLines.size() >= c.Data.size() ? run->MdsLines.size() - c.Data.size() : 0;
  EXPECT_EQ(dynString(run->MdsLines.begin() + static_cast<std::ptrdiff_t>(headerEnd), run->MdsLines.end()),
            Tabbed(c.Data))
      << c.Text;
  if (!c.Header.empty()) {
    ASSERT_GE(headerEnd, 1u);
    EXPECT_EQ(dynString(run->MdsLines.begin() + 1, run->MdsLines.begin() + static_cast<std::ptrdiff_t>(headerEnd)),
              Tabbed(c.Header))
        << c.Text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Compile, OutsideInput,
    ::testing::Values(
        // A zero duration at the end of the longest stream keeps its onset:
        // the segment then holds that unit.
        InputCase{"ZeroDurationEndsLongestStream", "State a b c;\na=2 b=0 /", {},
                  {"1|1|#1", "1|3|3|1|4", "1|2..", "1|1..", "1|.2."}},
        InputCase{"OnlyAZeroDuration", "State a b c;\na=0 /", {}, {"1|1|#1", "1|1|1|1|2", "1|2.."}},
        InputCase{"ZeroDurationInsideAStream", "State a b;\na=0 b=2 /", {},
                  {"1|1|#1", "1|2|2|1|3", "1|22", "1|.1"}},
        // The en dash, in UTF-8 or as byte 150 of the Windows code page.
        InputCase{"EnDashInUtf8", "Timed a;\na,10\xE2\x80\x93" "15 ,20 /", {},
                  {"1|1|#1", "1|3|10|10|20", "1|2", "4|1", "5|."}},
        InputCase{"EnDashInTheCodePage", "Timed a;\na,10\x96" "15 ,20 /", {},
                  {"1|1|#1", "1|3|10|10|20", "1|2", "4|1", "5|."}},
        // The code page's letters at 128..159 are code characters, read as
        // the letters they are.
        InputCase{"CodePageLetters", "Event \x8Cuvre \x80 \x9E;\n\x8Cuvre \x80 \x9E /",
                  {"1|0|0", "3|0|0|0|1|1", "\xC5\x92uvre|\xE2\x82\xAC|\xC5\xBE", "0|0|events"},
                  {"1|1|#1", "1|3|3|1|0", "1|2..", "1|.2.", "1|..2"}},
        InputCase{"CodePageLettersInUtf8", "Event \xC5\x92uvre \xE2\x82\xAC;\n\xC5\x92uvre \xE2\x82\xAC /",
                  {"1|0|0", "2|0|0|0|1|1", "\xC5\x92uvre|\xE2\x82\xAC", "0|0|events"},
                  {"1|1|#1", "1|2|2|1|0", "1|2.", "1|.2"}},
        // A missing final slash is the one message: the word it cuts off is
        // no token.
        InputCase{"NoFinalSlash", "Timed a ;\n,0 a,3-8 ,60", {}, {}, {{47, Error, 21}}},
        // Collected codes and inferred levels follow the same order.
        InputCase{"OneOrderForCodesAndLevels", "Event;\nb a (x)/ a (y)/",
                  {"1|0|0", "2|0|0|1|2|1", "b|a", "Factor#1|2|y|x", "0|0|events"},
                  {"1|1|#1", "2", "1|2|2|1|0", "1|2.", "1|.2", "1|1|#2", "1", "1|1|1|1|0", "1|.2"},
                  {},
                  ReverseOrder()},
        // Arithmetic that passes 31 bits is reported, never wrapped.
        InputCase{"NineteenDecimalsWithoutCodes", "Event;\n,1.1234567890123456789 a/", {}, {}, {{17, Error, 9}}},
        InputCase{"DurationsPastTheLargestTime", "State a;\na=2147483647 a=1/", {}, {}, {{21, Error, 25}}}),
    [](const auto& info) { return std::string(info.param.Name); });

// Tiny texts that would need gigabytes are refused at once, before their
// grid is allocated or grown: an error in the message list at the token
// that passes the budget.
TEST(OutsideInput, HugeSegmentsAreRefusedQuickly) {
  std::string manyCodes = "Event;\n";
  for (int k = 0; k < 47000; ++k) manyCodes += "c" + std::to_string(k) + " ";
  manyCodes += "/";
  const struct {
    std::string Text;
    std::uint32_t Pos;
    std::string Units;
  } cases[] = {{"Timed a;\na,0 ,2147483647/", 15, "2147483647 time units and 1 codes"},
               {manyCodes, 308707, "45688 time units and 47000 codes"},
               {"Interval a;\na*2147483647/", 15, "2147483647 time units and 1 codes"}};
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    auto run = Compile(c.Text, {}, false);
    EXPECT_EQ(run->Messages(), (std::vector<Reported>{{0, Error, c.Pos}})) << c.Text.substr(0, 40);
    EXPECT_EQ(run->List.Lines, (dynString{"Segment too large: a segment of " + c.Units +
                                          " needs more than the 2048 MB a segment may take in memory; write it "
                                          "as several segments."}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.Text.substr(0, 40);
  }
}

// A small Event text of many codes, each used once, makes a data line per
// code as long as the codes: the lines are measured before they are
// written, and a segment whose lines would pass the memory budget is an
// error at its first token; one whose lines fit is written without a grid.
TEST(OutsideInput, CompiledLinesOfManyCodesAreHeldToTheBudget) {
  const auto eventsOfCodes = [](int codes, bool declared) {
    std::string names;
    for (int k = 0; k < codes; ++k) names += "c" + std::to_string(k) + " ";
    return "Event" + (declared ? " " + names : std::string()) + ";\n" + names + "/";
  };
  CompileOptions plain;
  plain.CompressMDS = false;
  auto refused = Compile(eventsOfCodes(46330, false), plain, false);
  EXPECT_EQ(refused->Messages(), (std::vector<Reported>{{0, Error, 8}}));
  EXPECT_EQ(refused->List.Lines,
            (dynString{"Segment too large: its compiled lines would take 2048 MB, which with the 2 MB held before "
                       "them passes the 2048 MB a compile may hold in memory; write fewer codes or time units to a "
                       "segment."}));

  // 4,000 codes compressed: a line per event, its code's bit the last of
  // its code set.
  auto written = Compile(eventsOfCodes(4000, true), {}, false);
  ASSERT_EQ(written->State.ErrorCount, 0);
  const std::size_t header = written->MdsLines.size() - 4000 - 3;
  ASSERT_EQ(written->MdsLines[header + 1], "1\t1\t#1");
  EXPECT_EQ(written->MdsLines[header + 2], "1\t4000\t4000\t1\t0");
  EXPECT_EQ(written->MdsLines[header + 3], "1\t8*");
  EXPECT_EQ(written->MdsLines[header + 4], "1\t4*");
  EXPECT_EQ(written->MdsLines.back(), "1\t" + std::string(999, '0') + "1*");
}

}  // namespace
}  // namespace vork::testing
