#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "mathematics/Definitions.h"
#include "mathematics/VectorOperations.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using DefinitionsTest = LanguageTest;

// A vector appends three component functions: the component counter stops at 999, and a vector
// needs room for all three in the function table (the full tables' messages are checked with the
// tables).
TEST_F(DefinitionsTest, ComponentListVectorAppendsThreeFunctions) {
  ASSERT_EQ(Define(u"A_<t>=<t,t^2,0>", false), 0);
  ASSERT_EQ(Tables.FuncCount, 3);
  const VecRec& a = Tables.VecTable[1];
  EXPECT_EQ(U8(a.YFuncName + u"=" + Tables.FuncTable[2].Name + Tables.FuncTable[2].Expr),
            "Y1=Y1(t^2)");
  VectorStacks.ComponentFuncCounter = 998;
  EXPECT_EQ(Define(u"B_<t>=<t,t,t>"), 0);
  EXPECT_EQ(U8(Tables.VecTable[2].XFuncName), "X999");
  EXPECT_EQ(Define(u"C_<t>=<t,t,t>"), 515);
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, 1000);
  VectorStacks.ComponentFuncCounter = 0;
  Tables.FuncCount = kMaxFunctions - 2;
  ASSERT_EQ(StoreVectorDefinition(u"D_<t>=<t,t,t>"), 0);
  EXPECT_EQ(ProcessVectorDefinition(Tables.VecTable[Tables.VecCount]), kMsgFunctionsFull);
  EXPECT_EQ(Tables.FuncCount, kMaxFunctions);
}

// After k_=3, A_<s>=<s^2,s+1,5>, G_{x,y}=x+y: the statement's message and, when it is a function
// F_, its value at t = 0.5.
TEST_F(DefinitionsTest, VectorsAndComponentReferences) {
  const struct {
    const char16_t* statement;
    int16_t msg;
    double value = 0;
  } cases[] = {
      {u"B_<t>=<t,t^2>", 310},       {u"B_<t>=t,t,t", 309},
      {u"B_<t>=<G_,0,0>", 667},      {u"B_<t>=<A_.w_,0,0>", 316},
      {u"B_<t>=<Q_,0,0>", 57},       {u"F_{t}=A_.x_|-2", 0, 4},
      {u"F_{t}=A_.y_|-k_", 0, -2},   {u"F_{t}=2*A_.y_|1.5E1*t", 0, 16},
      {u"F_{t}=A_.z_", 0, 5},        {u"F_{t}=A_.y_|q_", 377},
      {u"F_{t}=A_.w_", 374},         {u"F_{t}=A_.y_|*2", 376},
      {u"F_{t}=A_.y_|1.2.3", 375},   {u"F_{t}=B_.x_", 325},
      {u"F_{t}=A_.y_|1.5E1+t", 375},  // the number runs on over "+"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    LanguageTest::SetUp();
    DefineAll({u"k_=3", u"A_<s>=<s^2,s+1,5>", u"G_{x,y}=x+y"});
    EXPECT_EQ(Define(c.statement), c.msg);
    if (c.msg == 0) {
      EXPECT_DOUBLE_EQ(ValueOf(u"F_", 0.5), c.value);
    }
  }
}

TEST_F(DefinitionsTest, ComponentsKeepTheirValueInExpressions) {
  // B's x component is 2 times A's x component t + 1, not 2 * t + 1.
  DefineAll({u"A_<t>=<t+1,0,0>", u"B_<t>=<2*A_.x_,A_.x_^2,0>"});
  EXPECT_DOUBLE_EQ(ValueOf(Tables.VecTable[2].XFuncName, 1), 4);
  EXPECT_DOUBLE_EQ(ValueOf(Tables.VecTable[2].YFuncName, 2), 9);
}

// The functions of the worksheet below, written out.
double Cubic(double x) {
  return x * x * x - x;  // F{x}=x^3-x
}
double Pair(double x, double y) {
  return x * y - y;  // G{x,y}=x*y-y
}
double Triple(double a, double b, double c) {
  return a - b * c;  // H{a,b,c}=a-b*c
}

// The component named by a vector's X, Y or Z field (place 0, 1, 2).
rt::Text ComponentName(const rt::Text& vector, int place) {
  int16_t index = 0;
  if (FindVector(vector, index) != 0) return u"";
  const VecRec& v = Tables.VecTable[index];
  return place == 0 ? v.XFuncName : (place == 1 ? v.YFuncName : v.ZFuncName);
}

