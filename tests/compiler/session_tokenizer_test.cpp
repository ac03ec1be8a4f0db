#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// Each segment's tokens as "kind:text" (a declared code has kind minus its
// index; 2 time, 3 level, 4 ",", 5 "(", 6 ")", 7 ";", 8 "/", 9 end of a
// unit, 10 "=", 11 "+", 12 "-", 13 "*", 14 number), and its start-stop.
struct TokenCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Segments;
  std::vector<std::string> Spans = {};
  CompileOptions Options = {};
};

class SegmentTokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(SegmentTokens, GetTheirDataPartKinds) {
  const TokenCase& c = GetParam();
  auto run = Compile(c.Text, c.Options);
  EXPECT_EQ(run->Segments, c.Segments) << c.Text;
  if (!c.Spans.empty()) {
    EXPECT_EQ(run->Spans, c.Spans) << c.Text;
  }
}

const CompileOptions OneChar = With(&CompileOptions::OneCharCodes);

INSTANTIATE_TEST_SUITE_P(
    Compile, SegmentTokens,
    ::testing::Values(
        TokenCase{"EventCommaMakesTimes", "Event a b;\na b , 12 ;\n,1 a b ,5 /",
                  {"-1:a -2:b 4:, 2:12 7:;", "4:, 2:1 -1:a -2:b 4:, 2:5 8:/"}, {"1-0", "1-0"}},
        TokenCase{"EventNumbersAreCodes", "Event 12 a;\n12 a 12 /", {"-1:12 -2:a -1:12 8:/"}},
        TokenCase{"EventOneCharacterCodes", "Event a b 1 2;\nab1 ,12 /\n, 12 /",
                  {"-1:a -2:b -3:1 4:, 2:12 8:/", "4:, 2:1 -4:2 8:/"}, {}, OneChar},
        TokenCase{"MultiPeriodsEndEventsOutsideTimes", "Multi a b 5;\n,1.5 a.b . a ,3.5 ;\n, 12.5 a /",
                  {"4:, 2:1.5 -1:a 9:. -2:b 9:. -1:a 4:, 2:3.5 7:;", "4:, 2:12 9:. -3:5 -1:a 8:/"}},
        TokenCase{"MultiReplication", "Multi a;\na *3 . a /", {"-1:a 13:* 14:3 9:. -1:a 8:/"}},
        TokenCase{"IntervalCommasEndIntervals", "Interval a b;\na , b *3 , ;\na+ , a- ) , /",
                  {"-1:a 9:, -2:b 13:* 14:3 9:, 7:;", "-1:a 11:+ 9:, -1:a 12:- 6:) 9:, 8:/"}, {"1-0", "1-0"}},
        TokenCase{"IntervalNumbersAreCodesButCounts", "Interval 1 2;\n1 , 2 *2 /", {"-1:1 9:, -2:2 13:* 14:2 8:/"}},
        TokenCase{"StateTimesAndDurations", "State a b;\na,0 b,5 a,8 ,10 ;\na=3 b=2 & a=4 /",
                  {"-1:a 4:, 2:0 -2:b 4:, 2:5 -1:a 4:, 2:8 4:, 2:10 7:;",
                   "-1:a 10:= 2:3 -2:b 10:= 2:2 9:& -1:a 10:= 2:4 8:/"}, {"0-10", "1-6"}},
        TokenCase{"TimedStreams", "Timed a b c d;\na,10 b,12-15 c,20- &d,11 ,30 ;",
                  {"-1:a 4:, 2:10 -2:b 4:, 2:12 12:- 2:15 -3:c 4:, 2:20 12:- 9:& -4:d 4:, 2:11 4:, "
                   "2:30 7:;"}, {"10-30"}},
        TokenCase{"TimedFinalOffsetBeforeStop", "Timed a b;\na,10-15 ,20 ;",
                  {"-1:a 4:, 2:10 12:- 2:15 4:, 2:20 7:;"}, {"10-20"}},
        TokenCase{"TimedFinalOffsetBeforeLevels", "Timed a b;\na,10-15 ,20 (x) /",
                  {"-1:a 4:, 2:10 12:- 2:15 4:, 2:20 5:( 3:x 6:) 8:/"}, {"10-20"}},
        TokenCase{"TimedNumbersAsCodes", "Timed 1 2;\n1,10 2,12-15 ;",
                  {"-1:1 4:, 2:10 -2:2 4:, 2:12 12:- 2:15 7:;"}, {"10-15"}},
        TokenCase{"TimedNumberBeforePlusIsACode", "Timed a 1 2;\na,5 1+2,10 ;",
                  {"-1:a 4:, 2:5 -2:1 11:+ -3:2 4:, 2:10 7:;"}, {"5-11"}},
        TokenCase{"TimedNumberNoRuleTouches", "Timed a;\na,10 5 ;", {"-1:a 4:, 2:10 14:5 7:;"}},
        TokenCase{"TimedContextTimes", "Timed a;\na,+10 a,-20 ;",
                  {"-1:a 4:, 11:+ 2:10 -1:a 4:, 12:- 2:20 7:;"}, {"10-20"}},
        TokenCase{"TimedInclusiveOffset", "Timed a;\na,10-12) ;", {"-1:a 4:, 2:10 12:- 2:12) 7:;"}, {"10-13"}},
        TokenCase{"TimedIgnoresOneCharacterCodes", "Timed ab;\nab,1 /", {"-1:ab 4:, 2:1 8:/"}, {"1-2"}, OneChar},
        TokenCase{"Code150IsMinus", "Timed a;\na,10\u0096 ;", {"-1:a 4:, 2:10 12:- 7:;"}, {"10-11"}},
        TokenCase{"Latin1Code150IsMinus", "Timed a;\na,10\x96 ;", {"-1:a 4:, 2:10 12:- 7:;"}, {"10-11"}},
        TokenCase{"Utf8CodeNames", "Event caf\xC3\xA9 b;\ncaf\xC3\xA9 b /", {"-1:caf\xC3\xA9 -2:b 8:/"}},
        TokenCase{"Latin1CodeNamesReadAsUtf8", "Event caf\xE9 b;\ncaf\xE9 b /", {"-1:caf\xC3\xA9 -2:b 8:/"}},
        TokenCase{"DualNamesFindTheirCode", "Event a = x;\nx a /", {"-1:x -1:a 8:/"}},
        TokenCase{"LevelNames", "Event a;\n(m f) a /", {"5:( 3:m 3:f 6:) -1:a 8:/"}},
        TokenCase{"CommentsAndLineBreaks", "Event a b;\na % note\nb ! multi\nline ! a\nb /",
                  {"-1:a -2:b -1:a -2:b 8:/"}},
        TokenCase{"LineBreakEndsACode", "Event ab;\nab\nab /", {"-1:ab -1:ab 8:/"}},
        TokenCase{"LineAfterCommentIsLowered", "Event a b;\n! x\nx! B /", {"-2:b 8:/"}, {}, Without(&CompileOptions::CaseSensitive)},
        TokenCase{"CaseSensitiveCodes", "Event a A;\nA a /", {"-2:A -1:a 8:/"}},
        TokenCase{"LabelsMakeNoTokens", "Event a;\n<one> a /", {"-1:a 8:/"}}),
    [](const ::testing::TestParamInfo<TokenCase>& info) { return info.param.Name; });

