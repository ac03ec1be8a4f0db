#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/compile_fixture.h"

namespace vork::testing {
namespace {

// A token the data part's grammar does not allow where it stands is
// reported once, at the token before it, with the message of the state the
// parser was in; the parser then skips to the next safe token without
// further messages. The offending token is used up by the message: a
// segment whose only code was that token has no code entry.
struct SyntaxCase {
  const char* Name;
  std::string Text;
  std::vector<Reported> Expected;
};

class SessionSyntax : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(SessionSyntax, ReportsTheStateMessageAtTheTokenBefore) {
  const SyntaxCase& c = GetParam();
  auto run = Compile(c.Text, {}, false);
  EXPECT_EQ(run->Messages(), c.Expected) << c.Text;
}

// The data line starts after the declaration line and its line break.
INSTANTIATE_TEST_SUITE_P(
    Compile, SessionSyntax,
    ::testing::Values(
        SyntaxCase{"EventCodeForStartTime", "Event a;\n, a/", {{75, Error, 10}, {39, Warning, 10}}},
        SyntaxCase{"IntervalFirstTokenAtTextStart", "Interval a;\n+ a/", {{73, Error, 0}}},
        SyntaxCase{"IntervalCodeForReplication", "Interval a b;\na * b , /", {{87, Error, 17}}},
        SyntaxCase{"MultiSecondPlus", "Multi a b;\na + + b ./", {{80, Error, 14}}},
        SyntaxCase{"MultiCodeAfterStop", "Multi a;\n,1 ,2 a/", {{84, Error, 14}, {39, Warning, 10}}},
        SyntaxCase{"StateTwoCommas", "State a b;\na , , 3 b,5 ,8/", {{95, Error, 14}}},
        SyntaxCase{"TimedCommaAfterComboPlus", "Timed a b;\na,1 b + , 2 ,5/", {{94, Error, 18}}},
        SyntaxCase{"TimedCodeAfterComma", "Timed a b;\na , b,2 ,5/", {{96, Error, 14}, {39, Warning, 12}}},
        SyntaxCase{"LevelListCommaFirst", "Event a * g(x y);\na ( , x)/", {{101, Error, 21}}},
        SyntaxCase{"LevelListNotClosed", "Event a * g(x y);\na (x /", {{102, Error, 22}}}),
    [](const ::testing::TestParamInfo<SyntaxCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace vork::testing
