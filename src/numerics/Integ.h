// The running integral of a function of one variable by the composite Simpson 3/8 rule, panel by
// panel, with an optional weight G and offset H at each node: G(x) * I(x) + H(x).
#pragma once

#include <cstdint>
#include <vector>

#include "numerics/RealFunction.h"
#include "platform/runtime/ProgressSink.h"

namespace ms {

// A panel beyond this, times its width where that is above 1, is taken for a pole inside the
// range: the integrand's values over it average above 100,000. A wide panel of moderate values (ln
// x over [1, 1E30]) is no pole.
constexpr double kMaxPanelValue = 100000;
// An integrand with a pole in the range: the integral commands stop with this number.
constexpr int16_t kMsgIntegralPole = 5085;

// The nodes reached, one per panel finished: x = a + i h, running = start + the integral from a
// to x, weighted = G(x) * running + H(x).
struct RunningIntegral {
  std::vector<double> x, running, weighted;
  bool stopped = false;  // the sink asked to stop before the last panel
};

// One panel [x, x + h] by the 3/8 rule on its three sub-intervals of width h/3: 0, or f's message.
// A node where f gives the evaluator's 0/0 takes f's limit there from inside the panel; where that
// limit is not finite (or not to be had), the panel is refused with kMsgIntegralPole.
[[nodiscard]] int16_t Simpson38Panel(const RealFunction& f, double x, double h, double& panel);

// The running integral of f from a to b in `panels` panels (at least 1), starting at `start`;
// g and h may be empty (weight 1, offset 0). Each panel first lets events run and asks the sink
// whether to stop, then reports its step (of `panels`); after each panel f, then g and h at its
// end are evaluated. Returns 0 (out.stopped tells a stop), the first message of f, g or h, or
// kMsgIntegralPole for a panel whose magnitude exceeds kMaxPanelValue (times a width above 1) or
// that Simpson38Panel refuses; the nodes finished before are in out either way.
[[nodiscard]] int16_t RunningSimpson38(const RealFunction& f, const RealFunction& g,
                                       const RealFunction& h, double a, double b, int panels,
                                       double start, const ProgressSink& progress,
                                       RunningIntegral& out);

}  // namespace ms
