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

// The limit markers of a jump (the segment itself left out): kind 3 puts a red ring of radius 40
// twips on the start and a black dot of radius 23 on the end, kind 2 the other way round; kind 0,
// the markers switched off, or jumps drawn as lines put no marker. The jump here is blue, so red
// and black come from the markers alone. Pixels are 15 twips.
TEST_F(SceneRenderTest, LimitMarkersAtTheEndsOfAJump) {
  struct Case {
    bool jumps, markers;
    double markKind;
    char atStart, atEnd;  // 'r' red ring, 'k' black dot, '-' nothing, 'l' the blue line
  };
  const Case cases[] = {
      {true, true, 3, 'r', 'k'},  {true, true, 2, 'k', 'r'},  {true, true, 0, '-', '-'},
      {true, false, 3, '-', '-'}, {false, true, 3, 'l', 'l'},
  };
  const auto around = [](const QImage& img, int cx, int cy, auto test) {
    int n = 0;
    for (int x = cx - 4; x <= cx + 4; ++x)
      for (int y = cy - 4; y <= cy + 4; ++y)
        if (img.rect().contains(x, y) && test(img.pixelColor(x, y))) ++n;
    return n;
  };
  const auto red = [](const QColor& c) {
    return c.red() > 150 && c.green() < 100 && c.blue() < 100;
  };
  const auto black = [](const QColor& c) {
    return c.red() < 100 && c.green() < 100 && c.blue() < 100;
  };
  const auto blue = [](const QColor& c) { return c.blue() > 150 && c.red() < 100; };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.jumps << c.markers << c.markKind);
    ms::Settings.DiscontinuityOn = c.jumps ? -1 : 0;
    ms::Settings.NoLimitMarkers = c.markers ? 0 : -1;
    ms::Scene.ViewXYZ[0] = {3000, 3000, 10};
    ms::Scene.ViewXYZ[1] = {6000, 3000, 10};
    ms::Scene.SegmentTable[0] = ms::SegmentRow{0, 1, 0, 0, 255, ms::kSegJumpUp, 0, c.markKind};
    ms::Scene.SegmentCountD = 1;
    w_->Display().Cls();
    w_->ImageView(w_->Display());
    const QImage img = D().Image();
    const int ends[2][2] = {{200, 200}, {400, 200}};
    const char want[2] = {c.atStart, c.atEnd};
    for (int e = 0; e < 2; ++e) {
      SCOPED_TRACE(e == 0 ? "start" : "end");
      const int cx = ends[e][0], cy = ends[e][1];
      EXPECT_EQ(around(img, cx, cy, red) > 0, want[e] == 'r');
      EXPECT_EQ(around(img, cx, cy, black) > 0, want[e] == 'k');
      EXPECT_EQ(around(img, cx, cy, blue) > 0, want[e] == 'l');
      if (want[e] == 'r') {
        // A ring: its centre is not filled.
        EXPECT_FALSE(red(img.pixelColor(cx, cy)) || black(img.pixelColor(cx, cy)));
      }
      if (want[e] == 'k') EXPECT_TRUE(black(img.pixelColor(cx, cy)));
    }
    // Halfway along the jump: the blue line only when jumps are drawn as lines.
    EXPECT_EQ(around(img, 300, 200, blue) > 0, !c.jumps);
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
