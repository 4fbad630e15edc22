#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "language/ClearStorage.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Evaluator.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

class CompileCodeTest : public LanguageTest {
 protected:
  // A function record as classification stores it, written "F_{x,y}=expr": the padded name, the
  // parameters, the text after "=".
  static int16_t Func(const char* def) {
    const rt::Text d = rt::FromUtf8(def);
    int16_t msg = 0;
    const int16_t k = AppendFunction(msg);
    EXPECT_NE(0, k);
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    f = FuncRec{};
    f.Name = d.substr(0, 2);
    rt::Text* slots[] = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
    const size_t close = d.find(u"}=");
    for (size_t i = 0, at = 3; at < close; ++i, at += 2) *slots[i] = d.substr(at, 1);
    f.Expr = d.substr(close + 2);
    return k;
  }

  static int16_t Compile() {
    rt::Text text;
    return CompileFunctions(text);
  }
};

// Records compiled together: the message, and for a compiled set the last one's code (when given)
// and its value at the arguments.
TEST_F(CompileCodeTest, CodesValuesAndMessages) {
  const struct {
    std::vector<const char*> funcs;
    rt::Text code;  // empty: not compared
    std::vector<double> args;
    double expected;
    int16_t msg = 0;
  } cases[] = {
      {{"F_{x}=2*x-1"}, u"+*00002`x*M00003`", {5}, 9},
      {{"F_{x}=Sin[-x]"}, u"\u00C8*Mx%", {1}, -std::sin(1)},  // no plus after "["
      {{"F_{x,y,z}=x-y-z"}, u"++x*My*Mz", {10, 3, 2}, 5},     // grouped from the left
      {{"F_{x,y,z}=x^y^z"}, u"^^xyz", {2, 3, 2}, 64},
      {{"F_{x}=-x^2"}, u"", {3}, -9},
      {{"F_{x}=G_{x}-1", "G_{t}=3*t", "K_{x}=F_{x}"}, u"", {2}, 5},  // a call to a later record
      // Parameters are replaced all at once: H{y,x} is y-x, not 0.
      {{"H_{x,y}=x-y", "K_{x,y}=H_{y,x}"}, u"", {5, 2}, -3},
      {{"P_{x}=x^2", "H_{x,y}=x+y", "K_{x}=H_{Sin[x],Diff[P_,x]}"}, u"", {0.5}, std::sin(0.5) + 1},
      // Texts built by differentiation and vector operations may put a minus sign directly after
      // an operator (the syntax check refuses it in typed text); it negates the operand after it.
      {{"F_{x,y}=2*x+-3*y^2"}, u"", {1.5, 0.75}, 2 * 1.5 - 3 * 0.75 * 0.75},
      {{"F_{x,y}=x*-y^2*3"}, u"", {1.5, 0.75}, -1.5 * 0.75 * 0.75 * 3},
      {{"F_{x,y}=x/-y/2"}, u"", {1.5, 0.75}, -1.5 / 0.75 / 2},
      {{"F_{x,y}=x--y"}, u"", {1.5, 0.75}, 1.5 + 0.75},
      {{"F_{x,y}=x---y"}, u"", {1.5, 0.75}, 1.5 - 0.75},
      {{"F_{x,y}=2*-Sin[x*-y]+1"}, u"", {1.5, 0.75}, -2 * std::sin(-1.5 * 0.75) + 1},
      {{"F_{x,y}=Sqrt[x^-2+-y/4]"}, u"", {1.5, 0.75}, std::sqrt(1 / (1.5 * 1.5) - 0.75 / 4)},
      {{"K_{t}=Q_{t}+1"}, u"", {}, 0, kMsgFunctionNotFound},
      {{"H_{x,y}=x-y", "K_{t}=H_{t}"}, u"", {}, 0, kMsgArgumentCount},
      {{"H_{a,b,c,d,f}=a", "K_{t}=H_{t,t,t,t,t,t}"}, u"", {}, 0, kMsgArgumentCount},
      {{"G_{t}=t", "K_{t}=2*G_"}, u"", {}, 0, kMsgArgumentOverflow},  // used without braces
      {{"F_{x}=F_{x}+1"}, u"", {}, 0, kMsgRecursion},
      // A cycle beyond the record itself.
      {{"K_{x}=F_{x}", "F_{x}=G_{x}", "G_{x}=F_{x}"}, u"", {}, 0, kMsgExpressionTooLong},
      {{"F_{x}=2E+x"}, u"", {}, 0, kMsgExponentDigit}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.funcs.back());
    LanguageTest::SetUp();
    int16_t last = 0;
    for (const char* d : c.funcs) last = Func(d);
    ASSERT_EQ(c.msg, Compile());
    if (c.msg != 0) continue;
    const FuncRec& f = Tables.FuncTable[static_cast<size_t>(last)];
    EXPECT_TRUE(c.code.empty() || c.code == f.Code);
    EXPECT_NEAR(c.expected, ValueOf(f, c.args), 1e-12 * std::fabs(c.expected));
  }
}

