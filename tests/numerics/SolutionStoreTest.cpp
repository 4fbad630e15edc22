#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "numerics/SolutionStore.h"
#include "plotting/SceneTestSupport.h"

namespace ms {
namespace {

using testing::SceneTest;
using testing::SegmentsFrom;

class SolutionStoreTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    StartSceneBuild();
  }

  // Rows 0 .. count of the slot: x = row, y = 10 * row, z = -row (components 1..3).
  static void FillSlot(int slot, int count) {
    for (int r = 0; r <= count; ++r) {
      SetSolution(r, 1, slot, r);
      SetSolution(r, 2, slot, 10.0 * r);
      SetSolution(r, 3, slot, -r);
    }
    Solutions.StoredPointCount = static_cast<int16_t>(count);
  }

  // Segments as (x of start, x of end): x is the row number of the stored point.
  static std::vector<std::pair<double, double>> SegmentRows(int first) {
    std::vector<std::pair<double, double>> rows;
    for (const auto& s : SegmentsFrom(first)) rows.push_back({s.from[0], s.to[0]});
    return rows;
  }
};

TEST_F(SolutionStoreTest, SegmentsStartAtRowTwoAndEndInADot) {
  struct Case {
    int stored;
    std::vector<std::pair<double, double>> segments;
    bool emptyBox;
  };
  const std::vector<Case> cases = {
      {1, {}, true},
      {2, {}, true},
      {3, {{2, 2}}, false},
      {5, {{2, 3}, {3, 4}, {4, 4}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    StartSceneBuild();
    recorder.boxes.clear();
    FillSlot(3, c.stored);
    int16_t msgNo = 99;
    BuildSolutionCurve(3, msgNo);
    EXPECT_EQ(msgNo, 0);
    EXPECT_EQ(SegmentRows(0), c.segments);
    EXPECT_EQ(Scene.VertexCount, 2 * static_cast<int>(c.segments.size()));
    EXPECT_EQ(Solutions.CurveSteps, c.stored - 1);
    ASSERT_EQ(recorder.boxes.size(), c.emptyBox ? 1u : 0u);
    if (c.emptyBox) {
      EXPECT_EQ(recorder.boxes[0].text,
                u"The auto axis cannot be applied on one axis to constant function.");
    } else {
      EXPECT_EQ(Scene.VertexCountD, Scene.VertexCount);
      EXPECT_EQ(Scene.SegmentCountD, Scene.SegmentCount);
    }
  }
}

TEST_F(SolutionStoreTest, TheBoxIsTheCurvesOwnAndPointsAreInGridUnits) {
  Scene.ViewXMin = -500;  // an earlier box is replaced, not widened
  Scene.GridUnitX = 2;
  Scene.GridUnitY = 5;
  Scene.GridUnitZ = 0.5;
  FillSlot(1, 4);
  int16_t msgNo = 0;
  BuildSolutionCurve(1, msgNo);
  EXPECT_EQ(Scene.ViewXMin, 0);  // rows 0 and 1 take part
  EXPECT_EQ(Scene.ViewXMax, 2);
  EXPECT_EQ(Scene.ViewYMax, 8);
  EXPECT_EQ(Scene.ViewZMin, -8);
  const auto segs = SegmentsFrom(0);
  ASSERT_EQ(segs.size(), 2u);
  testing::ExpectPointNear(segs[0].from, {1, 4, -4});
  testing::ExpectPointNear(segs[0].to, {1.5, 6, -6});
}

TEST_F(SolutionStoreTest, GridUnitsTooSmallToDivideByBecomeOne) {
  struct Case {
    double x, y, z;
    double expectedX;
  };
  const Case cases[] = {{1e-8, 3, 3, 1}, {3, 1e-8, 3, 1}, {3, 3, 1e-8, 3}, {-2, 3, 3, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    Scene.GridUnitX = c.x;
    Scene.GridUnitY = c.y;
    Scene.GridUnitZ = c.z;
    FillSlot(2, 3);
    int16_t msgNo = 0;
    BuildSolutionCurve(2, msgNo);
    EXPECT_EQ(Scene.GridUnitX, c.expectedX);
  }
}

TEST_F(SolutionStoreTest, ACurveThatStoresNothingKeepsEarlierSegments) {
  ASSERT_TRUE(AppendSegment({7, 7, 7}, {8, 8, 8}, 1, 1, 1));
  FillSlot(1, 1);
  int16_t msgNo = 0;
  BuildSolutionCurve(1, msgNo);
  EXPECT_EQ(Scene.SegmentCount, 1);
  EXPECT_EQ(Scene.VertexCount, 2);
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(SolutionStoreTest, ColourByFamilyThenOdeThenIntegralRequest) {
  Settings.IVPColorUsed = rt::RGB(1, 2, 3);
  Settings.IntegColorUsed = rt::RGB(4, 5, 6);
  CurveWork.FamilyRed[0] = 7;
  CurveWork.FamilyGreen[0] = 8;
  CurveWork.FamilyBlue[0] = 9;
  struct Case {
    int16_t member, ivp, bvp, integ;
    std::array<double, 3> colour;
  };
  const Case cases[] = {
      {1, -1, 0, -1, {7, 8, 9}}, {0, -1, 0, -1, {1, 2, 3}},  {0, 0, -1, 0, {1, 2, 3}},
      {0, 0, 0, -1, {4, 5, 6}},  {0, 0, 0, 0, {20, 21, 22}}, {11, -1, 0, 0, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.member);
    StartSceneBuild();
    Scene.SegmentTable[0][kRed] = 20;
    Scene.SegmentTable[0][kGreen] = 21;
    Scene.SegmentTable[0][kBlue] = 22;
    CurveWork.FamilyMember = c.member;
    Requests.IVPRequested = c.ivp;
    Requests.BVPRequested = c.bvp;
    Requests.IntegRequested = c.integ;
    FillSlot(1, 3);
    int16_t msgNo = 0;
    BuildSolutionCurve(1, msgNo);
    ASSERT_EQ(Scene.SegmentCount, 1);
    EXPECT_EQ(Scene.SegmentTable[0][kRed], c.colour[0]);
    EXPECT_EQ(Scene.SegmentTable[0][kGreen], c.colour[1]);
    EXPECT_EQ(Scene.SegmentTable[0][kBlue], c.colour[2]);
  }
}

TEST_F(SolutionStoreTest, SphereMarksOnIntegralPointsButNotOnOdeCurves) {
  Solutions.SphereMarkersOn = -1;
  Solutions.IntegMarkerSpacing = 2;
  Solutions.CurveSteps = 4;
  Scene.ViewXMin = Scene.ViewYMin = Scene.ViewZMin = -100;
  Scene.ViewXMax = Scene.ViewYMax = Scene.ViewZMax = 100;
  std::vector<double> marks;
  for (int k = 0; k <= 4; ++k) {
    CurveWork.CurveX[k] = k;
    Scene.SegmentTable[Scene.SegmentCount][kDotMark] = 0;
    ASSERT_TRUE(StoreCurveVertex(k));
    marks.push_back(Scene.SegmentTable[Scene.SegmentCount][kDotMark]);
    Scene.VertexCount = static_cast<int16_t>(Scene.VertexCount + 2);
    Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount + 1);
  }
  EXPECT_EQ(marks, (std::vector<double>{0, 0, 1, 0, 1}));
  EXPECT_FALSE(StoreCurveVertex(5));  // beyond the last index: only the point is written

  StartSceneBuild();
  FillSlot(1, 6);
  int16_t msgNo = 0;
  BuildSolutionCurve(1, msgNo);
  for (const auto& s : SegmentsFrom(0)) EXPECT_EQ(s.row[kDotMark], 0);
}

TEST_F(SolutionStoreTest, AFullStoreEndsTheCurveWithItsMessage) {
  Scene.VertexCount = kCurveVertexLimit - 2;
  FillSlot(1, 10);
  int16_t msgNo = 0;
  BuildSolutionCurve(1, msgNo);
  EXPECT_EQ(msgNo, 3990);
  EXPECT_EQ(Scene.VertexCount, kCurveVertexLimit);
}

TEST_F(SolutionStoreTest, IndexesOutsideTheTableAreRefused) {
  struct Case {
    int row, component, slot;
    bool valid;
  };
  const Case cases[] = {{0, 0, 1, true},   {1000, 4, 22, true}, {1001, 0, 1, false},
                        {-1, 0, 1, false}, {0, 5, 1, false},    {0, 0, 0, false},
                        {0, 0, 23, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(SolutionIndexValid(c.row, c.component, c.slot), c.valid);
    SetSolution(c.row, c.component, c.slot, 5);
    EXPECT_EQ(SolutionAt(c.row, c.component, c.slot), c.valid ? 5 : 0);
  }
  for (int16_t slot : {0, 23, -4}) {
    int16_t msgNo = 1;
    BuildSolutionCurve(slot, msgNo);
    EXPECT_EQ(msgNo, 0);
  }
  Solutions.StoredPointCount = 30000;  // beyond the table: read up to row 1000 only
  int16_t msgNo = 0;
  BuildSolutionCurve(1, msgNo);
  EXPECT_EQ(msgNo, 0);
}

}  // namespace
}  // namespace ms
