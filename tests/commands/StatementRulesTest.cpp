// Statements that would give a plain wrong value are refused as Execute reads them: names side by
// side, an exponent without the digits of a number in a constant statement, a function header
// that repeats a parameter, and a second definition of a name. The statements next to them that
// stay accepted keep the value mathematics gives.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

struct Case {
  std::vector<const char16_t*> lines;
  int16_t msgNo;
  const char16_t* constant = nullptr;  // with msgNo 0: this constant's stored name ...
  double value = 0;                    // ... and the value it must have
};

class StatementRulesTest : public WorksheetTest {
 protected:
  void Expect(const Case& c) {
    rt::Text text;
    for (const char16_t* line : c.lines) text += rt::Text(line) + u"\r\n";
    SCOPED_TRACE(rt::ToUtf8(text));
    SetUp();
    screen_.boxes.clear();
    ASSERT_EQ(RunText(text), c.msgNo);
    if (c.msgNo != 0) {
      // The box names the statement that was refused: the last one of the case.
      const std::vector<rt::Text> boxes = BoxTexts();
      ASSERT_EQ(boxes.size(), 1u);
      const std::string box = rt::ToUtf8(boxes[0]);
      const std::string number = "Statement # " + std::to_string(c.lines.size()) + " : ";
      EXPECT_EQ(box.rfind(number, 0), 0u) << box;
      EXPECT_NE(box.find("\r\n" + std::to_string(c.msgNo) + " : "), std::string::npos) << box;
      return;
    }
    if (c.constant != nullptr) {
      EXPECT_NEAR(ConstValue(c.constant), c.value, 1e-12 * std::fabs(c.value));
    }
  }
};

// Two names, or a name and a number, side by side: the substituted values would run into one
// number (ab = 2 and cd = 3 made abcd 23). Products written with an operator, 2x-style products
// and a constant whose name ends in a digit keep their values.
TEST_F(StatementRulesTest, NamesSideBySide) {
  const Case cases[] = {
      {{u"ab=2", u"cd=3", u"m=abcd"}, 246},
      {{u"ab=2", u"n=ab2"}, 246},
      {{u"ab=2", u"F{x}=x*ab3"}, 246},
      {{u"F{x}=x2"}, 246},  // x is the parameter and no constant x2 is defined
      {{u"F{x,y}=xy"}, 246},
      {{u"a=2", u"m=abc"}, 246},
      {{u"a2=5", u"c5=1", u"m=a2c5"}, 246},
      {{u"A<t>=<t2,0,0>"}, 246},
      {{u"ab=2", u"cd=3", u"m=ab*cd"}, 0, u"m_", 6},
      {{u"ab=2", u"n=ab*2"}, 0, u"n_", 4},
      {{u"ab=2", u"F{x}=x*ab*3", u"p=F{3}"}, 0, u"p_", 18},
      {{u"F{x,y}=x*y", u"p=F{3,4}"}, 0, u"p_", 12},
      {{u"F{x}=2x", u"p=F{3}"}, 0, u"p_", 6},
      {{u"x2=5", u"F{x}=x2+x", u"p=F{3}"}, 0, u"p_", 8},  // the constant x2, defined before
      {{u"a2=5", u"m=a2*3"}, 0, u"m_", 15},
      {{u"F{x}=x*k", u"k=2", u"p=F{3}"}, 0, u"p_", 6},  // a constant defined after the body
      {{u"ab=2", u"m=2ab"}, 0, u"m_", 4},
  };
  for (const Case& c : cases) Expect(c);
}

// An exponent "E" needs the digits of a number before it, wherever it stands in a constant
// statement: at the start, after an operator, after a bracket, after a call, after a name. A
// function body keeps the refusals it had.
TEST_F(StatementRulesTest, ExponentNeedsDigitsBeforeIt) {
  const Case cases[] = {
      {{u"p=E1"}, 247},
      {{u"p=-E1"}, 247},
      {{u"c=2+E1"}, 247},
      {{u"q=3*E-3"}, 247},
      {{u"q=3/E+3"}, 247},
      {{u"b=(2)E1"}, 247},
      {{u"m=(E1)"}, 247},
      {{u"m=Sin[E1]"}, 247},
      {{u"d=Sin[1]E2"}, 247},
      {{u"F{x}=x", u"m=F{2}E1"}, 247},
      {{u"F{x}=x", u"m=F{E1}"}, 247},
      {{u"a2=5", u"m=a2E1"}, 247},
      {{u"G{x}=2+E1"}, 451},
      {{u"G{x}=x*E-3"}, 502},
      {{u"a=2E1"}, 0, u"a_", 20},
      {{u"a=2.5E-1"}, 0, u"a_", 0.25},
      {{u"a=.5E1"}, 0, u"a_", 5},
      {{u"a=2E+1"}, 0, u"a_", 20},
      {{u"a=3*2E1"}, 0, u"a_", 60},
      {{u"a=(2E1)"}, 0, u"a_", 20},
      {{u"a=Sqrt[1E2]"}, 0, u"a_", 10},
  };
  for (const Case& c : cases) Expect(c);
}

