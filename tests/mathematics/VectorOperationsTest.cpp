#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "commands/ExecuteCommands.h"
#include "language/CommandArguments.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Classify.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Constants.h"
#include "mathematics/Evaluator.h"
#include "mathematics/VectorOperations.h"
#include "support/ExactDerivatives.h"
#include "support/WorksheetFixture.h"

namespace ms {
namespace {

// Relative comparison with an absolute floor for values near zero.
void ExpectNear(double actual, double expected) {
  EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected)));
}

struct Vec3 {
  double x, y, z;
};

Vec3 Add(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 Scale(Vec3 a, double k) {
  return {k * a.x, k * a.y, k * a.z};
}
double Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// The turn by w radians about axis 0 (x), 1 (y) or 2 (z), counterclockwise looking down the axis:
// the two other coordinates, in cyclic order (y z, z x, x y), turn as a plane vector.
Vec3 Rot(Vec3 v, int axis, double w) {
  double c[3] = {v.x, v.y, v.z};
  const int i = (axis + 1) % 3, j = (axis + 2) % 3;
  const double p = c[i];
  c[i] = std::cos(w) * p - std::sin(w) * c[j];
  c[j] = std::sin(w) * p + std::cos(w) * c[j];
  return {c[0], c[1], c[2]};
}

class VectorOperationsTest : public testing::WorksheetTest {
 protected:
  // Statements in stored form, each classified and stored and the table compiled after it; the
  // message of the first that fails.
  static int16_t Store(std::initializer_list<const char16_t*> statements) {
    for (const char16_t* statement : statements) {
      rt::Text s;
      TokenizeNames(statement, s);
      int16_t msg = ClassifyAndRun(s);
      if (msg == 0) msg = CompileFunctions(s);
      if (msg != 0) return msg;
    }
    return 0;
  }

  // The value of a compiled function at parameter value t, as curve generation gets it.
  double ValueOf(const rt::Text& funcName, double t) {
    rt::Text first;
    int16_t index = 0, msg = 0;
    msg = FindFunction(funcName, first, index);
    const int32_t savedTop = Tables.ValueTop;
    AppendValue(Tables.FuncTable[index].Parm1, t, msg);
    double result = NAN;
    EXPECT_EQ(0, Evaluate(Tables.FuncTable[index].Code, result)) << rt::ToUtf8(funcName);
    Tables.ValueTop = savedTop;
    return result;
  }

  void ExpectVector(const rt::Text& id, double t, Vec3 expected) {
    SCOPED_TRACE(rt::ToUtf8(id) + " at " + std::to_string(t));
    int16_t index = 0;
    ASSERT_EQ(0, FindVector(id, index));
    const VecRec v = Tables.VecTable[index];
    ExpectNear(ValueOf(v.XFuncName, t), expected.x);
    ExpectNear(ValueOf(v.YFuncName, t), expected.y);
    ExpectNear(ValueOf(v.ZFuncName, t), expected.z);
  }
};

// Every operation against the vector algebra worked here. Operands that are operations
// themselves (a cross product's component is a difference, sMpy a product) keep their grouping
// wherever they are pasted.
TEST_F(VectorOperationsTest, OperationsAgainstTheirComponentValues) {
  ASSERT_EQ(0, Store({u"th=0.4", u"a_=2", u"b_=3", u"sc=2.5", u"kk=3", u"A_<t>=<1-t,-t,t^2>",
                      u"B_<t>=<-1,0.5,2*t>", u"C_<t>=<Cos[t],Sin[t],0>", u"E_<t>=<t^2,1-t,0>"}));
  // Ev is E_ at 6.
  ASSERT_EQ(
      0, Store({u"Rx<t>=vRotx[vCross[A_,B_],th]", u"Ry<t>=vRoty[vCross[A_,B_],-th]",
                u"Rz<t>=vRotz[vCross[A_,B_],sMpy[th,a_]]", u"Dm<t>=vDiv[vCross[A_,B_],sMpy[a_,b_]]",
                u"Q_<t>=vMpy[sc,A_]", u"Tr<t>=vTran[vCross[A_,B_],-th,sMpy[a_,b_],sDiv[a_,b_]]",
                u"Ev<t>=vEval[E_,sMpy[a_,b_]]", u"Un<t>=vUnit[vSub[A_,B_]]",
                u"Ad<t>=vAdd[vCross[A_,B_],vRotz[A_,th]]", u"Df<t>=vDiff[A_]", u"Dg<t>=vDiff[A_,2]",
                u"Tt<t>=vTan[C_]", u"Nn<t>=vNorm[C_]", u"Sd{t}=sDot[vRotz[vCross[A_,B_],th],A_]",
                u"Sm{t}=sMag[vCross[A_,B_]]", u"Ps{t}=sMpy[sc,kk]", u"Qs{t}=sDiv[sc,kk]",
                u"Vs{t}=sPwr[kk,sc]"}));
  for (double t : {-1.5, 0.5, 2.0}) {
    const Vec3 a{1 - t, -t, t * t}, b{-1, 0.5, 2 * t}, x = Cross(a, b), d = Add(a, Scale(b, -1));
    const std::pair<const char16_t*, Vec3> vectors[] = {{u"Rx", Rot(x, 0, 0.4)},
                                                        {u"Ry", Rot(x, 1, -0.4)},
                                                        {u"Rz", Rot(x, 2, 0.8)},
                                                        {u"Dm", Scale(x, 1.0 / 6)},
                                                        {u"Q_", Scale(a, 2.5)},
                                                        {u"Tr", Add(x, {-0.4, 6, 2.0 / 3})},
                                                        {u"Ev", {36, -5, 0}},
                                                        {u"Un", Scale(d, 1 / std::sqrt(Dot(d, d)))},
                                                        {u"Ad", Add(x, Rot(a, 2, 0.4))},
                                                        {u"Df", {-1, -1, 2 * t}},
                                                        {u"Dg", {0, 0, 2}},
                                                        {u"Tt", {-std::sin(t), std::cos(t), 0}},
                                                        {u"Nn", {-std::cos(t), -std::sin(t), 0}}};
    for (const auto& [id, v] : vectors) ExpectVector(id, t, v);
    const std::pair<const char16_t*, double> scalars[] = {{u"Sd", Dot(Rot(x, 2, 0.4), a)},
                                                          {u"Sm", std::sqrt(Dot(x, x))},
                                                          {u"Ps", 7.5},
                                                          {u"Qs", 2.5 / 3},
                                                          {u"Vs", std::pow(3, 2.5)}};
    for (const auto& [id, v] : scalars) ExpectNear(ValueOf(id, t), v);
  }
}

// Components that start with a negated parameter, wrapped in brackets by vAdd[ and vDiv[ before
// vDiff[ differentiates them: a built-in of such a sum and the sum itself, every built-in, orders
// 1 to 4, against the chain rule worked by hand.
TEST_F(VectorOperationsTest, DerivativesOfNegatedComponents) {
  for (const testing::ExactBuiltin& f : testing::ExactBuiltins()) {
    for (const testing::ExactArgument& g : testing::NegatedArguments()) {
      const rt::Text arg = testing::WithVariable(g.text, u't');
      const rt::Text a =
          u"A<t>=<" + f.name + arg + u"]," + arg + u",2>\r\nB<t>=<t,1,2>\r\nk2=2\r\n";
      for (int n = 1; n <= 4; ++n) {
        const rt::Text order(1, static_cast<char16_t>(u'0' + n));
        const double h = testing::ChainRule(f.jet(g.jet[0]), g.jet, n), first = n == 1 ? 1 : 0;
        const std::pair<rt::Text, Vec3> cases[] = {
            {u"C<t>=vAdd[A,B]\r\n", {h + first, g.jet[n], 0}},
            {u"C<t>=vDiv[A,k2]\r\n", {h / 2, g.jet[n] / 2, 0}}};
        for (const auto& [c, expected] : cases) {
          const rt::Text w = a + c + u"D<t>=vDiff[C," + order + u"]\r\n";
          SCOPED_TRACE(rt::ToUtf8(w));
          // Component names keep counting from run to run, as Execute by its button leaves them.
          VectorStacks.ComponentFuncCounter = 0;
          ASSERT_EQ(0, RunText(w));
          ExpectVector(u"D_", g.x0, expected);
        }
      }
    }
  }
}

// The two vector worksheets of the fault report, with their values from a computer algebra
// system: d/dt of <-t-t+t, -t*t+1, Sin[-t]+2> and of <-t-Alog[t], -t*t, 3>/2.
TEST_F(VectorOperationsTest, NegatedComponentsOfTheFaultReport) {
  ASSERT_EQ(
      0, Run({u"A<t>=<-t-t,-t*t,Sin[-t]>", u"B<t>=<t,1,2>", u"C<t>=vAdd[A,B]", u"D<t>=vDiff[C]"}));
  ExpectVector(u"D_", 0.5, {-1, -1, -std::cos(0.5)});
  ASSERT_EQ(0, Run({u"k2=2", u"A<t>=<-t-Alog[t],-t*t,3>", u"C<t>=vDiv[A,k2]", u"D<t>=vDiff[C]"}));
  ExpectVector(u"D_", 0.7, {(-1 - std::pow(10, 0.7) * std::log(10)) / 2, -0.7, 0});
}

// The unit tangent of a vector whose first component is a sum of 600 terms, Sin[k*t]/k: its
// derivative is the sum of Cos[k*t], the tangent (that sum, 1, 0) over its length.
TEST_F(VectorOperationsTest, TangentOfALongSum) {
  rt::Text sum = u"Sin[1*t]/1";
  for (int k = 2; k <= 600; ++k) sum += u"+Sin[" + rt::IntText(k) + u"*t]/" + rt::IntText(k);
  VectorStacks.ComponentFuncCounter = 0;
  ASSERT_EQ(0, RunText(u"A<t>=<" + sum + u",t,1>\r\nT<t>=vTan[A]\r\n"));
  for (double t : {0.5, 2.0}) {
    double d = 0;
    for (int k = 1; k <= 600; ++k) d += std::cos(k * t);
    const double m = std::sqrt(d * d + 1);
    ExpectVector(u"T_", t, {d / m, 1 / m, 0});
  }
}

TEST_F(VectorOperationsTest, StacksRefuseOverflow) {
  VecRec v;
  ConstRec s;
  for (int k = 1; k <= kVecStackSize; ++k) {
    v.Name = s.Name = rt::IntText(k);
    ASSERT_EQ(0, PushVector(v));
    ASSERT_EQ(0, PushScalar(s));
  }
  EXPECT_EQ(510, PushVector(v));
  EXPECT_EQ(510, PushScalar(s));
  EXPECT_EQ(0, PopVector(v) + PopScalar(s));
  EXPECT_EQ(rt::ToUtf8(v.Name + s.Name), "400400");
}

TEST_F(VectorOperationsTest, ComponentRecordsAndIdentifiers) {
  // Later statements process the last vector again; it is still found by name.
  ASSERT_EQ(0, Store({u"A_<t>=<1,0,0>", u"B_<t>=<0,1,0>", u"C_<s>=vAdd[A_,B_]", u"m_=2"}));
  ExpectVector(u"C_", 0, {1, 1, 0});
  // The normal takes three component records and one counter number: no temporary record stays.
  const int16_t functions = Tables.FuncCount, counter = VectorStacks.ComponentFuncCounter;
  ASSERT_EQ(0, Store({u"N_<t>=vNorm[C_]"}));
  EXPECT_EQ(Tables.FuncCount, functions + 3);
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, counter + 1);
}

