// Slope fields of a first-order equation y' = F(x, y): the command
// PlotSlopeField[F,{a,b,n}{c,d,m}{x1,y1}...{x10,y10}letter] draws a short segment of slope
// F(x, y) at every point of an n x m grid of the rectangle [a, b] x [c, d] (with an arrow head in
// forward mode) and traces the solutions through up to ten start points by the classical
// fourth-order Runge-Kutta method (step SlopeFieldOptions::step). Everything goes into the scene
// store; the graph window draws it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/runtime/ProgressSink.h"
#include "platform/runtime/Runtime.h"
#include "plotting/FieldTables.h"

namespace ms {

// The settings a slope field is drawn with.
struct SlopeFieldOptions {
  double step = 0;              // step of the solution traces
  bool bothDirections = false;  // traces run both ways and the segments carry no barbs
};

// F bound twice by the command: for the grid and for the solution traces, each with the
// temporary result constant of its own.
struct SlopeFunctions {
  FieldFunction grid, trace;
};

// The slope segments of F over the grid, then the solution traces of
// the first count start points. The slopes are evaluated unless run.replot is set and a
// table of this grid is kept from the last evaluation. A grid of more than 2,500 points, or one
// whose segments the picture has no room for, is refused with run.box before anything is evaluated
// or written (0 all the same). 0, or the evaluation's message.
// Events run through progress while the values are evaluated; when it reports an abort, the build
// stops (0).
[[nodiscard]] int16_t BuildSlopeField(const SlopeFunctions& f, double a, double b, double n,
                                      double c, double d, double m, int16_t count,
                                      const SlopeFieldOptions& options,
                                      const ProgressSink& progress, FieldRun& run);

// One solution trace by RK-4 from (x0, y0), forward (x increasing) to b or backward to a; the
// trace ends early once y leaves 1.1 d or 1.1 c (its last point is put onto the range end) and
// after at most 500 steps. Drawn in the colour of start point j. 0, or the evaluation's message.
[[nodiscard]] int16_t TraceSlopeForward(double x0, double y0, double a, double b, double c,
                                        double d, const FieldFunction& slope, int16_t j,
                                        const SlopeFieldOptions& options);
[[nodiscard]] int16_t TraceSlopeBackward(double x0, double y0, double a, double b, double c,
                                         double d, const FieldFunction& slope, int16_t j,
                                         const SlopeFieldOptions& options);

}  // namespace ms
