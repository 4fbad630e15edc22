// What a long command does every step: the abort poll (which lets events run so that Esc is seen)
// and the progress bars of the worksheet and graph windows.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Steps of a long loop between two runs of the event loop. A step is one function value, one
// node or panel, one bisection, one listed record: a few microseconds when the function is bound,
// about a millisecond on the text path of a large table, so that events run well within a fifth
// of a second either way. A loop whose every step is dearer (a statement of the reader) passes
// kStepsPerEvents and lets events run at every step.
constexpr int kStepsPerEvents = 16;

// For every step of a long loop: counts `steps` and lets pending events run (so that Esc reaches
// its handler) once kStepsPerEvents have been counted since they last ran. No clock is read here;
// the screen's event pump keeps its own pace. True when the run is to stop (RunFlags.AbortRun
// set).
bool PollAbort(int steps = 1);
// Makes the next PollAbort let events run at once (a command calls it when it starts).
void RestartAbortPoll();

// Progress bar names (the picture boxes of the worksheet and graph windows).
inline const rt::Text kWorksheetProgressBar = u"picProgressBar";
inline const rt::Text kGraphProgressBar = u"Picture1";

// Draws the bar done/total on the named bar; total below 1 is taken as 1 (the caller's variable
// is changed) and done counts modulo total, so done == total shows an empty bar.
void DrawProgress(const rt::Text& bar, int16_t& total, int16_t done);

}  // namespace ms
