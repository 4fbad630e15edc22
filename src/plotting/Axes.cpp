#include "plotting/Axes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "language/Settings.h"
#include "platform/runtime/Runtime.h"
#include "plotting/SceneStore.h"

namespace ms {

OdePictureData OdePicture;

namespace {

constexpr double kTickHalf = 0.125;
// One-sided ticks run while k < max + kTickSlack, so a tick lands on a whole-numbered end.
constexpr double kTickSlack = 0.001;
constexpr int kTickEntryLimit = 30000;

// A stroke letter: points (a, b) in the letter's own plane, then strokes joining two of them.
struct Glyph {
  int pointCount;
  double a[6];
  double b[6];
  int strokeCount;
  int from[4];
  int to[4];
};

// Horizontal-axis letters, placed at (xmax + a, b, 0).
constexpr Glyph kXHoriz{4, {0.75, 1.0, 0.75, 1.0}, {-0.25, 0.25, 0.25, -0.25}, 2, {0, 2}, {1, 3}};
constexpr Glyph kYHoriz{4,        {0.75, 0.625, 0.875, 0.75}, {0, 0.25, 0.25, -0.25}, 3, {0, 0, 0},
                        {1, 2, 3}};
constexpr Glyph kTHoriz{
    5,        {0.75, 0.75, 0.825, 0.625, 0.875}, {0.25, -0.25, -0.25, 0.125, 0.125}, 3, {0, 1, 3},
    {1, 2, 4}};
// Vertical-axis letters, placed at (a, ymax + b, 0).
constexpr Glyph kXVert{4, {-0.125, 0.125, -0.125, 0.125}, {0.5, 1.0, 1.0, 0.5}, 2, {0, 2}, {1, 3}};
constexpr Glyph kYVert{4, {0, 0, -0.125, 0.125}, {0.75, 0.5, 1.0, 1.0}, 3, {0, 0, 0}, {1, 2, 3}};
constexpr Glyph kZVert{4,        {-0.125, 0.125, -0.125, 0.125}, {0.5, 1.0, 1.0, 0.5}, 3, {0, 1, 0},
                       {1, 2, 3}};
constexpr Glyph kWVert{
    5,           {-0.125, -0.0625, 0, 0.0625, 0.125}, {1.0, 0.5, 0.75, 0.5, 1.0}, 4, {0, 1, 2, 3},
    {1, 2, 3, 4}};
// The prime mark written after a vertical x or y.
constexpr Glyph kPrime{2, {0.25, 0.25}, {1.0, 0.875}, 1, {0}, {1}};
// The builders' own letters: x as kXHoriz, y and z below (same shape for both builders).
constexpr Glyph kAxesY{4, {0.125, 0, -0.125, 0}, {1.0, 0.5, 1.0, 0.75}, 3, {3, 3, 3}, {0, 2, 1}};
constexpr Glyph kAxesZ{4,        {-0.125, 0.125, -0.125, 0.125}, {0.5, 0.5, 1.0, 1.0}, 3, {1, 0, 3},
                       {0, 3, 2}};
// The corner x, half the height of the others.
constexpr Glyph kCornerX{4,     {0.5, 0.75, 0.5, 0.75}, {-0.125, 0.125, 0.125, -0.125}, 2, {0, 2},
                         {1, 3}};

// Where a glyph's (a, b) lands: origin + a * u + b * v, u and v unit axes (0 x, 1 y, 2 z).
struct Placement {
  Point3 origin;
  int uAxis;
  int vAxis;
};

// Appends the glyph's points, then its black strokes (kind structure). Letters have no count
// test of their own; a letter that does not fit the store is left out whole.
void AppendGlyph(const Glyph& g, const Placement& at) {
  if (!SceneHasRoom(g.pointCount)) return;
  const int first = Scene.VertexCount;
  for (int p = 0; p < g.pointCount; ++p) {
    Point3 q = at.origin;
    q[at.uAxis] = at.origin[at.uAxis] + g.a[p];
    q[at.vAxis] = at.origin[at.vAxis] + g.b[p];
    Scene.VertexXYZ[first + p] = q;
  }
  Scene.VertexCount = static_cast<int16_t>(first + g.pointCount);
  for (int s = 0; s < g.strokeCount; ++s) {
    SegmentRow& row = Scene.SegmentTable[Scene.SegmentCount];
    row[kStartPoint] = first + g.from[s];
    row[kEndPoint] = first + g.to[s];
    row[kRed] = row[kGreen] = row[kBlue] = 0;
    row[kSegKind] = kSegStructure;
    Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount + 1);
  }
}

Placement Horizontal(double xmax) {
  return {{xmax, 0, 0}, 0, 1};
}
Placement Vertical(double ymax) {
  return {{0, ymax, 0}, 0, 1};
}

int16_t ToColour16(int32_t v) {
  int16_t out = 0;
  return rt::ToInt16(v, out) ? out : 0;
}

void AppendAxisLine(const Point3& p, const Point3& q) {
  AppendSegment(p, q, ToColour16(Settings.AxesR), ToColour16(Settings.AxesG),
                ToColour16(Settings.AxesB), kSegStructure);
}

void AppendTick(const Point3& p, const Point3& q) {
  AppendSegment(p, q, 0, 0, 0, kSegStructure);
}

// The tick loops of one axis: edgeAt(k) gives the two ends of a tick across a corner line at k,
// originAt(k) those of a tick across an origin line. Returns false when it stopped at the point
// limit.
template <typename EdgeTick, typename OriginTick>
bool TickLoops(AxisLines lines, double lo, double hi, EdgeTick edgeAt, OriginTick originAt) {
  if (lines == AxisLines::kThroughCorner) {
    for (double k = lo + 1; k < hi + kTickSlack; k += 1) {
      if (Scene.VertexCount > kGridVertexLimit) return false;
      auto [p, q] = edgeAt(k);
      AppendTick(p, q);
    }
    return true;
  }
  // The whole units strictly between lo and hi, 0 left out: upwards from the first above both 0
  // and lo, downwards from the first below both 0 and hi.
  for (double k = std::max(1.0, std::floor(lo) + 1); k < hi; k += 1) {
    if (Scene.VertexCount > kGridVertexLimit) return false;
    auto [p, q] = originAt(k);
    AppendTick(p, q);
  }
  for (double k = std::min(-1.0, std::ceil(hi) - 1); k > lo; k -= 1) {
    if (Scene.VertexCount > kGridVertexLimit) return false;
    auto [p, q] = originAt(k);
    AppendTick(p, q);
  }
  return true;
}

using TickEnds = std::pair<Point3, Point3>;

void HorizontalLetter(char16_t letter, double xmax) {
  switch (letter) {
    case u't':
      AppendGlyph(kTHoriz, Horizontal(xmax));
      break;
    case u'x':
      AppendGlyph(kXHoriz, Horizontal(xmax));
      break;
    case u'y':
      AppendGlyph(kYHoriz, Horizontal(xmax));
      break;
    default:
      break;
  }
}

// Vertical letters: 'x', 'y', 'z', 'w', and 'X', 'Y' for x' and y'.
void VerticalLetter(char16_t letter, double ymax) {
  switch (letter) {
    case u'x':
      AppendGlyph(kXVert, Vertical(ymax));
      break;
    case u'y':
      AppendGlyph(kYVert, Vertical(ymax));
      break;
    case u'z':
      AppendGlyph(kZVert, Vertical(ymax));
      break;
    case u'w':
      AppendGlyph(kWVert, Vertical(ymax));
      break;
    case u'X':
      AppendGlyph(kXVert, Vertical(ymax));
      AppendGlyph(kPrime, Vertical(ymax));
      break;
    case u'Y':
      AppendGlyph(kYVert, Vertical(ymax));
      AppendGlyph(kPrime, Vertical(ymax));
      break;
    default:
      break;
  }
}

// One row of a letter-choice table: the view code and its two letters.
struct LetterChoice {
  int16_t plotKind;
  char16_t horizontal;
  char16_t vertical;
};

template <size_t N>
void ChooseLetters(const LetterChoice (&table)[N], double xmax, double ymax) {
  for (const LetterChoice& c : table) {
    if (c.plotKind == View.PlotKind) {
      HorizontalLetter(c.horizontal, xmax);
      VerticalLetter(c.vertical, ymax);
      return;
    }
  }
}

constexpr LetterChoice kPhaseViews[] = {{1, u't', u'x'}, {2, u't', u'X'}, {3, u'x', u'X'}};
constexpr LetterChoice kTwoEqMode2[] = {{15, u't', u'x'}, {16, u't', u'y'}, {17, u'x', u'y'}};
constexpr LetterChoice kThreeEqMode2[] = {{4, u't', u'x'}, {5, u't', u'y'}, {6, u't', u'z'}};
constexpr LetterChoice kFourEqMode2[] = {{8, u't', u'x'},  {9, u't', u'X'},  {10, u'x', u'X'},
                                         {11, u't', u'y'}, {12, u't', u'Y'}, {13, u'y', u'Y'},
                                         {14, u'x', u'y'}};
constexpr LetterChoice kFourEqMode3[] = {
    {18, u't', u'x'}, {19, u't', u'y'}, {20, u't', u'z'}, {21, u't', u'w'}};

}  // namespace

