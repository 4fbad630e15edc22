// The worksheet's side of the differential-equation methods: the right-hand side y' = f(t, y) of
// one to four worksheet functions, each called with (t, y1, ..., yn), bound as the callable the
// methods take, and the progress sink through which the methods let events run and see Esc.
#pragma once

#include <cstdint>

#include "numerics/Rkf45Step.h"
#include "platform/runtime/Runtime.h"

namespace ms {

// The road by which a bound right-hand side obtains a value: EvalFunctionCall unless a test has
// wrapped it (to count or record the evaluations, or answer some functions natively).
using RhsEvaluator = int16_t (*)(const rt::Text& resultName, const rt::Text& name,
                                 const double* args, int count, double& value);
RhsEvaluator& RhsEvaluatorEntry();
void ResetRhsEvaluator();

// dydt[j] = ids[j]{t, y[0], ..., y[n-1]} for j = 0..n-1 (n from 1 to 4; ids in their
// two-character form), evaluated in that order; the first value that cannot be had ends the
// evaluation with 2100. Each value takes a temporary result constant: f1, f2, f3 for one to three
// equations, f1 for all four of four.
OdeRhs BindWorksheetRhs(const rt::Text* ids, int n);

// Events run through the screen interface; with heedEsc, RunFlags.AbortRun stops the method.
ProgressSink WorksheetProgress(bool heedEsc);

}  // namespace ms
