// Whole worksheets through the language's road (reader, checker, classification, compiler,
// evaluator): the value a statement leaves, or the error box that names it.
#include <gtest/gtest.h>

#include <cmath>

#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "support/WorksheetFixture.h"

namespace ms {
namespace {

using WorksheetAnswers = testing::WorksheetTest;

rt::Text Lines(std::initializer_list<const char16_t*> lines) {
  rt::Text text;
  for (const char16_t* line : lines) text += rt::Text(line) + u"\r\n";
  return text;
}

// A negative argument directly after "{", in a constant and in a function body.
TEST_F(WorksheetAnswers, NegativeArguments) {
  const struct {
    rt::Text sheet;
    double exact;
  } cases[] = {
      {Lines({u"F{x}=x^2", u"r=F{-2}"}), 4},
      {Lines({u"F{x}=x^2", u"G{x}=F{-x}+1", u"r=G{3}"}), 10},
      {Lines({u"H{x,y}=x-y", u"r=H{-1,-2.5}"}), 1.5},
      {Lines({u"F{x}=x^3", u"r=F{-(1+1)}*F{-1}"}), 8},
      {Lines({u"F{x}=Exp[x]", u"G{x}=F{-x^2}", u"r=G{2}"}), std::exp(-4.0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.sheet));
    ASSERT_EQ(0, RunText(c.sheet));
    EXPECT_NEAR(c.exact, ConstValue(u"r_"), 1e-12 * std::max(1.0, std::fabs(c.exact)));
  }
}

// An error found while compiling, and an underscore, name the statement that holds it; a constant
// that takes a vector component without "|" gives 630.
TEST_F(WorksheetAnswers, ErrorBoxesNameTheirStatement) {
  const struct {
    rt::Text sheet;
    int16_t msg;
    const char16_t* shown;  // the box's first line
  } cases[] = {
      {Lines({u"F{x}=x", u"G{x}=F{x,2}"}), 507, u"Statement # 2 : G{x}=F{x,2}"},
      {Lines({u"a=1", u"F{x}=Q{x}+a"}), 502, u"Statement # 2 : F{x}=Q{x}+a"},
      {Lines({u"F{x}=F{x}+1"}), 103, u"Statement # 1 : F{x}=F{x}+1"},
      {Lines({u"F{x}=x", u"G{x}=Diff[F,x,0]"}), 534, u"Statement # 2 : G{x}=Diff[F,x,0]"},
      {Lines({u"a=1", u"b_c = 2:d=3"}), 1, u"Statement # 2 : bc=2"},
      {Lines({u"A<t>=<1,2*t,3>", u"m=A.x2"}), 630, u"Statement # 2 : m=A.x2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.sheet));
    screen_.boxes.clear();
    EXPECT_EQ(c.msg, RunText(c.sheet));
    const std::vector<rt::Text> boxes = BoxTexts();
    ASSERT_EQ(1u, boxes.size());
    const rt::Text& box = boxes[0];
    EXPECT_EQ(rt::ToUtf8(c.shown), rt::ToUtf8(box.substr(0, box.find(u"\r\n"))));
  }
}

// A component taken with "|" is evaluated at the value after it.
TEST_F(WorksheetAnswers, VectorComponentAtAValue) {
  ASSERT_EQ(0, Run({u"A<t>=<1,2*t-1,t^2>", u"m=A.y|2", u"n=A.z|-3"}));
  EXPECT_DOUBLE_EQ(3, ConstValue(u"m_"));
  EXPECT_DOUBLE_EQ(9, ConstValue(u"n_"));
}

// Every Execute starts with empty integral slots; each slot is filled in one list only, and the
// result constants list an empty expression.
TEST_F(WorksheetAnswers, IntegralSlotsStartEmpty) {
  const rt::Text functions = Lines({u"F{x}=x^2", u"G{x,y}=x*y", u"C{x}=0", u"D{x}=x"});
  const rt::Text integ = u"c=Integ[F,{0,1,10,0}]\r\n";
  const rt::Text dblInt = u"ab=dblInt[G,C,D,{0,1,3,3,y}]\r\n";
  ASSERT_EQ(0, RunText(functions + integ + dblInt));
  EXPECT_EQ(u"", FindConst(u"c_")->Expr);
  EXPECT_EQ(u"", FindConst(u"ab")->Expr);
  EXPECT_NEAR(1.0 / 3, ConstValue(u"c_"), 1e-12);
  EXPECT_NEAR(0.125, ConstValue(u"ab"), 1e-12);
  ASSERT_EQ(0, RunText(functions + dblInt + integ));
  EXPECT_EQ(2, Requests.IntegStmtCount);
  EXPECT_EQ(u"", Requests.IntegStmts[0]);
  EXPECT_EQ(u"", Requests.DblIntStmts[1]);
  EXPECT_NE(u"", Requests.DblIntStmts[0]);
  EXPECT_NE(u"", Requests.IntegStmts[1]);
  for (size_t k = 2; k < Requests.IntegStmts.size(); ++k) {
    EXPECT_EQ(u"", Requests.IntegStmts[k]);
    EXPECT_EQ(u"", Requests.DblIntStmts[k]);
  }
}

}  // namespace
}  // namespace ms
