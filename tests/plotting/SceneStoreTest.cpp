#include <bit>
#include <set>
#include <utility>

#include "plotting/BoundingBox.h"
#include "plotting/PlotTestSupport.h"
#include "plotting/SceneStore.h"

namespace ms::testing {
namespace {

using SceneStoreTest = PlotTest;

// Marks a previous build left are cleared in every row (colours and points stay), and a segment
// appended without a kind is ordinary.
TEST_F(SceneStoreTest, ClearedMarksAndAppendRefusedPastTheLastRow) {
  for (int row : {0, 15000, kSceneLastRow}) Scene.SegmentTable[row] = {3, 4, 10, 20, 30, -10, 1, 3};
  ClearSegmentMarks();
  for (int row : {15000, kSceneLastRow})
    EXPECT_EQ(Scene.SegmentTable[row], (SegmentRow{3, 4, 10, 20, 30, 0, 0, 0})) << row;
  struct Case {
    int vertexCount;
    bool appended;
  };
  const Case cases[] = {{0, true}, {31499, true}, {31500, false}, {31501, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vertexCount);
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    Scene.SegmentCount = 0;
    EXPECT_EQ(AppendSegment({1, 2, 3}, {4, 5, 6}, 1, 2, 3), c.appended);
    EXPECT_EQ(Scene.VertexCount, c.appended ? c.vertexCount + 2 : c.vertexCount);
    EXPECT_EQ(Scene.SegmentCount, c.appended ? 1 : 0);
    EXPECT_EQ(Drawn(), c.appended ? "1,2,3>4,5,6 " : "");
    EXPECT_EQ(Scene.SegmentTable[0][kSegKind] + Scene.SegmentTable[0][kLimitMarkKind], 0);
  }
}

// The box's twelve edges; a rebuild writes over the rows of the previous picture, and an
// edge does not inherit the kind or the marks of the axis or curve segment that held its row.
TEST_F(SceneStoreTest, BoundingBoxEdgesInOrderWhenAllTwelveFit) {
  for (int row = 0; row < 12; ++row) Scene.SegmentTable[row] = {0, 0, 0, 0, 0, -10, 1, 3};
  AddBoundingBox(-1, 2, -3, 4, -5, 6);
  EXPECT_EQ(Scene.VertexCountD, 24);
  EXPECT_EQ(Scene.SegmentCountD, 12);
  for (const Seg& s : Segments()) EXPECT_EQ(s.row[kSegKind] + s.row[kDotMark], kSegOrdinary);
  // The edges are those of the box: each joins two corners that differ in one coordinate, and
  // together they join every such pair once (8 corners, 12 edges).
  std::set<std::pair<int, int>> edges;
  const auto corner = [](const Point3& p) {
    const bool at[3] = {p[0] == 2, p[1] == 4, p[2] == 6};
    const bool low[3] = {p[0] == -1, p[1] == -3, p[2] == -5};
    int index = 0;
    for (int c = 0; c < 3; ++c) {
      EXPECT_TRUE(at[c] || low[c]) << "coordinate " << c << " = " << p[c];
      index |= at[c] ? 1 << c : 0;
    }
    return index;
  };
  for (const Seg& s : Segments()) {
    const int a = corner(s.from), b = corner(s.to);
    EXPECT_EQ(std::popcount(static_cast<unsigned>(a ^ b)), 1) << a << "-" << b;
    edges.insert({std::min(a, b), std::max(a, b)});
  }
  EXPECT_EQ(edges.size(), 12u);
  struct Case {
    int vertexCount, segmentsAdded;
  };
  // 31,477 + 24 = 31,501 rows: the last box that fits ends on row 31,500.
  const Case cases[] = {{31477, 12}, {31478, 0}, {31500, 0}};
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
}  // namespace ms::testing
