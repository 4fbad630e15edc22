// Plot[ curves: the components of one vector are evaluated along the parameter range from their
// compiled code, the view box is widened to the curve (automatic axes), and the curve goes into
// the scene store segment by segment, each classified as a jump or not and coloured, followed by
// the dot-spacing marks and, on request, an arrow head.
#pragma once

#include <cstdint>

namespace ms {

// Builds the curve of the X, Y and Z component functions (1-based FuncTable indexes) over
// PlotTMin .. PlotTMax in PlotSteps steps (one point beyond the range is evaluated and its
// segment taken back). Each component's code is bound once with the parameter as its argument
// (Evaluate runs it where it cannot be bound, or while bindings are off). A point whose
// evaluation failed, or whose value rests on the ±1E+20 stand-in for a pole (a division by 0),
// breaks the curve there and leaves the view box as it was; a name that is neither the parameter
// nor defined
// (-1) fails at every point and stops the curve with its message before anything is added.
// Shows "The auto axis cannot be applied on one axis to a constant function." when the store is
// still empty. Returns 0 or -1.
[[nodiscard]] int16_t GenerateCurvePoints(int32_t xFunction, int32_t yFunction, int32_t zFunction);

// Point i (0 .. PlotSteps + 1) of the curve being built, in grid units: stored in the curve
// tables and, when valid, taken into the view box. Used by the evaluation loop; a test may fill a
// curve by hand with it.
void AcceptCurvePoint(int i, double x, double y, double z, bool valid);

// The steps after the evaluation: the 0.01 margin of the view box, the segments 0 .. PlotSteps - 1
// (the one beyond the range taken back), dot-spacing marks and the arrow head. Reads the points
// given to AcceptCurvePoint.
void BuildCurveFromPoints();

// Writes point k at row VertexCount and, when the segment k -> k+1 is kept, point k + 1 and the
// segment row at SegmentCount with its jump kind, limit-marker kind and colour. Returns whether
// the segment was kept; the caller advances the counts.
bool AddCurveSegment(int k);

}  // namespace ms
