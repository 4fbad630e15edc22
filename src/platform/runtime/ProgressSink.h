// What a long computation is handed so that the program stays responsive without the method
// knowing the screen: letEventsRun lets pending events (Esc among them) be handled, aborted tells
// whether the user asked to stop. Either may be empty: then no events run, or nothing stops.
#pragma once

#include <functional>

namespace ms {

struct ProgressSink {
  std::function<void()> letEventsRun;
  std::function<bool()> aborted;

  void LetEventsRun() const {
    if (letEventsRun) letEventsRun();
  }
  bool Aborted() const { return aborted && aborted(); }
};

}  // namespace ms