TEST_F(VectorOperationsTest, ExpansionErrors) {
  const std::pair<const char16_t*, int16_t> cases[] = {
      {u"C_<t>=vAdd[sMag[A_],B_]", 327},   // a scalar where a second vector is needed
      {u"C_<t>=vRotx[A_,B_]", 328},        // a vector where the angle is needed
      {u"C_<t>=vAdd[A_,Zz]", 325},         // unknown vector
      {u"C_<t>=vTan[vAdd[A_,B_]]", 325},   // only a named vector has component functions
      {u"C_<t>=vMpy[qq,A_]", 326},         // unknown constant
      {u"C_<t>=vMpy[-A_,ax]", 650},        // minus on a vector identifier
      {u"C_<t>=vDiff[A_,0]", 540},         // order 0
      {u"C_<t>=vMpy[2,A_]", 1330},         // digits are no operand
      {u"C_<t>=vMpy[ax/ax,A_]", 1310},     // "/" is no vector operation
      {u"F_{t}=sPwr[ax,sMag[A_]]", 1320},  // computed exponent
  };
  for (const auto& [statement, msg] : cases) {
    SCOPED_TRACE(rt::ToUtf8(statement));
    SetUp();
    ASSERT_EQ(0, Store({u"ax=2", u"A_<t>=<1,2,3>", u"B_<t>=<t,t,t>"}));
    const int16_t functions = Tables.FuncCount;
    EXPECT_EQ(msg, Store({statement}));
    // No component record is left behind (a function statement keeps its own record).
    EXPECT_EQ(functions + (statement[2] == u'{' ? 1 : 0), Tables.FuncCount);
  }
}

