// The progress sink of a long command at Execute (Zero[, Integ[, dblInt[): every step counts
// towards the worksheet's run of events (PollAbort), Esc stops it, and its step reports move the
// worksheet's bar, which is made at the first report, when the method tells its step count.
#pragma once

#include <optional>

#include "language/RunProgress.h"
#include "platform/runtime/ProgressSink.h"

namespace ms {

// bar must outlive the sink. Each step counts stepsPerEvents towards the run of events.
ProgressSink CommandProgressSink(std::optional<CommandProgress>& bar, int stepsPerEvents = 1);

}  // namespace ms
