#include "numerics/SecantShooting.h"

#include <cmath>
#include <optional>

#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "numerics/Bvp.h"
#include "numerics/CoupledRkf45.h"
#include "numerics/LinearShooting.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"

namespace ms {

namespace {

// The iteration stops when the end values of the two latest slopes differ by less than tol while
// the latest misses xb by more than this many tolerances.
constexpr double kMissFactor = 10.0;
// Secant steps after the two start slopes. A linear problem is solved by the first; a smooth
// nonlinear one converges superlinearly, within a dozen.
constexpr int kMaxSecantSteps = 50;
// Secant steps on the end values of the adaptive integration, from the slope found on the fixed
// steps. That slope is near already: a linear problem needs one step, a smooth one a few.
constexpr int kMaxAdaptiveSteps = 20;

void ShowNoConvergence(double xb, double X1, double s1) {
  ui::Ui().MsgBox(u"Input slope estimates did not converge to " + rt::NumText(xb) + u"\r\n" +
                      u"From the input slopes, X(tb) --> " + rt::NumText(X1) + u" the X'(to)--> " +
                      rt::NumText(s1) + u"\r\n" +
                      u"Review the conditions required to obtain a unique solution in the "
                      u"Tourbook document.",
                  ui::kOkOnly, u"");
}

// The curve of slope s by the adaptive two-equation solver, stored in the views of one
// second-order equation in the shooting's own slots: 0, or the solve's message. A curve that
// reaches tb more than kMissFactor tol away from xb says so in a box with both values.
int16_t FinalSolve(const OdeRhs& f, double t0, double x0, double tb, double xb, double s,
                   double factor, double tol, const ProgressSink& progress) {
  OdePicture.IVPPlotMode = 1;
  // Esc met before this point has been answered; the final solve watches for a new one.
  RunFlags.AbortRun = 0;
  std::optional<double> endX;
  const int16_t msgNo = SolveShootingCurve(f, t0, tb, x0, s, factor, tol, progress, endX);
  if (RunFlags.AbortRun || msgNo != 0) return msgNo;
  if (!RunFlags.Replot) {
    Bvp.BVPTrialSlopes[0] = 0;
    OdeResults.BVPSolved = -1;
    OdeResults.InitialSlope = s;
  }
  if (endX && std::abs(*endX - xb) > kMissFactor * tol) {
    ui::Ui().MsgBox(GetMessageText(kMsgCurveMissesXb) + u"\r\nX(tb) --> " + rt::NumText(*endX) +
                        u"  xb = " + rt::NumText(xb),
                    ui::kOkOnly, u"");
  }
  return 0;
}

// The slope s found on the fixed steps, with the other of the two latest slopes, goes on by the
// same secant rule on end values of the adaptive integration that draws the curve, until that
// curve meets xb within tol (a linear problem whose fixed-step answer meets it within kMissFactor
// tol keeps it). s becomes the slope whose end value came nearest xb. 0, or a right-hand side's
// message; Esc leaves at once.
int16_t SettleOnDrawnCurve(const OdeRhs& f, double t0, double x0, double tb, double xb, double& s,
                           double other, double tol, const ProgressSink& progress) {
  std::optional<double> X1, X0;
  int16_t msgNo = ShootingCurveEnd(f, t0, tb, x0, s, tol, progress, X1);
  if (msgNo != 0 || RunFlags.AbortRun || !X1 || std::abs(*X1 - xb) <= kMissFactor * tol)
    return msgNo;
  double s1 = s, s0 = other;
  msgNo = ShootingCurveEnd(f, t0, tb, x0, s0, tol, progress, X0);
  if (msgNo != 0 || RunFlags.AbortRun || !X0) return msgNo;
  double bestMiss = std::abs(*X1 - xb);
  for (int i = 0; i < kMaxAdaptiveSteps && !(std::abs(*X1 - xb) < tol) && *X1 != *X0; ++i) {
    const double s2 = s1 + (xb - *X1) * (s1 - s0) / (*X1 - *X0);
    std::optional<double> X2;
    if (!std::isfinite(s2)) break;
    msgNo = ShootingCurveEnd(f, t0, tb, x0, s2, tol, progress, X2);
    if (msgNo != 0 || RunFlags.AbortRun) return msgNo;
    if (!X2) break;
    s0 = s1;
    X0 = X1;
    s1 = s2;
    X1 = X2;
    if (std::abs(*X1 - xb) < bestMiss) {
      bestMiss = std::abs(*X1 - xb);
      s = s1;
    }
  }
  return 0;
}

// The answer s (other: the other of the two latest slopes) settled on the drawn curve and drawn.
int16_t DrawAnswer(const OdeRhs& f, double t0, double x0, double tb, double xb, double s,
                   double other, double factor, double tol, const ProgressSink& progress) {
  if (const int16_t msgNo = SettleOnDrawnCurve(f, t0, x0, tb, xb, s, other, tol, progress);
      msgNo != 0 || RunFlags.AbortRun)
    return msgNo;
  return FinalSolve(f, t0, x0, tb, xb, s, factor, tol, progress);
}

}  // namespace

int16_t ShootEndValue(const OdeRhs& f, double t0, double x0, double tb, double slope, double& X,
                      bool& reached) {
  reached = false;
  const double h = (tb - t0) / kShootSteps;
  double x = x0, y = slope;
  // Step i starts at t0 + i h and the last one ends on tb, so that exactly kShootSteps steps are
  // taken whatever the rounding of h.
  for (int i = 0; i < kShootSteps; ++i) {
    if (RunFlags.AbortRun) return 0;
    ui::Ui().DoEvents();
    if (RunFlags.AbortRun) return 0;
    const double t = t0 + i * h;
    const double step = i + 1 == kShootSteps ? tb - t : h;
    double tNew = 0, xNew = 0, yNew = 0;
    if (const int16_t msgNo = RK4Step2(f, t, x, y, tNew, xNew, yNew, step); msgNo != 0)
      return msgNo;
    if (BeyondValueLimit(xNew) || BeyondValueLimit(yNew)) {
      ui::Ui().MsgBox(u"For first estimate: xi = " + rt::NumText(t) + u" : yi = " + rt::NumText(x) +
                          u" : zi = " + rt::NumText(y),
                      ui::kOkOnly, u"");
      return 0;
    }
    x = xNew;
    y = yNew;
  }
  X = x;
  reached = true;
  return 0;
}

int16_t ShootBVP(const OdeRhs& f, double t0, double x0, double tb, double xb, double& s0,
                 double& s1, double factor, double tol, const ProgressSink& progress) {
  RunFlags.AbortRun = 0;
  if (RunFlags.Replot) return FinalSolve(f, t0, x0, tb, xb, s1, factor, tol, progress);
  int16_t msgNo = 0;
  double X0 = 0, X1 = 0, X2 = 0;
  // A trial that did not reach tb has no end value to offer: it is never taken for the answer.
  const auto endValue = [&](double slope, double& X) {
    bool reached = false;
    msgNo = ShootEndValue(f, t0, x0, tb, slope, X, reached);
    if (RunFlags.AbortRun || msgNo != 0) return false;
    if (!reached) {
      msgNo = kMsgTrialBeyondLimit;
      return false;
    }
    return true;
  };
  if (!endValue(s0, X0) || !endValue(s1, X1)) return msgNo;
  for (int iteration = 0;; ++iteration) {
    // Slopes that have settled give the answer only when their end value meets xb.
    if (std::abs(s1 - s0) <= tol) {
      if (std::abs(X1 - xb) > kMissFactor * tol) {
        ShowNoConvergence(xb, X1, s1);
        return 0;
      }
      return DrawAnswer(f, t0, x0, tb, xb, s1, s0, factor, tol, progress);
    }
    if (RunFlags.AbortRun) return 0;
    ui::Ui().DoEvents();
    if (std::abs(xb - X1) < tol || std::abs(xb - X0) < tol) {
      const bool latest = std::abs(xb - X1) < tol;
      return DrawAnswer(f, t0, x0, tb, xb, latest ? s1 : s0, latest ? s0 : s1, factor, tol,
                        progress);
    }
    // Equal end values leave the secant step undefined: the slope has no effect on X(tb). A
    // secant that has not settled within the iteration limit will not.
    if ((std::abs(X1 - X0) < tol && std::abs(X1 - xb) > kMissFactor * tol) || X1 == X0 ||
        iteration == kMaxSecantSteps) {
      ShowNoConvergence(xb, X1, s1);
      return 0;
    }
    const double s2 = s1 + (xb - X1) * (s1 - s0) / (X1 - X0);
    if (!std::isfinite(s2)) {
      ShowNoConvergence(xb, X1, s1);
      return 0;
    }
    if (!endValue(s2, X2)) return msgNo;
    s0 = s1;
    X0 = X1;
    s1 = s2;
    X1 = X2;
    OdeResults.InitialSlope = s2;
  }
}

}  // namespace ms
