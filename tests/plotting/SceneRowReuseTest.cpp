#include "plotting/BoundingBox.h"
#include "plotting/PlotTestSupport.h"
#include "plotting/SceneStore.h"

namespace ms::testing {
namespace {

using SceneRowReuseTest = PlotTest;

// A rebuild writes over the rows of the previous picture: a box edge, an arrow head or a dot
// symbol must not inherit the kind or the marks of the axis or curve segment that held its row.
TEST_F(SceneRowReuseTest, AppendedRowsStartWithoutKindOrMarks) {
  for (int row = 0; row < 12; ++row) Scene.SegmentTable[row] = {0, 0, 0, 0, 0, -10, 1, 3};
  Scene.VertexCount = 0;
  Scene.SegmentCount = 0;
  AddBoundingBox(0, 1, 0, 1, 0, 1);
  ASSERT_EQ(Scene.SegmentCount, 12);
  for (int row = 0; row < 12; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(Scene.SegmentTable[row][kSegKind], kSegOrdinary);
    EXPECT_EQ(Scene.SegmentTable[row][kDotMark], 0);
    EXPECT_EQ(Scene.SegmentTable[row][kLimitMarkKind], 0);
  }
}

}  // namespace
}  // namespace ms::testing
