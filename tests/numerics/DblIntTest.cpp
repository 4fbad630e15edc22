#include <gtest/gtest.h>

#include <cmath>

#include "support/WorksheetFixture.h"
#include "language/ProgramState.h"
#include "language/CommandRequests.h"
#include "numerics/DblInt.h"

namespace ms::testing {
namespace {

using DblIntTest = WorksheetTest;

TEST_F(DblIntTest, IntegratesInEitherOrder) {
  struct Case {
    std::initializer_list<const char16_t*> lines;
    const char16_t* name;
    double expected;
  };
  const Case cases[] = {
      // x*y over the unit square.
      {{u"F{x,y}=x*y", u"C{x}=0", u"D{x}=1", u"c=dblInt[F,C,D,{0,1,10,10,y}]"}, u"c_", 0.25},
      {{u"F{x,y}=x*y", u"C{x}=0", u"D{x}=1", u"c=dblInt[F,C,D,{0,1,10,10,x}]"}, u"c_", 0.25},
      // x*y over the triangle under y = x: 1/8, counts of 3 used as 4.
      {{u"F{x,y}=x*y", u"C{x}=0", u"D{x}=x", u"ab=dblInt[F,C,D,{0,1,3,3,y}]"}, u"ab", 0.125},
      {{u"F{x,y}=x*y", u"C{y}=y", u"D{y}=1", u"ab=dblint[F,C,D,{0,1,3,3,x}]"}, u"ab", 0.125},
      // Reversed outer limits negate the integral.
      {{u"F{x,y}=x+y", u"C{x}=0", u"D{x}=2", u"c=dblInt[F,C,D,{1,0,4,4,y}]"}, u"c_", -3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(*(c.lines.end() - 1)));
    ResetProgramState();
    ASSERT_EQ(Run(c.lines), 0);
    EXPECT_NEAR(ConstValue(c.name), c.expected, 1e-9 + 1e-9 * std::fabs(c.expected));
    // The statement is filed and counted; it sets no request flag of its own.
    EXPECT_EQ(Requests.IntegStmtCount, 1);
    EXPECT_EQ(Requests.DblIntStmts[0], *(c.lines.end() - 1));
  }
}

TEST_F(DblIntTest, ResultIsUsableByLaterStatements) {
  ASSERT_EQ(Run({u"F{x,y}=1", u"C{x}=0", u"D{x}=x", u"a=dblInt[F,C,D,{0,2,2,2,y}]", u"b=a*3"}),
            0);
  EXPECT_NEAR(ConstValue(u"a_"), 2.0, 1e-12);
  EXPECT_NEAR(ConstValue(u"b_"), 6.0, 1e-9);
}

TEST_F(DblIntTest, PanelCountsAreMadeEven) {
  const double cases[][2] = {{3, 4}, {4, 4}, {5, 6}, {9.95, 10}, {0, 0}, {-3, -2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(EvenPanelCount(c[0]), c[1]);
  }
}

TEST_F(DblIntTest, MalformedStatementsGiveTheirMessages) {
  struct Case {
    const char16_t* statement;
    int msgNo;
  };
  const Case cases[] = {
      {u"c=dblInt[f,C,D,{0,1,4,4,y}]", 6010},
      {u"c=dblInt[F{x},C,D,{0,1,4,4,y}]", 6020},
      {u"c=dblInt[F,C,D,(0,1,4,4,y}]", 6030},
      {u"c=dblInt[F,C,D,{0,1,4,4,Y}]", 6052},
      {u"c=dblInt[F,C,D,{0,1,4,4,y]", 6080},
      {u"c=dblInt[F,C,D,{0,1,4,4,y}", 6080},
      {u"c=dblInt[G,C,D,{0,1,4,4,y}]", 6050},  // G not defined
      {u"c=dblInt[C,C,D,{0,1,4,4,y}]", 6060},  // one-parameter integrand
      {u"c=dblInt[F,F,D,{0,1,4,4,y}]", 6060},  // two-parameter limit
      {u"c=dblInt[F,C,H,{0,1,4,4,y}]", 6060},  // H not defined
      {u"c=dblInt[F,C,D,{1,1,4,4,y}]", 6090},
      {u"c=dblInt[F,C,D,{0,1,0,4,y}]", 6092},
      {u"c=dblInt[F,C,D,{0,1,4,-5,y}]", 6092},
      {u"c=dblInt[F,C,D,{0,q,4,4,y}]", 339},
      {u"c=dblInt[F,C,D,{0,,4,4,y}]", 6097},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    ResetProgramState();
    EXPECT_EQ(Run({u"F{x,y}=x*y", u"C{x}=0", u"D{x}=1", c.statement}), c.msgNo);
  }
}

TEST_F(DblIntTest, KeywordAndBracketAreChecked) {
  // The worksheet routes only "dblInt[" and "dblint[" here; the command still checks its text.
  const std::pair<const char16_t*, int> cases[] = {{u"c=DBLINT[F,C,D,{0,1,4,4,y}]", 6000},
                                                   {u"cd=dblInt(F,C,D,{0,1,4,4,y}]", 6005}};
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(rt::ToUtf8(text));
    rt::Text statement = text;
    int16_t slot = 1, msgNo = 0;
    ProcessDblInt(statement, slot, msgNo);
    EXPECT_EQ(msgNo, expected);
  }
}

TEST_F(DblIntTest, EscStopsTheRunAndStoresNothing) {
  screen_.onDoEvents = [] { RunFlags.AbortRun = -1; };
  const int16_t msgNo =
      Run({u"F{x,y}=x*y", u"C{x}=0", u"D{x}=1", u"c=dblInt[F,C,D,{0,1,100,100,y}]"});
  EXPECT_EQ(msgNo, 0);
  EXPECT_TRUE(aborted_);
  const ConstRec* c = FindConst(u"c_");
  ASSERT_NE(c, nullptr);
  // The constant keeps the provisional text it was given when the statement was filed.
  EXPECT_EQ(c->Expr, u"");
  EXPECT_EQ(RunFlags.AbortRun, 0);  // Execute's abort exit clears the flag
}

TEST_F(DblIntTest, TheThirteenthIntegralIsRefused) {
  std::vector<rt::Text> lines = {u"F{x,y}=x*y", u"C{x}=0", u"D{x}=1"};
  for (int k = 0; k < 13; ++k) {
    const char16_t id[3] = {static_cast<char16_t>(u'a' + k), u'a', 0};
    lines.push_back(rt::Text(id) + u"=dblInt[F,C,D,{0,1,2,2,y}]");
  }
  rt::Text text;
  for (const rt::Text& l : lines) text += l + u"\r\n";
  EXPECT_EQ(RunText(text), kMsgIntegralListFull);
  EXPECT_EQ(Requests.IntegStmtCount, 12);
  ASSERT_FALSE(screen_.boxes.empty());
  EXPECT_EQ(screen_.boxes.back().title, u"Syntax Error");
}

}  // namespace
}  // namespace ms::testing
