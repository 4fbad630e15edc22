#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "language/ClearStorage.h"
#include "language/CompileCode.h"
#include "language/Global.h"
#include "language/Tokens.h"
#include "mathematics/Math.h"

namespace ms {
namespace {

rt::Text U(const char* s) {
  return rt::FromUtf8(s);
}

class CompileCodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    InitBuiltinNames();
    ResetMathState();
    ClearResultsList();
  }

  // A function record as classification stores it: padded name, parameters, the text after "=".
  int16_t Func(const char* name, std::vector<const char*> parms, const char* expr) {
    int16_t msg = 0;
    const int16_t k = AppendFunction(msg);
    EXPECT_NE(0, k);
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    f = FuncRec{};
    f.Name = U(name);
    rt::Text* slots[] = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
    for (size_t i = 0; i < parms.size(); ++i) *slots[i] = U(parms[i]);
    f.Expr = U(expr);
    return k;
  }

  void Const(const char* name, const char* valueText, int16_t locked = 0) {
    int16_t msg = 0;
    const int16_t k = AppendConstant(msg);
    EXPECT_NE(0, k);
    ConstRec& c = Tables.ConstTable[static_cast<size_t>(k)];
    c = ConstRec{};
    c.Name = U(name);
    c.ValueText = U(valueText);
    c.Locked = locked;
  }

  int16_t Compile() {
    rt::Text text;
    int16_t msg = 0;
    CompileFunctions(text, msg);
    return msg;
  }

  // Evaluates record k's code with the given parameter values appended after the compile.
  double Value(int16_t k, std::vector<std::pair<const char*, double>> parms) {
    for (const auto& [name, v] : parms) {
      int16_t m = 0;
      AppendValue(U(name), v, m);
    }
    double r = std::nan("");
    int16_t msg = 0;
    MathVars.ValueSP = 1;
    Evaluate(Tables.FuncTable[static_cast<size_t>(k)].Code, r, msg);
    EXPECT_EQ(0, msg);
    return r;
  }
};

TEST_F(CompileCodeTest, GoldenCodes) {
  struct Case {
    const char* what;
    std::vector<const char*> parms;
    const char* expr;
    rt::Text code;
  };
  const std::vector<Case> cases = {
      {"worked example", {"x"}, "2*x-1", u"+*00002`x*M00003`"},
      {"leading minus", {"x"}, "-x+1", u"+*Mx00002`"},
      {"minus after [ gets no plus", {"x"}, "Sin[-x]", u"\u00C8*Mx%"},
      {"minus groups from the left", {"x", "y", "z"}, "x-y-z", u"++x*My*Mz"},
      {"powers group from the left", {"x", "y", "z"}, "x^y^z", u"^^xyz"},
      {"quotients group from the left", {"x", "y", "z"}, "x/y/z", u"//xyz"},
      {"product binds tighter than sum", {"x", "y"}, "x+y*2", u"+x*y00002`"},
      {"parentheses", {"x", "y"}, "(x+y)*2", u"*+xy00002`"},
      {"parameter named e", {"e"}, "e+1", u"+e00002`"},
      {"exponent literal", {"x"}, "x*1.5E-3", u"*x00002`"},
      {"built-in nesting", {"x"}, "Sqrt[Abs[x]]+1", u"+\u00CF\u00D4x%%00002`"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    const int16_t k = Func("F_", c.parms, c.expr);
    ASSERT_EQ(0, Compile());
    EXPECT_EQ(c.code, Tables.FuncTable[static_cast<size_t>(k)].Code);
    EXPECT_EQ(-1, Tables.FuncTable[static_cast<size_t>(k)].Compiled);
  }
}

TEST_F(CompileCodeTest, LiteralsAreStoredFromEntryTwo) {
  Func("F_", {"x"}, "2*x-1");
  Func("G_", {"x"}, "x*1.5E-3+0.25");
  ASSERT_EQ(0, Compile());
  struct Entry {
    int k;
    const char16_t* name;
    double value;
  };
  const std::vector<Entry> entries = {
      {2, u"$00002`", 2}, {3, u"$00003`", 1}, {4, u"$00004`", 1.5e-3}, {5, u"$00005`", 0.25}};
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.k);
    EXPECT_EQ(e.name, Tables.ValueList[static_cast<size_t>(e.k)].Name);
    EXPECT_EQ(e.value, Tables.ValueList[static_cast<size_t>(e.k)].Value);
  }
  EXPECT_EQ(5, Tables.ValueTop);
  EXPECT_EQ(5, Tables.LiteralCount);
  EXPECT_EQ(u"+*x00004`00005`", Tables.FuncTable[2].Code);
  // A second compile starts the literal store again: the same codes, the same entries.
  ASSERT_EQ(0, Compile());
  EXPECT_EQ(5, Tables.ValueTop);
  EXPECT_EQ(u"+*00002`x*M00003`", Tables.FuncTable[1].Code);
}

