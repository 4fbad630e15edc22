// IVP[F,{t0,tf,x0}{factor,tol}] and its two- to four-equation forms
// IVP[F,G,{t0,tf,x0,y0}{factor,tol,mode}] ... IVP[F,G,H,R,{t0,tf,x0,y0,z0,w0}{factor,tol,mode}]:
// the statement's arguments and the views a solve offers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "mathematics/FunctionValue.h"  // StripValueParens
#include "platform/runtime/Runtime.h"

namespace ms {

// The group of views of the solution an IVP[ solve offers: the phase views (one equation, or a
// system in plot mode 1), the time views of a system in plot mode 2 (two, three or four
// equations) or 3 (four equations), or none (three equations in plot mode 3 or 4).
enum class OdeViewGroup : uint8_t {
  kNone,
  kPhase,
  kTwoEquationsMode2,
  kThreeEquationsMode2,
  kFourEquationsMode2,
  kFourEquationsMode3
};
struct IvpViewState {
  OdeViewGroup Views = OdeViewGroup::kNone;  // as the last IVP[ run left it
  // Set by an IVP[ run; the picture build reports the views and clears it.
  bool ViewsChanged = false;
  // The time grid unit of the picture being built, which the picture build passes in and takes
  // back; the coupled solvers reset it to 1 together with the other grid units when one is too
  // small to divide by. None outside a build.
  std::optional<double> TimeGridUnit;
};

extern IvpViewState IvpView;

// Start-up state: no views, nothing changed, no time grid unit.
void ResetIvpView();

// The arguments of IVP[F,...,{t0,tf,x0,...}{factor,tol,mode}] with one to four equations.
struct IvpArgs {
  int equations = 0;            // 1..4 once the identifiers are counted
  std::array<rt::Text, 5> ids;  // entries 1..equations
  double t0 = 0, tf = 0;
  double init[4] = {0, 0, 0, 0};   // x0, y0, z0, w0
  double factor = 0, tol = 0;      // factor >= 1, tol <= 0.1
  std::optional<double> plotMode;  // 1..4 once read (systems only; a later check may refuse)
};

// Parses and checks the statement: 0, or the first message met (2000..2050, 3600..3613 or a range
// reader's message).
[[nodiscard]] int16_t ParseIvpArgs(const rt::Text& statement, IvpArgs& args);

// Records the group of views that fits the problem (1..4 equations and the plot mode) and that
// it changed.
void SetViewGroup(int equations, double mode);

}  // namespace ms
