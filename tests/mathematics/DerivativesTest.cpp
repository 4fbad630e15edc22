#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "language/Simplify.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Derivatives.h"
#include "support/ExactDerivatives.h"
#include "support/WorksheetFixture.h"

namespace ms {
namespace {

using DerivativeTest = testing::WorksheetTest;

// Every rule of the derivative table and every branch of the operator rules, through the whole
// worksheet (compiler and evaluator), against the exact derivative; y = 5 stands for another
// parameter. Rows with several lines check sums with a linear term such as (3-x), whose folded
// derivative -1 must not meet the "+" of the sum as "+-1" (worked out with a computer algebra
// system).
TEST_F(DerivativeTest, DerivativesMatchExactCalculus) {
  struct Case {
    std::vector<const char16_t*> lines;
    double exact;
  };
  const double ln10 = std::log(10.0), ln2 = std::log(2.0);
  const std::vector<Case> cases = {
      {{u"F{x}=Sin[x]", u"r=G{0.7}"}, std::cos(0.7)},
      {{u"F{x}=Cos[x]", u"r=G{0.7}"}, -std::sin(0.7)},
      {{u"F{x}=Tan[x]", u"r=G{0.7}"}, 1 / std::pow(std::cos(0.7), 2)},
      {{u"F{x}=Sinh[x]", u"r=G{0.7}"}, std::cosh(0.7)},
      {{u"F{x}=Cosh[x]", u"r=G{0.7}"}, std::sinh(0.7)},
      {{u"F{x}=Tanh[x]", u"r=G{0.7}"}, 1 / std::pow(std::cosh(0.7), 2)},
      {{u"F{x}=ASin[x]", u"r=G{0.3}"}, 1 / std::sqrt(1 - 0.09)},
      {{u"F{x}=ACos[x]", u"r=G{0.3}"}, -1 / std::sqrt(1 - 0.09)},
      {{u"F{x}=ATan[x]", u"r=G{0.3}"}, 1 / 1.09},
      {{u"F{x}=Ln[x]", u"r=G{2}"}, 0.5},
      {{u"F{x}=Log[x]", u"r=G{2}"}, 1 / (2 * ln10)},
      {{u"F{x}=Exp[2*x]", u"r=G{0.3}"}, 2 * std::exp(0.6)},
      {{u"F{x}=Alog[x]", u"r=G{0.5}"}, std::pow(10, 0.5) * ln10},
      {{u"F{x}=Sqrt[x]", u"r=G{4}"}, 0.25},
      {{u"F{x}=Abs[x]", u"r=G{-3}"}, -1},
      {{u"F{x}=x+Floor[x]+Ceil[x]+Int[x]+Unit[x]+Sqw[x]+Sign[x]+Inv[x]", u"r=G{0.5}"}, 1},
      // Clip has slope 1 inside (-1, 1) and 0 beyond: x Clip[x] is x^2 inside and |x| outside.
      {{u"F{x}=Clip[x]*x", u"r=G{-0.5}"}, -1},
      {{u"F{x}=Clip[x]*x", u"r=G{0.5}"}, 1},
      {{u"F{x}=Clip[x]*x", u"r=G{1.5}"}, 1},
      {{u"F{x}=Clip[x]*x", u"r=G{-1.5}"}, -1},
      {{u"F{x}=Clip[2*x]", u"r=G{0.3}"}, 2},
      {{u"F{x}=Clip[2*x]", u"r=G{-0.7}"}, 0},
      {{u"F{x}=Sin[x^2]", u"r=G{0.6}"}, 2 * 0.6 * std::cos(0.36)},  // chain rule
      // Each operator with the variable on the left, on the right and on both sides.
      {{u"F{x}=(3+x^2)+(x^2+3)+(Sin[x]-Sin[x])", u"r=G{2}"}, 8},
      {{u"F{x}=(3-x^2)-(x^2-3)+(x^3-x^2)", u"r=G{2}"}, 0},
      {{u"F{x}=(x^2*3)+(3*x^2)+(x*Sin[x])", u"r=G{0.5}"}, 6 + std::sin(0.5) + 0.5 * std::cos(0.5)},
      {{u"F{x}=(x^2/4)+(1/x)", u"r=G{3}"}, 1.5 - 1.0 / 9},
      {{u"F{x}=Sin[x]/x", u"r=G{0.4}"}, (0.4 * std::cos(0.4) - std::sin(0.4)) / 0.16},
      {{u"F{x}=x^3+2^x", u"r=G{1}"}, 3 + 2 * ln2},
      {{u"F{x}=x^x", u"r=G{2}"}, 4 * (ln2 + 1)},
      {{u"F{x}=x*1E-5", u"r=G{3}"}, 1e-5},  // the exponent's sign is not an operator
      {{u"F{x,y}=x*y^2", u"G{x,y}=Diff[F,y]", u"r=G{3,5}"}, 2 * 3 * 5},
      {{u"F{x}=Sin[x]", u"G{x}=Diff[F,x,4]", u"r=G{0.3}"}, std::sin(0.3)},
      {{u"F{x}=x^3", u"G{x}=Diff[F,x|(1.5)]", u"r=G{9}"}, 6.75},
      {{u"F{x}=x^3", u"G{x}=Diff[F,x]+Diff[F,x|1]", u"r=G{2}"}, 15},
      {{u"F{x}=(x^2+(3-x))/x", u"r=G{2}"}, 0.25},
      {{u"F{x}=(2-x)/(1+x^2)", u"G{x}=Diff[F,x,3]", u"r=G{0.5}"}, 6.2976},
      {{u"F{x}=x^2+(3-x)", u"G{x}=Diff[F,x|2]", u"r=G{0}"}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.lines.front()));
    rt::Text text;
    // Two lines: the function and the value, the first derivative G between them.
    for (size_t i = 0; i < c.lines.size(); ++i) {
      if (i == 1 && c.lines.size() == 2) text += u"G{x}=Diff[F,x]\r\n";
      text += rt::Text(c.lines[i]) + u"\r\n";
    }
    ASSERT_EQ(0, RunText(text));
    EXPECT_NEAR(c.exact, ConstValue(u"r_"), 1e-9 * std::max(1.0, std::fabs(c.exact)));
  }
}

// A sum that starts with a negated variable, as a text built after reading puts it in brackets:
// the argument typed inside a built-in (each higher order brackets it again), a call that puts it
// in place of the parameter, and a Diff of a Diff. Every built-in, orders 1 to 4, against the
// chain rule worked by hand.
TEST_F(DerivativeTest, NegatedSumsInBuiltTextsMatchTheChainRule) {
  for (const testing::ExactBuiltin& f : testing::ExactBuiltins()) {
    for (const testing::ExactArgument& g : testing::NegatedArguments()) {
      const rt::Text inside = u"F{x}=" + f.name + g.text + u"]\r\n";
      const rt::Text call = u"A{x}=" + f.name + u"x]\r\nF{x}=A{" + g.text + u"}\r\n";
      for (int n = 1; n <= 4; ++n) {
        const double exact = testing::ChainRule(f.jet(g.jet[0]), g.jet, n);
        const rt::Text order(1, static_cast<char16_t>(u'0' + n));
        const rt::Text value = u"r=G{" + g.x0Text + u"}\r\n";
        // Ga is the first derivative of F, Gb that of Ga, and so on.
        auto name = [](int k) { return u"G" + rt::Text(1, static_cast<char16_t>(u'a' + k - 1)); };
        rt::Text chained = inside + u"Ga{x}=Diff[F,x]\r\n";
        for (int k = 2; k <= n; ++k) chained += name(k) + u"{x}=Diff[" + name(k - 1) + u",x]\r\n";
        chained += u"G{x}=" + name(n) + u"{x}\r\n";
        const rt::Text worksheets[] = {inside + u"G{x}=Diff[F,x," + order + u"]\r\n" + value,
                                       call + u"G{x}=Diff[F,x," + order + u"]\r\n" + value,
                                       chained + value};
        for (const rt::Text& w : worksheets) {
          SCOPED_TRACE(rt::ToUtf8(w));
          ASSERT_EQ(0, RunText(w));
          EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), exact, 1e-9));
        }
      }
    }
  }
}