void GlyphXHoriz(double, double xmax, double, double) {
  AppendGlyph(kXHoriz, Horizontal(xmax));
}
void GlyphYHoriz(double, double xmax, double, double) {
  AppendGlyph(kYHoriz, Horizontal(xmax));
}
void GlyphTHoriz(double, double xmax, double, double) {
  AppendGlyph(kTHoriz, Horizontal(xmax));
}
void GlyphXVert(double, double, double, double ymax) {
  VerticalLetter(u'x', ymax);
}
void GlyphYVert(double, double, double, double ymax) {
  VerticalLetter(u'y', ymax);
}
void GlyphZVert(double, double, double, double ymax) {
  VerticalLetter(u'z', ymax);
}
void GlyphWVert(double, double, double, double ymax) {
  VerticalLetter(u'w', ymax);
}
void GlyphXPrimeVert(double, double, double, double ymax) {
  VerticalLetter(u'X', ymax);
}
void GlyphYPrimeVert(double, double, double, double ymax) {
  VerticalLetter(u'Y', ymax);
}

void AxisLabelsIVP1(double, double xmax, double, double ymax) {
  ChooseLetters(kPhaseViews, xmax, ymax);
}

void AxisLabelsIVP2(double, double xmax, double, double ymax) {
  if (OdePicture.IVPPlotMode == 1.0)
    ChooseLetters(kPhaseViews, xmax, ymax);
  else if (OdePicture.IVPPlotMode == 2.0)
    ChooseLetters(kTwoEqMode2, xmax, ymax);
}

