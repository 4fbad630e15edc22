// Plot[A,Bc,{t,t0,t1,n}flags]: reads the statement at Execute into the plot request that the
// graph window's curve builder uses later.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// A seventh vector name: only six can become curves, and dropping the others would lose them.
constexpr int16_t kMsgTooManyPlotVectors = 360;

// 0, or the first message met (314..360 or a range reader's message).
[[nodiscard]] int16_t ProcessPlot(const rt::Text& statement);

}  // namespace ms
