// A function of one real variable as the methods take it.
#pragma once

#include <cstdint>
#include <functional>

namespace ms {

// fx := f(x): 0, or a message number when f has no value at x.
using RealFunction = std::function<int16_t(double x, double& fx)>;

}  // namespace ms