void AxisLabelsIVP3(double, double xmax, double, double ymax) {
  if (OdePicture.IVPPlotMode == 1.0)
    ChooseLetters(kPhaseViews, xmax, ymax);
  else if (OdePicture.IVPPlotMode == 2.0)
    ChooseLetters(kThreeEqMode2, xmax, ymax);
}

void AxisLabelsIVP4(double, double xmax, double, double ymax) {
  if (OdePicture.IVPPlotMode == 1.0)
    ChooseLetters(kPhaseViews, xmax, ymax);
  else if (OdePicture.IVPPlotMode == 2.0)
    ChooseLetters(kFourEqMode2, xmax, ymax);
  else if (OdePicture.IVPPlotMode == 3.0)
    ChooseLetters(kFourEqMode3, xmax, ymax);
}

void AddTicksX(double xmin, double xmax, double ymin, double, double zmin, double,
               AxisLines lines) {
  if (Scene.VertexCount > kTickEntryLimit) return;
  const bool done = TickLoops(
      lines, xmin, xmax,
      [&](double k) {
        return TickEnds{{k, ymin - kTickHalf, zmin}, {k, ymin + kTickHalf, zmin}};
      },
      [&](double k) {
        return TickEnds{{k, -kTickHalf, 0}, {k, kTickHalf, 0}};
      });
  if (done) StoreSceneCounts();
}

