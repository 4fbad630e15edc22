// A closed-form function of one variable as the methods take it: always a value, never a message.
#pragma once

#include "numerics/RealFunction.h"

namespace ms::testing {

inline RealFunction Plain(double (*g)(double)) {
  return [g](double x, double& fx) -> int16_t {
    fx = g(x);
    return 0;
  };
}

}  // namespace ms::testing
