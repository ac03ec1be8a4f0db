#include "agreement/agreement_output.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(AgreementOutputTest, KappaValuesLoseOnlyALeadingZero) {
  const struct {
    double Value;
    int Digits;
    char Separator;
    std::string Text;
  } cases[] = {{0.5, 2, '.', ".50"}, {1, 2, '.', "1.00"}, {-0.2, 2, '.', "-0.20"}, {0, 3, '.', ".000"},
               {0.85, 2, ',', ",85"}};
  for (const auto& c : cases) EXPECT_EQ(FormatKappaValue(c.Value, c.Digits, {c.Separator}), c.Text);
}

TEST(AgreementOutputTest, LineLengthsOutsideTheirRangeAreReplaced) {
  const std::pair<std::string, int> cases[] = {{"100", 100}, {"9", 60}, {"201", 120}, {"10", 10}, {"x", 60}};
  for (const auto& [text, length] : cases) EXPECT_EQ(AgreementLineLength(text), length) << text;
}

TEST(AgreementOutputTest, SymbolsComeFromTheMarkersOrFromTheAlphabet) {
  const PickedCodeTables codes = MakePickedCodeTables({"Alert", "Cry", "Sleep"}, {"z", ""});
  EXPECT_EQ(codes.Symbols, (dynString{"-", "z", "B", "C", "&", "Totals"}));
  EXPECT_EQ(codes.Names, (dynString{"nil", "Alert", "Cry", "Sleep", "& (all others)", "Totals"}));
}

TEST(AgreementOutputTest, MatrixColumnsComeInBlocksAsWideAsTheLineAllows) {
  dynString picked, markers;
  for (char c = 'a'; c < 'a' + 20; ++c) picked.push_back(std::string(1, c)), markers.push_back(std::string(1, c));
  AgreementWriter writer;
  writer.Codes = MakePickedCodeTables(picked, markers);
  writer.LineLength = 100;
  const dynInteger2 zeros(23, dynInteger(23, 0));
  dynString lines;
  WriteAgreementMatrix(lines, writer, zeros, dynReal(23, 0.0), 1);
  ASSERT_EQ(lines.size(), 1u + 2 * 23);  // the "&" row hidden
  EXPECT_EQ(lines[2], "\ta\tb\tc\td\te\tf\tg\th\ti\tj\tk\tl");
  EXPECT_EQ(lines[3], "a\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0");
  EXPECT_EQ(lines[25], "\tm\tn\to\tp\tq\tr\ts\tt\tTotals\tindK");
  EXPECT_EQ(lines[26], "a\t0\t0\t0\t0\t0\t0\t0\t0\t0\t.00\ta");  // every row again, with its kappa and name
  EXPECT_EQ(lines.back(), "Totals\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\tTotals");
}

TEST(AgreementOutputTest, LongTimeLabelsTakeTwoGroupsAndEverySecondIsLeftOut) {
  AgreementWriter writer;
  const struct {
    int Format, UnitIndex;
    std::uint32_t Start;
    std::string Labels;
  } cases[] = {
      {1, 0, 0, "0         10        20        "},
      {5, 2, 6000000, "1000:00.00          1000:00.20          "},
  };
  for (const auto& c : cases) {
    writer.TimeFormat = c.Format;
    writer.TimeUnitIndex = c.UnitIndex;
    std::string line;
    bool longLabel = false;
    std::uint32_t start = c.Start;
    for (int g = 0; g < 3; ++g) AppendTimeLabel(line, start, longLabel, writer);
    EXPECT_EQ(line, c.Labels);
    EXPECT_EQ(start, c.Start + 30);
  }
}

}  // namespace
}  // namespace vork