// Every parameter of a function header is a letter of its own.
TEST_F(StatementRulesTest, HeaderParametersDiffer) {
  const Case cases[] = {
      {{u"F{x,x}=x*10"}, 248},
      {{u"F{x,y,x}=x+y"}, 248},
      {{u"Fa{a,b,c,d,a}=a"}, 248},
      {{u"F{x,y,z,u,u}=u"}, 248},
      {{u"F{x,y}=x*10+y", u"c=F{1,2}"}, 0, u"c_", 12},
      {{u"F{a,b,c,d,e}=a+2*b+3*c+4*d+5*e", u"c=F{1,1,1,1,1}"}, 0, u"c_", 15},
  };
  for (const Case& c : cases) Expect(c);
}

// Only the first record of a name is used: a second constant, function or vector of that name is
// refused at its own statement, whichever statement made the first (an integral's result
// included). Names that differ only in their second letter are different names.
TEST_F(StatementRulesTest, NameDefinedOnce) {
  const Case cases[] = {
      {{u"b=1", u"b=2"}, 249},
      {{u"b=1", u"d=b*10", u"b=2"}, 249},
      {{u"F{x}=x^2", u"s=Integ[F,{0,1,10,0}]", u"s=1"}, 249},
      {{u"F{x}=x^2", u"s=1", u"s=Integ[F,{0,1,10,0}]"}, 249},
      {{u"F{x}=x^2", u"F{x}=x"}, 250},
      {{u"F{x}=x", u"F{x,y}=x+y"}, 250},
      {{u"A<t>=<t,0,0>", u"A<t>=<0,t,0>"}, 251},
      {{u"b=1", u"bb=2", u"d=b*10"}, 0, u"d_", 10},
      {{u"F{x}=x^2", u"Fa{x}=x", u"s=Integ[F,{0,1,10,0}]"}, 0, u"s_", 1.0 / 3},
      {{u"A<t>=<t,t^2,0>", u"B<t>=<0,t,0>", u"m=A.y|3"}, 0, u"m_", 9},
  };
  for (const Case& c : cases) Expect(c);
}

// A number whose exponent is written with "e" is refused wherever it stands (a constant, a body, a
// vector component after another number, a command's range), with a constant e defined or not;
// "e" that no exponent's digits follow, or that a blank parts from the number, stays the constant e
// in a product. Ranges read "E" only.
TEST_F(StatementRulesTest, LowerCaseExponentRefused) {
  const Case cases[] = {
      {{u"e=2.718281828", u"k=1.2e-6"}, 419},
      {{u"k=1.2e-6"}, 419},
      {{u"e=2", u"F{x}=x+1.2e-16"}, 419},
      {{u"e=2", u"A<t>=<t,1e-3,0>"}, 419},
      {{u"e=2", u"A<t>=<1,1e-3,0>"}, 419},
      {{u"e=2", u"k=3e+2"}, 419},
      {{u"e=2", u"k=.5e-3"}, 419},
      {{u"e=2", u"A<t>=<t,t,t>", u"m=A.x|1e-3"}, 419},
      {{u"F{x}=x^2", u"ab=Integ[F,{0,1e-1,10,0}]"}, 419},
      {{u"F{x}=x^2", u"A<t>=<t,F,0>", u"Plot[A,{t,0,1e-1,10}]"}, 419},
      {{u"F{x}=x^2", u"A<t>=<t,F,0>", u"Plot[A,{t,0,1d1,10}]"}, 314},
      {{u"F{x}=x-0.001", u"Zero[F,{0,1,r}1e-8]"}, 419},
      {{u"e=2", u"k=3e"}, 0, u"k_", 6},
      {{u"e=2", u"F{x}=2e*x", u"p=F{3}"}, 0, u"p_", 12},
      {{u"e=2", u"k=2e^2"}, 0, u"k_", 8},
      {{u"e=2", u"x=3", u"k=2e-x"}, 0, u"k_", 1},
      {{u"e=2", u"k=2 e-1"}, 0, u"k_", 3},  // a blank parts the number from e
      {{u"k=1.2E-6"}, 0, u"k_", 1.2e-6},
      {{u"F{x}=x^2", u"ab=Integ[F,{0,1E-1,10,0}]"}, 0, u"ab", 1.0 / 3000},
  };
  for (const Case& c : cases) Expect(c);
}