// Times in every form: the text each is rewritten to, and the segment's
// start and stop in time units worked out from them.
INSTANTIATE_TEST_SUITE_P(
    TimeForms, SegmentTokens,
    ::testing::Values(
        TokenCase{"LeadingZerosDropped", "Timed a b;\na,05-010 b,7) ,020 ;",
                  {"-1:a 4:, 2:5 12:- 2:10 -2:b 4:, 2:7) 4:, 2:20 7:;"}, {"5-20"}},
        TokenCase{"LeadingZeroBeforeDecimals", "Timed a;\na,00.50-01.00 ;",
                  {"-1:a 4:, 2:0.50 12:- 2:1.00 7:;"}, {"50-100"}},
        TokenCase{"MinutesAndTenths", "Timed a;\na,1:05.5-1:10.0 ,2:00.0 ;",
                  {"-1:a 4:, 2:65.5 12:- 2:70.0 4:, 2:120.0 7:;"}, {"655-1200"}},
        TokenCase{"Hours", "Timed a;\na,1:00:00-1:00:01 ;", {"-1:a 4:, 2:3600 12:- 2:3601 7:;"}, {"3600-3601"}},
        TokenCase{"MinutesWrittenBeforeAPeriod", "Timed a;\na,1.30.5 ;", {"-1:a 4:, 2:130.5 7:;"}, {"1305-1306"}},
        TokenCase{"LargestTimeInThousandths", "Timed a;\na,2147483.646-2147483.647 ;",
                  {"-1:a 4:, 2:2147483.646 12:- 2:2147483.647 7:;"}, {"2147483646-2147483647"}},
        TokenCase{"InclusiveTimeAtTheLargest", "Timed a;\na,2147483646-2147483646) ;",
                  {"-1:a 4:, 2:2147483646 12:- 2:2147483646) 7:;"}, {"2147483646-2147483647"}},
        TokenCase{"SegmentAfterATimeTooLarge", "Timed a;\na,2147483647) ;\na,5-6 ,7 /",
                  {"-1:a 4:, 2:2147483647) 7:;", "-1:a 4:, 2:5 12:- 2:6 4:, 2:7 8:/"}, {"1-0", "5-7"}},
        TokenCase{"StateDurationsWithLeadingZeros", "State a b;\na=03 b=2 ;",
                  {"-1:a 10:= 2:3 -2:b 10:= 2:2 7:;"}, {"1-6"}}),
    [](const ::testing::TestParamInfo<TokenCase>& info) { return info.param.Name; });

// The characters that are tokens, time separators or invalid differ by
// data type and inside a level list; comment characters replace any class.
struct ClassCase {
  const char* Name;
  std::string Text;
  std::vector<Reported> Expected;
  std::string Tokens;
  CompileOptions Options = {};
};