// The worksheets of the fault report, with their values from a computer algebra system.
TEST_F(DerivativeTest, NegatedSumsOfTheFaultReport) {
  const std::pair<std::vector<const char16_t*>, double> cases[] = {
      {{u"F{x}=x^3", u"G{x}=F{-x+2}", u"H{x}=Diff[G,x]", u"r=H{0.5}"}, -6.75},
      {{u"P{x,y}=x*y^2", u"Q{x}=P{-x+1,x+2}", u"R{x}=Diff[Q,x]", u"r=R{0.3}"}, -2.07},
      {{u"F{x}=x^3", u"L{x}=F{-x+x*x}", u"M{x}=Diff[L,x]", u"r=M{0.3}"}, -5.292e-2},
      {{u"G{x}=Ln[-x+2.69]", u"H{x}=Diff[G,x,2]", u"r=H{-0.6}"}, -1 / (3.29 * 3.29)},
      {{u"M{x}=Log[-x+3]", u"N{x}=Diff[M,x,3]", u"r=N{0.6}"},
       -2 / (std::pow(2.4, 3) * std::log(10))},
      {{u"E{x}=ATan[-x+1]", u"F{x}=Diff[E,x,2]", u"r=F{0.6}"}, -0.8 / (1.16 * 1.16)},
      {{u"P{x}=ACos[-x+0.5]", u"Q{x}=Diff[P,x,2]", u"r=Q{0.6}"}, 0.1 / std::pow(0.99, 1.5)},
      {{u"G{x}=Ln[-x+2]", u"H{x}=Diff[G,x]", u"K{x}=Diff[H,x]", u"r=K{0.5}"}, -1 / 2.25},
      {{u"F{x}=x^3", u"G{x}=F{-x+2}", u"H{x}=Diff[G,x]", u"q1=H{0.5}", u"r=q1"}, -6.75}};
  for (const auto& [lines, exact] : cases) {
    SCOPED_TRACE(rt::ToUtf8(lines[1]));
    rt::Text text;
    for (const char16_t* line : lines) text += rt::Text(line) + u"\r\n";
    ASSERT_EQ(0, RunText(text));
    EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), exact, 1e-9));
  }
}

