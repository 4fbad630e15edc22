#include "language/RunProgress.h"

#include <chrono>

#include "language/CommandRequests.h"
#include "platform/ui/UiServices.h"

namespace ms {

void DrawProgress(const rt::Text& bar, int16_t& total, int16_t done) {
  if (total < 1) total = 1;
  const int part = done % total;
  ui::Ui().ShowProgress(bar, part > 0 ? static_cast<double>(part) / total : 0.0);
}

namespace {
// When events are next to run.
std::chrono::steady_clock::time_point g_nextEvents{};
// Polls left before the clock is read again. A poll stands for one value or a few (a Simpson
// node), a few nanoseconds each at the least: reading the clock at every one cost a fifth of a
// double integral, reading it every 1,024th costs nothing measurable, and even values of a
// millisecond each still let events run within about a second.
constexpr int kPollsPerClockRead = 1024;
int g_pollsLeft = 0;
}  // namespace

void RestartAbortPoll() {
  g_nextEvents = {};
  g_pollsLeft = 0;
}

bool PollAbort() {
  if (--g_pollsLeft <= 0) {
    g_pollsLeft = kPollsPerClockRead;
    constexpr auto kEventInterval = std::chrono::milliseconds(200);
    const auto now = std::chrono::steady_clock::now();
    if (now >= g_nextEvents) {
      g_nextEvents = now + kEventInterval;
      ui::Ui().DoEvents();
    }
  }
  return RunFlags.AbortRun != 0;
}

}  // namespace ms
