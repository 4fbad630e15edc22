// Function values bound once per command against the evaluation text they replace (the same
// message, and the value the text gives when the text carries it exactly), and against <cmath> at
// arguments that 15 digits do not hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "mathematics/FunctionValue.h"
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

// A value as its value text gives it back (what the text path does to every result): the same
// double, -0 as 0.
double AsText(double v) {
  return std::isfinite(v) ? rt::Val(rt::RoundTripText(v)) : v;
}

// On arguments that are 15-digit decimals the text path computes what bound code computes: the
// same message, and the bound value read back through its value text is the text's value to the
// bit.
TEST_F(FunctionValueTest, BoundValuesAgreeWithTheTextPathForEveryFunctionAndArgument) {
  // Every operation and guarded function, calls of other functions, constants, a derivative and
  // the failures that become messages (610, 612, 993, 603, an unknown name).
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
  std::vector<double> args = Arguments(19, 300);
  for (double& a : args) {
    if (std::isfinite(a)) a = rt::Val(rt::NumText(a));
  }
  std::vector<int16_t> messages;
  for (const Call& call : calls) {
    SCOPED_TRACE(rt::ToUtf8(call.name));
    for (size_t i = 0; i + 3 <= args.size(); ++i) {
      const double* a = &args[i];
      double byText = -7, byCode = -7;
      const int16_t consts = Tables.ConstCount, funcs = Tables.FuncCount;
      int16_t textMsg = EvalFunctionCallByText(u"f1", call.name, a, call.count, byText);
      int16_t codeMsg = [&] {
        const FunctionBindingScope scope;
        return EvalFunctionCall(u"f1", call.name, a, call.count, byCode);
      }();
      ASSERT_EQ(codeMsg, textMsg) << a[0] << " " << a[1] << " " << a[2];
      ASSERT_EQ(Bits(AsText(byCode)), Bits(byText)) << a[0] << " " << a[1] << " " << a[2];
      EXPECT_EQ(Tables.ConstCount, consts);
      EXPECT_EQ(Tables.FuncCount, funcs);
      messages.push_back(textMsg);
      // The same record taken by its place in the table, as the contour takes its own records.
      int16_t record = 1;
      while (record < Tables.FuncCount && Tables.FuncTable[record].Name != call.name) ++record;
      textMsg = EvalRecordAtByText(record, a, call.count, byText);
      codeMsg = [&] {
        const FunctionBindingScope scope;
        return EvalRecordAt(record, a, call.count, byCode);
      }();
      ASSERT_EQ(codeMsg, textMsg) << "record " << record << ": " << a[0];
      if (textMsg == 0) {
        ASSERT_EQ(Bits(AsText(byCode)), Bits(byText)) << "record " << record << ": " << a[0];
      }
      EXPECT_EQ(Tables.FuncCount, funcs);
    }
  }
  // A place beyond the table holds no function.
  for (const int16_t record : {int16_t{0}, int16_t(Tables.FuncCount + 1)}) {
    double v = 0;
    const FunctionBindingScope scope;
    EXPECT_EQ(EvalRecordAt(record, args.data(), 1, v), 288) << record;
  }
  // The cases reach values and every message a value can end with.
  for (int16_t expected : {0, -1, 603, 610, 612, 993}) {
    EXPECT_NE(std::count(messages.begin(), messages.end(), expected), 0) << expected;
  }
}