TEST_F(VectorOperationsTest, StaleStackRecordsDoNotReachTheNextExpansion) {
  // The failed statement leaves the magnitude on the scalar stack; the next expansion starts
  // from empty stacks.
  ASSERT_EQ(0, Store({u"A_<t>=<1,2,3>", u"B_<t>=<4,5,6>"}));
  ASSERT_EQ(327, Store({u"C_<t>=vAdd[sMag[A_],B_]"}));
  EXPECT_GT(VectorStacks.ScalarSP + VectorStacks.VecSP, 0);
  ASSERT_EQ(0, Store({u"D_<t>=vMpy[sMag[B_],A_]"}));
  const double m = std::sqrt(16.0 + 25 + 36);
  ExpectVector(u"D_", 0, {m, 2 * m, 3 * m});
  EXPECT_EQ(VectorStacks.VecSP + VectorStacks.ScalarSP, 0);
}

TEST_F(VectorOperationsTest, CounterAndTableLimitsGive510) {
  ASSERT_EQ(0, Store({u"A_<t>=<1,0,0>", u"B_<t>=vUnit[A_]"}));
  VectorStacks.ComponentFuncCounter = 998;
  EXPECT_EQ(0, ExpandVectorExpr(u"B_"));  // number 999 is the last
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, 999);
  EXPECT_EQ(510, ExpandVectorExpr(u"B_"));
  VectorStacks.ComponentFuncCounter = 0;
  const int16_t full = kMaxFunctions - 3;  // room for three records, then for two only
  for (int k = Tables.FuncCount + 1; k <= full; ++k) Tables.FuncTable[k].Name = u"Pad";
  Tables.FuncCount = full;
  // A first making has no records of its own to replace: it needs room for all three.
  Tables.VecTable[Tables.VecCount].ComponentMakes = 0;
  EXPECT_EQ(0, ExpandVectorExpr(u"B_"));
  Tables.FuncCount = full + 1;
  Tables.VecTable[Tables.VecCount].ComponentMakes = 0;
  EXPECT_EQ(510, ExpandVectorExpr(u"B_"));
  EXPECT_EQ(Tables.FuncCount, full + 1);
}

