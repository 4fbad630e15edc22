// Orientation aids of the field plots and of the graph's "Box ?" option.
#pragma once

namespace ms {

// Appends the twelve grey (128, 128, 128) edges of the box [x1, x2] x [y1, y2] x [z1, z2] and
// stores the counts for the drawing. A box that no longer fits the store is left out whole.
void AddBoundingBox(double x1, double x2, double y1, double y2, double z1, double z2);

}  // namespace ms
