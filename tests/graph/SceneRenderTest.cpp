// Drawing the scene: the depth and off-picture tests and curve jumps with their limit markers on
// every target (segments drawn in their colours are seen in the print and picture tests).
#include <cmath>
#include <limits>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu, kRed = 0xFFFF0000u, kBlack = 0xFF000000u;

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
  void DrawOne(const ms::Point3& p, const ms::Point3& q, double kind = 0, double dot = 0,
               double mark = 0) {
    ms::Scene.ViewXYZ[0] = p;
    ms::Scene.ViewXYZ[1] = q;
    ms::Scene.SegmentTable[0] = ms::SegmentRow{0, 1, 255, 0, 0, kind, dot, mark};
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

TEST_F(SceneRenderTest, JumpsBecomeGapsWithLimitMarkers) {
  // A horizontal segment from (3000, 3000) to (6000, 3000); at each end 'o' an open circle (its
  // ring of radius 40 red, its centre white), '.' a filled dot (black at its centre), '-' none.
  struct Case {
    bool discontinuity, noMarkers;
    double kind, mark;
    bool line;
    const char* ends;
  };
  const Case cases[] = {{false, false, 1, 3, true, "--"},
                        {true, false, 1, 3, false, "o."},
                        {true, false, -1, 2, false, ".o"},
                        {true, true, 1, 3, false, "--"},
                        {true, false, -10, 3, true, "--"}};  // an axis segment
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.kind << " " << c.mark << " " << c.ends);
    ms::Settings.DiscontinuityOn = c.discontinuity ? -1 : 0;
    ms::Settings.NoLimitMarkers = c.noMarkers ? -1 : 0;
    DrawOne({3000, 3000, 10}, {6000, 3000, 10}, c.kind, 0, c.mark);
    EXPECT_EQ(ColourNear(D(), 4500, 3000, kRed), c.line);
    // Animation frames and the printer draw through targets of their own: a filled dot is filled
    // there too.
    draw::DrawTarget other(D().Image().width(), D().Image().height());
    other.SetScale(D().ScaleLeft(), D().ScaleTop(), D().ScaleWidth(), D().ScaleHeight());
    w_->ImageView(other);
    for (int end = 0; end < 2; ++end) {
      const double x = end == 0 ? 3000 : 6000;
      EXPECT_EQ(ColourNear(D(), x, 2960, kRed), c.ends[end] == 'o') << end;
      if (c.ends[end] == '-') continue;
      EXPECT_EQ(PixelAt(D(), x, 3000), c.ends[end] == '.' ? kBlack : kWhite) << end;
      EXPECT_EQ(PixelAt(other, x, 3000), c.ends[end] == '.' ? kBlack : kWhite) << end;
    }
  }
}

}  // namespace
}  // namespace gr::testing
