#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_sds.h"
#include "compiler/compiler_messages.h"
#include "tests/support/scripted_dialogue.h"

namespace vork {
namespace {

TEST(CompilerMessages, KeepTheirTextsAndKinds) {
  EXPECT_EQ(CompilerMessageLine(1), "No terminating character found for multiline comment.");
  EXPECT_EQ(CompilerMessageLine(9), "Interval duration ,ust be integer.");
  EXPECT_EQ(CompilerMessageLine(49), "Duplicate session labels found.  OK? (warning)");
  EXPECT_EQ(CompilerMessageLine(58), "codes or $setname  expected after opening (");
  EXPECT_EQ(CompilerMessageLine(96), "time (or context \u00b1) expected after comma");
  EXPECT_EQ(CompilerMessageLine(102), "another factor level or closing right parentheis expected");
  EXPECT_EQ(CompilerMessageLine(111),
            "Add a previous positive context code for this negative context code.");
  EXPECT_EQ(CompilerMessages[4].Kind, MessageKind::Fatal);
  EXPECT_EQ(CompilerMessages[8].Kind, MessageKind::Fatal);
  EXPECT_EQ(CompilerMessages[110].Kind, MessageKind::Warning);
  EXPECT_EQ(CompilerMessages[108].Kind, MessageKind::Error);
}

}  // namespace
}  // namespace vork
