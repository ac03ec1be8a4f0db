#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

class DeclarationMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(DeclarationMessages, AreReportedAtTheirPositions) {
  const MessageCase& c = GetParam();
  auto run = Compile(c.Text, c.Options);
  EXPECT_EQ(run->Messages(), c.Expected) << c.Text;
  int errors = 0;
  for (const Reported& r : c.Expected) errors += r.Kind == Warning ? 0 : 1;
  EXPECT_EQ(run->State.ErrorCount, errors);
}

const CompileOptions OneChar = With(&CompileOptions::OneCharCodes);
const CompileOptions CaseFolded = Without(&CompileOptions::CaseSensitive);

INSTANTIATE_TEST_SUITE_P(
    Compile, DeclarationMessages,
    ::testing::Values(
        MessageCase{"CodeTwice", "Event a b a;", {{5, Error, 10}}},
        MessageCase{"SetNameTwice", "Event ($hands = l r) ($hands x);", {{10, Error, 23}}},
        MessageCase{"DualTwice", "Event a = x b = x;", {{6, Error, 16}}},
        MessageCase{"FactorTwice", "Event * sex(m f) sex(a b);", {{11, Error, 17}}},
        MessageCase{"LevelTwice", "Event * sex(m f m);", {{12, Error, 16}}},
        MessageCase{"IntervalLengthNotANumber", "Interval = x;", {{9, Error, 11}}},
        MessageCase{"DualMissingBeforeSemicolon", "Event a = ;", {{57, Error, 10}}},
        MessageCase{"NamedSetsWithAndWithoutEquals", "Event ($s = a = x b) ($t c) d;", {}},
        MessageCase{"CloseAtStart", "Event ) a;", {{55, Error, 6}}},
        MessageCase{"NothingAfterOpening", "Event (;", {{58, Error, 7}}},
        MessageCase{"NothingAfterDollar", "Event ($;", {{59, Error, 8}}},
        MessageCase{"NothingAfterSetName", "Event ($s;", {{60, Error, 9}}},
        MessageCase{"NothingAfterSetNameEquals", "Event ($s=;", {{61, Error, 10}}},
        MessageCase{"SetNotClosed", "Event (a;", {{62, Error, 8}}},
        MessageCase{"SetNotClosedAfterDual", "Event (a=b;", {{63, Error, 10}}},
        MessageCase{"DualMissingInSet", "Event (a=;", {{64, Error, 9}}},
        MessageCase{"NoLevelAfterOpening", "Event * f(;", {{67, Error, 10}}},
        MessageCase{"LevelListNotClosed", "Event * f(m;", {{68, Error, 11}}},
        MessageCase{"SyntaxErrorRestartsAtStart", "Event (a=) = c;", {{64, Error, 9}, {55, Error, 11}}},
        MessageCase{"ListAfterLevelList", "Event * sex(m f) (x);", {{69, Error, 17}, {56, Error, 19}}},
        MessageCase{"OnlySemicolon", ";", {{8, Fatal, 0}}},
        MessageCase{"UnknownDataType", "Xylophone a b a;", {{8, Fatal, 0}}},
        MessageCase{"UnknownDataTypeAfterBlankLine", "\n  Xylophone;", {{8, Fatal, 4}}},
        MessageCase{"NoSemicolon", "Event a b", {{4, Fatal, 0}}},
        MessageCase{"UnclosedComment", "Event a ! never closed\nb c;", {{1, Fatal, 8}}},
        MessageCase{"SecondTimeUnitLabel", "Event <frames> a <other>;", {{3, Warning, 17}}},
        MessageCase{"InvalidCharacter", "Event a & b;", {{2, Error, 8}}},
        MessageCase{"ControlCharacter", "Event a\x01" "b a;", {{2, Error, 7}, {5, Error, 10}}},
        MessageCase{"QuoteOutsideInterval", "Event a \"b;", {{56, Error, 8}}},
        MessageCase{"EqualsAfterFactorStar", "Event a * = ;", {{65, Error, 10}}},
        MessageCase{"LevelListWithoutParenthesis", "Event * sex m;", {{66, Error, 12}}},
        MessageCase{"OneCharacterDuals", "Event ab = xy;", {{52, Warning, 1}}, OneChar},
        MessageCase{"OneCharacterDualsTooShort", "Event ab = x;", {{52, Warning, 1}, {7, Error, 11}}, OneChar},
        MessageCase{"OneCharacterCodeTwice", "Multi ab ca;", {{52, Warning, 1}, {5, Error, 9}}, OneChar},
        MessageCase{"RepeatCheckWithTimed", "Timed a a;", {{5, Error, 8}, {54, Warning, 1}}, With(&CompileOptions::RepeatCheck)},
        MessageCase{"RepeatCheckWithEvent", "Event a b;", {}, With(&CompileOptions::RepeatCheck)},
        MessageCase{"UpperCaseIsLowered", "Event Aa aA;", {{5, Error, 9}}, CaseFolded},
        MessageCase{"CaseKeptByDefault", "Event Aa aA;", {}},
        MessageCase{"OnlyAsciiLettersAreLowered", "Event \u00c9a \u00e9a;", {}},
        MessageCase{"PositionsCountUtf16Units", "Event \u00e9 a \u00e9;", {{5, Error, 10}}},
        MessageCase{"CharacterBeyondPlaneIsOneInvalidCharacter", "Event \U0001F600 a a;", {{2, Error, 6}, {5, Error, 11}}},
        MessageCase{"Latin1TextWhenNotUtf8", "Event \xE9 a \xE9;", {{5, Error, 10}}},
        MessageCase{"LinesCountTheirBreak", "Event a\nb\n  a;", {{5, Error, 14}}},
        MessageCase{"TabsAreBlanks", "Event\ta\tb\ta;", {{5, Error, 10}}}),
    CaseName);