// A constant's value replaces its name in a body unless the constant is locked. A root or an
// integral stores its value without parentheses; a negative one must still multiply.
TEST_F(CompileCodeTest, ConstantSubstitution) {
  const struct {
    const char16_t* valueText;
    int16_t locked;
    const char16_t* expectedExpr;
  } cases[] = {{u"(2.5)", 0, u"x*2.5"}, {u" -0.5", 0, u"x*(-0.5)"}, {u"(2.5)", -1, u"x*c_"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.expectedExpr));
    LanguageTest::SetUp();
    int16_t msg = 0;
    Tables.ConstTable[AppendConstant(msg)] = ConstRec{0, u"c_", u"", c.valueText, 0, c.locked};
    const int16_t k = Func("F_{x}=x*c_");
    ASSERT_EQ(0, Compile());
    EXPECT_EQ(c.expectedExpr, Tables.FuncTable[static_cast<size_t>(k)].Expr);
  }
  // A constant that holds no number stops the compile with its text.
  int16_t msg = 0;
  Tables.ConstTable[AppendConstant(msg)] = ConstRec{0, u"b_", u"", u"(2*q)"};
  rt::Text text;
  EXPECT_EQ(kMsgConstantNotNumber, CompileFunctions(text));
  EXPECT_EQ(u"(2*q)", text);
}

