#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "mathematics/GuardedFunctions.h"
#include "numerics/Integ.h"
#include "support/PlainFunction.h"

namespace ms::testing {
namespace {

// The running 3/8 rule on closed forms: x^2 is integrated exactly at every node (x^3 / 3), sin
// over [0, pi] to 2 within the rule's error, a start value carries over, and the weight and
// offset give G(x) I(x) + H(x) at each node.
TEST(IntegTest, RunningSimpson38OnClosedForms) {
  const double pi = std::numbers::pi;
  struct Case {
    const char* name;
    double (*f)(double);
    double (*g)(double);  // nullptr: no weight
    double (*h)(double);  // nullptr: no offset
    double a, b;
    int panels;
    double start;
    double (*exact)(double);  // the expected weighted value at each node
    double tol;
  };
  const Case cases[] = {
      {"x^2", [](double x) { return x * x; }, nullptr, nullptr, 0, 3, 30, 0,
       [](double x) { return x * x * x / 3; }, 1e-13},
      {"sin on [0, pi]", [](double x) { return std::sin(x); }, nullptr, nullptr, 0, pi, 20, 0,
       [](double x) { return 1 - std::cos(x); }, 1e-6},
      {"x^2 from 1, reversed", [](double x) { return x * x; }, nullptr, nullptr, 2, 0, 4, 1,
       [](double x) { return 1 + (x * x * x - 8) / 3; }, 1e-13},
      {"2 I(x) + x for 3 x^2", [](double x) { return 3 * x * x; }, [](double) { return 2.0; },
       [](double x) { return x; }, 0, 1, 5, 0, [](double x) { return 2 * x * x * x + x; }, 1e-13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunningIntegral out;
    ASSERT_EQ(
        RunningSimpson38(Plain(c.f), c.g ? Plain(c.g) : RealFunction{},
                         c.h ? Plain(c.h) : RealFunction{}, c.a, c.b, c.panels, c.start, {}, out),
        0);
    ASSERT_EQ(out.x.size(), static_cast<size_t>(c.panels));
    EXPECT_FALSE(out.stopped);
    for (size_t i = 0; i < out.x.size(); ++i) {
      EXPECT_NEAR(out.x[i], c.a + (i + 1) * (c.b - c.a) / c.panels, 1e-15);
      EXPECT_NEAR(out.weighted[i], c.exact(out.x[i]), c.tol) << i;
    }
    EXPECT_EQ(out.x.back(), c.b);
  }
}

// A pole inside the range makes a huge panel: refused with its message, the nodes before kept.
// A value that cannot be had ends the run with its message. The sink sees every panel and stops
// the run.
TEST(IntegTest, PolesMessagesAndStop) {
  RunningIntegral out;
  EXPECT_EQ(RunningSimpson38(Plain([](double x) { return 1 / ((x - 0.5) * (x - 0.5)); }), {}, {}, 0,
                             1, 10, 0, {}, out),
            kMsgIntegralPole);
  EXPECT_EQ(out.x.size(), 4u);
  const RealFunction none = [](double x, double& fx) -> int16_t {
    fx = x;
    return x > 0.5 ? 12 : 0;
  };
  EXPECT_EQ(RunningSimpson38(Plain([](double x) { return x; }), none, {}, 0, 1, 4, 0, {}, out), 12);
  EXPECT_EQ(out.x.size(), 2u);
  for (const int stopAt : {0, 3}) {
    SCOPED_TRACE(stopAt);
    int events = 0;
    double done = -1, total = 0;
    const ProgressSink sink{[&] { ++events; }, [&] { return stopAt != 0 && events >= stopAt; },
                            [&](double d, double t) {
                              done = d;
                              total = t;
                            }};
    ASSERT_EQ(RunningSimpson38(Plain([](double x) { return x; }), {}, {}, 0, 1, 8, 0, sink, out),
              0);
    EXPECT_EQ(total, 8);
    EXPECT_EQ(out.stopped, stopAt != 0);
    EXPECT_EQ(out.x.size(), stopAt == 0 ? 8u : 2u);
    EXPECT_EQ(done, stopAt == 0 ? 8 : 1);
  }
}

// The evaluator gives 0 for 0/0: at such a node the rule takes the integrand's limit from inside
// the panel. The integrands divide as the evaluator does (SafeDivide). Si(1) = 0.946083070367183
// and Si(pi) = 1.851937051982466 (sine integral); the integral of (1 - cos x) / x^2 over [0, 1] is
// Si(1) - (1 - cos 1) by parts, and on one panel the rule takes its limit 1/2 at 0; one panel of
// [0, 1] of sin(3x - 1) / (3x - 1) meets 0/0 at its node 1/3, where the rule takes 1: (sin 1 + 3 +
// 3 sin 1 + sin 2 / 2) / 8. Limits that grow
// towards the node (1/x, 1/sqrt x) or a quotient undefined everywhere stop with the pole message.
TEST(IntegTest, ZeroOverZeroNodesTakeTheLimit) {
  const double si1 = 0.946083070367183, siPi = 1.851937051982466;
  struct Case {
    const char* name;
    double (*f)(double);
    double a, b;
    int panels;
    int16_t msgNo;
    double expected, tol;  // refused: expected is the count of panels finished before the pole
  };
  const Case cases[] = {
      {"sin x / x", [](double x) { return SafeDivide(std::sin(x), x); }, 0, std::numbers::pi, 100,
       0, siPi, 1e-9},
      {"sin x / x, reversed", [](double x) { return SafeDivide(std::sin(x), x); }, std::numbers::pi,
       0, 100, 0, -siPi, 1e-9},
      {"(1 - cos x) / x^2", [](double x) { return SafeDivide(1 - std::cos(x), x * x); }, 0, 1, 100,
       0, si1 - (1 - std::cos(1.0)), 1e-8},
      {"(1 - cos x) / x^2, one panel", [](double x) { return SafeDivide(1 - std::cos(x), x * x); },
       0, 1, 1, 0,
       (0.5 + 3 * (1 - std::cos(1.0 / 3)) * 9 + 3 * (1 - std::cos(2.0 / 3)) * 9 / 4 +
        (1 - std::cos(1.0))) /
           8,
       1e-9},
      {"sin(x - 1/2) / (x - 1/2) at a panel end",
       [](double x) { return SafeDivide(std::sin(x - 0.5), x - 0.5); }, 0, 1, 10, 0,
       2 * 0.4931074180430667, 1e-8},
      {"sin(3x - 1) / (3x - 1) at a third",
       [](double x) { return SafeDivide(std::sin(3 * x - 1), 3 * x - 1); }, 0, 1, 1, 0,
       (std::sin(1.0) + 3 + 3 * std::sin(1.0) + std::sin(2.0) / 2) / 8, 1e-9},
      {"x^2 / x, limit 0", [](double x) { return SafeDivide(x * x, x); }, 0, 1, 4, 0, 0.5, 1e-12},
      {"x / x^2", [](double x) { return SafeDivide(x, x * x); }, 0, 1, 10, kMsgIntegralPole, 0, 0},
      {"x / x^2 from the left", [](double x) { return SafeDivide(x, x * x); }, -1, 0, 10,
       kMsgIntegralPole, 9, 0},
      {"x / (x sqrt x)", [](double x) { return SafeDivide(x, x * std::sqrt(std::fabs(x))); }, 0, 1,
       10, kMsgIntegralPole, 0, 0},
      {"(x - x) / (x - x)", [](double x) { return SafeDivide(x - x, x - x); }, 0, 1, 10,
       kMsgIntegralPole, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunningIntegral out;
    ASSERT_EQ(RunningSimpson38(Plain(c.f), {}, {}, c.a, c.b, c.panels, 0, {}, out), c.msgNo);
    if (c.msgNo != 0) {
      EXPECT_EQ(out.x.size(), static_cast<size_t>(c.expected));
      continue;
    }
    ASSERT_EQ(out.running.size(), static_cast<size_t>(c.panels));
    EXPECT_NEAR(out.running.back(), c.expected, c.tol);
  }
}

}  // namespace
}  // namespace ms::testing
