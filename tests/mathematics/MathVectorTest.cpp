#include <gtest/gtest.h>

#include <cmath>

#include "language/Classify.h"
#include "language/CommandArguments.h"
#include "language/CompileCode.h"
#include "language/ProcessConst.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Math.h"
#include "mathematics/MathVector.h"
#include "support/WorksheetFixture.h"

namespace ms {
namespace {

std::string U8(const rt::Text& t) {
  return rt::ToUtf8(t);
}

// Relative comparison with an absolute floor for values near zero.
void ExpectNear(double actual, double expected) {
  EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected)));
}

struct Vec3 {
  double x, y, z;
};

class MathVectorTest : public testing::WorksheetTest {
 protected:
  // One statement in stored form, classified and stored, then the table compiled.
  static int16_t Run(const rt::Text& statement) {
    rt::Text s;
    TokenizeNames(statement, s);
    int16_t msg = 0;
    ClassifyAndStore(s, msg);
    if (msg == 0) CompileFunctions(s, msg);
    return msg;
  }
  using WorksheetTest::Run;

  void RunAll(std::initializer_list<const char16_t*> statements) {
    for (const char16_t* s : statements) ASSERT_EQ(Run(s), 0) << U8(s);
  }

  // The value of a compiled function at parameter value t, as curve generation gets it.
  double ValueOf(const rt::Text& funcName, const rt::Text& parm, double t) {
    rt::Text first;
    int16_t index = 0, msg = 0;
    FindFunction(funcName, first, index, msg);
    const int32_t savedTop = Tables.ValueTop;
    AppendValue(parm, t, msg);
    double result = NAN;
    msg = Evaluate(Tables.FuncTable[index].Code, result);
    EXPECT_EQ(msg, 0) << U8(funcName);
    Tables.ValueTop = savedTop;
    return result;
  }

  void ExpectVector(const rt::Text& id, double t, Vec3 expected) {
    SCOPED_TRACE(U8(id) + " at " + std::to_string(t));
    int16_t index = 0;
    const int16_t msg = FindVector(id, index);
    ASSERT_EQ(msg, 0);
    const VecRec v = Tables.VecTable[index];
    ExpectNear(ValueOf(v.XFuncName, v.Parm, t), expected.x);
    ExpectNear(ValueOf(v.YFuncName, v.Parm, t), expected.y);
    ExpectNear(ValueOf(v.ZFuncName, v.Parm, t), expected.z);
  }
};

TEST_F(MathVectorTest, StacksRefuseUnderflowAndOverflow) {
  // The stacks refuse underflow (327, 328) and overflow (510).
  VecRec v;
  ConstRec s;
  EXPECT_EQ(PopVector(v), 327);
  EXPECT_EQ(PopScalar(s), 328);
  for (int k = 1; k <= kVecStackSize; ++k) {
    v.Name = s.Name = rt::IntText(k);
    ASSERT_EQ(PushVector(v), 0);
    ASSERT_EQ(PushScalar(s), 0);
  }
  EXPECT_EQ(PushVector(v), 510);
  EXPECT_EQ(PushScalar(s), 510);
  EXPECT_EQ(PopVector(v), 0);
  EXPECT_EQ(PopScalar(s), 0);
  EXPECT_EQ(U8(v.Name + s.Name), "400400");
}

