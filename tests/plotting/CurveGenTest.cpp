#include <cmath>
#include <functional>
#include <vector>

#include "language/Global.h"
#include "mathematics/Math.h"
#include "numerics/Integ.h"
#include "plotting/CurveGen.h"
#include "plotting/PlotTestSupport.h"
#include "plotting/ZMath.h"

namespace ms::testing {
namespace {

constexpr double kPi = 3.1415926536;

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
  // Accepts the steps + 2 points f(t), as the evaluation would leave them, and builds the curve.
  static void BuildCurve(double tMin, double tMax, int steps,
                         const std::function<Point3(double)>& f,
                         const std::vector<int>& failedPoints = {}) {
    SetRange(tMin, tMax, steps);
    for (int i = 0; i <= steps + 1; ++i) {
      const Point3 p = f(tMin + i * PlotRequest.PlotDt);
      const bool failed =
          std::find(failedPoints.begin(), failedPoints.end(), i) != failedPoints.end();
      AcceptCurvePoint(i, p[0], p[1], p[2], !failed);
    }
    BuildCurveFromPoints();
  }
};

TEST_F(CurveGenTest, KnownCurvesGiveTheirSegmentsAndViewBox) {
  struct Case {
    int steps;
    double tMax;
    std::function<Point3(double)> f;
    std::vector<int> failed;
    std::string drawn;
    double box[6];  // takes in the point beyond the range, with 0.01 except on a flat z
  };
  const Case cases[] = {
      {4,
       1,
       [](double t) {
         return Point3{t, 2 * t, 0};
       },
       {},
       "0,0,0>0.25,0.5,0 0.25,0.5,0>0.5,1,0 0.5,1,0>0.75,1.5,0 0.75,1.5,0>1,2,0 ",
       {-0.01, 1.26, -0.01, 2.51, 0, 0}},
      {1,
       2,
       [](double t) {
         return Point3{t, t * t, 1 + t};
       },
       {},
       "0,0,1>2,4,3 ",
       {-0.01, 4.01, -0.01, 16.01, 0.99, 5.01}},
      // A failed point breaks the curve.
      {4,
       4,
       [](double t) {
         return Point3{t, t, 0};
       },
       {2},
       "0,0,0>1,1,0 3,3,0>4,4,0 ",
       {-0.01, 5.01, -0.01, 5.01, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drawn);
    StartSceneBuild();
    BuildCurve(0, c.tMax, c.steps, c.f, c.failed);
    EXPECT_EQ(Drawn(), c.drawn);
    for (const Seg& s : Segments())
      EXPECT_EQ(s.row, (SegmentRow{s.row[0], s.row[1], 255, 0, 0, kSegOrdinary, 0, 0}));
    const double box[6] = {Scene.ViewXMin, Scene.ViewXMax, Scene.ViewYMin,
                           Scene.ViewYMax, Scene.ViewZMin, Scene.ViewZMax};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(box[k], c.box[k], 1e-12) << k;
  }
  EXPECT_TRUE(screen_.boxes.empty());
}

TEST_F(CurveGenTest, JumpKindsBySlopePerParameterUnit) {
  struct Case {
    double slope, kind;
  };
  const Case cases[] = {{50, 0}, {50.001, 1}, {-50.001, -1}, {-50, 0}};
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
    double x0, kind;
  };
  const Case cases[] = {{-1, 0, 0, 1, 3.0},  {0, -1, 0, 1, 2.0},     {0, 0, -1, -0.5, 2.0},
                        {-1, 0, -1, 0, 3.0}, {0, -1, -1, -0.5, 2.0}, {0, 0, 0, 1, 0.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.usedFloor * 100 + c.usedCeil * 10 + c.usedInt);
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

TEST_F(CurveGenTest, DotMarksAndArrowHeads) {
  struct Case {
    int16_t spacing;
    std::vector<double> marked;  // x of the marked points
  };
  const Case cases[] = {{10, {0, 10, 20}}, {0, {0}}, {7, {0, 7, 14, 21}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spacing);
    StartSceneBuild();
    CurveWork.DotSpacingOn = -1;
    CurveWork.DotSpacing = c.spacing;
    BuildCurve(0, 25, 25, [](double t) { return Point3{t, 0, 0}; });
    std::vector<double> marked;
    for (const Seg& s : Segments()) {
      if (s.row[kDotMark] != 1.0) continue;
      EXPECT_EQ(s.from, s.to);
      EXPECT_EQ(s.row[kRed] + s.row[kGreen] + s.row[kBlue], 0);
      marked.push_back(s.from[0]);
    }
    EXPECT_EQ(marked, c.marked);
    EXPECT_EQ(Scene.SegmentCount, 25 + static_cast<int>(c.marked.size()));
  }
  CurveWork.DotSpacingOn = 0;
  // The arrow flags pick the curves that get a head (two barbs), one flag per curve.
  struct ArrowCase {
    const char16_t* flags;
    int barbsOnFirst, barbsOnSecond;
  };
  const ArrowCase arrows[] = {{u"a", 2, 0}, {u"ba", 0, 2}, {u"aa", 2, 2}, {u"", 0, 0}};
  for (const ArrowCase& c : arrows) {
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

TEST_F(CurveGenTest, ACurveWithoutPointsAddsNothingAndAnEmptyStoreIsReported) {
  for (const bool earlier : {true, false}) {
    SCOPED_TRACE(earlier);
    StartSceneBuild();
    screen_.boxes.clear();
    if (earlier) {
      ASSERT_TRUE(AppendSegment({9, 9, 9}, {8, 8, 8}, 1, 2, 3));
    }
    BuildCurve(0, 1, 3, [](double t) { return Point3{t, t, t}; }, {0, 1, 2, 3, 4});
    EXPECT_EQ(Drawn(), earlier ? "9,9,9>8,8,8 " : "");
    ASSERT_EQ(screen_.boxes.size(), earlier ? 0u : 1u);
    if (earlier) continue;
    EXPECT_EQ(screen_.boxes[0].text,
              u"The auto axis cannot be applied on one axis to a constant function.");
    EXPECT_EQ(screen_.boxes[0].style, ui::kOkOnly);
  }
}

TEST_F(CurveGenTest, CurvesStopAtThirtyThousandPoints) {
  struct Case {
    int vertexCount, segmentsAdded;
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
  // Step counts beyond the curve tables are cut; a point outside them is ignored.
  StartSceneBuild();
  PlotRequest.ArrowFlags.clear();
  PlotRequest.PlotSteps = 32000;
  PlotRequest.PlotDt = 1;
  for (int i = 0; i <= kSceneRows; ++i) AcceptCurvePoint(i, i * 1e-3, 0, 0, true);
  BuildCurveFromPoints();
  EXPECT_EQ(Scene.VertexCount, kCurveVertexLimit);
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
      {0, -1, 0, 1, {11, 12, 13}},     // colour not changed: the row keeps its colour
      {0, -1, -1, 0, {11, 12, 13}},    // two curves selected: colour not written
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.select);
    StartSceneBuild();
    Scene.SegmentTable[0] = {0, 0, 11, 12, 13, 0, 0, 0};
    CurveWork.FamilyMember = c.member;
    CurveWork.FamilyColorCode = c.colorCode;
    CurveWork.FamilyRed[1] = 7;
    CurveWork.FamilyGreen[1] = 8;
    CurveWork.FamilyBlue[1] = 9;
    Settings.ColorChanged = c.colorChanged;
    PlotRequest.PlotSelect.fill(0);
    PlotRequest.PlotSelect[c.select ? c.select : 1] = -1;
    if (!c.select) PlotRequest.PlotSelect[2] = -1;
    BuildCurve(0, 1, 1, [](double t) { return Point3{t, 0, 0}; });
    ASSERT_EQ(Scene.SegmentCount, 1);
    EXPECT_EQ((std::array<double, 3>{Scene.SegmentTable[0][kRed], Scene.SegmentTable[0][kGreen],
                                     Scene.SegmentTable[0][kBlue]}),
              c.colour);
  }
}

// Curves of compiled worksheet functions, laid out as the Plot[ reader leaves them.
TEST_F(CurveGenTest, CompiledFunctionsThroughTheWholeRoad) {
  struct Case {
    const char16_t *x, *y, *z;
    double tMin, tMax;
    int steps;
    std::string drawn;  // empty: checked below
  };
  const Case cases[] = {
      {u"t", u"2*t", u"0", 0, 1, 2, "0,0,0>0.5,1,0 0.5,1,0>1,2,0 "},
      // Points at -0.5 and -0.25 have no value: the curve starts at 0.
      {u"t", u"Sqrt[t]", u"0", -0.5, 0.5, 4, "0,0,0>0.25,0.5,0 0.25,0.5,0>0.5,0.707107,0 "},
      // Steps of 0.01: a jump of 1 is a slope of 100.
      {u"t", u"Floor[t]", u"0", -0.505, 1.495, 200, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.y));
    ASSERT_EQ(Run({(u"X{t} = " + rt::Text(c.x)).c_str(), (u"Y{t} = " + rt::Text(c.y)).c_str(),
                   (u"Z{t} = " + rt::Text(c.z)).c_str()}),
              0);
    ASSERT_EQ(Tables.FuncCount, 3);
    StartSceneBuild();
    SetRange(c.tMin, c.tMax, c.steps);
    GenerateCurvePoints(1, 2, 3);
    if (!c.drawn.empty()) {
      EXPECT_EQ(Drawn(), c.drawn);
      continue;
    }
    ASSERT_EQ(Scene.SegmentCount, 200);
    std::vector<double> jumpsAt;
    for (const Seg& s : Segments()) {
      EXPECT_EQ(s.row[kLimitMarkKind], 3.0);
      if (s.row[kSegKind] == kSegJumpUp)
        jumpsAt.push_back(s.to[1]);
      else
        EXPECT_EQ(s.row[kSegKind], kSegOrdinary);
    }
    EXPECT_EQ(jumpsAt, (std::vector<double>{0, 1}));
  }

  // The user's grid units scale the points; solution curves built before leave the range alone.
  ASSERT_EQ(Run({u"X{t} = t", u"Y{t} = 2*t", u"Z{t} = 3*t"}), 0);
  View.UserGridUnitX = 2;
  View.UserGridUnitY = 4;
  View.UserGridUnitZ = 0.5;
  StartSceneBuild();
  SetRange(0, 1, 2);
  for (int r = 0; r <= 7; ++r) {
    SetSolution(r, 1, 1, r);
    SetSolution(r, 2, 1, r);
  }
  Solutions.StoredPointCount = 7;
  int16_t msgNo = 0;
  BuildSolutionCurve(1, msgNo);
  PlotIntegCurve(2, 5, msgNo);
  const int before = Scene.SegmentCount;
  GenerateCurvePoints(1, 2, 3);
  EXPECT_EQ(Drawn(before), "0,0,0>0.25,0.25,3 0.25,0.25,3>0.5,0.5,6 ");
  EXPECT_EQ(Scene.GridUnitY, 4);

  // Bad function indexes, or no room for the parameter's value, build nothing.
  for (int32_t bad : {0, 4, -1, 501}) {
    StartSceneBuild();
    GenerateCurvePoints(1, bad, 3);
    EXPECT_EQ(Scene.SegmentCount, 0) << bad;
  }
  Tables.ValueTop = kMaxValueIndex - 1;
  GenerateCurvePoints(1, 2, 3);
  EXPECT_EQ(Scene.SegmentCount, 0);
}

TEST_F(CurveGenTest, ArrowBarbsOfFlatAndSpatialArrows) {
  const double c = 0.2 * std::cos(0.9 * kPi), s = 0.2 * std::sin(0.9 * kPi);
  struct Case {
    Point3 tail, head, headStored, barb1, barb2;
    int16_t zAxis;
  };
  const Case cases[] = {
      {{0, 2, 0}, {1, 2, 0}, {1, 2, 0}, {1 + c, 2 - s, 0}, {1 + c, 2 + s, 0}, 0},
      {{0, 2, 0.5}, {1, 2, 0.5}, {1, 2, 0.5}, {1 + c, 2 + s, 0.5 + s}, {1 + c, 2 - s, 0.5 - s}, -1},
      {{0, 0, 0.0005}, {1, 0, -0.0009}, {1, 0, 0}, {1 + c, -s, 0}, {1 + c, s, 0}, 0},  // nearly
                                                                                       // flat
      {{0, 0, 0}, {0, 1, 0}, {0, 1, 0}, {s, 1 + c, 0}, {-s, 1 + c, 0}, 0},
      {{0, 0, 0.001}, {1, 0, 0}, {1, 0, 0}, {}, {}, -1},  // the flat threshold
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.tail[2] * 1e4 + k.head[1]);
    StartSceneBuild();
    View.ZAxisNeeded = 0;
    AddVectorArrow(k.tail[0], k.tail[1], k.tail[2], k.head[0], k.head[1], k.head[2], 10, 1, 2, 3);
    EXPECT_EQ(View.ZAxisNeeded, k.zAxis);
    if (k.barb1 == Point3{}) continue;
    const auto segs = Segments();
    ASSERT_EQ(segs.size(), 2u);
    ExpectPointNear(segs[0].from, k.headStored);
    ExpectPointNear(segs[0].to, k.barb1, 1e-9);
    ExpectPointNear(segs[1].from, k.headStored);
    ExpectPointNear(segs[1].to, k.barb2, 1e-9);
    EXPECT_EQ(segs[1].row, (SegmentRow{2, 3, 1, 2, 3, 0, 0, 0}));
  }
  // The angle scale narrows the barbs curve by curve (barbs 0.4 long with head scale 2).
  StartSceneBuild();
  View.ArrowAngleScale = 0.5;
  View.ArrowHeadScale = 2;
  for (double angle : {0.45 * kPi, 0.225 * kPi}) {
    const int first = Scene.SegmentCount;
    AddVectorArrow(0, 0, 0, 1, 0, 0, 1, 0, 0, 0);
    ASSERT_EQ(Scene.SegmentCount, first + 2);
    ExpectPointNear(Segments(first)[0].to, {1 + 0.4 * std::cos(angle), -0.4 * std::sin(angle), 0},
                    1e-9);
  }
}

TEST_F(CurveGenTest, ArrowsOfZeroLengthOrWithoutRoomAppendNothing) {
  AddVectorArrow(1, 2, 3, 1, 2, 3, 1, 0, 0, 0);
  EXPECT_EQ(Scene.SegmentCount, 0);
  ASSERT_EQ(screen_.boxes.size(), 1u);
  EXPECT_EQ(screen_.boxes[0].text, u"Vector length of zero was detected.");
  EXPECT_EQ(screen_.boxes[0].style, ui::kExclamation);
  EXPECT_EQ(screen_.boxes[0].title, u"Vector");
  Scene.VertexCount = 31498;
  AddVectorArrow(0, 0, 0, 1, 0, 0, 1, 0, 0, 0);
  EXPECT_EQ(Scene.VertexCount, 31498);
  EXPECT_EQ(Scene.SegmentCount, 0);
}

}  // namespace
}  // namespace ms::testing
