#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "BvpTestSupport.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "numerics/Bvp.h"
#include "numerics/BvpTrials.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneStore.h"

namespace ms::testing {
namespace {

constexpr int kSegmentsPerCurve = 99;  // rows 1..99, the first segment of zero length

class BvpTrialsTest : public BvpFixture {
 protected:
  static int16_t Family(double a1, double a2, double mode, double tb = 1, double xb = 1) {
    int16_t msgNo = -99;
    PlotBVPFamily(u"F_", u"G_", 0, 0, tb, xb, a1, a2, mode, msgNo);
    return msgNo;
  }
  // x'' = -x natively: trial k from x(0) = 0 with slope s is s sin t.
  void UseOscillator() {
    UseNative({{u"F_", [](double, double, double y) { return y; }},
               {u"G_", [](double, double x, double) { return -x; }}});
  }
  static std::vector<double> Slopes() {
    const int n = static_cast<int>(std::nearbyint(Bvp.BVPTrialSlopes[0]));  // halves to even
    return std::vector<double>(Bvp.BVPTrialSlopes.begin() + 1,
                               Bvp.BVPTrialSlopes.begin() + 1 + std::min(n, 10));
  }
  static SegmentRow Segment(int s) { return Scene.SegmentTable[static_cast<size_t>(s)]; }
  static Point3 From(int s) {
    return Scene.VertexXYZ[static_cast<size_t>(Segment(s)[kStartPoint])];
  }
  static Point3 To(int s) { return Scene.VertexXYZ[static_cast<size_t>(Segment(s)[kEndPoint])]; }
};

TEST_F(BvpTrialsTest, CurveColourTable) {
  struct Case {
    int16_t index;
    int16_t red, green, blue;
  };
  const Case cases[] = {
      {1, 255, 0, 0},     {2, 0, 255, 0},      {3, 0, 0, 255},     {4, 0, 255, 255},
      {5, 64, 255, 128},  {6, 255, 0, 255},    {7, 128, 128, 128}, {8, 255, 128, 128},
      {9, 128, 255, 128}, {10, 128, 128, 255}, {0, 0, 0, 0},       {11, 0, 0, 0},
      {-1, 0, 0, 0},      {32767, 0, 0, 0},    {-32768, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    int16_t r = -1, g = -1, b = -1;
    GetCurveColor(c.index, r, g, b);
    EXPECT_EQ(r, c.red);
    EXPECT_EQ(g, c.green);
    EXPECT_EQ(b, c.blue);
  }
}

TEST_F(BvpTrialsTest, SlopesFromTheTwoEstimatesAndTheMode) {
  UseOscillator();
  struct Case {
    double a1, a2, mode;
    double count;  // entry 0 afterwards
    std::vector<double> slopes;
  };
  const Case cases[] = {
      {0, 2, 4, 4, {0, 0.5, 1, 1.5}},
      {0, 2, 20, 10, {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9}},
      {3, 5, 1, 1, {3}},
      {0, 2, 2.5, 2.5, {0, 0.8}},
      {1, -1, 2, 2, {1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    ResetBvpState();
    StartSceneBuild();
    Evals().count = 0;
    ASSERT_EQ(Family(c.a1, c.a2, c.mode), 0);
    EXPECT_EQ(Bvp.BVPTrialSlopes[0], c.count);
    const std::vector<double> slopes = Slopes();
    ASSERT_EQ(slopes.size(), c.slopes.size());
    for (size_t k = 0; k < slopes.size(); ++k) EXPECT_NEAR(slopes[k], c.slopes[k], 1e-12);
    // 100 Fehlberg steps of six stages and two functions per curve.
    EXPECT_EQ(Evals().count, static_cast<long>(c.slopes.size()) * 100 * 12);
    EXPECT_EQ(Scene.SegmentCount, static_cast<int>(c.slopes.size()) * kSegmentsPerCurve);
    EXPECT_EQ(OdeResults.BVPSolved, -1);
  }
}

TEST_F(BvpTrialsTest, TrialCurvesFollowTheExactSolutions) {
  Define({u"F{t,x,y} = y", u"G{t,x,y} = -x"});
  ASSERT_EQ(Family(0, 2, 4, 2, 1), 0);
  const double slopes[] = {0, 0.5, 1, 1.5};
  for (int k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    const double s = slopes[k - 1];
    for (int j = 0; j <= kTrialSteps; ++j) {
      const double t = 0.02 * j;
      EXPECT_TRUE(NearRel(SolutionAt(j, 1, k), t, 1e-6));
      EXPECT_TRUE(NearRel(SolutionAt(j, 2, k), s * std::sin(t), 1e-6));
      EXPECT_TRUE(NearRel(SolutionAt(j, 3, k), s * std::cos(t), 1e-6));
      // The three views of the family table.
      const auto& row = BvpTrials.BVPFamilyTable[static_cast<size_t>(j)];
      EXPECT_EQ(row[0][k - 1], SolutionAt(j, 1, k));
      EXPECT_EQ(row[1][k - 1], SolutionAt(j, 2, k));
      EXPECT_EQ(row[1][k + 9], SolutionAt(j, 3, k));
      EXPECT_EQ(row[0][k + 19], SolutionAt(j, 2, k));
      EXPECT_EQ(row[1][k + 19], SolutionAt(j, 3, k));
      EXPECT_EQ(row[2][k + 19], 0);
    }
    EXPECT_TRUE(
        NearRel(BvpTrials.BVPEndMiss[static_cast<size_t>(k - 1)], 1 - s * std::sin(2.0), 1e-6));
  }
}

TEST_F(BvpTrialsTest, EndMissPlotCrossesZeroAtTheSolvingSlope) {
  UseOscillator();
  Bvp.BVPRootsMode = -1;
  ASSERT_EQ(Family(0, 2, 4), 0);
  // One black polyline through (slope, xb - s sin 1), the last point a dot.
  ASSERT_EQ(Scene.SegmentCount, 4);
  const double solving = 1 / std::sin(1.0);
  int crossings = 0;
  for (int j = 0; j < 4; ++j) {
    SCOPED_TRACE(j);
    const double s = 0.5 * j;
    EXPECT_TRUE(NearRel(From(j)[0], s, 1e-12));
    EXPECT_TRUE(NearRel(From(j)[1], 1 - s * std::sin(1.0), 1e-6));
    EXPECT_EQ(Segment(j)[kRed] + Segment(j)[kGreen] + Segment(j)[kBlue], 0);
    EXPECT_EQ(Segment(j)[kDotMark], 0);
    if (j < 3 && From(j)[1] * To(j)[1] < 0) {
      ++crossings;
      EXPECT_LT(From(j)[0], solving);
      EXPECT_GT(To(j)[0], solving);
    }
  }
  EXPECT_EQ(crossings, 1);
  EXPECT_EQ(To(3), From(3));
  EXPECT_EQ(Solutions.CurveSteps, 4);
  EXPECT_EQ(Scene.VertexCountD, Scene.VertexCount);
}

TEST_F(BvpTrialsTest, ScanColourGivesEachCurveItsOwnColour) {
  UseOscillator();
  struct Case {
    int16_t scanColor;
    bool coloured;
  };
  for (const Case& c : {Case{-1, true}, Case{0, false}}) {
    SCOPED_TRACE(c.scanColor);
    ResetBvpState();
    StartSceneBuild();
    GraphMenus.mnuBVPcolor = 0;
    Settings.BVPScanColor = c.scanColor;
    ASSERT_EQ(Family(0, 2, 4), 0);
    ASSERT_EQ(Scene.SegmentCount, 4 * kSegmentsPerCurve);
    EXPECT_EQ(GraphMenus.mnuBVPcolor, -1);
    for (int k = 1; k <= 4; ++k) {
      SCOPED_TRACE(k);
      int16_t r = 0, g = 0, b = 0;
      if (c.coloured) GetCurveColor(static_cast<int16_t>(k), r, g, b);
      const int first = (k - 1) * kSegmentsPerCurve;
      // The first segment of each curve has length zero at row 1.
      EXPECT_EQ(From(first), To(first));
      EXPECT_TRUE(NearRel(From(first)[0], 0.01, 1e-6));
      for (int s = first; s < first + kSegmentsPerCurve; ++s) {
        EXPECT_EQ(Segment(s)[kRed], r);
        EXPECT_EQ(Segment(s)[kGreen], g);
        EXPECT_EQ(Segment(s)[kBlue], b);
      }
      // The last segment ends at row 99.
      EXPECT_TRUE(NearRel(To(first + kSegmentsPerCurve - 1)[0], 0.99, 1e-6));
    }
  }
}

TEST_F(BvpTrialsTest, RedrawInAnotherViewEvaluatesNothing) {
  UseOscillator();
  ASSERT_EQ(Family(0, 2, 4), 0);
  RunFlags.Replot = -1;
  struct Case {
    int16_t plotKind;
    int xComponent, yComponent;  // of the solution table drawn as X and Y
  };
  const Case cases[] = {{2, 1, 3}, {3, 2, 3}, {1, 1, 2}, {7, 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plotKind);
    StartSceneBuild();
    View.PlotKind = c.plotKind;
    Evals().count = 0;
    ASSERT_EQ(Family(5, 6, 1), 0);  // the statement's values do not matter for a redraw
    EXPECT_EQ(Evals().count, 0);
    EXPECT_EQ(Bvp.BVPTrialSlopes[0], 4);
    ASSERT_EQ(Scene.SegmentCount, 4 * kSegmentsPerCurve);
    // Curve 3 (slope 1), segment from row 10 to row 11.
    const int s = 2 * kSegmentsPerCurve + 10;
    EXPECT_EQ(From(s)[0], SolutionAt(10, c.xComponent, 3));
    EXPECT_EQ(From(s)[1], SolutionAt(10, c.yComponent, 3));
    EXPECT_EQ(To(s)[0], SolutionAt(11, c.xComponent, 3));
  }
  RunFlags.Replot = 0;
}

TEST_F(BvpTrialsTest, StopsAndLimits) {
  struct Case {
    const char* what;
    Rhs g;
    long failAfter;  // G fails from this evaluation on (-1: never)
    long escAt;      // Esc pressed at this event pass (0: never)
    bool abortOnEntry;
    int16_t msgNo;
    int16_t solved;  // BVPSolved afterwards (set to 5 before)
  };
  const auto minusX = [](double, double x, double) { return -x; };
  const Case cases[] = {
      {"failing right-hand side", minusX, 500, 0, false, 2100, -1},
      {"Esc in the second curve", minusX, -1, 150, false, 0, -1},
      {"Esc pending on entry", minusX, -1, 0, true, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetBvpState();
    StartSceneBuild();
    screen_.boxes.clear();
    UseNative({{u"F_", [](double, double, double y) { return y; }}, {u"G_", c.g}});
    Evals().failing = u"G_";
    Evals().failAfter = c.failAfter;
    screen_.doEventsCount = 0;
    screen_.onDoEvents = [this, c] {
      if (screen_.doEventsCount == c.escAt) RunFlags.AbortRun = -1;
    };
    RunFlags.AbortRun = c.abortOnEntry ? -1 : 0;
    OdeResults.BVPSolved = 5;
    EXPECT_EQ(Family(0, 2, 4), c.msgNo);
    EXPECT_EQ(OdeResults.BVPSolved, c.solved);
    EXPECT_EQ(Scene.SegmentCount, 0);
    EXPECT_TRUE(screen_.boxes.empty());
    RunFlags.AbortRun = 0;
  }
  screen_.onDoEvents = nullptr;
}

TEST_F(BvpTrialsTest, CurvePassingTheLimitEndsAtItsLastPoint) {
  // Beyond t = 0.5 the slope of trial curves 3 and 4 is pushed past 100000.
  UseNative({{u"F_", [](double, double, double y) { return y; }},
             {u"G_", [](double t, double x, double y) { return t > 0.5 && y > 0.7 ? 1e9 : -x; }}});
  ASSERT_EQ(Family(0, 2, 4), 0);
  for (int k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    const double s = 0.5 * (k - 1);
    bool passed = false;
    int lastInside = kTrialSteps;
    for (int j = 1; j <= kTrialSteps; ++j) {
      if (SolutionAt(j, 1, k) == SolutionAt(j - 1, 1, k)) {
        passed = true;
        lastInside = j - 1;
        break;
      }
    }
    EXPECT_EQ(passed, k >= 3);
    // Rows after the end repeat the last point within the limit; the miss is taken there.
    for (int j = lastInside; j <= kTrialSteps; ++j)
      EXPECT_EQ(SolutionAt(j, 2, k), SolutionAt(lastInside, 2, k));
    EXPECT_EQ(BvpTrials.BVPEndMiss[static_cast<size_t>(k - 1)], 1 - SolutionAt(lastInside, 2, k));
    if (passed) {
      EXPECT_LT(SolutionAt(lastInside, 1, k), 0.52);
    } else {
      EXPECT_TRUE(NearRel(SolutionAt(kTrialSteps, 2, k), s * std::sin(1.0), 1e-6));
    }
  }
}

TEST_F(BvpTrialsTest, SceneFullAndEmptyPictures) {
  UseOscillator();
  // The store near its curve limit.
  StartSceneBuild();
  Scene.VertexCount = 29900;
  EXPECT_EQ(Family(0, 2, 4), 3990);
  EXPECT_EQ(Scene.SegmentCount, 50);

  // A mode that rounds to no curve draws nothing: the outside-the-domain box, message 0.
  ResetBvpState();
  StartSceneBuild();
  screen_.boxes.clear();
  EXPECT_EQ(Family(0, 2, 0.4), 0);
  EXPECT_EQ(Scene.SegmentCount, 0);
  EXPECT_EQ(BoxTexts(),
            std::vector<rt::Text>{u"All data is outside the plot domain or zero in value."});
}

}  // namespace
}  // namespace ms::testing
