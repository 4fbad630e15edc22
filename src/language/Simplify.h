// The expression simplifier: a caller-chosen list of character-level passes that remove redundant
// parentheses. Deletions are marked with blanks while a pass scans and removed at its end, so
// positions stay stable during the scan.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Runs the passes of the list "[d,d,...]" in order. expr and result may be the same text. A list
// that does not start with "[" is a programming error: "Programmer Error" box, then the program
// ends (result unchanged). Only pass 1 can fail (512): the list stops there, result unchanged.
void Simplify(const rt::Text& expr, const rt::Text& passList, rt::Text& result, int16_t& msgNo);
// The same for the lists without pass 1, which cannot fail.
void Simplify(const rt::Text& expr, const rt::Text& passList, rt::Text& result);
// Runs the pass of one digit; any other selector leaves result untouched.
[[nodiscard]] int16_t RunSimplifyPass(const rt::Text& expr, const rt::Text& digit,
                                      rt::Text& result);

// Longest expression pass 1 works on; a longer one is refused with kMsgSimplifyTooLong.
constexpr long kMaxSimplifyLength = 32000;
constexpr int16_t kMsgSimplifyTooLong = 512;

rt::Text RemoveBlanks(const rt::Text& s);  // 0: every " " removed
// 1: (c) not beside an operator -> c; a text over kMaxSimplifyLength comes back unchanged with 512.
rt::Text DropParensOnSingle(const rt::Text& s, int16_t& msgNo);
rt::Text DropParensOnNumber(const rt::Text& s);  // 2: (2.5) -> 2.5, one level per run
rt::Text DropNestedBrackets(const rt::Text& s);  // 3: [(...)] -> [...] inside a nesting
rt::Text DropZeroTimesGroup(const rt::Text& s);  // 4: 0*(...) -> 0
rt::Text DropGroupTimesZero(const rt::Text& s);  // 5: (...)*0 -> 0
rt::Text DropOneTimes(const rt::Text& s);        // 6: +1*x -> +x
rt::Text DropTimesOne(const rt::Text& s);        // 7: x*1 -> x
rt::Text PrefixZeroSign(const rt::Text& s);      // 8: -x -> 0-x
rt::Text StripOuterParens(const rt::Text& s);    // 9: ((a+b)) -> a+b

// The text is one parenthesised group: its first "(" is closed by its last character.
bool IsOneGroup(const rt::Text& s);

}  // namespace ms