// The order of vDiff[ is the scalar on top of the stack. A statement always leaves its order digit
// there; any other scalar is no order.
TEST_F(VectorOperationsTest, DerivativeOrderMessages) {
  ASSERT_EQ(0, Store({u"A_<t>=<t^3,t^2,t>", u"F_{x}=x"}));
  const std::pair<ConstRec, int16_t> cases[] = {{ConstRec{0, u"qq", u"", u""}, 378},  // unknown
                                                {ConstRec{3, u"", u"", u""}, 378},    // parameter
                                                {ConstRec{0, u"F_", u"", u""}, 996}};
  for (const auto& [top, msg] : cases) {
    ResetVectorStacks();
    ASSERT_EQ(0, PushScalar(top) + PushVector(Tables.VecTable[1]));
    EXPECT_EQ(msg, VectorOp(u'\u00E0')) << rt::ToUtf8(top.Name);
  }
}

TEST_F(VectorOperationsTest, ReplaceParameterLetterSkipsIdentifiers) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"t^2+2*t", u"(2)^2+2*(2)"},
      {u"ta*t+at", u"ta*(2)+at"},    // constants ta and at keep their letters
      {u"Ft{t}+t_", u"Ft{(2)}+t_"},  // function identifier Ft, constant t_
      {u"\u00C8[t]", u"\u00C8[(2)]"}};
  for (const auto& [expr, result] : cases) {
    EXPECT_EQ(rt::ToUtf8(result), rt::ToUtf8(ReplaceParameterLetter(expr, u"t", u"(2)")));
  }
}

