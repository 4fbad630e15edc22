#include <cmath>
#include <string>
#include <vector>

#include "commands/IntegCommand.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "mathematics/FunctionValue.h"
#include "plotting/CurveGen.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotTestSupport.h"
#include "plotting/SceneView.h"

namespace ms::testing {
namespace {

class CurveGenTest : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    PlotRequest.PlotSelect[1] = -1;
  }
  static void SetRange(double tMin, double tMax, int steps) {
    PlotRequest.PlotVariable = u"t";
    PlotRequest.PlotTMin = tMin;
    PlotRequest.PlotTMax = tMax;
    PlotRequest.PlotSteps = static_cast<int16_t>(steps);
    PlotRequest.PlotDt = (tMax - tMin) / steps;
  }
  // Accepts the steps + 2 points (x0 + t, a t + b t^2, z0 + c t) on a fresh build, as the
  // evaluation would leave them (point `failed` without a value), and builds the curve.
  static void BuildCurve(double tMax, int steps, double x0, double a, double b = 0, double z0 = 0,
                         double c = 0, int failed = -1) {
    StartSceneBuild();
    ClearSegmentMarks();
    SetRange(0, tMax, steps);
    for (int i = 0; i <= steps + 1; ++i) {
      const double t = i * PlotRequest.PlotDt;
      AcceptCurvePoint(i, x0 + t, a * t + b * t * t, z0 + c * t, i != failed);
    }
    BuildCurveFromPoints();
  }
};

