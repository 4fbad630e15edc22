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

// The progress of one long command (dblInt[, Integ[, Zero[ at Execute) on the worksheet's bar.
// Its loop reports every step; the bar is drawn only when it moves by a thousandth, so that a step
// costs one comparison, and the screen side draws at most every 20 ms besides. The bar starts
// empty, and the last change is always drawn, so a completed command leaves it full.
class CommandProgress {
 public:
  // steps: the number of steps the command will report (below 1 is taken as 1).
  explicit CommandProgress(double steps);
  // Step `done` of the command is finished.
  void Step(double done);

 private:
  double steps_;
  double next_ = 0;  // the step at which the bar moves next
};

}  // namespace ms