// Several constants go in in table order, each into the text as the earlier ones left it: a name
// that an earlier value covers is not replaced, every occurrence of a name is, and a constant
// after a locked one stays a name.
TEST_F(CompileCodeTest, ConstantsGoInInTableOrder) {
  const struct {
    std::vector<std::pair<const char16_t*, int16_t>> constants;  // names in table order, locked
    const char16_t* body;
    const char16_t* expected;
  } cases[] = {
      {{{u"bb", 0}, {u"ab", 0}}, u"x*abb", u"x*a(1)"},
      {{{u"ab", 0}, {u"bb", 0}}, u"x*abb", u"x*(1)b"},
      {{{u"ab", 0}, {u"cd", 0}, {u"ef", 0}}, u"ef+x*ab-cd/ab", u"(3)+x*(1)-(2)/(1)"},
      {{{u"ab", 0}, {u"cd", -1}, {u"ef", 0}}, u"ab+cd+ef", u"(1)+cd+ef"},
      {{{u"ab", 0}, {u"ab", 0}}, u"ab*x", u"(1)*x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.expected));
    LanguageTest::SetUp();
    int value = 0;
    for (const auto& [name, locked] : c.constants) {
      int16_t msg = 0;
      const rt::Text v = u"(" + rt::IntText(++value) + u")";
      Tables.ConstTable[AppendConstant(msg)] = ConstRec{0, name, u"", v, 0, locked};
    }
    const int16_t k = Func(("F_{x}=" + U8(c.body)).c_str());
    rt::Text text;
    ASSERT_EQ(0, PrepareFunctions(text));
    EXPECT_EQ(rt::Text(c.expected), Tables.FuncTable[static_cast<size_t>(k)].Expr);
  }
}

// Literals are stored from entry 2 and a second compile starts the store again; 99999 is the last
// usable counter; a literal beyond the range of doubles stands for an infinite value.
TEST_F(CompileCodeTest, LiteralStore) {
  Func("F_{x}=2*x-1");
  Func("G_{x}=x*1.5E-3+0.25");
  ASSERT_EQ(0, Compile());
  ASSERT_EQ(0, Compile());
  EXPECT_EQ(5, Tables.ValueTop);
  EXPECT_EQ(1.5e-3, Tables.ValueList[4].Value);
  for (const int32_t before : {99998, 99999}) {
    SCOPED_TRACE(before);
    const bool full = before == 99999;
    Tables.LiteralCount = before;
    Tables.ValueTop = 7;
    rt::Text name;
    EXPECT_EQ(full ? kMsgValuesFull : 0, TableStore(u"4.5", name));
    EXPECT_EQ(99999, Tables.LiteralCount);
    EXPECT_EQ(rt::Text(full ? u"" : u"$99999`"), name);
    EXPECT_EQ(full ? 7 : 99999, Tables.ValueTop);
  }
  Tables.LiteralCount = 1;
  rt::Text name;
  EXPECT_EQ(0, TableStore(u"1E999", name));
  EXPECT_EQ(1e20, Tables.ValueList[2].Value);
}

// The compile lowers ValueTop; the rows above it that a run wrote (parameters, a curve's variable
// raised by hand, a longer compile before) are still cleared with the value list.
TEST_F(CompileCodeTest, ClearedValueListKeepsNoRowACompileLeftAbove) {
  const struct {
    int32_t appended;  // rows appended before the compile
    int32_t raised;    // then ValueTop raised by hand and that row written
  } cases[] = {{40, 0}, {0, 25}, {3, 60}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.appended * 1000 + c.raised);
    LanguageTest::SetUp();
    int16_t msg = 0;
    for (int32_t k = 0; k < c.appended; ++k) ASSERT_NE(0, AppendValue(u"p", 1.5, msg));
    Tables.ValueTop += c.raised;
    Tables.ValueList[static_cast<size_t>(Tables.ValueTop)] = ValueRec{u"t", 2.5};
    Func("F_{x}=2*x");
    ASSERT_EQ(0, Compile());
    ASSERT_LT(Tables.ValueTop, c.appended + c.raised);
    ClearValueList();
    EXPECT_EQ(0, Tables.ValueTop);
    EXPECT_TRUE(std::all_of(Tables.ValueList.begin(), Tables.ValueList.end(),
                            [](const ValueRec& r) { return r.Name.empty() && r.Value == 0; }));
  }
}

// A record whose text is rewritten between compiles gets the code of the text it holds, also when
// a compile in between made a code of the same length from another text (x*y for x+y) and the
// record then comes back to the text its code was kept for, and when a new record at the same
// index holds a text of the same length.
TEST_F(CompileCodeTest, RecordBackToItsTextGetsItsCodeAgain) {
  const struct {
    std::vector<const char*> texts;  // the record's text at each compile after the first
    bool wholeTable;                 // those compiles through CompileAllFunctions
    double expected;                 // at x = 2, y = 3
    bool redefined;                  // each text stored in a new record at the same index
  } cases[] = {{{"x*y", "x+y"}, true, 5, false},
               {{"x*y", "x+y"}, false, 5, false},
               {{"x+y", "x-y", "x*y"}, true, 6, false},
               {{"x^y"}, true, 8, false},
               {{"x*y"}, false, 6, true},
               {{"x*y", "x^y"}, false, 8, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.texts.back()) + (c.wholeTable ? " whole table" : ""));
    LanguageTest::SetUp();
    const int16_t k = Func("F_{x,y}=x+y");
    ASSERT_EQ(0, Compile());
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    for (const char* text : c.texts) {
      if (c.redefined) {
        Tables.FuncCount = static_cast<int16_t>(k - 1);
        ASSERT_EQ(k, Func((std::string("F_{x,y}=") + text).c_str()));
      }
      f.Expr = rt::FromUtf8(text);
      ASSERT_EQ(0, c.wholeTable ? CompileAllFunctions() : Compile());
    }
    EXPECT_EQ(c.expected, ValueOf(f, {2, 3}));
  }
}

}  // namespace
}  // namespace ms
