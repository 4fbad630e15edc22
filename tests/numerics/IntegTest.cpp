#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

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

}  // namespace
}  // namespace ms::testing
