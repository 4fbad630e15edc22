// The Execute sequence as the core runs it: where it stops, the message and the statement it
// names, the Graph request and the evaluated values.
#include "commands/WorksheetRun.h"
#include "language/Tokens.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

class ExecuteTest : public WorksheetTest {};

TEST_F(ExecuteTest, StopsAtTheFirstFailingStageWithItsStatement) {
  struct Case {
    const char16_t* sheet;
    ExecuteStage stage;
    int16_t msgNo, stmtNo;
    const char16_t* stmtText;
    bool graphReady;
  };
  const Case cases[] = {
      // A double operator while reading: the statement it was found in.
      {u"a = 2\r\nF{x} = x^2 +* a\r\nb = 3\r\n", ExecuteStage::kRead, 435, 2, u"F{x}=x^2+*a",
       false},
      // Ran through; a command waits for Graph. The last line needs no line break.
      {u"E{t,x}=x\r\nIVP[E,{0,1,1}{1,0.001}]", ExecuteStage::kDone, 0, 0, u"", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.msgNo);
    const ExecuteOutcome out = RunExecute(c.sheet, {});
    EXPECT_EQ(out.stage, c.stage);
    EXPECT_EQ(out.msgNo, c.msgNo);
    EXPECT_EQ(out.stmtNo, c.stmtNo);
    EXPECT_EQ(DetokenizeForDisplay(out.stmtText), c.stmtText);
    EXPECT_EQ(out.graphReady, c.graphReady);
    EXPECT_FALSE(out.evaluated);
  }
}

TEST_F(ExecuteTest, ParameterSetEvaluatesTheFunctions) {
  bool readSeen = false;
  const ExecuteOutcome out = RunExecute(
      u"a = 2\r\nbc = a*3\r\nF{x} = x^2 + a\r\nG{x,y} = x*y - bc\r\n<x = 1.5; y = a>\r\n",
      [&] { readSeen = true; });
  EXPECT_TRUE(readSeen);
  EXPECT_EQ(out.stage, ExecuteStage::kDone);
  EXPECT_TRUE(out.evaluated);
  // F(1.5) = 1.5^2 + 2, G(1.5, 2) = 1.5*2 - 6.
  ASSERT_EQ(Tables.FuncTable[1].Name + Tables.FuncTable[2].Name, u"F_G_");
  EXPECT_DOUBLE_EQ(Tables.FuncTable[1].Value, 4.25);
  EXPECT_DOUBLE_EQ(Tables.FuncTable[2].Value, -3);
  ASSERT_EQ(out.undefinedFunctions.size(), static_cast<size_t>(Tables.FuncCount) + 1);
  for (bool undefined : out.undefinedFunctions) EXPECT_FALSE(undefined);
}

}  // namespace
}  // namespace ms::testing
