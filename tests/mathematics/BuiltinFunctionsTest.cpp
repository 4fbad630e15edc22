// Every built-in function of the evaluator, typed into a worksheet, against its <cmath>
// counterpart (or the closed form of its definition) at points inside its domain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "language/Tokens.h"
#include "mathematics/EvaluatorState.h"
#include "support/WorksheetFixture.h"

namespace ms {
namespace {

using BuiltinFunctionsTest = testing::WorksheetTest;

// The sign a function of the sign family gives away from 0.
double SignAway(double x) {
  return std::copysign(1.0, x);
}

TEST_F(BuiltinFunctionsTest, EveryFunctionAgainstCmath) {
  struct Case {
    Builtin token;
    const char* name;
    double (*exact)(double);
    std::vector<const char*> points;  // as typed; the same text is read by strtod
  };
  const Case cases[] = {
      {Builtin::Sin, "Sin", [](double x) { return std::sin(x); }, {"0.7", "-2.3", "40.5"}},
      {Builtin::Cos, "Cos", [](double x) { return std::cos(x); }, {"0.7", "-2.3", "40.5"}},
      {Builtin::Tan, "Tan", [](double x) { return std::tan(x); }, {"0.7", "-2.3", "1.5"}},
      {Builtin::ASin, "ASin", [](double x) { return std::asin(x); }, {"0.3", "-0.95", "0.5"}},
      {Builtin::ACos, "ACos", [](double x) { return std::acos(x); }, {"0.3", "-0.95", "0.5"}},
      {Builtin::ATan, "ATan", [](double x) { return std::atan(x); }, {"0.3", "-7", "1000"}},
      {Builtin::Log, "Log", [](double x) { return std::log10(x); }, {"0.02", "7", "123456"}},
      {Builtin::Ln, "Ln", [](double x) { return std::log(x); }, {"0.02", "7", "123456"}},
      {Builtin::Sqrt, "Sqrt", [](double x) { return std::sqrt(x); }, {"0.02", "2", "1E10"}},
      {Builtin::Exp, "Exp", [](double x) { return std::exp(x); }, {"0.7", "-3.5", "20"}},
      {Builtin::Alog, "Alog", [](double x) { return std::pow(10.0, x); }, {"0.7", "-3.5", "12"}},
      {Builtin::Sinh, "Sinh", [](double x) { return std::sinh(x); }, {"0.7", "-3.5", "12"}},
      {Builtin::Cosh, "Cosh", [](double x) { return std::cosh(x); }, {"0.7", "-3.5", "12"}},
      {Builtin::Tanh, "Tanh", [](double x) { return std::tanh(x); }, {"0.7", "-3.5", "0.05"}},
      {Builtin::Abs, "Abs", [](double x) { return std::fabs(x); }, {"0.7", "-3.5"}},
      {Builtin::Clip,
       "Clip",
       [](double x) { return std::clamp(x, -1.0, 1.0); },
       {"0.7", "-3.5", "2", "-0.25"}},
      {Builtin::Floor, "Floor", [](double x) { return std::floor(x); }, {"2.7", "-3.5", "4"}},
      {Builtin::Ceil, "Ceil", [](double x) { return std::ceil(x); }, {"2.7", "-3.5", "4"}},
      {Builtin::Int, "Int", [](double x) { return std::trunc(x); }, {"2.7", "-3.5", "4"}},
      // Unit step, square wave, sign and the inverter away from 0 (at 0 each has its own rule).
      {Builtin::Unit, "Unit", [](double x) { return (1 + SignAway(x)) / 2; }, {"0.7", "-3.5"}},
      {Builtin::Sqw, "Sqw", SignAway, {"0.7", "-3.5"}},
      {Builtin::Sign, "Sign", SignAway, {"0.7", "-3.5"}},
      {Builtin::Inv, "Inv", [](double x) { return -SignAway(x); }, {"0.7", "-3.5"}},
  };
  std::set<char16_t> covered;
  for (const Case& c : cases) {
    covered.insert(TokenChar(c.token));
    for (const char* point : c.points) {
      const std::string line = std::string("r=") + c.name + "[" + point + "]";
      SCOPED_TRACE(line);
      ASSERT_EQ(RunText(rt::FromUtf8(line) + u"\r\n"), 0);
      const double exact = c.exact(std::strtod(point, nullptr));
      EXPECT_NEAR(ConstValue(u"r_"), exact, 1e-13 * std::max(1.0, std::fabs(exact)));
    }
  }
  // No function of the evaluator goes without its row.
  for (char16_t t = TokenChar(Builtin::Sin); t <= TokenChar(Builtin::BVP); ++t) {
    if (IsEvaluatorFunction(t)) {
      EXPECT_EQ(covered.count(t), 1u) << "token " << int{t};
    }
  }
}

// Every built-in at the points where its own rule takes over: the jumps of the step family, the
// ends of Clip's and the inverse sines' ranges, whole numbers for Floor, Ceil and Int, 0 for
// Sqrt and Abs, and the guarded overflows, each with the value its definition gives there.
TEST_F(BuiltinFunctionsTest, EveryFunctionAtItsSpecialPoints) {
  const double pi = 3.1415926536;  // the value the guarded inverse functions take for pi
  const struct {
    const char* call;
    double exact;
    int msgNo = 0;  // a refusal: the number, and no value
  } cases[] = {{"Unit[0]", 1},
               {"Sqw[0]", 0},
               {"Sign[0]", 0},
               {"Abs[0]", 0},
               {"Sqrt[0]", 0},
               {"Sqrt[-4E-30]", 0, 610},
               {"Clip[1]", 1},
               {"Clip[-1]", -1},
               {"Clip[1.0000001]", 1},
               {"Floor[4]", 4},
               {"Floor[-4]", -4},
               {"Floor[-2.5]", -3},
               {"Ceil[-4]", -4},
               {"Ceil[-2.5]", -2},
               {"Ceil[2.5]", 3},
               {"Int[-2.5]", -2},
               {"Int[-4]", -4},
               {"ASin[1]", pi / 2},
               {"ASin[-1]", -pi / 2},
               {"ASin[1.5]", 0, 612},
               {"ACos[1]", 0},
               {"ACos[-1]", pi},
               {"ACos[-1.5]", 0, 612},
               {"ATan[1E+21]", pi / 2},
               {"Tan[1.5707963268]", 1E+20},
               {"Tan[1.5707963]", std::tan(1.5707963)},
               {"Exp[1000]", 1E+20},
               {"Alog[1000]", 1E+20},
               {"Sinh[1000]", 5E+19},
               {"Tanh[1000]", 1},
               {"Tanh[-1000]", -1},
               {"Ln[1]", 0},
               {"Log[1]", 0}};
  for (const auto& [call, exact, msgNo] : cases) {
    const std::string line = std::string("r=") + call;
    SCOPED_TRACE(line);
    if (msgNo != 0) {  // a number outside the function's domain is refused
      EXPECT_EQ(RunText(rt::FromUtf8(line) + u"\r\n"), msgNo);
      continue;
    }
    ASSERT_EQ(RunText(rt::FromUtf8(line) + u"\r\n"), 0);
    EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), exact, 1e-12));
  }
  // Inv[ at 0 repeats its last non-zero result: 0 before any, then 1 after a negative argument
  // and -1 after a positive one.
  MathVars.InvMemory = 0;
  ASSERT_EQ(Run({u"a=Inv[0]", u"b=Inv[-3]", u"c=Inv[0]", u"d=Inv[2]", u"e=Inv[0]"}), 0);
  const std::pair<const char16_t*, double> memory[] = {
      {u"a_", 0}, {u"b_", 1}, {u"c_", 1}, {u"d_", -1}, {u"e_", -1}};
  for (const auto& [name, exact] : memory) EXPECT_EQ(ConstValue(name), exact) << rt::ToUtf8(name);
}

