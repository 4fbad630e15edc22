#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "language/ClearStorage.h"
#include "language/CompileCode.h"
#include "language/Simplify.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Math.h"
#include "mathematics/MathDerivative.h"
#include "support/WorksheetFixture.h"

namespace ms {
namespace {

rt::Text U(const char* s) {
  return rt::FromUtf8(s);
}

class MathDerivativeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    InitBuiltinNames();
    ResetMathState();
    ClearResultsList();
  }

  int16_t Func(const char* name, std::vector<const char*> parms, const char* expr) {
    int16_t msg = 0;
    const int16_t k = AppendFunction(msg);
    EXPECT_NE(0, k);
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    f = FuncRec{};
    f.Name = U(name);
    rt::Text* slots[] = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
    for (size_t i = 0; i < parms.size(); ++i) *slots[i] = U(parms[i]);
    rt::Text e;
    TokenizeNames(U(expr), e);
    f.Expr = e;
    return k;
  }

  // The value of G (defined by the Diff text) at the given parameter values, through the
  // compiler and the evaluator.
  double DerivativeValue(const char* fExpr, const char* diffText,
                         std::vector<std::pair<const char*, double>> at) {
    SetUp();
    Func("F_", {"x", "y"}, fExpr);
    const int16_t g = Func("G_", {"x", "y"}, diffText);
    rt::Text text;
    int16_t msg = 0;
    CompileFunctions(text, msg);
    EXPECT_EQ(0, msg);
    for (const auto& [name, v] : at) AppendValue(U(name), v, msg);
    double r = std::nan("");
    MathVars.ValueSP = 1;
    msg = Evaluate(Tables.FuncTable[static_cast<size_t>(g)].Code, r);
    EXPECT_EQ(0, msg);
    return r;
  }
};

void ExpectRelative(double expected, double actual) {
  if (expected == 0) {
    EXPECT_NEAR(0, actual, 1e-12);
  } else {
    EXPECT_NEAR(expected, actual, 1e-10 * std::fabs(expected));
  }
}

TEST_F(MathDerivativeTest, DerivativesMatchExactCalculus) {
  struct Case {
    const char* f;
    const char* diff;
    double x;
    double exact;
  };
  const double ln10 = std::log(10.0);
  const std::vector<Case> cases = {
      {"x^3", "Diff[F_,x]", 2, 12},
      {"Sin[x]", "Diff[F_,x]", 0.7, std::cos(0.7)},
      {"Tan[x]", "Diff[F_,x]", 0.7, 1 / std::pow(std::cos(0.7), 2)},
      {"Cos[x]", "Diff[F_,x]", 0.7, -std::sin(0.7)},
      {"Sinh[x]", "Diff[F_,x]", 0.7, std::cosh(0.7)},
      {"Cosh[x]", "Diff[F_,x]", 0.7, std::sinh(0.7)},
      {"Tanh[x]", "Diff[F_,x]", 0.7, 1 / std::pow(std::cosh(0.7), 2)},
      {"ACos[x]", "Diff[F_,x]", 0.3, -1 / std::sqrt(1 - 0.09)},
      {"Ln[x]", "Diff[F_,x]", 2, 0.5},
      {"ASin[x]", "Diff[F_,x]", 0.3, 1 / std::sqrt(1 - 0.09)},
      {"ATan[x]", "Diff[F_,x]", 0.3, 1 / 1.09},
      {"Log[x]", "Diff[F_,x]", 2, 1 / (2 * ln10)},
      {"Exp[2*x]", "Diff[F_,x]", 0.3, 2 * std::exp(0.6)},
      {"Alog[x]", "Diff[F_,x]", 0.5, std::pow(10, 0.5) * ln10},
      {"Sqrt[x]", "Diff[F_,x]", 4, 0.25},
      {"Abs[x]", "Diff[F_,x]", -3, -1},
      {"Floor[x]*3+Int[x]", "Diff[F_,x]", 2.5, 0},
      {"Sin[x]/x", "Diff[F_,x]", 0.4, (0.4 * std::cos(0.4) - std::sin(0.4)) / 0.16},
      {"x^x", "Diff[F_,x]", 2, 4 * (std::log(2.0) + 1)},
      {"(x+1)^2-x", "Diff[F_,x]", 3, 7},
      {"x*1E-5", "Diff[F_,x]", 3, 1e-5},  // the exponent's sign is not an operator
      {"Sin[x^2]", "Diff[F_,x]", 0.6, 2 * 0.6 * std::cos(0.36)},
      {"x*y^2", "Diff[F_,y]", 3, 2 * 3 * 5},  // y = 5: the other parameter is a constant
      {"Sin[x]", "Diff[F_,x,4]", 0.3, std::sin(0.3)},
      {"2^x", "Diff[F_,x,2]", 1, 2 * std::pow(std::log(2.0), 2)},
      {"x^3", "Diff[F_,x|(1.5)]", 9, 6.75},
      {"x^3", "Diff[F_,x]+Diff[F_,x|1]", 2, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.f << " : " << c.diff);
    ExpectRelative(c.exact, DerivativeValue(c.f, c.diff, {{"x", c.x}, {"y", 5}}));
  }
}

