// Drawing the scene: the depth and off-picture tests and curve jumps (segments drawn in their
// colours are seen in the print and picture tests).
#include <cmath>
#include <limits>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

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

// Behind the eye or not a number: nothing. An end far off the picture (the axis of a long solve)
// is drawn clipped to the picture: every pixel of the line's visible part (x = 3000 + s (q - p)
// in twips, 15 a pixel) is inked, from where it enters the picture to where it ends or leaves.
TEST_F(SceneRenderTest, SegmentsAreDrawnClippedToThePicture) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::tuple<ms::Point3, ms::Point3, bool> cases[] = {
      {{3000, 3000, 10}, {7000, 3000, 10}, true},
      {{3000, 3000, 999}, {7000, 3000, 999}, false},  // both at the depth limit
      {{3000, 3000, 10}, {10000, 3000, 10}, true},
      {{3000, 3000, 10}, {nan, 3000, 10}, false},
      {{3000, 3000, 10}, {3000, -4.4e6, 10}, true},   // up and far beyond the top edge
      {{3000, 12000, 10}, {1e7, 12000, 10}, true},    // right, past the right edge
      {{-2e6, -2e6, 10}, {2e6, 2e6, 10}, true},       // across the whole picture, both ends off
      {{-2e6, 20000, 10}, {-1e6, 30000, 10}, false},  // wholly off the picture
  };
  for (const auto& [p, q, drawn] : cases) {
    SCOPED_TRACE(::testing::Message() << p[0] << "," << p[1] << " " << q[0] << "," << q[1]);
    DrawOne(p, q);
    const QImage img = D().Image();
    ASSERT_EQ(AnyInk(img), drawn);
    if (!drawn || !(std::fabs(q[0]) > 1e5 || std::fabs(q[1]) > 1e5)) continue;
    // The line crosses the picture box (0..11500 x 0..15000 twips) between s0 and s1.
    double s0 = 0, s1 = 1;
    for (int a = 0; a < 2; ++a) {
      const double lo = 0, hi = a == 0 ? 11500 : 15000, d = q[a] - p[a];
      if (d == 0) continue;
      const double ta = (lo - p[a]) / d, tb = (hi - p[a]) / d;
      s0 = std::max(s0, std::min(ta, tb));
      s1 = std::min(s1, std::max(ta, tb));
    }
    ASSERT_LT(s0, s1);
    for (int k = 1; k < 20; ++k) {
      const double s = s0 + (s1 - s0) * k / 20;
      const int px = static_cast<int>((p[0] + s * (q[0] - p[0])) / 15);
      const int py = static_cast<int>((p[1] + s * (q[1] - p[1])) / 15);
      if (px < 0 || py < 0 || px >= img.width() || py >= img.height()) continue;
      bool inked = false;  // within a pixel of the ideal line
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          inked = inked || (img.rect().contains(px + dx, py + dy) &&
                            img.pixelColor(px + dx, py + dy) != QColor(Qt::white));
      EXPECT_TRUE(inked) << px << "," << py;
    }
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

// The limit markers of a jump, drawn with the jumps shown: kind 3 puts an open red circle of
// radius 40 twips (2.7 pixels) on the start and a filled black dot of radius 23 (1.5 pixels) on the
// end, kind 2 the other way round, any other kind nothing; the jump's own line is never drawn.
// Without markers the jump is a bare gap; with jumps not shown it is a line in its own colour and
// has no marker.
TEST_F(SceneRenderTest, LimitMarkersAtTheEndsOfAJump) {
  enum Mark { kNone, kOpenRed, kFilledBlack };
  struct Case {
    bool jumpsShown, markers;
    double kind, markKind;
    Mark start, end;
    bool line;
  };
  const Case cases[] = {
      {true, true, 1, 3, kOpenRed, kFilledBlack, false},
      {true, true, -1, 3, kOpenRed, kFilledBlack, false},
      {true, true, 1, 2, kFilledBlack, kOpenRed, false},
      {true, true, -1, 2, kFilledBlack, kOpenRed, false},
      {true, true, 1, 0, kNone, kNone, false},
      {true, true, 1, 2.5, kNone, kNone, false},
      {true, false, 1, 3, kNone, kNone, false},
      {false, true, 1, 3, kNone, kNone, true},
      {false, true, -1, 2, kNone, kNone, true},
  };
  const QColor lineColour(0, 160, 0);
  const QPoint ends[] = {{200, 200}, {400, 200}};  // 3000 and 6000 twips at 15 a pixel
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.jumpsShown << c.markers << " " << c.kind << " " << c.markKind);
    ms::Settings.DiscontinuityOn = c.jumpsShown ? -1 : 0;
    ms::Settings.NoLimitMarkers = c.markers ? 0 : -1;
    ms::Scene.ViewXYZ[0] = {3000, 3000, 10};
    ms::Scene.ViewXYZ[1] = {6000, 3000, 10};
    ms::Scene.SegmentTable[0] = ms::SegmentRow{0, 1, 0, 160, 0, c.kind, 0, c.markKind};
    ms::Scene.SegmentCountD = 1;
    w_->Display().Cls();
    w_->ImageView(w_->Display());
    const QImage img = D().Image();
    EXPECT_EQ(img.pixelColor(300, 200) == lineColour, c.line);  // the middle of the segment
    for (int e = 0; e < 2; ++e) {
      SCOPED_TRACE(e);
      const Mark mark = e == 0 ? c.start : c.end;
      int red = 0, black = 0, other = 0;
      for (int dx = -5; dx <= 5; ++dx) {
        for (int dy = -5; dy <= 5; ++dy) {
          const QColor px = img.pixelColor(ends[e] + QPoint(dx, dy));
          if (px == QColor(Qt::white) || px == lineColour) continue;
          const double r = std::hypot(dx + 0.5, dy + 0.5);  // the pixel's centre from the end
          if (px == QColor(255, 0, 0)) {
            ++red;
            EXPECT_TRUE(r > 1.5 && r < 4) << dx << "," << dy;  // on the ring, not inside it
          } else if (px == QColor(0, 0, 0)) {
            ++black;
            EXPECT_LT(r, 2.5) << dx << "," << dy;
          } else {
            ++other;
          }
        }
      }
      EXPECT_EQ(red > 0, mark == kOpenRed);
      EXPECT_EQ(black > 0, mark == kFilledBlack);
      EXPECT_EQ(other, 0);
      // The dot is filled, the ring open.
      EXPECT_EQ(img.pixelColor(ends[e]) == QColor(0, 0, 0), mark == kFilledBlack);
    }
  }
}

