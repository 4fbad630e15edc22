// What a long computation is handed so that the program stays responsive without the method
// knowing the screen: letEventsRun lets pending events (Esc among them) be handled, aborted tells
// whether the user asked to stop, step reports that `done` of `total` steps are finished (for a
// progress bar). Any may be empty: then no events run, nothing stops, or no progress is shown.
#pragma once

#include <functional>

namespace ms {

struct ProgressSink {
  std::function<void()> letEventsRun;
  std::function<bool()> aborted;
  std::function<void(double done, double total)> step;

  void LetEventsRun() const {
    if (letEventsRun) letEventsRun();
  }
  bool Aborted() const { return aborted && aborted(); }
  void Step(double done, double total) const {
    if (step) step(done, total);
  }
};

}  // namespace ms
