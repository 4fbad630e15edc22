#include "numerics/SolutionStore.h"

#include <algorithm>

#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

namespace ms {

SolutionStoreData Solutions;

namespace {
constexpr int16_t kMsgVertexLimit = 3990;

void SetColour(SegmentRow& row, int r, int g, int b) {
  row[kRed] = r;
  row[kGreen] = g;
  row[kBlue] = b;
  CurveWork.CurveRed = r;
  CurveWork.CurveGreen = g;
  CurveWork.CurveBlue = b;
}
}  // namespace

void ResetSolutionStore() {
  for (auto& row : Solutions.SolutionTable)
    for (auto& comp : row) comp.fill(0);
  Solutions.StoredPointCount = 1;
  Solutions.ShootingPointCount = 1;
  Solutions.CurveSteps = 0;
  Solutions.IntegRows.fill(0);
  OdePicture = OdePictureData{};
  Solutions.SphereMarkersOn = 0;
  Solutions.IntegMarkerSpacing = 0;
}

bool SolutionIndexValid(int row, int component, int slot) {
  return row >= 0 && row <= kSolutionLastRow && component >= 0 && component < kSolutionComponents &&
         slot >= 1 && slot <= kSolutionSlots;
}

double SolutionAt(int row, int component, int slot) {
  return SolutionIndexValid(row, component, slot) ? Solutions.SolutionTable[row][component][slot]
                                                  : 0.0;
}

void SetSolution(int row, int component, int slot, double value) {
  if (SolutionIndexValid(row, component, slot))
    Solutions.SolutionTable[row][component][slot] = value;
}

bool StoreCurveVertex(int k) {
  const int v = Scene.VertexCount;
  const int s = Scene.SegmentCount;
  if (k < 0 || k >= kSceneLastRow || !SceneHasRoom(2)) return false;
  Scene.VertexXYZ[v] = {CurveWork.CurveX[k], CurveWork.CurveY[k], CurveWork.CurveZ[k]};
  SegmentRow& row = Scene.SegmentTable[s];
  if (IsOutsideViewBox(v)) {
    row[kSegKind] = 0;
    row[kDotMark] = 0;
    return false;
  }
  if (v >= kCurveVertexLimit || k > Solutions.CurveSteps) return false;
  const int next = k == Solutions.CurveSteps ? k : k + 1;
  Scene.VertexXYZ[v + 1] = {CurveWork.CurveX[next], CurveWork.CurveY[next], CurveWork.CurveZ[next]};
  if (IsOutsideViewBox(v + 1)) {
    row[kSegKind] = 0;
    row[kDotMark] = 0;
    return false;
  }
  if (k != 0 && Solutions.SphereMarkersOn && Solutions.IntegMarkerSpacing != 0 &&
      k % Solutions.IntegMarkerSpacing == 0)
    row[kDotMark] = 1.0;
  row[kStartPoint] = v;
  row[kEndPoint] = v + 1;
  int r = 0, g = 0, b = 0;
  const int member = CurveWork.FamilyMember;
  if (member >= 1 && member <= static_cast<int>(CurveWork.FamilyRed.size())) {
    SetColour(row, CurveWork.FamilyRed[member - 1], CurveWork.FamilyGreen[member - 1],
              CurveWork.FamilyBlue[member - 1]);
  } else if (Requests.IVPRequested || Requests.BVPRequested) {
    rt::SplitRGB(Settings.IVPColorUsed, r, g, b);
    SetColour(row, r, g, b);
  } else if (Requests.IntegRequested) {
    rt::SplitRGB(Settings.IntegColorUsed, r, g, b);
    SetColour(row, r, g, b);
  }
  return true;
}

int16_t BuildSolutionCurve(int16_t slot, const CurveBuild& build) {
  if (slot < 1 || slot > kSolutionSlots) return 0;
  if (Scene.GridUnitX < build.gridMin || Scene.GridUnitY < build.gridMin ||
      (build.guardGridZ && Scene.GridUnitZ < build.gridMin)) {
    Scene.GridUnitX = Scene.GridUnitY = Scene.GridUnitZ = 1.0;
  }
  Scene.ViewXMin = Scene.ViewYMin = Scene.ViewZMin = 10000;
  Scene.ViewXMax = Scene.ViewYMax = Scene.ViewZMax = build.boxMaxStart;
  const int last = std::clamp<int>(*build.lastRow, 0, kSolutionLastRow);
  const int c0 = build.firstComponent;
  // Row 0 holds the start point in the layout of slot 1 only; row 1 holds it in every view.
  for (int i = 1; i <= last; ++i) {
    CurveWork.CurveX[i] = SolutionAt(i, c0, slot) / Scene.GridUnitX;
    CurveWork.CurveY[i] = SolutionAt(i, c0 + 1, slot) / Scene.GridUnitY;
    CurveWork.CurveZ[i] = SolutionAt(i, c0 + 2, slot) / Scene.GridUnitZ;
    WidenViewBox(CurveWork.CurveX[i], CurveWork.CurveY[i], CurveWork.CurveZ[i]);
  }
  Solutions.CurveSteps = static_cast<int16_t>(last);
  // Segments from every stored row to the next: the curve runs from the start point (row 1) to
  // the end point (the last row). Only segments actually written are counted, so a curve that
  // stores nothing leaves the segments of earlier curves alone.
  for (int k = 1; k < last; ++k) {
    if (Scene.VertexCount >= kCurveVertexLimit) {
      return kMsgVertexLimit;
    }
    if (StoreCurveVertex(k)) {
      Scene.SegmentTable[Scene.SegmentCount][kDotMark] = 0;
      Scene.VertexCount = static_cast<int16_t>(Scene.VertexCount + 2);
      Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount + 1);
    }
  }
  if (Scene.VertexCount == 0) {
    ui::Ui().MsgBox(build.outsideText, ui::kOkOnly, u"");
    return 0;
  }
  StoreSceneCounts();
  return 0;
}

}  // namespace ms
