// Systems of two, three and four first-order equations solved by the adaptive
// Runge-Kutta-Fehlberg 4(5) method of Rkf45Step.h. The plot mode decides which view
// slots of the solution table receive the points; the curve of the current view goes into the
// scene store.
#pragma once

#include <cstdint>
#include <optional>

#include "numerics/Rkf45Step.h"

namespace ms {

// The driver of two to four equations y' = f(t, y) (equations outside 2..4 do nothing). Row 1 of
// each view slot of the plot mode holds the start point, the last row the end point tf. The curve
// drawn is the view PlotKind; when the mode does not fill that slot, its first view (PlotKind and
// ODEViewRequest are set to it). With Replot set the stored rows are drawn again without solving.
// Esc, as the progress sink tells it, ends the solve between steps without drawing. A step at the
// smallest step size that misses its tolerance by far shows kMsgBeyondSmallestStep's box, ends
// the rows at the point where that step began and draws them. Returns 0,
// the right-hand side's message or the curve build's 3990.
[[nodiscard]] int16_t SolveIvpSystem(const OdeRhs& f, int equations, double t0, double tf,
                                     const OdeValues& start, double factor, double tol, double mode,
                                     const ProgressSink& progress);
// The two-equation solve in plot mode 1 for the final curve of the secant shooting, kept in slots
// of its own (kShootingSlotBase + view code) with its own count of rows, so that an IVP[ solve and
// the shooting do not draw each other's rows. The view drawn is PlotKind (1..3). endX receives x
// at tf when the solve reached it (empty otherwise, and on a redraw).
[[nodiscard]] int16_t SolveShootingCurve(const OdeRhs& f, double t0, double tf, double x0,
                                         double y0, double factor, double tol,
                                         const ProgressSink& progress, std::optional<double>& endX);
// x at tf of the curve SolveShootingCurve would draw from (x0, y0), by the same integration with
// nothing stored or drawn: empty when the integration passes 100000, stops at the smallest step or
// is ended by Esc. Returns 0 or the right-hand side's message.
[[nodiscard]] int16_t ShootingCurveEnd(const OdeRhs& f, double t0, double tf, double x0, double y0,
                                       double tol, const ProgressSink& progress,
                                       std::optional<double>& endX);

}  // namespace ms
