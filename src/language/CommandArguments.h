// Reading the values of a command's arguments: the look-ups of a function and of a range
// constant, and the reader of one range value (a number or a constant, up to its terminator).
// Positions are 1-based.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Looks the identifier up in FuncTable (exact comparison). Found: firstParm := Parm1, index := its
// entry, msgNo := 0. Not found: firstParm := "", msgNo := 57, index unchanged.
void FindFunction(const rt::Text& id, rt::Text& firstParm, int16_t& index, int16_t& msgNo);

// Reads one range value (a number, or a constant identifier with an optional "-") at pos, which
// must be followed by the terminator. On success pos stands after the terminator. Messages: 333
// (end of text before the terminator), 6097 (nothing before the terminator), 313 (no identifier),
// 339 (no such constant), 1220 (identifier not followed by the terminator).
void ParseRangeValue(const rt::Text& stmt, int16_t& pos, double& value, const rt::Text& terminator,
                     int16_t& msgNo);

// Gathers the characters from pos up to the terminator. When they (without enclosing parentheses)
// are numeric text: found := true, numberText := them, pos := the terminator's position; otherwise
// found := false and numberText and pos are unchanged. 333 when the text ends before the
// terminator, 6097 when nothing stands before it.
void ScanNumber(const rt::Text& text, int16_t& pos, rt::Text& numberText, bool& found,
                const rt::Text& terminator, int16_t& msgNo);

// Looks the identifier up among the names of ConstTable (exact). Not found: 339, index unchanged.
void FindRangeConstant(const rt::Text& id, int16_t& index, int16_t& msgNo);

}  // namespace ms
