#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "mathematics/Math.h"
#include "plotting/CurveGen.h"
#include "plotting/SceneTestSupport.h"
#include "plotting/ZMath.h"

namespace ms {
namespace {

using testing::SceneTest;
using testing::SegmentsFrom;

// Curves given point by point, as the evaluation would leave them, and built into the store.
class CurveGenTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    ResetMathState();
    StartSceneBuild();
    PlotRequest.PlotSelect[1] = -1;
  }

  // Lays out the range, accepts the n + 2 points f(t) and builds the curve.
  void BuildCurve(double tMin, double tMax, int steps, const std::function<Point3(double)>& f,
                  const std::vector<int>& failedPoints = {}) {
    PlotRequest.PlotTMin = tMin;
    PlotRequest.PlotTMax = tMax;
    PlotRequest.PlotSteps = static_cast<int16_t>(steps);
    PlotRequest.PlotDt = (tMax - tMin) / steps;
    double t = tMin;
    for (int i = 0; i <= steps + 1; ++i) {
      bool valid = true;
      for (int bad : failedPoints) valid = valid && bad != i;
      const Point3 p = f(t);
      AcceptCurvePoint(i, p[0], p[1], p[2], valid);
      t += PlotRequest.PlotDt;
    }
    BuildCurveFromPoints();
  }
};

TEST_F(CurveGenTest, StraightLineGivesItsSegmentsInThePlotColour) {
  BuildCurve(0, 1, 4, [](double t) { return Point3{t, 2 * t, 0}; });
  const auto segs = SegmentsFrom(0);
  ASSERT_EQ(segs.size(), 4u);
  EXPECT_EQ(Scene.VertexCount, 8);
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    testing::ExpectPointNear(segs[k].from, {0.25 * k, 0.5 * k, 0});
    testing::ExpectPointNear(segs[k].to, {0.25 * (k + 1), 0.5 * (k + 1), 0});
    EXPECT_EQ(segs[k].row[kRed], 255);
    EXPECT_EQ(segs[k].row[kGreen], 0);
    EXPECT_EQ(segs[k].row[kBlue], 0);
    EXPECT_EQ(segs[k].row[kSegKind], kSegOrdinary);
    EXPECT_EQ(segs[k].row[kDotMark], 0);
  }
  // The box takes in the point beyond the range, with a margin except on a flat z.
  EXPECT_DOUBLE_EQ(Scene.ViewXMin, -0.01);
  EXPECT_DOUBLE_EQ(Scene.ViewXMax, 1.26);
  EXPECT_DOUBLE_EQ(Scene.ViewYMin, -0.01);
  EXPECT_DOUBLE_EQ(Scene.ViewYMax, 2.51);
  EXPECT_EQ(Scene.ViewZMin, 0);
  EXPECT_EQ(Scene.ViewZMax, 0);
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(CurveGenTest, OneStepKeepsOneSegment) {
  BuildCurve(0, 2, 1, [](double t) { return Point3{t, t * t, 1 + t}; });
  const auto segs = SegmentsFrom(0);
  ASSERT_EQ(segs.size(), 1u);
  testing::ExpectPointNear(segs[0].from, {0, 0, 1});
  testing::ExpectPointNear(segs[0].to, {2, 4, 3});
  EXPECT_DOUBLE_EQ(Scene.ViewZMin, 0.99);
  EXPECT_DOUBLE_EQ(Scene.ViewZMax, 5.01);
}

TEST_F(CurveGenTest, JumpKindsBySlopePerParameterUnit) {
  struct Case {
    double slope;
    double kind;
  };
  const Case cases[] = {{50, 0}, {50.001, 1}, {-50.001, -1}, {-50, 0}, {1e6, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slope);
    StartSceneBuild();
    BuildCurve(0, 0.5, 1, [&](double t) { return Point3{t, c.slope * t, 0}; });
    ASSERT_EQ(Scene.SegmentCount, 1);
    EXPECT_EQ(Scene.SegmentTable[0][kSegKind], c.kind);
  }
}

