// Every built-in function of the evaluator, typed into a worksheet, against its <cmath>
// counterpart (or the closed form of its definition) at points inside its domain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "language/Tokens.h"
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

}  // namespace
}  // namespace ms
