#include <gtest/gtest.h>

#include <cmath>

#include "language/ClearStorage.h"
#include "language/CompileCode.h"
#include "language/Definitions.h"
#include "language/Global.h"
#include "language/ProcessConst.h"
#include "language/Tokens.h"
#include "language/Utilities.h"
#include "mathematics/Math.h"
#include "mathematics/MathMacro.h"
#include "mathematics/MathVector.h"

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

class MathVectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    InitBuiltinNames();
    ResetVectorStacks();
    ResetMacroState();
    ResetMathState();
  }

  // One statement in stored form (identifiers padded, built-in names spelled out), stored the way
  // classification stores it, followed by its closing steps and the compile of the table.
  int16_t Run(const rt::Text& statement) {
    rt::Text s;
    TokenizeNames(statement, s);
    int16_t msg = 0;
    if (s[0] >= u'a' && s[0] <= u'z') {
      ProcessConstantStatement(s, msg);
    } else if (s[2] == u'{') {
      int k = static_cast<int>(s.find(u'}') - 2) / 2;
      StoreFunctionDefinition(s, k, msg);
    } else {
      StoreVectorDefinition(s, msg);
    }
    if (msg != 0) return msg;
    for (int k = 1; k <= Tables.FuncCount; ++k) {
      Tables.FuncTable[k].Expr = u"(" + Tables.FuncTable[k].Expr + u")";
    }
    if (Tables.VecCount >= 1) {
      VecRec& v = Tables.VecTable[Tables.VecCount];
      if (v.IsOperation) {
        rt::Text name = v.Name;
        ExpandVectorExpr(name, msg);
      } else {
        ProcessVectorDefinition(v, msg);
      }
      if (msg != 0) return msg;
    }
    rt::Text text = s;
    CompileFunctions(text, msg);
    return msg;
  }

  void RunAll(std::initializer_list<const char16_t*> statements) {
    for (const char16_t* s : statements) {
      SCOPED_TRACE(U8(s));
      ASSERT_EQ(Run(s), 0);
    }
  }

  // The value of a compiled function at parameter value t (as curve generation gets it: the
  // variable appended to the value list, the code evaluated).
  double ValueOf(const rt::Text& funcName, const rt::Text& parm, double t) {
    rt::Text first;
    int16_t index = 0;
    int16_t msg = 0;
    FindFunction(funcName, first, index, msg);
    EXPECT_EQ(msg, 0) << U8(funcName);
    if (msg != 0) return NAN;
    int32_t savedTop = Tables.ValueTop;
    AppendValue(parm, t, msg);
    double result = NAN;
    Evaluate(Tables.FuncTable[index].Code, result, msg);
    EXPECT_EQ(msg, 0) << U8(funcName) << " code " << U8(Tables.FuncTable[index].Code);
    Tables.ValueTop = savedTop;
    return result;
  }

  Vec3 VectorAt(const rt::Text& id, double t) {
    int16_t index = 0;
    int16_t msg = 0;
    FindVector(id, index, msg);
    EXPECT_EQ(msg, 0) << U8(id);
    if (msg != 0) return {NAN, NAN, NAN};
    const VecRec v = Tables.VecTable[index];
    return {ValueOf(v.XFuncName, v.Parm, t), ValueOf(v.YFuncName, v.Parm, t),
            ValueOf(v.ZFuncName, v.Parm, t)};
  }

  void ExpectVector(const rt::Text& id, double t, Vec3 expected) {
    SCOPED_TRACE(U8(id) + " at " + std::to_string(t));
    Vec3 v = VectorAt(id, t);
    ExpectNear(v.x, expected.x);
    ExpectNear(v.y, expected.y);
    ExpectNear(v.z, expected.z);
  }
};

