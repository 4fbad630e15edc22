#include "language/CommandRequests.h"

#include "language/WorksheetTables.h"

namespace ms {

CommandRequestState Requests;
RunFlagsState RunFlags;

void ClearCommandFlags() {
  Requests.SlopeFieldRequested = 0;
  Requests.DirFieldRequested = 0;
  Requests.Field3DRequested = 0;
  Requests.ContourRequested = 0;
  Requests.Contour1Requested = 0;
  Requests.IVPRequested = 0;
  Requests.BVPRequested = 0;
  Requests.IntegRequested = 0;
  Requests.DblIntRequested = 0;
}

void ClearCommandRequests() {
  ClearCommandFlags();
  Requests.IntegStmtCount = 0;
  // Each slot is filled in only one of the two lists; a statement left from the previous run in
  // the other list would be run again by the graph window.
  for (rt::Text& s : Requests.IntegStmts) s.clear();
  for (rt::Text& s : Requests.DblIntStmts) s.clear();
}

void ResetCommandRequests() {
  ClearCommandFlags();
  Requests.PlotRequested = 0;
  Tables.PlotPending = 0;
}

bool AnyCommandRequested(bool includePlot) {
  const CommandRequestState& r = Requests;
  if (r.SlopeFieldRequested || r.DirFieldRequested || r.IVPRequested || r.BVPRequested ||
      r.ContourRequested || r.Contour1Requested || r.Field3DRequested || r.IntegRequested ||
      r.DblIntRequested)
    return true;
  return includePlot && (r.PlotRequested || Tables.PlotPending);
}

}  // namespace ms