// Beside vDiff[, only the digit the vDiff[ call gives is a derivative order: an sPwr[ exponent in
// every written form and a constant whose name holds a digit keep their meaning. With
// A<t>=<t^2,t,1>, |A| = sqrt(t^4+t^2+1), A' = (2t,1,0) and A'' = (2,0,0).
TEST_F(VectorOperationsTest, NumbersBesideVDiffKeepTheirMeaning) {
  const auto mag = [](double t) { return std::sqrt(t * t * t * t + t * t + 1); };
  const struct {
    const char16_t* exponent;
    double value;
  } exponents[] = {{u"0.5", 0.5},   {u"1.5", 1.5}, {u"-1.5", -1.5}, {u"+1.5", 1.5}, {u"2.5", 2.5},
                   {u"0.25", 0.25}, {u"10", 10},   {u"12", 12},     {u"-1", -1},    {u"-2", -2},
                   {u".5", 0.5},    {u"k1", 0.75}, {u"-k1", -0.75}, {u"kk", -0.5}};
  for (const auto& e : exponents) {
    for (int order : {1, 2}) {
      const rt::Text order1 = order == 1 ? u"vDiff[A]" : u"vDiff[A,2]";
      const rt::Text c = u"C<t>=vMpy[" + order1 + u",sPwr[sMag[A]," + e.exponent + u"]]";
      const rt::Text s =
          u"S{t}=sPwr[sMag[vDiff[A," + rt::IntText(order) + u"]]," + e.exponent + u"]";
      SCOPED_TRACE(rt::ToUtf8(c) + "  " + rt::ToUtf8(s));
      ASSERT_EQ(0, Run({u"k1=0.75", u"kk=-0.5", u"A<t>=<t^2,t,1>", c.c_str(), s.c_str()}));
      for (double t : {-1.5, 0.5, 2.0}) {
        const double p = std::pow(mag(t), e.value);
        const Vec3 d = order == 1 ? Vec3{2 * t, 1, 0} : Vec3{2, 0, 0};
        ExpectVector(u"C_", t, Scale(d, p));
        ExpectNear(ValueOf(u"S_", t), std::pow(std::sqrt(Dot(d, d)), e.value));
      }
    }
  }
  // A constant whose name holds a digit, as the factor of a derivative.
  ASSERT_EQ(0, Run({u"k1=0.75", u"A<t>=<t^2,t,1>", u"C<t>=vMpy[vDiff[A,2],k1]",
                    u"D<t>=vAdd[vDiff[A],vMpy[k1,A]]"}));
  for (double t : {-1.5, 0.5, 2.0}) {
    ExpectVector(u"C_", t, {1.5, 0, 0});
    ExpectVector(u"D_", t, {2 * t + 0.75 * t * t, 1 + 0.75 * t, 0.75});
  }
}

// The nth derivative of t^2 e^t sin t by Leibniz's rule, with (e^t sin t)^(k) =
// 2^(k/2) e^t sin(t + k pi/4).
double ProductDerivative(int n, double t) {
  const auto u = [t](int k) {
    return k < 0 ? 0.0
                 : std::pow(2.0, k / 2.0) * std::exp(t) * std::sin(t + k * std::numbers::pi / 4);
  };
  return t * t * u(n) + 2.0 * n * t * u(n - 1) + n * (n - 1.0) * u(n - 2);
}

// vDiff[ of every order from 1 to 9: each order gives the derivative of that order, until the
// derivative's text passes the length a derivative may have (512); the orders are read from the
// one digit only, whatever its neighbours.
TEST_F(VectorOperationsTest, DerivativeOrdersUpToTheLengthLimit) {
  int refused = 0;
  for (int n = 1; n <= 9; ++n) {
    const rt::Text d = u"D<t>=vDiff[A," + rt::IntText(n) + u"]";
    SCOPED_TRACE(rt::ToUtf8(d));
    const int16_t msg = Run({u"A<t>=<t^2*Exp[t]*Sin[t],t^9,Exp[-2*t]>", d.c_str()});
    if (n <= 3) {
      EXPECT_EQ(msg, 0);  // short texts
    }
    if (msg != 0) {
      EXPECT_EQ(msg, 512);
      ++refused;
      continue;
    }
    double falling = 1;  // 9!/(9-n)!
    for (int k = 0; k < n; ++k) falling *= 9 - k;
    for (double t : {-0.75, 0.5, 1.25}) {
      ExpectVector(u"D_", t,
                   {ProductDerivative(n, t), falling * std::pow(t, 9 - n),
                    std::pow(-2.0, n) * std::exp(-2 * t)});
    }
  }
  EXPECT_GT(refused, 0);  // the table reaches the limit
}

}  // namespace
}  // namespace ms
