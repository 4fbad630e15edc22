// Drawing the scene: the projection of known points, the pixels of known segments in their
// colours, the depth and off-picture tests, curve jumps with their limit markers, the dot
// symbols, and a full store redrawn with one draw call per colour.
#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
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

uint32_t PixelAt(const draw::DrawTarget& t, double x, double y) {
  const QPointF d = t.ToDevice(x, y);
  return t.Image().pixel(static_cast<int>(d.x()), static_cast<int>(d.y())) | 0xFF000000u;
}

// Whether a pixel of the colour lies within one pixel of the point (rasterising rounds).
bool ColourNear(const draw::DrawTarget& t, double x, double y, uint32_t argb) {
  const QPointF d = t.ToDevice(x, y);
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const QPoint p(static_cast<int>(d.x()) + dx, static_cast<int>(d.y()) + dy);
      if (t.Image().valid(p) && (t.Image().pixel(p) | 0xFF000000u) == argb) return true;
    }
  }
  return false;
}

// Whether anything but white was painted.
bool AnyInk(const draw::DrawTarget& t) {
  const QImage& img = t.Image();
  for (int y = 0; y < img.height(); ++y) {
    const auto* line = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      if ((line[x] | 0xFF000000u) != kWhite) return true;
    }
  }
  return false;
}

class SceneRenderTest : public GraphTest {};

TEST_F(SceneRenderTest, KnownSegmentsAppearInTheirColoursAtTheirProjectedPlaces) {
  frmGraph& w = Load();
  AddSegment({0, 0, 0}, {2, 0, 0}, 255, 0, 0);
  AddSegment({0, 0, 0}, {0, 0, 2}, 0, 0, 255);
  ms::StoreSceneCounts();
  w.updateplot();

  // The projection worked out by hand for rotation 45 and elevation 60 degrees.
  const double th = 45 * 3.1415926536 / 180, ph = 60 * 3.1415926536 / 180;
  const auto project = [&](double x, double y, double z) {
    const double xe = -x * std::sin(th) + y * std::cos(th);
    const double ye =
        -x * std::cos(th) * std::cos(ph) - y * std::sin(th) * std::cos(ph) + z * std::sin(ph);
    const double ze =
        -x * std::cos(th) * std::sin(ph) - y * std::sin(th) * std::sin(ph) - z * std::cos(ph) + 10;
    const double d = 1000 - ze;
    return QPointF(ms::View.ImageOffsetX + xe * 300000 / d,
                   kDisplayHeightTwips - (ms::View.ImageOffsetY + ye * 300000 / d));
  };
  struct Case {
    const char* name;
    int row;  // the point row in the store
    ms::Point3 world;
  };
  const Case cases[] = {{"origin", 0, {0, 0, 0}}, {"x end", 1, {2, 0, 0}}, {"z end", 3, {0, 0, 2}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QPointF p = project(c.world[0], c.world[1], c.world[2]);
    EXPECT_NEAR(ms::Scene.ViewXYZ[c.row][0], p.x(), 1e-6);
    EXPECT_NEAR(ms::Scene.ViewXYZ[c.row][1], p.y(), 1e-6);
  }
  const draw::DrawTarget& d = w.Display();
  const QPointF o = project(0, 0, 0), xEnd = project(2, 0, 0), zEnd = project(0, 0, 2);
  // Along each segment, away from the shared corner, its own colour.
  for (double f : {0.3, 0.5, 0.8}) {
    SCOPED_TRACE(f);
    EXPECT_TRUE(
        ColourNear(d, o.x() + f * (xEnd.x() - o.x()), o.y() + f * (xEnd.y() - o.y()), kRed));
    EXPECT_TRUE(
        ColourNear(d, o.x() + f * (zEnd.x() - o.x()), o.y() + f * (zEnd.y() - o.y()), kBlue));
  }
  // The z axis points up the picture; beside the segments the picture is white.
  EXPECT_LT(zEnd.y(), o.y());
  EXPECT_EQ(PixelAt(d, o.x() + 1500, o.y() + 1500), kWhite);
  EXPECT_EQ(PixelAt(d, 100, 100), kWhite);

  // The saved bitmap holds the same picture.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("g.bmp"));
  ASSERT_TRUE(SaveGraphPicture(path));
  QImage back(path);
  ASSERT_EQ(back.size(), d.Image().size());
  const QPointF mid = d.ToDevice((o.x() + xEnd.x()) / 2, (o.y() + xEnd.y()) / 2);
  bool redInFile = false;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      redInFile |= (back.pixel(static_cast<int>(mid.x()) + dx, static_cast<int>(mid.y()) + dy) |
                    0xFF000000u) == kRed;
    }
  }
  EXPECT_TRUE(redInFile);

  // The probe's records of this scene.
  EXPECT_EQ(SceneRecord(), QStringLiteral("SCENE vertices=4 segments=2"));
  EXPECT_EQ(ViewBoxRecord(), QStringLiteral("VIEWBOX 0 2 0 0 0 2"));
  const QStringList segs = SegmentRecords();
  ASSERT_EQ(segs.size(), 2);
  EXPECT_EQ(segs[0], QStringLiteral("SEG 0 0 0 0 2 0 0 255 0 0 0"));
  EXPECT_EQ(segs[1], QStringLiteral("SEG 1 0 0 0 0 0 2 0 0 255 0"));
}