// Derivatives at the same points: the step family's derivative is 0 even at its jump; Abs' is
// Sign, 0 at 0; Clip's slope is 0 at the ends of its range; a derivative that is infinite there
// (Sqrt, Ln at 0, the inverse sines at 1) divides by 0 and gives the guarded 1E+20.
TEST_F(BuiltinFunctionsTest, DerivativesAtTheSpecialPoints) {
  struct Case {
    const char* f;
    int order;
    const char* point;
    double exact;
  };
  const Case cases[] = {
      {"Unit[x]", 1, "0", 0},   {"Sqw[x]", 1, "0", 0},      {"Sign[x]", 1, "0", 0},
      {"Inv[x]", 1, "0", 0},    {"Floor[x]", 1, "2", 0},    {"Ceil[x]", 1, "-2", 0},
      {"Int[x]", 1, "3", 0},    {"Sqw[x]", 3, "0", 0},      {"Abs[x]", 1, "0", 0},
      {"Abs[x]", 1, "-2", -1},  {"Abs[x]", 2, "0", 0},      {"Clip[x]", 1, "1", 0},
      {"Clip[x]", 1, "-1", 0},  {"Clip[x]", 2, "0.5", 0},   {"Sqrt[x]", 1, "0", 1E+20},
      {"Ln[x]", 1, "0", 1E+20}, {"ASin[x]", 1, "1", 1E+20}, {"ACos[x]", 1, "1", -1E+20},
      {"ASin[x]", 1, "0", 1},   {"ATan[x]", 2, "0", 0},     {"Tanh[x]", 3, "0", -2}};
  for (const Case& c : cases) {
    const std::string w = std::string("F{x}=") + c.f + "\r\nG{x}=Diff[F,x," +
                          std::to_string(c.order) + "]\r\nr=G{" + c.point + "}\r\n";
    SCOPED_TRACE(w);
    ASSERT_EQ(RunText(rt::FromUtf8(w)), 0);
    EXPECT_TRUE(testing::NearRel(ConstValue(u"r_"), c.exact, 1e-12));
  }
}

}  // namespace
}  // namespace ms
