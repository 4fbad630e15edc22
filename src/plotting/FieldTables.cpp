#include "plotting/FieldTables.h"

#include <algorithm>
#include <cmath>

namespace ms {

FieldTablesData FieldTables;
FieldGraphFlags FieldGraph;

void ResetFieldTables() {
  FieldTablesData& t = FieldTables;
  for (auto& p : t.SlopeStartPoints) p = {0, 0};
  t.SlopePointTable.fill(SlopePointRec{});
  t.SlopePointCount = 0;
  t.SlopePointCountD = 0;
  t.FieldArrowTable.fill(FieldArrowRec{});
  t.FieldVectorTable.fill(Point3{});
  t.FieldVectorCount = 0;
  t.FieldVectorSourceKind = kVectorsNone;
  t.FieldZMin = 0;
  t.FieldZMax = 0;
  t.SlopeFieldColorLetter = u"g";
  t.DirFieldColorLetter = u"b";
  t.Field3DColorLetter = u"b";
  FieldGraph = FieldGraphFlags{};
}

namespace field {

void LetterColor(const rt::Text& letter, double& red, double& green, double& blue) {
  struct Entry {
    char16_t letter;
    double r, g, b;
  };
  static constexpr Entry kLetters[] = {
      {u'r', 255, 0, 0},     {u'g', 0, 255, 0}, {u'b', 0, 0, 255},
      {u'w', 255, 255, 255}, {u'B', 0, 0, 0},   {u'G', 128, 128, 128},
  };
  red = 0;
  green = 255;
  blue = 0;
  if (letter.size() != 1) return;
  for (const Entry& e : kLetters) {
    if (e.letter == letter[0]) {
      red = e.r;
      green = e.g;
      blue = e.b;
      return;
    }
  }
}

GridAxis GridAxisOf(double a, double b, double n) {
  // n that differs from a whole number by no more than this fraction of it is that number: the
  // quotient (b - a) / ((b - a) / n) and a count typed as a quotient carry a few units of rounding.
  constexpr double kWholeTolerance = 1e-9;
  GridAxis g;
  g.a = a;
  g.b = b;
  g.step = (b - a) / n;
  if (!(n > 0) || !std::isfinite(g.step)) return g;
  const double whole = std::round(n);
  if (std::fabs(n - whole) <= kWholeTolerance * whole) {
    g.lines = whole + 1;
    g.endsAtB = true;
  } else {
    g.lines = std::floor(n) + 1;
  }
  return g;
}

int CountGridPoints(std::initializer_list<GridAxis> axes, int limit) {
  double count = 1;
  for (const GridAxis& g : axes) count *= g.lines;
  return count > limit ? limit + 1 : static_cast<int>(count);
}

int16_t ProgressTotal(double area) {
  const double v = rt::Int(std::fabs(area));
  if (!(v >= 1)) return 1;
  return static_cast<int16_t>(std::min(v, 32767.0));
}

bool FieldFitsScene(const rt::Text& command, long vertices, rt::Text& box) {
  const long used = std::max<long>(Scene.VertexCount, 0);
  if (used + vertices <= kCurveVertexLimit) return true;
  const long left = std::max<long>(kCurveVertexLimit - used, 0);
  box = command + u" needs " + rt::IntText(vertices) + u" points of the picture, but " +
        rt::IntText(left) + u" of its " + rt::IntText(kCurveVertexLimit) +
        u" are free.\r\nReduce the number of intervals.";
  return false;
}

bool AppendFieldSegment(const Point3& p, const Point3& q, double red, double green, double blue) {
  const int row = Scene.SegmentCount;
  if (!AppendSegment(p, q, red, green, blue, kSegOrdinary)) return false;
  Scene.SegmentTable[static_cast<size_t>(row)][kDotMark] = 0;
  Scene.SegmentTable[static_cast<size_t>(row)][kLimitMarkKind] = 0;
  return true;
}

void WidenViewBox(double x1, double x2, double y1, double y2, double z1, double z2) {
  ms::WidenViewBox(x1, y1, z1);
  ms::WidenViewBox(x2, y2, z2);
}

}  // namespace field

}  // namespace ms
