// The commands the picture build runs, reached through one table in the build's fixed order.
// Each entry takes the stored statement text and the slot (1..12 for the integral statements, 0
// for the others) and returns a message number (0 = success).
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// The rows of the picture build in their fixed order: the commands with a builder, then the Plot[
// curves and the finishing row (grid crosses, axes and the box).
enum class SceneStep : int {
  kInteg = 0,
  kDblInt,
  kIVP,
  kBVP,
  kSlopeField,
  kDirField,
  kField3D,
  kContour,
  kCurve,
  kFinish
};

// The commands are the rows before kCurve.
using GraphCommand = SceneStep;
constexpr int kGraphCommandCount = static_cast<int>(SceneStep::kCurve);

using CommandBuilder = int16_t (*)(const rt::Text& statement, int16_t slot);

// The builder the build calls for a command; tests may replace an entry and restore the table
// with ResetGraphCommands. A row without a command has an empty entry.
CommandBuilder& CommandEntry(GraphCommand command);
void ResetGraphCommands();

// Runs the builder of a command: its message, 0 for a row without one.
[[nodiscard]] int16_t RunGraphCommand(GraphCommand command, const rt::Text& statement,
                                      int16_t slot);

// The commands: the running integral of an Integ[ slot drawn as a curve (computed unless Replot
// is set), a dblInt[ slot, the initial and boundary value problems, the three fields and the
// contour lines.
[[nodiscard]] int16_t IntegCommand(const rt::Text& statement, int16_t slot);
[[nodiscard]] int16_t DblIntCommand(const rt::Text& statement, int16_t slot);
[[nodiscard]] int16_t IVPCommand(const rt::Text& statement, int16_t slot);
[[nodiscard]] int16_t BVPCommand(const rt::Text& statement, int16_t slot);
[[nodiscard]] int16_t SlopeFieldCommand(const rt::Text& statement, int16_t slot);
[[nodiscard]] int16_t DirFieldCommand(const rt::Text& statement, int16_t slot);
[[nodiscard]] int16_t Field3DCommand(const rt::Text& statement, int16_t slot);
[[nodiscard]] int16_t ContourCommand(const rt::Text& statement, int16_t slot);

}  // namespace ms
