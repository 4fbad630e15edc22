// Scene geometry: the view transform and perspective projection of the scene, the view-box test,
// arrow heads on curves and the crosses of the xy plane.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Turns every point row of ViewXYZ in use into eye coordinates for RotationAngle (about the
// vertical axis) and ElevationAngle, adding EyeDistance to the depth, and keeps the two angles as
// View.DrawnRotation and View.DrawnElevation.
void RotateView();

// An angle in whole degrees, halves to even, "-" before negatives and no blank ("0" for an angle
// too large to show).
rt::Text WholeDegrees(double radians);

// Perspective projection of ViewXYZ in place: columns 0 and 1 become picture coordinates (y
// downward, flipped against View.DisplayScaleHeight), column 2 keeps the eye depth. The depth is
// limited to -999..999 for the divisor only.
void ProjectView();

// -1 when point i of VertexXYZ lies outside the view box (bounds count as inside), 0 otherwise;
// also stored in Scene.OutsideViewBox. A row outside the store counts as outside.
int16_t IsOutsideViewBox(int i);

// Appends the two barbs of an arrow head at head, pointing away from tail, in the given colour.
// A flat arrow (both ends within 0.001 of z = 0) lies in z = 0; otherwise the barbs follow the
// direction angles and ZAxisNeeded is set. A zero-length arrow shows a message and appends
// nothing; so does a full store.
void AddVectorArrow(double tailX, double tailY, double tailZ, double headX, double headY,
                    double headZ, int16_t count, int32_t red, int32_t green, int32_t blue);

// One grid dash of 0.1 grid units about (x, y, 0) along x or along y, in colour (packed RGB),
// kind structure. Appends only while VertexCount is at most 25,000 and returns whether it did.
// The caller advances the counts.
bool AddGridDashX(double x, double y, int32_t colour);
bool AddGridDashY(double x, double y, int32_t colour);

// A cross at every whole-numbered point of the xy plane over the view box, quadrant by quadrant
// from the origin outward, in colour (packed RGB, the XY-plane colour); stops once more than
// 25,000 points are stored.
void AddGridCrosses(int32_t colour);

}  // namespace ms