// Arguments reach the function as given, to the last bit, and bound results come back unrounded:
// each row is a value that rounding an argument or the result to 15 significant digits would
// change (across a branch: cos of the double nearest π/2 is still positive, 1 - 1e-16 is below 1).
TEST_F(FunctionValueTest, ArgumentsAndResultsKeepEveryDigit) {
  ASSERT_EQ(Run({u"A{x} = Ln[Cos[x]]", u"B{x} = Cos[x]", u"C{x} = x*3", u"D{x,y} = x-y",
                 u"E{x} = Sqrt[x-1]", u"G{x} = Floor[x]+Ceil[x-1]", u"H{x} = Exp[x]-1"}),
            0);
  const double halfPi = 1.5707963267948966;  // the double below π/2
  const struct {
    const char16_t* name;
    double x, y;
    double expected;
    bool exact;  // to the bit (arithmetic), else within 2 units in the last place (<cmath>)
  } cases[] = {
      {u"A_", halfPi, 0, std::log(std::cos(halfPi)), false},  // 15 digits: past π/2, 993
      {u"B_", halfPi, 0, std::cos(halfPi), false},
      {u"C_", 0.1, 0, 0.1 * 3, true},  // 0.30000000000000004
      {u"D_", 1.0000000000000002, 1, 0x1p-52, true},
      {u"E_", 1.0000000000000002, 0, std::sqrt(0x1p-52), false},
      {u"G_", 0.9999999999999999, 0, 0, true},  // Floor 0, Ceil -0: not 1 + 0
      {u"H_", 1e-17, 0, std::exp(1e-17) - 1, true},
      {u"H_", 0.12345678901234567, 0, std::expm1(0.12345678901234567), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.name) + " " + std::to_string(c.x));
    const double args[2] = {c.x, c.y};
    const int count = c.name[0] == u'D' ? 2 : 1;
    int16_t record = 1;
    while (record < Tables.FuncCount && Tables.FuncTable[record].Name != c.name) ++record;
    double byName = -7, byRecord = -7;
    {
      const FunctionBindingScope scope;
      ASSERT_EQ(EvalFunctionCall(u"f1", c.name, args, count, byName), 0);
      ASSERT_EQ(EvalRecordAt(record, args, count, byRecord), 0);
    }
    for (const double v : {byName, byRecord}) {
      if (c.exact) {
        EXPECT_EQ(Bits(v), Bits(c.expected)) << v;
      } else {
        EXPECT_NEAR(v, c.expected, 2 * std::fabs(c.expected) * 0x1p-52) << v;
      }
    }
    // The text path, where a binding is not possible, writes the arguments with 17 digits and
    // reads the result back from a value text that holds every digit too.
    ASSERT_EQ(EvalFunctionCallByText(u"f1", c.name, args, count, byName), 0);
    ASSERT_EQ(EvalRecordAtByText(record, args, count, byRecord), 0);
    for (const double v : {byName, byRecord}) {
      if (c.exact) {
        EXPECT_EQ(Bits(v), Bits(c.expected)) << v;
      } else {
        EXPECT_NEAR(v, c.expected, 2 * std::fabs(c.expected) * 0x1p-52) << v;
      }
    }
  }
}

// Inside one scope a value touches no table once its function is bound (the literal counter stays
// where it is) and leaves nothing in the results list.
TEST_F(FunctionValueTest, OneScopeCompilesEachFunctionOnce) {
  ASSERT_EQ(Run({u"F{x,y} = x*y+Sin[x*y]", u"G{x} = x^2"}), 0);
  const FunctionBindingScope scope;
  const size_t linesBefore = ResultsList.Lines.size();
  double v = 0;
  const double xy[2] = {0.5, 2};
  ASSERT_EQ(EvalFunctionCall(u"f1", u"F_", xy, 2, v), 0);
  EXPECT_EQ(v, 1 + std::sin(1.0));
  const int32_t literals = Tables.LiteralCount;
  ASSERT_EQ(EvalFunctionCall(u"f1", u"F_", xy, 2, v), 0);
  EXPECT_EQ(Tables.LiteralCount, literals);
  EXPECT_EQ(ResultsList.Lines.size(), linesBefore);
}