// Sums of many terms far below the length limit: the sum of 600 x's (1,199 characters) has
// derivative 600; that of k*x^2 for k = 1 to 600 (about 6,000 characters) 2*x*(600*601/2), which
// is 360,600 at x = 1; and x times 600 factors 2, each on the right, with derivative 2^600.
TEST_F(DerivativeTest, LongSumsAreDifferentiatedTermByTerm) {
  rt::Text xs = u"x", squares = u"1*x^2", scaled = u"x*2";
  for (int k = 2; k <= 600; ++k) {
    xs += u"+x";
    squares += u"+" + rt::IntText(k) + u"*x^2";
    scaled += u"*2";
  }
  const std::pair<rt::Text, double> cases[] = {
      {xs, 600}, {squares, 360600}, {scaled, std::pow(2.0, 600)}};
  for (const auto& [f, exact] : cases) {
    SCOPED_TRACE(rt::ToUtf8(f.substr(0, 20)));
    ASSERT_EQ(0, RunText(u"F{x}=" + f + u"\r\nG{x}=Diff[F,x]\r\nr=G{1}\r\n"));
    EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), exact, 1e-12));
  }
}

// Diff[F,x,n|point] for orders 1 to 4 in every form of the point: a number, a negative number, a
// number in brackets, a constant and a negated constant, each constant positive and negative. The
// derivative is evaluated at the point whatever x is: G{5} gives F's n-th derivative there.
TEST_F(DerivativeTest, DerivativesAtAPointInEveryForm) {
  struct Function {
    const char16_t* expr;
    std::function<double(int, double)> exact;  // order n at p
  };
  const Function functions[] = {
      {u"x^3",
       [](int n, double p) {
         return n == 1 ? 3 * p * p : n == 2 ? 6 * p : n == 3 ? 6 : 0;
       }},
      {u"Sin[x]",
       [](int n, double p) {
         const double d[4] = {std::cos(p), -std::sin(p), -std::cos(p), std::sin(p)};
         return d[n - 1];
       }},
      {u"Exp[2*x]", [](int n, double p) { return std::pow(2.0, n) * std::exp(2 * p); }}};
  // The constant's value, the text after "|" and the point it stands for.
  const std::tuple<const char16_t*, const char16_t*, double> points[] = {
      {u"0.7", u"0.7", 0.7},  {u"0.7", u"-0.7", -0.7}, {u"0.7", u"(-0.7)", -0.7},
      {u"0.7", u"kp", 0.7},   {u"0.7", u"-kp", -0.7},  {u"-0.7", u"kp", -0.7},
      {u"-0.7", u"-kp", 0.7}, {u"-2", u"-kp", 2},      {u"-1.5E-1", u"-kp", 0.15},
      {u"0", u"-kp", 0}};
  for (const Function& f : functions) {
    for (const auto& [k, point, p] : points) {
      for (int n = 1; n <= 4; ++n) {
        // The first order in both its short form and with the order written out.
        const rt::Text orders[] = {n == 1 ? rt::Text() : u"," + rt::IntText(n),
                                   u"," + rt::IntText(n)};
        for (const rt::Text& order : orders) {
          const rt::Text w = u"kp=" + rt::Text(k) + u"\r\nF{x}=" + f.expr + u"\r\nG{x}=Diff[F,x" +
                             order + u"|" + point + u"]\r\nr=G{5}\r\n";
          SCOPED_TRACE(rt::ToUtf8(w));
          ASSERT_EQ(0, RunText(w));
          EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), f.exact(n, p), 1e-9));
        }
      }
    }
  }
}

