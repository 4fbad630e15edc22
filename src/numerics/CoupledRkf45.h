// Systems of two, three and four first-order equations x' = F, y' = G (z' = H, w' = R) solved by
// the adaptive Runge-Kutta-Fehlberg 4(5) method of the single-equation solver (Rkf45.h): every
// variable is advanced with Fehlberg's weights and its own stage increments, the step size is
// steered by the error estimate of the first variable alone. The plot mode decides which view
// slots of the solution table receive the points; the curve of the current view goes into the
// scene store. Esc (AbortRun) stops a solve between steps without drawing.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// One Fehlberg step of size h for X' = F{t,x,y}, Y' = G{t,x,y}: the fourth-order values of both
// variables at tNew = t + h, and errEst, the error estimate of x. Does nothing at all while
// AbortRun is set. A failing evaluation gives 2100 and leaves every output unset.
void RKF45Step2(const rt::Text& F, const rt::Text& G, const double& t, const double& x,
                const double& y, double& tNew, double& xNew, double& yNew, const double& h,
                double& errEst, int16_t& msgNo);
void RKF45Step3(const rt::Text& F, const rt::Text& G, const rt::Text& H, const double& t,
                const double& x, const double& y, const double& z, double& tNew, double& xNew,
                double& yNew, double& zNew, const double& h, double& errEst, int16_t& msgNo);
void RKF45Step4(const rt::Text& F, const rt::Text& G, const rt::Text& H, const rt::Text& R,
                const double& t, const double& x, const double& y, const double& z, const double& w,
                double& tNew, double& xNew, double& yNew, double& zNew, double& wNew,
                const double& h, double& errEst, int16_t& msgNo);

// value = id{t,x,y,z,w} (the four-equation form); 2100 when it cannot be evaluated.
void EvalRHS4(const rt::Text& id, const double& t, const double& x, const double& y,
              const double& z, const double& w, double& value, int16_t& msgNo);

// The drivers. Identifiers in their two-character form. SolveIVP2 takes its plot mode from
// IVPPlotMode; SolveIVP3 and SolveIVP4 receive it. Row 1 of each view slot of the mode holds the
// start point, the last row the end point tf. The curve drawn is the view PlotKind; when the mode
// does not fill that slot, its first view (PlotKind and ODEViewRequest are set to it). With
// Replot set the stored rows are drawn again without solving. msgNo 2100 or the curve build's
// 3990.
void SolveIVP2(const rt::Text& F, const rt::Text& G, double t0, const double& tf, const double& x0,
               const double& y0, const double& factor, const double& tol, int16_t& msgNo);
// SolveIVP2 in plot mode 1 for the final curve of the secant shooting, kept in slots of its own
// (kShootingSlotBase + view code) with its own count of rows, so that an IVP[ solve and the
// shooting do not draw each other's rows. The view drawn is PlotKind (1..3).
void SolveShootingCurve(const rt::Text& F, const rt::Text& G, double t0, const double& tf,
                        const double& x0, const double& y0, const double& factor, const double& tol,
                        int16_t& msgNo);
void SolveIVP3(const rt::Text& F, const rt::Text& G, const rt::Text& H, const double& t0,
               const double& tf, const double& x0, const double& y0, const double& z0,
               const double& factor, const double& tol, const double& mode, int16_t& msgNo);
void SolveIVP4(const rt::Text& F, const rt::Text& G, const rt::Text& H, const rt::Text& R,
               const double& t0, const double& tf, const double& x0, const double& y0,
               const double& z0, const double& w0, const double& factor, const double& tol,
               const double& mode, int16_t& msgNo);

}  // namespace ms