TEST_F(MathVectorTest, OperationsAgainstTheirComponentValues) {
  RunAll({u"an=0.7",
          u"sc=2.5",
          u"kk=3",
          u"A_<t>=<t,2*t^2,3-t>",
          u"B_<t>=<Cos[t],Sin[t],t>",
          u"C_<t>=<Cos[t],Sin[t],0>",
          u"M_<t>=<3,4,0>",
          u"O_<t>=<1,1,1>",
          u"S_<t>=vAdd[A_,B_]",
          u"D_<t>=vSub[A_,B_]",
          u"U_<t>=vUnit[A_]",
          u"P_<t>=vMpy[sMag[M_],O_]",
          u"Q_<t>=vMpy[sc,A_]",
          u"R_<t>=vDiv[A_,sc]",
          u"T_<t>=vTran[A_,kk,an,sc]",
          u"X_<t>=vCross[A_,B_]",
          u"Rx<t>=vRotx[A_,an]",
          u"Ry<t>=vRoty[A_,an]",
          u"Rz<t>=vRotz[A_,-an]",
          u"Dd<t>=vDiff[A_]",
          u"Ee<t>=vDiff[A_,2]",
          u"Tt<t>=vTan[C_]",
          u"Nn<t>=vNorm[C_]",
          u"V_<t>=vEval[A_,kk]",
          u"Ds{t}=sDot[A_,B_]",
          u"Ms{t}=sMag[A_]",
          u"Ps{t}=sMpy[sc,kk]",
          u"Qs{t}=sDiv[sc,kk]",
          u"Vs{t}=sPwr[kk,sc]"});
  const double c = std::cos(0.7), s = std::sin(0.7);
  for (double t : {-1.3, 0.4, 2.0}) {
    const Vec3 a{t, 2 * t * t, 3 - t}, b{std::cos(t), std::sin(t), t};
    const double m = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    ExpectVector(u"S_", t, {a.x + b.x, a.y + b.y, a.z + b.z});
    ExpectVector(u"D_", t, {a.x - b.x, a.y - b.y, a.z - b.z});
    ExpectVector(u"U_", t, {a.x / m, a.y / m, a.z / m});
    ExpectVector(u"P_", t, {5, 5, 5});
    ExpectVector(u"Q_", t, {2.5 * a.x, 2.5 * a.y, 2.5 * a.z});
    ExpectVector(u"R_", t, {a.x / 2.5, a.y / 2.5, a.z / 2.5});
    ExpectVector(u"T_", t, {a.x + 3, a.y + 0.7, a.z + 2.5});
    ExpectVector(u"X_", t, {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x});
    // Rx = [1 0 0; 0 c -s; 0 s c], Ry = [c 0 s; 0 1 0; -s 0 c], Rz(-an) = [c s 0; -s c 0; 0 0 1].
    ExpectVector(u"Rx", t, {a.x, c * a.y - s * a.z, s * a.y + c * a.z});
    ExpectVector(u"Ry", t, {c * a.x + s * a.z, a.y, -s * a.x + c * a.z});
    ExpectVector(u"Rz", t, {c * a.x + s * a.y, -s * a.x + c * a.y, a.z});
    ExpectVector(u"Dd", t, {1, 4 * t, -1});
    ExpectVector(u"Ee", t, {0, 4, 0});
    ExpectVector(u"Tt", t, {-std::sin(t), std::cos(t), 0});
    ExpectVector(u"Nn", t, {-std::cos(t), -std::sin(t), 0});
    ExpectVector(u"V_", t, {3, 18, 0});  // A_ at kk = 3
    ExpectNear(ValueOf(u"Ds", u"t", t), a.x * b.x + a.y * b.y + a.z * b.z);
    ExpectNear(ValueOf(u"Ms", u"t", t), m);
    ExpectNear(ValueOf(u"Ps", u"t", t), 7.5);
    ExpectNear(ValueOf(u"Qs", u"t", t), 2.5 / 3);
    ExpectNear(ValueOf(u"Vs", u"t", t), std::pow(3, 2.5));
  }
}

