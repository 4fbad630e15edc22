#include "commands/CommandProgressSink.h"

#include "language/CommandRequests.h"

namespace ms {

ProgressSink CommandProgressSink(std::optional<CommandProgress>& bar, int stepsPerEvents) {
  ProgressSink sink;
  sink.letEventsRun = [stepsPerEvents] { (void)PollAbort(stepsPerEvents); };
  sink.aborted = [] { return RunFlags.AbortRun != 0; };
  sink.step = [&bar](double done, double total) {
    if (!bar) bar.emplace(total);
    bar->Step(done);
  };
  return sink;
}

}  // namespace ms
