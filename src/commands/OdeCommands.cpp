#include "commands/OdeCommands.h"

#include "commands/OdeBinding.h"
#include "language/CommandRequests.h"
#include "numerics/Bvp.h"
#include "numerics/BvpTrials.h"
#include "numerics/CoupledRkf45.h"
#include "numerics/Ivp.h"
#include "numerics/LinearShooting.h"
#include "numerics/Rkf45.h"
#include "numerics/SecantShooting.h"
#include "plotting/Axes.h"
#include "plotting/SceneStore.h"

namespace ms {

int16_t ProcessIVP(const rt::Text& statement) {
  View.ZAxisNeeded = 0;
  IvpArgs args;
  int16_t msgNo = ParseIvpArgs(statement, args);
  int16_t* const orderFlags[5] = {nullptr, &OdePicture.IVPOrder1, &OdePicture.IVPOrder2,
                                  &OdePicture.IVPOrder3, &OdePicture.IVPOrder4};
  for (int k = 1; k <= 4; ++k) *orderFlags[k] = k == args.equations ? -1 : 0;
  if (args.plotMode) OdePicture.IVPPlotMode = *args.plotMode;
  if (msgNo != 0) return msgNo;
  const int equations = args.equations;
  const double mode = OdePicture.IVPPlotMode;
  SetViewGroup(equations, mode);
  const OdeRhs f = BindWorksheetRhs(&args.ids[1], equations);
  if (equations == 1) {
    // The single equation runs to its end whatever Esc asks.
    msgNo = SolveIVP1(f, args.t0, args.tf, args.init[0], args.factor, args.tol,
                      WorksheetProgress(false));
  } else {
    // An Esc left from before this solve is not meant for it.
    RunFlags.AbortRun = 0;
    const OdeValues start = {args.init[0], args.init[1], args.init[2], args.init[3]};
    msgNo = SolveIvpSystem(f, equations, args.t0, args.tf, start, args.factor, args.tol, mode,
                           WorksheetProgress(true));
  }
  if (msgNo == 0 && !RunFlags.AbortRun) OdeResults.BVPSolved = 0;
  return msgNo;
}

int16_t ProcessBVP(const rt::Text& statement) {
  OdePicture.IVPOrder1 = -1;
  View.ZAxisNeeded = 0;
  BvpArgs a;
  const int16_t parsed = ParseBvpArgs(statement, a);
  if (a.listGiven) Bvp.BVPListGiven = *a.listGiven ? -1 : 0;
  for (int k = 1; k <= a.slopesWritten; ++k)
    Bvp.BVPTrialSlopes[static_cast<size_t>(k)] = a.slopes[static_cast<size_t>(k)];
  if (a.listComplete) Bvp.BVPTrialSlopes[0] = a.slopes[0];
  if (parsed != 0) return parsed;
  const rt::Text ids[2] = {a.F, a.G};
  const OdeRhs f = BindWorksheetRhs(ids, 2);

  if (a.linear) {
    const int16_t msgNo = SolveBVPLinear(f, a.t0, a.x0, a.tb, a.xb, a.n);
    if (!RunFlags.AbortRun) {
      OdeResults.BVPSolved = 0;
      Bvp.BVPTrialSlopes[0] = 0;
    }
    return msgNo;
  }
  double mode = a.mode;
  Bvp.BVPRootsMode = mode < 0 ? -1 : 0;
  if (mode < 0) mode = -mode;
  if (mode == 0)
    return ShootBVP(f, a.t0, a.x0, a.tb, a.xb, a.a1, a.a2, a.factor, a.tol,
                    WorksheetProgress(true));
  return PlotBVPFamily(f, a.t0, a.x0, a.tb, a.xb, a.a1, a.a2, mode);
}

}  // namespace ms
