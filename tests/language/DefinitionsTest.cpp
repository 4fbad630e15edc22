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

class DefinitionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    InitBuiltinNames();
    ResetVectorStacks();
    ResetMacroState();
    ResetMathState();
  }

  // A stored-form statement as classification stores it, its closing steps and the compile.
  int16_t Run(const rt::Text& statement, bool compile = true) {
    rt::Text s;
    TokenizeNames(statement, s);
    int16_t msg = 0;
    if (s[0] >= u'a' && s[0] <= u'z') {
      ProcessConstantStatement(s, msg);
    } else if (s[2] == u'{') {
      StoreFunctionDefinition(s, static_cast<int>(s.find(u'}') - 2) / 2, msg);
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
    if (!compile) return 0;
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

  const FuncRec* Func(const rt::Text& name) {
    for (int k = 1; k <= Tables.FuncCount; ++k) {
      if (Tables.FuncTable[k].Name == name) return &Tables.FuncTable[k];
    }
    return nullptr;
  }

  // The value of a compiled function at its parameter value t.
  double ValueOf(const rt::Text& name, double t) {
    const FuncRec* f = Func(name);
    EXPECT_NE(f, nullptr) << U8(name);
    if (f == nullptr) return NAN;
    int16_t msg = 0;
    int32_t savedTop = Tables.ValueTop;
    AppendValue(f->Parm1, t, msg);
    double result = NAN;
    Evaluate(f->Code, result, msg);
    EXPECT_EQ(msg, 0) << U8(name);
    Tables.ValueTop = savedTop;
    return result;
  }
};

TEST_F(DefinitionsTest, CheckConstantDefined) {
  int16_t msg = 0;
  CheckConstantDefined(u"k_", msg);
  EXPECT_EQ(msg, 377);  // empty table
  Tables.ConstCount = 2;
  Tables.ConstTable[1].Name = u"k_";
  Tables.ConstTable[2].Name = u"ab";
  Tables.ConstTable[3].Name = u"zz";
  struct Case {
    const char16_t* id;
    int16_t msg;
  } cases[] = {{u"k_", 0}, {u"ab", 0}, {u"zz", 377}, {u"k", 377}, {u"AB", 377}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.id));
    msg = -5;
    CheckConstantDefined(c.id, msg);
    EXPECT_EQ(msg, c.msg);
  }
}

