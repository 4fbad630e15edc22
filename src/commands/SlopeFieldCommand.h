// PlotSlopeField[...]: reads the statement, keeps its start points and colour letter, has the
// slope field built and adds the axes and grid crosses.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "commands/FieldArguments.h"
#include "platform/runtime/Runtime.h"
#include "plotting/FieldTables.h"

namespace ms {

// The arguments of PlotSlopeField[F,{a,b,n}{c,d,m}{x1,y1}...{x10,y10}letter].
struct SlopeFieldArgs {
  int16_t fRecord = 0;  // F's record in FuncTable
  field::FieldRange x, y;
  int16_t count = 0;  // start points read, entries 1..count of points
  std::array<std::array<double, 2>, kMaxSlopeStartPoints + 1> points{};
  std::optional<rt::Text> colorLetter;  // once read (a later check may still refuse)
};

// Parses and checks the statement: 0, or the first message met (1200..1234 or a range reader's
// message).
[[nodiscard]] int16_t ParseSlopeFieldArgs(const rt::Text& statement, SlopeFieldArgs& args);

// Checks the stored statement and builds the field, its traces, axes and grid crosses. 0 on
// success, otherwise the first message met (1200..1232, 1234 for an eleventh start point, or a
// range reader's message). Esc (RunFlags.AbortRun) stops the evaluation quietly.
[[nodiscard]] int16_t ProcessPlotSlopeField(const rt::Text& statement);

}  // namespace ms