TEST_F(CurveGenTest, KnownCurvesGiveTheirSegmentsAndViewBox) {
  struct Case {
    double tMax;
    int steps;
    double a, b, z0, c;
    int failed;
    const char* drawn;
    double box[6];  // takes in the point beyond the range, with 0.01 except on a flat z
  };
  const Case cases[] = {
      {1, 2, 2, 0, 0, 0, -1, "0,0,0>0.5,1,0 0.5,1,0>1,2,0 ", {-0.01, 1.51, -0.01, 3.01, 0, 0}},
      {2, 1, 0, 1, 1, 1, -1, "0,0,1>2,4,3 ", {-0.01, 4.01, -0.01, 16.01, 0.99, 5.01}},
      {4, 4, 1, 0, 0, 0, 2, "0,0,0>1,1,0 3,3,0>4,4,0 ", {-0.01, 5.01, -0.01, 5.01, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drawn);
    BuildCurve(c.tMax, c.steps, 0, c.a, c.b, c.z0, c.c, c.failed);
    EXPECT_EQ(Drawn(), c.drawn);
    ExpectPointNear({Scene.ViewXMin, Scene.ViewYMin, Scene.ViewZMin},
                    {c.box[0], c.box[2], c.box[4]});
    ExpectPointNear({Scene.ViewXMax, Scene.ViewYMax, Scene.ViewZMax},
                    {c.box[1], c.box[3], c.box[5]});
  }
}

// Jumps by the slope per parameter unit (beyond 50).
TEST_F(CurveGenTest, JumpKinds) {
  for (const auto& [slope, kind] :
       {std::pair{50.0, 0.0}, {50.001, 1.0}, {-50.001, -1.0}, {-50.0, 0.0}}) {
    SCOPED_TRACE(slope);
    BuildCurve(0.5, 1, 1, slope);
    ASSERT_EQ(Scene.SegmentCount, 1);
    EXPECT_EQ(Scene.SegmentTable[0][kSegKind], kind);
  }
}

TEST_F(CurveGenTest, ThirtyThousandPointsAndCurvesWithoutPoints) {
  PlotRequest.ArrowFlags = u"a";
  for (const auto& [vertexCount, segmentsAdded] :
       {std::pair{29996, 2}, {29998, 1}, {30000, 0}, {31500, 0}}) {
    SCOPED_TRACE(vertexCount);
    CurveWork.ArrowFlagPos = 0;
    StartSceneBuild();
    Scene.VertexCount = static_cast<int16_t>(vertexCount);
    SetRange(0, 1, 10);
    for (int i = 0; i <= 11; ++i) AcceptCurvePoint(i, i, 0, 0, true);
    BuildCurveFromPoints();
    // Cut short: no take-back, no arrow head.
    EXPECT_EQ(Scene.SegmentCount, segmentsAdded);
  }
  // Step counts beyond the curve tables are cut; a point outside them is ignored.
  StartSceneBuild();
  PlotRequest.PlotSteps = 32000;
  for (int i = 0; i <= kSceneRows; ++i) AcceptCurvePoint(i, i * 1e-3, 0, 0, true);
  BuildCurveFromPoints();
  EXPECT_EQ(Scene.VertexCount, kCurveVertexLimit);
  // A curve without a valid point adds nothing; an empty store after it is reported.
  for (int k = 0; k <= 3; ++k) AcceptCurvePoint(k, k, k, k, false);
  StartSceneBuild();
  SetRange(0, 1, 2);
  BuildCurveFromPoints();
  ASSERT_EQ(screen_.boxes.size(), 1u);  // its text is checked with the solvers
  ASSERT_TRUE(AppendSegment({9, 9, 9}, {8, 8, 8}, 1, 2, 3));
  BuildCurveFromPoints();
  EXPECT_EQ(Drawn(), "9,9,9>8,8,8 ");
  EXPECT_EQ(screen_.boxes.size(), 1u);
}

// A curve of compiled worksheet functions, laid out as the Plot[ reader leaves them after solution
// curves that must leave the range alone; the points are in the user's grid units (2, 4, 0.5).
TEST_F(CurveGenTest, CompiledFunctionsThroughTheWholeRoad) {
  ASSERT_EQ(Run({u"X{t} = t", u"Y{t} = 2*t", u"Z{t} = 3*t"}), 0);
  View.UserGridUnitX = 2;
  View.UserGridUnitY = 4;
  View.UserGridUnitZ = 0.5;
  StartSceneBuild();
  SetRange(0, 1, 2);
  for (int r = 0; r <= 7; ++r) SetSolution(r, 1, 1, r);
  Solutions.StoredPointCount = 7;
  ASSERT_EQ(BuildSolutionCurve(1), 0);
  ASSERT_EQ(PlotIntegCurve(2, 5), 0);
  const int before = Scene.SegmentCount;
  ASSERT_EQ(GenerateCurvePoints(1, 2, 3), 0);
  EXPECT_EQ(Drawn(before), "0,0,0>0.25,0.25,3 0.25,0.25,3>0.5,0.5,6 ");
  // Bad function indexes, or no room for the parameter's value, build nothing.
  for (const int32_t bad : {0, 4}) {
    StartSceneBuild();
    EXPECT_EQ(GenerateCurvePoints(1, bad, 3), 0);
    EXPECT_EQ(Scene.SegmentCount, 0) << bad;
  }
  Tables.ValueTop = kMaxValueIndex - 1;
  EXPECT_EQ(GenerateCurvePoints(1, 2, 3), 0);
  EXPECT_EQ(Scene.SegmentCount, 0);
}

// An arrow drawn flat (both ends within 0.001 of z = 0) needs no z axis, and its head is stored
// at z = 0; one that leaves the plane does.
TEST_F(CurveGenTest, ArrowBarbsOfFlatAndSpatialArrows) {
  struct Case {
    Point3 tail, head;
    double headZ;  // NaN: no barbs
    int16_t zAxis;
  };
  const Case cases[] = {
      {{0, 2, 0.5}, {1, 2, 0.5}, 0.5, -1},
      {{0, 0, 0.0005}, {1, 0, -0.0009}, 0, 0},  // nearly flat: drawn flat
      {{0, 0, 0.001}, {1, 0, 0}, NAN, -1},      // the flat threshold
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.tail[2] * 1e4 + k.head[1]);
    StartSceneBuild();
    View.ZAxisNeeded = 0;
    AddVectorArrow(k.tail[0], k.tail[1], k.tail[2], k.head[0], k.head[1], k.head[2], 10, 1, 2, 3);
    EXPECT_EQ(View.ZAxisNeeded, k.zAxis);
    if (std::isnan(k.headZ)) continue;
    const auto segs = Segments();
    ASSERT_EQ(segs.size(), 2u);
    for (const Seg& barb : segs) ExpectPointNear(barb.from, {k.head[0], k.head[1], k.headZ});
  }
  // Zero length: a message and nothing appended; no room: no barbs.
  StartSceneBuild();
  AddVectorArrow(1, 2, 3, 1, 2, 3, 1, 0, 0, 0);
  EXPECT_EQ(BoxTexts(), std::vector<rt::Text>{u"Vector length of zero was detected."});
  Scene.VertexCount = 31498;
  AddVectorArrow(0, 0, 0, 1, 0, 0, 1, 0, 0, 0);
  EXPECT_EQ(Scene.VertexCount, 31498);
  EXPECT_EQ(Scene.SegmentCount, 0);
}