// An operand that is itself an operation (a cross product's component is a difference, sMpy a
// product) keeps its grouping wherever it is pasted: each result against the hand products.
TEST_F(MathVectorTest, NestedOperandsKeepTheirGrouping) {
  RunAll({u"th=0.4", u"a_=2", u"b_=3", u"A_<t>=<1-t,-t,t^2>", u"B_<t>=<-1,0.5,2*t>",
          u"E_<t>=<t^2,1-t,0>", u"Rx<t>=vRotx[vCross[A_,B_],th]", u"Ry<t>=vRoty[vCross[A_,B_],-th]",
          u"Rz<t>=vRotz[vCross[A_,B_],sMpy[th,a_]]", u"Dm<t>=vDiv[vCross[A_,B_],sMpy[a_,b_]]",
          u"Dd<t>=vDiv[B_,sDiv[a_,b_]]", u"Mp<t>=vMpy[vCross[A_,B_],sDiv[a_,b_]]",
          u"Tr<t>=vTran[vCross[A_,B_],-th,sMpy[a_,b_],sDiv[a_,b_]]", u"Ev<t>=vEval[E_,sMpy[a_,b_]]",
          u"Un<t>=vUnit[vSub[A_,B_]]", u"Ad<t>=vAdd[vCross[A_,B_],vRotz[A_,th]]",
          u"Sd{t}=sDot[vRotz[vCross[A_,B_],th],A_]", u"Sm{t}=sMag[vCross[A_,B_]]"});
  const double c = std::cos(0.4), s = std::sin(0.4), c8 = std::cos(0.8), s8 = std::sin(0.8);
  for (double t : {-1.5, 0.5, 2.0}) {
    const Vec3 a{1 - t, -t, t * t}, b{-1, 0.5, 2 * t};
    const Vec3 x{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const Vec3 d{a.x - b.x, a.y - b.y, a.z - b.z};
    const double md = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const Vec3 rz{c * x.x - s * x.y, s * x.x + c * x.y, x.z};
    ExpectVector(u"Rx", t, {x.x, c * x.y - s * x.z, s * x.y + c * x.z});
    ExpectVector(u"Ry", t, {c * x.x - s * x.z, x.y, s * x.x + c * x.z});  // angle -0.4
    ExpectVector(u"Rz", t, {c8 * x.x - s8 * x.y, s8 * x.x + c8 * x.y, x.z});
    ExpectVector(u"Dm", t, {x.x / 6, x.y / 6, x.z / 6});
    ExpectVector(u"Dd", t, {b.x * 1.5, b.y * 1.5, b.z * 1.5});
    ExpectVector(u"Mp", t, {x.x * 2 / 3, x.y * 2 / 3, x.z * 2 / 3});
    ExpectVector(u"Tr", t, {x.x - 0.4, x.y + 6, x.z + 2.0 / 3});
    ExpectVector(u"Ev", t, {36, -5, 0});  // E_ at 6
    ExpectVector(u"Un", t, {d.x / md, d.y / md, d.z / md});
    ExpectVector(u"Ad", t, {x.x + c * a.x - s * a.y, x.y + s * a.x + c * a.y, x.z + a.z});
    ExpectNear(ValueOf(u"Sd", u"t", t), rz.x * a.x + rz.y * a.y + rz.z * a.z);
    ExpectNear(ValueOf(u"Sm", u"t", t), std::sqrt(x.x * x.x + x.y * x.y + x.z * x.z));
  }
}

TEST_F(MathVectorTest, ComponentRecordsAndIdentifiers) {
  RunAll({u"A_<t>=<1,0,0>", u"B_<t>=<0,1,0>", u"C_<s>=vAdd[A_,B_]"});
  // Later statements process the last vector again; it is still found by name.
  ASSERT_EQ(Run(u"m_=2"), 0);
  ExpectVector(u"C_", 0, {1, 1, 0});
  // The normal takes three component records and one counter number: no temporary record stays.
  const int16_t functions = Tables.FuncCount, counter = VectorStacks.ComponentFuncCounter;
  ASSERT_EQ(Run(u"N_<t>=vNorm[C_]"), 0);
  EXPECT_EQ(Tables.FuncCount, functions + 3);
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, counter + 1);
}

TEST_F(MathVectorTest, ExpansionErrors) {
  struct Case {
    const char16_t* statement;
    int16_t msg;
  } cases[] = {
      {u"C_<t>=vAdd[sMag[A_],B_]", 327},   // a scalar where a second vector is needed
      {u"C_<t>=vRotx[A_,B_]", 328},        // a vector where the angle is needed
      {u"C_<t>=vAdd[A_,Zz]", 325},         // unknown vector
      {u"C_<t>=vMpy[qq,A_]", 326},         // unknown constant
      {u"C_<t>=vMpy[-A_,ax]", 650},        // minus on a vector identifier
      {u"C_<t>=vDiff[A_,0]", 540},         // order 0
      {u"C_<t>=vMpy[2,A_]", 1330},         // digits are no operand
      {u"C_<t>=vMpy[ax/ax,A_]", 1310},     // "/" is no vector operation
      {u"F_{t}=sPwr[ax,sMag[A_]]", 1320},  // computed exponent
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    SetUp();
    RunAll({u"ax=2", u"A_<t>=<1,2,3>", u"B_<t>=<t,t,t>"});
    EXPECT_EQ(Run(c.statement), c.msg);
  }
}

TEST_F(MathVectorTest, StaleStackRecordsDoNotReachTheNextExpansion) {
  RunAll({u"A_<t>=<1,2,3>", u"B_<t>=<4,5,6>"});
  ASSERT_EQ(Run(u"C_<t>=vAdd[sMag[A_],B_]"), 327);  // leaves the magnitude on the scalar stack
  EXPECT_GT(VectorStacks.ScalarSP + VectorStacks.VecSP, 0);
  // The next statement redefines the vector; its expansion starts from empty stacks.
  ASSERT_EQ(Run(u"D_<t>=vMpy[sMag[B_],A_]"), 0);
  const double m = std::sqrt(16.0 + 25 + 36);
  ExpectVector(u"D_", 0, {m, 2 * m, 3 * m});
  EXPECT_EQ(VectorStacks.VecSP, 0);
  EXPECT_EQ(VectorStacks.ScalarSP, 0);
}

