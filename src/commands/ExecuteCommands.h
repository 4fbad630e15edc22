// The commands Execute runs while it reads the worksheet: Plot[, Zero[, Integ[ and dblInt[.
// Classification files each statement and names the command to run now; ClassifyAndRun runs it.
// The graph window's deferred commands run later, when it builds its picture.
#pragma once

#include <cstdint>

#include "mathematics/Classify.h"
#include "platform/runtime/Runtime.h"

namespace ms {

// Runs one command on its statement, its functions bound once for the whole command. For Integ[
// and dblInt[ the result constant is appended first (named by the statement's identifier) and the
// command fills slot Requests.IntegStmtCount. Returns 0 or the command's message.
[[nodiscard]] int16_t RunImmediateCommand(ImmediateCommand command, const rt::Text& statement);

// Classifies and stores the statement, then runs the command classification names, if any.
// Returns 0 or the first message; a constant, function or vector of a name that an earlier
// statement defined gives 249, 250 or 251.
[[nodiscard]] int16_t ClassifyAndRun(rt::Text& statement);

}  // namespace ms