// The barb tips of a flat arrow: 0.2 from the head, turned 162 degrees each way from the shaft's
// direction, whatever the shaft's length (a curve whose last step is 1E-9 long points where it
// goes). The worked values: along +x the tips are at (-0.19021, -/+0.06180); an arrow in space
// along +x at z 0.5 has them at (-0.19021, +/-0.06180, +/-0.06180); with ArrowAngleScale 0.5 the
// first arrow turns its barbs 81 degrees.
TEST_F(CurveGenTest, ArrowBarbTipsTurnBackFromTheShaftAtEveryLength) {
  const double pi = std::acos(-1.0);
  // The tail at the origin, so that the shaft's direction is exact at every length.
  for (const double deg : {0.0, 30.0, 90.0, 180.0, 225.0, 263.66, 300.0}) {
    const double t = deg * pi / 180;
    for (const double length : {1e-9, 1e-5, 1.0, 1e9}) {
      SCOPED_TRACE(std::to_string(deg) + " degrees, length " + std::to_string(length));
      StartSceneBuild();
      View.ArrowAngleFactor = 1;
      const Point3 head{length * std::cos(t), length * std::sin(t), 0};
      AddVectorArrow(0, 0, 0, head[0], head[1], 0, 10, 1, 2, 3);
      const auto segs = Segments();
      ASSERT_EQ(segs.size(), 2u);
      for (int k = 0; k < 2; ++k) {
        const double turn = (k == 0 ? -0.9 : 0.9) * pi;
        ExpectPointNear(segs[k].to,
                        {head[0] + 0.2 * std::cos(t + turn), head[1] + 0.2 * std::sin(t + turn), 0},
                        1e-9 * std::max(1.0, length));
      }
    }
  }
  struct Worked {
    double tailZ, headZ, angleScale;
    Point3 tip1, tip2;  // offsets from the head
  };
  const Worked worked[] = {
      {0, 0, 1, {-0.19021, -0.06180, 0}, {-0.19021, 0.06180, 0}},
      {0.5, 0.5, 1, {-0.19021, 0.06180, 0.06180}, {-0.19021, -0.06180, -0.06180}},
      {0,
       0,
       0.5,
       {0.2 * std::cos(0.45 * pi), -0.2 * std::sin(0.45 * pi), 0},
       {0.2 * std::cos(0.45 * pi), 0.2 * std::sin(0.45 * pi), 0}},
  };
  for (const Worked& w : worked) {
    SCOPED_TRACE(w.tailZ + w.angleScale);
    StartSceneBuild();
    View.ArrowAngleFactor = 1;
    View.ArrowAngleScale = w.angleScale;
    AddVectorArrow(0, 2, w.tailZ, 1, 2, w.headZ, 10, 1, 2, 3);
    const auto segs = Segments();
    ASSERT_EQ(segs.size(), 2u);
    ExpectPointNear(segs[0].to, {1 + w.tip1[0], 2 + w.tip1[1], w.headZ + w.tip1[2]}, 1e-5);
    ExpectPointNear(segs[1].to, {1 + w.tip2[0], 2 + w.tip2[1], w.headZ + w.tip2[2]}, 1e-5);
  }
}