// The n-th derivative of tanh at x: tanh' = 1 - tanh^2, so each derivative is a polynomial in
// T = tanh x, the next one p'(T) (1 - T^2).
double TanhDerivative(int n, double x) {
  std::vector<double> p = {0, 1};  // coefficients of T^0, T^1, ...
  for (int k = 0; k < n; ++k) {
    std::vector<double> next(p.size() + 2, 0.0);
    for (size_t i = 1; i < p.size(); ++i) {
      next[i - 1] += static_cast<double>(i) * p[i];
      next[i + 1] -= static_cast<double>(i) * p[i];
    }
    p = next;
  }
  const double t = std::tanh(x);
  double value = 0;
  for (size_t i = p.size(); i-- > 0;) value = value * t + p[i];
  return value;
}

// Tanh's derivatives grow about fivefold in length with each order: the fifth is within the
// simplifier's limit and the sixth, spelled out, is past it. That one is refused with 512 at the
// statement that asks for it, whatever follows it (nothing, a parameter set, a constant or a
// function), by Diff[ and by vDiff[ alike.
TEST_F(DerivativeTest, DerivativeOrdersAroundTheLengthLimit) {
  for (int n = 1; n <= 5; ++n) {
    SCOPED_TRACE(n);
    const rt::Text order = rt::IntText(n);
    ASSERT_EQ(0, RunText(u"U{x}=Tanh[x]\r\nL{x}=Diff[U,x," + order + u"]\r\nr=L{0.5}\r\n"));
    EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), TanhDerivative(n, 0.5), 1e-9));
  }
  const rt::Text asked[] = {u"L{x}=Diff[U,x,6]", u"L<x>=vDiff[V,6]"};
  const rt::Text after[] = {u"", u"<x=0.5>\r\n", u"q=2\r\n", u"M{x}=U{x}\r\n"};
  for (const rt::Text& statement : asked) {
    for (const rt::Text& tail : after) {
      const rt::Text w = u"U{x}=Tanh[x]\r\nV<x>=<Tanh[x],x,1>\r\n" + statement + u"\r\n" + tail;
      SCOPED_TRACE(rt::ToUtf8(w));
      EXPECT_EQ(kMsgSimplifyTooLong, RunText(w));
      ASSERT_EQ(1u, BoxTexts().size());
      EXPECT_NE(rt::Text::npos, BoxTexts()[0].find(u"Statement # 3 : " + statement));
      screen_.boxes.clear();
    }
  }
}

// A long sum whose terms end with a group filling a bracket, Sin[(x+1)] 1,500 times: past the
// first terms their brackets keep the group, and the derivative is 1,500 Cos[x+1] all the same.
TEST_F(DerivativeTest, LongSumOfBracketedGroups) {
  rt::Text sum = u"Sin[(x+1)]";
  for (int k = 1; k < 1500; ++k) sum += u"+Sin[(x+1)]";
  rt::Text tokens, d, spelled;
  TokenizeNames(sum, tokens);
  ASSERT_EQ(0, Differentiate(tokens, u"x", d));
  DetokenizeNames(SubstituteVar(d, u"x", u"0.3"), spelled);
  ASSERT_EQ(0, RunText(u"r=" + spelled + u"\r\n"));
  EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), 1500 * std::cos(1.3), 1e-12));
}

TEST(DerivativeTextTest, DerivativeTextsAndLimits) {
  // A flat sum is taken term by term, however many terms it has; only nesting counts toward the
  // depth: x+(x+(...)) with 500 brackets is as deep as it may go.
  rt::Text deepSum = u"x", shallowSum = u"x", longSum = u"x", nested = u"x";
  for (int i = 0; i < 501; ++i) deepSum += u"+x";
  for (int i = 0; i < 500; ++i) shallowSum += u"+x";
  for (int i = 0; i < 15999; ++i) longSum += u"+x";  // 31,999 characters
  for (int i = 0; i < 500; ++i) nested = u"x+(" + nested + u")";
  // The expression, the message and the derivative.
  const std::tuple<rt::Text, int16_t, rt::Text> cases[] = {
      {u"ax", 0, u"0"},  // two characters: a constant identifier, even with the letter x
      {shallowSum, 0, u" 501"},
      {deepSum, 0, u" 502"},
      {longSum, 0, u" 16000"},
      {nested, 0, u" 501"},
      {u"x+(" + nested + u")", 538, u""},
      {rt::Text(32000, u'x'), 0, u"1"},  // 32,000 characters are the most
      {rt::Text(32001, u'x'), 537, u""}};
  for (const auto& [e, msg, expected] : cases) {
    SCOPED_TRACE(rt::ToUtf8(e.substr(0, 20)));
    rt::Text d = u"unset";
    EXPECT_EQ(msg, Differentiate(e, u"x", d));
    EXPECT_EQ(expected, d);
  }
}

