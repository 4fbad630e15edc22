// Coordinate axes of the scene: the axis lines in the axis colour, black ticks one grid unit apart
// and black axis letters drawn as short strokes beyond the axis ends. Everything is appended to
// the scene store as structure segments (kind -10); nothing is drawn here.
#pragma once

#include <cstdint>

namespace ms {

// Which initial value problem the picture shows (one to four equations) and its plot mode (1..4):
// the axes letter their views by it. The solvers set it; the solution store's reset clears it.
struct OdePictureData {
  int16_t IVPOrder1 = 0, IVPOrder2 = 0, IVPOrder3 = 0, IVPOrder4 = 0;
  double IVPPlotMode = 1.0;
};
extern OdePictureData OdePicture;

// Axes through the origin over the given box (grid units); letters chosen by the ODE flags and
// the view code, or x, y (and z when ZAxisNeeded) otherwise; then ticks.
void BuildAxes(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax);
// The same axes and ticks through the origin, without the axis letters.
void BuildAxesNoLabels(double xmin, double xmax, double ymin, double ymax, double zmin,
                       double zmax);
// Axes through the lower corner (xmin, ymin, zmin) of the box, all three lines always, with the
// corner letters; then ticks.
void BuildCornerAxes(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax);

// Where the builder drew the axis lines, so that the ticks sit on them: through the origin
// (BuildAxes) or from the lower corner (xmin, ymin, zmin) of the box (BuildCornerAxes).
enum class AxisLines { kThroughOrigin, kThroughCorner };

// Black ticks on the axis lines the builder drew: across an origin line at the whole grid units
// strictly inside the range (0 skipped); across a corner line from min + 1 in steps of one grid
// unit (not rounded) up to max. Each stops once more than 25,000 points are stored; AddTicksX
// does nothing above 30,000.
void AddTicksX(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax,
               AxisLines lines);
void AddTicksY(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax,
               AxisLines lines);
void AddTicksZ(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax,
               AxisLines lines);

// Letters at the end of the horizontal axis (xmax) or above the vertical axis (ymax), in z = 0.
void GlyphXHoriz(double xmin, double xmax, double ymin, double ymax);
void GlyphYHoriz(double xmin, double xmax, double ymin, double ymax);
void GlyphTHoriz(double xmin, double xmax, double ymin, double ymax);
void GlyphXVert(double xmin, double xmax, double ymin, double ymax);
void GlyphYVert(double xmin, double xmax, double ymin, double ymax);
void GlyphZVert(double xmin, double xmax, double ymin, double ymax);
void GlyphWVert(double xmin, double xmax, double ymin, double ymax);
void GlyphXPrimeVert(double xmin, double xmax, double ymin, double ymax);
void GlyphYPrimeVert(double xmin, double xmax, double ymin, double ymax);

// Axis letters of an initial value problem with one to four equations: a horizontal and a
// vertical letter chosen by IVPPlotMode and PlotKind, or nothing.
void AxisLabelsIVP1(double xmin, double xmax, double ymin, double ymax);
void AxisLabelsIVP2(double xmin, double xmax, double ymin, double ymax);
void AxisLabelsIVP3(double xmin, double xmax, double ymin, double ymax);
void AxisLabelsIVP4(double xmin, double xmax, double ymin, double ymax);

}  // namespace ms
