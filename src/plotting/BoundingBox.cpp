#include "plotting/BoundingBox.h"

#include "plotting/SceneStore.h"

namespace ms {

namespace {
constexpr double kBoxGrey = 128;
constexpr int kBoxEdges = 12;
}  // namespace

void AddBoundingBox(double x1, double x2, double y1, double y2, double z1, double z2) {
  if (!SceneHasRoom(2 * kBoxEdges)) return;
  const Point3 edges[kBoxEdges][2] = {
      {{x1, y1, z1}, {x2, y1, z1}}, {{x2, y1, z1}, {x2, y2, z1}}, {{x2, y2, z1}, {x1, y2, z1}},
      {{x1, y2, z1}, {x1, y1, z1}}, {{x1, y1, z1}, {x1, y1, z2}}, {{x1, y1, z2}, {x2, y1, z2}},
      {{x2, y1, z2}, {x2, y2, z2}}, {{x2, y2, z2}, {x1, y2, z2}}, {{x1, y2, z2}, {x1, y1, z2}},
      {{x2, y1, z1}, {x2, y1, z2}}, {{x2, y2, z2}, {x2, y2, z1}}, {{x1, y2, z1}, {x1, y2, z2}},
  };
  for (const auto& e : edges) AppendSegment(e[0], e[1], kBoxGrey, kBoxGrey, kBoxGrey);
  StoreSceneCounts();
}

}  // namespace ms
