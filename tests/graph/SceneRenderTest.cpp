// Drawing the scene: known segments in their colours between their projected ends, the depth and
// off-picture tests, curve jumps with their limit markers on every target, the dot symbols.
#include <QAction>
#include <cmath>
#include <limits>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kGrey100 = 0xFF646464u;
constexpr uint32_t kGrey128 = 0xFF808080u;

bool AnyInk(const QImage& img) {
  QImage white(img.size(), img.format());
  white.fill(Qt::white);
  return img != white;
}

// One segment given in picture coordinates (x, y, depth at each end), drawn alone.
struct PictureSegment {
  double x1, y1, z1, x2, y2, z2;
  double kind = 0, dot = 0, mark = 0;
};

class SceneRenderTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    w_ = &Load();
  }
  void DrawOne(const PictureSegment& s) {
    ms::Scene.ViewXYZ[0] = {s.x1, s.y1, s.z1};
    ms::Scene.ViewXYZ[1] = {s.x2, s.y2, s.z2};
    ms::Scene.SegmentTable[0] = ms::SegmentRow{0, 1, 255, 0, 0, s.kind, s.dot, s.mark};
    ms::Scene.SegmentCountD = 1;
    w_->Display().Cls();
    w_->ImageView(w_->Display());
  }
  const draw::DrawTarget& D() const { return w_->Display(); }
  GraphWindow* w_ = nullptr;
};

// The projection itself is checked against its formulas in the plotting tests; here the window
// draws each segment between its projected ends in its own colour.
TEST_F(SceneRenderTest, KnownSegmentsAppearInTheirColoursAtTheirProjectedPlaces) {
  AddSegment({0, 0, 0}, {2, 0, 0}, 255, 0, 0);
  AddSegment({0, 0, 0}, {0, 0, 2}, 0, 0, 255);
  ms::StoreSceneCounts();
  w_->updateplot();
  const auto at = [](int row) {
    return QPointF(ms::Scene.ViewXYZ[row][0], ms::Scene.ViewXYZ[row][1]);
  };
  const QPointF o = at(0), xEnd = at(1), zEnd = at(3);
  // Along each segment, away from the shared corner, its own colour; the z axis points up.
  for (double f : {0.3, 0.5, 0.8}) {
    SCOPED_TRACE(f);
    EXPECT_TRUE(
        ColourNear(D(), o.x() + f * (xEnd.x() - o.x()), o.y() + f * (xEnd.y() - o.y()), kRed));
    EXPECT_TRUE(
        ColourNear(D(), o.x() + f * (zEnd.x() - o.x()), o.y() + f * (zEnd.y() - o.y()), kBlue));
  }
  EXPECT_LT(zEnd.y(), o.y());
  EXPECT_EQ(PixelAt(D(), o.x() + 1500, o.y() + 1500), kWhite);
}

TEST_F(SceneRenderTest, DepthAndOffPictureTestsDropWholeSegments) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    PictureSegment seg;
    bool drawn;
  };
  const Case cases[] = {
      {"in front", {3000, 3000, 10, 7000, 3000, 10}, true},
      {"both at the depth limit", {3000, 3000, 999, 7000, 3000, 999}, false},
      {"x at 10000", {3000, 3000, 10, 10000, 3000, 10}, false},
      {"not a number", {3000, 3000, 10, nan, 3000, 10}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DrawOne(c.seg);
    EXPECT_EQ(AnyInk(D().Image()), c.drawn);
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
    DrawOne({3000, 3000, 10, 6000, 3000, 10, c.kind, 0, c.mark});
    EXPECT_EQ(ColourNear(D(), 4500, 3000, kRed), c.line);
    for (int end = 0; end < 2; ++end) {
      const double x = end == 0 ? 3000 : 6000;
      EXPECT_EQ(ColourNear(D(), x, 2960, kRed), c.ends[end] == 'o') << end;
      if (c.ends[end] != '-') {
        EXPECT_EQ(PixelAt(D(), x, 3000), c.ends[end] == '.' ? kBlack : kWhite) << end;
      }
    }
    // Animation frames and the printer draw through targets of their own: a filled dot is filled
    // there too.
    draw::DrawTarget other(D().Image().width(), D().Image().height());
    other.SetScale(D().ScaleLeft(), D().ScaleTop(), D().ScaleWidth(), D().ScaleHeight());
    w_->ImageView(other);
    for (int end = 0; end < 2; ++end) {
      if (c.ends[end] == '.') {
        EXPECT_EQ(PixelAt(other, end == 0 ? 3000 : 6000, 3000), kBlack);
      }
    }
  }
}

TEST_F(SceneRenderTest, DotSymbolsFollowTheCheckedItem) {
  ms::CurveWork.DotSpacingOn = -1;
  // A vertical segment; the symbol sits on its start (3000, 3000).
  struct Case {
    const char* name;
    bool plus, circle;
    double px, py;  // a point of the symbol off the segment
    uint32_t colour;
  };
  const Case cases[] = {
      {"plus wins over circle", true, true, 3045, 3000, kGrey128},
      {"circle", false, true, 3030, 3000, kGrey100},
      {"cross", false, false, 3030, 2970, kGrey100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w_->mnuPSymbol->setChecked(c.plus);
    w_->mnuOSymbol->setChecked(c.circle);
    DrawOne({3000, 3000, 10, 3000, 6000, 10, 0, 1.0, 0});
    EXPECT_TRUE(ColourNear(D(), c.px, c.py, c.colour));
    DrawOne({3000, 3000, 10, 3000, 6000, 10, 0, 0, 0});  // without the mark no symbol
    EXPECT_FALSE(ColourNear(D(), c.px, c.py, c.colour));
  }
  // A jump whose line is suppressed still gets its symbol.
  ms::Settings.DiscontinuityOn = ms::Settings.NoLimitMarkers = -1;
  w_->mnuPSymbol->setChecked(true);
  DrawOne({3000, 3000, 10, 3000, 6000, 10, 1, 1.0, 0});
  EXPECT_TRUE(ColourNear(D(), 3045, 3000, kGrey128));
  EXPECT_FALSE(ColourNear(D(), 3000, 4500, kRed));
}

}  // namespace
}  // namespace gr::testing