TEST_F(MathDerivativeTest, DerivativeTextsAndLimits) {
  // A sum of 600 terms splits 600 levels deep, beyond what the recursion may go.
  rt::Text deepSum = u"x", shallowSum = u"x";
  for (int i = 0; i < 600; ++i) deepSum += u"+x";
  for (int i = 0; i < 300; ++i) shallowSum += u"+x";
  struct Case {
    rt::Text e;
    int16_t msg;
    rt::Text expected;
  };
  const Case cases[] = {
      {u"ax", 0, u"0"},  // two characters: a constant identifier, even with the letter x
      {u"x*x", 0, u"2*x"},
      {u"x+x", 0, u" 2"},
      {shallowSum, 0, u" 301"},
      {deepSum, 537, u""},
      {rt::Text(32001, u'x'), 537, u""}};  // beyond 32,000 characters
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.e.substr(0, 20)));
    rt::Text d = u"unset";
    const int16_t msg = Differentiate(c.e, u"x", d);
    EXPECT_EQ(c.expected, d);
    EXPECT_EQ(c.msg, msg);
  }
}

TEST_F(MathDerivativeTest, DiffCallsAndTheirMessages) {
  Func("F_", {"x"}, "x*x");
  Func("X12", {"t"}, "t^2");
  struct Case {
    const char16_t* in;
    int16_t msg;
    const char16_t* out;  // nullptr: left unchanged
  };
  const Case cases[] = {
      // The call becomes (2*x); the final cleaning strips parentheses around the whole text.
      {u"Diff[F_,x]", 0, u"2*x"},       {u"1+Diff[F_,x]*2", 0, u"1+(2*x)*2"},
      {u"Diff[F_,x|ab]", 0, u"2*(ab)"}, {u"Diff[F_x]", 530, nullptr},
      {u"Diff[F_,X]", 531, nullptr},    {u"Diff[F_,xy]", 532, nullptr},
      {u"Diff[F_,x,a]", 533, nullptr},  {u"Diff[F_,x,0]", 534, nullptr},
      {u"Diff[F_,x|2", 535, nullptr},   {u"Diff[F_,x|(2a)]", 536, nullptr},
      {u"Diff[Q_,x]", 57, nullptr},     {u"Diff[X12,t]", 0, u"2*t"},
      {u"Diff[F_,x,9]", 0, u"0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.in));
    rt::Text out = u"unchanged";
    const int16_t msg = ProcessDiff(c.in, out);
    EXPECT_EQ(c.msg, msg);
    EXPECT_EQ(rt::Text(c.out ? c.out : u"unchanged"), out);
  }
}

using DerivativeWorksheetTest = testing::WorksheetTest;

// A linear term such as (3-x) has a folded derivative -1, which must not meet the "+" of a sum as
// "+-1". Worksheets against the exact derivatives (worked out with a computer algebra system).
TEST_F(DerivativeWorksheetTest, SumsWithLinearTerms) {
  const struct {
    std::vector<const char16_t*> lines;
    double exact;
  } cases[] = {
      {{u"F{x}=(x^2+(3-x))/x", u"G{x}=Diff[F,x]", u"r=G{2}"}, 0.25},
      {{u"F{x}=x*(2-5*x)+Sin[x]", u"G{x}=Diff[F,x,2]", u"r=G{0.7}"}, -10.644217687237691},
      {{u"F{x}=(1-x)^3*Exp[x]", u"G{x}=Diff[F,x]", u"r=G{0.5}"}, -1.0304507941875801},
      {{u"c=3", u"b=2", u"F{x}=x^2*(c-b*x)", u"G{x}=Diff[F,x]", u"r=G{1.5}"}, -4.5},
      {{u"F{x}=(1-x)*Sqrt[4-x]", u"G{x}=Diff[F,x]", u"r=G{1}"}, -1.7320508075688773},
      {{u"F{x}=(2-x)/(1+x^2)", u"G{x}=Diff[F,x,3]", u"r=G{0.5}"}, 6.2976},
      {{u"F{x}=x*Ln[5-2*x]", u"G{x}=Diff[F,x,2]", u"r=G{1}"}, -1.7777777777777778},
      {{u"F{x}=x^2+(3-x)", u"G{x}=Diff[F,x|2]", u"r=G{0}"}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.lines.front()));
    rt::Text text;
    for (const char16_t* line : c.lines) text += rt::Text(line) + u"\r\n";
    ASSERT_EQ(0, RunText(text));
    EXPECT_NEAR(c.exact, ConstValue(u"r_"), 1e-9 * std::max(1.0, std::fabs(c.exact)));
  }
}

// A derivative beyond what the simplifier takes stops the run with its own message, naming the
// statement; no empty function is left to be listed as a value.
TEST_F(DerivativeWorksheetTest, TooLongToSimplifyStopsTheRun) {
  EXPECT_EQ(kMsgSimplifyTooLong, Run({u"F{x}=x^x*Sin[x]*Exp[x]", u"G{x}=Diff[F,x,9]", u"<x=1>"}));
  ASSERT_EQ(1u, BoxTexts().size());
  EXPECT_EQ(1, rt::InStr(BoxTexts()[0], u"Statement # 2 : G{x}=Diff[F,x,9]\r\n512 : "));
}

}  // namespace
}  // namespace ms