TEST_F(MathVectorTest, FindVectorAndFindConstant) {
  Tables.VecCount = 2;
  Tables.VecTable[1].Name = u"A_";
  Tables.VecTable[2].Name = u"Bc";
  Tables.VecTable[3].Name = u"C_";  // beyond the count: not found
  Tables.ConstCount = 1;
  Tables.ConstTable[1].Name = u"ab";
  Tables.ConstTable[2].Name = u"k_";
  struct Case {
    const char16_t* id;
    bool vector;
    int16_t index;
    int16_t msg;
  } cases[] = {
      {u"A_", true, 1, 0},  {u"Bc", true, 2, 0},    {u"C_", true, 0, 325},  {u"a_", true, 0, 325},
      {u"ab", false, 1, 0}, {u"k_", false, 7, 326}, {u"AB", false, 7, 326},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.id));
    int16_t index = 7;
    int16_t msg = -5;
    if (c.vector) {
      FindVector(c.id, index, msg);
    } else {
      FindConstant(c.id, index, msg);
    }
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(msg, c.msg);
  }
}

TEST_F(MathVectorTest, StacksRefuseUnderflowAndOverflow) {
  VecRec v;
  ConstRec s;
  int16_t msg = 0;
  PopVector(v, msg);
  EXPECT_EQ(msg, 327);
  PopScalar(s, msg);
  EXPECT_EQ(msg, 328);
  for (int k = 1; k <= kVecStackSize; ++k) {
    v.Name = rt::IntText(k);
    PushVector(v, msg);
    ASSERT_EQ(msg, 0);
    s.Name = rt::IntText(k);
    PushScalar(s, msg);
    ASSERT_EQ(msg, 0);
  }
  PushVector(v, msg);
  EXPECT_EQ(msg, 510);
  PushScalar(s, msg);
  EXPECT_EQ(msg, 510);
  EXPECT_EQ(VectorStacks.VecSP, kVecStackSize);
  EXPECT_EQ(VectorStacks.ScalarSP, kScalarStackSize);
  PopVector(v, msg);
  EXPECT_EQ(U8(v.Name), "400");
  PopScalar(s, msg);
  EXPECT_EQ(U8(s.Name), "400");
}

