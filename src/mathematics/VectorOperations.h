// Vector algebra: a vector statement whose right side is an operation (vAdd[, vCross[, vRotx[,
// sMag[ ...) is expanded into three scalar component expressions, built as text, each stored as a
// new function record; scalar operations (sDot[, sMag[, sMpy[, sDiv[, sPwr[) expand into one text
// left on the scalar stack. Also the look-ups of a vector and of a constant by identifier.
#pragma once

#include <array>
#include <cstdint>

#include "language/WorksheetTables.h"

namespace ms {

constexpr int kVecStackSize = 400;
constexpr int kScalarStackSize = 400;

// The two operand stacks of an expansion, slots 1..400 (slot 0 unused), and the module state of the
// statement being expanded. A scalar record is a ConstRec: Name holds the identifier it came from
// or a marker ("d$" dot product, "m$" magnitude or computed scalar, "xx" negated scalar, "nPwr"
// numeric exponent, "nDer" derivative order), ValueText the built text, Spare2 -1 when the operand
// was written with a leading minus.
struct VectorStackState {
  std::array<VecRec, kVecStackSize + 1> VecStack;
  int16_t VecSP = 0;
  std::array<ConstRec, kScalarStackSize + 1> ScalarStack;
  int16_t ScalarSP = 0;
  Text CurrentStatement;  // DefText of the vector being defined
  Text CurrentExpr;       // the expression being expanded
  Text LastXName, LastYName, LastZName;
  // Running number of generated component functions ("X", "Y" or "Z" followed by it), shared
  // with component-list vector definitions; at most 999. The worksheet window resets it.
  int16_t ComponentFuncCounter = 0;
};

extern VectorStackState VectorStacks;

// Restores the start-up state of the stacks and module state (ComponentFuncCounter 0).
void ResetVectorStacks();

// A vector by identifier among VecTable 1..VecCount (exact compare): index and 0, or index 0 and
// 325.
[[nodiscard]] int16_t FindVector(const Text& id, int16_t& index);
// A constant by identifier among ConstTable 1..ConstCount: index and 0, or 326 with index left as
// it was.
[[nodiscard]] int16_t FindConstant(const Text& id, int16_t& index);

// Stack operations; a full stack gives 510, an empty pop 327 (vectors) or 328 (scalars), and
// neither changes anything.
[[nodiscard]] int16_t PushVector(const VecRec& rec);
[[nodiscard]] int16_t PopVector(VecRec& rec);
[[nodiscard]] int16_t PushScalar(const ConstRec& rec);
[[nodiscard]] int16_t PopScalar(ConstRec& rec);

// Normalises every vDiff[ call to the form token "[" id "," digit "]" (a missing order becomes 1);
// 540 for any other form.
[[nodiscard]] int16_t ParseVDiffArgs(const Text& text, Text& result);
// Applies the user macros, tokenises and reduces the text to operation tokens, "-", "#", digits
// and two-character identifiers (brackets and commas dropped, last character not copied).
[[nodiscard]] int16_t ExpandVectorMacros(const Text& text, Text& result);

// Expands one vector definition or scalar expression of the current statement. `idOrExpr` is the
// identifier of the vector being defined (the last VecTable record) or a scalar expression
// beginning with the token of sDot[, sMag[, sMpy[, sDiv[ or sPwr[. A vector result replaces the
// component fields of the current vector and appends three component function records; a scalar
// result is left on the scalar stack for the caller to pop. The stacks are emptied on entry.
[[nodiscard]] int16_t ExpandVectorExpr(const Text& idOrExpr);

// The expression with every occurrence of the one-letter parameter replaced by the value, except
// inside identifiers (an upper-case letter with its next character, a two-character constant
// identifier), whose second letter may be the parameter's.
Text ReplaceParameterLetter(const Text& expr, const Text& parm, const Text& value);

// Called before the component records of vector rec are made once more. From its third making
// on, the records of the making before (named by its component fields) leave the function table,
// the records after them moving up, so that the new ones appended at the end replace them: a
// vector made again after every statement keeps two sets of records, not one set per statement.
// The records of the defining statement stay where they stand.
void ReleaseComponentRecords(VecRec& rec);

// Runs one operation (its token character, "#" or "-") on the stacks.
[[nodiscard]] int16_t VectorOp(char16_t token);

}  // namespace ms