// A kept call gives what EvalFunctionCall gives, message and bits, on its first value (the look-up)
// and on every later one (the kept code): ordinary arguments against <cmath>, and the cases the
// kept code must hand on (an argument that is no number, a function with Inv[ in it, a binding
// that fails, a full constant table).
TEST_F(FunctionValueTest, KeptCallGivesTheValuesOfTheCallByName) {
  ASSERT_EQ(Run({u"F{x,y} = x*y+Sin[x*y]", u"E{x} = Sqrt[x-1]", u"I{x} = Inv[x]+x", u"W{x} = x+q"}),
            0);
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char16_t* name;
    int count;
    double x, y;
    double expected;       // NaN: no closed form to check
    bool message = false;  // the value ends with a message
    bool fullTable = false;
  } rows[] = {
      {u"F_", 2, 0.1, 3, 0.1 * 3 + std::sin(0.1 * 3)},
      {u"F_", 2, -1.2345678901234567, 2,
       -1.2345678901234567 * 2 + std::sin(-1.2345678901234567 * 2)},
      {u"E_", 1, 1.0000000000000002, 0, std::sqrt(0x1p-52)},
      {u"E_", 1, 0.5, 0, nan, true},  // the square root of a negative number
      {u"F_", 2, kInf, 1, nan},
      {u"F_", 2, 1, nan, nan},

      {u"I_", 1, 2, 0, nan},
      {u"W_", 1, 2, 0, nan, true},  // an undefined name
      {u"F_", 2, 0.5, 2, nan, true, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(rt::ToUtf8(r.name) + " " + std::to_string(r.x) + " " + std::to_string(r.y) +
                 (r.fullTable ? " full" : ""));
    const double args[2] = {r.x, r.y};
    const int16_t consts = Tables.ConstCount;
    if (r.fullTable) Tables.ConstCount = kMaxConstants;
    double byName = -7;
    int16_t nameMsg = 0;
    std::vector<std::pair<int16_t, double>> kept;
    {
      const FunctionBindingScope scope;
      nameMsg = EvalFunctionCall(u"f1", r.name, args, r.count, byName);
      FunctionCall call(u"f1", r.name, r.count);
      for (int i = 0; i < 3; ++i) {
        double v = -7;
        const int16_t msgNo = call(args, v);
        kept.emplace_back(msgNo, v);
      }
    }
    Tables.ConstCount = consts;
    for (const auto& [msgNo, v] : kept) {
      EXPECT_EQ(msgNo, nameMsg);
      EXPECT_EQ(Bits(v), Bits(byName)) << v << " " << byName;
    }
    if (r.fullTable) {
      EXPECT_EQ(nameMsg, kMsgConstantsFull);
    }
    if (!std::isnan(r.expected)) {
      ASSERT_EQ(nameMsg, 0);
      EXPECT_NEAR(byName, r.expected, 2 * std::fabs(r.expected) * 0x1p-52);
    }
    if (r.message) {
      EXPECT_NE(nameMsg, 0);
    }
  }
}

// A kept call follows the bindings: a new scope over a changed sheet, other functions bound after
// it (the bindings move in memory), and no scope at all (the text path).
TEST_F(FunctionValueTest, KeptCallFollowsTheBindings) {
  ASSERT_EQ(Run({u"F{x} = x*5", u"G{x} = x+1", u"H{x} = x+2", u"J{x} = x+3", u"K{x} = x+4"}), 0);
  FunctionCall call(u"f1", u"F_", 1);
  const double x = 0.1;
  double v = 0;
  {
    const FunctionBindingScope scope;
    ASSERT_EQ(call(&x, v), 0);
    EXPECT_EQ(v, 0.1 * 5);
    for (const char16_t* other : {u"G_", u"H_", u"J_", u"K_"}) {
      double w = 0;
      ASSERT_EQ(EvalFunctionCall(u"f1", other, &x, 1, w), 0);
      ASSERT_EQ(call(&x, v), 0);
      EXPECT_EQ(v, 0.1 * 5) << rt::ToUtf8(other);
    }
  }
  // The same tables' sizes, another body.
  ASSERT_EQ(Run({u"F{x} = x*3", u"G{x} = x+1", u"H{x} = x+2", u"J{x} = x+3", u"K{x} = x+4"}), 0);
  {
    const FunctionBindingScope scope;
    ASSERT_EQ(call(&x, v), 0);
    EXPECT_EQ(v, 0.1 * 3);
  }
  ASSERT_EQ(call(&x, v), 0);
  EXPECT_EQ(v, 0.1 * 3);  // 0.30000000000000004 through its value text, not 0.3
  EXPECT_NE(0.1 * 3, 0.3);
}

}  // namespace
}  // namespace ms::testing
