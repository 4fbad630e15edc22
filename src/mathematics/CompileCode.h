// The compiler: turns every record of FuncTable into prefix code for the evaluator. It works on
// the whole table at once, in table order, in three phases:
//  - preparation: built-in names to tokens, constants substituted by their value texts, the check
//    that constants hold numbers;
//  - expansion: calls of user functions replaced by their bodies (innermost first), then Diff[
//    calls replaced by derivative texts;
//  - code generation: numeric literals moved into ValueList (literal k at entry k), minus signs
//    rewritten as "M*", operator priorities, and a right-to-left operator-precedence pass that
//    writes the code.
//
// Code format: prefix order, read by the evaluator from its last character to its first.
// Operands are a literal's five counter digits and a grave accent, or a one-letter parameter;
// operators "+", "*", "/", "^"; "*" and "M" in front of a negated operand; a built-in function
// token in front of its argument's code and "%" after it. Equal priorities group from the left.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace ms {

// Capacities: characters of one expression being compiled, the operator stack (entries 1..10,000
// above the sentinel), characters of one call argument, expansions of calls in one record.
constexpr long kMaxCompileLength = 60000;
constexpr int kOpStackTop = 10000;
constexpr long kMaxArgumentLength = 20000;
constexpr long kMaxExpandedLength = 32000;
constexpr int kMaxExpansionsPerRecord = 5000;
constexpr int32_t kLastLiteralCounter = 99999;

// Message numbers of the compiler.
constexpr int16_t kMsgRecursion = 103;
constexpr int16_t kMsgArgumentOverflow = 229;
constexpr int16_t kMsgConstantNotNumber = 501;
constexpr int16_t kMsgFunctionNotFound = 502;
constexpr int16_t kMsgExponentDigit = 506;
constexpr int16_t kMsgArgumentCount = 507;      // a call's arguments do not match the parameters
constexpr int16_t kMsgExpressionTooLong = 508;  // an expression or its nesting beyond capacity

// The compile keeps the results of its text stages after expansion by their input text (a pure
// function of it), so records that did not change since an earlier compile cost a look-up. It
// also keeps, for each record, the text its last compile left and the code made from it: a record
// that comes back with that text (or that text in the pair of parentheses a definition statement
// adds, or the text it was made with) and holds no name of a constant now defined goes through
// the preparation and the expansion untouched and keeps its code, so a statement costs a
// comparison per record that it does not change, from one statement and one Execute to the next.
// Off, every record is compiled in full (the differential tests compare the two); a reset
// forgets them.
void SetCompileMemoEnabled(bool enabled);
void ClearCompileMemo();

// Compiles the whole function table: PrepareFunctions, ExpandDerivatives, CompileAllFunctions,
// stopping at the first message. text is written only on 501 (the offending value text).
[[nodiscard]] int16_t CompileFunctions(rt::Text& text);

// Tokens in every Expr and ValueText, the 501 check, constants substituted into every Expr.
[[nodiscard]] int16_t PrepareFunctions(rt::Text& text);
// Every constant up to the first locked one: each occurrence of its two-character name replaced
// by its value text, put in parentheses when it does not already stand in a pair of its own. A text
// that holds none of their names is returned as it is without being read again.
void SubstituteConstants(const rt::Text& expression, rt::Text& result);

// Calls of user functions expanded in every record, innermost first, then braces written as
// brackets; then every Diff[ call replaced by its derivative. Messages: 502, 229, 507, 103, 508,
// the call list's 395 and those of ProcessDiff.
[[nodiscard]] int16_t ExpandDerivatives();
// Fills CallList 1..count with the calls of user functions in the expression (an upper-case
// letter followed by a lower-case letter or "_"), with their position and depth (ten times the
// brace nesting plus 1). The identifier after a Diff[ token is skipped, and so is the sign or
// digit after an exponent mark "E".
[[nodiscard]] int16_t ListFunctionCalls(const rt::Text& expression, int16_t& count);
// The deepest call (the later one of equal depths): its identifier and position; its depth is
// set to 0.
void TakeDeepestCall(int16_t count, int16_t& position, rt::Text& identifier);
// Replaces the call at position (1-based) by the body of record recordIndex, every parameter
// letter replaced by its argument in parentheses, all parameters at once. Appends the result to
// the results list.
// The body of record recordIndex for the call whose "{" stands at the 0-based position open:
// every parameter letter replaced by its argument in parentheses, all parameters at once, the
// body in one pair of parentheses more for each parameter after the first. close receives the
// position of the call's "}". Messages: 502 (no such record), 229 (no "{", an argument without
// end or too long), 507 (arguments and parameters do not match), 508 (a body longer than an
// expansion may be).
[[nodiscard]] int16_t SubstituteArguments(const rt::Text& expression, int16_t recordIndex,
                                          size_t open, rt::Text& body, size_t& close);
[[nodiscard]] int16_t ExpandFunctionCalls(const rt::Text& expression, int16_t recordIndex,
                                          int16_t& position, rt::Text& result);

// ValueTop and LiteralCount back to 1, then every record compiled into Code.
[[nodiscard]] int16_t CompileAllFunctions();
// Stores a literal: LiteralCount + 1, ValueTop := LiteralCount, the entry gets the literal's
// name ("$", five digits, grave accent) and value. A full value list gives 394 and changes
// nothing.
[[nodiscard]] int16_t TableStore(const rt::Text& literalText, rt::Text& literalName);
// The expression wrapped in two pairs of parentheses with every number replaced by a literal
// name. A parameter named e is not read as an exponent mark.
[[nodiscard]] int16_t ReplaceLiterals(const rt::Text& expression, rt::Text& result);
// "-" after "(" or "[" (or first) becomes "M*"; every other "-" becomes "+M*".
void ReplaceMinus(const rt::Text& expression, rt::Text& result);
// The priority of every operator character (index 0 for the first character).
void ComputePriorities(const rt::Text& expression, std::vector<int16_t>& priorities);
// The prefix code of an expression whose priorities are computed. 508 when the operator stack
// overflows.
[[nodiscard]] int16_t ToStackCode(const rt::Text& expression,
                                  const std::vector<int16_t>& priorities, rt::Text& code);

}  // namespace ms
