#include "language/RunProgress.h"

#include "language/CommandRequests.h"
#include "platform/ui/UiServices.h"

namespace ms {

void DrawProgress(const rt::Text& bar, int16_t& total, int16_t done) {
  if (total < 1) total = 1;
  const int part = done % total;
  ui::Ui().ShowProgress(bar, part > 0 ? static_cast<double>(part) / total : 0.0);
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
