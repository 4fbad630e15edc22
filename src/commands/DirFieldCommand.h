// PlotDirField[...]: reads the statement, keeps its colour letter, has the arrows built and adds
// the view, box and axes.
#pragma once

#include <cstdint>
#include <optional>

#include "commands/FieldArguments.h"
#include "platform/runtime/Runtime.h"
#include "plotting/FieldTables.h"

namespace ms {

// The arguments of PlotDirField[F,H,{a,b,n}{c,d,m}letter] and PlotDirField[F,H,G,...].
struct DirFieldArgs {
  int16_t fRecord = 0, hRecord = 0, gRecord = 0;  // FuncTable records (gRecord 0 without G)
  bool is3D = false;                              // G given: the arrows are lifted to G(x, y)
  field::FieldRange x, y;
  std::optional<rt::Text> colorLetter;  // once read (a later check may still refuse)
};

// Parses and checks the statement: 0, or the first message met (1000..1030, 57 for an unknown
// third function, or a range reader's message).
[[nodiscard]] int16_t ParseDirFieldArgs(const rt::Text& statement, DirFieldArgs& args);

// Checks the stored statement and builds the arrows and the axes (with the box for the lifted
// field). 0 on success, otherwise the first message met (1000..1036, 57 for an unknown third
// function, or a range reader's message). Esc (RunFlags.AbortRun) stops quietly.
[[nodiscard]] int16_t ProcessPlotDirField(const rt::Text& statement);

}  // namespace ms
