// The value of a worksheet function at given arguments, obtained the way every numerical command
// gets it: an assignment text such as "f1=(F_{1.5,2})" is compiled and evaluated through
// EvaluateAssignment, the temporary result constant it appends is read and removed again.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Evaluates name{args[0],...,args[count-1]} with the result constant called resultName (two
// characters, e.g. u"f1"). Arguments are written in the plain number-to-text form. On success
// msgNo is 0 and value holds the result; on failure msgNo is the evaluator's message and both the
// function and constant tables are as they were.
void EvalFunctionCall(const rt::Text& resultName, const rt::Text& name, const double* args,
                      int count, double& value, int16_t& msgNo);

// A function identifier whose upper-case letter stands at 1-based position p, in its stored
// two-character form: the letter and a following lower-case letter, or the letter and "_". p moves
// past what was read.
rt::Text ReadFunctionId(const rt::Text& s, int& p);

// The value text of a constant without its enclosing parentheses: "(2.5)" gives "2.5"; a text
// without them is returned unchanged.
rt::Text StripValueParens(const rt::Text& valueText);

}  // namespace ms
