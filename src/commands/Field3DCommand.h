// PlotField3D[...]: reads the statement, keeps its colour letter, has the arrows built and adds
// the view, box and axes.
#pragma once

#include <cstdint>
#include <optional>

#include "commands/FieldArguments.h"
#include "platform/runtime/Runtime.h"
#include "plotting/FieldTables.h"

namespace ms {

// The arguments of PlotField3D[F,G,H,{a,b,n}{c,d,m}{e,f,k}letter].
struct Field3DArgs {
  int16_t fRecord = 0, gRecord = 0, hRecord = 0;  // FuncTable records
  field::FieldRange x, y, z;
  std::optional<rt::Text> colorLetter;  // once read (a later check may still refuse)
};

// Parses and checks the statement: 0, or the first message met (1100..1140 or a range reader's
// message).
[[nodiscard]] int16_t ParseField3DArgs(const rt::Text& statement, Field3DArgs& args);

// Checks the stored statement and builds the arrows, the box and the axes. 0 on success,
// otherwise the first message met (1100..1146 or a range reader's message). Esc
// (RunFlags.AbortRun) stops quietly.
[[nodiscard]] int16_t ProcessPlotField3D(const rt::Text& statement);

}  // namespace ms
