// Plot[ curves from compiled worksheet functions: the component functions are compiled by the
// worksheet compiler, the Plot[ request is laid out as the Plot[ reader leaves it, and the curve
// builder evaluates the compiled code point by point.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "language/ClearStorage.h"
#include "language/CompileCode.h"
#include "language/Global.h"
#include "language/Tokens.h"
#include "mathematics/Math.h"
#include "numerics/Integ.h"
#include "numerics/SolutionStore.h"
#include "plotting/CurveGen.h"
#include "plotting/SceneTestSupport.h"

namespace ms {
namespace {

using testing::SegmentsFrom;

class CurvePipelineTest : public testing::SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    ClearAll();
    ResetMathState();
    InitBuiltinNames();
    StartSceneBuild();
  }

  // The three component functions of a vector with parameter t, compiled.
  void DefineVector(const char16_t* x, const char16_t* y, const char16_t* z) {
    const char16_t* names[3] = {u"X1", u"Y1", u"Z1"};
    const char16_t* exprs[3] = {x, y, z};
    Tables.FuncCount = 3;
    for (int i = 0; i < 3; ++i) {
      FuncRec& f = Tables.FuncTable[i + 1];
      f.Name = names[i];
      f.Parm1 = u"t";
      TokenizeNames(exprs[i], f.Expr);
    }
    rt::Text text;
    int16_t msgNo = 0;
    CompileFunctions(text, msgNo);
    ASSERT_EQ(msgNo, 0);
  }

  // What Plot[V,{t,tMin,tMax,steps}] leaves for curve #1.
  static void PlotRange(double tMin, double tMax, int steps) {
    PlotRequest.PlotVariable = u"t";
    PlotRequest.PlotTMin = tMin;
    PlotRequest.PlotTMax = tMax;
    PlotRequest.PlotSteps = static_cast<int16_t>(steps);
    PlotRequest.PlotDt = (tMax - tMin) / steps;
    PlotRequest.PlotSelect.fill(0);
    PlotRequest.PlotSelect[1] = -1;
  }
};

TEST_F(CurvePipelineTest, LineVectorGivesFourRedSegments) {
  DefineVector(u"t", u"2*t", u"0");
  PlotRange(0, 1, 4);
  GenerateCurvePoints(1, 2, 3);
  const auto segs = SegmentsFrom(0);
  ASSERT_EQ(segs.size(), 4u);
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    testing::ExpectPointNear(segs[k].from, {0.25 * k, 0.5 * k, 0});
    testing::ExpectPointNear(segs[k].to, {0.25 * (k + 1), 0.5 * (k + 1), 0});
    EXPECT_EQ(segs[k].row[kRed], 255);
    EXPECT_EQ(segs[k].row[kGreen], 0);
    EXPECT_EQ(segs[k].row[kBlue], 0);
    EXPECT_EQ(segs[k].row[kSegKind], 0);
  }
  testing::ExpectPointNear(segs.front().from, {0, 0, 0});
  testing::ExpectPointNear(segs.back().to, {1, 2, 0});
}

TEST_F(CurvePipelineTest, UserGridUnitsScaleThePoints) {
  DefineVector(u"t", u"2*t", u"3*t");
  View.UserGridUnitX = 2;
  View.UserGridUnitY = 4;
  View.UserGridUnitZ = 0.5;
  PlotRange(0, 1, 2);
  GenerateCurvePoints(1, 2, 3);
  ASSERT_EQ(Scene.SegmentCount, 2);
  testing::ExpectPointNear(testing::SegmentAt(1).to, {0.5, 0.5, 6});
  EXPECT_EQ(Scene.GridUnitY, 4);
}

TEST_F(CurvePipelineTest, FloorCurveJumpsUpAtEachStep) {
  DefineVector(u"t", u"Floor[t]", u"0");
  PlotRange(-0.505, 1.495, 200);  // steps of 0.01: a jump of 1 is a slope of 100
  GenerateCurvePoints(1, 2, 3);
  ASSERT_EQ(Scene.SegmentCount, 200);
  std::vector<double> jumpsAt;
  for (const auto& s : SegmentsFrom(0)) {
    EXPECT_EQ(s.row[kLimitMarkKind], 3.0);
    if (s.row[kSegKind] == kSegJumpUp)
      jumpsAt.push_back(s.to[1]);
    else
      EXPECT_EQ(s.row[kSegKind], 0);
  }
  EXPECT_EQ(jumpsAt, (std::vector<double>{0, 1}));
  EXPECT_EQ(MathVars.UsedFloor, -1);
}

TEST_F(CurvePipelineTest, FailedEvaluationsBreakTheCurve) {
  DefineVector(u"t", u"Sqrt[t]", u"0");
  PlotRange(-0.5, 0.5, 4);
  GenerateCurvePoints(1, 2, 3);
  // Points at -0.5 and -0.25 have no value: the curve starts at 0.
  const auto segs = SegmentsFrom(0);
  ASSERT_EQ(segs.size(), 2u);
  testing::ExpectPointNear(segs[0].from, {0, 0, 0});
  testing::ExpectPointNear(segs[1].to, {0.5, std::sqrt(0.5), 0}, 1e-12);
}

TEST_F(CurvePipelineTest, SolutionCurvesLeaveThePlotRangeAlone) {
  DefineVector(u"t", u"2*t", u"0");
  PlotRange(0, 1, 4);
  for (int r = 0; r <= 7; ++r) {
    SetSolution(r, 1, 1, r);
    SetSolution(r, 2, 1, r);
  }
  Solutions.StoredPointCount = 7;
  int16_t msgNo = 0;
  BuildSolutionCurve(1, msgNo);
  PlotIntegCurve(2, 5, msgNo);
  const int before = Scene.SegmentCount;
  EXPECT_EQ(PlotRequest.PlotSteps, 4);
  EXPECT_EQ(PlotRequest.PlotTMin, 0);
  GenerateCurvePoints(1, 2, 3);
  EXPECT_EQ(Scene.SegmentCount - before, 4);
  testing::ExpectPointNear(testing::SegmentAt(Scene.SegmentCount - 1).to, {1, 2, 0});
}

TEST_F(CurvePipelineTest, BadFunctionIndexesBuildNothing) {
  DefineVector(u"t", u"t", u"t");
  PlotRange(0, 1, 4);
  for (int32_t bad : {0, 4, -1, 501}) {
    SCOPED_TRACE(bad);
    GenerateCurvePoints(1, bad, 3);
    EXPECT_EQ(Scene.SegmentCount, 0);
  }
  Tables.ValueTop = kMaxValueIndex - 1;  // no room for the parameter's entry
  GenerateCurvePoints(1, 2, 3);
  EXPECT_EQ(Scene.SegmentCount, 0);
}

}  // namespace
}  // namespace ms