TEST_F(CurveGenTest, LimitMarkerKindFollowsTheStepFunctionUsed) {
  struct Case {
    int16_t usedFloor, usedCeil, usedInt;
    double x0;
    double kind;
  };
  const Case cases[] = {
      {-1, 0, 0, 1, 3.0},  {0, -1, 0, 1, 2.0},     {-1, -1, 0, 1, 3.0}, {0, 0, -1, -0.5, 2.0},
      {-1, 0, -1, 0, 3.0}, {0, -1, -1, -0.5, 2.0}, {0, 0, 0, 1, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x0);
    StartSceneBuild();
    ClearSegmentMarks();
    MathVars.UsedFloor = c.usedFloor;
    MathVars.UsedCeil = c.usedCeil;
    MathVars.UsedInt = c.usedInt;
    BuildCurve(0, 1, 1, [&](double t) { return Point3{c.x0 + t, 0, 0}; });
    ASSERT_EQ(Scene.SegmentCount, 1);
    EXPECT_EQ(Scene.SegmentTable[0][kLimitMarkKind], c.kind);
  }
}

TEST_F(CurveGenTest, DotMarksEveryNthPoint) {
  struct Case {
    int16_t spacing;
    std::vector<double> marked;  // x of the marked points
  };
  const std::vector<Case> cases = {{10, {0, 10, 20}}, {0, {0}}, {7, {0, 7, 14, 21}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spacing);
    StartSceneBuild();
    CurveWork.DotSpacingOn = -1;
    CurveWork.DotSpacing = c.spacing;
    BuildCurve(0, 25, 25, [](double t) { return Point3{t, 0, 0}; });
    std::vector<double> marked;
    for (const auto& s : SegmentsFrom(0)) {
      if (s.row[kDotMark] != 1.0) continue;
      EXPECT_EQ(s.from, s.to);
      EXPECT_EQ(s.row[kRed] + s.row[kGreen] + s.row[kBlue], 0);
      marked.push_back(s.from[0]);
    }
    EXPECT_EQ(marked, c.marked);
    EXPECT_EQ(Scene.SegmentCount, 25 + static_cast<int>(c.marked.size()));
  }
  EXPECT_EQ(CurveWork.DotSpacing, 7);
}

TEST_F(CurveGenTest, ArrowFlagsPickTheCurvesThatGetHeads) {
  struct Case {
    const char16_t* flags;
    int barbsOnFirst, barbsOnSecond;
  };
  const Case cases[] = {{u"a", 2, 0}, {u"ba", 0, 2}, {u"aa", 2, 2}, {u"", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.flags));
    StartSceneBuild();
    CurveWork.ArrowFlagPos = 0;
    PlotRequest.ArrowFlags = c.flags;
    BuildCurve(0, 1, 10, [](double t) { return Point3{t, 0, 0}; });
    EXPECT_EQ(Scene.SegmentCount, 10 + c.barbsOnFirst);
    const int before = Scene.SegmentCount;
    BuildCurve(0, 1, 10, [](double t) { return Point3{0, t, 0}; });
    EXPECT_EQ(Scene.SegmentCount - before, 10 + c.barbsOnSecond);
  }
}

TEST_F(CurveGenTest, AFailedPointBreaksTheCurve) {
  BuildCurve(0, 4, 4, [](double t) { return Point3{t, t, 0}; }, {2});
  const auto segs = SegmentsFrom(0);
  ASSERT_EQ(segs.size(), 2u);
  testing::ExpectPointNear(segs[0].from, {0, 0, 0});
  testing::ExpectPointNear(segs[1].from, {3, 3, 0});
  testing::ExpectPointNear(segs[1].to, {4, 4, 0});
}

