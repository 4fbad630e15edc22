#include <gtest/gtest.h>

#include <cmath>

#include "commands/ProgramState.h"
#include "language/CommandRequests.h"
#include "numerics/DblInt.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

using DblIntTest = WorksheetTest;

TEST_F(DblIntTest, IntegratesInEitherOrderAndGivesItsMessages) {
  struct Case {
    const char16_t* lowerUpper;  // the limit functions
    const char16_t* statement;
    int msgNo;
    double expected;  // x*y over the region (message 0 only)
  };
  const Case cases[] = {
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,C,D,{0,1,10,10,x}]", 0, 0.25},
      // Under y = x: 1/8, counts of 3 used as 4; reversed outer limits negate.
      {u"C{x}=0,D{x}=x", u"c=dblInt[F,C,D,{0,1,3,3,y}]", 0, 0.125},
      {u"C{y}=y,D{y}=1", u"c=dblint[F,C,D,{1,0,3,3,x}]", 0, -0.125},
      {u"C{x}=0,D{x}=1", u"c=dblInt[f,C,D,{0,1,4,4,y}]", 6010, 0},
      {u"C{x}=0,D{x}=1", u"c=dblInt[F{x},C,D,{0,1,4,4,y}]", 6020, 0},
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,C,D,(0,1,4,4,y}]", 6030, 0},
      {u"C{x}=0,D{x}=1", u"c=dblInt[G,C,D,{0,1,4,4,y}]", 6050, 0},  // G not defined
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,C,D,{0,1,4,4,Y}]", 6052, 0},
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,F,D,{0,1,4,4,y}]", 6060, 0},  // two-parameter limit
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,C,D,{0,1,4,4,y}", 6080, 0},
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,C,D,{1,1,4,4,y}]", 6090, 0},
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,C,D,{0,1,4,-5,y}]", 6092, 0},
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,C,D,{0,q,4,4,y}]", 339, 0},
      {u"C{x}=0,D{x}=1", u"c=dblInt[F,C,D,{0,,4,4,y}]", 6097, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    ResetProgramState();
    const rt::Text limits = c.lowerUpper;
    const rt::Text text = u"F{x,y}=x*y\r\n" + limits.substr(0, limits.find(u',')) + u"\r\n" +
                          limits.substr(limits.find(u',') + 1) + u"\r\n" + c.statement +
                          u"\r\nb=c*3\r\n";
    ASSERT_EQ(RunText(text), c.msgNo);
    if (c.msgNo != 0) continue;
    EXPECT_NEAR(ConstValue(u"c_"), c.expected, 1e-9);
    EXPECT_FALSE(FindConst(u"c_")->NotComputed);
    EXPECT_NEAR(ConstValue(u"b_"), 3 * c.expected, 1e-9);  // usable by later statements
  }
  // The worksheet routes only "dblInt[" and "dblint[" here; the command still checks its text.
  const std::pair<const char16_t*, int> direct[] = {{u"c=DBLINT[F,C,D,{0,1,4,4,y}]", 6000},
                                                    {u"cd=dblInt(F,C,D,{0,1,4,4,y}]", 6005}};
  for (const auto& [text, expected] : direct) {
    EXPECT_EQ(ProcessDblInt(text), expected);
  }
}

TEST_F(DblIntTest, TheThirteenthIntegralIsRefused) {
  rt::Text text = u"F{x,y}=x*y\r\nC{x}=0\r\nD{x}=1\r\n";
  for (int k = 0; k < 13; ++k)
    text += rt::Text(1, static_cast<char16_t>(u'a' + k)) + u"a=dblInt[F,C,D,{0,1,2,2,y}]\r\n";
  EXPECT_EQ(RunText(text), kMsgIntegralListFull);
  EXPECT_EQ(Requests.IntegStmtCount, 12);
  ASSERT_FALSE(screen_.boxes.empty());
  EXPECT_EQ(screen_.boxes.back().title, u"Syntax Error");
}

}  // namespace
}  // namespace ms::testing