TEST(Declarations, CodesSetsAndDuals) {
  auto run = Compile("Event a b (c d) e = f ($hands = l = x r);");
  const CompileState& s = run->State;
  EXPECT_TRUE(run->Messages().empty());
  EXPECT_EQ(s.DataType, DataTypeEvent);
  EXPECT_EQ(s.NCodes, 7);
  EXPECT_EQ(s.CodeNames, (dynString{"", "a", "b", "c", "d", "e", "l", "r"}));
  EXPECT_EQ(s.DualNames, (dynString{"", "", "", "", "", "f", "x", ""}));
  EXPECT_EQ(s.CodeSet, (dynInteger{0, 0, 0, 1, 1, 0, 2, 2}));
  EXPECT_EQ(s.Duals, 1);
  EXPECT_EQ(s.NSets, 2);
  EXPECT_EQ(s.SetNames, (dynString{"", "Set#1", "hands"}));
}

TEST(Declarations, IdentifiersEndAtEqualsAndParenthesis) {
  auto run = Compile("Event a=b c(d);");
  EXPECT_EQ(run->State.CodeNames, (dynString{"", "a", "c", "d"}));
  EXPECT_EQ(run->State.DualNames, (dynString{"", "b", "", ""}));
  EXPECT_EQ(run->State.CodeSet, (dynInteger{0, 0, 0, 1}));
}

TEST(Declarations, DataTypeWordsAndIntervalValues) {
  struct Case {
    std::string Text;
    int DataType, Duration, Mark;
  };
  const Case cases[] = {
      {"Timed a;", 2, 0, 0},      {"t a;", 2, 0, 0},        {"tiger a;", 2, 0, 0},         {"STATE a;", 3, 0, 0},
      {"Interval a;", 4, 1, 1},   {"i=3 a;", 4, 3, 1},      {"Interval = 5\" a;", 4, 5, 3}, {"Interval = 10' a;", 4, 10, 2},
      {"Multi a;", 5, 0, 0},      {"Event a;", 1, 0, 0},
  };
  for (const Case& c : cases) {
    auto run = Compile(c.Text);
    EXPECT_TRUE(run->Messages().empty()) << c.Text;
    EXPECT_EQ(run->State.DataType, c.DataType) << c.Text;
    EXPECT_EQ(run->State.IntervalDuration, c.Duration) << c.Text;
    EXPECT_EQ(run->State.IntervalUnitMark, c.Mark) << c.Text;
  }
}

TEST(Declarations, OneCharacterCodesSplitOnlyForUntimedData) {
  auto event = Compile("Event ab = xy c;", OneChar);
  EXPECT_EQ(event->State.CodeNames, (dynString{"", "a", "b", "c"}));
  EXPECT_EQ(event->State.DualNames, (dynString{"", "x", "y", ""}));
  auto timed = Compile("Timed ab = xy c;", OneChar);
  EXPECT_EQ(timed->State.CodeNames, (dynString{"", "ab", "c"}));
  EXPECT_EQ(timed->State.DualNames, (dynString{"", "xy", ""}));
}

TEST(Declarations, TimeUnitLabelIsTheFirstLabel) {
  EXPECT_EQ(Compile("Timed <Frames\tX> a;", CaseFolded)->State.TimeUnitLabel, "frames x");
  EXPECT_EQ(Compile("Timed <Frames> a;")->State.TimeUnitLabel, "Frames");
}

TEST(Declarations, CommentsAreSkipped) {
  struct Case {
    std::string Text;
    dynString Codes;
    CompileOptions Options = {};
  };
  CompileOptions braces;
  braces.SingLineComX = 12;  // "|"
  braces.MultLineComX = 11;  // "{"
  const Case cases[] = {
      {"Event a % note % b;", {"", "a", "b"}},
      {"Event a % note\nb;", {"", "a", "b"}},
      {"Event a ! two\nline ! b;", {"", "a", "b"}},
      {"Event a !x\n\nx! B;", {"", "a", "b"}, CaseFolded},
      {"Event a !x\n\nx! B;", {"", "a", "B"}},
      {"Event a | note\n{ one\ntwo { b % c;", {"", "a", "b", "%", "c"}, braces},
  };
  for (const Case& c : cases) {
    auto run = Compile(c.Text, c.Options);
    EXPECT_TRUE(run->Messages().empty()) << c.Text;
    EXPECT_EQ(run->State.CodeNames, c.Codes) << c.Text;
  }
}

}  // namespace
}  // namespace vork::testing