TEST_F(MathVectorTest, VDiffArgumentsAreNormalised) {
  const rt::Text tok(1, u'\u00E0');
  struct Case {
    rt::Text text;
    int16_t msg;
    rt::Text result;
  } cases[] = {
      {tok + u"[A_]", 0, tok + u"[A_,1]"},
      {tok + u"[Bc,3]", 0, tok + u"[Bc,3]"},
      {u"\u00DF[ax," + tok + u"[A_]]", 0, u"\u00DF[ax," + tok + u"[A_,1]]"},
      {tok + u"[A_,0]", 540, u""},
      {tok + u"[A_,k_]", 540, u""},
      {tok + u"[A_,12]", 540, u""},
      {tok + u"[A", 540, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    rt::Text text = c.text;
    rt::Text result;
    int16_t msg = 0;
    ParseVDiffArgs(text, result, msg);
    EXPECT_EQ(msg, c.msg);
    if (c.msg == 0) {
      EXPECT_EQ(U8(result), U8(c.result));
    }
  }
}

TEST_F(MathVectorTest, ScanTextKeepsOperationsAndIdentifiers) {
  struct Case {
    const char16_t* text;
    const char16_t* scan;
  } cases[] = {
      {u"vAdd[A_,Bc]", u"\u00D8A_Bc"},
      {u"vMpy[sMag[A_],B_]", u"\u00DF\u00DEA_B_"},
      {u"vRotx[A_,-an]", u"\u00F7A_-an"},
      {u"sPwr[ax,2.5]", u"\u00F1ax2.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    rt::Text tokens;
    TokenizeNames(c.text, tokens);
    rt::Text scan;
    int16_t msg = 0;
    ExpandVectorMacros(tokens, scan, msg);
    EXPECT_EQ(msg, 0);
    EXPECT_EQ(U8(scan), U8(c.scan));
  }
}

TEST_F(MathVectorTest, CrossProductOfUnitVectors) {
  RunAll({u"A_<t>=<1,0,0>", u"B_<t>=<0,1,0>", u"C_<t>=vCross[A_,B_]", u"D_<t>=vCross[B_,A_]"});
  ExpectVector(u"C_", 0, {0, 0, 1});
  ExpectVector(u"D_", 0, {0, 0, -1});
}

TEST_F(MathVectorTest, CrossProductComponentTexts) {
  RunAll({u"A_<t>=<1,0,0>", u"B_<t>=<0,1,0>", u"C_<t>=vCross[A_,B_]"});
  // The component texts of the operands are their component functions' bodies; the cross product
  // writes each as (a)*(b)-(c)*(d) of them.
  const VecRec& c = Tables.VecTable[3];
  EXPECT_EQ(U8(c.ZExpr),
            U8(u"(" + Tables.VecTable[1].XExpr + u")*(" + Tables.VecTable[2].YExpr + u")-(" +
               Tables.VecTable[1].YExpr + u")*(" + Tables.VecTable[2].XExpr + u")"));
}

TEST_F(MathVectorTest, OperationValues) {
  RunAll({u"an=0.7", u"sc=2.5", u"tx=1", u"ty=-2", u"tz=3", u"A_<t>=<t,2*t^2,3-t>",
          u"B_<t>=<Cos[t],Sin[t],t>", u"M_<t>=<3,4,0>", u"O_<t>=<1,1,1>", u"S_<t>=vAdd[A_,B_]",
          u"D_<t>=vSub[A_,B_]", u"U_<t>=vUnit[A_]", u"P_<t>=vMpy[sMag[M_],O_]",
          u"Q_<t>=vMpy[sc,A_]", u"R_<t>=vDiv[A_,sc]", u"T_<t>=vTran[A_,tx,ty,tz]",
          u"X_<t>=vCross[A_,B_]"});
  for (double t : {-1.3, 0.0, 0.4, 2.0}) {
    SCOPED_TRACE(t);
    Vec3 a{t, 2 * t * t, 3 - t};
    Vec3 b{std::cos(t), std::sin(t), t};
    double mag = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    ExpectVector(u"S_", t, {a.x + b.x, a.y + b.y, a.z + b.z});
    ExpectVector(u"D_", t, {a.x - b.x, a.y - b.y, a.z - b.z});
    ExpectVector(u"U_", t, {a.x / mag, a.y / mag, a.z / mag});
    ExpectVector(u"P_", t, {5, 5, 5});
    ExpectVector(u"Q_", t, {2.5 * a.x, 2.5 * a.y, 2.5 * a.z});
    ExpectVector(u"R_", t, {a.x / 2.5, a.y / 2.5, a.z / 2.5});
    ExpectVector(u"T_", t, {a.x + 1, a.y - 2, a.z + 3});
    ExpectVector(u"X_", t, {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x});
  }
}

TEST_F(MathVectorTest, RotationsMatchTheirMatrices) {
  RunAll({u"an=0.7", u"A_<t>=<t,2*t^2,3-t>", u"X_<t>=vRotx[A_,an]", u"Y_<t>=vRoty[A_,an]",
          u"Z_<t>=vRotz[A_,an]", u"N_<t>=vRotz[A_,-an]"});
  const double c = std::cos(0.7), s = std::sin(0.7);
  for (double t : {-2.0, 0.5, 1.7}) {
    SCOPED_TRACE(t);
    Vec3 a{t, 2 * t * t, 3 - t};
    // Rx = [1 0 0; 0 c -s; 0 s c], Ry = [c 0 s; 0 1 0; -s 0 c], Rz = [c -s 0; s c 0; 0 0 1].
    ExpectVector(u"X_", t, {a.x, c * a.y - s * a.z, s * a.y + c * a.z});
    ExpectVector(u"Y_", t, {c * a.x + s * a.z, a.y, -s * a.x + c * a.z});
    ExpectVector(u"Z_", t, {c * a.x - s * a.y, s * a.x + c * a.y, a.z});
    ExpectVector(u"N_", t, {c * a.x + s * a.y, -s * a.x + c * a.y, a.z});
  }
}

TEST_F(MathVectorTest, RotationComponentTexts) {
  RunAll({u"an=0.7", u"A_<t>=<t,t,t>", u"X_<t>=vRotx[A_,an]"});
  const VecRec& x = Tables.VecTable[2];
  const VecRec& a = Tables.VecTable[1];
  EXPECT_EQ(U8(x.XExpr), U8(u"(" + a.XExpr + u")"));
  EXPECT_EQ(U8(x.YExpr), U8(u"(" + a.YExpr + u"*Cos[an]-" + a.ZExpr + u"*Sin[an])"));
  EXPECT_EQ(U8(x.ZExpr), U8(u"(" + a.YExpr + u"*Sin[an]+" + a.ZExpr + u"*Cos[an])"));
}

TEST_F(MathVectorTest, ScalarOperationsInFunctions) {
  RunAll({u"ax=3", u"bx=2", u"A_<t>=<t,2,0>", u"B_<t>=<1,t,5>", u"D_{t}=sDot[A_,B_]",
          u"M_{t}=sMag[A_]", u"P_{t}=sMpy[ax,bx]", u"Q_{t}=sDiv[ax,bx]", u"W_{t}=sPwr[ax,2]",
          u"V_{t}=sPwr[ax,bx]"});
  for (double t : {-1.0, 0.5, 3.0}) {
    SCOPED_TRACE(t);
    ExpectNear(ValueOf(u"D_", u"t", t), t * 1 + 2 * t + 0 * 5);
    ExpectNear(ValueOf(u"M_", u"t", t), std::sqrt(t * t + 4));
    ExpectNear(ValueOf(u"P_", u"t", t), 6);
    ExpectNear(ValueOf(u"Q_", u"t", t), 1.5);
    ExpectNear(ValueOf(u"W_", u"t", t), 9);
    ExpectNear(ValueOf(u"V_", u"t", t), 9);
  }
}

TEST_F(MathVectorTest, DerivativeOperations) {
  RunAll({u"A_<t>=<t^3,t^2,t>", u"C_<t>=<Cos[t],Sin[t],0>", u"D_<t>=vDiff[A_]",
          u"E_<t>=vDiff[A_,2]", u"T_<t>=vTan[C_]", u"N_<t>=vNorm[C_]", u"H_<t>=vTan[A_]"});
  for (double t : {-0.8, 0.3, 1.9}) {
    SCOPED_TRACE(t);
    ExpectVector(u"D_", t, {3 * t * t, 2 * t, 1});
    ExpectVector(u"E_", t, {6 * t, 2, 0});
    ExpectVector(u"T_", t, {-std::sin(t), std::cos(t), 0});
    ExpectVector(u"N_", t, {-std::cos(t), -std::sin(t), 0});
    double m = std::sqrt(9 * t * t * t * t + 4 * t * t + 1);
    ExpectVector(u"H_", t, {3 * t * t / m, 2 * t / m, 1 / m});
  }
}

TEST_F(MathVectorTest, NormalLeavesNoTemporaryRecord) {
  RunAll({u"C_<t>=<Cos[t],Sin[t],0>"});
  const int16_t functions = Tables.FuncCount;
  const int16_t counter = VectorStacks.ComponentFuncCounter;
  ASSERT_EQ(Run(u"N_<t>=vNorm[C_]"), 0);
  // Three component records and one counter number; the temporary record is gone.
  EXPECT_EQ(Tables.FuncCount, functions + 3);
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, counter + 1);
  EXPECT_EQ(U8(Tables.FuncTable[Tables.FuncCount].Name), "Z" + std::to_string(counter + 1));
}

TEST_F(MathVectorTest, EvaluatedVectorIsConstant) {
  RunAll({u"kk=3", u"A_<t>=<t^2,2*t,7>", u"V_<t>=vEval[A_,kk]"});
  for (double t : {-4.0, 0.0, 10.0}) ExpectVector(u"V_", t, {9, 6, 7});
}

TEST_F(MathVectorTest, OperationVectorKeepsItsIdentifierAndDefinition) {
  RunAll({u"A_<t>=<1,0,0>", u"B_<t>=<0,1,0>", u"C_<s>=vAdd[A_,B_]"});
  const VecRec& c = Tables.VecTable[3];
  EXPECT_EQ(U8(c.Name), "C_");
  EXPECT_EQ(U8(c.Parm), "s");
  rt::Text def;
  TokenizeNames(u"vAdd[A_,B_]", def);
  EXPECT_EQ(U8(c.DefText), U8(def));
  EXPECT_EQ(c.IsOperation, -1);
  // Later statements process the last vector again; it is still found by name.
  ASSERT_EQ(Run(u"m_=2"), 0);
  ExpectVector(u"C_", 0, {1, 1, 0});
}

TEST_F(MathVectorTest, ComponentFunctionsAreNamedFromTheCounter) {
  RunAll({u"A_<t>=<1,0,0>", u"B_<t>=vUnit[A_]"});
  // A_'s components took number 1; B_'s statement processes only the last vector, B_, as 2.
  const VecRec& b = Tables.VecTable[2];
  EXPECT_EQ(U8(b.XFuncName), "X2");
  EXPECT_EQ(U8(b.YFuncName), "Y2");
  EXPECT_EQ(U8(b.ZFuncName), "Z2");
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, 2);
  int16_t index = 0;
  rt::Text parm;
  int16_t msg = 0;
  FindFunction(u"Z2", parm, index, msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(U8(parm), "t");
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
      {u"C_<t>=vAdd[A_,Ln[B_]]", 1310},    // a scalar function is no vector operation
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
  int16_t msg = 0;
  ExpandVectorExpr(name, msg);
  EXPECT_EQ(msg, 510);

  VectorStacks.ComponentFuncCounter = 0;
  Tables.FuncCount = kMaxFunctions - 2;  // room for two records only
  for (int k = 4; k <= Tables.FuncCount; ++k) Tables.FuncTable[k].Name = u"Pad";
  ExpandVectorExpr(name, msg);
  EXPECT_EQ(msg, 510);
  EXPECT_EQ(Tables.FuncCount, kMaxFunctions - 2);
}

TEST_F(MathVectorTest, DerivativeOrderFromTheScalarStack) {
  RunAll({u"A_<t>=<t^3,t^2,t>", u"F_{x}=x"});
  Tables.ConstCount += 1;  // a constant whose expression is an order
  Tables.ConstTable[Tables.ConstCount].Name = u"nn";
  Tables.ConstTable[Tables.ConstCount].Expr = u"2";
  auto scalar = [](const char16_t* name, int16_t kind, const char16_t* text) {
    ConstRec r;
    r.Name = name;
    r.Kind = kind;
    r.ValueText = text;
    return r;
  };
  struct Case {
    const char* label;
    bool push;
    ConstRec top;
    int16_t msg;
    int16_t scalarsLeft;
    double xAt3;  // the x component, a derivative of t^3, at t = 3
  } cases[] = {
      {"empty stack: first derivative", false, {}, 0, 0, 27},
      {"a number", true, scalar(u"nDer", 2, u"2"), 0, 0, 18},
      {"a computed scalar stays", true, scalar(u"m$", 1, u"(5)"), 0, 1, 27},
      {"a constant gives its expression", true, scalar(u"nn", 0, u""), 0, 0, 18},
      {"an unknown constant", true, scalar(u"qq", 0, u""), 378, 0, 0},
      {"the parameter", true, scalar(u"t", 3, u""), 378, 0, 0},
      {"a function identifier", true, scalar(u"F_", 0, u""), 996, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ResetVectorStacks();
    VectorStacks.ComponentFuncCounter = 50;
    int16_t msg = 0;
    // The operand as the scan pushes it: its component texts read from its functions.
    VecRec a = Tables.VecTable[1];
    if (c.push) {
      PushScalar(c.top, msg);
    }
    PushVector(a, msg);
    VectorOp(u'\u00E0', u"", msg);
    EXPECT_EQ(msg, c.msg);
    EXPECT_EQ(VectorStacks.ScalarSP, c.scalarsLeft);
    if (c.msg != 0) continue;
    VecRec d;
    PopVector(d, msg);
    ASSERT_EQ(msg, 0);
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
      u"",           u"\u00D8",       u"\u00D8[",        u"\u00D8[]",  u"\u00D8[A_,,]",
      u"\u00E0[A_,", u"\u00F1[ax,-]", u"\u00DF[#,A_]xx", u"\u00D8[a]", u"\u00E3[Zq]",
  };
  for (const char16_t* text : cases) {
    SCOPED_TRACE(U8(text));
    const int16_t functions = Tables.FuncCount;
    Tables.VecCount = 2;
    Tables.VecTable[2] = VecRec{};
    Tables.VecTable[2].Name = u"C_";
    Tables.VecTable[2].Parm = u"t";
    Tables.VecTable[2].DefText = text;
    rt::Text name = u"C_";
    int16_t msg = 0;
    ExpandVectorExpr(name, msg);
    EXPECT_NE(msg, 0);
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
