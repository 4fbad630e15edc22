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
  constexpr AxisLines kOrigin = AxisLines::kThroughOrigin, kCorner = AxisLines::kThroughCorner;
  const auto x = [](double x1, double x2, AxisLines lines) {
    return [=] { AddTicksX(x1, x2, -2, 10, 7, 9, lines); };
  };
  const auto all = [](auto add) { return [=] { add(-5, 5, -5, 5, -5, 5, kOrigin); }; };
  const Case cases[] = {
      {x(-3.5, 4, kOrigin), 0,
       "1,-0.125,0>1,0.125,0 2,-0.125,0>2,0.125,0 3,-0.125,0>3,0.125,0 -1,-0.125,0>-1,0.125,0 "
       "-2,-0.125,0>-2,0.125,0 -3,-0.125,0>-3,0.125,0 "},
      {x(0.5, 3, kCorner), 0, "1.5,-2.125,7>1.5,-1.875,7 2.5,-2.125,7>2.5,-1.875,7 "},
      {x(-1, 1, kOrigin), 0, ""},
      // One one-sided range among the three puts the z ticks on the corner line.
      {[] { AddTicksZ(1, 4, -1, 1, -2.5, 2, kCorner); }, 0,
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
  AddTicksX(-1e300, 1e300, 0, 1, 0, 1, AxisLines::kThroughOrigin);
  EXPECT_EQ(Scene.SegmentCount, 12501);
}

// Ticks sit on the axis lines their builder drew, whatever the sign of each range: through the
// origin for both origin builders, along the lines from the box's lower corner for the corner
// builder. The origin builder without letters draws the same lines and ticks as the one with them,
// and nothing else.
TEST_F(AxesTest, TicksLieOnTheAxisLinesTheBuilderDrew) {
  using Builder = void (*)(double, double, double, double, double, double);
  struct Case {
    Builder build;
    double box[6];
    bool zAxis;
  };
  const Case cases[] = {
      {BuildAxes, {-3.5, 4, -2.2, 2.2, 0, 0}, false},
      {BuildAxesNoLabels, {-3.5, 4, -2.2, 2.2, 0, 0}, false},
      {BuildAxesNoLabels, {-2.321, 0, 0, 2.2, 0, 0}, false},
      {BuildAxesNoLabels, {0, 3.3, 0, 2.2, 2.2, 5.5}, true},
      {BuildAxesNoLabels, {0, 3.3, -2.2, 0, 0, 0}, false},
      {BuildAxes, {1, 4, 2, 5, -1, 1}, true},
      {BuildAxes, {-2.2, 2.2, 1.1, 5.5, -3.3, 2.2}, true},
      {BuildCornerAxes, {1.1, 5.5, -2.2, 2.2, 0, 0}, false},
      {BuildCornerAxes, {-2.2, 2.2, 1.1, 5.5, -1, 1}, true},
      {BuildCornerAxes, {-3.3, -0.5, -2.2, 0.4, -1.5, 3}, true},
  };
  for (const Case& c : cases) {
    const double* b = c.box;
    const bool corner = c.build == BuildCornerAxes;
    SCOPED_TRACE(::testing::Message()
                 << (corner ? "corner " : "origin ") << b[0] << ".." << b[1] << " " << b[2] << ".."
                 << b[3] << " " << b[4] << ".." << b[5] << (c.zAxis ? " z" : ""));
    StartSceneBuild();
    View.ZAxisNeeded = c.zAxis ? -1 : 0;
    c.build(b[0], b[1], b[2], b[3], b[4], b[5]);
    const auto segs = Segments();
    const int lineCount = corner || c.zAxis ? 3 : 2;
    const Seg* const lines[3] = {&segs[0], &segs[1], lineCount == 3 ? &segs[2] : nullptr};
    const std::vector<double> positions[3] = {
        TickPositions(b[0], b[1], corner), TickPositions(b[2], b[3], corner),
        c.zAxis ? TickPositions(b[4], b[5], corner) : std::vector<double>{}};
    const size_t tickCount = positions[0].size() + positions[1].size() + positions[2].size();
    ASSERT_GE(segs.size(), lineCount + tickCount);
    const std::vector<Seg> ticks(segs.end() - static_cast<long>(tickCount), segs.end());
    ExpectTicksOnAxisLines(ticks, lines, positions);
    if (c.build == BuildAxesNoLabels) {
      EXPECT_EQ(segs.size(), lineCount + tickCount) << "no letters";
      StartSceneBuild();
      BuildAxes(b[0], b[1], b[2], b[3], b[4], b[5]);
      const auto withLetters = Segments();
      for (size_t k = 0; k < segs.size(); ++k) {
        const Seg& same = k < static_cast<size_t>(lineCount)
                              ? withLetters[k]
                              : withLetters[withLetters.size() - segs.size() + k];
        EXPECT_EQ(segs[k].from, same.from) << k;
        EXPECT_EQ(segs[k].to, same.to) << k;
        EXPECT_EQ(segs[k].row[kSegKind], kSegStructure);
      }
    }
  }
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
