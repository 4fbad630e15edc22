// Systems of two, three and four first-order equations x' = F, y' = G (z' = H, w' = R) solved by
// the adaptive Runge-Kutta-Fehlberg 4(5) method of the single-equation solver (Rkf45.h): every
// variable is advanced with Fehlberg's weights and its own stage increments, the step size is
// steered by the largest of the variables' error estimates. The plot mode decides which view
// slots of the solution table receive the points; the curve of the current view goes into the
// scene store. Esc (AbortRun) stops a solve between steps without drawing.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// One Fehlberg step of size h for X' = F{t,x,y}, Y' = G{t,x,y}: the fourth-order values of both
// variables at tNew = t + h, and errEst, the largest of the variables' error estimates. Does
// nothing at all while AbortRun is set (returns 0). A failing evaluation returns 2100 and leaves
// every output unset.
[[nodiscard]] int16_t RKF45Step2(const rt::Text& F, const rt::Text& G, double t, double x, double y,
                                 double& tNew, double& xNew, double& yNew, double h,
                                 double& errEst);
[[nodiscard]] int16_t RKF45Step3(const rt::Text& F, const rt::Text& G, const rt::Text& H, double t,
                                 double x, double y, double z, double& tNew, double& xNew,
                                 double& yNew, double& zNew, double h, double& errEst);
[[nodiscard]] int16_t RKF45Step4(const rt::Text& F, const rt::Text& G, const rt::Text& H,
                                 const rt::Text& R, double t, double x, double y, double z,
                                 double w, double& tNew, double& xNew, double& yNew, double& zNew,
                                 double& wNew, double h, double& errEst);

// The drivers. Identifiers in their two-character form. SolveIVP2 takes its plot mode from
// IVPPlotMode; SolveIVP3 and SolveIVP4 receive it. Row 1 of each view slot of the mode holds the
// start point, the last row the end point tf. The curve drawn is the view PlotKind; when the mode
// does not fill that slot, its first view (PlotKind and ODEViewRequest are set to it). With
// Replot set the stored rows are drawn again without solving. Each returns 0, 2100 or the curve
// build's 3990.
[[nodiscard]] int16_t SolveIVP2(const rt::Text& F, const rt::Text& G, double t0, double tf,
                                double x0, double y0, double factor, double tol);
// SolveIVP2 in plot mode 1 for the final curve of the secant shooting, kept in slots of its own
// (kShootingSlotBase + view code) with its own count of rows, so that an IVP[ solve and the
// shooting do not draw each other's rows. The view drawn is PlotKind (1..3).
[[nodiscard]] int16_t SolveShootingCurve(const rt::Text& F, const rt::Text& G, double t0, double tf,
                                         double x0, double y0, double factor, double tol);
[[nodiscard]] int16_t SolveIVP3(const rt::Text& F, const rt::Text& G, const rt::Text& H, double t0,
                                double tf, double x0, double y0, double z0, double factor,
                                double tol, double mode);
[[nodiscard]] int16_t SolveIVP4(const rt::Text& F, const rt::Text& G, const rt::Text& H,
                                const rt::Text& R, double t0, double tf, double x0, double y0,
                                double z0, double w0, double factor, double tol, double mode);

}  // namespace ms
