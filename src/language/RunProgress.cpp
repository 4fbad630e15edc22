#include "language/RunProgress.h"

#include <cmath>

#include "language/CommandRequests.h"
#include "platform/ui/UiServices.h"

namespace ms {

void DrawProgress(const rt::Text& bar, int16_t& total, int16_t done) {
  if (total < 1) total = 1;
  const int part = done % total;
  ui::Ui().ShowProgress(bar, part > 0 ? static_cast<double>(part) / total : 0.0);
}

CommandProgress::CommandProgress(double steps) : steps_(steps >= 1 ? steps : 1) {
  Step(0);
}

void CommandProgress::Step(double done) {
  if (!(done >= next_)) return;
  const double fraction = done >= steps_ ? 1.0 : done / steps_;
  const int thousandths = static_cast<int>(fraction * 1000);
  // Past the end nothing moves any more.
  next_ = thousandths >= 1000 ? HUGE_VAL : (thousandths + 1) * steps_ / 1000;
  ui::Ui().ShowProgress(kWorksheetProgressBar, thousandths / 1000.0);
}

namespace {
// Steps still to count before events run again.
int g_stepsToEvents = 0;
}  // namespace

void RestartAbortPoll() {
  g_stepsToEvents = 0;
}

bool PollAbort(int steps) {
  g_stepsToEvents -= steps;
  if (g_stepsToEvents <= 0) {
    g_stepsToEvents = kStepsPerEvents;
    ui::Ui().DoEvents();
  }
  return RunFlags.AbortRun != 0;
}

}  // namespace ms
