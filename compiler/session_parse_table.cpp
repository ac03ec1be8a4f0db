#include "compiler/session_parse_table.h"

namespace vork {

namespace {
constexpr int E = ActionSyntaxError;
constexpr int S = ActionSkipToken;
}  // namespace

// clang-format off
const std::array<std::array<int, SessionColumnCount + 1>, SessionStateCount + 1> DataTrans{{
//       code time level  ","  "("  ")"  ";"  "/" unit  "="  "+"  "-"  "*"  number
  {0,    0,   0,   0,    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0},
  {0,   16,   E,   E,    6,  46,   E,  50,  51,   E,   E,   E,   E,   E,   E},  //  1
  {0,   30,   E,   E,    9,  46,   E,  50,  51,  45,   E,   E,   E,   E,   E},  //  2
  {0,   29,   E,   E,    8,  46,   E,  50,  51,  44,   E,   E,   E,   E,   E},  //  3
  {0,   17,   E,   E,    E,  46,   E,  50,  51,  27,   E,   E,   E,  19,   E},  //  4
  {0,   18,   E,   E,    7,  46,   E,  50,  51,  28,   E,   E,   E,  20,   E},  //  5
  {0,    E,  10,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  //  6
  {0,    E,  11,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  //  7
  {0,    E,  12,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  //  8
  {0,    E,  13,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  //  9
  {0,   16,   E,   E,   14,  46,   E,  50,  51,   E,   E,   E,   E,   E,   E},  // 10
  {0,   18,   E,   E,   14,  46,   E,  50,  51,  28,   E,   E,   E,  20,   E},  // 11
  {0,   29,   E,   E,   14,  46,   E,  50,  51,  44,   E,   E,   E,   E,   E},  // 12
  {0,   30,   E,   E,   14,  46,   E,  50,  51,  45,   E,   E,   E,   E,   E},  // 13
  {0,    E,  15,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  // 14
  {0,    E,   E,   E,    E,  46,   E,  50,  51,   E,   E,   E,   E,   E,   E},  // 15
  {0,   17,   E,   E,    E,  46,   E,  50,  51,  27,   E,  23,  25,  19,   E},  // 16
  {0,   18,   E,   E,   14,  46,   E,  50,  51,  28,   E,  24,  26,  20,   E},  // 17
  {0,    E,   E,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,  21},  // 18
  {0,    E,   E,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,  22},  // 19
  {0,    E,   E,   E,    E,  46,   E,  50,  51,  27,   E,   E,   E,   E,   E},  // 20
  {0,    E,   E,   E,   14,  46,   E,  50,  51,  28,   E,   E,   E,   E,   E},  // 21
  {0,    E,   E,   E,   33,   E,   E,   E,   E,   E,  34,  31,   E,   E,   E},  // 22
  {0,    E,   E,   E,   36,   E,   E,   E,   E,   E,   E,  32,   E,   E,   E},  // 23
  {0,   29,   E,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  // 24
  {0,   30,   E,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  // 25
  {0,    E,  35,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  // 26
  {0,    E,  41,   E,    E,   E,   E,   E,   E,   E,   E,  37,  38,   E,   E},  // 27
  {0,    E,  39,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  // 28
  {0,    E,  40,   E,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  // 29
  {0,   30,   E,   E,    9,  46,   E,  50,  51,  45,   E,   E,  42,   E,   E},  // 30
  {0,   30,  43,   E,    9,  46,   E,  50,  51,  45,   E,   E,   E,   E,   E},  // 31
  {0,    E,   E,  47,    E,   E,   E,   E,   E,   E,   E,   E,   E,   E,   E},  // 32
  {0,    E,   E,  47,   48,   E,  49,   E,   E,   E,   E,   E,   E,   E,   E},  // 33
  {0,   16,   S,   S,    S,  46,   S,  50,  51,   S,   S,   S,   S,   S,   S},  // 34
  {0,   30,   S,   S,    S,  46,   S,  50,  51,  45,   S,   S,   S,   S,   S},  // 35
  {0,   29,   S,   S,    S,  46,   S,  50,  51,  44,   S,   S,   S,   S,   S},  // 36
  {0,   17,   S,   S,    S,  46,   S,  50,  51,  27,   S,   S,   S,  19,   S},  // 37
  {0,   18,   S,   S,    S,  46,   S,  50,  51,  28,   S,   S,   S,  20,   S},  // 38
}};
// clang-format on

// Actions 49, 52 and 53 set the next state themselves; their entries here
// are never used.
const std::array<int, SessionActionCount + 1> StateMap2{
    0,
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  //  1 to 10
    11, 12, 13, 14, 15, 10, 16, 17, 18, 19,  // 11 to 20
    20, 21, 4,  11, 4,  11, 4,  11, 22, 23,  // 21 to 30
    24, 25, 26, 26, 12, 27, 28, 29, 13, 13,  // 31 to 40
    30, 31, 13, 24, 25, 32, 33, 33, 1,  1,   // 41 to 50
    1,  1,  1,                               // 51 to 53
};

const std::array<int, 6> ErrRecovery{0, 34, 35, 36, 37, 38};

}  // namespace vork
