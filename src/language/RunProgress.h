// What a long command does every step: the abort poll (which lets events run so that Esc is seen)
// and the progress bars of the worksheet and graph windows.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// For every step of a long loop: lets pending events run (so that Esc reaches its handler) when a
// fifth of a second has passed since they last ran. The clock is read at every 1,024th call only;
// the others cost a count and the test of the flag. True when the run is to stop
// (RunFlags.AbortRun set).
bool PollAbort();
// Makes the next PollAbort let events run at once (a command calls it when it starts).
void RestartAbortPoll();

// Progress bar names (the picture boxes of the worksheet and graph windows).
inline const rt::Text kWorksheetProgressBar = u"picProgressBar";
inline const rt::Text kGraphProgressBar = u"Picture1";

// Draws the bar done/total on the named bar; total below 1 is taken as 1 (the caller's variable
// is changed) and done counts modulo total, so done == total shows an empty bar.
void DrawProgress(const rt::Text& bar, int16_t& total, int16_t done);

}  // namespace ms
