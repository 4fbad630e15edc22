#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "mathematics/GuardedFunctions.h"
#include "numerics/DblInt.h"

namespace ms::testing {
namespace {

// Nested Simpson rules on closed forms, in either order: x y over the triangle under y = x is
// 1/8 (exact, the rule is exact on cubics); sin x sin y over [0, pi]^2 is 4; e^(x + y) over the
// unit square is (e - 1)^2; reversed outer limits negate.
TEST(DblIntTest, NestedSimpsonOnClosedForms) {
  const double pi = std::numbers::pi, e = std::numbers::e;
  struct Case {
    const char* name;
    double (*f)(double, double);
    double (*c)(double);
    double (*d)(double);
    double a, b, outer, inner;
    bool yInner;
    double expected, tol;
  };
  const auto zero = [](double) { return 0.0; };
  const auto self = [](double u) { return u; };
  const auto one = [](double) { return 1.0; };
  const Case cases[] = {
      {"x y under y = x", [](double x, double y) { return x * y; }, zero, self, 0, 1, 4, 4, true,
       0.125, 1e-15},
      {"x y right of x = y", [](double x, double y) { return x * y; }, self, one, 1, 0, 4, 4, false,
       -0.125, 1e-15},
      {"sin x sin y", [](double x, double y) { return std::sin(x) * std::sin(y); }, zero,
       [](double) { return std::numbers::pi; }, 0, pi, 40, 40, true, 4, 1e-5},
      {"e^(x+y), x inner", [](double x, double y) { return std::exp(x + y); }, zero, one, 0, 1, 20,
       20, false, (e - 1) * (e - 1), 1e-6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool pole = true;
    EXPECT_NEAR(NestedSimpson(c.f, c.c, c.d, c.a, c.b, c.outer, c.inner, c.yInner, {}, pole),
                c.expected, c.tol);
    EXPECT_FALSE(pole);
  }
}

// A value at the guarded division's infinity, in the integrand or a limit, is a pole: the rule
// gives 0. The sink counts every value of f up to (outer + 1) x (inner + 1) and a stop ends it.
TEST(DblIntTest, PolesProgressAndStop) {
  const auto xy = [](double x, double y) { return x * y; };
  const auto one = [](double) { return 1.0; };
  bool pole = false;
  EXPECT_EQ(NestedSimpson([](double x, double y) { return x * y < 1 ? 1 / (1 - x * y) : 1e20; },
                          [](double) { return 0.0; }, one, 0, 1, 4, 4, true, {}, pole),
            0);
  EXPECT_TRUE(pole);
  EXPECT_EQ(NestedSimpson(
                xy, [](double) { return 0.0; }, [](double u) { return u > 0.5 ? NAN : 1.0; }, 0, 1,
                4, 4, true, {}, pole),
            0);
  EXPECT_TRUE(pole);
  for (const int stopAt : {0, 3}) {
    SCOPED_TRACE(stopAt);
    int events = 0;
    double done = 0, total = 0;
    const ProgressSink sink{[&] { ++events; }, [&] { return stopAt != 0 && events >= stopAt; },
                            [&](double d, double t) {
                              done = d;
                              total = t;
                            }};
    const double v = NestedSimpson(
        xy, [](double) { return 0.0; }, one, 0, 1, 4, 2, true, sink, pole);
    EXPECT_EQ(total, 15);
    // Stopped before the second outer node: the three values of the first.
    EXPECT_EQ(done, stopAt == 0 ? 15 : 3);
    EXPECT_NEAR(v, stopAt == 0 ? 0.25 : 0, 1e-15);
  }
}

// The evaluator gives 0 for 0/0: at such a node the rules take the integrand's limit from inside
// the region, along the inner variable, the outer one or both. The integrands divide as the
// evaluator does (SafeDivide). sin(x y) / (x y) over the unit square is the sum over k of
// (-1)^k / ((2k + 1)! (2k + 1)^2); sin(x - y) / (x - y) over 0 <= y <= x <= 1 is the integral of
// Si(x) over [0, 1], Si(1) + cos 1 - 1; a limit function sin x / x gives the area Si(1) under it.
// A limit that grows towards the node (1 / (x y) on the axes) is a pole.
TEST(DblIntTest, ZeroOverZeroNodesTakeTheLimit) {
  double squareSeries = 0, factorial = 1;
  for (int k = 0; k < 10; ++k) {
    if (k > 0) factorial *= (2 * k) * (2 * k + 1);
    squareSeries += (k % 2 ? -1 : 1) / (factorial * (2 * k + 1) * (2 * k + 1));
  }
  const double si1 = 0.946083070367183;
  const auto sinc = [](double u) { return SafeDivide(std::sin(u), u); };
  struct Case {
    const char* name;
    PlaneFunction f;
    LineFunction c, d;
    double a, b;
    bool yInner;
    bool pole;
    double expected, tol;
  };
  const auto zero = [](double) { return 0.0; };
  const auto one = [](double) { return 1.0; };
  const auto self = [](double u) { return u; };
  const PlaneFunction sincXY = [&](double x, double y) { return sinc(x * y); };
  const PlaneFunction sincDiff = [&](double x, double y) { return sinc(x - y); };
  const Case cases[] = {
      {"sin(x y) / (x y), y inner", sincXY, zero, one, 0, 1, true, false, squareSeries, 1e-7},
      {"sin(x y) / (x y), x inner", sincXY, zero, one, 0, 1, false, false, squareSeries, 1e-7},
      {"sin(x y) / (x y), reversed", sincXY, zero, one, 1, 0, true, false, -squareSeries, 1e-7},
      {"sin(x - y) / (x - y) under y = x", sincDiff, zero, self, 0, 1, true, false,
       si1 + std::cos(1.0) - 1, 1e-7},
      {"sin(x - y) / (x - y) right of x = y", sincDiff, self, one, 0, 1, false, false,
       si1 + std::cos(1.0) - 1, 1e-7},
      {"under sin x / x", [](double, double) { return 1.0; }, zero, sinc, 0, 1, true, false, si1,
       1e-7},
      {"x y / (x y)^2", [](double x, double y) { return SafeDivide(x * y, x * y * x * y); }, zero,
       one, 0, 1, true, true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool pole = !c.pole;
    const double v = NestedSimpson(c.f, c.c, c.d, c.a, c.b, 20, 20, c.yInner, {}, pole);
    EXPECT_EQ(pole, c.pole);
    EXPECT_NEAR(v, c.expected, c.tol);
  }
}

}  // namespace
}  // namespace ms::testing
