// Statement classification: every checked statement is recognised from its first characters and
// then named as a command to run now (Plot[, Zero[, Integ[, dblInt[), recorded for the graph window
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

// The commands that run while the worksheet is read; the commands layer runs them.
enum class ImmediateCommand : uint8_t { None, Plot, Zero, Integ, DblInt };

// What classification leaves to do: its message (0 or the first error) and, with none, the
// command to run now on the statement. An Integ[ or dblInt[ statement has been filed in slot
// Requests.IntegStmtCount.
struct Classification {
  int16_t msgNo = 0;
  ImmediateCommand runNow = ImmediateCommand::None;
};

// The statement is not changed.
[[nodiscard]] Classification ClassifyAndStore(rt::Text& statement);

// A constant, function or vector defined by a statement when an earlier statement has already
// defined one of that kind and name (only the first would be used).
constexpr int16_t kMsgConstantDefinedTwice = 249;
constexpr int16_t kMsgFunctionDefinedTwice = 250;
constexpr int16_t kMsgVectorDefinedTwice = 251;

// How many constants, functions and vectors the tables hold.
struct DefinitionCounts {
  int16_t constants = 0;
  int16_t functions = 0;
  int16_t vectors = 0;
};
DefinitionCounts CountDefinitions();

// 0, or the message of the first record appended after `before` that takes the name of a record
// of its kind within `before`. Functions are compared by their user names (an upper-case letter
// and a lower-case letter or "_"), not the component functions a vector makes.
[[nodiscard]] int16_t CheckDefinedOnce(const DefinitionCounts& before);

// Records what the command named by classification came to (msgNo: 0 or its message): the Plot
// request and whether the graph is available. Returns msgNo.
int16_t ImmediateCommandDone(ImmediateCommand command, int16_t msgNo);

}  // namespace ms
