#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "language/CommandRequests.h"
#include "numerics/SolutionStore.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

class SolutionStoreTest : public SolverTest {
 protected:
  void SetUp() override {
    SolverTest::SetUp();
    StartSceneBuild();
  }
  // Rows 0 .. count of the slot: x = row, y = 10 * row, z = -row; then the curve built from it.
  static int16_t Build(int slot, int count) {
    for (int r = 0; r <= count; ++r) {
      SetSolution(r, 1, slot, r);
      SetSolution(r, 2, slot, 10.0 * r);
      SetSolution(r, 3, slot, -r);
    }
    Solutions.StoredPointCount = static_cast<int16_t>(count);
    return BuildSolutionCurve(static_cast<int16_t>(slot));
  }
};

TEST_F(SolutionStoreTest, TheBoxIsTheCurvesOwnAndPointsAreInGridUnits) {
  Scene.ViewXMin = -500;  // an earlier box is replaced, not widened
  Scene.GridUnitX = 2;
  Scene.GridUnitY = 5;
  Scene.GridUnitZ = 0.5;
  ASSERT_EQ(Build(1, 4), 0);
  // Row 0 holds the start point in the layout of slot 1 only: it does not take part.
  EXPECT_EQ(Scene.ViewXMin, 0.5);
  EXPECT_EQ(Scene.ViewYMax, 8);
  EXPECT_EQ(Scene.ViewZMin, -8);
  const auto segs = Segments();
  ASSERT_EQ(segs.size(), 3u);
  EXPECT_EQ(segs[0].from, (Point3{0.5, 2, -2}));
  EXPECT_EQ(segs[2].to, (Point3{2, 8, -8}));
  // Grid units too small to divide by (or negative) become one.
  for (const Point3& units : {Point3{1e-8, 3, 3}, Point3{3, 1e-8, 3}, Point3{-2, 3, 3}}) {
    Scene.GridUnitX = units[0];
    Scene.GridUnitY = units[1];
    Scene.GridUnitZ = units[2];
    ASSERT_EQ(Build(2, 3), 0);
    EXPECT_EQ(Scene.GridUnitX, 1);
  }
}

TEST_F(SolutionStoreTest, SphereMarkOnAnIntegralPoint) {
  Solutions.SphereMarkersOn = -1;
  Solutions.IntegMarkerSpacing = 2;
  Solutions.CurveSteps = 4;
  Scene.ViewXMin = Scene.ViewYMin = Scene.ViewZMin = -100;
  Scene.ViewXMax = Scene.ViewYMax = Scene.ViewZMax = 100;
  CurveWork.CurveX[2] = 2;
  ASSERT_TRUE(StoreCurveVertex(2));
  EXPECT_EQ(Scene.SegmentTable[Scene.SegmentCount][kDotMark], 1);
  EXPECT_FALSE(StoreCurveVertex(5));  // beyond the last index: only the point is written
}

TEST_F(SolutionStoreTest, FullStoreAndIndexesOutsideTheTable) {
  Scene.VertexCount = kCurveVertexLimit - 2;
  EXPECT_EQ(Build(1, 10), 3990);
  EXPECT_EQ(Scene.VertexCount, kCurveVertexLimit);
  struct Case {
    int row, component, slot;
    bool valid;
  };
  const Case cases[] = {{1000, 4, kSolutionSlots, true},
                        {1001, 0, 1, false},
                        {-1, 0, 1, false},
                        {0, 5, 1, false},
                        {0, 0, 0, false},
                        {0, 0, kSolutionSlots + 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(SolutionIndexValid(c.row, c.component, c.slot), c.valid);
    SetSolution(c.row, c.component, c.slot, 5);
    EXPECT_EQ(SolutionAt(c.row, c.component, c.slot), c.valid ? 5 : 0);
  }
  StartSceneBuild();
  for (int slot : {0, kSolutionSlots + 1}) EXPECT_EQ(Build(slot, 3), 0);
  Solutions.StoredPointCount = 30000;  // beyond the table: read up to row 1000 only
  EXPECT_EQ(BuildSolutionCurve(1), 0);
}

}  // namespace
}  // namespace ms::testing
