// Symbolic differentiation by rewriting text. A Diff[ call (Diff[F,x], Diff[F,x|2], Diff[F,x,3],
// Diff[F,x,2|ab]) is replaced by the derivative of the named function's expression written out
// as ordinary infix text in parentheses, so that the compiler and the evaluator never see a
// derivative operator. Differentiate applies the sum, product, quotient, power and chain rules
// recursively, splitting the expression at its top operator; the builders write the result with
// the obvious simplifications (0 and 1 operands dropped, numbers folded).
//
// Expressions are in token form (built-in names as one token character and "["); ProcessDiff
// finds "Diff[" spelled out and returns its whole text spelled out.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace ms {

// Longest expression Differentiate accepts (537), and its deepest nesting (538). A sum, and a
// product or quotient whose right operand is free of the variable, is taken term by term, so
// only brackets, built-ins, powers and products of two variable factors count as nesting.
constexpr long kMaxDiffLength = 32000;
constexpr int kMaxDiffDepth = 500;

// Replaces every Diff[ call of the expression. On an error the result is not written.
// Messages: 530, 531, 532 (call form), 533, 534 (order), 535, 536 (point), 537 (length), 538
// (nesting), 512 (a derivative too long to simplify), and those of FindFunction.
[[nodiscard]] int16_t ProcessDiff(const rt::Text& expression, rt::Text& result);

// The derivative of e with respect to the one-letter variable x ("" for an empty e); on an error
// the derivative is "".
[[nodiscard]] int16_t Differentiate(const rt::Text& e, const rt::Text& x, rt::Text& derivative);

// The tail of a call from position q (1-based, the character after the variable): the form
// (1 "]", 2 "|id]", 3 "|number]", 4 ",n]", 5 ",n|id]", 6 ",n|number]"), the point text, the
// order (1 for forms 1 to 3) and the position of the call's closing "]".
[[nodiscard]] int16_t ParseDiffArgs(const rt::Text& text, long q, int16_t& form, rt::Text& point,
                                    int16_t& order, long& callEnd);
// The point text from pos up to the next "]", cleaned: 535 when no "]" follows, 536 when it is
// not numeric (point then ""). rawLength receives the number of characters read.
[[nodiscard]] int16_t ParseDiffOrder(const rt::Text& text, long pos, long& rawLength,
                                     rt::Text& point);

// Every occurrence of the variable character replaced by "(" value ")", wherever it stands.
rt::Text SubstituteVar(const rt::Text& expression, const rt::Text& var, const rt::Text& value);

// Result builders.
rt::Text MakeSum(const rt::Text& a, const rt::Text& b);
rt::Text MakeDifference(const rt::Text& a, const rt::Text& b);
rt::Text MakeProduct(const rt::Text& a, const rt::Text& b);
rt::Text MakeQuotient(const rt::Text& a, const rt::Text& b);
rt::Text MakePower(const rt::Text& a, const rt::Text& b);
rt::Text MakeSquare(const rt::Text& a);
rt::Text MakeLn(const rt::Text& a);
rt::Text PowerRuleTerm(const rt::Text& a, const rt::Text& n);

// The text between the first "[" and the "]" that balances it.
rt::Text BracketArgument(const rt::Text& e);
// Priorities of every character: letters, digits, blanks, "," and "." -1 (and the sign of an
// exponent such as 1E-5); "+" "-" depth + 1, "*" "/" depth + 2, "^" depth + 3, a built-in token
// depth + 5; "(" and "[" raise the depth by 10, ")" and "]" lower it; others 0.
void ScanOperators(const rt::Text& e, std::vector<int32_t>& priorities);
// The operator with the smallest positive priority up to 100 (the rightmost of equals): its text
// and 1-based position; "" and 0 when there is none.
void SplitTopOperator(const rt::Text& e, rt::Text& op, long& position);
rt::Text TrimUnbalancedParens(const rt::Text& e);
bool IsFreeOfVar(const rt::Text& e, const rt::Text& x);
bool IsNumericStr(const rt::Text& s);
bool StrEquals(const rt::Text& a, const rt::Text& b);
// The simplifier passes 1, 2, 3 and 1 again, then the pass list "[3,9]". A text too long for the
// simplifier gives its message (512) and leaves output unwritten.
[[nodiscard]] int16_t CleanExpr(const rt::Text& input, rt::Text& output);
// The text with the character at the 1-based position replaced by the insert.
rt::Text SpliceAt(const rt::Text& s, long position, const rt::Text& insert);

}  // namespace ms