// One segment given in picture coordinates (x, y, depth at each end) with its kind and marks.
struct PictureSegment {
  double x1, y1, z1, x2, y2, z2;
  double kind = 0;
  double dot = 0;
  double mark = 0;
};

void DrawOne(frmGraph& w, const PictureSegment& s) {
  ms::Scene.ViewXYZ[0] = {s.x1, s.y1, s.z1};
  ms::Scene.ViewXYZ[1] = {s.x2, s.y2, s.z2};
  ms::SegmentRow& r = ms::Scene.SegmentTable[0];
  r = ms::SegmentRow{0, 1, 255, 0, 0, s.kind, s.dot, s.mark};
  ms::Scene.SegmentCountD = 1;
  w.Display().Cls();
  w.ImageView(w.Display());
}

TEST_F(SceneRenderTest, DepthAndOffPictureTestsDropWholeSegments) {
  frmGraph& w = Load();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    PictureSegment seg;
    bool drawn;
  };
  const Case cases[] = {
      {"in front", {3000, 3000, 10, 7000, 3000, 10}, true},
      {"both at the depth limit", {3000, 3000, 999, 7000, 3000, 999}, false},
      {"both beyond", {3000, 3000, 2000, 7000, 3000, 1500}, false},
      {"one end in front", {3000, 3000, 998.9, 7000, 3000, 5000}, true},
      {"x at 10000", {3000, 3000, 10, 10000, 3000, 10}, false},
      {"x just inside", {3000, 3000, 10, 9999.9, 3000, 10}, true},
      {"y at -10000", {3000, -10000, 10, 7000, 3000, 10}, false},
      {"not a number", {3000, 3000, 10, nan, 3000, 10}, false},
      {"infinite", {3000, 3000, 10, std::numeric_limits<double>::infinity(), 3000, 10}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DrawOne(w, c.seg);
    EXPECT_EQ(AnyInk(w.Display()), c.drawn);
    if (c.drawn) {
      EXPECT_TRUE(ColourNear(w.Display(), 4500, 3000, kRed));
    }
    EXPECT_EQ(w.Display().DrawWidth, 1);
    EXPECT_EQ(Graph.PrinterDrawWidth, 4);
  }
  // A row naming a point outside the store is skipped.
  ms::Scene.SegmentTable[0] = ms::SegmentRow{0, 40000, 255, 0, 0, 0, 0, 0};
  ms::Scene.SegmentCountD = 1;
  w.Display().Cls();
  w.ImageView(w.Display());
  EXPECT_FALSE(AnyInk(w.Display()));
}

