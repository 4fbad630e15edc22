// Direction fields of a plane vector field (F(x, y), H(x, y)): the command
// PlotDirField[F,H,{a,b,n}{c,d,m}letter] draws one arrow of fixed length (View.FieldVectorScale)
// per point of an n x m grid of [a, b] x [c, d], pointing along the vector. With a third function,
// PlotDirField[F,H,G,{a,b,n}{c,d,m}letter], every arrow is lifted to the height G(x, y) and the
// field is seen in three dimensions. Everything goes into the scene store.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/runtime/ProgressSink.h"
#include "platform/runtime/Runtime.h"
#include "plotting/FieldTables.h"

namespace ms {

// F, H and (for the lifted field) G bound by the command; g is not called without is3D.
struct DirFieldFunctions {
  FieldFunction f, h, g;
};

// The arrows of F, H (and G when is3D) over the grid; zMin and zMax go out as the range of G's
// values (0 and 0 without G), whatever they come in as. The vectors are evaluated unless
// run.replot is set and the vectors of this grid are kept from the last direction-field
// evaluation. The grid lines are a + i (b - a) / n and c + j (d - c) / m, the last at b and d. A
// point where G's value is the evaluator's stand-in for 0/0 or for an infinite value has no
// height: its arrow is left out, and the height range is that of the others. A grid of more than
// 15,000 points, or one whose arrows the picture has no room for, is refused with run.box before
// anything is evaluated or written (0 all the same). 0, or the message of the function that could
// not be evaluated (1032 F, 1034 H, 1036 G; 1036 also when every height was left out). Events run
// through progress while the values are evaluated; when it reports an abort, the build stops (0).
[[nodiscard]] int16_t BuildDirFieldArrows(const DirFieldFunctions& fn, bool is3D, double a,
                                          double b, double n, double c, double d, double m,
                                          double& zMin, double& zMax, const ProgressSink& progress,
                                          FieldRun& run);

}  // namespace ms
