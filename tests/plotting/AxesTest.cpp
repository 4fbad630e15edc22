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

// Every ODE view carries the letters of what it plots: the horizontal letter at the end of the x
// axis, the vertical one above the y axis ('X', 'Y' for x' and y'); '-' none, '*' the builder's
// own x and y (the trajectory views 7 and 22, which the ODE letters leave to the builder).
TEST_F(AxesTest, LettersOfEveryOdeViewFollowModeAndView) {
  using Glyph = void (*)(double, double, double, double);
  const auto glyphOf = [](char letter, bool vertical) -> Glyph {
    switch (letter) {
      case 't':
        return GlyphTHoriz;
      case 'x':
        return vertical ? GlyphXVert : GlyphXHoriz;
      case 'y':
        return vertical ? GlyphYVert : GlyphYHoriz;
      case 'z':
        return GlyphZVert;
      case 'w':
        return GlyphWVert;
      case 'X':
        return GlyphXPrimeVert;
      case 'Y':
        return GlyphYPrimeVert;
      default:
        return nullptr;
    }
  };
  const std::string plain = LettersOfAxes();  // no solve: the builder's own x and y
  ASSERT_EQ(std::count(plain.begin(), plain.end(), '>'), 2 + 3);
  struct Case {
    int order;
    double mode;
    int16_t kind;
    const char* letters;
  };
  const Case cases[] = {
      {1, 2, 1, "tx"},  {1, 1, 2, "tX"},  {2, 1, 3, "xX"},  {1, 1, 4, "--"},  {3, 2, 4, "tx"},
      {3, 2, 5, "ty"},  {3, 2, 6, "tz"},  {3, 3, 6, "--"},  {3, 2, 7, "**"},  {4, 2, 8, "tx"},
      {4, 2, 9, "tX"},  {4, 2, 10, "xX"}, {4, 2, 11, "ty"}, {4, 2, 12, "tY"}, {4, 2, 13, "yY"},
      {4, 2, 14, "xy"}, {2, 2, 15, "tx"}, {2, 2, 16, "ty"}, {2, 2, 17, "xy"}, {4, 3, 18, "tx"},
      {4, 3, 19, "ty"}, {4, 3, 20, "tz"}, {4, 3, 21, "tw"}, {4, 3, 22, "**"}, {4, 1, 3, "xX"},
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
    if (Glyph g = glyphOf(c.letters[0], false)) g(-1, 4, -1, 3);
    if (Glyph g = glyphOf(c.letters[1], true)) g(-1, 4, -1, 3);
    EXPECT_EQ(letters, c.letters[0] == '*' ? plain : Drawn());
  }
  // The w of view 21 is its own letter, four strokes zigzagging across the top of the y axis.
  StartSceneBuild();
  GlyphWVert(-1, 4, -1, 3);
  EXPECT_EQ(Drawn(),
            "-0.125,4,0>-0.0625,3.5,0 -0.0625,3.5,0>0,3.75,0 0,3.75,0>0.0625,3.5,0 "
            "0.0625,3.5,0>0.125,4,0 ");
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
