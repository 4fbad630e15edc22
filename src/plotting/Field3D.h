// Vector fields of space (F(x, y, z), G(x, y, z), H(x, y, z)): the command
// PlotField3D[F,G,H,{a,b,n}{c,d,m}{e,f,k}letter] draws one arrow of fixed length
// (View.FieldVectorScale) per point of an n x m x k grid of the box [a, b] x [c, d] x [e, f],
// pointing along the vector, with axes and, when "Box ?" is answered Yes, the box. Everything goes
// into the scene store.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/runtime/ProgressSink.h"
#include "platform/runtime/Runtime.h"
#include "plotting/FieldTables.h"

namespace ms {

// The arrows of the three functions (bound by the command) over the grid, z outermost, then
// y, then x. The vectors are evaluated unless run.replot is set and the vectors of this grid
// are kept from the last space-field evaluation. A grid of more than 15,000 points, or one whose
// arrows the picture has no room for, is refused with run.box before anything is evaluated or
// written (0 all the same). 0, or the message of the function that could not be evaluated.
// Events run through progress while the values are evaluated; when it reports an abort, the build
// stops (0).
[[nodiscard]] int16_t BuildField3DArrows(const std::array<FieldFunction, 3>& fns, double a,
                                         double b, double n, double c, double d, double m, double e,
                                         double f, double k, const ProgressSink& progress,
                                         FieldRun& run);

}  // namespace ms
