// Small routines many modules share: function and range-constant look-ups, the reader of one range
// value of a command, the "(-" rewrite, single-character splicing, the progress bar and the file
// title of a path, and the abort poll of long loops. Positions are 1-based.
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

// dst := src without blanks and with every "(-" written "(0-".
void FixLeadingMinus(const rt::Text& src, rt::Text& dst);

// Replaces the character at pos by the insert (text becomes its first pos - 1 characters, the
// insert, then the characters after pos). A position outside the text leaves the text unchanged.
void SpliceString(rt::Text& text, int32_t pos, const rt::Text& insert);
rt::Text ReplaceCharAt(const rt::Text& text, int16_t pos, const rt::Text& insert);

// For every step of a long loop: lets pending events run (so that Esc reaches its handler) when a
// fifth of a second has passed since they last ran; otherwise it costs one read of the monotonic
// clock. True when the run is to stop (RunFlags.AbortRun set).
bool PollAbort();
// Makes the next PollAbort let events run at once (a command calls it when it starts).
void RestartAbortPoll();

// Progress bar names (the picture boxes of the worksheet and graph windows).
inline const rt::Text kWorksheetProgressBar = u"picProgressBar";
inline const rt::Text kGraphProgressBar = u"Picture1";

// Draws the bar done/total on the named bar; total below 1 is taken as 1 (the caller's variable
// is changed) and done counts modulo total, so done == total shows an empty bar.
void DrawProgress(const rt::Text& bar, int16_t& total, int16_t done);

// The file name of a path without folder ("\" separated) and without the part from its first "."
// (when that "." is not the first character).
rt::Text FileTitleNoExt(const rt::Text& path);

}  // namespace ms