void AddTicksY(double xmin, double, double ymin, double ymax, double zmin, double,
               AxisLines lines) {
  const bool done = TickLoops(
      lines, ymin, ymax,
      [&](double k) {
        return TickEnds{{xmin - kTickHalf, k, zmin}, {xmin + kTickHalf, k, zmin}};
      },
      [&](double k) {
        return TickEnds{{-kTickHalf, k, 0}, {kTickHalf, k, 0}};
      });
  if (done) StoreSceneCounts();
}

void AddTicksZ(double xmin, double, double ymin, double, double zmin, double zmax,
               AxisLines lines) {
  const bool done = TickLoops(
      lines, zmin, zmax,
      [&](double k) {
        return TickEnds{{xmin, ymin - kTickHalf, k}, {xmin, ymin + kTickHalf, k}};
      },
      [&](double k) {
        return TickEnds{{0, -kTickHalf, k}, {0, kTickHalf, k}};
      });
  if (done) StoreSceneCounts();
}

namespace {

// The axes through the origin, with the letters or without them.
void BuildOriginAxes(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax,
                     bool letters) {
  AppendAxisLine({xmin, 0, 0}, {xmax, 0, 0});
  AppendAxisLine({0, ymin, 0}, {0, ymax, 0});
  if (View.ZAxisNeeded) AppendAxisLine({0, 0, zmin}, {0, 0, zmax});

  constexpr AxisLines kOrigin = AxisLines::kThroughOrigin;
  auto xyTicks = [&] {
    AddTicksX(xmin, xmax, ymin, ymax, zmin, zmax, kOrigin);
    AddTicksY(xmin, xmax, ymin, ymax, zmin, zmax, kOrigin);
  };
  if (OdePicture.IVPOrder4 && View.PlotKind != 22) {
    if (letters) AxisLabelsIVP4(xmin, xmax, ymin, ymax);
    xyTicks();
  } else if (OdePicture.IVPOrder3 && View.PlotKind != 7) {
    if (letters) AxisLabelsIVP3(xmin, xmax, ymin, ymax);
    xyTicks();
  } else if (OdePicture.IVPOrder2) {
    if (letters) AxisLabelsIVP2(xmin, xmax, ymin, ymax);
    xyTicks();
  } else if (OdePicture.IVPOrder1) {
    if (letters) AxisLabelsIVP1(xmin, xmax, ymin, ymax);
    xyTicks();
  } else {
    if (letters) {
      AppendGlyph(kXHoriz, Horizontal(xmax));
      AppendGlyph(kAxesY, {{0, ymax, 0}, 0, 1});
      if (View.ZAxisNeeded) AppendGlyph(kAxesZ, {{0, 0, zmax}, 1, 2});
    }
    xyTicks();
    if (View.ZAxisNeeded) AddTicksZ(xmin, xmax, ymin, ymax, zmin, zmax, kOrigin);
  }
  StoreSceneCounts();
}

}  // namespace

void BuildAxes(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax) {
  BuildOriginAxes(xmin, xmax, ymin, ymax, zmin, zmax, true);
}

void BuildAxesNoLabels(double xmin, double xmax, double ymin, double ymax, double zmin,
                       double zmax) {
  BuildOriginAxes(xmin, xmax, ymin, ymax, zmin, zmax, false);
}

void BuildCornerAxes(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax) {
  const Point3 corner{xmin, ymin, zmin};
  AppendAxisLine(corner, {xmax, ymin, zmin});
  AppendAxisLine(corner, {xmin, ymax, zmin});
  AppendAxisLine(corner, {xmin, ymin, zmax});
  AppendGlyph(kCornerX, {{xmax, ymin, zmin}, 0, 1});
  AppendGlyph(kAxesY, {{xmin, ymax, zmin}, 0, 1});
  if (View.ZAxisNeeded) AppendGlyph(kAxesZ, {{xmin, ymin, zmax}, 1, 2});
  constexpr AxisLines kCorner = AxisLines::kThroughCorner;
  AddTicksX(xmin, xmax, ymin, ymax, zmin, zmax, kCorner);
  AddTicksY(xmin, xmax, ymin, ymax, zmin, zmax, kCorner);
  if (View.ZAxisNeeded) AddTicksZ(xmin, xmax, ymin, ymax, zmin, zmax, kCorner);
  StoreSceneCounts();
}

}  // namespace ms