TEST_F(CurveGenTest, ACurveWithoutPointsLeavesEarlierSegmentsAlone) {
  ASSERT_TRUE(AppendSegment({9, 9, 9}, {8, 8, 8}, 1, 2, 3));
  BuildCurve(0, 1, 3, [](double t) { return Point3{t, t, t}; }, {0, 1, 2, 3, 4});
  EXPECT_EQ(Scene.SegmentCount, 1);
  EXPECT_EQ(Scene.VertexCount, 2);
  testing::ExpectPointNear(testing::SegmentAt(0).from, {9, 9, 9});
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(CurveGenTest, AnEmptyStoreAfterTheCurveIsReported) {
  BuildCurve(0, 1, 3, [](double t) { return Point3{t, t, t}; }, {0, 1, 2, 3, 4});
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0].text,
            u"The auto axis cannot be applied on one axis to a constant function.");
  EXPECT_EQ(recorder.boxes[0].style, ui::kOkOnly);
}

TEST_F(CurveGenTest, CurvesStopAtThirtyThousandPoints) {
  struct Case {
    int vertexCount;
    int segmentsAdded;
  };
  const Case cases[] = {{29996, 2}, {29998, 1}, {30000, 0}, {31500, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vertexCount);
    StartSceneBuild();
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    PlotRequest.ArrowFlags = u"a";
    CurveWork.ArrowFlagPos = 0;
    BuildCurve(0, 1, 10, [](double t) { return Point3{t, 0, 0}; });
    // Cut short: no take-back, no arrow head.
    EXPECT_EQ(Scene.SegmentCount, c.segmentsAdded);
    EXPECT_LE(Scene.VertexCount, std::max(c.vertexCount, kCurveVertexLimit));
  }
}

TEST_F(CurveGenTest, ColourOfFamilyMembersAndOfTheSelectedCurve) {
  struct Case {
    int16_t member, colorCode, colorChanged;
    int select;  // 0: two curves selected
    std::array<double, 3> colour;
  };
  const Case cases[] = {
      {2, -1, -1, 1, {7, 8, 9}},       // family member 2: entry 1
      {2, 0, -1, 3, {0, 255, 255}},    // not colour-coded: plot colour #3 (&HFFFF00)
      {0, -1, -1, 6, {64, 128, 128}},  // &H808040
      {0, -1, 0, 1, {11, 12, 13}},     // colour not changed: row keeps its colour
      {0, -1, -1, 0, {11, 12, 13}},    // two curves selected: colour not written
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.select);
    StartSceneBuild();
    Scene.SegmentTable[0][kRed] = 11;
    Scene.SegmentTable[0][kGreen] = 12;
    Scene.SegmentTable[0][kBlue] = 13;
    CurveWork.FamilyMember = c.member;
    CurveWork.FamilyColorCode = c.colorCode;
    CurveWork.FamilyRed[1] = 7;
    CurveWork.FamilyGreen[1] = 8;
    CurveWork.FamilyBlue[1] = 9;
    Settings.ColorChanged = c.colorChanged;
    PlotRequest.PlotSelect.fill(0);
    if (c.select) {
      PlotRequest.PlotSelect[c.select] = -1;
    } else {
      PlotRequest.PlotSelect[1] = PlotRequest.PlotSelect[2] = -1;
    }
    BuildCurve(0, 1, 1, [](double t) { return Point3{t, 0, 0}; });
    ASSERT_EQ(Scene.SegmentCount, 1);
    EXPECT_EQ(Scene.SegmentTable[0][kRed], c.colour[0]);
    EXPECT_EQ(Scene.SegmentTable[0][kGreen], c.colour[1]);
    EXPECT_EQ(Scene.SegmentTable[0][kBlue], c.colour[2]);
  }
}

TEST_F(CurveGenTest, StepCountsBeyondTheCurveTablesAreCut) {
  PlotRequest.PlotSteps = 32000;
  PlotRequest.PlotDt = 1;
  for (int i = 0; i < kSceneRows; ++i) AcceptCurvePoint(i, i * 1e-3, 0, 0, true);
  AcceptCurvePoint(kSceneRows, 0, 0, 0, true);  // outside the tables: ignored
  BuildCurveFromPoints();
  EXPECT_EQ(Scene.VertexCount, kCurveVertexLimit);
}

// Arrow heads.
class VectorArrowTest : public SceneTest {};