// A call inside a component of <X,Y,Z> takes its arguments into the function's body, as a call in
// a definition does: products, negations, nested calls, constants with either sign, component
// references and several parameters. Each shape stands in each of the three places in turn (the
// other two hold t and 1) and its component is compared with the mathematics at several t.
TEST_F(DefinitionsTest, CallsInComponentsTakeTheirArguments) {
  const struct {
    const char16_t* shape;
    double (*value)(double t);
  } cases[] = {
      {u"F{t*2}", [](double t) { return Cubic(2 * t); }},
      {u"F{-t}", [](double t) { return Cubic(-t); }},
      {u"-F{t}", [](double t) { return -Cubic(t); }},
      {u"2*F{t}*F{-t}", [](double t) { return 2 * Cubic(t) * Cubic(-t); }},
      {u"F{t}^2", [](double t) { return Cubic(t) * Cubic(t); }},
      {u"F{t/2}-F{t}", [](double t) { return Cubic(t / 2) - Cubic(t); }},
      {u"F{(t+1)*2}", [](double t) { return Cubic((t + 1) * 2); }},
      {u"F{F{t}}", [](double t) { return Cubic(Cubic(t)); }},
      {u"F{k}*t", [](double t) { return Cubic(3) * t; }},
      {u"F{-k}", [](double) { return Cubic(-3); }},
      {u"-F{-k}/F{k}", [](double) { return -Cubic(-3) / Cubic(3); }},
      {u"F{Sin[t]}", [](double t) { return Cubic(std::sin(t)); }},
      {u"Sqrt[F{t}^2]", [](double t) { return std::fabs(Cubic(t)); }},
      {u"F{A.x}", [](double t) { return Cubic(t * t); }},
      {u"G{t,2}", [](double t) { return Pair(t, 2); }},
      {u"G{2*t,-t}", [](double t) { return Pair(2 * t, -t); }},
      {u"-G{t,t}+F{t}", [](double t) { return -Pair(t, t) + Cubic(t); }},
      {u"G{F{t},k}", [](double t) { return Pair(Cubic(t), 3); }},
      {u"G{-k,A.y}*A.x", [](double t) { return Pair(-3, 1 - t) * t * t; }},
      {u"H{t,2,-t}", [](double t) { return Triple(t, 2, -t); }},
      {u"H{G{t,k},-t,F{t}}", [](double t) { return Triple(Pair(t, 3), -t, Cubic(t)); }},
  };
  for (const auto& c : cases) {
    for (int place = 0; place < 3; ++place) {
      rt::Text parts[3] = {u"t", u"1", u"t"};
      parts[place] = c.shape;
      const rt::Text vector = u"V<t>=<" + parts[0] + u"," + parts[1] + u"," + parts[2] + u">";
      SCOPED_TRACE(U8(vector));
      LanguageTest::SetUp();
      ASSERT_EQ(Run({u"F{x}=x^3-x", u"G{x,y}=x*y-y", u"H{a,b,c}=a-b*c", u"k=3", u"A<t>=<t^2,1-t,0>",
                     vector.c_str()}),
                0);
      const rt::Text name = ComponentName(u"V_", place);
      for (double t : {-1.25, 0.5, 2.0}) {
        const double expected = c.value(t);
        EXPECT_NEAR(ValueOf(name, t), expected, 1e-12 * std::max(1.0, std::fabs(expected)))
            << "t = " << t;
      }
    }
  }
}

// Calls whose arguments do not match their function, or name no function, are refused as they
// are in a definition; a function of two parameters without arguments is still refused. A
// component whose calls would pass the length an expansion may have (P five deep is 8^5 = 32,768
// copies of t), or that nests calls more than a hundred deep, is refused as too long.
TEST_F(DefinitionsTest, CallsInComponentsThatDoNotMatch) {
  const std::pair<const char16_t*, int16_t> cases[] = {
      {u"V<t>=<F{t,1},1,1>", 507},       // more arguments than parameters
      {u"V<t>=<1,G{t},1>", 507},         // fewer
      {u"V<t>=<1,1,Q{t}>", 57},          // no such function
      {u"V<t>=<G,1,1>", 667},            // two parameters, no arguments
      {u"V<t>=<F{t},G{t,1},1,1>", 412},  // a fourth component
      {u"V<t>=<1,P{P{P{P{P{t}}}}},1>", 508},
  };
  rt::Text deep = u"t";
  for (int k = 0; k < 101; ++k) deep = u"F{" + deep + u"}";
  const rt::Text deepStatement = u"V<t>=<1,1," + deep + u">";
  for (const auto& [statement, msg] : cases) {
    SCOPED_TRACE(U8(statement));
    LanguageTest::SetUp();
    EXPECT_EQ(Run({u"F{x}=x^3-x", u"G{x,y}=x*y-y", u"P{x}=x*x*x*x*x*x*x*x", statement}), msg);
  }
  LanguageTest::SetUp();
  EXPECT_EQ(Run({u"F{x}=x^3-x", deepStatement.c_str()}), 508);
}

}  // namespace
}  // namespace ms
