#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <ostream>
#include <utility>
#include <vector>

#include "plotting/SceneTestSupport.h"
#include "plotting/ZGrids.h"

namespace ms {
namespace {

using testing::SceneTest;
using testing::Seg;
using testing::SegmentsFrom;

using ZGridsTest = SceneTest;

// The points and strokes (as point indexes relative to the first point) a builder appended.
struct Drawing {
  std::vector<Point3> points;
  std::vector<std::pair<int, int>> strokes;
  // Points agree to 1e-12 (letters are offsets added to the axis ends); strokes exactly.
  bool operator==(const Drawing& o) const {
    if (points.size() != o.points.size() || strokes != o.strokes) return false;
    for (size_t i = 0; i < points.size(); ++i)
      for (int c = 0; c < 3; ++c)
        if (std::fabs(points[i][c] - o.points[i][c]) > 1e-12) return false;
    return true;
  }
};

void PrintTo(const Drawing& d, std::ostream* os) {
  for (const Point3& p : d.points) *os << "(" << p[0] << "," << p[1] << "," << p[2] << ")";
  for (const auto& s : d.strokes) *os << " " << s.first << "-" << s.second;
}

Drawing Capture(int firstVertex, int firstSegment) {
  Drawing d;
  for (int v = firstVertex; v < Scene.VertexCount; ++v) d.points.push_back(Scene.VertexXYZ[v]);
  for (int s = firstSegment; s < Scene.SegmentCount; ++s) {
    const SegmentRow& r = Scene.SegmentTable[s];
    d.strokes.push_back({static_cast<int>(r[kStartPoint]) - firstVertex,
                         static_cast<int>(r[kEndPoint]) - firstVertex});
  }
  return d;
}

// What a letter routine appends into an empty store.
Drawing Letters(const std::function<void()>& draw) {
  const int16_t v = Scene.VertexCount, s = Scene.SegmentCount;
  Scene.VertexCount = 0;
  Scene.SegmentCount = 0;
  draw();
  Drawing d = Capture(0, 0);
  Scene.VertexCount = v;
  Scene.SegmentCount = s;
  return d;
}

TEST_F(ZGridsTest, LetterGlyphsHaveTheirStrokePoints) {
  const double xmax = 2, ymax = 3;
  struct Case {
    const char* name;
    std::function<void()> draw;
    Drawing expected;
  };
  const std::vector<Case> cases = {
      {"x horizontal",
       [&] { GlyphXHoriz(0, xmax, 0, ymax); },
       {{{2.75, -0.25, 0}, {3, 0.25, 0}, {2.75, 0.25, 0}, {3, -0.25, 0}}, {{0, 1}, {2, 3}}}},
      {"y horizontal",
       [&] { GlyphYHoriz(0, xmax, 0, ymax); },
       {{{2.75, 0, 0}, {2.625, 0.25, 0}, {2.875, 0.25, 0}, {2.75, -0.25, 0}},
        {{0, 1}, {0, 2}, {0, 3}}}},
      {"t horizontal",
       [&] { GlyphTHoriz(0, xmax, 0, ymax); },
       {{{2.75, 0.25, 0},
         {2.75, -0.25, 0},
         {2.825, -0.25, 0},
         {2.625, 0.125, 0},
         {2.875, 0.125, 0}},
        {{0, 1}, {1, 2}, {3, 4}}}},
      {"x vertical",
       [&] { GlyphXVert(0, xmax, 0, ymax); },
       {{{-0.125, 3.5, 0}, {0.125, 4, 0}, {-0.125, 4, 0}, {0.125, 3.5, 0}}, {{0, 1}, {2, 3}}}},
      {"y vertical",
       [&] { GlyphYVert(0, xmax, 0, ymax); },
       {{{0, 3.75, 0}, {0, 3.5, 0}, {-0.125, 4, 0}, {0.125, 4, 0}}, {{0, 1}, {0, 2}, {0, 3}}}},
      {"z vertical",
       [&] { GlyphZVert(0, xmax, 0, ymax); },
       {{{-0.125, 3.5, 0}, {0.125, 4, 0}, {-0.125, 4, 0}, {0.125, 3.5, 0}},
        {{0, 1}, {1, 2}, {0, 3}}}},
      {"x' vertical",
       [&] { GlyphXPrimeVert(0, xmax, 0, ymax); },
       {{{-0.125, 3.5, 0},
         {0.125, 4, 0},
         {-0.125, 4, 0},
         {0.125, 3.5, 0},
         {0.25, 4, 0},
         {0.25, 3.875, 0}},
        {{0, 1}, {2, 3}, {4, 5}}}},
      {"y' vertical",
       [&] { GlyphYPrimeVert(0, xmax, 0, ymax); },
       {{{0, 3.75, 0}, {0, 3.5, 0}, {-0.125, 4, 0}, {0.125, 4, 0}, {0.25, 4, 0}, {0.25, 3.875, 0}},
        {{0, 1}, {0, 2}, {0, 3}, {4, 5}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Stale coordinates in the rows must be overwritten, z included.
    for (int v = 0; v < 8; ++v) Scene.VertexXYZ[v] = {99, 99, 99};
    const Drawing d = Letters(c.draw);
    EXPECT_EQ(d, c.expected);
    Scene.SegmentCount = 0;
    c.draw();
    for (const Seg& seg : SegmentsFrom(0)) {
      EXPECT_EQ(seg.row[kRed] + seg.row[kGreen] + seg.row[kBlue], 0);
      EXPECT_EQ(seg.row[kSegKind], kSegStructure);
    }
    Scene.VertexCount = 0;
    Scene.SegmentCount = 0;
  }
}

// Tick positions k along the axis and the two ends of each tick.
struct Tick {
  Point3 from, to;
  bool operator==(const Tick&) const = default;
};

std::vector<Tick> TicksFrom(int firstSegment) {
  std::vector<Tick> ticks;
  for (const Seg& s : SegmentsFrom(firstSegment)) {
    EXPECT_EQ(s.row[kRed] + s.row[kGreen] + s.row[kBlue], 0);
    EXPECT_EQ(s.row[kSegKind], kSegStructure);
    ticks.push_back({s.from, s.to});
  }
  return ticks;
}

TEST_F(ZGridsTest, TicksOneSidedAlongTheEdgeSpanningAcrossTheOrigin) {
  const double h = 0.125;
  const double ymin = -2, zmin = 7;
  struct Case {
    double xmin, xmax;
    std::vector<Tick> expected;
  };
  auto edge = [&](double k) { return Tick{{k, ymin - h, zmin}, {k, ymin + h, zmin}}; };
  auto span = [&](double k) { return Tick{{k, -h, 0}, {k, h, 0}}; };
  const std::vector<Case> cases = {
      {-3.5, 4, {span(1), span(2), span(3), span(-1), span(-2), span(-3)}},
      {2, 5, {edge(3), edge(4), edge(5)}},
      {0.5, 3, {edge(1.5), edge(2.5)}},
      {0, 3, {span(1), span(2)}},
      {0, 0, {}},
      {-5, -2, {edge(-4), edge(-3), edge(-2)}},
      {-1, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xmin);
    SCOPED_TRACE(c.xmax);
    Scene.VertexCount = 0;
    Scene.SegmentCount = 0;
    AddTicksX(c.xmin, c.xmax, ymin, 10, zmin, 9);
    EXPECT_EQ(TicksFrom(0), c.expected);
    EXPECT_EQ(Scene.VertexCountD, Scene.VertexCount);
  }
}

TEST_F(ZGridsTest, YAndZTicksFollowTheirOwnLayouts) {
  const double h = 0.125;
  struct Case {
    const char* name;
    std::function<void()> run;
    std::vector<Tick> expected;
  };
  const std::vector<Case> cases = {
      {"y one-sided",
       [] { AddTicksY(-4, 4, 1, 3, 2, 5); },
       {{{-4 - h, 2, 2}, {-4 + h, 2, 2}}, {{-4 - h, 3, 2}, {-4 + h, 3, 2}}}},
      {"y spanning",
       [] { AddTicksY(1, 4, -2.5, 1.5, 2, 5); },
       {{{-h, 1, 0}, {h, 1, 0}}, {{-h, -1, 0}, {h, -1, 0}}, {{-h, -2, 0}, {h, -2, 0}}}},
      {"z spanning",
       [] { AddTicksZ(-1, 1, -1, 1, -2.5, 2); },
       {{{0, -h, 1}, {0, h, 1}}, {{0, -h, -1}, {0, h, -1}}, {{0, -h, -2}, {0, h, -2}}}},
      // One one-sided range among the three puts the z ticks on the corner line.
      {"z one-sided by x",
       [] { AddTicksZ(1, 4, -1, 1, -2.5, 2); },
       {{{1, -1 - h, -1.5}, {1, -1 + h, -1.5}},
        {{1, -1 - h, -0.5}, {1, -1 + h, -0.5}},
        {{1, -1 - h, 0.5}, {1, -1 + h, 0.5}},
        {{1, -1 - h, 1.5}, {1, -1 + h, 1.5}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scene.VertexCount = 0;
    Scene.SegmentCount = 0;
    c.run();
    EXPECT_EQ(TicksFrom(0), c.expected);
  }
}

TEST_F(ZGridsTest, TicksStopAtTheirLimits) {
  struct Case {
    const char* name;
    int vertexCount;
    std::function<void()> run;
    int ticks;
  };
  const std::vector<Case> cases = {
      {"x below the limit", 24998, [] { AddTicksX(-5, 5, -5, 5, -5, 5); }, 2},
      {"x above 25,000", 25001, [] { AddTicksX(-5, 5, -5, 5, -5, 5); }, 0},
      {"x above 30,000", 30001, [] { AddTicksX(-5, 5, -5, 5, -5, 5); }, 0},
      {"y above 25,000", 25001, [] { AddTicksY(-5, 5, -5, 5, -5, 5); }, 0},
      {"z above 25,000", 25001, [] { AddTicksZ(-5, 5, -5, 5, -5, 5); }, 0},
      {"huge range", 0, [] { AddTicksX(-1e300, 1e300, 0, 1, 0, 1); }, 12501},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    Scene.SegmentCount = 0;
    Scene.VertexCountD = -1;
    c.run();
    EXPECT_EQ(Scene.SegmentCount, c.ticks);
    // The counts are stored for the drawing only when the routine ran to its end.
    if (c.vertexCount > 25000) {
      EXPECT_EQ(Scene.VertexCountD, -1);
    }
  }
}

TEST_F(ZGridsTest, AxesThroughTheOriginWithLettersAndTicks) {
  Settings.AxesR = 10;
  Settings.AxesG = 20;
  Settings.AxesB = 30;
  BuildAxes(-2, 3, -1, 2, 0, 0);
  const auto segs = SegmentsFrom(0);
  ASSERT_EQ(segs.size(), 11u);  // 2 axes, x letter 2 strokes, y letter 3, ticks 1, 2, -1 and 1
  EXPECT_EQ(Scene.VertexCount, 20);
  testing::ExpectPointNear(segs[0].from, {-2, 0, 0});
  testing::ExpectPointNear(segs[0].to, {3, 0, 0});
  testing::ExpectPointNear(segs[1].from, {0, -1, 0});
  testing::ExpectPointNear(segs[1].to, {0, 2, 0});
  for (int s = 0; s < 2; ++s) {
    EXPECT_EQ(segs[s].row[kRed], 10);
    EXPECT_EQ(segs[s].row[kGreen], 20);
    EXPECT_EQ(segs[s].row[kBlue], 30);
    EXPECT_EQ(segs[s].row[kSegKind], kSegStructure);
  }
  const Drawing letters = Capture(4, 2);
  const Drawing expectedLetters{
      {{3.75, -0.25, 0},
       {4, 0.25, 0},
       {3.75, 0.25, 0},
       {4, -0.25, 0},  // x
       {0.125, 3, 0},
       {0, 2.5, 0},
       {-0.125, 3, 0},
       {0, 2.75, 0},  // y
       {1, -0.125, 0},
       {1, 0.125, 0},
       {2, -0.125, 0},
       {2, 0.125, 0},  // x ticks
       {-1, -0.125, 0},
       {-1, 0.125, 0},
       {-0.125, 1, 0},
       {0.125, 1, 0}},  // y tick
      {{0, 1}, {2, 3}, {7, 4}, {7, 6}, {7, 5}, {8, 9}, {10, 11}, {12, 13}, {14, 15}}};
  EXPECT_EQ(letters, expectedLetters);
  EXPECT_EQ(Scene.VertexCountD, 20);
  EXPECT_EQ(Scene.SegmentCountD, 11);
}

TEST_F(ZGridsTest, ZAxisLetterAndTicksWhenSomethingIsThreeDimensional) {
  View.ZAxisNeeded = -1;
  BuildAxes(-0.5, 0.5, -0.5, 0.5, -1.5, 2);
  const auto segs = SegmentsFrom(0);
  // x, y, z axes; x (2), y (3) and z (3) strokes; no x or y ticks; z ticks at 1 and -1.
  ASSERT_EQ(segs.size(), 3u + 2 + 3 + 3 + 2);
  testing::ExpectPointNear(segs[2].from, {0, 0, -1.5});
  testing::ExpectPointNear(segs[2].to, {0, 0, 2});
  const Drawing z = Capture(6 + 8, 3 + 5);
  const Drawing expectedZ{{{0, -0.125, 2.5},
                           {0, 0.125, 2.5},
                           {0, -0.125, 3},
                           {0, 0.125, 3},
                           {0, -0.125, 1},
                           {0, 0.125, 1},
                           {0, -0.125, -1},
                           {0, 0.125, -1}},
                          {{1, 0}, {0, 3}, {3, 2}, {4, 5}, {6, 7}}};
  EXPECT_EQ(z, expectedZ);
}

TEST_F(ZGridsTest, LettersOfInitialValueProblemsFollowModeAndView) {
  const double xmin = -1, xmax = 4, ymin = -1, ymax = 3;
  auto t = [&] { GlyphTHoriz(xmin, xmax, ymin, ymax); };
  auto xh = [&] { GlyphXHoriz(xmin, xmax, ymin, ymax); };
  auto yh = [&] { GlyphYHoriz(xmin, xmax, ymin, ymax); };
  auto xv = [&] { GlyphXVert(xmin, xmax, ymin, ymax); };
  auto yv = [&] { GlyphYVert(xmin, xmax, ymin, ymax); };
  auto zv = [&] { GlyphZVert(xmin, xmax, ymin, ymax); };
  auto xp = [&] { GlyphXPrimeVert(xmin, xmax, ymin, ymax); };
  auto yp = [&] { GlyphYPrimeVert(xmin, xmax, ymin, ymax); };
  auto none = [] {};
  // The builder's own letters (x at the x end, y above the y end).
  auto own = [&] {
    GlyphXHoriz(xmin, xmax, ymin, ymax);
    const Point3 yPoints[4] = {{0.125, 4, 0}, {0, 3.5, 0}, {-0.125, 4, 0}, {0, 3.75, 0}};
    const int v = Scene.VertexCount;
    for (int p = 0; p < 4; ++p) Scene.VertexXYZ[v + p] = yPoints[p];
    Scene.VertexCount = static_cast<int16_t>(v + 4);
    for (int e : {0, 2, 1}) {
      Scene.SegmentTable[Scene.SegmentCount][kStartPoint] = v + 3;
      Scene.SegmentTable[Scene.SegmentCount][kEndPoint] = v + e;
      ++Scene.SegmentCount;
    }
  };
  struct Case {
    int order;
    double mode;
    int16_t kind;
    std::function<void()> horizontal, vertical;
  };
  const std::vector<Case> cases = {
      {1, 3.0, 1, t, xv},      {1, 2.0, 2, t, xp},      {1, 1.0, 3, xh, xp},
      {1, 1.0, 4, none, none}, {2, 1.0, 2, t, xp},      {2, 2.0, 15, t, xv},
      {2, 2.0, 16, t, yv},     {2, 2.0, 17, xh, yv},    {2, 2.0, 1, none, none},
      {3, 1.0, 3, xh, xp},     {3, 2.0, 4, t, xv},      {3, 2.0, 5, t, yv},
      {3, 2.0, 6, t, zv},      {3, 3.0, 6, none, none}, {3, 2.0, 7, own, none},
      {4, 1.0, 1, t, xv},      {4, 2.0, 8, t, xv},      {4, 2.0, 9, t, xp},
      {4, 2.0, 10, xh, xp},    {4, 2.0, 11, t, yv},     {4, 2.0, 12, t, yp},
      {4, 2.0, 13, yh, yp},    {4, 2.0, 14, xh, yv},    {4, 3.0, 18, t, xv},
      {4, 3.0, 19, t, yv},     {4, 3.0, 20, t, zv},     {4, 3.0, 21, t, zv},
      {4, 3.0, 22, own, none}, {4, 2.5, 8, none, none}, {0, 1.0, 1, own, none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order);
    SCOPED_TRACE(c.mode);
    SCOPED_TRACE(c.kind);
    ResetScene();
    Solutions.IVPOrder1 = c.order == 1 ? -1 : 0;
    Solutions.IVPOrder2 = c.order == 2 ? -1 : 0;
    Solutions.IVPOrder3 = c.order == 3 ? -1 : 0;
    Solutions.IVPOrder4 = c.order == 4 ? -1 : 0;
    Solutions.IVPPlotMode = c.mode;
    View.PlotKind = c.kind;
    BuildAxes(xmin, xmax, ymin, ymax, 0, 0);
    // Letters come right after the two axis lines and before the ticks (1..3 on x, 1..2 on y).
    const int tickSegments = 3 + 2;
    const Drawing built = Capture(4, 2);
    Drawing letters = built;
    letters.points.resize(letters.points.size() - 2 * tickSegments);
    letters.strokes.resize(letters.strokes.size() - tickSegments);
    const Drawing expected = Letters([&] {
      c.horizontal();
      c.vertical();
    });
    EXPECT_EQ(letters, expected);
  }
}

TEST_F(ZGridsTest, CornerAxesAlwaysDrawThreeLines) {
  struct Case {
    int16_t zAxis;
    size_t segments;
  };
  // Lines 3, x 2 and y 3 strokes, x ticks at 3 and 4 (from 2), y ticks at 2 (from 1); with z:
  // the z letter (3) and z ticks at 1 and 2 (from 0, one-sided since x is).
  const Case cases[] = {{0, 3 + 2 + 3 + 2 + 1}, {-1, 3 + 2 + 3 + 3 + 2 + 1 + 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zAxis);
    ResetScene();
    View.ZAxisNeeded = c.zAxis;
    BuildCornerAxes(2, 4, 1, 2, 0, 2);
    const auto segs = SegmentsFrom(0);
    ASSERT_EQ(segs.size(), c.segments);
    testing::ExpectPointNear(segs[2].from, {2, 1, 0});
    testing::ExpectPointNear(segs[2].to, {2, 1, 2});
    // The corner x sits at (xmax + a, ymin + b, zmin), half height.
    testing::ExpectPointNear(Scene.VertexXYZ[6], {4.5, 0.875, 0});
    testing::ExpectPointNear(Scene.VertexXYZ[7], {4.75, 1.125, 0});
    // The corner y at (xmin + a, ymax + b, zmin).
    testing::ExpectPointNear(Scene.VertexXYZ[10], {2.125, 3, 0});
    if (c.zAxis) {
      // The corner z at (xmin, ymin + a, zmax + b).
      testing::ExpectPointNear(Scene.VertexXYZ[14], {2, 0.875, 2.5});
      testing::ExpectPointNear(Scene.VertexXYZ[17], {2, 1.125, 3});
    }
    EXPECT_EQ(Scene.SegmentCountD, static_cast<double>(c.segments));
  }
}

}  // namespace
}  // namespace ms