TEST_F(DefinitionsTest, FunctionRecordsWithOneToFiveParameters) {
  struct Case {
    const char16_t* statement;
    const char16_t* parms[5];
    const char16_t* expr;
  } cases[] = {
      {u"F_{x}=x^2", {u"x", u"", u"", u"", u""}, u"(x^2)"},
      {u"Gh{x,y}=x*y", {u"x", u"y", u"", u"", u""}, u"x*y"},
      {u"H_{a,b,c}=a+b+c", {u"a", u"b", u"c", u"", u""}, u"a+b+c"},
      {u"K_{x,y,z,u,v}=x", {u"x", u"y", u"z", u"u", u"v"}, u"x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    SetUp();
    rt::Text s = c.statement;
    int16_t msg = 0;
    int k = static_cast<int>(s.find(u'}') - 2) / 2;
    StoreFunctionDefinition(s, k, msg);
    ASSERT_EQ(msg, 0);
    ASSERT_EQ(Tables.FuncCount, 1);
    const FuncRec& f = Tables.FuncTable[1];
    EXPECT_EQ(U8(f.Name), U8(s.substr(0, 2)));
    const rt::Text* parms[5] = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
    for (int j = 0; j < 5; ++j) EXPECT_EQ(U8(*parms[j]), U8(c.parms[j])) << j;
    EXPECT_EQ(U8(f.Expr), U8(c.expr));
    EXPECT_EQ(f.Kind, 0);
    EXPECT_EQ(f.Compiled, 0);
    EXPECT_EQ(f.LineBreak, 0);
  }
}

TEST_F(DefinitionsTest, FunctionBodySubstitutesConstants) {
  RunAll({u"ab=2.5", u"F_{x}=ab*x", u"G_{x,y}=ab+x*y"});
  EXPECT_DOUBLE_EQ(ValueOf(u"F_", 2), 5);
  // The constant's value stands in the body, not its name.
  EXPECT_EQ(U8(Func(u"G_")->Expr).find("ab"), std::string::npos);
}

TEST_F(DefinitionsTest, ComponentListVectorAppendsThreeFunctions) {
  ASSERT_EQ(Run(u"A_<t>=<t,t^2,0>", false), 0);
  ASSERT_EQ(Tables.FuncCount, 3);
  const char* names[] = {"X1", "Y1", "Z1"};
  const char* bodies[] = {"(t)", "(t^2)", "(0)"};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const FuncRec& f = Tables.FuncTable[k + 1];
    EXPECT_EQ(U8(f.Name), names[k]);
    EXPECT_EQ(U8(f.Expr), bodies[k]);
    EXPECT_EQ(U8(f.Parm1), "t");
    EXPECT_TRUE(f.Parm2.empty());
  }
  const VecRec& a = Tables.VecTable[1];
  EXPECT_EQ(U8(a.XFuncName), "X1");
  EXPECT_EQ(U8(a.YFuncName), "Y1");
  EXPECT_EQ(U8(a.ZFuncName), "Z1");
  EXPECT_EQ(U8(a.YExpr), "t^2");
  EXPECT_EQ(a.Defined, -1);
  EXPECT_EQ(a.IsOperation, 0);

  // Processing the same record again appends X2, Y2, Z2 and renames.
  int16_t msg = 0;
  ProcessVectorDefinition(Tables.VecTable[1], msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(Tables.FuncCount, 6);
  EXPECT_EQ(U8(Tables.VecTable[1].ZFuncName), "Z2");
}

TEST_F(DefinitionsTest, VectorDefinitionErrors) {
  struct Case {
    const char16_t* statement;
    int16_t msg;
  } cases[] = {
      {u"A_<t>=<t,t^2>", 310},     {u"A_<t>=<t,t^2,>", 310},    {u"A_<t>=<t>", 310},
      {u"A_<t>=t,t,t", 309},       {u"A_<t>=<t,t,t", 309},      {u"A_<t>=<G_,0,0>", 667},
      {u"A_<t>=<kq*t,0,0>", 377},  {u"A_<t>=<B_.w_,0,0>", 316}, {u"A_<t>=<Q_,0,0>", 57},
      {u"A_<t>=<Zz.x_,0,0>", 325}, {u"A_<t>=<t,2*kq,0>", 377},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    SetUp();
    RunAll({u"G_{x,y}=x+y", u"B_<s>=<s,s,s>"});
    EXPECT_EQ(Run(c.statement), c.msg);
  }
}

TEST_F(DefinitionsTest, CounterLimitGives515) {
  VectorStacks.ComponentFuncCounter = 998;
  EXPECT_EQ(Run(u"A_<t>=<t,t,t>"), 0);
  EXPECT_EQ(U8(Tables.VecTable[1].XFuncName), "X999");
  EXPECT_EQ(Run(u"B_<t>=<t,t,t>"), 515);
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, 1000);
}

