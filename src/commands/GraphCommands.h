// The commands the picture build runs, reached through one table in the build's fixed order.
// Each entry takes the stored statement text, the slot (1..12 for the integral statements, 0 for
// the others) and a message number (0 = success).
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

using CommandBuilder = void (*)(rt::Text& statement, int16_t slot, int16_t& msgNo);

// The builder the build calls for a command; tests may replace an entry and restore the table
// with ResetGraphCommands. A row without a command has an empty entry.
CommandBuilder& CommandEntry(GraphCommand command);
void ResetGraphCommands();

// Runs the builder of a command (msgNo is set to 0 first).
void RunGraphCommand(GraphCommand command, rt::Text& statement, int16_t slot, int16_t& msgNo);

// The commands: the running integral of an Integ[ slot drawn as a curve (computed unless Replot
// is set), a dblInt[ slot, the initial and boundary value problems, the three fields and the
// contour lines.
void IntegCommand(rt::Text& statement, int16_t slot, int16_t& msgNo);
void DblIntCommand(rt::Text& statement, int16_t slot, int16_t& msgNo);
void IVPCommand(rt::Text& statement, int16_t slot, int16_t& msgNo);
void BVPCommand(rt::Text& statement, int16_t slot, int16_t& msgNo);
void SlopeFieldCommand(rt::Text& statement, int16_t slot, int16_t& msgNo);
void DirFieldCommand(rt::Text& statement, int16_t slot, int16_t& msgNo);
void Field3DCommand(rt::Text& statement, int16_t slot, int16_t& msgNo);

void ContourCommand(rt::Text& statement, int16_t slot, int16_t& msgNo);

}  // namespace ms
