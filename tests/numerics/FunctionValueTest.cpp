// Function values bound once per command against the evaluation text they replace: the same value
// to the bit and the same message for every function and argument, guarded failures included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "language/WorksheetTables.h"
#include "mathematics/Math.h"
#include "numerics/FunctionValue.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

using FunctionValueTest = WorksheetTest;

uint64_t Bits(double v) {
  uint64_t b = 0;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Arguments that reach every rounding case of the 15-digit text: ordinary values, values at the
// ends of the double range and below it, halfway digits, signed zeros, infinities and NaN.
std::vector<double> Arguments(unsigned seed, int count) {
  std::mt19937_64 rng(seed);
  std::vector<double> out = {0.0,
                             -0.0,
                             1.0,
                             -2.5,
                             0.1,
                             1.0 / 3,
                             123456789012345.5,
                             1.0000000000000049,
                             1e-310,
                             -5e-324,
                             1e20,
                             1.7976931348623157e308,
                             -1.79769313486231e308,
                             std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
  std::uniform_real_distribution<double> small(-6, 6);
  std::uniform_int_distribution<int> exponent(-330, 308);
  while (static_cast<int>(out.size()) < count) {
    out.push_back(small(rng));
    out.push_back((rng() % 2 ? -1 : 1) * small(rng) * std::pow(10.0, exponent(rng)));
    uint64_t bits = rng();
    double any = 0;
    std::memcpy(&any, &bits, sizeof any);
    out.push_back(any);
  }
  return out;
}

TEST_F(FunctionValueTest, BoundValuesEqualTheTextPathForEveryFunctionAndArgument) {
  // Every operation and guarded function, calls of other functions, constants, a derivative and
  // the failures that become messages (610, 993, 603, an unknown name).
  const char16_t* const sheet[] = {
      u"a = 0.333333333333333",
      u"bc = 2.5E2*a",
      u"G{x} = x^3-2*x+a",
      u"F{x} = Sin[x]*Cos[x]+x^2-G{x/2}+Tan[x]/bc",
      u"H{x} = Sqrt[x]+Ln[x]+Log[x]",
      u"P{x} = x^(1/3)+x^0.4+(-x)^1.5",
      u"Q{x} = Exp[x]+Sinh[x]-Cosh[x]+Tanh[x]+Alog[x/100]",
      u"R{x} = ASin[x]+ACos[x]+ATan[x]+Abs[x]+Sign[x]+Unit[x]+Sqw[x]+Clip[x]",
      u"S{x} = Floor[x]+Ceil[x]+Int[x]+1/x+x/0",
      u"T{x} = Diff[G,x]*x",
      u"U{x,y} = x*y+Sin[x*y]-x/y+G{y}^2",
      u"V{x,y,z} = (x-y)*(y-z)/(z-x)",
      u"W{x} = x+q",
      u"K{x} = Sqrt[x-1]",
      u"Y{x} = -3*x^4-(-x)^3+(x-1)^2*x^(bc/125)+2^x+x^5+x^(-2)+0.1*x^2",
  };
  rt::Text text;
  for (const char16_t* line : sheet) text += rt::Text(line) + u"\r\n";
  ASSERT_EQ(RunText(text), 0);

  struct Call {
    const char16_t* name;
    int count;
  };
  const Call calls[] = {{u"G_", 1}, {u"F_", 1}, {u"H_", 1}, {u"P_", 1}, {u"Q_", 1},
                        {u"R_", 1}, {u"S_", 1}, {u"T_", 1}, {u"U_", 2}, {u"V_", 3},
                        {u"W_", 1}, {u"K_", 1}, {u"Y_", 1}};
  const std::vector<double> args = Arguments(19, 300);
  std::vector<int16_t> messages;
  for (const Call& call : calls) {
    SCOPED_TRACE(rt::ToUtf8(call.name));
    for (size_t i = 0; i + 3 <= args.size(); ++i) {
      const double* a = &args[i];
      double byText = -7, byCode = -7;
      int16_t textMsg = 0, codeMsg = 0;
      const int16_t consts = Tables.ConstCount, funcs = Tables.FuncCount;
      textMsg = EvalFunctionCallByText(u"f1", call.name, a, call.count, byText);
      {
        const FunctionBindingScope scope;
        codeMsg = EvalFunctionCall(u"f1", call.name, a, call.count, byCode);
      }
      ASSERT_EQ(codeMsg, textMsg) << a[0] << " " << a[1] << " " << a[2];
      ASSERT_EQ(Bits(byCode), Bits(byText)) << a[0] << " " << a[1] << " " << a[2];
      EXPECT_EQ(Tables.ConstCount, consts);
      EXPECT_EQ(Tables.FuncCount, funcs);
      messages.push_back(textMsg);
      // The same record taken by its place in the table, as the contour takes its own records.
      int16_t record = 1;
      while (record < Tables.FuncCount && Tables.FuncTable[record].Name != call.name) ++record;
      textMsg = EvalRecordAtByText(record, a, call.count, byText);
      {
        const FunctionBindingScope scope;
        codeMsg = EvalRecordAt(record, a, call.count, byCode);
      }
      ASSERT_EQ(codeMsg, textMsg) << "record " << record << ": " << a[0];
      if (textMsg == 0) {
        ASSERT_EQ(Bits(byCode), Bits(byText)) << "record " << record << ": " << a[0];
      }
      EXPECT_EQ(Tables.FuncCount, funcs);
    }
  }
  // A place beyond the table holds no function.
  for (const int16_t record : {int16_t{0}, int16_t(Tables.FuncCount + 1)}) {
    double v = 0;
    int16_t msgNo = 0;
    const FunctionBindingScope scope;
    msgNo = EvalRecordAt(record, args.data(), 1, v);
    EXPECT_EQ(msgNo, 288) << record;
  }
  // The cases reach values and every message a value can end with.
  for (int16_t expected : {0, -1, 603, 610, 993}) {
    EXPECT_NE(std::count(messages.begin(), messages.end(), expected), 0) << expected;
  }
}

TEST_F(FunctionValueTest, OneScopeCompilesEachFunctionOnce) {
  ASSERT_EQ(Run({u"F{x,y} = x*y+Sin[x*y]", u"G{x} = x^2"}), 0);
  const FunctionBindingScope scope;
  const size_t linesBefore = ResultsList.Lines.size();
  double v = 0;
  int16_t msgNo = 0;
  const double xy[2] = {0.5, 2};
  msgNo = EvalFunctionCall(u"f1", u"F_", xy, 2, v);
  ASSERT_EQ(msgNo, 0);
  EXPECT_EQ(v, RoundResult(1 + std::sin(1.0)));
  // After the binding, a value touches no table: the literal counter stays where it is.
  const int32_t literals = Tables.LiteralCount;
  for (int i = 0; i < 100; ++i) {
    const double x = i * 0.01;
    msgNo = EvalFunctionCall(u"f1", u"G_", &x, 1, v);
    ASSERT_EQ(msgNo, 0);
    EXPECT_EQ(v, RoundResult(RoundArgument(x) * RoundArgument(x)));
  }
  const int32_t afterG = Tables.LiteralCount;
  msgNo = EvalFunctionCall(u"f1", u"F_", xy, 2, v);
  EXPECT_EQ(Tables.LiteralCount, afterG);
  EXPECT_NE(literals, 0);
  // Value requests leave nothing in the results list.
  EXPECT_EQ(ResultsList.Lines.size(), linesBefore);
}

TEST_F(FunctionValueTest, BoundCodeDumpShowsOperandsFusedIntoOperations) {
  ASSERT_EQ(Run({u"F{x,y} = 2*x+Sin[y]/3"}), 0);
  rt::Text code;
  const FuncRec& f = Tables.FuncTable[1];
  BoundCode bound;
  ASSERT_TRUE(BindCode(f.Code, u"xy", bound));
  // The quotient's 3 is fused into the division, Sin[y] and the product 2*x into one push each.
  EXPECT_EQ(rt::ToUtf8(DumpBoundCode(bound)),
            "const 3\nsin arg 2\ndiv\nscaled arg 1 times 2\nadd\n");
  double v = 0;
  int16_t msgNo = 0;
  const double args[2] = {1.5, 0.5};
  RunBound(bound, args, v, msgNo);
  EXPECT_EQ(msgNo, 0);
  EXPECT_DOUBLE_EQ(v, 3 + std::sin(0.5) / 3);
  // Constant exponents 2 to 4 are bound into the power, which takes an argument base and its
  // first constant factor as its operands; other exponents stay operands; a negated constant is
  // a constant, and a constant times an argument one push: ((3*x^4+x^2)+-(x^5))+-2*x.
  ASSERT_EQ(Run({u"F{x} = 3*x^4+x^2-x^5-2*x"}), 0);
  ASSERT_TRUE(BindCode(Tables.FuncTable[1].Code, u"x", bound));
  EXPECT_EQ(rt::ToUtf8(DumpBoundCode(bound)),
            "scaled arg 1 times -2\nconst 5\narg 1\npow\nneg\npow arg 1 2\n"
            "pow arg 1 4 times 3\nadd\nadd\nadd\n");
  const double x = -1.25;
  RunBound(bound, &x, v, msgNo);
  EXPECT_EQ(msgNo, 0);
  EXPECT_EQ(v, 3 * 2.44140625 + 1.5625 + 3.0517578125 + 2.5);  // every term exact
  // Code that pops more than it pushed is not bound.
  EXPECT_FALSE(BindCode(u"+x", u"x", bound));
  EXPECT_FALSE(BindCode(u"xx", u"x", bound));
}

}  // namespace
}  // namespace ms::testing