TEST_F(DefinitionsTest, ComponentReferencesInFunctionBodies) {
  struct Case {
    const char16_t* statement;
    int16_t msg;
    double value;  // of F_ at t = 0.5
  } cases[] = {
      {u"F_{t}=A_.x_|2", 0, 4},         {u"F_{t}=A_.x_|-2", 0, 4},
      {u"F_{t}=A_.y_|-2", 0, -1},       {u"F_{t}=A_.y_|k_", 0, 4},
      {u"F_{t}=A_.y_|-k_", 0, -2},      {u"F_{t}=2*A_.y_|1.5E1*t", 0, 2 * 16 * 0.5},
      {u"F_{t}=A_.y_|1.5E1+t", 375, 0},  // the number runs on over "+"
      {u"F_{t}=A_.z_", 0, 5},           {u"F_{t}=A_.y_|q_", 377, 0},
      {u"F_{t}=A_.w_", 374, 0},         {u"F_{t}=A_.y_|*2", 376, 0},
      {u"F_{t}=A_.y_|1.2.3", 375, 0},   {u"F_{t}=B_.x_", 325, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    SetUp();
    RunAll({u"k_=3", u"A_<s>=<s^2,s+1,5>"});
    EXPECT_EQ(Run(c.statement), c.msg);
    if (c.msg == 0) {
      EXPECT_DOUBLE_EQ(ValueOf(u"F_", 0.5), c.value);
    }
  }
}

TEST_F(DefinitionsTest, ComponentFunctionRewrite) {
  RunAll({u"A_<s>=<s^2,s+1,5>"});
  rt::Text rebuilt;
  int16_t msg = 0;
  ProcessComponentFunction(u"F_{t}=A_.x_|-2*t", rebuilt, msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(U8(rebuilt), U8(u"F_{t}=(" + Tables.VecTable[1].XExpr + u")*t").replace(7, 1, "(-2)"));
}

TEST_F(DefinitionsTest, ReferencedComponentKeepsItsValueInAProduct) {
  // B's x component is 2 times A's x component t + 1, not 2 * t + 1.
  RunAll({u"A_<t>=<t+1,0,0>", u"B_<t>=<2*A_.x_,A_.x_^2,0>"});
  const VecRec& b = Tables.VecTable[2];
  EXPECT_DOUBLE_EQ(ValueOf(b.XFuncName, 1), 4);
  EXPECT_DOUBLE_EQ(ValueOf(b.YFuncName, 2), 9);
}

TEST_F(DefinitionsTest, FunctionIdentifiersBeginningWithE) {
  // "E" after a digit is an exponent; elsewhere it begins an identifier like any other letter.
  RunAll({u"Ex{t}=t*10", u"A_<t>=<Ex,2E1*t,Ex^2>"});
  const VecRec& a = Tables.VecTable[1];
  EXPECT_DOUBLE_EQ(ValueOf(a.XFuncName, 1.5), 15);
  EXPECT_DOUBLE_EQ(ValueOf(a.YFuncName, 1.5), 30);
  EXPECT_DOUBLE_EQ(ValueOf(a.ZFuncName, 1.5), 225);
}

TEST_F(DefinitionsTest, VectorRecordOfAnOperation) {
  RunAll({u"A_<t>=<1,0,0>"});
  int16_t msg = 0;
  rt::Text s;
  TokenizeNames(u"B_<u>=vUnit[A_]", s);
  StoreVectorDefinition(s, msg);
  ASSERT_EQ(msg, 0);
  const VecRec& b = Tables.VecTable[2];
  EXPECT_EQ(U8(b.Name), "B_");
  EXPECT_EQ(U8(b.Parm), "u");
  EXPECT_EQ(U8(b.DefText), U8(s.substr(6)));
  EXPECT_EQ(b.IsOperation, -1);
  EXPECT_EQ(b.Defined, -1);
  EXPECT_TRUE(b.XFuncName.empty());

  // A user macro call is looked up first: the table is empty, so 605.
  StoreVectorDefinition(u"C_<t>=vTally[A_]", msg);
  EXPECT_EQ(msg, 605);
}

TEST_F(DefinitionsTest, ResolveAndBuildComponentTexts) {
  RunAll({u"k_=2", u"F_{x}=x+1", u"A_<s>=<s,3,s^2>"});
  struct Case {
    const char16_t* component;
    int16_t resolveMsg;
    int16_t msg;
    rt::Text expr;
  } cases[] = {
      {u"2*t+k_", 0, 0, u"2*t+k_"},
      {u"A_.z_*t", 0, 0, u"(" + Tables.VecTable[1].ZExpr + u")*t"},
      {u"F_+t", 0, 0, u"(" + Func(u"F_")->Expr + u")+t"},
      {u"1.5E2*t", 0, 0, u"1.5E2*t"},
      {u"A_.q_", 377, 316, u""},  // the scan reads q_ as a constant
      {u"G_", 0, 57, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.component));
    int16_t msg = -5;
    ResolveVectorComponentRef(c.component, u"t", msg);
    EXPECT_EQ(msg, c.resolveMsg);
    rt::Text result;
    ProcessVectorComponentExpr(c.component, u"t", result, msg);
    EXPECT_EQ(msg, c.msg);
    if (c.msg == 0) {
      EXPECT_EQ(U8(result), U8(c.expr));
    }
  }
  int16_t msg = 0;
  ResolveVectorComponentRef(u"t+qq*2", u"t", msg);
  EXPECT_EQ(msg, 377);
  ResolveVectorComponentRef(u"t+2*q", u"t", msg);  // the last character is not scanned
  EXPECT_EQ(msg, 0);
}

TEST_F(DefinitionsTest, FullFunctionTableIsRefused) {
  Tables.FuncCount = kMaxFunctions;
  int16_t msg = 0;
  StoreFunctionDefinition(u"F_{x}=x", 1, msg);
  EXPECT_EQ(msg, kMsgFunctionsFull);
  EXPECT_EQ(Tables.FuncCount, kMaxFunctions);

  SetUp();
  Tables.FuncCount = kMaxFunctions - 2;
  StoreVectorDefinition(u"A_<t>=<t,t,t>", msg);
  ASSERT_EQ(msg, 0);
  ProcessVectorDefinition(Tables.VecTable[1], msg);
  EXPECT_EQ(msg, kMsgFunctionsFull);
  EXPECT_EQ(Tables.FuncCount, kMaxFunctions);

  SetUp();
  Tables.VecCount = kMaxVectors;
  StoreVectorDefinition(u"A_<t>=<t,t,t>", msg);
  EXPECT_EQ(msg, kMsgVectorsFull);
  EXPECT_EQ(Tables.VecCount, kMaxVectors);
}

}  // namespace
}  // namespace ms
