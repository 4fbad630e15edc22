// The statement checker: the gate every worksheet statement passes before it is classified. A
// fixed chain of character-level checks runs in order, each returning a message number (0 =
// accepted); the first non-zero number ends the check. An accepted statement is appended to
// StatementList in its stored form: blanks removed, unary plus dropped, built-in names tokenised
// and one-letter identifiers padded (StatementKinds.h).
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Checks one statement (as the worksheet reader hands it over) and appends it to StatementList
// with StmtNo = CurrentStmtNo. Commands (Plot[, Zero[, the field, contour and ODE commands and the
// integrals a=Integ[ / ab=dblInt[) are appended blank-free and untokenised without any check; a
// macro definition (vMacro[) gets only the macro parameter check. An empty statement returns at
// once. Success: returns 0, statement and outText are set to "". Failure: returns the first error,
// outText the working text as it stood when the failing check ran; nothing is appended. A full
// StatementList is the append helper's message.
[[nodiscard]] int16_t CheckStatementSyntax(rt::Text& statement, rt::Text& outText);

// outText := text without the plus signs that follow "=", "(", "[", "{", ",", "|" or "<".
void RemoveUnaryPlus(const rt::Text& text, rt::Text& outText);

// The checks of the chain, in chain order. Each returns 0 or its message number.
// Counts of ( [ { < and proper nesting: 260-265, 269, 270, 275.
[[nodiscard]] int16_t CheckBracketBalance(const rt::Text& text);
// The bracket balance of each component of every <X,Y,Z> after the first "=".
[[nodiscard]] int16_t CheckVectorComponentBalance(const rt::Text& text);
// The first comma from the 0-based position from that is not between the braces of a call (whose
// arguments have commas of their own), or npos: the end of a vector component <X,Y,Z>.
size_t CommaOutsideBraces(const rt::Text& text, size_t from);
// <> () [] {} [[ {{: 427-432.
[[nodiscard]] int16_t CheckEmptyGroups(const rt::Text& text);
// "{" only after a letter, and not after a lower-case name: 267, 268.
[[nodiscard]] int16_t CheckBraceUse(const rt::Text& text);
// The statement's last character: 400, 478.
[[nodiscard]] int16_t CheckLastSymbol(const rt::Text& text);
// Decimal points: 436, 437, 438.
[[nodiscard]] int16_t CheckDecimalPoints(const rt::Text& text);
// Two operators in a row: 435.
[[nodiscard]] int16_t CheckOperatorPairs(const rt::Text& text);
// More than one "=" outside the parameter set: 410.
[[nodiscard]] int16_t CheckEqualsCount(const rt::Text& text);
// Commas outside argument lists: 412.
[[nodiscard]] int16_t CheckCommaUse(const rt::Text& text);
// Number and exponent forms: 418-424.
[[nodiscard]] int16_t CheckNumberFormat(const rt::Text& text);
// Which character may follow which, on the stored form: 444-451, 465-470, 475-477, 666, 1300.
[[nodiscard]] int16_t CheckSymbolAdjacency(const rt::Text& text);

}  // namespace ms
