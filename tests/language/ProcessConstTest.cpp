#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "language/ClearStorage.h"
#include "language/CompileCode.h"
#include "language/Definitions.h"
#include "language/Global.h"
#include "language/ProcessConst.h"
#include "language/Tokens.h"
#include "mathematics/Math.h"
#include "mathematics/MathMacro.h"
#include "mathematics/MathVector.h"

namespace ms {
namespace {

std::string U8(const rt::Text& t) {
  return rt::ToUtf8(t);
}

class ProcessConstTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    InitBuiltinNames();
    ResetVectorStacks();
    ResetMacroState();
    ResetMathState();
  }

  // A stored-form statement as classification stores it, its closing steps and the compile.
  int16_t Run(const rt::Text& statement) {
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

  // The value of the last constant, read back from its value text.
  double LastConstantValue() {
    const rt::Text& v = Tables.ConstTable[Tables.ConstCount].ValueText;
    EXPECT_GE(v.size(), 2u);
    return rt::Val(v.substr(1, v.size() - 2));
  }
};

TEST_F(ProcessConstTest, ValueTextIsThePlainNumberForm) {
  // Up to 15 significant digits, no blank, a zero before the point, the E form only for very
  // large or small magnitudes; read back it is the value to 15 digits.
  const std::pair<double, const char*> cases[] = {{1.0, "1"},
                                                  {-2.5, "-2.5"},
                                                  {0.1, "0.1"},
                                                  {1.0 / 3, "0.333333333333333"},
                                                  {-2.0 / 3, "-0.666666666666667"},
                                                  {1e20, "1E+20"},
                                                  {-1e-7, "-0.0000001"},
                                                  {123456789.123456789, "123456789.123457"},
                                                  {1.999396, "1.999396"}};
  for (const auto& [v, text] : cases) {
    SCOPED_TRACE(v);
    const rt::Text got = ValueToText(v);
    EXPECT_EQ(U8(got), text);
    EXPECT_NEAR(rt::Val(got), v, 1e-14 * std::fabs(v));
  }
  struct Special {
    double v;
    const char* text;
  } specials[] = {{std::numeric_limits<double>::infinity(), "1E+20"},
                  {-std::numeric_limits<double>::infinity(), "-1E+20"},
                  {std::numeric_limits<double>::quiet_NaN(), "0"},
                  {-0.0, "0"},
                  {6, "6"}};
  for (const auto& s : specials) {
    SCOPED_TRACE(s.text);
    EXPECT_EQ(U8(ValueToText(s.v)), s.text);
  }
}

TEST_F(ProcessConstTest, ConstantStatementsStoreTheirValue) {
  RunAll({u"F_{x,y}=x*10+y", u"A_<s>=<s^2,s+1,-s>", u"k_=3"});
  struct Case {
    const char16_t* statement;
    const char* name;
    double value;
  } cases[] = {
      {u"m_=5", "m_", 5},
      {u"zn=(2*3)", "zn", 6},
      {u"mm=k_*2+1", "mm", 7},
      {u"m_=F_{1,2}", "m_", 12},
      {u"m_=2*F_{F_{0,1},2}", "m_", 2 * 12},
      {u"m_=A_.x_|2", "m_", 4},
      {u"m_=A_.x_|-2", "m_", 4},
      {u"m_=A_.y_|-2", "m_", -1},
      {u"m_=A_.z_|k_+1", "m_", -2},
      {u"m_=A_.y_|-k_", "m_", -2},
      {u"m_=Sqrt[16]+Sin[0]", "m_", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    const int16_t functions = Tables.FuncCount;
    const int16_t constants = Tables.ConstCount;
    ASSERT_EQ(Run(c.statement), 0);
    EXPECT_EQ(Tables.FuncCount, functions + 3);  // only the last vector's components are added
    EXPECT_EQ(Tables.ConstCount, constants + 1);
    const ConstRec& k = Tables.ConstTable[Tables.ConstCount];
    EXPECT_EQ(U8(k.Name), c.name);
    EXPECT_EQ(k.Kind, 0);
    EXPECT_EQ(k.Locked, 0);
    EXPECT_DOUBLE_EQ(LastConstantValue(), c.value);
  }
}

TEST_F(ProcessConstTest, ConstantStatementErrors) {
  RunAll({u"F_{x,y}=x+y", u"A_<s>=<s^2,s+1,-s>"});
  struct Case {
    const char16_t* statement;
    int16_t msg;
  } cases[] = {
      {u"m_=1,5", 418},
      {u"m_=A_.x_2", 630},
      {u"m_=A_.x_", 630},
      {u"m_=A_.w_|2", 620},
      {u"m_=A_.x_|kq", 377},
      {u"m_=A_.x_|*2", 376},
      {u"m_=A_.x_|1.2.3", 375},
      {u"m_=B_.x_|2", 325},
      {u"m_=Sqrt[0-4]", 610},
      {u"m_=G_{1}", 502},
      // A macro definition reaches this road like a constant statement.
      {u"vMacro[vTally[a,b]]=vAdd[a,b]", 418},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    const int16_t functions = Tables.FuncCount;
    const int16_t constants = Tables.ConstCount;
    int16_t msg = 0;
    rt::Text s;
    TokenizeNames(c.statement, s);
    ProcessConstantStatement(s, msg);
    EXPECT_EQ(msg, c.msg);
    EXPECT_EQ(Tables.FuncCount, functions);
    EXPECT_EQ(Tables.ConstCount, constants);
  }
}

TEST_F(ProcessConstTest, AssignmentReturnsNameAndValue) {
  int16_t msg = -5;
  rt::Text value;
  EvaluateAssignment(u"zn=(2*3)", value, msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(U8(value), "zn=6");
  ASSERT_EQ(Tables.ConstCount, 1);
  EXPECT_EQ(U8(Tables.ConstTable[1].Name), "zn");
  EXPECT_EQ(U8(Tables.ConstTable[1].ValueText), "(6)");
  EXPECT_EQ(Tables.FuncCount, 0);
  EXPECT_TRUE(Tables.FuncTable[1].Name.empty());  // the temporary slot is cleared
}

TEST_F(ProcessConstTest, AssignmentCallsFunctionsAtNumbers) {
  // The way plot construction and the numerical methods get a function value.
  RunAll({u"ab=0.5", u"F_{t}=ab*t^2", u"G_{x,y}=Sin[x]*y", u"A_<t>=<t,F_,0>"});
  const int16_t functions = Tables.FuncCount;
  struct Case {
    const char16_t* text;
    double value;
  } cases[] = {
      {u"f1=(F_{1.5})", 0.5 * 2.25},
      {u"f1=(G_{0.3,2})", std::sin(0.3) * 2},
      {u"f1=(F_{-2})", 2},
      {u"f1=(F_{G_{1,1}})", 0.5 * std::sin(1) * std::sin(1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    rt::Text value;
    int16_t msg = 0;
    EvaluateAssignment(c.text, value, msg);
    ASSERT_EQ(msg, 0);
    // The value travels as text with 15 significant digits.
    EXPECT_NEAR(LastConstantValue(), c.value, 1e-14 * std::fabs(c.value));
    EXPECT_EQ(U8(value), "f1=" + U8(ValueToText(c.value)));
    Tables.ConstCount -= 1;  // a caller that wants the number only removes the record
    EXPECT_EQ(Tables.FuncCount, functions);
  }
}

TEST_F(ProcessConstTest, FailedRequestsLeaveNoRecordBehind) {
  RunAll({u"F_{t}=Sqrt[t]"});
  const int16_t functions = Tables.FuncCount;
  // A request that fails, repeated: no stale temporary record, no constant, and a valid request
  // afterwards still works.
  for (int run = 0; run < 50; ++run) {
    rt::Text value;
    int16_t msg = 0;
    EvaluateAssignment(u"f1=(F_{-4})", value, msg);
    ASSERT_EQ(msg, 610);
    EvaluateAssignment(u"f1=(Q_{1})", value, msg);
    ASSERT_EQ(msg, 502);
    EvaluateText(u"Ln[0]", value, msg);
    ASSERT_EQ(msg, 993);
    EvaluateAssignment(u"f1=(qq)", value, msg);
    ASSERT_NE(msg, 0);
    ASSERT_EQ(Tables.FuncCount, functions);
    ASSERT_EQ(Tables.ConstCount, 0);
  }
  rt::Text value;
  int16_t msg = 0;
  EvaluateAssignment(u"f1=(F_{4})", value, msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(U8(value), "f1=2");
}

TEST_F(ProcessConstTest, EvaluateTextOfNumbersAndExpressions) {
  RunAll({u"F_{x}=x+1"});
  const int32_t top = Tables.ValueTop;
  const int16_t functions = Tables.FuncCount;
  struct Case {
    const char16_t* text;
    const char* value;
    bool compiles;
  } cases[] = {
      {u"2.5", "2.5", false},   {u"-7", "-7", false},    {u"(2.5)", "2.5", true},
      {u"(3)^2+1", "10", true}, {u"F_{2}*2", "6", true}, {u"Sqrt[2]^2", "2", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    Tables.ValueTop = top;
    rt::Text value;
    int16_t msg = 0;
    EvaluateText(c.text, value, msg);
    EXPECT_EQ(msg, 0);
    EXPECT_EQ(U8(value), c.value);
    EXPECT_EQ(Tables.FuncCount, functions);
    EXPECT_EQ(Tables.ConstCount, 0);
    if (!c.compiles) {
      EXPECT_EQ(Tables.ValueTop, top);  // nothing was compiled
    }
  }
}

TEST_F(ProcessConstTest, FullTablesAreRefused) {
  rt::Text value;
  int16_t msg = 0;
  Tables.ConstCount = kMaxConstants;
  EvaluateAssignment(u"zn=1+1", value, msg);
  EXPECT_EQ(msg, kMsgConstantsFull);
  EXPECT_EQ(Tables.ConstCount, kMaxConstants);
  EXPECT_EQ(Tables.FuncCount, 0);

  SetUp();
  Tables.FuncCount = kMaxFunctions;
  for (int k = 1; k <= kMaxFunctions; ++k) Tables.FuncTable[k] = FuncRec{};
  EvaluateText(u"1+1", value, msg);
  EXPECT_EQ(msg, kMsgFunctionsFull);
  EXPECT_EQ(Tables.FuncCount, kMaxFunctions);
}

TEST_F(ProcessConstTest, HeaderCommaCheck) {
  struct Case {
    const char16_t* statement;
    int16_t msg;
  } cases[] = {
      {u"m_=F_{1,2}", 0}, {u"m_=F_{G_{1,2},3}+1", 0}, {u"m_=1,2", 418}, {u"m_=F_{1}+2,3", 418},
      {u"m_=3", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    int16_t msg = -5;
    CheckConstantHeader(c.statement, msg);
    EXPECT_EQ(msg, c.msg);
  }
}

}  // namespace
}  // namespace ms
