#include "numerics/Integ.h"

#include <algorithm>
#include <cmath>

#include "numerics/RemovablePoint.h"

namespace ms {

int16_t Simpson38Panel(const RealFunction& f, double x, double h, double& panel) {
  // Simpson's 3/8 rule: h/8 * (f0 + 3 f1 + 3 f2 + f3) over nodes h/3 apart; exact for cubics.
  const double nodes[4] = {x, x + h / 3, x + 2 * h / 3, x + h};
  const double middle = x + h / 2;
  double fv[4] = {0, 0, 0, 0};
  UndefinedQuotientWatch watch;
  for (int i = 0; i < 4; ++i) {
    if (const int16_t msgNo = f(nodes[i], fv[i]); msgNo != 0) return msgNo;
    if (!watch.Met()) continue;
    // A value of 0/0: the limit at the node, approached from the middle of the panel.
    const double offset = (middle > nodes[i] ? 1 : -1) * std::fabs(h) / 3 * kRemovableOffset;
    PointLimit limit;
    const int16_t msgNo =
        LimitAtPoint([&](double s, double& v) { return f(nodes[i] + s * offset, v); }, limit);
    if (msgNo != 0) return msgNo;
    watch.Met();
    if (limit.kind != LimitKind::kFinite) return kMsgIntegralPole;
    fv[i] = limit.value;
  }
  panel = (3 * fv[1] + fv[0] + 3 * fv[2] + fv[3]) * (3 * h) / 24;
  return 0;
}

int16_t RunningSimpson38(const RealFunction& f, const RealFunction& g, const RealFunction& h,
                         double a, double b, int panels, double start, const ProgressSink& progress,
                         RunningIntegral& out) {
  out = RunningIntegral{};
  const double width = (b - a) / panels;
  double x = a, running = start;
  progress.Step(0, panels);
  for (int i = 1; i <= panels; ++i) {
    progress.LetEventsRun();
    if (progress.Aborted()) {
      out.stopped = true;
      return 0;
    }
    progress.Step(i - 1, panels);
    double panel = 0;
    if (const int16_t msgNo = Simpson38Panel(f, x, width, panel); msgNo != 0) return msgNo;
    if (!(std::fabs(panel) <= kMaxPanelValue * std::max(1.0, std::fabs(width)))) {
      return kMsgIntegralPole;
    }
    // Each node from the start, not by adding the width panel after panel: the sum of the steps
    // drifts (x^2 over 30 panels of [0, 3] would come to 9.000000000000007).
    x = a + i * width;
    double weight = 1, offset = 0;
    if (g) {
      if (const int16_t msgNo = g(x, weight); msgNo != 0) return msgNo;
    }
    if (h) {
      if (const int16_t msgNo = h(x, offset); msgNo != 0) return msgNo;
    }
    running += panel;
    out.x.push_back(x);
    out.running.push_back(running);
    out.weighted.push_back(weight * running + offset);
  }
  progress.Step(panels, panels);
  return 0;
}

}  // namespace ms