// A curve of small steps heading almost straight down, (-0.00001 t, -0.00009 t): its arrow head
// turns back from the direction of its last drawn segment, not from -x.
TEST_F(CurveGenTest, ArrowHeadOfASlowCurveFollowsItsLastSegment) {
  ASSERT_EQ(Run({u"X{t} = 0-0.00001*t", u"Y{t} = 0-0.00009*t", u"Z{t} = 0*t"}), 0);
  StartSceneBuild();
  SetRange(0, 1, 10);
  PlotRequest.ArrowFlags = u"a";
  CurveWork.ArrowFlagPos = 0;
  ASSERT_EQ(GenerateCurvePoints(1, 2, 3), 0);
  const auto segs = Segments();
  ASSERT_GE(segs.size(), 3u);
  const Seg& last = segs[segs.size() - 3];
  const double t = std::atan2(last.to[1] - last.from[1], last.to[0] - last.from[0]);
  // The curve's own direction, whatever its grid units: down and a little to the left.
  EXPECT_LT(t, -std::acos(-1.0) / 2);
  EXPECT_GT(t, -std::acos(-1.0));
  const double pi = std::acos(-1.0);
  for (int k = 0; k < 2; ++k) {
    const Seg& barb = segs[segs.size() - 2 + static_cast<size_t>(k)];
    const double turn = (k == 0 ? -0.9 : 0.9) * pi;
    ExpectPointNear(barb.from, last.to);
    ExpectPointNear(
        barb.to, {last.to[0] + 0.2 * std::cos(t + turn), last.to[1] + 0.2 * std::sin(t + turn), 0},
        1e-9);
  }
}

// Curve points from bound code (and, with bindings off, from Evaluate on the code) against <cmath>
// at the parameter's values as the build steps them; a name that is neither the parameter nor
// defined stops the curve with -1 before anything is drawn or a box is shown, on both roads.
TEST_F(CurveGenTest, ComponentValuesAndUndefinedNames) {
  ASSERT_EQ(Run({u"X{t} = Cos[t]", u"Y{t} = Sin[t]*t-1/3", u"Z{t} = Exp[t/10]+Sqrt[t]",
                 u"Q{t} = q*t+1", u"R{t} = t"}),
            0);
  const struct {
    int32_t x, y, z;
    int16_t msgNo;
  } cases[] = {{1, 2, 3, 0}, {4, 2, 3, -1}, {1, 2, 4, -1}, {5, 4, 5, -1}};
  for (const bool bindings : {true, false}) {
    SetFunctionBindingsEnabled(bindings);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::to_string(c.x) + std::to_string(c.y) + std::to_string(c.z) +
                   (bindings ? " bound" : " evaluated"));
      StartSceneBuild();
      screen_.boxes.clear();
      SetRange(-1, 2, 30);
      const int32_t valueTop = Tables.ValueTop;
      ASSERT_EQ(GenerateCurvePoints(c.x, c.y, c.z), c.msgNo);
      Tables.ValueTop = valueTop;
      if (c.msgNo != 0) {
        EXPECT_EQ(Scene.SegmentCount, 0);
        EXPECT_TRUE(screen_.boxes.empty());
        continue;
      }
      double t = -1;
      for (int i = 0; i <= 31; ++i, t += PlotRequest.PlotDt) {
        SCOPED_TRACE(t);
        EXPECT_TRUE(NearRel(CurveWork.CurveX[i], std::cos(t), 1e-15));
        EXPECT_TRUE(NearRel(CurveWork.CurveY[i], std::sin(t) * t - 1.0 / 3, 1e-15));
        // Sqrt of a negative parameter fails: the point is left out.
        if (t >= 0) {
          EXPECT_TRUE(NearRel(CurveWork.CurveZ[i], std::exp(t / 10) + std::sqrt(t), 1e-15));
        }
      }
      // Ten steps of 0.1 from -1 end at -1.4e-16, where Sqrt fails: the points from t = 0.1 to 2
      // give 19 segments (the one beyond the range taken back).
      EXPECT_EQ(Scene.SegmentCount, 19);
    }
  }
  SetFunctionBindingsEnabled(true);
}

}  // namespace
}  // namespace ms::testing
