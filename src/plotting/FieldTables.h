// The tables the field commands (slope, direction and space fields) keep between picture builds,
// and the few helpers the three share: the colour of a letter, the number of points of a grid and
// the progress-bar total.
//
// The slope values and field vectors survive from one build to the next: a rebuild with
// RunFlags.Replot set draws the field again with the current display factors (arrow length, head
// size, tracing direction) without evaluating a function again.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>

#include "platform/runtime/Runtime.h"
#include "plotting/SceneStore.h"

namespace ms {

// Capacities, fixed: slope points 1..2500, start points 1..10, 500 steps per solution trace,
// field vectors 0..14999 and field arrows 1..15000.
constexpr int kMaxSlopePoints = 2500;
constexpr int kMaxSlopeStartPoints = 10;
constexpr int kMaxTraceSteps = 500;
constexpr int kMaxFieldPoints = 15000;

// One arrow of a field: start point, end point and the ends of the two barbs of its head.
struct FieldArrowRec {
  Point3 Start{};
  Point3 End{};
  Point3 Barb1{};
  Point3 Barb2{};
};

// x, y and the slope F(x, y) at one grid point of a slope field.
struct SlopePointRec {
  double X = 0;
  double Y = 0;
  double Slope = 0;
};

// Which command's evaluation FieldVectorTable holds (the direction field and the space field
// share the table).
enum FieldVectorSource : int16_t { kVectorsNone = 0, kVectorsDirField = 1, kVectorsField3D = 2 };

struct FieldTablesData {
  // Start points of the solution traces of the last slope field (x, y), entries 1..10.
  std::array<std::array<double, 2>, kMaxSlopeStartPoints + 1> SlopeStartPoints{};
  // Slope values of the last evaluation, entries 1..SlopePointCount.
  std::array<SlopePointRec, kMaxSlopePoints + 1> SlopePointTable{};
  int16_t SlopePointCount = 0;
  double SlopePointCountD = 0;
  // Arrows of the field being built, entries 1..number of grid points.
  std::array<FieldArrowRec, kMaxFieldPoints + 1> FieldArrowTable{};
  // (vx, vy, vz) per grid point of the last direction or space field evaluation, in grid order,
  // entries 0..FieldVectorCount - 1.
  std::array<Point3, kMaxFieldPoints> FieldVectorTable{};
  int16_t FieldVectorCount = 0;
  int16_t FieldVectorSourceKind = kVectorsNone;
  // Smallest and largest height G(x, y) of the last lifted direction field.
  double FieldZMin = 0;
  double FieldZMax = 0;
  // Colour letters of the last statement of each command.
  rt::Text SlopeFieldColorLetter = u"g";
  rt::Text DirFieldColorLetter = u"b";
  rt::Text Field3DColorLetter = u"b";
};

// What the picture build tells the field commands and what they leave for it: whether they add
// their axes (AxesWanted) and the slope field its grid crosses (GridCrossesWanted), whether a box
// around the picture can be offered (BoxAvailable), whether the last picture holds a slope field.
struct FieldGraphFlags {
  int16_t AxesWanted = -1;
  int16_t GridCrossesWanted = -1;
  int16_t BoxAvailable = 0;
  int16_t SlopeFieldMode = 0;
};

extern FieldTablesData FieldTables;
extern FieldGraphFlags FieldGraph;

// Start-up state: empty tables, default colour letters, axes and grid crosses wanted, no box.
void ResetFieldTables();

// A worksheet function bound by the command that draws it: 0 and its value at args, or the
// evaluator's message.
using FieldFunction = std::function<int16_t(const double* args, double& value)>;

// The run's side of a field build: whether it draws the kept values again (a rebuild), and the box
// it leaves for the command to show when it refuses the field (empty otherwise).
struct FieldRun {
  bool replot = false;
  rt::Text box;
};

namespace field {

// Title of the boxes the field commands show of their own.
inline const rt::Text kAppTitle = u"MathSheet";

using rt::CharAt;

// Red, green and blue (0..255) of a colour letter: r red, g green, b blue, w white, B black,
// G grey; any other letter gives green.
void LetterColor(const rt::Text& letter, double& red, double& green, double& blue);

// One direction of a field's grid: the lines a + i (b - a) / n for i = 0, 1, ..., walked by their
// index so that rounding cannot lose one. A whole n (within rounding) gives n + 1 lines, the last
// exactly at b; any other n its whole part + 1, the last below b. A step that is not a finite
// number gives the line at a alone.
struct GridAxis {
  double a = 0, b = 0, step = 0;
  // How many lines; may be far past any limit (counted as a double).
  double lines = 1;
  bool endsAtB = false;
  // The coordinate of line i (0 .. lines - 1).
  double At(int i) const { return endsAtB && i == lines - 1 ? b : a + i * step; }
  // Callers walk a grid only after counting it within its limit; held at the int range anyway.
  int Lines() const { return lines < 2147483647.0 ? static_cast<int>(lines) : 2147483647; }
};
GridAxis GridAxisOf(double a, double b, double n);

// Number of points of the grid whose directions are the axes given; a count past limit is
// limit + 1.
int CountGridPoints(std::initializer_list<GridAxis> axes, int limit);

// Int(|area|) as a progress total, kept within the 16-bit range (at least 1).
int16_t ProgressTotal(double area);

// Whether the field of the named command ("PlotDirField" ...) fits the picture with `vertices`
// more points: the graph window refuses a picture past kCurveVertexLimit points. When it does not
// fit, box names the command and the points it needs, and nothing is to be written.
bool FieldFitsScene(const rt::Text& command, long vertices, rt::Text& box);

// Appends the segment p -> q of a field in the given colour as an ordinary segment: kind, dot
// mark and limit marker 0, whatever an earlier build left in the row. False when the store is
// full (nothing written).
bool AppendFieldSegment(const Point3& p, const Point3& q, double red, double green, double blue);

// Widens the scene's view box to take in the box [x1, x2] x [y1, y2] x [z1, z2].
void WidenViewBox(double x1, double x2, double y1, double y2, double z1, double z2);

}  // namespace field

}  // namespace ms