// x' = 3x from x(0) = 1 on [0, 2] grows to e^6 = 403: in the plan view the vertical axis reaches
// far above the picture and is still drawn, down the picture from its top edge to the origin.
TEST_F(SceneRenderTest, TheLongAxisOfASolveIsDrawnInThePlanView) {
  GraphWindow& w = Run("k=3\nF{t,x}=k*x\nIVP[F,{0,2,1}{1,0.001}]\n");
  w.Navigation().cmd3D->click();
  int axis = -1;
  for (int i = 0; i < ms::Scene.SegmentCountD && axis < 0; ++i) {
    const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
    const ms::Point3& p = ms::Scene.VertexXYZ[static_cast<int>(r[ms::kStartPoint])];
    const ms::Point3& q = ms::Scene.VertexXYZ[static_cast<int>(r[ms::kEndPoint])];
    if (p[0] == 0 && q[0] == 0 && std::max(p[1], q[1]) > std::exp(6.0)) axis = i;
  }
  ASSERT_GE(axis, 0);
  const ms::SegmentRow& r = ms::Scene.SegmentTable[axis];
  const ms::Point3& top = ms::Scene.ViewXYZ[static_cast<int>(r[ms::kEndPoint])];
  const ms::Point3& foot = ms::Scene.ViewXYZ[static_cast<int>(r[ms::kStartPoint])];
  ASSERT_LT(std::min(top[1], foot[1]), -10000);  // far above the picture
  const double bottom = std::max(top[1], foot[1]);
  const QImage img = w.Display().Image();
  const int column = static_cast<int>(foot[0] / 15);
  const int last = std::min(img.height(), static_cast<int>(bottom / 15)) - 1;
  ASSERT_GT(last, 10);
  int inked = 0;
  for (int y = 0; y <= last; ++y) {
    bool ink = false;
    for (int dx = -1; dx <= 1; ++dx)
      ink = ink || img.pixelColor(column + dx, y) != QColor(Qt::white);
    inked += ink;
  }
  EXPECT_EQ(inked, last + 1);
}

}  // namespace
}  // namespace gr::testing
