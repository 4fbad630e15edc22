// Derivatives of the worksheet's built-in functions worked out by hand, independent of the
// program's differentiator: for each built-in its value and first four derivatives at a point,
// for a few inner arguments theirs, and the chain rule to the fourth order (Faa di Bruno) that
// composes the two.
#pragma once

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace ms::testing {

// The value and the derivatives of orders 1 to 4 at one point.
using Jet = std::array<double, 5>;

struct ExactBuiltin {
  std::u16string name;  // as typed, with its "["
  std::function<Jet(double)> jet;
};

// Every differentiable built-in; the piecewise constant ones have derivative 0 away from their
// jumps. Each holds for an argument in (0, 1).
inline std::vector<ExactBuiltin> ExactBuiltins() {
  const double ln10 = std::log(10.0);
  auto constant = [](double v) { return Jet{v, 0, 0, 0, 0}; };
  return {
      {u"Sin[",
       [](double u) {
         const double s = std::sin(u), c = std::cos(u);
         return Jet{s, c, -s, -c, s};
       }},
      {u"Cos[",
       [](double u) {
         const double s = std::sin(u), c = std::cos(u);
         return Jet{c, -s, -c, s, c};
       }},
      // tan' = 1 + tan^2, and each further derivative follows from it.
      {u"Tan[",
       [](double u) {
         const double t = std::tan(u), t2 = t * t;
         return Jet{t, 1 + t2, 2 * t * (1 + t2), 2 + 8 * t2 + 6 * t2 * t2,
                    16 * t + 40 * t * t2 + 24 * t * t2 * t2};
       }},
      {u"Sinh[",
       [](double u) {
         const double s = std::sinh(u), c = std::cosh(u);
         return Jet{s, c, s, c, s};
       }},
      {u"Cosh[",
       [](double u) {
         const double s = std::sinh(u), c = std::cosh(u);
         return Jet{c, s, c, s, c};
       }},
      // tanh' = 1 - tanh^2.
      {u"Tanh[",
       [](double u) {
         const double t = std::tanh(u), t2 = t * t;
         return Jet{t, 1 - t2, -2 * t * (1 - t2), -2 + 8 * t2 - 6 * t2 * t2,
                    16 * t - 40 * t * t2 + 24 * t * t2 * t2};
       }},
      // asin' = (1 - u^2)^(-1/2).
      {u"ASin[",
       [](double u) {
         const double w = 1 - u * u;
         return Jet{std::asin(u), std::pow(w, -0.5), u * std::pow(w, -1.5),
                    (1 + 2 * u * u) * std::pow(w, -2.5),
                    (9 * u + 6 * u * u * u) * std::pow(w, -3.5)};
       }},
      {u"ACos[",
       [](double u) {
         const double w = 1 - u * u;
         return Jet{std::acos(u), -std::pow(w, -0.5), -u * std::pow(w, -1.5),
                    -(1 + 2 * u * u) * std::pow(w, -2.5),
                    -(9 * u + 6 * u * u * u) * std::pow(w, -3.5)};
       }},
      // atan' = 1 / (1 + u^2).
      {u"ATan[",
       [](double u) {
         const double p = 1 + u * u;
         return Jet{std::atan(u), 1 / p, -2 * u / (p * p), (6 * u * u - 2) / (p * p * p),
                    24 * u * (1 - u * u) / (p * p * p * p)};
       }},
      {u"Ln[",
       [](double u) {
         return Jet{std::log(u), 1 / u, -1 / (u * u), 2 / (u * u * u), -6 / (u * u * u * u)};
       }},
      {u"Log[",
       [ln10](double u) {
         return Jet{std::log10(u), 1 / (u * ln10), -1 / (u * u * ln10), 2 / (u * u * u * ln10),
                    -6 / (u * u * u * u * ln10)};
       }},
      {u"Exp[",
       [](double u) {
         const double e = std::exp(u);
         return Jet{e, e, e, e, e};
       }},
      {u"Alog[",
       [ln10](double u) {
         const double a = std::pow(10.0, u);
         return Jet{a, a * ln10, a * ln10 * ln10, a * std::pow(ln10, 3), a * std::pow(ln10, 4)};
       }},
      {u"Sqrt[",
       [](double u) {
         return Jet{std::sqrt(u), 0.5 * std::pow(u, -0.5), -0.25 * std::pow(u, -1.5),
                    0.375 * std::pow(u, -2.5), -0.9375 * std::pow(u, -3.5)};
       }},
      // For a positive argument Abs is the identity, and so is Clip inside (-1, 1).
      {u"Abs[",
       [](double u) {
         return Jet{u, 1, 0, 0, 0};
       }},
      {u"Clip[",
       [](double u) {
         return Jet{u, 1, 0, 0, 0};
       }},
      {u"Floor[", [constant](double) { return constant(0); }},
      {u"Ceil[", [constant](double) { return constant(1); }},
      {u"Int[", [constant](double) { return constant(0); }},
      {u"Unit[", [constant](double) { return constant(1); }},
      {u"Sqw[", [constant](double) { return constant(1); }},
      {u"Sign[", [constant](double) { return constant(1); }},
      {u"Inv[", [constant](double) { return constant(-1); }},
  };
}

// An inner argument that starts with a negated variable, as text in the variable x, with its
// jet at the point x0 where it lies in (0, 1).
struct ExactArgument {
  std::u16string text;
  std::u16string x0Text;
  double x0;
  Jet jet;
};

inline std::vector<ExactArgument> NegatedArguments() {
  const double s = -1.5;
  return {{u"-x+0.5", u"0.3", 0.3, {0.2, -1, 0, 0, 0}},
          {u"-x-0.5", u"-0.8", -0.8, {0.3, -1, 0, 0, 0}},
          {u"-x*x+0.5", u"0.3", 0.3, {0.41, -0.6, -2, 0, 0}},
          {u"-x+Sin[x]",
           u"-1.5",
           s,
           {-s + std::sin(s), -1 + std::cos(s), -std::sin(s), -std::cos(s), std::sin(s)}}};
}

// The n-th derivative (n = 1 to 4) of f(g(x)) from the jets of f at g(x) and of g at x.
inline double ChainRule(const Jet& f, const Jet& g, int n) {
  const double g1 = g[1], g2 = g[2], g3 = g[3], g4 = g[4];
  switch (n) {
    case 1:
      return f[1] * g1;
    case 2:
      return f[2] * g1 * g1 + f[1] * g2;
    case 3:
      return f[3] * g1 * g1 * g1 + 3 * f[2] * g1 * g2 + f[1] * g3;
    case 4:
      return f[4] * g1 * g1 * g1 * g1 + 6 * f[3] * g1 * g1 * g2 +
             f[2] * (3 * g2 * g2 + 4 * g1 * g3) + f[1] * g4;
    default:
      return NAN;
  }
}

// The text with every "x" replaced by the letter v (for a vector's parameter).
inline std::u16string WithVariable(std::u16string text, char16_t v) {
  for (char16_t& c : text)
    if (c == u'x') c = v;
  return text;
}

}  // namespace ms::testing
