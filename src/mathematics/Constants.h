// Constant statements and the value of an expression written as text. EvaluateAssignment is the
// one door through which any part of the program gets a value by text: the expression goes into a
// temporary function record after the last one, the whole function table is compiled and
// evaluated, and the value comes back as text and as a new constant.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// The value of a text such as "f1=(F_{1.5})": two name characters, "=", and the expression from
// the fourth character on (stored identifiers, numeric arguments; not syntax-checked).
// Success: returns 0; valueText = name "=" value; ConstTable has one more record {Kind 0, Name the
// two characters, Expr the expression as the compile left it, ValueText "(" value ")"}; every
// function's Value is recomputed.
// On every exit, failure included, FuncCount is back to its value before the call and the
// temporary record is cleared; on a failure no constant is added. Messages: those of the compile
// and the evaluation, and the table-full messages of the constant and function tables.
[[nodiscard]] int16_t EvaluateAssignment(const rt::Text& text, rt::Text& valueText);

// The value of a bare expression text: a numeric text comes back unchanged; anything else is
// compiled and evaluated through a temporary record. No constant is added; FuncCount and the
// temporary record are restored on every exit.
[[nodiscard]] int16_t EvaluateText(const rt::Text& text, rt::Text& valueText);

// The code of an expression compiled exactly as EvaluateAssignment compiles it (whole table, the
// expression in the temporary record after the last), for binding: code is written when the
// compile succeeds. Returns the compile's or the evaluation's message; -1 (an unknown name, such
// as the letters that stand for arguments) is not a failure here and returns 0.
[[nodiscard]] int16_t CompileExpressionCode(const rt::Text& expression, rt::Text& code);

// A value as text that the standard text-to-double conversion reads back to the same double
// (shortest round-trip digits, "E" exponent). An infinite value is written +-1E+20 and an
// undefined one 0, as the guarded arithmetic does.
rt::Text ValueToText(double value);

// A checked constant statement in stored form ("ab=..."): component references A_.x_|arg are
// replaced by the component expression at the argument, user function calls are wrapped in
// parentheses, and the value is stored as a constant through EvaluateAssignment. Messages 418,
// 325, 630, 620, 376, 375, 377 and those of EvaluateAssignment.
[[nodiscard]] int16_t ProcessConstantStatement(const rt::Text& statement);

// 418 when a comma stands outside every user function call.
[[nodiscard]] int16_t CheckConstantHeader(const rt::Text& statement);

}  // namespace ms