TEST_F(VectorArrowTest, BarbsOfFlatAndSpatialArrows) {
  const double c = 0.2 * std::cos(0.9 * kPi), s = 0.2 * std::sin(0.9 * kPi);  // -0.19021, 0.0618
  struct Case {
    const char* name;
    Point3 tail, head;
    Point3 barb1, barb2;
    Point3 headStored;
    int16_t zAxis;
  };
  const Case cases[] = {
      {"flat +x", {0, 2, 0}, {1, 2, 0}, {1 + c, 2 - s, 0}, {1 + c, 2 + s, 0}, {1, 2, 0}, 0},
      {"space +x",
       {0, 2, 0.5},
       {1, 2, 0.5},
       {1 + c, 2 + s, 0.5 + s},
       {1 + c, 2 - s, 0.5 - s},
       {1, 2, 0.5},
       -1},
      {"nearly flat", {0, 0, 0.0005}, {1, 0, -0.0009}, {1 + c, -s, 0}, {1 + c, s, 0}, {1, 0, 0}, 0},
      {"flat +y", {0, 0, 0}, {0, 1, 0}, {s, 1 + c, 0}, {-s, 1 + c, 0}, {0, 1, 0}, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ResetScene();
    View.ZAxisNeeded = 0;
    View.ArrowAngleFactor = 1;
    AddVectorArrow(k.tail[0], k.tail[1], k.tail[2], k.head[0], k.head[1], k.head[2], 10, 1, 2, 3);
    const auto segs = SegmentsFrom(0);
    ASSERT_EQ(segs.size(), 2u);
    testing::ExpectPointNear(segs[0].from, k.headStored);
    testing::ExpectPointNear(segs[0].to, k.barb1, 1e-9);
    testing::ExpectPointNear(segs[1].from, k.headStored);
    testing::ExpectPointNear(segs[1].to, k.barb2, 1e-9);
    EXPECT_EQ(segs[0].row[kRed], 1);
    EXPECT_EQ(segs[1].row[kBlue], 3);
    EXPECT_EQ(View.ZAxisNeeded, k.zAxis);
  }
}

TEST_F(VectorArrowTest, ThresholdOfTheFlatArrowSetsTheZAxis) {
  AddVectorArrow(0, 0, 0.001, 1, 0, 0, 1, 0, 0, 0);
  EXPECT_EQ(View.ZAxisNeeded, -1);
}

TEST_F(VectorArrowTest, AngleScaleNarrowsTheBarbsCurveByCurve) {
  View.ArrowAngleScale = 0.5;
  View.ArrowAngleFactor = 1;
  View.ArrowHeadScale = 2;  // barbs 0.4 long
  struct Step {
    double angle;  // barb angle off the +x direction, radians
  };
  const Step steps[] = {{0.45 * kPi}, {0.225 * kPi}};
  for (const Step& st : steps) {
    SCOPED_TRACE(st.angle);
    const int first = Scene.SegmentCount;
    AddVectorArrow(0, 0, 0, 1, 0, 0, 1, 0, 0, 0);
    const auto segs = SegmentsFrom(first);
    ASSERT_EQ(segs.size(), 2u);
    testing::ExpectPointNear(segs[0].to,
                             {1 + 0.4 * std::cos(st.angle), -0.4 * std::sin(st.angle), 0}, 1e-9);
  }
}

TEST_F(VectorArrowTest, ZeroLengthShowsAMessageAndAppendsNothing) {
  AddVectorArrow(1, 2, 3, 1, 2, 3, 1, 0, 0, 0);
  EXPECT_EQ(Scene.SegmentCount, 0);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0].text, u"Vector length of zero was detected.");
  EXPECT_EQ(recorder.boxes[0].style, ui::kExclamation);
  EXPECT_EQ(recorder.boxes[0].title, u"Vector");
}

TEST_F(VectorArrowTest, AFullStoreTakesNoBarbs) {
  Scene.VertexCount = 31498;
  AddVectorArrow(0, 0, 0, 1, 0, 0, 1, 0, 0, 0);
  EXPECT_EQ(Scene.VertexCount, 31498);
  EXPECT_EQ(Scene.SegmentCount, 0);
}

}  // namespace
}  // namespace ms
