// IVP[ and BVP[: each statement is read into its arguments, its functions are bound as the
// right-hand side of the system x' = F(t, x, y, ...), y' = G(t, x, y, ...), and the method of
// numerics is run on it (or, with Replot, draws the stored rows again).
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Parses and solves one IVP[ statement: 0 on success, else the first error's number.
[[nodiscard]] int16_t ProcessIVP(const rt::Text& statement);

// Parses a stored BVP[ statement (blanks already removed) and runs its method. Returns 0 on
// success, else the first failure: 3500-3560 for the statement's form, 3045 (no closing "]" in
// the linear form), 3050 (right boundary not beyond the left one, linear form), 3059 (negative
// factor), 3552 (no "{" before the slopes), 336 (fewer than one step), the range reader's and
// FindFunction's numbers, and what the method returns (2100, 2110 to 2114, 3990).
[[nodiscard]] int16_t ProcessBVP(const rt::Text& statement);

}  // namespace ms
