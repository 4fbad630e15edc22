#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "numerics/Roots.h"
#include "support/PlainFunction.h"

namespace ms::testing {
namespace {

// Bisection and the check of its sign change on closed forms: a zero is found within the
// tolerance with its bracket narrowed below it; a pole or a jump is refused; no sign change or
// no value gives its message.
TEST(RootsTest, BisectionOnClosedForms) {
  struct Case {
    const char* name;
    double (*g)(double);
    double a, b, tol;
    int16_t msgNo;
    double root;  // NaN: a discontinuity, no zero
  };
  const double kNo = std::nan("");
  const Case cases[] = {
      {"sqrt 2", [](double x) { return x * x - 2; }, 1, 2, 1e-12, 0, std::numbers::sqrt2},
      {"sqrt 2, reversed bracket", [](double x) { return x * x - 2; }, 2, 0, 1e-9, 0,
       std::numbers::sqrt2},
      {"pi of sin", [](double x) { return std::sin(x); }, 3, 4, 1e-13, 0, std::numbers::pi},
      {"triple zero", [](double x) { return std::pow(x - 0.25, 3); }, 0, 1, 1e-10, 0, 0.25},
      {"pole of 1/x", [](double x) { return 1 / x; }, -1, 2, 1e-5, 0, kNo},
      {"pole of tan", [](double x) { return std::tan(x); }, 1, 2, 1e-5, 0, kNo},
      {"jump", [](double x) { return x < 0.7 ? -1.0 : 1.0; }, 0, 1, 1e-5, 0, kNo},
      {"same sign", [](double x) { return x * x + 1; }, -1, 2, 1e-5, kMsgSameSign, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    double a = c.a, b = c.b, root = 0;
    const RealFunction f = Plain(c.g);
    ASSERT_EQ(BisectZero(f, a, b, root, c.tol), c.msgNo);
    if (c.msgNo != 0) continue;
    EXPECT_LE(std::fabs(b - a), c.tol);
    bool discontinuity = false;
    ASSERT_EQ(CheckSignChange(f, c.a, c.b, a, b, discontinuity), 0);
    EXPECT_EQ(discontinuity, std::isnan(c.root));
    if (!std::isnan(c.root)) {
      EXPECT_NEAR(root, c.root, c.tol);
    }
  }
  double a = -1, b = 4, root = 0;
  const RealFunction none = [](double x, double& fx) -> int16_t {
    fx = std::sqrt(x) - 1;
    return x < 0 ? 7 : 0;
  };
  EXPECT_EQ(BisectZero(none, a, b, root, 1e-5), kMsgNoValue);
}

// The sink sees every halving: its steps count up to the total it is told, events run before
// each value, and a stop asked for ends the search with the midpoint reached.
TEST(RootsTest, ProgressAndStop) {
  const RealFunction f = Plain([](double x) { return x * x - 2; });
  for (const int stopAt : {0, 5}) {
    SCOPED_TRACE(stopAt);
    int events = 0;
    double lastDone = -1, total = 0;
    ProgressSink sink{[&] { ++events; }, [&] { return stopAt != 0 && events >= stopAt; },
                      [&](double done, double t) {
                        lastDone = done;
                        total = t;
                      }};
    double a = 1, b = 2, root = 0;
    ASSERT_EQ(BisectZero(f, a, b, root, 1.0 / 1024, sink), 0);
    EXPECT_EQ(total, 10);
    EXPECT_EQ(events, stopAt == 0 ? 10 : stopAt);
    EXPECT_EQ(lastDone, stopAt == 0 ? kMaxBisections : stopAt - 1);
    EXPECT_NEAR(root, std::numbers::sqrt2, stopAt == 0 ? 1.0 / 1024 : 1.0 / 16);
  }
}

}  // namespace
}  // namespace ms::testing