TEST_F(DerivativeTest, DiffCallsAndTheirMessages) {
  // Function records as the compiler and the vector expansion leave them.
  // G_'s ninth derivative is too long for the simplifier.
  const std::pair<const char16_t*, const char16_t*> functions[] = {
      {u"F_", u"x*x"}, {u"X12", u"x*x"}, {u"G_", u"x^x*Sin[x]*Exp[x]"}};
  for (const auto& [name, expr] : functions) {
    int16_t msg = 0;
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(AppendFunction(msg))];
    f.Name = name;
    f.Parm1 = u"x";
    TokenizeNames(expr, f.Expr);
  }
  struct Case {
    const char16_t* in;
    int16_t msg;
    const char16_t* out;  // nullptr: left unchanged
  };
  const Case cases[] = {
      // The call becomes (2*x); the final cleaning strips parentheses around the whole text.
      {u"Diff[F_,x]", 0, u"2*x"},
      {u"1+Diff[F_,x]*2", 0, u"1+(2*x)*2"},
      {u"Diff[F_,x|ab]", 0, u"2*(ab)"},
      {u"Diff[F_x]", 530, nullptr},
      {u"Diff[F_,X]", 531, nullptr},
      {u"Diff[F_,xy]", 532, nullptr},
      {u"Diff[F_,x,a]", 533, nullptr},
      {u"Diff[F_,x,0]", 534, nullptr},
      {u"Diff[F_,x|2", 535, nullptr},
      {u"Diff[F_,x|(2a)]", 536, nullptr},
      {u"Diff[F_,x|-(-2a)]", 536, nullptr},
      {u"Diff[F_,x|-(0-)]", 536, nullptr},
      {u"Diff[F_,x|-()]", 536, nullptr},
      {u"Diff[Q_,x]", 57, nullptr},
      {u"Diff[X12,x]", 0, u"2*x"},
      {u"Diff[F_,x,9]", 0, u"0"},
      {u"Diff[G_,x,9]", kMsgSimplifyTooLong, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.in));
    rt::Text out = u"unchanged";
    EXPECT_EQ(c.msg, ProcessDiff(c.in, out));
    EXPECT_EQ(rt::Text(c.out ? c.out : u"unchanged"), out);
  }
}

// The forms with a constant identifier after "|" (a constant the compiler has not put in place),
// at orders 1 to 4: the identifier takes the variable's place in the derivative. The text is
// evaluated with the identifier given a value, against the derivatives of x^3 and Sin[x].
TEST_F(DerivativeTest, IdentifierPointsAtEveryOrder) {
  const std::tuple<const char16_t*, const char16_t*, std::function<double(int, double)>>
      functions[] = {{u"H_", u"x^3",
                      [](int n, double p) {
                        return n == 1 ? 3 * p * p : n == 2 ? 6 * p : n == 3 ? 6 : 0;
                      }},
                     {u"S_", u"Sin[x]", [](int n, double p) {
                        const double d[4] = {std::cos(p), -std::sin(p), -std::cos(p), std::sin(p)};
                        return d[n - 1];
                      }}};
  for (const auto& [name, expr, exact] : functions) {
    for (int n = 1; n <= 4; ++n) {
      for (const rt::Text& order : {u"," + rt::IntText(n), rt::Text()}) {
        if (order.empty() && n > 1) continue;
        for (double p : {0.7, -1.2}) {
          // Records as the compiler leaves them, made again after each run clears the tables.
          int16_t msg = 0;
          FuncRec& f = Tables.FuncTable[static_cast<size_t>(AppendFunction(msg))];
          f.Name = name;
          f.Parm1 = u"x";
          TokenizeNames(expr, f.Expr);
          const rt::Text call = u"Diff[" + rt::Text(name) + u",x" + order + u"|ab]";
          SCOPED_TRACE(rt::ToUtf8(call));
          rt::Text out;
          ASSERT_EQ(0, ProcessDiff(call, out));
          ASSERT_EQ(rt::Text::npos, out.find(u'x'));
          ASSERT_EQ(0,
                    RunText(u"ab=" + rt::FromUtf8(std::to_string(p)) + u"\r\nr=" + out + u"\r\n"));
          EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), exact(n, p), 1e-9));
        }
      }
    }
  }
}

}  // namespace
}  // namespace ms
