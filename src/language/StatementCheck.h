// The statement checker: the gate every worksheet statement passes before it is classified. A
// fixed chain of character-level checks runs in order, each returning a message number (0 =
// accepted); the first non-zero number ends the check. An accepted statement is appended to
// StatementList in its stored form: blanks removed, unary plus dropped, built-in names tokenised
// and one-letter identifiers padded (ExpressionTypes.h).
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Checks one statement (as the worksheet reader hands it over) and appends it to StatementList
// with StmtNo = CurrentStmtNo. Commands (Plot[, Zero[, the field, contour and ODE commands and the
// integrals a=Integ[ / ab=dblInt[) are appended blank-free and untokenised without any check; a
// macro definition (vMacro[) gets only the macro parameter check. An empty statement returns at
// once. Success: statement and outText are set to "". Failure: msgNo is the first error and
// outText the working text as it stood when the failing check ran; nothing is appended. A full
// StatementList is the append helper's message.
void CheckStatementSyntax(rt::Text& statement, rt::Text& outText, int16_t& msgNo);

// outText := text without the plus signs that follow "=", "(", "[", "{", ",", "|" or "<".
void RemoveUnaryPlus(const rt::Text& text, rt::Text& outText);

// The checks of the chain, in chain order. Each sets msgNo to 0 or its message number.
// Counts of ( [ { < and proper nesting: 260-265, 269, 270, 275.
void CheckBracketBalance(const rt::Text& text, int16_t& msgNo);
// The bracket balance of each component of every <X,Y,Z> after the first "=".
void CheckVectorComponentBalance(const rt::Text& text, int16_t& msgNo);
// <> () [] {} [[ {{: 427-432.
void CheckEmptyGroups(const rt::Text& text, int16_t& msgNo);
// "{" only after a letter, and not after a lower-case name: 267, 268.
void CheckBraceUse(const rt::Text& text, int16_t& msgNo);
// The statement's last character: 400, 478.
void CheckLastSymbol(const rt::Text& text, int16_t& msgNo);
// Decimal points: 436, 437, 438.
void CheckDecimalPoints(const rt::Text& text, int16_t& msgNo);
// Two operators in a row: 435.
void CheckOperatorPairs(const rt::Text& text, int16_t& msgNo);
// More than one "=" outside the parameter set: 410.
void CheckEqualsCount(const rt::Text& text, int16_t& msgNo);
// Commas outside argument lists: 412.
void CheckCommaUse(const rt::Text& text, int16_t& msgNo);
// Number and exponent forms: 418-424.
void CheckNumberFormat(const rt::Text& text, int16_t& msgNo);
// Which character may follow which, on the stored form: 444-451, 465-470, 475-477, 666, 1300.
void CheckSymbolAdjacency(const rt::Text& text, int16_t& msgNo);

}  // namespace ms
