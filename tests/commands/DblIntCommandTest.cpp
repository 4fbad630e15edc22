#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "commands/DblIntCommand.h"
#include "commands/ProgramState.h"
#include "language/CommandRequests.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

using DblIntCommandTest = WorksheetTest;

TEST_F(DblIntCommandTest, IntegratesInEitherOrderAndGivesItsMessages) {
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

// 1/(1 - x y) over the unit square has its pole at the corner (1, 1), where the guarded division
// gives 1E+20: the run stops with the pole box and 5085, the constant not computed. So does a
// limit function with a pole. Away from the pole the integral is the dilogarithm: over
// [0, 1/2] x [0, 1] it is Li2(1/2) = pi^2/12 - ln^2(2)/2.
TEST_F(DblIntCommandTest, APoleAtANodeStopsTheIntegral) {
  const double pi = std::acos(-1.0), ln2 = std::log(2.0);
  struct Case {
    const char16_t* upper;  // D
    const char16_t* statement;
    int msgNo;
    double expected;
  };
  const Case cases[] = {
      {u"D{x}=1", u"v=dblInt[F,C,D,{0,1,10,10,y}]", 5085, 0},
      {u"D{y}=1", u"v=dblInt[F,C,D,{0,1,10,10,x}]", 5085, 0},
      {u"D{x}=1/x", u"v=dblInt[F,C,D,{0,0.5,10,10,y}]", 5085, 0},
      {u"D{x}=1", u"v=dblInt[F,C,D,{0,0.5,10,10,y}]", 0, pi * pi / 12 - ln2 * ln2 / 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    ResetProgramState();
    screen_.boxes.clear();
    const rt::Text text =
        u"F{x,y}=1/(1-x*y)\r\nC{x}=0\r\n" + rt::Text(c.upper) + u"\r\n" + c.statement + u"\r\n";
    EXPECT_EQ(RunText(text), c.msgNo);
    const ConstRec* v = FindConst(u"v_");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->NotComputed, c.msgNo != 0);
    if (c.msgNo == 0) {
      EXPECT_NEAR(ConstValue(u"v_"), c.expected, 1e-5);
      EXPECT_TRUE(screen_.boxes.empty());
    } else {
      // The pole box, then the statement's error box.
      const std::vector<rt::Text> boxes = BoxTexts();
      ASSERT_EQ(boxes.size(), 2u);
      EXPECT_EQ(boxes[0],
                u"A division by zero encounted given the integral range.\r\nKey Return button to "
                u"return to the worksheet.");
    }
  }
}

// A value with no real meaning inside the region (ASin[ beyond 1, a negative under Sqrt[, Ln[ of
// a negative) refuses the integral with its message; on the region's edge, where rounding puts
// y^2 just past 1 - x^2, it counts as 0: the hemisphere's volume is 2 pi / 3 (Simpson's error at
// 40 panels stays below 5E-3), sqrt(x - y) under y = x gives 4/15.
TEST_F(DblIntCommandTest, ValuesWithoutARealValueInsideTheRegionAreRefused) {
  const double pi = std::acos(-1.0);
  struct Case {
    const char16_t *f, *c, *d, *range;
    int msgNo;
    double expected, tolerance;
  };
  const Case cases[] = {
      {u"F{x,y}=ASin[x*y]", u"C{x}=0", u"D{x}=2", u"{0,2,10,10,y}", 612, 0, 0},
      {u"F{x,y}=Sqrt[x-y]", u"C{x}=0", u"D{x}=2", u"{0,1,10,10,y}", 610, 0, 0},
      {u"F{x,y}=Ln[x-y]", u"C{x}=0", u"D{x}=2", u"{0,1,10,10,y}", 993, 0, 0},
      {u"F{x,y}=1", u"C{x}=0", u"D{x}=Sqrt[x-0.5]", u"{0,1,10,10,y}", 610, 0, 0},
      {u"F{x,y}=Sqrt[1-x^2-y^2]", u"C{x}=-Sqrt[1-x^2]", u"D{x}=Sqrt[1-x^2]", u"{-1,1,40,40,y}", 0,
       2 * pi / 3, 5e-3},
      {u"F{x,y}=Sqrt[x-y]", u"C{x}=0", u"D{x}=x", u"{0,1,10,10,y}", 0, 4.0 / 15, 2e-3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.f));
    ResetProgramState();
    const rt::Text text =
        rt::Text(c.f) + u"\r\n" + c.c + u"\r\n" + c.d + u"\r\nv=dblInt[F,C,D," + c.range + u"]\r\n";
    EXPECT_EQ(RunText(text), c.msgNo);
    if (c.msgNo == 0) {
      EXPECT_NEAR(ConstValue(u"v_"), c.expected, c.tolerance);
    }
  }
}

TEST_F(DblIntCommandTest, TheThirteenthIntegralIsRefused) {
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
