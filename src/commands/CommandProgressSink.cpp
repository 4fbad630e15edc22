#include "commands/CommandProgressSink.h"

#include "language/CommandRequests.h"

namespace ms {

ProgressSink CommandProgressSink(std::optional<CommandProgress>& bar) {
  ProgressSink sink;
  sink.letEventsRun = [] { (void)PollAbort(); };
  sink.aborted = [] { return RunFlags.AbortRun != 0; };
  sink.step = [&bar](double done, double total) {
    if (!bar) bar.emplace(total);
    bar->Step(done);
  };
  return sink;
}

}  // namespace ms
