#include "modify/round_times.h"

#include <gtest/gtest.h>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "modify/round_mds_name.h"
#include "tests/support/compiled_text.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

using testing::CompiledText;
using testing::Tabbed;

const std::string Stamp = "07.12.2026 02:00:00";

struct Rounded {
  dynString Results, Lines;
  std::string Error;
};

Rounded Round(const dynString& mds, int newUnit) {
  MdsHeader header;
  testing::ScriptedDialogue dialogue;
  EXPECT_TRUE(ReadMdsHeaderFromLines(mds, "/data/x.mds", header, dialogue));
  RoundingOutput output;
  Rounded rounded;
  try {
    RoundMdsTimes(mds, header, "/data/x.mds", newUnit, Stamp, output, dialogue);
  } catch (const CommandError& error) {
    rounded.Error = error.what();
  }
  rounded.Results = output.ResultLines;
  rounded.Lines = output.MdsLines.ToStrings();
  return rounded;
}

struct RoundCase {
  std::string Text;
  int NewUnit;
  std::vector<std::string> Expected;  // from the units line on
  std::string Report;
};

TEST(RoundTimes, WritesTheRoundedSegments) {
  const std::vector<RoundCase> cases{
      // Start 14 rounds down to 1, 15 up to 2, the stop 25 to 3.
      {"Timed a;\n,1.4 a,1.6-2.0 ,2.5/", 0, {"1|0|seconds", "1|1|#1", "1|2|2|1|3", "1|.", "1|2"}, "No events merged."},
      {"Timed a;\n,1.5 a,1.6-2.0 ,2.5/", 0, {"1|0|seconds", "1|1|#1", "1|1|1|2|3", "1|2"}, "No events merged."},
      // a's onsets at 0.6 and 1.2 both fall into second 1.
      {"Timed a b;\n,0.0 a,0.6-0.9 b,1.0-1.1 a,1.2-1.4 ,2.0/", 0,
       {"1|0|seconds", "1|1|#1", "1|2|2|0|2", "1|..", "1|22"}, "1|a merged"},
      // The onset unit holds 9 more on-units; the next unit is on in 7
      // (7 + 9 = 16, above 15) or in 6 (15, not above).
      {"Timed a;\n,0.5 a,0.5-2.2 ,2.5/", 0, {"1|0|seconds", "1|1|#1", "1|2|2|1|3", "1|2", "1|1"}, "No events merged."},
      {"Timed a;\n,0.5 a,0.5-2.1 ,2.5/", 0, {"1|0|seconds", "1|1|#1", "1|2|2|1|3", "1|2", "1|."}, "No events merged."},
      // Time format 5 (m:ss.ddd) becomes 2 in seconds.
      {"Timed a;\n,0:00.500 a,0:00.500-0:02.200 ,0:02.500/", 0,
       {"2|0|seconds", "1|1|#1", "1|2|2|1|3", "1|2", "1|1"}, "No events merged."},
      // Hundredths to tenths keeps the format; 0.95 to 0.99 fall into the
      // unit at the stop, which is not written.
      {"State a b;\n,0.00 a,0.10 b,0.55 ,1.00/", 1,
       {"4|1|tenths", "1|1|#1", "1|5|10|0|10", "1|..", "1|2.", "4|1.", "1|.2", "3|.1"}, "No events merged."},
  };
  for (const RoundCase& c : cases) {
    const dynString mds = CompiledText(c.Text);
    const Rounded rounded = Round(mds, c.NewUnit);
    ASSERT_EQ(rounded.Error, "") << c.Text;
    ASSERT_GE(rounded.Lines.size(), c.Expected.size());
    EXPECT_EQ(dynString(rounded.Lines.end() - long(c.Expected.size()), rounded.Lines.end()), Tabbed(c.Expected))
        << c.Text;
    EXPECT_EQ(rounded.Results.back(), Tabbed({c.Report})[0]) << c.Text;
  }
}

// A text in tenths whose every time is a whole second rounds to the file
// the compiler makes of the same text in seconds, plain and compressed.
TEST(RoundTimes, WholeSecondsInTenthsRoundToTheFileInSeconds) {
  const std::string seconds =
      "Timed a b c * g(x y);\n<s1> (x) ,2 a,3-7 b,5 c,6-9 ,12 ; ,20 b,21-25 c,24 ,30/\n"
      "<s2> (y) a,0-4 & c,2-3 ,6/\n<s3> (x) ,1 b,1- c,3-5 a,4 ,9/";
  const std::string tenths =
      "Timed a b c * g(x y);\n<s1> (x) ,2.0 a,3.0-7.0 b,5.0 c,6.0-9.0 ,12.0 ; ,20.0 b,21.0-25.0 c,24.0 ,30.0/\n"
      "<s2> (y) a,0.0-4.0 & c,2.0-3.0 ,6.0/\n<s3> (x) ,1.0 b,1.0- c,3.0-5.0 a,4.0 ,9.0/";
  for (bool compressed : {false, true}) {
    dynString expected = CompiledText(seconds, compressed);
    expected[0] = (compressed ? "" : "\t") + std::string("MDS file modified by VORK (times rounded) ") + Stamp;
    // Every segment line begins with its session's number of segments,
    // where the compiler numbers the segments.
    ASSERT_EQ(expected[8].substr(0, 2), "1\t");
    expected[8][0] = '2';
    const Rounded rounded = Round(CompiledText(tenths, compressed), 0);
    ASSERT_EQ(rounded.Error, "");
    EXPECT_EQ(rounded.Lines, expected);
    EXPECT_EQ(rounded.Results.back(), "No events merged.");
  }
}

TEST(RoundTimes, RefusesASegmentWhoseUnitsDoNotSpanItsTimes) {
  const dynString mds = Tabbed({"|MDS file saved by KELP compiler Version 5.1 x", "2|0|0", "1|0|0|0|2|2", "a",
                                "4|1|seconds", "1|1|#1", "1|1|10|0|10", "10|2", "2|1|#2", "1|1|9|0|10", "9|1"});
  const Rounded rounded = Round(mds, 0);
  EXPECT_EQ(rounded.Error,
            "Session 2, segment 1 has 9 time units, but its start 0 and stop 10 span a different number; its "
            "times cannot be rounded.");
  EXPECT_EQ(rounded.Results.size(), 6u);  // the file summary stays
}

TEST(NextNumberedMdsName, CountsUpTheBracketedNumber) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"/data/x.mds", "/data/x[1].mds"},   {"/data/x[1].mds", "/data/x[2].mds"},
      {"x[9].mds", "x[10].mds"},           {"/d/a[b][3].mds", ""},
      {"/d/a[2]b.mds", "/d/a[2]b[1].mds"}, {"/d/x].mds", ""},
      {"/d/x[].mds", ""},                  {"/d/x[7]", "/d/x[8].mds"},
      {"x[+3].mds", "x[4].mds"},           {"x[-1].mds", "x[0].mds"},
      {"x[+].mds", ""},                    {"x[+-3].mds", ""},
      {"x[++3].mds", ""},                  {"x[3+].mds", ""},
  };
  for (const auto& [name, next] : cases) EXPECT_EQ(NextNumberedMdsName(name), next) << name;
}

}  // namespace
}  // namespace vork
