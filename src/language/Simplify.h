// The expression simplifier: a caller-chosen list of character-level passes that remove redundant
// parentheses. Deletions are marked with blanks while a pass scans and removed at its end, so
// positions stay stable during the scan.
#pragma once

#include "platform/runtime/Runtime.h"

namespace ms {

// Runs the passes of the list "[d,d,...]" in order. expr and result may be the same text. A list
// that does not start with "[" is a programming error: "Programmer Error" box, then the program
// ends (result unchanged).
void Simplify(const rt::Text& expr, const rt::Text& passList, rt::Text& result);
// Runs the pass of one digit; any other selector leaves result untouched.
void RunSimplifyPass(const rt::Text& expr, const rt::Text& digit, rt::Text& result);

// Longest expression pass 1 works on; a longer one gives message 960's box and "".
constexpr long kMaxSimplifyLength = 32000;

rt::Text RemoveBlanks(const rt::Text& s);        // 0: every " " removed
rt::Text DropParensOnSingle(const rt::Text& s);  // 1: (c) not beside an operator -> c
rt::Text DropParensOnNumber(const rt::Text& s);  // 2: (2.5) -> 2.5, one level per run
rt::Text DropNestedBrackets(const rt::Text& s);  // 3: [(...)] -> [...] inside a nesting
rt::Text DropZeroTimesGroup(const rt::Text& s);  // 4: 0*(...) -> 0
rt::Text DropGroupTimesZero(const rt::Text& s);  // 5: (...)*0 -> 0
rt::Text DropOneTimes(const rt::Text& s);        // 6: +1*x -> +x
rt::Text DropTimesOne(const rt::Text& s);        // 7: x*1 -> x
rt::Text PrefixZeroSign(const rt::Text& s);      // 8: -x -> 0-x
rt::Text StripOuterParens(const rt::Text& s);    // 9: ((a+b)) -> a+b

}  // namespace ms