// Only the longer names themselves (ASin[, asin[, ... vUnit[, Alog[) are read as one name. A letter
// typed before a shorter name, with blanks or a tab between or not, is a name beside a call and
// refused.
TEST_F(StatementRulesTest, LetterBeforeBuiltinStaysApart) {
  const Case cases[] = {
      {{u"a=2", u"x=0.5", u"b=a Sin[x]"}, 451},
      {{u"a=2", u"x=0.5", u"b=aSin[x]"}, 451},
      {{u"a=2", u"x=0.5", u"b=a Cos[x]"}, 451},
      {{u"a=2", u"x=0.5", u"b=a tan[x]"}, 451},
      {{u"a=2", u"x=0.5", u"b=2a Sin[x]"}, 451},
      {{u"x=0.5", u"b=A Sin[x]"}, 661},
      {{u"x=0.5", u"b=A\tSin[x]"}, 661},
      {{u"x=0.5", u"b=A log[x]"}, 661},  // not Alog[x]
      {{u"a=2", u"F{t}=a*t+a Cos[t]"}, 451},
      {{u"F{a,t}=a Sin[t]"}, 465},
      {{u"v=2", u"A<t>=<t^2,t,1>", u"B<t>=v Unit[A]"}, 479},
      {{u"v=2", u"A<t>=<t^2,t,1>", u"B<t>=v Tan[A]"}, 479},
      {{u"a=2", u"x=0.5", u"b=a*Sin[x]"}, 0, u"b_", 0.958851077208406},  // 2 sin 0.5
      {{u"x=0.5", u"b=ASin[x]"}, 0, u"b_", 0.5235987755982988},          // pi/6
      {{u"x=0.5", u"b=asin[x]"}, 0, u"b_", 0.5235987755982988},
      {{u"x=0.5", u"b=ACos[x]"}, 0, u"b_", 1.0471975511965976},  // pi/3
      {{u"x=0.5", u"b=atan[x]"}, 0, u"b_", 0.4636476090008061},
      {{u"x=0.5", u"b=Alog[x]"}, 0, u"b_", 3.1622776601683795},  // sqrt 10
      // A = (t^2, t, 1) at t = 2: A' = (4, 1, 0), |A| = sqrt 21, |A'| = sqrt 17.
      {{u"A<t>=<t^2,t,1>", u"B<t>=vDiff[A]", u"m=B.x|2"}, 0, u"m_", 4},
      {{u"A<t>=<t^2,t,1>", u"B<t>=vunit[A]", u"m=B.x|2"}, 0, u"m_", 4 / std::sqrt(21.0)},
      {{u"A<t>=<t^2,t,1>", u"B<t>=vTan[A]", u"m=B.x|2"}, 0, u"m_", 4 / std::sqrt(17.0)},
  };
  for (const Case& c : cases) Expect(c);
}

// A number has one exponent: a second one is refused, as a decimal exponent is, wherever the
// number stands.
TEST_F(StatementRulesTest, SecondExponentRefused) {
  const Case cases[] = {
      {{u"a=1E2E3"}, 423},
      {{u"a=1+1E2E3"}, 423},
      {{u"a=1E23E4"}, 423},
      {{u"F{x}=x*1E2E3"}, 423},
      {{u"A<t>=<1,1E2E3,0>"}, 423},
      {{u"F{x,y}=x+y", u"a=F{1,1E2E3}"}, 423},
      {{u"a=1E2.5"}, 421},
      {{u"a=1E2*3"}, 0, u"a_", 300},
      {{u"a=1E-2+1E1"}, 0, u"a_", 10.01},
      {{u"F{x,y}=x+y", u"a=F{1,2E1}"}, 0, u"a_", 21},
      {{u"A<t>=<1,2E1,0>", u"m=A.y|0"}, 0, u"m_", 20},
  };
  for (const Case& c : cases) Expect(c);
}

}  // namespace
}  // namespace ms::testing