TEST_F(MathVectorTest, CounterAndTableLimitsGive510) {
  RunAll({u"A_<t>=<1,0,0>"});
  VectorStacks.ComponentFuncCounter = 998;
  EXPECT_EQ(Run(u"B_<t>=vUnit[A_]"), 0);  // number 999 is the last
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, 999);
  rt::Text name = u"B_";
  EXPECT_EQ(ExpandVectorExpr(name), 510);

  VectorStacks.ComponentFuncCounter = 0;
  Tables.FuncCount = kMaxFunctions - 2;  // room for two records only
  for (int k = 4; k <= Tables.FuncCount; ++k) Tables.FuncTable[k].Name = u"Pad";
  EXPECT_EQ(ExpandVectorExpr(name), 510);
  EXPECT_EQ(Tables.FuncCount, kMaxFunctions - 2);
}

TEST_F(MathVectorTest, DerivativeOrderFromTheScalarStack) {
  RunAll(
      {u"A_<t>=<t^3,t^2,t>", u"F_{x}=x", u"nn=2"});  // nn: a constant whose expression is an order
  struct Case {
    const char* label;
    bool push;
    ConstRec top;
    int16_t msg;
    int16_t scalarsLeft;
    double xAt3;  // the x component, a derivative of t^3, at t = 3
  } cases[] = {
      {"empty stack: first derivative", false, {}, 0, 0, 27},
      {"a number", true, ConstRec{2, u"nDer", u"", u"2"}, 0, 0, 18},
      {"a computed scalar stays", true, ConstRec{1, u"m$", u"", u"(5)"}, 0, 1, 27},
      {"a constant gives its expression", true, ConstRec{0, u"nn", u"", u""}, 0, 0, 18},
      {"an unknown constant", true, ConstRec{0, u"qq", u"", u""}, 378, 0, 0},
      {"a function identifier", true, ConstRec{0, u"F_", u"", u""}, 996, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ResetVectorStacks();
    VectorStacks.ComponentFuncCounter = 50;
    // The operand as the scan pushes it: its component texts read from its functions.
    VecRec a = Tables.VecTable[1];
    if (c.push) {
      ASSERT_EQ(PushScalar(c.top), 0);
    }
    ASSERT_EQ(PushVector(a), 0);
    int16_t msg = VectorOp(u'\u00E0');
    EXPECT_EQ(msg, c.msg);
    EXPECT_EQ(VectorStacks.ScalarSP, c.scalarsLeft);
    if (c.msg != 0) continue;
    VecRec d;
    ASSERT_EQ(PopVector(d), 0);
    // Evaluate the x component through a text request at t = 3.
    rt::Text value;
    EvaluateText(ReplaceParameterLetter(d.XExpr, u"t", u"(3)"), value, msg);
    ASSERT_EQ(msg, 0);
    EXPECT_DOUBLE_EQ(rt::Val(value), c.xAt3) << U8(d.XExpr);
  }
}

TEST_F(MathVectorTest, OddTextsEndWithAMessage) {
  RunAll({u"ax=2", u"A_<t>=<1,2,3>"});
  const char16_t* cases[] = {
      u"", u"\u00D8[", u"\u00D8[A_,,]", u"\u00F1[ax,-]", u"\u00DF[#,A_]xx", u"\u00E3[Zq]",
  };
  for (const char16_t* text : cases) {
    SCOPED_TRACE(U8(text));
    const int16_t functions = Tables.FuncCount;
    Tables.VecCount = 2;
    Tables.VecTable[2] = VecRec{};
    Tables.VecTable[2].Name = u"C_";
    Tables.VecTable[2].Parm = u"t";
    Tables.VecTable[2].DefText = text;
    EXPECT_NE(ExpandVectorExpr(u"C_"), 0);
    EXPECT_EQ(Tables.FuncCount, functions);
  }
}

TEST_F(MathVectorTest, ReplaceParameterLetterSkipsIdentifiers) {
  struct Case {
    const char16_t* expr;
    const char16_t* result;
  } cases[] = {
      {u"t^2+2*t", u"(2)^2+2*(2)"},
      {u"ta*t+at", u"ta*(2)+at"},    // constants ta and at keep their letters
      {u"Ft{t}+t_", u"Ft{(2)}+t_"},  // function identifier Ft, constant t_
      {u"\u00C8[t]", u"\u00C8[(2)]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.expr));
    EXPECT_EQ(U8(ReplaceParameterLetter(c.expr, u"t", u"(2)")), U8(c.result));
  }
}

}  // namespace
}  // namespace ms