TEST_F(CompileCodeTest, ValuesOfCompiledFunctions) {
  struct Case {
    const char* what;
    std::vector<const char*> parms;
    const char* expr;
    std::vector<std::pair<const char*, double>> args;
    double expected;
  };
  const std::vector<Case> cases = {
      {"worked example", {"x"}, "2*x-1", {{"x", 5}}, 9},
      {"minus chain", {"x", "y", "z"}, "x-y-z", {{"x", 10}, {"y", 3}, {"z", 2}}, 5},
      {"power chain is (x^y)^z", {"x", "y", "z"}, "x^y^z", {{"x", 2}, {"y", 3}, {"z", 2}}, 64},
      {"quotient chain", {"x", "y", "z"}, "x/y/z", {{"x", 8}, {"y", 2}, {"z", 2}}, 2},
      {"negated power", {"x"}, "-x^2", {{"x", 3}}, -9},
      {"nested built-ins",
       {"x"},
       "Sin[x]*Cos[x]+x^2",
       {{"x", 0.5}},
       std::sin(0.5) * std::cos(0.5) + 0.25},
      {"division by a sum", {"x"}, "1/(1+x/(2+x))", {{"x", 2}}, 1 / (1 + 2.0 / 4)},
      {"e is a parameter", {"e"}, "e+1", {{"e", 4}}, 5},
      {"exponent with a sign", {"x"}, "x*2.5E+2", {{"x", 2}}, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    const int16_t k = Func("F_", c.parms, c.expr);
    ASSERT_EQ(0, Compile());
    const double v = Value(k, c.args);
    EXPECT_NEAR(c.expected, v, 1e-12 * std::fabs(c.expected));
  }
}

TEST_F(CompileCodeTest, ConstantSubstitution) {
  struct Case {
    const char* what;
    const char* valueText;
    int16_t locked;
    const char* expectedExpr;
    double expectedAt3;  // NaN: not evaluated
  };
  const std::vector<Case> cases = {
      {"value text in parentheses", "(2.5)", 0, "x*2.5", 7.5},
      // A root or an integral stores its value without parentheses; it must still multiply.
      {"negative value text", " -0.5", 0, "x*(-0.5)", -1.5},
      {"locked constant stays", "(2.5)", -1, "x*c_", std::nan("")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    Const("c_", c.valueText, c.locked);
    const int16_t k = Func("F_", {"x"}, "x*c_");
    ASSERT_EQ(0, Compile());
    EXPECT_EQ(U(c.expectedExpr), Tables.FuncTable[static_cast<size_t>(k)].Expr);
    if (!std::isnan(c.expectedAt3)) {
      EXPECT_NEAR(c.expectedAt3, Value(k, {{"x", 3}}), 1e-12);
    }
  }
}

TEST_F(CompileCodeTest, ConstantsMustHoldNumbers) {
  Const("a_", "(2)");
  Const("b_", "(2*q)");
  Func("F_", {"x"}, "x");
  rt::Text text;
  int16_t msg = 0;
  CompileFunctions(text, msg);
  EXPECT_EQ(kMsgConstantNotNumber, msg);
  EXPECT_EQ(u"(2*q)", text);
}

TEST_F(CompileCodeTest, CallExpansionAcrossRecords) {
  struct Case {
    const char* what;
    std::vector<std::tuple<const char*, std::vector<const char*>, const char*>> funcs;
    std::vector<std::pair<const char*, double>> args;
    double expected;  // value of the last record
  };
  const std::vector<Case> cases = {
      {"simple call", {{"G_", {"t"}, "t^2"}, {"F_", {"x"}, "G_{x+1}*2"}}, {{"x", 2}}, 18},
      {"call to a later record",
       {{"F_", {"x"}, "G_{x}-1"}, {"G_", {"t"}, "3*t"}, {"K_", {"x"}, "F_{x}"}},
       {{"x", 2}},
       5},
      {"inner call first",
       {{"F_", {"x"}, "x+1"}, {"G_", {"x"}, "x*3"}, {"K_", {"t"}, "F_{G_{t}}"}},
       {{"t", 2}},
       7},
      // Parameters are replaced all at once: H{y,x} is y-x, not 0.
      {"swapped arguments",
       {{"H_", {"x", "y"}, "x-y"}, {"K_", {"x", "y"}, "H_{y,x}"}},
       {{"x", 5}, {"y", 2}},
       -3},
      {"argument naming a later parameter",
       {{"H_", {"x", "y", "z"}, "x*100+y*10+z"}, {"K_", {"x", "y", "z"}, "H_{z,x,y}"}},
       {{"x", 1}, {"y", 2}, {"z", 3}},
       312},
      {"argument holding a built-in and a Diff",
       {{"P_", {"x"}, "x^2"}, {"H_", {"x", "y"}, "x+y"}, {"K_", {"x"}, "H_{Sin[x],Diff[P_,x]}"}},
       {{"x", 0.5}},
       std::sin(0.5) + 1.0},
      {"two-character identifier",
       {{"Ab", {"u"}, "u/2"}, {"K_", {"x"}, "Ab{x}+Ab{4}"}},
       {{"x", 6}},
       5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    int16_t last = 0;
    for (const auto& [name, parms, expr] : c.funcs) last = Func(name, parms, expr);
    ASSERT_EQ(0, Compile());
    EXPECT_EQ(rt::Text::npos, Tables.FuncTable[static_cast<size_t>(last)].Expr.find(u'{'));
    EXPECT_NEAR(c.expected, Value(last, c.args), 1e-12 * std::fabs(c.expected));
  }
}

TEST_F(CompileCodeTest, CallsOfEqualDepthExpandRightFirst) {
  Func("F_", {"x"}, "x+1");
  Func("G_", {"x"}, "x*3");
  Func("K_", {"t"}, "F_{t}+G_{t}");
  ASSERT_EQ(0, Compile());
  // Every expansion is listed; the first one of K leaves F's call in place.
  ASSERT_EQ(2u, ResultsList.Lines.size());
  EXPECT_EQ(u"F_{t}+((t)*3)", ResultsList.Lines[0]);
  EXPECT_EQ(u"((t)+1)+((t)*3)", ResultsList.Lines[1]);
}

TEST_F(CompileCodeTest, CompileErrors) {
  struct Case {
    const char* what;
    std::vector<std::tuple<const char*, std::vector<const char*>, const char*>> funcs;
    int16_t msg;
  };
  const std::vector<Case> cases = {
      {"unknown function", {{"K_", {"t"}, "Q_{t}+1"}}, kMsgFunctionNotFound},
      {"too few arguments", {{"H_", {"x", "y"}, "x-y"}, {"K_", {"t"}, "H_{t}"}}, kMsgArgumentCount},
      {"too many arguments",
       {{"H_", {"x", "y"}, "x-y"}, {"K_", {"t"}, "H_{t,t,t}"}},
       kMsgArgumentCount},
      {"empty argument", {{"H_", {"x", "y"}, "x-y"}, {"K_", {"t"}, "H_{t,}"}}, kMsgArgumentCount},
      {"six arguments",
       {{"H_", {"a", "b", "c", "d", "f"}, "a"}, {"K_", {"t"}, "H_{t,t,t,t,t,t}"}},
       kMsgArgumentCount},
      {"function used without braces",
       {{"G_", {"t"}, "t"}, {"K_", {"t"}, "2*G_"}},
       kMsgArgumentOverflow},
      {"call never closed", {{"G_", {"t"}, "t"}, {"K_", {"t"}, "G_{t+1"}}, kMsgArgumentOverflow},
      {"direct recursion", {{"F_", {"x"}, "F_{x}+1"}}, kMsgRecursion},
      {"mutual recursion", {{"F_", {"x"}, "G_{x}"}, {"G_", {"x"}, "F_{x}"}}, kMsgRecursion},
      {"cycle not through the record",
       {{"K_", {"x"}, "F_{x}"}, {"F_", {"x"}, "G_{x}"}, {"G_", {"x"}, "F_{x}"}},
       kMsgExpressionTooLong},
      {"exponent sign without digit", {{"F_", {"x"}, "2E+x"}}, kMsgExponentDigit},
      {"bad derivative", {{"F_", {"x"}, "x^2"}, {"G_", {"x"}, "Diff[F_,X]"}}, 531},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    for (const auto& [name, parms, expr] : c.funcs) Func(name, parms, expr);
    EXPECT_EQ(c.msg, Compile());
  }
}

TEST_F(CompileCodeTest, DerivativesAreExpandedBeforeCodeGeneration) {
  struct Case {
    const char* diff;
    double x;
    double expected;
  };
  const std::vector<Case> cases = {
      {"Diff[F_,x]", 2, 12},         // 3x^2
      {"Diff[F_,x,2]", 2, 12},       // 6x
      {"Diff[F_,x|2]+x", 5, 17},     // 12 at the point, plus x
      {"Diff[F_,x,3|(1.5)]", 9, 6},  // constant 6
      {"2*Diff[F_,x]-x", 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.diff);
    SetUp();
    Func("F_", {"x"}, "x^3");
    const int16_t k = Func("G_", {"x"}, c.diff);
    ASSERT_EQ(0, Compile());
    EXPECT_NEAR(c.expected, Value(k, {{"x", c.x}}), 1e-9);
  }
}

TEST_F(CompileCodeTest, TableStoreLimits) {
  struct Case {
    int32_t countBefore;
    int16_t msg;
    int32_t countAfter;
    const char16_t* name;
  };
  const std::vector<Case> cases = {
      {1, 0, 2, u"$00002`"},
      {99998, 0, 99999, u"$99999`"},  // the last usable counter
      {99999, kMsgValuesFull, 99999, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.countBefore);
    Tables.LiteralCount = c.countBefore;
    Tables.ValueTop = 7;
    rt::Text name;
    int16_t msg = 0;
    TableStore(u"4.5", name, msg);
    EXPECT_EQ(c.msg, msg);
    EXPECT_EQ(c.countAfter, Tables.LiteralCount);
    EXPECT_EQ(c.name, name);
    if (c.msg == 0) {
      EXPECT_EQ(c.countAfter, Tables.ValueTop);
      EXPECT_EQ(4.5, Tables.ValueList[static_cast<size_t>(c.countAfter)].Value);
    } else {
      EXPECT_EQ(7, Tables.ValueTop);
    }
  }
  // A literal beyond the range of doubles stands for an infinite value.
  Tables.LiteralCount = 1;
  rt::Text name;
  int16_t msg = 0;
  TableStore(u"1E999", name, msg);
  EXPECT_EQ(0, msg);
  EXPECT_EQ(1e20, Tables.ValueList[2].Value);
}

TEST_F(CompileCodeTest, CallListing) {
  struct Case {
    const char16_t* expr;
    std::vector<std::tuple<const char16_t*, int16_t, int16_t>> calls;  // text, pos, depth
  };
  const std::vector<Case> cases = {
      {u"F_{G_{t}}+Hb{2}", {{u"F_", 1, 1}, {u"G_", 4, 11}, {u"Hb", 11, 1}}},
      {u"2E-5*Ex{t}+1E5", {{u"Ex", 6, 1}}},
      {u"\u00D6[F_,x]+G_{x}", {{u"G_", 9, 1}}},
      {u"X12+A", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.expr));
    int16_t count = -1;
    int16_t msg = 0;
    ListFunctionCalls(c.expr, count, msg);
    EXPECT_EQ(0, msg);
    ASSERT_EQ(static_cast<int16_t>(c.calls.size()), count);
    for (size_t i = 0; i < c.calls.size(); ++i) {
      const CallRec& r = Tables.CallList[i + 1];
      EXPECT_EQ(std::get<0>(c.calls[i]), r.Text);
      EXPECT_EQ(std::get<1>(c.calls[i]), r.Pos);
      EXPECT_EQ(std::get<2>(c.calls[i]), r.Depth);
    }
  }
}

}  // namespace
}  // namespace ms
