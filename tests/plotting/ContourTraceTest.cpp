// The contour tracer on closed-form fields, with no worksheet: traced points against the level
// they belong to, closing, the box, the sink's room and Esc.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plotting/ContourTrace.h"

namespace ms::testing {
namespace {

// Keeps what the tracer writes, with room for `room` segments.
class VectorSink : public ContourSegmentSink {
 public:
  explicit VectorSink(size_t room = 100000) : room_(room) {}
  bool HasRoom() const override { return segments.size() < room_; }
  void Add(const ContourSegment& s) override { segments.push_back(s); }
  void StepTaken() override { ++steps; }
  void LimitReached() override { limited = true; }
  std::vector<ContourSegment> segments;
  int steps = 0;
  bool limited = false;

 private:
  size_t room_;
};

ContourField Field(double (*f)(double, double), double (*fx)(double, double),
                   double (*fy)(double, double)) {
  const auto wrap = [](double (*g)(double, double)) -> FieldFn {
    return [g](double x, double y, double& v) {
      v = g(x, y);
      return true;
    };
  };
  return {wrap(f), wrap(fx), wrap(fy)};
}

double Circle(double x, double y) {
  return x * x + y * y;
}
double Saddle(double x, double y) {
  return x * y;
}

// Circles x^2 + y^2 = c and the saddle's hyperbolas x y = c: every traced point within er of its
// level, every step about sg long; a circle closes on its first point, a hyperbola branch ends
// inside the box after going out of it no further than a step.
TEST(ContourTrace, PointsLieOnTheirLevelsAndCirclesClose) {
  struct Case {
    const char* what;
    ContourField field;
    double (*f)(double, double);
    double sx, sy, c, er, sg;
    bool closes;
  };
  const ContourField circle = Field(
      Circle, [](double x, double) { return 2 * x; }, [](double, double y) { return 2 * y; });
  const ContourField saddle = Field(
      Saddle, [](double, double y) { return y; }, [](double x, double) { return x; });
  const Case cases[] = {
      {"circle r = 1", circle, Circle, 1.2, 0.1, 1, 0.01, 0.1, true},
      {"circle r = 2", circle, Circle, 0.5, 2.5, 4, 0.001, 0.2, true},
      {"circle r = 0.5, short steps", circle, Circle, -0.4, -0.4, 0.25, 0.005, 0.05, true},
      {"saddle x y = 1", saddle, Saddle, 1, 1, 1, 0.001, 0.1, false},
      {"saddle x y = -2", saddle, Saddle, -1, 2.5, -2, 0.01, 0.2, false}};
  const ContourBox box{-3, 3, -3, 3};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VectorSink sink;
    TraceContourBranch(c.field, sink, ProgressSink{}, box, c.sx, c.sy, c.c, c.er, c.sg);
    const auto& s = sink.segments;
    ASSERT_GT(s.size(), 6u);
    for (size_t k = 0; k < s.size(); ++k) {
      EXPECT_LT(std::fabs(c.f(s[k].x2, s[k].y2) - c.c), c.er) << k;
      EXPECT_EQ(s[k].z1, c.c);
      EXPECT_EQ(s[k].z2, c.c);
      EXPECT_LE(std::max(std::fabs(s[k].x2), std::fabs(s[k].y2)), 3) << "outside the box";
      if (k > 0) {
        EXPECT_EQ(s[k].x1, s[k - 1].x2) << "one connected curve";
      }
      const double len = std::hypot(s[k].x2 - s[k].x1, s[k].y2 - s[k].y1);
      // A step of sg along the tangent, pulled back onto the level within er: about sg long.
      if (!(c.closes && k + 1 == s.size())) {
        EXPECT_NEAR(len, c.sg, 0.5 * c.sg + c.er) << k;
      }
    }
    EXPECT_EQ(s.back().x2 == s.front().x1 && s.back().y2 == s.front().y1, c.closes);
    if (c.closes) {
      // Once round: the curve's length is the circumference within the steps' chords.
      double length = 0;
      for (const ContourSegment& seg : s) length += std::hypot(seg.x2 - seg.x1, seg.y2 - seg.y1);
      EXPECT_NEAR(length, 2 * std::acos(-1.0) * std::sqrt(c.c), 0.05 * std::sqrt(c.c) + c.sg);
    } else {
      // The branch ends near the box's edge, beyond which its next step would go.
      const ContourSegment& last = s.back();
      EXPECT_GT(std::max(std::fabs(last.x2), std::fabs(last.y2)), 3 - 2 * c.sg);
    }
  }
}

// The sink's room: a circle that closes on its seventh step (sg 1.254 turns a unit circle by
// about 2 pi / 7) gets its closing segment only when there is room for it; a full sink ends the
// branch and says so. Esc stops the tracer within an event pass of being seen.
TEST(ContourTrace, RoomAndEscEndABranch) {
  const ContourField circle = Field(
      Circle, [](double x, double) { return 2 * x; }, [](double, double y) { return 2 * y; });
  const ContourBox box{-2, 2, -2, 2};
  struct Case {
    size_t room;
    size_t segments;
    bool limited;
  };
  for (const Case& c :
       {Case{100, 8, false}, Case{8, 8, false}, Case{7, 7, true}, Case{4, 4, true}}) {
    SCOPED_TRACE(c.room);
    VectorSink sink(c.room);
    TraceContourBranch(circle, sink, ProgressSink{}, box, 1, 0, 1, 0.1, 1.254);
    EXPECT_EQ(sink.segments.size(), c.segments);
    EXPECT_EQ(sink.limited, c.limited);
  }
  for (int escAt : {1, 5, 20}) {
    SCOPED_TRACE(escAt);
    int events = 0;
    ProgressSink progress{[&] { ++events; }, [&] { return events >= escAt; }, {}};
    VectorSink sink;
    TraceContourBranch(circle, sink, progress, box, 1.2, 0.1, 1, 0.001, 0.05);
    EXPECT_GE(events, escAt);
    EXPECT_LE(events, escAt + 1) << "at most one event pass after Esc is seen";
    EXPECT_LT(sink.segments.size(), static_cast<size_t>(escAt));
  }
}

// Levels where every point converges at once, the straight lines x = 0.5 and x + y = 1: the
// corrector leaves every predicted point where it is, so the curve is the predictor's steps of sg
// along the tangent (0, -1) or (1, -1) / sqrt 2, every one drawn, until the step that leaves the
// box. Where f has no value (here x < 0, the partial derivatives defined everywhere) no point is
// on a level, not even on the level 0 that the 0 taken for the missing value would match.
TEST(ContourTrace, ConvergedStepsAreKeptAndPointsOffTheLevelAreNot) {
  const FieldFn one = [](double, double, double& v) {
    v = 1;
    return true;
  };
  const FieldFn zero = [](double, double, double& v) {
    v = 0;
    return true;
  };
  const FieldFn xOnly = [](double x, double, double& v) {
    v = x;
    return true;
  };
  const FieldFn sum = [](double x, double y, double& v) {
    v = x + y;
    return true;
  };
  const FieldFn xRight = [](double x, double, double& v) {
    v = x;
    return x >= 0;
  };
  struct Case {
    const char* what;
    ContourField field;
    double sx, sy, c;
    double ux, uy;  // the unit tangent step direction
    size_t segments;
  };
  const double r = 1 / std::sqrt(2.0);
  const Case cases[] = {
      // From y = 0.3 down by 0.25 to -0.95; the step to -1.2 leaves the box.
      {"x = 0.5", {xOnly, one, zero}, 0.5, 0.3, 0.5, 0, -1, 5},
      // From (0.5, 0.5) down to the right until x passes 1: (1 - 0.5) / (0.25 r) = 2.8 steps.
      {"x + y = 1", {sum, one, one}, 0.5, 0.5, 1, r, -r, 2},
      {"x = 0 where x < 0 has no value", {xRight, one, zero}, -0.5, 0.3, 0, 0, -1, 0},
  };
  const double sg = 0.25;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VectorSink sink;
    TraceContourBranch(c.field, sink, ProgressSink{}, {-1, 1, -1, 1}, c.sx, c.sy, c.c, 0.01, sg);
    ASSERT_EQ(sink.segments.size(), c.segments);
    double x = c.sx, y = c.sy;
    for (const ContourSegment& s : sink.segments) {
      EXPECT_EQ(s.x1, x);
      EXPECT_EQ(s.y1, y);
      x += sg * c.ux;
      y += sg * c.uy;
      EXPECT_NEAR(s.x2, x, 1e-15);
      EXPECT_NEAR(s.y2, y, 1e-15);
      x = s.x2;
      y = s.y2;
    }
  }
}

// A field without values anywhere reaches no level, and a vanishing gradient ends the branch at
// once.
TEST(ContourTrace, NoValuesNoCurve) {
  const FieldFn none = [](double, double, double& v) {
    v = 99;
    return false;
  };
  VectorSink sink;
  TraceContourBranch({none, none, none}, sink, ProgressSink{}, {-1, 1, -1, 1}, 0.5, 0.5, 1, 0.1,
                     0.1);
  EXPECT_TRUE(sink.segments.empty());
}

}  // namespace
}  // namespace ms::testing
