// The shared table of solution points of the initial and boundary value solvers and of the
// running integral of Integ[, and the road from those points to segments of the scene store.
// Also the results of the differential-equation commands that the axes and overlays read.
#pragma once

#include <array>
#include <cstdint>

namespace ms {

constexpr int kSolutionLastRow = 1000;  // rows 0..1000
constexpr int kSolutionComponents = 5;  // components 0..4
// Each command keeps its rows in slots of its own, so that a redraw of one never reads another's:
// slots 1..22 are the view codes of the initial value solvers, then one slot per Integ[ statement,
// one per boundary-value trial curve, and the three views of the secant shooting's final curve.
constexpr int kViewSlots = 22;
constexpr int kIntegSlotCount = 12;
constexpr int kTrialSlotCount = 10;
constexpr int kShootingSlotCount = 3;
constexpr int kSolutionSlots = kViewSlots + kIntegSlotCount + kTrialSlotCount + kShootingSlotCount;
// The slot of Integ[ statement k (1..12) and of trial curve k (1..10).
constexpr int IntegSlot(int k) {
  return kViewSlots + k;
}
constexpr int TrialSlot(int k) {
  return kViewSlots + kIntegSlotCount + k;
}
// The final curve of the secant shooting keeps view code v (1..3) in slot v + kShootingSlotBase.
constexpr int kShootingSlotBase = kViewSlots + kIntegSlotCount + kTrialSlotCount;

struct SolutionStoreData {
  // [row][component][slot]; slot 0 unused.
  std::array<std::array<std::array<double, kSolutionSlots + 1>, kSolutionComponents>,
             kSolutionLastRow + 1>
      SolutionTable{};
  // The last row written by the last initial value solve (1 when nothing was stored), and by the
  // last final curve of the secant shooting.
  int16_t StoredPointCount = 1;
  int16_t ShootingPointCount = 1;
  // Highest curve index that starts a full segment of the last solution curve. Kept apart from
  // the Plot[ step count so that a Plot[ curve built after a solution curve keeps its own range.
  int16_t CurveSteps = 0;
  // Rows of the running integral of Integ[ slot k (its panel count), as last drawn; 0 for a slot
  // no Integ[ drew. The graph's integral table lists each slot's own rows.
  std::array<int16_t, kIntegSlotCount + 1> IntegRows{};

  // Sphere markers on solution and integral curves: on/off and every n-th point (0: none).
  int16_t SphereMarkersOn = 0;
  int16_t IntegMarkerSpacing = 0;
};

extern SolutionStoreData Solutions;

// Start-up state: table zero, StoredPointCount 1, flags cleared, mode 1.
void ResetSolutionStore();

// True when (row, component, slot) lies inside the table.
bool SolutionIndexValid(int row, int component, int slot);
// Checked access: an index outside the table reads 0 and writes nothing.
double SolutionAt(int row, int component, int slot);
void SetSolution(int row, int component, int slot, double value);

// How the curve of an initial value solve is read and framed; the defaults are those of the
// single-equation solver.
struct CurveBuild {
  int firstComponent = 1;  // the component holding X; Y and Z follow
  double gridMin = 1e-7;   // grid units below this (X or Y, and Z when guardGridZ) become 1
  bool guardGridZ = false;
  double boxMaxStart = -10000;  // the view box maxima start here, the minima at 10000
  const char16_t* outsideText =
      u"The auto axis cannot be applied on one axis to constant function.";
  const int16_t* lastRow = &Solutions.StoredPointCount;  // the last row to draw
};

// Builds the curve of one slot of the last initial value solve: grid units repaired, view box
// reset to rows 1..lastRow (StoredPointCount unless given), segments from row k to row k + 1 for
// k = 1 .. lastRow - 1, so that the curve runs from the start point to the end point. A box with
// outsideText when no segment is in the scene store. Returns 0, or 3990 when the scene store is
// full.
[[nodiscard]] int16_t BuildSolutionCurve(int16_t slot, const CurveBuild& build = CurveBuild{});

// Writes curve point k at row VertexCount and, when both ends lie in the view box and there is
// room, point k+1 (point k itself for the last index CurveSteps) and the segment row at
// SegmentCount, coloured by family member, ODE request or integral request, with a sphere mark on
// every IntegMarkerSpacing-th point. Returns true when the segment row was written; the caller
// then advances the counts.
bool StoreCurveVertex(int k);

}  // namespace ms
