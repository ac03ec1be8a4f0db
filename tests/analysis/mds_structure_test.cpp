#include "analysis/mds_structure.h"

#include <gtest/gtest.h>

#include "core/command_error.h"
#include "core/mds_reader.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

dynString Report(const dynString& lines, const std::string& fileName) {
  testing::ScriptedDialogue dialogue;
  MdsHeader header;
  EXPECT_TRUE(ReadMdsHeaderFromLines(lines, fileName, header, dialogue));
  dynString results;
  ShowMdsStructure(lines, header, fileName, results);
  return results;
}

TEST(MdsStructure, ReportsCodesSetsDualNamesFactorsAndSessions) {
  const struct {
    const char* Name;
    dynString Lines;
    dynString Report;  // after the separator, the stamp and the path
  } cases[] = {
      {"/data/babies.mds",
       {"\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "3\t0\t0",
        "3\t1\t2\t1\t2\t1", "Cry\tFuss\tSleep", "c\tf\ts", "1\t1\t0", "Distress\tCalm",
        "Age\t2\tyoung\told", "4\t1\ttenths", "1\t1\tbaby1", "1", "1\t1\t3\t0\t3", "3\t...",
        "1\t2\tbaby2", "2", "1\t1\t2\t0\t2", "2\t...", "2\t1\t2\t10\t12", "2\t1.."},
       {"Path:\t/data/", "File:\tbabies.mds", "Type:\tState", "Units:\t1/10 seconds", "",
        "#Code=\t3", "#Sets=\t2", "Code:\tSet:\tDual:", "Cry\tDistress\tc", "Fuss\tDistress\tf",
        "Sleep\t\ts", "", "#Fctr=\t1", "Fctr:\t#Lvls:\tLevels:", "Age\t2\tyoung\told", "",
        "#Sesn=\t2", "#Sgmt:\tSesn:\tLevels:", "1\tbaby1\tyoung", "2\tbaby2\told"}},
      {"/x/y/codes.mds",  // codes only, on one line
       {"MDS file modified by VORK Version 5.1 06.12.2026 21:00:00", "1\t0\t0", "2\t0\t0\t0\t1\t1",
        "A\tB", "0\t0\tevents", "1\t1\ts1", "1\t1\t2\t1\t0", "1\t8*", "1\t4*"},
       {"Path:\t/x/y/", "File:\tcodes.mds", "Type:\tEvent", "Units:\tevents", "", "#Code=\t2",
        "A\tB", "", "#Sesn=\t1", "#Sgmt:\tSesn:", "1\ts1"}},
      {"/d/duals.mds",  // dual names without sets, two factors
       {"\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "1\t0\t0",
        "2\t1\t0\t2\t1\t1", "Look\tTouch", "L\tT", "Sex\t2\tm\tf", "Age\t3\tyoung\tmid\told",
        "0\t0\tevents", "1\t2\tbaby", "2\t3", "1\t2\t2\t1\t0", "1\t2.", "1\t.2", "2\t0\t0\t1\t0"},
       {"Path:\t/d/", "File:\tduals.mds", "Type:\tEvent", "Units:\tevents", "", "#Code=\t2",
        "#Sets=\t0", "Code:\tDual:", "Look\tL", "Touch\tT", "", "#Fctr=\t2",
        "Fctr:\t#Lvls:\tLevels:", "Sex\t2\tm\tf", "Age\t3\tyoung\tmid\told", "", "#Sesn=\t1",
        "#Sgmt:\tSesn:\tLevels:", "2\tbaby\tf\told"}},
  };
  for (const auto& c : cases) {
    dynString expected = {"_________________________", c.Lines[0]};
    expected.insert(expected.end(), c.Report.begin(), c.Report.end());
    EXPECT_EQ(Report(c.Lines, c.Name), expected);
  }
}

TEST(MdsStructure, IntervalDataNameTheirSampling) {
  struct Case {
    const char* TypeLine;
    const char* Expected;
  };
  for (const Case& c : {Case{"4\t5\t2", "Type:\tIntvl=\t5\tpartial"},
                        Case{"4\t1\t1", "Type:\tIntvl=\t1\tmomentary"},
                        Case{"4\t10\t3", "Type:\tIntvl=\t10\twhole"}}) {
    const dynString lines = {"\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00",
                             c.TypeLine, "1\t0\t0\t0\t0\t0", "X", "0\t0\tintervals"};
    dynString report = Report(lines, "i.mds");
    ASSERT_GE(report.size(), 5u);
    EXPECT_EQ(report[4], c.Expected);
    EXPECT_EQ(report[2], "Path:\t");
  }
}

TEST(MdsStructure, DamagedSessionEndsTheReportKeepingItsStart) {
  const dynString lines = {
      "\tMDS file saved by KELP compiler Version 5.1 06.12.2026 21:00:00", "1\t0\t0",
      "1\t0\t0\t0\t2\t2", "A", "0\t0\tevents", "1\t1\ts1", "1\t1\t1\t1\t0", "1\t2", "2\tmany\ts2",
  };
  testing::ScriptedDialogue dialogue;
  MdsHeader header;
  ASSERT_TRUE(ReadMdsHeaderFromLines(lines, "d.mds", header, dialogue));
  dynString results;
  EXPECT_THROW(ShowMdsStructure(lines, header, "d.mds", results), CommandError);
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(results.back(), "1\ts1");
}

}  // namespace
}  // namespace vork
