// Level curves f(x, y) = c followed, not sampled on a grid: a predictor steps a length sg along
// the tangent (fy, -fx) / |grad f| and a corrector pulls the point back onto the level along the
// unit gradient with a halving step (a bisection along the gradient line). The field and its
// partial derivatives are callables and the segments go to a sink, so that the method runs on
// any field, a worksheet function or a closed form alike.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/runtime/ProgressSink.h"

namespace ms {

// Segments a run can hold at most is one less than this; a branch also takes no more steps.
constexpr int16_t kContourSegmentCap = 15000;

// One traced segment; both z are the level.
struct ContourSegment {
  double x1 = 0, y1 = 0, z1 = 0;
  double x2 = 0, y2 = 0, z2 = 0;
};

// A value of the field or of a partial derivative at (x, y): true with value written, or false
// when there is none there (the tracer takes 0).
using FieldFn = std::function<bool(double x, double y, double& value)>;

struct ContourField {
  FieldFn f, fx, fy;
};

struct ContourBox {
  double x0 = 0, xf = 0, y0 = 0, yf = 0;
};

// Where the traced segments go.
class ContourSegmentSink {
 public:
  virtual ~ContourSegmentSink() = default;
  // Whether one more segment can be taken.
  virtual bool HasRoom() const = 0;
  virtual void Add(const ContourSegment& segment) = 0;
  // A step's segment was taken and the curve goes on.
  virtual void StepTaken() {}
  // The sink filled up and cut the curve short.
  virtual void LimitReached() {}
};

// The unit gradient (fx, fy) / |(fx, fy)| at (x, y), or (0, 0) when its length is below er.
void ContourGradient(const ContourField& field, double x, double y, double& gx, double& gy,
                     double er);

// Moves (x, y) onto the level c along the unit gradient: steps of length h = 0.25 halved at every
// change of side, until |c - f| < er, 100 steps on one side, a vanishing gradient or an abort.
// Events run before every value of f. The result is (rx, ry); true when it is on the level (f has
// a value there within er of c), false when the corrector stopped for any other reason.
bool ContourCorrector(const ContourField& field, const ProgressSink& progress, double& rx,
                      double& ry, double x, double y, double c, double er);

// Traces one curve of level c from the start point (sx0, sy0) into the sink. Every point drawn is
// on the level: a start the corrector cannot bring onto it gives no curve, and a step it cannot
// bring back onto it ends the curve (that step dropped). The curve also ends when it closes on its
// first point (the closing segment added when there is room), leaves the box (the step that leaves
// it is dropped), reaches a vanishing gradient, fills the sink, is aborted, or has taken one step
// for every cell of side sg in the box without doing any of these (it would go round forever).
void TraceContourBranch(const ContourField& field, ContourSegmentSink& sink,
                        const ProgressSink& progress, const ContourBox& box, double sx0, double sy0,
                        double c, double er, double sg);

}  // namespace ms
