// Drawing the scene: the depth and off-picture tests and curve jumps (segments drawn in their
// colours are seen in the print and picture tests).
#include <limits>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

bool AnyInk(const QImage& img) {
  QImage white(img.size(), img.format());
  white.fill(Qt::white);
  return img != white;
}

class SceneRenderTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    w_ = &Load();
  }
  // One red segment given in picture coordinates (x, y, depth at each end), drawn alone.
  void DrawOne(const ms::Point3& p, const ms::Point3& q, double kind = 0) {
    ms::Scene.ViewXYZ[0] = p;
    ms::Scene.ViewXYZ[1] = q;
    ms::Scene.SegmentTable[0] = ms::SegmentRow{0, 1, 255, 0, 0, kind, 0, 0};
    ms::Scene.SegmentCountD = 1;
    w_->Display().Cls();
    w_->ImageView(w_->Display());
  }
  const draw::DrawTarget& D() const { return w_->Display(); }
  GraphWindow* w_ = nullptr;
};

TEST_F(SceneRenderTest, DepthAndOffPictureTestsDropWholeSegments) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::tuple<ms::Point3, ms::Point3, bool> cases[] = {
      {{3000, 3000, 10}, {7000, 3000, 10}, true},
      {{3000, 3000, 999}, {7000, 3000, 999}, false},  // both at the depth limit
      {{3000, 3000, 10}, {10000, 3000, 10}, false},
      {{3000, 3000, 10}, {nan, 3000, 10}, false},
  };
  for (const auto& [p, q, drawn] : cases) {
    DrawOne(p, q);
    EXPECT_EQ(AnyInk(D().Image()), drawn) << q[0] << " " << q[2];
  }
  // A row naming a point outside the store is skipped.
  ms::Scene.SegmentTable[0] = ms::SegmentRow{0, 40000, 255, 0, 0, 0, 0, 0};
  w_->Display().Cls();
  w_->ImageView(w_->Display());
  EXPECT_FALSE(AnyInk(D().Image()));
}

// A curve segment across a jump is left out while jumps are shown; an axis segment never is.
TEST_F(SceneRenderTest, JumpsBecomeGaps) {
  ms::Settings.NoLimitMarkers = -1;
  const std::tuple<bool, double, bool> cases[] = {// jumps shown, the segment's kind, drawn
                                                  {false, 1, true},
                                                  {true, 1, false},
                                                  {true, -1, false},
                                                  {true, -10, true}};
  for (const auto& [discontinuity, kind, line] : cases) {
    ms::Settings.DiscontinuityOn = discontinuity ? -1 : 0;
    DrawOne({3000, 3000, 10}, {6000, 3000, 10}, kind);
    EXPECT_EQ(AnyInk(D().Image()), line) << kind;
  }
}

}  // namespace
}  // namespace gr::testing
