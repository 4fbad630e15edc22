// PlotContour[F,{x0,xf,y0,yf}{xc,yc}{c1,c2,ds}{er,sg}] and PlotContour1[: reads the statement,
// appends the partial derivatives of F as the worksheet functions Fx and Fy and has the levels
// traced.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"
#include "plotting/Contour.h"

namespace ms {

// Parses the statement: 1400..1414 (and the range reader's messages in valuesMsg) as the command
// gives them, 0 when F is found with two parameters.
[[nodiscard]] int16_t ParseContourArgs(const rt::Text& statement, ContourArgs& args);

// Runs a stored PlotContour[ / PlotContour1[ statement: parses and checks it, appends the "Fx" and
// "Fy" records to FuncTable, traces with the progress window and fills the scene store and the
// legend. msgNo 0 on success (a start point outside the box, a zero level step and more levels
// than the legend holds are refused with a box of their own and msgNo 0); 1400..1420, the range
// reader's and Differentiate's messages, 1422 when F gives no value anywhere, or 392 when
// FuncTable has no room for the two records (unless the last pair appended holds the same
// derivatives: it serves again).
[[nodiscard]] int16_t ProcessPlotContour(const rt::Text& statement);

}  // namespace ms
