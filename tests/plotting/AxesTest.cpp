#include <algorithm>
#include <functional>
#include <string>

#include "plotting/Axes.h"
#include "plotting/PlotTestSupport.h"

namespace ms::testing {
namespace {

using AxesTest = PlotTest;

// Every segment from firstSegment on is a black structure segment.
void ExpectBlackStructure(int firstSegment = 0) {
  for (const Seg& s : Segments(firstSegment)) {
    EXPECT_EQ(s.row[kRed] + s.row[kGreen] + s.row[kBlue], 0);
    EXPECT_EQ(s.row[kSegKind], kSegStructure);
  }
}

// Ticks one-sided along the edge of a range that keeps its sign, across the origin otherwise; past
// 25,000 points they stop and the counts are not stored for the drawing.
TEST_F(AxesTest, TicksAlongTheEdgeOrAcrossTheOriginUpToTheirLimit) {
  struct Case {
    std::function<void()> run;
    int vertexCount;
    std::string drawn;
  };
  const auto x = [](double x1, double x2) { return [=] { AddTicksX(x1, x2, -2, 10, 7, 9); }; };
  const auto all = [](auto add) { return [=] { add(-5, 5, -5, 5, -5, 5); }; };
  const Case cases[] = {
      {x(-3.5, 4), 0,
       "1,-0.125,0>1,0.125,0 2,-0.125,0>2,0.125,0 3,-0.125,0>3,0.125,0 -1,-0.125,0>-1,0.125,0 "
       "-2,-0.125,0>-2,0.125,0 -3,-0.125,0>-3,0.125,0 "},
      {x(0.5, 3), 0, "1.5,-2.125,7>1.5,-1.875,7 2.5,-2.125,7>2.5,-1.875,7 "},
      {x(-1, 1), 0, ""},
      // One one-sided range among the three puts the z ticks on the corner line.
      {[] { AddTicksZ(1, 4, -1, 1, -2.5, 2); }, 0,
       "1,-1.125,-1.5>1,-0.875,-1.5 1,-1.125,-0.5>1,-0.875,-0.5 1,-1.125,0.5>1,-0.875,0.5 "
       "1,-1.125,1.5>1,-0.875,1.5 "},
      {all(AddTicksX), 24998, "1,-0.125,0>1,0.125,0 2,-0.125,0>2,0.125,0 "},
      {all(AddTicksX), 25001, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drawn + std::to_string(c.vertexCount));
    StartSceneBuild();
    Scene.VertexCount = static_cast<int16_t>(c.vertexCount);
    Scene.VertexCountD = -1;
    c.run();
    EXPECT_EQ(Drawn(), c.drawn);
    EXPECT_EQ(Scene.VertexCountD, c.vertexCount ? -1 : Scene.VertexCount);
    ExpectBlackStructure();
  }
  StartSceneBuild();
  AddTicksX(-1e300, 1e300, 0, 1, 0, 1);
  EXPECT_EQ(Scene.SegmentCount, 12501);
}

// The letters come after the two axis lines and before the ticks (1..3 on x, 1..2 on y).
std::string LettersOfAxes() {
  StartSceneBuild();
  BuildAxes(-1, 4, -1, 3, 0, 0);
  return Drawn(2, Scene.SegmentCount - 5);
}

TEST_F(AxesTest, LettersOfInitialValueProblemsFollowModeAndView) {
  using Glyph = void (*)(double, double, double, double);
  const Glyph t = GlyphTHoriz, xh = GlyphXHoriz, yh = GlyphYHoriz, xv = GlyphXVert, yv = GlyphYVert,
              zv = GlyphZVert, xp = GlyphXPrimeVert, yp = GlyphYPrimeVert, no = nullptr;
  const std::string plain = LettersOfAxes();  // no solve: the builder's own x and y
  ASSERT_EQ(std::count(plain.begin(), plain.end(), '>'), 2 + 3);
  struct Case {
    int order;
    double mode;
    int16_t kind;
    Glyph horizontal, vertical;
    bool own = false;  // the builder's own letters
  };
  const Case cases[] = {
      {1, 2, 1, t, xv},  {1, 1, 4, no, no},        {2, 2, 17, xh, yv},      {3, 1, 3, xh, xp},
      {3, 2, 6, t, zv},  {3, 3, 6, no, no},        {3, 2, 7, no, no, true}, {4, 2, 13, yh, yp},
      {4, 3, 21, t, zv}, {4, 3, 22, no, no, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order * 1000 + c.mode * 100 + c.kind);
    OdePicture.IVPOrder1 = c.order == 1 ? -1 : 0;
    OdePicture.IVPOrder2 = c.order == 2 ? -1 : 0;
    OdePicture.IVPOrder3 = c.order == 3 ? -1 : 0;
    OdePicture.IVPOrder4 = c.order == 4 ? -1 : 0;
    OdePicture.IVPPlotMode = c.mode;
    View.PlotKind = c.kind;
    const std::string letters = LettersOfAxes();
    StartSceneBuild();
    for (Glyph g : {c.horizontal, c.vertical})
      if (g) g(-1, 4, -1, 3);
    EXPECT_EQ(letters, c.own ? plain : Drawn());
  }
}

// Corner axes always draw three lines from the corner; here lines 3, x 2 and y 3 strokes, the z
// letter (3), x ticks at 3 and 4, the y tick at 2 and z ticks at 1 and 2 (one-sided since x is).
TEST_F(AxesTest, CornerAxesAlwaysDrawThreeLines) {
  View.ZAxisNeeded = -1;
  BuildCornerAxes(2, 4, 1, 2, 0, 2);
  ASSERT_EQ(Scene.SegmentCount, 3 + 2 + 3 + 3 + 2 + 1 + 2);
  EXPECT_EQ(Scene.SegmentCountD, Scene.SegmentCount);
  EXPECT_EQ(Drawn(0, 3), "2,1,0>4,1,0 2,1,0>2,2,0 2,1,0>2,1,2 ");
  EXPECT_EQ(Drawn(14), "2,0.875,1>2,1.125,1 2,0.875,2>2,1.125,2 ");
  ExpectBlackStructure(3);
}

}  // namespace
}  // namespace ms::testing
