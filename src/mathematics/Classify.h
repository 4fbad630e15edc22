// Statement classification: every checked statement is recognised from its first characters and
// then handed to the command runner (Plot[, Zero[, Integ[, dblInt[), recorded for the graph window
// (the field, contour, IVP and BVP commands) or stored as a definition (constant, function, vector,
// parameter set).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/runtime/Runtime.h"

namespace ms {

// What classification leaves for the worksheet window to show: whether Plot[ made the graph
// available (none: not changed since the window last took it) and whether the results list was
// cleared.
struct WorksheetSignalState {
  std::optional<bool> GraphAvailable;
  int16_t ResultsListCleared = 0;
};
extern WorksheetSignalState WorksheetSignals;

// The commands that run while the worksheet is read. The commands layer installs the runner
// (InstallStatementPipeline); without one these statements are filed but not run.
enum class ImmediateCommand : uint8_t { Plot, Zero, Integ, DblInt };
// Runs one command on its statement and returns 0 or the command's message. An Integ[ or dblInt[
// statement has been filed in slot Requests.IntegStmtCount before the call.
using ImmediateCommandRunner = int16_t (*)(ImmediateCommand command, const rt::Text& statement);
void SetImmediateCommandRunner(ImmediateCommandRunner runner);

// The statement is not changed; returns 0 or the first error.
[[nodiscard]] int16_t ClassifyAndStore(rt::Text& statement);

}  // namespace ms
