#include "plotting/SceneStore.h"

#include <algorithm>

namespace ms {

SceneStoreData Scene;
ViewStateData View;
CurveWorkData CurveWork;

namespace {
// 45 and 60 degrees as the program writes them: the products divided by 180.
constexpr double kPi = 3.1415926536;
}  // namespace

void ResetScene() {
  for (auto& p : Scene.VertexXYZ) p = Point3{};
  for (auto& p : Scene.ViewXYZ) p = Point3{};
  for (auto& r : Scene.SegmentTable) r = SegmentRow{};
  Scene.VertexCount = 0;
  Scene.SegmentCount = 0;
  Scene.VertexCountD = 0;
  Scene.SegmentCountD = 0;
  Scene.ViewXMin = Scene.ViewXMax = 0;
  Scene.ViewYMin = Scene.ViewYMax = 0;
  Scene.ViewZMin = Scene.ViewZMax = 0;
  Scene.GridUnitX = Scene.GridUnitY = Scene.GridUnitZ = 1.0;
  Scene.OutsideViewBox = 0;
}

void ResetViewState() {
  View = ViewStateData{};
  View.RotationAngle = 45 * kPi / 180;
  View.ElevationAngle = 60 * kPi / 180;
  View.SavedRotation = View.RotationAngle;
  View.SavedElevation = View.ElevationAngle;
  // The lifted direction field and the space field open at the same view as every other
  // three-dimensional picture until the arrow keys turn them.
  View.FieldRotation = View.RotationAngle;
  View.FieldElevation = View.ElevationAngle;
  View.AngleStep = 2 * kPi / 180;
}

void ResetCurveWork() {
  CurveWork.CurveX.fill(0);
  CurveWork.CurveY.fill(0);
  CurveWork.CurveZ.fill(0);
  CurveWork.CurveRed = CurveWork.CurveGreen = CurveWork.CurveBlue = 0;
  CurveWork.ArrowFlagPos = 0;
  CurveWork.DotSpacingOn = 0;
  CurveWork.DotSpacing = 0;
  CurveWork.FamilyMember = 0;
  CurveWork.FamilyRed.fill(0);
  CurveWork.FamilyGreen.fill(0);
  CurveWork.FamilyBlue.fill(0);
  CurveWork.FamilyColorCode = -1;
}

void ClearSegmentMarks() {
  for (auto& r : Scene.SegmentTable) {
    r[kSegKind] = 0;
    r[kDotMark] = 0;
    r[kLimitMarkKind] = 0;
  }
}

void StartSceneBuild() {
  Scene.VertexCount = 0;
  Scene.SegmentCount = 0;
  Scene.ViewXMin = Scene.ViewYMin = Scene.ViewZMin = 10000;
  Scene.ViewXMax = Scene.ViewYMax = Scene.ViewZMax = -10000;
}

void StoreSceneCounts() {
  Scene.VertexCountD = Scene.VertexCount;
  Scene.SegmentCountD = Scene.SegmentCount;
}

KeptSceneRows KeepSceneRows(int vertexCount, int segmentCount) {
  KeptSceneRows kept;
  const auto vertices = static_cast<size_t>(std::clamp(vertexCount, 0, kSceneRows));
  const auto segments = static_cast<size_t>(std::clamp(segmentCount, 0, kSceneRows));
  kept.vertices.assign(Scene.VertexXYZ.begin(), Scene.VertexXYZ.begin() + vertices);
  kept.segments.assign(Scene.SegmentTable.begin(), Scene.SegmentTable.begin() + segments);
  kept.box = {Scene.ViewXMin, Scene.ViewXMax, Scene.ViewYMin,
              Scene.ViewYMax, Scene.ViewZMin, Scene.ViewZMax};
  return kept;
}

void PutBackSceneRows(const KeptSceneRows& kept) {
  std::copy(kept.vertices.begin(), kept.vertices.end(), Scene.VertexXYZ.begin());
  std::copy(kept.segments.begin(), kept.segments.end(), Scene.SegmentTable.begin());
  Scene.ViewXMin = kept.box[0];
  Scene.ViewXMax = kept.box[1];
  Scene.ViewYMin = kept.box[2];
  Scene.ViewYMax = kept.box[3];
  Scene.ViewZMin = kept.box[4];
  Scene.ViewZMax = kept.box[5];
}

void CopyVerticesToView() {
  const double n = Scene.VertexCountD;
  const int rows = n > 0 ? static_cast<int>(std::min<double>(n, kSceneRows)) : 0;
  std::copy_n(Scene.VertexXYZ.begin(), rows, Scene.ViewXYZ.begin());
}

void WidenViewBox(double x, double y, double z) {
  Scene.ViewXMin = std::min(Scene.ViewXMin, x);
  Scene.ViewXMax = std::max(Scene.ViewXMax, x);
  Scene.ViewYMin = std::min(Scene.ViewYMin, y);
  Scene.ViewYMax = std::max(Scene.ViewYMax, y);
  Scene.ViewZMin = std::min(Scene.ViewZMin, z);
  Scene.ViewZMax = std::max(Scene.ViewZMax, z);
}

bool SceneHasRoom(int rows) {
  return Scene.VertexCount >= 0 && Scene.SegmentCount >= 0 &&
         static_cast<int>(Scene.VertexCount) + rows <= kSceneRows &&
         static_cast<int>(Scene.SegmentCount) + (rows + 1) / 2 <= kSceneRows;
}

bool AppendSegment(const Point3& p, const Point3& q, double red, double green, double blue) {
  if (!SceneHasRoom(2)) return false;
  const int v = Scene.VertexCount;
  const int s = Scene.SegmentCount;
  Scene.VertexXYZ[v] = p;
  Scene.VertexXYZ[v + 1] = q;
  SegmentRow& row = Scene.SegmentTable[s];
  row[kStartPoint] = v;
  row[kEndPoint] = v + 1;
  row[kRed] = red;
  row[kGreen] = green;
  row[kBlue] = blue;
  // A row reused from an earlier build keeps no kind or mark of the segment it held before.
  row[kSegKind] = 0;
  row[kDotMark] = 0;
  row[kLimitMarkKind] = 0;
  Scene.VertexCount = static_cast<int16_t>(v + 2);
  Scene.SegmentCount = static_cast<int16_t>(s + 1);
  return true;
}

bool AppendSegment(const Point3& p, const Point3& q, double red, double green, double blue,
                   double segKind) {
  const int s = Scene.SegmentCount;
  if (!AppendSegment(p, q, red, green, blue)) return false;
  Scene.SegmentTable[s][kSegKind] = segKind;
  return true;
}

}  // namespace ms
