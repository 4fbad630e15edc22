// A double integral over a region bounded by two constant outer limits and two inner limit
// functions of the outer variable, by composite Simpson rules nested in either order.
#pragma once

#include <functional>

#include "platform/runtime/ProgressSink.h"

namespace ms {

// f(x, y) and the limit functions c(u), d(u): the caller decides what a value that cannot be had
// gives.
using PlaneFunction = std::function<double(double x, double y)>;
using LineFunction = std::function<double(double u)>;

// The outer rule over u in [a, b] (outerPanels) of the inner rule over v in [c(u), d(u)]
// (innerPanels); the inner variable v is y (f(u, v)) when yInner, x (f(v, u)) otherwise. Panel
// counts are even. Every node lets events run and asks the sink whether to stop; a stopped rule
// gives 0. Each value of f is a step of (outerPanels + 1) x (innerPanels + 1). A value of f, c or d
// that is the evaluator's 0/0 is replaced by the function's limit there from inside the region.
// pole is set when a value of f, c or d is at the guarded division's infinity or beyond, or not a
// number, or is 0/0 without a finite limit; the rule stops there and gives 0. A value that is not
// a number at a node on the region's edge (an end of either rule) counts as 0; at any other node,
// with undefinedInside given, the rule stops, gives 0 and sets *undefinedInside instead of pole.
[[nodiscard]] double NestedSimpson(const PlaneFunction& f, const LineFunction& c,
                                   const LineFunction& d, double a, double b, double outerPanels,
                                   double innerPanels, bool yInner, const ProgressSink& progress,
                                   bool& pole, bool* undefinedInside = nullptr);

// Panel counts are used as even whole numbers: Int(count + 0.1), raised by 1 when odd.
double EvenPanelCount(double count);

}  // namespace ms
