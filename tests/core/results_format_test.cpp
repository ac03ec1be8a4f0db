#include "core/results_format.h"

#include <gtest/gtest.h>

#include "core/command_error.h"

namespace vork {
namespace {

TEST(ResultsFormat, FileSummaryNamesTheFileOrBothObservers) {
  dynString lines{"earlier"};
  WriteFileSummary(lines, 1, 2, 1, "seconds", "\t06.12.2026 21:30:00", "",
                   {"/home/ann/obs/day1.mds", "", ""});
  WriteSeparatorLine(lines);
  EXPECT_EQ(lines, (dynString{"earlier", "", "File:\tday1.mds", "Made:\t\t06.12.2026 21:30:00",
                              "Type:\tTimed", "Units:\t1/10 seconds", "", "_________________________"}));
  lines.clear();
  WriteFileSummary(lines, 2, 5, 0, "events", "MDS file modified by VORK 1.1.2026", "\t2.1.2026 10:00:00",
                   {"/ignored.mds", "/data/ann.mds", "bob.mds"});
  EXPECT_EQ(lines, (dynString{"", "Obs1:\tann.mds", "Made:\tMDS file modified by VORK 1.1.2026",
                              "Obs2:\tbob.mds", "Made:\t\t2.1.2026 10:00:00", "Type:\tMulti",
                              "Units:\tevents", ""}));
  for (const auto& [dataType, unitIndex] : {std::pair{0, 0}, {6, 0}, {-1, 1}, {1, 4}, {3, -1}}) {
    dynString kept{"kept"};
    EXPECT_THROW(WriteFileSummary(kept, 1, dataType, unitIndex, "seconds", "", "", {}), CommandError);
    EXPECT_EQ(kept, dynString{"kept"});
  }
}

TEST(ResultsFormat, FormatTimeWritesEachTimeFormat) {
  const struct {
    std::uint32_t Time;
    int Format, UnitIndex;
    const char* Expected;
  } cases[] = {
      {6125, 4, 2, "61.25"}, {6125, 5, 2, "1:01.25"}, {6125, 6, 1, "612.5"}, {3725, 2, 0, "62:05"},
      {3725, 7, 0, "62:05"}, {3725, 3, 0, "1:02:05"}, {59, 2, 0, "0:59"},    {0, 3, 0, "0:00:00"},
      {0, 4, 3, "0.000"},    {5, 4, 2, "0.05"},       {1234, 6, 3, "1.234"}, {3601007, 5, 3, "60:01.007"},
      {7, 1, 2, "7"},        {4294967295u, 1, 0, "4294967295"}, {4294967295u, 3, 0, "1193046:28:15"},
      {61, 4, 0, "61"},      {61, 5, 0, "1:01"},      {7, 0, 2, ""},         {7, 8, 2, ""},
      {7, -1, 2, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatTime(c.Time, c.Format, c.UnitIndex), c.Expected) << c.Time << " in format " << c.Format;
  }
  EXPECT_THROW(FormatTime(1, 4, 4), CommandError);
  EXPECT_THROW(FormatTime(1, 1, -1), CommandError);
}

TEST(ResultsFormat, LeadingZeroAndProbabilityBound) {
  const struct {
    const char* Text;
    char Separator;
    const char* Expected;
  } strips[] = {
      {"0.25", '.', ".25"}, {"-0.25", '.', "-.25"}, {"10.5", '.', "10.5"}, {"1.05", '.', "1.05"},
      {"0", '.', "0"},      {"-0", '.', "-0"},      {"0,25", '.', "0,25"}, {".5", '.', ".5"},
      {"", '.', ""},        {"0,25", ',', ",25"},   {"-0,5", ',', "-,5"},  {"0.25", ',', "0.25"},
  };
  for (const auto& c : strips) {
    EXPECT_EQ(StripLeadingZero(c.Text, NumberFormat{c.Separator}), c.Expected) << c.Text;
  }
  const struct {
    const char* Text;
    int NDigits;
    char Separator;
    const char* Expected;
  } probabilities[] = {
      {"0.00", 2, '.', "<.01"},     {"0.01", 2, '.', ".01"},       {"0,00", 2, ',', "<,01"},
      {"0.00", 0, '.', "<.01"},     {"0.00", 1, '.', "<.01"},      {"0.000", 3, '.', "<.001"},
      {"0.0000", 4, '.', "<.0001"}, {"0.00000", 5, '.', "<.00001"}, {"0.000", 2, '.', ".000"},
      {"1.00", 2, '.', "1.00"},     {"0.05", 3, '.', ".05"},       {"0,000", 3, ',', "<,001"},
      {"0.00", 2, ',', "0.00"},
  };
  for (const auto& c : probabilities) {
    EXPECT_EQ(FormatProbability(c.Text, c.NDigits, NumberFormat{c.Separator}), c.Expected)
        << c.Text << " at " << c.NDigits;
  }
}

TEST(ResultsFormat, HasLongItemsLooksAtTheFirstItemsOnly) {
  const dynString items{"a", "abcdefg", "abcdefgh"};
  for (const auto& [n, expected] : {std::pair{2, false}, {3, true}, {10, true}, {0, false}, {-1, false}})
    EXPECT_EQ(HasLongItems(n, items), expected) << n;
  EXPECT_FALSE(HasLongItems(1, {"Gr\xC3\xB6\xC3\x9F" "e12"}));  // 7 characters, 9 bytes
  EXPECT_TRUE(HasLongItems(1, {"Gr\xC3\xB6\xC3\x9F" "e123"}));
}

}  // namespace
}  // namespace vork
