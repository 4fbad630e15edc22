#include <gtest/gtest.h>

#include "plotting/PlotField.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneTestSupport.h"

namespace ms {
namespace {

using testing::SceneTest;
using testing::SegmentAt;

using SceneStoreTest = SceneTest;

TEST_F(SceneStoreTest, ClearSegmentMarksClearsKindDotAndMarkerOfEveryRowOnly) {
  for (int row : {0, 1, 15000, kSceneLastRow}) {
    Scene.SegmentTable[row] = {3, 4, 10, 20, 30, -10, 1, 3};
  }
  ClearSegmentMarks();
  for (int row : {0, 1, 15000, kSceneLastRow}) {
    SCOPED_TRACE(row);
    const SegmentRow& r = Scene.SegmentTable[row];
    EXPECT_EQ(r[kSegKind], 0);
    EXPECT_EQ(r[kDotMark], 0);
    EXPECT_EQ(r[kLimitMarkKind], 0);
    EXPECT_EQ(r[kStartPoint], 3);
    EXPECT_EQ(r[kEndPoint], 4);
    EXPECT_EQ(r[kRed], 10);
    EXPECT_EQ(r[kBlue], 30);
  }
}

TEST_F(SceneStoreTest, AppendRefusesPastTheLastRow) {
  struct Case {
    int vertexCount;
    bool appended;
  };
  const Case cases[] = {{0, true}, {31498, true}, {31499, true}, {31500, false}, {31501, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vertexCount);
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    Scene.SegmentCount = 7;
    EXPECT_EQ(AppendSegment({1, 2, 3}, {4, 5, 6}, 1, 2, 3, kSegStructure), c.appended);
    EXPECT_EQ(Scene.VertexCount, c.appended ? c.vertexCount + 2 : c.vertexCount);
    EXPECT_EQ(Scene.SegmentCount, c.appended ? 8 : 7);
    if (c.appended) {
      const auto seg = SegmentAt(7);
      testing::ExpectPointNear(seg.from, {1, 2, 3});
      testing::ExpectPointNear(seg.to, {4, 5, 6});
      EXPECT_EQ(seg.row[kSegKind], kSegStructure);
    }
  }
}

TEST_F(SceneStoreTest, AppendWithoutKindKeepsClearedMarks) {
  Scene.SegmentTable[0] = {0, 0, 0, 0, 0, 1, 1, 3};
  ClearSegmentMarks();
  ASSERT_TRUE(AppendSegment({0, 0, 0}, {1, 1, 1}, 255, 0, 0));
  EXPECT_EQ(Scene.SegmentTable[0][kSegKind], kSegOrdinary);
  EXPECT_EQ(Scene.SegmentTable[0][kLimitMarkKind], 0);
}

TEST_F(SceneStoreTest, BuildStartsWithEmptyStoreAndInvertedBox) {
  Scene.VertexCount = 40;
  Scene.SegmentCount = 20;
  StartSceneBuild();
  EXPECT_EQ(Scene.VertexCount, 0);
  EXPECT_EQ(Scene.SegmentCount, 0);
  EXPECT_EQ(Scene.ViewXMin, 10000);
  EXPECT_EQ(Scene.ViewZMin, 10000);
  EXPECT_EQ(Scene.ViewYMax, -10000);
  EXPECT_EQ(Scene.ViewZMax, -10000);
}

TEST_F(SceneStoreTest, CopyToViewTakesOnlyThePointsInUse) {
  struct Case {
    double countD;
    int copied;
  };
  const Case cases[] = {{3, 3}, {0, 0}, {-2, 0}, {1e9, kSceneRows}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.countD);
    for (int i = 0; i < kSceneRows; ++i) {
      Scene.VertexXYZ[i] = {1, 2, 3};
      Scene.ViewXYZ[i] = {0, 0, 0};
    }
    Scene.VertexCountD = c.countD;
    CopyVerticesToView();
    if (c.copied > 0) testing::ExpectPointNear(Scene.ViewXYZ[c.copied - 1], {1, 2, 3});
    if (c.copied < kSceneRows) testing::ExpectPointNear(Scene.ViewXYZ[c.copied], {0, 0, 0});
  }
}

TEST_F(SceneStoreTest, BoundingBoxEdgesInOrder) {
  AddBoundingBox(-1, 2, -3, 4, -5, 6);
  ASSERT_EQ(Scene.SegmentCount, 12);
  ASSERT_EQ(Scene.VertexCount, 24);
  EXPECT_EQ(Scene.VertexCountD, 24);
  EXPECT_EQ(Scene.SegmentCountD, 12);
  const double x1 = -1, x2 = 2, y1 = -3, y2 = 4, z1 = -5, z2 = 6;
  const Point3 expected[12][2] = {
      {{x1, y1, z1}, {x2, y1, z1}}, {{x2, y1, z1}, {x2, y2, z1}}, {{x2, y2, z1}, {x1, y2, z1}},
      {{x1, y2, z1}, {x1, y1, z1}}, {{x1, y1, z1}, {x1, y1, z2}}, {{x1, y1, z2}, {x2, y1, z2}},
      {{x2, y1, z2}, {x2, y2, z2}}, {{x2, y2, z2}, {x1, y2, z2}}, {{x1, y2, z2}, {x1, y1, z2}},
      {{x2, y1, z1}, {x2, y1, z2}}, {{x2, y2, z2}, {x2, y2, z1}}, {{x1, y2, z1}, {x1, y2, z2}},
  };
  for (int e = 0; e < 12; ++e) {
    SCOPED_TRACE(e + 1);
    const auto seg = SegmentAt(e);
    testing::ExpectPointNear(seg.from, expected[e][0]);
    testing::ExpectPointNear(seg.to, expected[e][1]);
    EXPECT_EQ(seg.row[kRed], 128);
    EXPECT_EQ(seg.row[kGreen], 128);
    EXPECT_EQ(seg.row[kBlue], 128);
  }
}

TEST_F(SceneStoreTest, BoundingBoxNeedsRoomForAllTwelveEdges) {
  struct Case {
    int vertexCount;
    int segmentsAdded;
  };
  // 31,477 + 24 = 31,501 rows: the last box that fits ends on row 31,500.
  const Case cases[] = {{30000, 12}, {31477, 12}, {31478, 0}, {31500, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vertexCount);
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    Scene.SegmentCount = 100;
    AddBoundingBox(0, 0, 0, 1, 0, 1);  // x1 = x2 still gives twelve edges
    EXPECT_EQ(Scene.SegmentCount, 100 + c.segmentsAdded);
    EXPECT_EQ(Scene.VertexCount, c.vertexCount + 2 * c.segmentsAdded);
  }
}

}  // namespace
}  // namespace ms
