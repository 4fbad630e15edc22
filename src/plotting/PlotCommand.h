// Plot[A,Bc,{t,t0,t1,n}flags]: reads the statement at Execute into the plot request that the
// graph window's curve builder uses later.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

void ProcessPlot(rt::Text& statement, int16_t& msgNo);

}  // namespace ms