class CharacterClasses : public ::testing::TestWithParam<ClassCase> {};

TEST_P(CharacterClasses, GiveTokensOrMessages) {
  const ClassCase& c = GetParam();
  auto run = Compile(c.Text, c.Options);
  EXPECT_EQ(run->Messages(), c.Expected) << c.Text;
  EXPECT_EQ(run->Segments, (std::vector<std::string>{c.Tokens})) << c.Text;
}

CompileOptions Comments(int singleLine, int multiLine) {
  CompileOptions o;
  o.SingLineComX = singleLine;
  o.MultLineComX = multiLine;
  return o;
}

INSTANTIATE_TEST_SUITE_P(
    Compile, CharacterClasses,
    ::testing::Values(
        ClassCase{"Event", "Event a;\na \" $ & ' * + - = . : , /",
                  {{2, Error, 12}, {2, Error, 14}, {2, Error, 16}, {2, Error, 18}, {2, Error, 20},
                   {2, Error, 22}, {2, Error, 24}, {2, Error, 26}, {13, Error, 28}, {13, Error, 30}}, "-1:a 4:, 8:/"},
        ClassCase{"Timed", "Timed a;\na \" $ & ' * + - = . : , /",
                  {{2, Error, 12}, {2, Error, 14}, {2, Error, 18}, {2, Error, 20}, {2, Error, 26},
                   {13, Error, 28}, {13, Error, 30}}, "-1:a 9:& 11:+ 12:- 4:, 8:/"},
        ClassCase{"State", "State a;\na \" $ & ' * + - = . : , /",
                  {{2, Error, 12}, {2, Error, 14}, {2, Error, 18}, {2, Error, 20}, {2, Error, 24},
                   {13, Error, 28}, {13, Error, 30}}, "-1:a 9:& 11:+ 10:= 4:, 8:/"},
        ClassCase{"Interval", "Interval a;\na \" $ & ' * + - = . : , /",
                  {{2, Error, 15}, {2, Error, 17}, {2, Error, 19}, {2, Error, 21}, {2, Error, 29},
                   {2, Error, 31}, {2, Error, 33}}, "-1:a 13:* 11:+ 12:- 9:, 8:/"},
        ClassCase{"Multi", "Multi a;\na \" $ & ' * + - = . : , /",
                  {{2, Error, 12}, {2, Error, 14}, {2, Error, 16}, {2, Error, 18}, {2, Error, 26}, {13, Error, 30}},
                  "-1:a 13:* 11:+ 12:- 9:. 4:, 8:/"},
        ClassCase{"LevelList", "Event a;\n(x \" & : . , ; < ( y1) a /",
                  {{2, Error, 13}, {2, Error, 15}, {2, Error, 17}, {13, Error, 19}, {2, Error, 23},
                   {2, Error, 25}, {2, Error, 27}}, "5:( 3:x 4:, 3:y1 6:) -1:a 8:/"},
        ClassCase{"HashAndTildeAsComments", "Event a b;\na # note # b ~ two\nlines ~ a /", {},
                  "-1:a -2:b -1:a 8:/", Comments(2, 14)},
        ClassCase{"BracketAndBarAsComments", "Event a b;\na [ note\nb | two\nlines | a /", {},
                  "-1:a -2:b -1:a 8:/", Comments(5, 12)},
        ClassCase{"NoCommentCharacters", "Event a % !;\n% a ! /", {}, "-2:% -1:a -3:! 8:/", Comments(0, 0)}),
    [](const ::testing::TestParamInfo<ClassCase>& info) { return info.param.Name; });

TEST(SessionTokenizer, CodesComeFromTheDataPartWhenNoneAreDeclared) {
  auto run = Compile("Event;\nb a /\nc a /");
  EXPECT_TRUE(run->Messages().empty());
  EXPECT_EQ(run->State.CodeNames, (dynString{"", "a", "b", "c"}));
  EXPECT_EQ(run->Segments, (std::vector<std::string>{"-2:b -1:a 8:/", "-3:c -1:a 8:/"}));
}

// Collected codes are sorted the way the system's language sorts names,
// here one that puts a letter before its capital and both before the next
// letter; names the collation holds equal still stay apart.
TEST(SessionTokenizer, CollectedCodesFollowTheSystemCollation) {
  CompileOptions options;
  options.CaseSensitive = true;
  options.CompareNames = [](const std::string& a, const std::string& b) {
    std::string la = a;
    std::string lb = b;
    for (char& c : la) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : lb) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (la != lb) return la < lb ? -1 : 1;
    if (la.empty() || a[0] == b[0]) return 0;
    return a[0] > b[0] ? -1 : 1;
  };
  auto run = Compile("Event;\nb B a A _x /\nAb aB ab /", options);
  EXPECT_TRUE(run->Messages().empty());
  EXPECT_EQ(run->State.CodeNames, (dynString{"", "_x", "a", "A", "aB", "ab", "Ab", "b", "B"}));
}

}  // namespace
}  // namespace vork::testing
