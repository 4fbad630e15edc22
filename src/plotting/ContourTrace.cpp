#include "plotting/ContourTrace.h"

#include <cmath>

#include "platform/runtime/Runtime.h"

namespace ms {

namespace {

// Corrector: first step length, steps on one side of the level before it gives up.
constexpr double kCorrectorStep = 0.25;
constexpr int kCorrectorSameSideLimit = 100;

// A curve counts as closed after this many steps when it is back within half a segment length of
// its first point.
constexpr int kClosingMinSteps = 6;

double ValueOf(const FieldFn& fn, double x, double y) {
  double v = 0;
  return fn(x, y, v) ? v : 0.0;
}

// The value of f at (x, y), false where f has none (the value is then 0).
bool ValueAt(const FieldFn& fn, double x, double y, double& v) {
  v = 0;
  if (fn(x, y, v)) return true;
  v = 0;
  return false;
}

// Outside the box, or not a number: either ends a branch.
bool OutsideBox(double x, double y, const ContourBox& b) {
  return !(x >= b.x0 && x <= b.xf && y >= b.y0 && y <= b.yf);
}

// Steps after which a branch that has neither closed nor left the box ends: one step for every
// cell of side sg in the box, (width / sg + 1) * (height / sg + 1). A curve that does not wind
// through the box crosses far fewer cells than that; one that gets there has passed its first
// point without coming within half a step of it (a loose tolerance er lets the corrector stop
// that far off the level) and would go round again until the sink is full, taking the other
// levels and start points with it.
double BranchStepLimit(const ContourBox& b, double sg) {
  const double cells = (std::fabs(b.xf - b.x0) / sg + 1) * (std::fabs(b.yf - b.y0) / sg + 1);
  return cells < kContourSegmentCap ? cells : kContourSegmentCap;
}

}  // namespace

void ContourGradient(const ContourField& field, double x, double y, double& gx, double& gy,
                     double er) {
  const double fx = ValueOf(field.fx, x, y);
  const double fy = ValueOf(field.fy, x, y);
  const double g = std::sqrt(fx * fx + fy * fy);
  if (g < er) {
    gx = 0;
    gy = 0;
    return;
  }
  gx = fx / g;
  gy = fy / g;
}

bool ContourCorrector(const ContourField& field, const ProgressSink& progress, double& rx,
                      double& ry, double x, double y, double c, double er) {
  double px = x, py = y;
  double h = kCorrectorStep;
  int s = 1;
  int q = 0;
  progress.LetEventsRun();
  double f = 0;
  bool valued = ValueAt(field.f, px, py, f);
  double d = c - f;
  bool converged = false;
  for (;;) {
    if (progress.Aborted()) break;
    if (std::fabs(d) < er) {
      // A point where f has no value is on no level, whatever the 0 taken for it.
      converged = valued;
      break;
    }
    if (rt::Sgn(d) == s) {
      if (++q > kCorrectorSameSideLimit) break;
    } else {
      h /= 2;
      s = rt::Sgn(d);
      q = 0;
    }
    if (progress.Aborted()) break;
    double gx = 0, gy = 0;
    ContourGradient(field, px, py, gx, gy, er);
    if (std::fabs(gx) + std::fabs(gy) < er) break;
    px += h * gx * s;
    py += h * gy * s;
    progress.LetEventsRun();
    valued = ValueAt(field.f, px, py, f);
    d = c - f;
    if (progress.Aborted()) break;
  }
  rx = px;
  ry = py;
  return converged;
}

void TraceContourBranch(const ContourField& field, ContourSegmentSink& sink,
                        const ProgressSink& progress, const ContourBox& box, double sx0, double sy0,
                        double c, double er, double sg) {
  double startX = 0, startY = 0;
  // A start the corrector cannot bring onto the level has no curve of this level through it.
  if (!ContourCorrector(field, progress, startX, startY, sx0, sy0, c, er)) return;
  double x = startX, y = startY;
  int steps = 0;
  const double maxSteps = BranchStepLimit(box, sg);
  for (;;) {
    progress.LetEventsRun();
    if (progress.Aborted()) return;
    if (steps >= maxSteps) return;
    if (!sink.HasRoom()) return;
    double gx = 0, gy = 0;
    ContourGradient(field, x, y, gx, gy, er);
    if (std::fabs(gx) + std::fabs(gy) < er) return;

    // Predictor: a step sg along the tangent (fy, -fx) / |grad f|; then back onto the level.
    const double px = x, py = y;
    const bool onLevel = ContourCorrector(field, progress, x, y, px + sg * gy, py - sg * gx, c, er);
    ++steps;
    // A step the corrector cannot bring back onto the level ends the curve; its segment would
    // lead off the level, so it is dropped.
    if (!onLevel) return;

    // A step that leaves the box ends the curve; its segment is dropped, so no piece outside the
    // box is drawn.
    if (OutsideBox(x, y, box)) return;
    sink.Add({px, py, c, x, y, c});

    if (steps > kClosingMinSteps && std::hypot(x - startX, y - startY) <= 0.5 * sg) {
      if (sink.HasRoom()) {
        sink.Add({x, y, c, startX, startY, c});
        return;
      }
      sink.LimitReached();
      return;
    }
    sink.StepTaken();
    if (!sink.HasRoom()) {
      sink.LimitReached();
      return;
    }
  }
}

}  // namespace ms
