// Function and vector definitions: a user function statement (F_{x}=..., one to five one-letter
// parameters) becomes a FuncTable record, and a vector statement (A_<t>=...) a VecTable record; a
// vector given as a list of three components also gets its three component function records
// (X, Y and Z followed by the running ComponentFuncCounter).
#pragma once

#include <cstdint>

#include "language/WorksheetTables.h"

namespace ms {

// 0 when ConstTable 1..ConstCount holds exactly that name, else 377.
[[nodiscard]] int16_t CheckConstantDefined(const Text& id);

// Stores a function definition with k (1..5) parameters, header F_{x,y}= of 2k + 4 characters.
// One-parameter bodies have their vector component references resolved and a scalar vector
// operation (sDot[, sMag[, sMpy[, sDiv[, sPwr[) expanded. A failing step leaves the record
// appended.
[[nodiscard]] int16_t StoreFunctionDefinition(const Text& statement, int k);

// Rewrites the body of a one-parameter function (from the seventh character) with every vector
// component reference A_.x_ replaced by the component expression, and A_.x_|v by the component at
// the point v (a number or a constant identifier, optionally negative). Messages 325, 374, 375,
// 376, 377.
[[nodiscard]] int16_t ProcessComponentFunction(const Text& statement, Text& rebuilt);

// Appends the vector record of a statement A_<t>=definition: macros expanded when the definition
// begins with an operation or a macro call, the definition tokenised and IsOperation set. The
// components are made afterwards (ExpandVectorExpr or ProcessVectorDefinition).
[[nodiscard]] int16_t StoreVectorDefinition(const Text& statement);

// Makes the three component function records of a component-list vector <X,Y,Z> (nothing when the
// record is an operation). Messages 309, 310, 316, 515, 667, 57, 325, 377 and the table-full
// message of the function table; records appended before a failure stay.
[[nodiscard]] int16_t ProcessVectorDefinition(VecRec& rec);

// Checks that every constant identifier of a component exists (377); the scan ends before the last
// character.
[[nodiscard]] int16_t ResolveVectorComponentRef(const Text& component, const Text& parameter);

// The component expression: function identifiers replaced by "(" body ")", component references
// B_.y_ by the vector's component expression; constants and the parameter copied. Messages 57,
// 325, 316.
[[nodiscard]] int16_t ProcessVectorComponentExpr(const Text& component, const Text& parameter,
                                                 Text& result);

}  // namespace ms