TEST_F(SceneRenderTest, JumpsBecomeGapsWithLimitMarkers) {
  frmGraph& w = Load();
  // A horizontal segment from (3000, 3000) to (6000, 3000).
  struct Case {
    const char* name;
    bool discontinuity, noMarkers;
    double kind, mark;
    bool line;
    uint32_t atStartRing;  // on the circle of radius 40 about the start
    uint32_t atEndCentre;  // at the end point
  };
  const Case cases[] = {
      {"option off", false, false, 1, 3, true, kWhite, kRed},
      {"gap, open start, filled end", true, false, 1, 3, false, kRed, kBlack},
      {"gap, filled start, open end", true, false, -1, 2, false, kBlack, kWhite},
      {"gap without markers", true, true, 1, 3, false, kWhite, kWhite},
      {"gap, no marker kind", true, false, 1, 0, false, kWhite, kWhite},
      {"axis segment", true, false, -10, 3, true, kWhite, kRed},
      {"ordinary", true, false, 0, 3, true, kWhite, kRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ms::Settings.DiscontinuityOn = c.discontinuity ? -1 : 0;
    ms::Settings.NoLimitMarkers = c.noMarkers ? -1 : 0;
    PictureSegment s{3000, 3000, 10, 6000, 3000, 10, c.kind, 0, c.mark};
    DrawOne(w, s);
    const draw::DrawTarget& d = w.Display();
    EXPECT_EQ(ColourNear(d, 4500, 3000, kRed), c.line);
    // Open circle: its ring above the start; filled dot: solid at its centre.
    if (c.atStartRing == kBlack) {
      EXPECT_EQ(PixelAt(d, 3000, 3000), kBlack);
    } else {
      EXPECT_EQ(ColourNear(d, 3000, 3000 - 40, kRed), c.atStartRing == kRed);
    }
    if (c.atEndCentre == kBlack) {
      EXPECT_EQ(PixelAt(d, 6000, 3000), kBlack);
    }
    if (!c.line && c.mark == 2 && !c.noMarkers) {
      EXPECT_TRUE(ColourNear(d, 6000, 3000 - 40, kRed));
      EXPECT_EQ(PixelAt(d, 6000, 3000), kWhite);  // the open ring leaves its centre
    }
  }
}

TEST_F(SceneRenderTest, DotSymbolsFollowTheCheckedItem) {
  frmGraph& w = Load();
  ms::CurveWork.DotSpacingOn = -1;
  // A vertical segment; the symbol sits on its start (3000, 3000).
  struct Case {
    const char* name;
    bool plus, circle;
    double px, py;  // a point of the symbol off the segment
    uint32_t colour;
  };
  const Case cases[] = {
      {"plus", true, false, 3045, 3000, kGrey128},
      {"plus wins over circle", true, true, 3045, 3000, kGrey128},
      {"circle", false, true, 3030, 3000, kGrey100},
      {"cross", false, false, 3030, 2970, kGrey100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.mnuPSymbol->setChecked(c.plus);
    w.mnuOSymbol->setChecked(c.circle);
    PictureSegment s{3000, 3000, 10, 3000, 6000, 10, 0, 1.0, 0};
    DrawOne(w, s);
    EXPECT_TRUE(ColourNear(w.Display(), c.px, c.py, c.colour));
    // Without the mark or with dot spacing off, no symbol.
    s.dot = 0;
    DrawOne(w, s);
    EXPECT_FALSE(ColourNear(w.Display(), c.px, c.py, c.colour));
  }
  // A jump whose line is suppressed still gets its symbol.
  ms::Settings.DiscontinuityOn = -1;
  ms::Settings.NoLimitMarkers = -1;
  w.mnuPSymbol->setChecked(true);
  DrawOne(w, PictureSegment{3000, 3000, 10, 3000, 6000, 10, 1, 1.0, 0});
  EXPECT_TRUE(ColourNear(w.Display(), 3045, 3000, kGrey128));
  EXPECT_FALSE(ColourNear(w.Display(), 3000, 4500, kRed));
}

TEST_F(SceneRenderTest, EmptySceneClearsAndStillSetsTheWidths) {
  frmGraph& w = Load();
  w.Display().Line(0, 0, 5000, 5000, 0xFF);
  w.Display().DrawWidth = 4;
  Graph.PrinterDrawWidth = 6;
  ms::Scene.SegmentCountD = 0;
  w.updateplot();
  EXPECT_EQ(PixelAt(w.Display(), 2500, 2500), kWhite);
  EXPECT_EQ(w.Display().DrawWidth, 1);
  EXPECT_EQ(Graph.PrinterDrawWidth, 4);
}

int g_overlayOrder[8];
int g_overlayCount = 0;
template <int N>
void Overlay(draw::DrawTarget&) {
  g_overlayOrder[g_overlayCount++ % 8] = N;
}

TEST_F(SceneRenderTest, OverlaysAreLaidInTheirOrderWhenSwitchedOn) {
  frmGraph& w = Load();
  OverlayTable& o = Overlays();
  o.placeText = Overlay<1>;
  o.placeTimeText = Overlay<2>;
  o.placeValText = Overlay<3>;
  o.PlaceLegendText = Overlay<4>;
  o.placeWkText = Overlay<5>;
  o.placeTitleText = Overlay<6>;
  o.PlaceLegend = Overlay<7>;
  g_overlayCount = 0;
  w.updateplot();
  EXPECT_EQ(g_overlayCount, 0);
  Graph.ShowDataText = Graph.ShowTimeText = Graph.ShowValText = Graph.ShowWkText = -1;
  Graph.ShowTitle = Graph.ShowLegend = -1;
  ms::Tables.ShowValLegend = -1;
  w.updateplot();
  ASSERT_EQ(g_overlayCount, 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(g_overlayOrder[i], i + 1);
  g_overlayCount = 0;
  Graph.ShowTimeText = 0;
  ms::Tables.ShowValLegend = 0;
  w.updateplot();
  EXPECT_EQ(g_overlayCount, 5);
}

TEST_F(SceneRenderTest, FullStoreRedrawsWithOneDrawCallPerColour) {
  frmGraph& w = Load();
  // A helix of 30,000 segments over 30,001 shared points, in three colours.
  constexpr int kSegments = 30000;
  for (int i = 0; i <= kSegments; ++i) {
    const double a = i * 0.002;
    ms::Scene.VertexXYZ[i] = {3 * std::cos(a), 3 * std::sin(a), a / 20};
  }
  for (int i = 0; i < kSegments; ++i) {
    const int c = i % 3;
    ms::Scene.SegmentTable[i] = ms::SegmentRow{static_cast<double>(i),
                                               static_cast<double>(i + 1),
                                               c == 0 ? 255.0 : 0.0,
                                               c == 1 ? 255.0 : 0.0,
                                               c == 2 ? 255.0 : 0.0,
                                               0,
                                               0,
                                               0};
  }
  ms::Scene.VertexCount = kSegments + 1;
  ms::Scene.SegmentCount = kSegments;
  ms::StoreSceneCounts();
  const long callsBefore = w.Display().BatchedDrawCalls();
  constexpr int kRedraws = 20;
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < kRedraws; ++i) w.updateplot();
  const double msPerRedraw = static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRedraws;
  RecordProperty("ms_per_redraw_of_30000_segments", std::to_string(msPerRedraw));
  std::printf("[ timing ] redraw of %d segments: %.2f ms\n", kSegments, msPerRedraw);
  EXPECT_EQ(w.Display().BatchedDrawCalls() - callsBefore, 3 * kRedraws);
  // The circle of radius 3 about the origin is on the picture.
  const ms::Point3& p = ms::Scene.ViewXYZ[0];
  EXPECT_FALSE(PixelAt(w.Display(), p[0], p[1]) == kWhite &&
               PixelAt(w.Display(), p[0] + 15, p[1]) == kWhite &&
               PixelAt(w.Display(), p[0], p[1] + 15) == kWhite);
}

}  // namespace
}  // namespace gr::testing
